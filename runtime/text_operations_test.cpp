// Text expressions on the temporary stack: joins, conversions, fixed texts, and no owned text left behind.
#include "runtime/text_operations.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "tool/tool_literals.h"

namespace {

std::string TextOf(TextValue text) { return std::string(TextChars(text), TextLength(text)); }

void PushOwned(TextStack& stack, const std::string& chars) {
    RecordToText(stack, chars.data(), static_cast<std::uint32_t>(chars.size()));
}

// Every owned temporary a test makes must be released by the time its stack is gone.
class TextOperations : public testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(LiveOwnedTexts(), liveBefore_); }
    long liveBefore_ = LiveOwnedTexts();
};

TEST_F(TextOperations, ConcatJoinsLeftThenRightAndReleasesBoth) {
    TextStack stack;
    PushOwned(stack, "Retazo");
    PushLiteral(stack, kFileNameLiteral);
    ConcatText(stack);
    ASSERT_EQ(stack.Depth(), 1);
    EXPECT_EQ(TextOf(stack.At(0)), "RetazoRetazo.bmp");
    EXPECT_EQ(TextChars(stack.At(0))[16], '\0');
    EXPECT_EQ(LiveOwnedTexts(), liveBefore_ + 1);

    // Deeper than the stack's first slots: nothing pushed is lost.
    for (char letter = 'a'; letter <= 'j'; ++letter) PushOwned(stack, std::string(1, letter));
    for (int join = 0; join < 9; ++join) ConcatText(stack);
    ASSERT_EQ(stack.Depth(), 2);
    EXPECT_EQ(TextOf(stack.At(0)), "abcdefghij");
    EXPECT_EQ(LiveOwnedTexts(), liveBefore_ + 2);
}

TEST_F(TextOperations, ConcatWithAnEmptyOperandKeepsTheOtherWithoutAllocating) {
    TextStack stack;
    PushOwned(stack, "left");
    const TextValue owned = stack.At(0);
    const long live = LiveOwnedTexts();
    PushLiteral(stack, kEmptyLiteral);
    ConcatText(stack);
    PushEmptyText(stack);
    ConcatText(stack);
    ASSERT_EQ(stack.Depth(), 1);
    EXPECT_EQ(stack.At(0), owned);
    EXPECT_EQ(LiveOwnedTexts(), live);

    PushEmptyText(stack);
    PushLiteral(stack, kTitleLiteral);
    ConcatText(stack);
    ASSERT_EQ(stack.Depth(), 2);
    EXPECT_EQ(stack.At(0), BorrowLiteral(kTitleLiteral));

    PushLiteral(stack, kEmptyLiteral);
    PushOwned(stack, "right");
    const TextValue right = stack.At(0);
    ConcatText(stack);
    ASSERT_EQ(stack.Depth(), 3);
    EXPECT_EQ(stack.At(0), right);
    EXPECT_EQ(LiveOwnedTexts(), live + 1);
}

TEST_F(TextOperations, StoreFixedTextTruncatesAndStopsAtAZeroByte) {
    char buffer[260];
    std::memset(buffer, '#', sizeof buffer);
    TextStack stack;
    PushOwned(stack, std::string(300, 'a'));
    StoreFixedText(stack, buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer), std::string(259, 'a'));
    EXPECT_EQ(stack.Depth(), 0);

    std::memset(buffer, '#', sizeof buffer);
    PushOwned(stack, std::string("abc\0def", 7));
    StoreFixedText(stack, buffer, sizeof buffer);
    EXPECT_EQ(std::memcmp(buffer, "abc\0##", 6), 0);

    PushLiteral(stack, kFileNameLiteral);
    StoreFixedText(stack, buffer, sizeof buffer);
    EXPECT_EQ(std::memcmp(buffer, "Retazo.bmp\0#", 12), 0);

    PushEmptyText(stack);
    StoreFixedText(stack, buffer, sizeof buffer);
    EXPECT_EQ(std::memcmp(buffer, "\0etazo.bmp\0#", 12), 0);
}

TEST_F(TextOperations, ConvertToWideReadsWindows1252) {
    TextStack stack;
    PushLiteral(stack, kClipboardLineLiteral);
    PushLiteral(stack, kTitleLiteral);
    ConvertToWide(stack, 1);
    const TextValue wide = stack.At(1);
    ASSERT_NE(wide, kEmptyText);
    ASSERT_EQ(WideLength(wide), 35u);
    EXPECT_EQ(std::wstring(WideChars(wide), WideLength(wide)),
              std::wstring(L"Selecci\u00F3n posicionada en clipboard."));
    EXPECT_EQ(stack.At(0), BorrowLiteral(kTitleLiteral));

    PushOwned(stack, std::string("a\0b", 3));
    ConvertToWide(stack, 0);
    const TextValue withZero = stack.At(0);
    EXPECT_EQ(std::wstring(WideChars(withZero), WideLength(withZero)), std::wstring(L"a\0b", 3));

    PushLiteral(stack, kEmptyLiteral);
    ConvertToWide(stack, 0);
    EXPECT_EQ(stack.At(0), kEmptyText);
    EXPECT_EQ(LiveOwnedTexts(), liveBefore_ + 2);
}

TEST_F(TextOperations, AnsiArgumentOfTheZeroCharacterIsAnEmptyString) {
    TextStack stack;
    PushLiteral(stack, kZeroCharacterLiteral);
    {
        AnsiArgument argument(stack);
        ASSERT_NE(argument.get(), nullptr);
        EXPECT_EQ(argument.get()[0], '\0');
        EXPECT_EQ(stack.Depth(), 0);
        EXPECT_EQ(LiveOwnedTexts(), liveBefore_ + 1);
    }
    PushLiteral(stack, kEmptyLiteral);
    EXPECT_EQ(AnsiArgument(stack).get(), nullptr);

    PushOwned(stack, "Open");
    const TextValue owned = stack.At(0);
    AnsiArgument argument(stack);
    EXPECT_EQ(argument.get(), TextChars(owned));
    EXPECT_STREQ(argument.get(), "Open");
}

TEST_F(TextOperations, RecordAssignmentCopiesAndPadsWithSpaces) {
    TextStack stack;
    const POINT current = {-12, 345};
    POINT anchor = {0, 0};
    RecordToText(stack, &current, sizeof current);
    EXPECT_EQ(TextLength(stack.At(0)), 8u);
    TextToRecord(stack, &anchor, sizeof anchor);
    EXPECT_EQ(anchor.x, -12);
    EXPECT_EQ(anchor.y, 345);

    char record[6] = {};
    PushLiteral(stack, kOpenVerbLiteral);
    TextToRecord(stack, record, sizeof record);
    EXPECT_EQ(std::memcmp(record, "Open  ", 6), 0);
    PushOwned(stack, "12345678");
    TextToRecord(stack, record, sizeof record);
    EXPECT_EQ(std::memcmp(record, "123456", 6), 0);
    EXPECT_EQ(stack.Depth(), 0);
}

}  // namespace
