// A test program that misbehaves on purpose, for the check of the rig's runner of test programs:
// each test does what must fail a run even when the program still exits with 0.
#include <windows.h>

#include <gtest/gtest.h>

namespace {

LRESULT CALLBACK FaultingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Wine swallows a fault inside a callback from the window system and carries on.
    if (message == WM_CREATE) *static_cast<volatile int*>(nullptr) = 0;
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST(Misbehaving, FaultsInsideAWindowProcedure) {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = FaultingProcedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"RetazoFaultingWindow";
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 10, 10,
                                  nullptr, nullptr, windowClass.hInstance, nullptr);
    if (window) DestroyWindow(window);
}

TEST(Misbehaving, EndsTheProcessBeforeTheSummary) { ExitProcess(0); }

TEST(Misbehaving, Passes) { EXPECT_EQ(2 + 2, 4); }

}  // namespace
