// One owner of a system handle for one scope, so every path of an operation frees what it made.
#pragma once

// Owns `handle` and calls `Deleter{}(handle)` at scope end when it holds one. release() hands the
// handle to a new owner, which frees it from then on; this owner then frees nothing.
template <typename Handle, typename Deleter>
class ScopedHandle {
public:
    explicit ScopedHandle(Handle handle) : handle_(handle) {}
    ~ScopedHandle() {
        if (handle_) Deleter{}(handle_);
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    Handle get() const { return handle_; }
    Handle release() {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }

private:
    Handle handle_;
};
