// The message box: its text, title and style as the box shows them, and the slots released.
#include "runtime/message_box.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "runtime/text_operations.h"
#include "tests/support/message_box_test_support.h"
#include "tool/tool_literals.h"

namespace {

// Shows the box with text and title on the stack and confirms it from another thread.
int ShowAndConfirm(TextStack& stack, std::uint32_t style, SeenBox& seen) {
    const DWORD thread = GetCurrentThreadId();
    std::thread reader([&seen, thread] { seen = ReadAndConfirmBox(thread); });
    const int result = ShowMessageBox(stack, style);
    reader.join();
    return result;
}

TEST(ShowMessageBox, ShowsTextAndTitleAndReleasesBothSlots) {
    const long live = LiveOwnedTexts();
    TextStack stack;
    PushLiteral(stack, kClipboardLineLiteral);
    PushLiteral(stack, kTitleLiteral);
    ConvertToWide(stack, 1);
    ConvertToWide(stack, 0);
    SeenBox seen;
    EXPECT_EQ(ShowAndConfirm(stack, MB_ICONINFORMATION | MB_OK, seen), IDOK);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.title, L"Programador");
    EXPECT_EQ(seen.text, L"Selecci\u00F3n posicionada en clipboard.");
    EXPECT_EQ(seen.owner, nullptr);
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_EQ(seen.icon, LoadIconW(nullptr, IDI_INFORMATION));
    EXPECT_EQ(stack.Depth(), 0);
    EXPECT_EQ(LiveOwnedTexts(), live);
}

TEST(ShowMessageBox, EmptyTitleGivesTheDefaultAndEmptyTextAnEmptyBox) {
    const long live = LiveOwnedTexts();
    TextStack stack;
    PushEmptyText(stack);
    PushLiteral(stack, kEmptyLiteral);
    SeenBox seen;
    EXPECT_EQ(ShowAndConfirm(stack, MB_OK, seen), IDOK);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.title, L"Retazo");
    EXPECT_EQ(seen.text, L"");
    EXPECT_EQ(stack.Depth(), 0);
    EXPECT_EQ(LiveOwnedTexts(), live);
}

}  // namespace
