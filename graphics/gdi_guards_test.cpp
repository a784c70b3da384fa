// The GDI guards: each gives back or frees exactly what it took, and an owner that hands its
// handle over leaves it alive.
#include "graphics/gdi_guards.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/clipboard_guard.h"
#include "tests/support/import_patch_test_support.h"
#include "tests/support/owner_test_support.h"

namespace {

TEST(ScopedHandle, FreesItsGdiObjectUnlessHandedOver) {
    const auto objectType = [](void* handle) { return GetObjectType(handle); };
    const auto deleteObject = [](void* handle) { DeleteObject(handle); };
    ExpectFreedUnlessHandedOver({
        {"bitmap",
         [](bool handOver) -> void* {
             ScopedGdiObject<HBITMAP> owner(CreateBitmap(2, 2, 1, 32, nullptr));
             return EndScope(owner, handOver);
         },
         objectType, OBJ_BITMAP, deleteObject},
        {"pen",
         [](bool handOver) -> void* {
             ScopedGdiObject<HPEN> owner(CreatePen(PS_SOLID, 1, RGB(255, 0, 0)));
             return EndScope(owner, handOver);
         },
         objectType, OBJ_PEN, deleteObject},
        {"memory DC",
         [](bool handOver) -> void* {
             ScopedMemoryDC owner(nullptr);
             return EndScope(owner, handOver);
         },
         objectType, OBJ_MEMDC, [](void* handle) { DeleteDC(static_cast<HDC>(handle)); }},
    });
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

}  // namespace
