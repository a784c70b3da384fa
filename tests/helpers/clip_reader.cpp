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
#include <string>
#include <vector>

namespace {

// The clipboard opened for a message-only window of ours: a NULL owner could not set data.
class OpenedClipboard {
public:
    OpenedClipboard() {
        window_ = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        DWORD deadline = GetTickCount() + 5000;
        while (!(open_ = OpenClipboard(window_)) && GetTickCount() < deadline) Sleep(10);
    }
    ~OpenedClipboard() {
        if (open_) CloseClipboard();
        if (window_) DestroyWindow(window_);
    }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    bool ok() const { return open_; }

private:
    HWND window_ = nullptr;
    bool open_ = false;
};

// A global block locked for one scope.
class LockedBlock {
public:
    explicit LockedBlock(HANDLE block) : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
    ~LockedBlock() {
        if (data_) GlobalUnlock(block_);
    }
    LockedBlock(const LockedBlock&) = delete;
    LockedBlock& operator=(const LockedBlock&) = delete;
    void* data() const { return data_; }

private:
    HANDLE block_;
    void* data_;
};

int PrintText() {
    HANDLE block = GetClipboardData(CF_UNICODETEXT);
    if (!block) return 1;
    LockedBlock locked(block);
    if (!locked.data()) return 3;
    for (const wchar_t* c = static_cast<const wchar_t*>(locked.data()); *c; ++c)
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
    SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!block) return 3;
    {
        LockedBlock locked(block);
        if (!locked.data()) {
            GlobalFree(block);
            return 3;
        }
        CopyMemory(locked.data(), text.c_str(), bytes);
    }
    if (SetClipboardData(CF_UNICODETEXT, block)) return 0;
    GlobalFree(block);
    return 3;
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
    OpenedClipboard clipboard;
    if (!clipboard.ok()) return 2;
    const std::wstring& command = arguments[1];
    if (command == L"text") return PrintText();
    if (command == L"formats") return PrintFormats();
    if (command == L"mark" && arguments.size() == 3) return PutMarker(arguments[2]);
    return 3;
}
