// Scoped ownership of the clipboard and of the global blocks handed to it.
#pragma once
#include <windows.h>

#include "runtime/scoped_handle.h"

// The clipboard, opened for one scope for `owner`, or for the calling task when that is null.
// Another task may hold it for a moment, a viewer reading what just changed for instance, so
// opening tries again for up to a quarter of a second before giving up.
class ScopedClipboard {
public:
    explicit ScopedClipboard(HWND owner = nullptr);
    ~ScopedClipboard() {
        if (open_) CloseClipboard();
    }
    ScopedClipboard(const ScopedClipboard&) = delete;
    ScopedClipboard& operator=(const ScopedClipboard&) = delete;
    bool ok() const { return open_; }

private:
    bool open_;
};

struct GlobalBlockDeleter {
    void operator()(HGLOBAL block) const { GlobalFree(block); }
};

// A global memory block we allocated, freed unless released to a new owner.
class ScopedGlobalBlock : public ScopedHandle<HGLOBAL, GlobalBlockDeleter> {
public:
    ScopedGlobalBlock(UINT flags, SIZE_T size) : ScopedHandle(GlobalAlloc(flags, size)) {}
    // Takes over a block allocated elsewhere; null is allowed and owns nothing.
    using ScopedHandle::ScopedHandle;
};

// A global block locked for one scope.
class ScopedGlobalLock {
public:
    explicit ScopedGlobalLock(HGLOBAL block) : block_(block), address_(GlobalLock(block)) {}
    ~ScopedGlobalLock() {
        if (address_) GlobalUnlock(block_);
    }
    ScopedGlobalLock(const ScopedGlobalLock&) = delete;
    ScopedGlobalLock& operator=(const ScopedGlobalLock&) = delete;
    // Null when the lock failed.
    void* get() const { return address_; }

private:
    HGLOBAL block_;
    void* address_;
};

struct WindowDestroyer {
    void operator()(HWND window) const { DestroyWindow(window); }
};

// A message-only window for one scope: something to own the clipboard, since the data set after
// an empty done without an owner may be refused.
class ScopedMessageWindow : public ScopedHandle<HWND, WindowDestroyer> {
public:
    ScopedMessageWindow()
        : ScopedHandle(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
};
