// The export run inside the test program, its report confirmed and its open request to the
// shell recorded instead of sent.
#include "tool/selection_export.h"

#include <gtest/gtest.h>
#include <shellapi.h>
#include <windows.h>

#include <string>

#include "graphics/graphic_target.h"
#include "tests/support/import_patch_test_support.h"
#include "tool/tool_state.h"

namespace {

std::wstring requestedFile;
UINT reportStyle;

BOOL WINAPI RecordingShellExecuteEx(SHELLEXECUTEINFOW* request) {
    requestedFile = request->lpFile;
    return TRUE;
}

int WINAPI ConfirmingMessageBox(HWND, LPCWSTR, LPCWSTR, UINT style) {
    reportStyle = style;
    return IDOK;
}

// A 4 x 3 selection exported from a photograph of that size, its report and shell request recorded.
void ExportRecorded() {
    ClearToolState();
    Tool().screenBitmap = NewGraphicBitmap(4, 3);
    Tool().current = {3, 2};
    ScopedImportPatch shell("shell32.dll", "ShellExecuteExW", reinterpret_cast<const void*>(&RecordingShellExecuteEx));
    ScopedImportPatch box("user32.dll", "MessageBoxW", reinterpret_cast<const void*>(&ConfirmingMessageBox));
    EXPECT_TRUE(shell.ok() && box.ok());
    ExportSelection();
}

}  // namespace

// From a working directory of 240 characters or more, the shell does not find a relative name.
TEST(ExportSelection, AsksTheShellToOpenTheFileByItsFullPath) {
    wchar_t start[MAX_PATH] = {};
    const std::wstring previous(start, GetCurrentDirectoryW(MAX_PATH, start));
    const std::wstring deep = previous + L'\\' + std::wstring(previous.size() < 239 ? 239 - previous.size() : 1, L'd');
    ASSERT_TRUE(CreateDirectoryW(deep.c_str(), nullptr) && SetCurrentDirectoryW(deep.c_str()));
    ExportRecorded();
    SetCurrentDirectoryW(previous.c_str());
    DeleteFileW((deep + L"\\Retazo.bmp").c_str());
    RemoveDirectoryW(deep.c_str());
    EXPECT_EQ(requestedFile, deep + L"\\Retazo.bmp");
}

// Without an owner, after the overlay has handed the foreground on, the box still comes in front.
TEST(ExportSelection, ReportsInABoxInFrontOfOtherWindows) {
    ExportRecorded();
    DeleteFileW(L"Retazo.bmp");
    const UINT inFront = MB_SETFOREGROUND | MB_TOPMOST;
    EXPECT_EQ(reportStyle & inFront, inFront) << "style " << std::hex << reportStyle;
}
