// Stands in for a clipboard manager: opens the clipboard for a window of its own right after every
// change, puts the last text it saw back when it finds the clipboard empty, and holds it.
//   usage: clipboard_listener <event prefix> <hold ms>
// Signals <prefix>-listening once it is told of changes and <prefix>-holding each time it holds
// the clipboard after one; each hold lasts <hold ms> or until <prefix>-release is signalled,
// which also ends the program. Exit code 0, or 2 when it could not listen or open the clipboard.
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <cwchar>
#include <string>

namespace {

bool changed = false;

LRESULT CALLBACK ListenerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLIPBOARDUPDATE) {
        changed = true;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HANDLE EventNamed(const std::wstring& prefix, const wchar_t* suffix) {
    return CreateEventW(nullptr, TRUE, FALSE, (prefix + suffix).c_str());
}

// The clipboard's text; empty when it has none. Called with the clipboard open.
std::wstring ClipboardText() {
    HANDLE block = GetClipboardData(CF_UNICODETEXT);
    const auto* text = block ? static_cast<const wchar_t*>(GlobalLock(block)) : nullptr;
    if (!text) return {};
    std::wstring copy = text;
    GlobalUnlock(block);
    return copy;
}

void PutText(const std::wstring& text) {
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    void* data = block ? GlobalLock(block) : nullptr;
    if (!data) return;
    std::memcpy(data, text.c_str(), bytes);
    GlobalUnlock(block);
    if (!EmptyClipboard() || !SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
}

// The one who changed the clipboard may still have it open for a moment.
bool OpenSoon(HWND window) {
    for (int tries = 0; tries < 500; ++tries) {
        if (OpenClipboard(window)) return true;
        Sleep(10);
    }
    return false;
}

}  // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 3) return 2;
    const std::wstring prefix = argv[1];
    const DWORD holdMs = wcstoul(argv[2], nullptr, 10);
    HANDLE listening = EventNamed(prefix, L"-listening");
    HANDLE holding = EventNamed(prefix, L"-holding");
    HANDLE release = EventNamed(prefix, L"-release");
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ListenerProc;
    windowClass.lpszClassName = L"clipboard_listener";
    HWND window = RegisterClassW(&windowClass)
                      ? CreateWindowExW(0, windowClass.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                        nullptr, nullptr)
                      : nullptr;
    if (!listening || !holding || !release || !window || !AddClipboardFormatListener(window)) return 2;
    std::wstring lastText;
    if (OpenSoon(window)) {
        lastText = ClipboardText();
        CloseClipboard();
    }
    SetEvent(listening);
    while (MsgWaitForMultipleObjects(1, &release, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        if (!changed) continue;
        changed = false;
        if (!OpenSoon(window)) return 2;
        if (CountClipboardFormats() == 0 && !lastText.empty()) {
            PutText(lastText);
        } else if (std::wstring text = ClipboardText(); !text.empty()) {
            lastText = text;
        }
        SetEvent(holding);
        const bool released = WaitForSingleObject(release, holdMs) == WAIT_OBJECT_0;
        CloseClipboard();
        if (released) break;
    }
    RemoveClipboardFormatListener(window);
    DestroyWindow(window);
    return 0;
}
