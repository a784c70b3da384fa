// Text expressions on the temporary stack: joins, conversions, fixed texts, and no owned text left behind.
#include "runtime/text_operations.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/literal_test_support.h"

namespace {

std::string TextOf(TextValue text) { return std::string(TextChars(text), TextLength(text)); }

void PushOwned(TextStack& stack, const std::string& chars) {
    RecordToText(stack, chars.data(), static_cast<std::uint32_t>(chars.size()));
}

// Every owned temporary a test makes must be released by the time its stack is gone.
class TextOperations : public testing::Test {
protected:
    void TearDown() override { EXPECT_EQ(liveBefore_, LiveOwnedTexts()); }
    long liveBefore_ = LiveOwnedTexts();
};

TEST_F(TextOperations, ConcatJoinsLeftThenRightAndReleasesBoth) {
    TextStack stack;
    PushOwned(stack, "Retazo");
    PushLiteral(stack, kFileNameLiteral);
    ConcatText(stack);
    ASSERT_EQ(1, stack.Depth());
    EXPECT_EQ("RetazoRetazo.bmp", TextOf(stack.At(0)));
    EXPECT_EQ('\0', TextChars(stack.At(0))[16]);
    EXPECT_EQ(liveBefore_ + 1, LiveOwnedTexts());
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
    ASSERT_EQ(1, stack.Depth());
    EXPECT_EQ(owned, stack.At(0));
    EXPECT_EQ(live, LiveOwnedTexts());

    PushEmptyText(stack);
    PushLiteral(stack, kTitleLiteral);
    ConcatText(stack);
    ASSERT_EQ(2, stack.Depth());
    EXPECT_EQ(BorrowLiteral(kTitleLiteral), stack.At(0));

    PushLiteral(stack, kEmptyLiteral);
    PushOwned(stack, "right");
    const TextValue right = stack.At(0);
    ConcatText(stack);
    ASSERT_EQ(3, stack.Depth());
    EXPECT_EQ(right, stack.At(0));
    EXPECT_EQ(live + 1, LiveOwnedTexts());
}

TEST_F(TextOperations, StoreFixedTextTruncatesAndStopsAtAZeroByte) {
    char buffer[260];
    std::memset(buffer, '#', sizeof buffer);
    TextStack stack;
    PushOwned(stack, std::string(300, 'a'));
    StoreFixedText(stack, buffer, sizeof buffer);
    EXPECT_EQ(std::string(259, 'a'), std::string(buffer));
    EXPECT_EQ(0, stack.Depth());

    std::memset(buffer, '#', sizeof buffer);
    PushOwned(stack, std::string("abc\0def", 7));
    StoreFixedText(stack, buffer, sizeof buffer);
    EXPECT_EQ(0, std::memcmp(buffer, "abc\0##", 6));

    PushLiteral(stack, kFileNameLiteral);
    StoreFixedText(stack, buffer, sizeof buffer);
    EXPECT_EQ(0, std::memcmp(buffer, "Retazo.bmp\0#", 12));

    PushEmptyText(stack);
    StoreFixedText(stack, buffer, sizeof buffer);
    EXPECT_EQ(0, std::memcmp(buffer, "\0etazo.bmp\0#", 12));
}

TEST_F(TextOperations, ConvertToWideReadsWindows1252) {
    TextStack stack;
    PushLiteral(stack, kClipboardLineLiteral);
    PushLiteral(stack, kTitleLiteral);
    ConvertToWide(stack, 1);
    const TextValue wide = stack.At(1);
    ASSERT_NE(kEmptyText, wide);
    ASSERT_EQ(35u, WideLength(wide));
    EXPECT_EQ(std::wstring(L"Selecci\u00F3n posicionada en clipboard."),
              std::wstring(WideChars(wide), WideLength(wide)));
    EXPECT_EQ(BorrowLiteral(kTitleLiteral), stack.At(0));

    PushOwned(stack, std::string("a\0b", 3));
    ConvertToWide(stack, 0);
    const TextValue withZero = stack.At(0);
    EXPECT_EQ(std::wstring(L"a\0b", 3), std::wstring(WideChars(withZero), WideLength(withZero)));

    PushLiteral(stack, kEmptyLiteral);
    ConvertToWide(stack, 0);
    EXPECT_EQ(kEmptyText, stack.At(0));
    EXPECT_EQ(liveBefore_ + 2, LiveOwnedTexts());
}

TEST_F(TextOperations, AnsiArgumentOfTheZeroCharacterIsAnEmptyString) {
    TextStack stack;
    PushLiteral(stack, kZeroCharacterLiteral);
    {
        AnsiArgument argument(stack);
        ASSERT_NE(nullptr, argument.get());
        EXPECT_EQ('\0', argument.get()[0]);
        EXPECT_EQ(0, stack.Depth());
        EXPECT_EQ(liveBefore_ + 1, LiveOwnedTexts());
    }
    PushLiteral(stack, kEmptyLiteral);
    EXPECT_EQ(nullptr, AnsiArgument(stack).get());

    PushOwned(stack, "Open");
    const TextValue owned = stack.At(0);
    AnsiArgument argument(stack);
    EXPECT_EQ(TextChars(owned), argument.get());
    EXPECT_STREQ("Open", argument.get());
}

TEST_F(TextOperations, RecordAssignmentCopiesAndPadsWithSpaces) {
    TextStack stack;
    const POINT current = {-12, 345};
    POINT anchor = {0, 0};
    RecordToText(stack, &current, sizeof current);
    EXPECT_EQ(8u, TextLength(stack.At(0)));
    TextToRecord(stack, &anchor, sizeof anchor);
    EXPECT_EQ(-12, anchor.x);
    EXPECT_EQ(345, anchor.y);

    char record[6] = {};
    PushLiteral(stack, kOpenVerbLiteral);
    TextToRecord(stack, record, sizeof record);
    EXPECT_EQ(0, std::memcmp(record, "Open  ", 6));
    PushOwned(stack, "12345678");
    TextToRecord(stack, record, sizeof record);
    EXPECT_EQ(0, std::memcmp(record, "123456", 6));
    EXPECT_EQ(0, stack.Depth());
}

}  // namespace
