// The runtime's guards: the owners of global blocks, windows and files free what they took unless
// they hand it over, the lock is undone, and the clipboard is closed again.
#include "runtime/clipboard_guard.h"

#include <gtest/gtest.h>

#include "tests/support/owner_test_support.h"

namespace {

TEST(ScopedHandle, FreesItsBlockWindowOrFileUnlessHandedOver) {
    const auto blockSize = [](void* handle) { return static_cast<DWORD>(GlobalSize(handle)); };
    const auto freeBlock = [](void* handle) { GlobalFree(handle); };
    ExpectFreedUnlessHandedOver({
        {"allocated block",
         [](bool handOver) -> void* {
             ScopedGlobalBlock owner(GMEM_MOVEABLE, 24);
             return EndScope(owner, handOver);
         },
         blockSize, 24, freeBlock},
        {"block taken over",
         [](bool handOver) -> void* {
             ScopedGlobalBlock owner(GlobalAlloc(GMEM_MOVEABLE, 24));
             return EndScope(owner, handOver);
         },
         blockSize, 24, freeBlock},
        {"message window",
         [](bool handOver) -> void* {
             ScopedMessageWindow owner;
             return EndScope(owner, handOver);
         },
         [](void* handle) { return static_cast<DWORD>(IsWindow(static_cast<HWND>(handle))); }, TRUE,
         [](void* handle) { DestroyWindow(static_cast<HWND>(handle)); }},
        {"file",
         [](bool handOver) -> void* {
             wchar_t self[MAX_PATH];
             GetModuleFileNameW(nullptr, self, MAX_PATH);
             ScopedFile owner(CreateFileW(self, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
             return EndScope(owner, handOver);
         },
         [](void* handle) { return GetFileType(handle); }, FILE_TYPE_DISK, [](void* handle) { CloseHandle(handle); }},
    });
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
