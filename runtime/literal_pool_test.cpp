#include "runtime/literal_pool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Walks the pool's bytes as literals: length, characters, two zero bytes, filler to 4.
TEST(LiteralPool, TextsLieInTheirPlacesAndNumbersFillTheBlock) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(&Pool());
    const std::vector<std::string> expected = {
        std::string(1, '\0'), "\r\n", "", "Selecci\xF3n posicionada en clipboard.",
        "Dimensi\xF3n: ", " x", "Programador", "Retazo.bmp", "Open",
    };
    std::size_t offset = 0;
    for (const std::string& text : expected) {
        std::uint32_t length;
        std::memcpy(&length, bytes + offset, 4);
        ASSERT_EQ(text.size(), length) << "at offset " << offset;
        EXPECT_EQ(text, std::string(reinterpret_cast<const char*>(bytes) + offset + 4, length));
        EXPECT_EQ(0, bytes[offset + 4 + length]);
        EXPECT_EQ(0, bytes[offset + 5 + length]);
        offset += (4 + length + 2 + 3) / 4 * 4;
    }
    EXPECT_EQ(144u, offset);
    EXPECT_EQ(232u, offset + 22 * 4);
    std::int32_t firstNumber;
    std::memcpy(&firstNumber, bytes + offset, 4);
    EXPECT_EQ(0x110, firstNumber);  // WM_INITDIALOG
}

TEST(LiteralPool, BorrowedLiteralsReadLikeTexts) {
    const TextValue title = BorrowLiteral(Pool().title);
    EXPECT_TRUE(IsBorrowed(title));
    EXPECT_FALSE(IsOwned(title));
    EXPECT_EQ(11u, TextLength(title));
    EXPECT_EQ(0, std::memcmp(TextChars(title), "Programador", 12));
    // The empty literal also reads as an empty UTF-16 string.
    const TextValue empty = BorrowLiteral(Pool().empty);
    EXPECT_EQ(0u, TextLength(empty));
    EXPECT_EQ(L'\0', WideChars(empty)[0]);
}

}  // namespace
