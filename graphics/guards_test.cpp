// The scoped guards: each gives back or frees exactly what it took, and an owner that hands its
// handle over leaves it alive.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/clipboard_guard.h"
#include "graphics/gdi_guards.h"
#include "runtime/import_patch_test_support.h"

namespace {

// The handle an owner held as its scope ends, after handing it over when asked.
template <typename Owner>
void* EndScope(Owner& owner, bool handOver) {
    return handOver ? owner.release() : owner.get();
}

TEST(ScopedHandle, FreesItsHandleUnlessHandedOver) {
    const struct {
        const char* name;
        void* (*ownForOneScope)(bool handOver);
        DWORD (*probe)(void* handle);  // what the system says of the handle; 0 once it is freed
        DWORD live;
        void (*free)(void* handle);
    } cases[] = {
        {"bitmap",
         [](bool handOver) -> void* {
             ScopedGdiObject<HBITMAP> owner(CreateBitmap(2, 2, 1, 32, nullptr));
             return EndScope(owner, handOver);
         },
         [](void* handle) { return GetObjectType(handle); }, OBJ_BITMAP, [](void* handle) { DeleteObject(handle); }},
        {"pen",
         [](bool handOver) -> void* {
             ScopedGdiObject<HPEN> owner(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
             return EndScope(owner, handOver);
         },
         [](void* handle) { return GetObjectType(handle); }, OBJ_PEN, [](void* handle) { DeleteObject(handle); }},
        {"memory DC",
         [](bool handOver) -> void* {
             ScopedMemoryDC owner(nullptr);
             return EndScope(owner, handOver);
         },
         [](void* handle) { return GetObjectType(handle); }, OBJ_MEMDC,
         [](void* handle) { DeleteDC(static_cast<HDC>(handle)); }},
        {"allocated block",
         [](bool handOver) -> void* {
             ScopedGlobalBlock owner(GMEM_MOVEABLE, 24);
             return EndScope(owner, handOver);
         },
         [](void* handle) { return static_cast<DWORD>(GlobalSize(handle)); }, 24,
         [](void* handle) { GlobalFree(handle); }},
        {"block taken over",
         [](bool handOver) -> void* {
             ScopedGlobalBlock owner(GlobalAlloc(GMEM_MOVEABLE, 24));
             return EndScope(owner, handOver);
         },
         [](void* handle) { return static_cast<DWORD>(GlobalSize(handle)); }, 24,
         [](void* handle) { GlobalFree(handle); }},
        {"message window",
         [](bool handOver) -> void* {
             ScopedMessageWindow owner;
             return EndScope(owner, handOver);
         },
         [](void* handle) { return static_cast<DWORD>(IsWindow(static_cast<HWND>(handle))); }, TRUE,
         [](void* handle) { DestroyWindow(static_cast<HWND>(handle)); }},
    };
    for (const auto& c : cases) {
        for (const bool handOver : {false, true}) {
            void* handle = c.ownForOneScope(handOver);
            EXPECT_NE(handle, nullptr) << c.name;
            EXPECT_EQ(c.probe(handle), handOver ? c.live : 0) << c.name << (handOver ? ", handed over" : "");
            if (handOver) c.free(handle);
        }
    }
}

TEST(ScopedSelectObject, PutsTheDCsPreviousObjectBackOrLeavesTheNewOneAfterRelease) {
    ScopedMemoryDC dc(nullptr);
    ASSERT_NE(dc.get(), nullptr);
    const struct {
        UINT type;
        HGDIOBJ object;
    } cases[] = {
        {OBJ_BITMAP, CreateBitmap(2, 2, 1, 1, nullptr)},
        {OBJ_PEN, CreatePen(PS_SOLID, 1, RGB(255, 0, 0))},
        {OBJ_BRUSH, CreateSolidBrush(RGB(0, 0, 255))},
    };
    for (const auto& c : cases) {
        const HGDIOBJ previous = GetCurrentObject(dc.get(), c.type);
        {
            ScopedSelectObject selected(dc.get(), c.object);
            EXPECT_TRUE(selected.ok()) << "type " << c.type;
            EXPECT_EQ(GetCurrentObject(dc.get(), c.type), c.object) << "type " << c.type;
        }
        EXPECT_EQ(GetCurrentObject(dc.get(), c.type), previous) << "type " << c.type;
        {
            ScopedSelectObject selected(dc.get(), c.object);
            EXPECT_EQ(selected.release(), previous) << "type " << c.type;
        }
        EXPECT_EQ(GetCurrentObject(dc.get(), c.type), c.object) << "type " << c.type << ", released";
        SelectObject(dc.get(), previous);
        DeleteObject(c.object);
    }
}

struct ReleaseDCCall {
    HWND window;
    HDC dc;
    int result;
};
std::vector<ReleaseDCCall> releaseDCCalls;
decltype(&ReleaseDC) systemReleaseDC;

int WINAPI RecordedReleaseDC(HWND window, HDC dc) {
    const int result = systemReleaseDC(window, dc);
    releaseDCCalls.push_back({window, dc, result});
    return result;
}

TEST(ScopedGetDC, ReleasesItsDCForTheWindowItCameFrom) {
    ScopedHandle<HWND, WindowDestroyer> popup(
        CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 8, 8, nullptr, nullptr, nullptr, nullptr));
    ASSERT_NE(popup.get(), nullptr);
    for (const HWND window : {HWND{nullptr}, popup.get()}) {
        releaseDCCalls.clear();
        HDC dc = nullptr;
        {
            ScopedImportPatch patch("user32.dll", "ReleaseDC", reinterpret_cast<const void*>(&RecordedReleaseDC));
            ASSERT_TRUE(patch.ok());
            systemReleaseDC = patch.original<decltype(&ReleaseDC)>();
            ScopedGetDC guard(window);
            dc = guard.get();
            EXPECT_NE(dc, nullptr) << "window " << window;
        }
        ASSERT_EQ(releaseDCCalls.size(), 1u) << "window " << window;
        EXPECT_EQ(releaseDCCalls[0].window, window);
        EXPECT_EQ(releaseDCCalls[0].dc, dc);
        EXPECT_EQ(releaseDCCalls[0].result, 1) << "window " << window;
    }
}

TEST(ScopedGlobalLock, UnlocksTheBlock) {
    ScopedGlobalBlock block(GMEM_MOVEABLE, 16);
    ASSERT_NE(block.get(), nullptr);
    {
        ScopedGlobalLock lock(block.get());
        EXPECT_NE(lock.get(), nullptr);
        EXPECT_EQ(GlobalFlags(block.get()) & GMEM_LOCKCOUNT, 1u);
    }
    EXPECT_EQ(GlobalFlags(block.get()) & GMEM_LOCKCOUNT, 0u);
}

TEST(ScopedClipboard, ClosesTheClipboard) {
    ScopedMessageWindow owner;
    ASSERT_NE(owner.get(), nullptr);
    for (const HWND window : {HWND{nullptr}, owner.get()}) {
        {
            ScopedClipboard clipboard(window);
            ASSERT_TRUE(clipboard.ok()) << "owner " << window;
            EXPECT_EQ(GetOpenClipboardWindow(), window);
        }
        EXPECT_EQ(GetOpenClipboardWindow(), nullptr) << "owner " << window;
        // Emptying needs an open clipboard: it fails once the guard has closed it.
        EXPECT_FALSE(EmptyClipboard()) << "owner " << window;
    }
}

}  // namespace
