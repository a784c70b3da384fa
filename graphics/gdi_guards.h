// Scoped ownership of GDI resources, so every path of an operation releases what it took.
#pragma once
#include <windows.h>

#include "runtime/scoped_handle.h"

// A DC from GetDC, released with ReleaseDC.
class ScopedGetDC {
public:
    explicit ScopedGetDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~ScopedGetDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    ScopedGetDC(const ScopedGetDC&) = delete;
    ScopedGetDC& operator=(const ScopedGetDC&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

struct MemoryDCDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};

// A DC from CreateCompatibleDC, deleted with DeleteDC unless released to a new owner.
class ScopedMemoryDC : public ScopedHandle<HDC, MemoryDCDeleter> {
public:
    explicit ScopedMemoryDC(HDC compatibleWith) : ScopedHandle(CreateCompatibleDC(compatibleWith)) {}
};

struct GdiObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};

// A GDI object we created, deleted with DeleteObject unless released to a new owner.
template <typename Handle>
using ScopedGdiObject = ScopedHandle<Handle, GdiObjectDeleter>;

// An object selected into a DC for one scope; the DC's previous object is selected back.
class ScopedSelectObject {
public:
    ScopedSelectObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~ScopedSelectObject() {
        if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }
    ScopedSelectObject(const ScopedSelectObject&) = delete;
    ScopedSelectObject& operator=(const ScopedSelectObject&) = delete;
    // False when the selection failed (and nothing will be restored).
    bool ok() const { return previous_ && previous_ != HGDI_ERROR; }
    // Leaves the object selected; the caller keeps the previous object to select back later.
    HGDIOBJ release() {
        HGDIOBJ previous = previous_;
        previous_ = nullptr;
        return previous;
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};
