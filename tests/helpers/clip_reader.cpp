// Reads the clipboard's text for the tests, or puts a marker text on it, so that a test can tell
// whether anything replaced it (the bitmaps are read by clipboard_dump):
//   clip_reader text           prints the CF_UNICODETEXT as hex of its UTF-16
//   clip_reader mark TEXT      empties the clipboard and puts TEXT on it as CF_UNICODETEXT
//   clip_reader formats        prints the numbers of the formats on the clipboard, in its order
// Exit code 0 on success, 1 when there is no text, 2 when the clipboard could not be opened
// within five seconds, 3 on any other failure.
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "runtime/clipboard_guard.h"

namespace {

// Each open waits a quarter of a second for another holder; twenty of them wait five seconds.
constexpr int kOpenTries = 20;

bool OpenPatiently(std::optional<ScopedClipboard>& clipboard, HWND owner) {
    for (int tries = 0; tries < kOpenTries; ++tries) {
        if (clipboard.emplace(owner).ok()) return true;
    }
    return false;
}

int PrintText() {
    HANDLE block = GetClipboardData(CF_UNICODETEXT);
    if (!block) return 1;
    ScopedGlobalLock locked(block);
    if (!locked.get()) return 3;
    for (const wchar_t* c = static_cast<const wchar_t*>(locked.get()); *c; ++c)
        std::printf("%02x%02x", *c & 0xFF, (*c >> 8) & 0xFF);
    std::printf("\n");
    return 0;
}

int PrintFormats() {
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format))
        std::printf("%u ", format);
    std::printf("\n");
    return 0;
}

int PutMarker(const std::wstring& text) {
    if (!EmptyClipboard()) return 3;
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    ScopedGlobalBlock block(GMEM_MOVEABLE, bytes);
    if (!block.get()) return 3;
    {
        ScopedGlobalLock locked(block.get());
        if (!locked.get()) return 3;
        CopyMemory(locked.get(), text.c_str(), bytes);
    }
    if (!SetClipboardData(CF_UNICODETEXT, block.get())) return 3;
    block.release();  // the clipboard owns it now
    return 0;
}

std::vector<std::wstring> Arguments() {
    int count = 0;
    wchar_t** list = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> arguments(list, list + count);
    LocalFree(list);
    return arguments;
}

}  // namespace

int main() {
    std::vector<std::wstring> arguments = Arguments();
    if (arguments.size() < 2) return 3;
    // Opened for a message-only window of ours: a NULL owner could not set data.
    ScopedMessageWindow owner;
    std::optional<ScopedClipboard> clipboard;
    if (!OpenPatiently(clipboard, owner.get())) return 2;
    const std::wstring& command = arguments[1];
    if (command == L"text") return PrintText();
    if (command == L"formats") return PrintFormats();
    if (command == L"mark" && arguments.size() == 3) return PutMarker(arguments[2]);
    return 3;
}
