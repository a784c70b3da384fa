// One owner of a system handle for one scope, so every path of an operation frees what it made.
#pragma once
#include <windows.h>

// Owns `handle` and calls `Deleter{}(handle)` at scope end when it holds one. Null never names a
// handle; a deleter whose functions fail with another value names it as `Deleter::Invalid()`
// (INVALID_HANDLE_VALUE for files), and that value counts as no handle too. release() hands the
// handle to a new owner, which frees it from then on; this owner then frees nothing.
template <typename Handle, typename Deleter>
class ScopedHandle {
public:
    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ~ScopedHandle() {
        if (ok()) Deleter{}(handle_);
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    bool ok() const { return handle_ && handle_ != Invalid(); }
    Handle get() const { return handle_; }
    Handle release() {
        Handle handle = handle_;
        handle_ = Invalid();
        return handle;
    }

private:
    static Handle Invalid() {
        if constexpr (requires { Deleter::Invalid(); }) {
            return Deleter::Invalid();
        } else {
            return nullptr;
        }
    }

    Handle handle_;
};

struct FileCloser {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    void operator()(HANDLE file) const { CloseHandle(file); }
};

// A file handle from CreateFileW, closed unless released to a new owner.
using ScopedFile = ScopedHandle<HANDLE, FileCloser>;
