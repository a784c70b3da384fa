// The tool's literal pool, byte by byte, and its literals read as texts.
#include "tool/tool_literals.h"

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
        ASSERT_EQ(length, text.size()) << "at offset " << offset;
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes) + offset + 4, length), text);
        EXPECT_EQ(bytes[offset + 4 + length], 0);
        EXPECT_EQ(bytes[offset + 5 + length], 0);
        offset += (4 + length + 2 + 3) / 4 * 4;
    }
    EXPECT_EQ(offset, 144u);
    EXPECT_EQ(offset + 22 * 4, 232u);
    // The numbers by value, not by the names the code builds them from: a changed constant
    // cannot move a byte of the block unnoticed.
    const std::int32_t expectedNumbers[22] = {
        0x110, 2, 0x200, 0x20, 0x201, 0x202, 500, static_cast<std::int32_t>(0x80000000), 8, 0x5000000D,
        0x00CC0020, 255, -2, 2, 0x200, 2, 14, 0x40, 260, 8, 1, 16,
    };
    for (int i = 0; i < 22; ++i) {
        std::int32_t number;
        std::memcpy(&number, bytes + offset + 4 * i, 4);
        EXPECT_EQ(number, expectedNumbers[i]) << "number " << i << " at offset " << offset + 4 * i;
    }
}

TEST(LiteralPool, BorrowedLiteralsReadLikeTexts) {
    const TextValue title = BorrowLiteral(Pool().title);
    EXPECT_TRUE(IsBorrowed(title));
    EXPECT_FALSE(IsOwned(title));
    EXPECT_EQ(TextLength(title), 11u);
    EXPECT_EQ(std::memcmp(TextChars(title), "Programador", 12), 0);
    // The empty literal also reads as an empty UTF-16 string.
    const TextValue empty = BorrowLiteral(Pool().empty);
    EXPECT_EQ(TextLength(empty), 0u);
    EXPECT_EQ(WideChars(empty)[0], L'\0');
}

}  // namespace
