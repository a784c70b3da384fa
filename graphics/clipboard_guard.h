// Scoped ownership of the clipboard and of the global blocks handed to it.
#pragma once
#include <windows.h>

// The clipboard, opened for the calling task (no window) for one scope. Another task may hold it
// for a moment, a viewer reading what just changed for instance, so opening tries again for up
// to a quarter of a second before giving up.
class ScopedClipboard {
public:
    ScopedClipboard();
    ~ScopedClipboard() {
        if (open_) CloseClipboard();
    }
    ScopedClipboard(const ScopedClipboard&) = delete;
    ScopedClipboard& operator=(const ScopedClipboard&) = delete;
    bool ok() const { return open_; }

private:
    bool open_;
};

// A global memory block we allocated, freed unless released to a new owner.
class ScopedGlobalBlock {
public:
    ScopedGlobalBlock(UINT flags, SIZE_T size) : block_(GlobalAlloc(flags, size)) {}
    ~ScopedGlobalBlock() {
        if (block_) GlobalFree(block_);
    }
    ScopedGlobalBlock(const ScopedGlobalBlock&) = delete;
    ScopedGlobalBlock& operator=(const ScopedGlobalBlock&) = delete;
    HGLOBAL get() const { return block_; }
    HGLOBAL release() {
        HGLOBAL block = block_;
        block_ = nullptr;
        return block;
    }

private:
    HGLOBAL block_;
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
