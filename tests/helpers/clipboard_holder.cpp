// Keeps the clipboard open for a window of its own, so that other tasks cannot open it.
//   usage: clipboard_holder <event prefix> <hold ms>
// Signals <prefix>-holding once it holds the clipboard and <prefix>-released after closing it;
// it closes early when <prefix>-release is signalled. Exit code 0, or 2 when it could not hold.
#include <windows.h>
#include <shellapi.h>

#include <cwchar>
#include <string>

namespace {

HANDLE EventNamed(const std::wstring& prefix, const wchar_t* suffix) {
    return CreateEventW(nullptr, TRUE, FALSE, (prefix + suffix).c_str());
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv) return 2;
    if (argc != 3) return 2;
    const std::wstring prefix = argv[1];
    const DWORD holdMs = wcstoul(argv[2], nullptr, 10);
    HANDLE holding = EventNamed(prefix, L"-holding");
    HANDLE release = EventNamed(prefix, L"-release");
    HANDLE released = EventNamed(prefix, L"-released");
    // Opening for no window is not exclusive against another opener without a window.
    HWND window = CreateWindowExW(0, L"STATIC", L"clipboard_holder", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
    if (!holding || !release || !released || !window || !OpenClipboard(window)) return 2;
    SetEvent(holding);
    WaitForSingleObject(release, holdMs);
    CloseClipboard();
    SetEvent(released);
    DestroyWindow(window);
    return 0;
}
