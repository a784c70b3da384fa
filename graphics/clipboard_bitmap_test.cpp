// Clipboard transfer: the CF_DIB block's bytes, what another process reads back, waiting for a
// clipboard another task holds, that every path leaves the clipboard closed, and that a failed
// replacement leaves the clipboard's old contents in place.
#include "graphics/clipboard_bitmap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <cwchar>
#include <optional>
#include <string>
#include <vector>

#include "graphics/graphic_control.h"
#include "runtime/clipboard_guard.h"
#include "tests/support/import_patch_test_support.h"
#include "tests/support/peer_test_support.h"
#include "tests/support/pixel_test_support.h"

namespace {

// What the clipboard holds.
struct ClipboardContents {
    bool opened = false;
    std::wstring text;
    bool hasDib = false;
    std::vector<std::uint8_t> dib;
    std::vector<UINT> formats;
};

std::vector<std::uint8_t> BlockBytes(HANDLE block) {
    std::vector<std::uint8_t> bytes;
    const void* data = block ? GlobalLock(block) : nullptr;
    if (!data) return bytes;
    bytes.assign(static_cast<const std::uint8_t*>(data), static_cast<const std::uint8_t*>(data) + GlobalSize(block));
    GlobalUnlock(block);
    return bytes;
}

void PutTextOnOpenClipboard(const wchar_t* text) {
    EmptyClipboard();
    const SIZE_T size = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), text, size);
    GlobalUnlock(block);
    if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
}

ClipboardContents ReadOpenClipboard() {
    ClipboardContents contents;
    const std::vector<std::uint8_t> text = BlockBytes(GetClipboardData(CF_UNICODETEXT));
    if (!text.empty()) contents.text = reinterpret_cast<const wchar_t*>(text.data());
    contents.hasDib = IsClipboardFormatAvailable(CF_DIB);
    contents.dib = BlockBytes(GetClipboardData(CF_DIB));
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        contents.formats.push_back(format);
    }
    return contents;
}

// Puts `text` on the clipboard when given, else reads it.
struct ClipboardJob {
    const wchar_t* text = nullptr;
    ClipboardContents contents;
};

DWORD WINAPI RunClipboardJob(void* parameter) {
    auto& job = *static_cast<ClipboardJob*>(parameter);
    const ScopedMessageWindow window;
    if (!window.get()) return 0;
    const ScopedClipboard clipboard(window.get());
    if (!clipboard.ok()) return 0;
    if (job.text) {
        PutTextOnOpenClipboard(job.text);
    } else {
        job.contents = ReadOpenClipboard();
    }
    job.contents.opened = true;
    return 0;
}

// Runs the job on a thread of its own, for a window of its own. Opening fails there while any
// other opener has the clipboard open, this thread included, so every job also proves that the
// operation before it closed the clipboard. The window is gone afterwards: a test thread that
// owned the clipboard would keep other tasks waiting for answers it never gives.
ClipboardContents RunOnOwnThread(ClipboardJob job) {
    HANDLE thread = CreateThread(nullptr, 0, RunClipboardJob, &job, 0, nullptr);
    if (!thread) return {};
    if (WaitForSingleObject(thread, kPeerTimeoutMs) != WAIT_OBJECT_0) {
        TerminateThread(thread, 1);
        job.contents = {};
    }
    CloseHandle(thread);
    return job.contents;
}

ClipboardContents ReadClipboard() { return RunOnOwnThread({}); }

void PutText(const wchar_t* text) { ASSERT_TRUE(RunOnOwnThread({text, {}}).opened); }

void ExpectUnchanged(const wchar_t* text) {
    const ClipboardContents contents = ReadClipboard();
    ASSERT_TRUE(contents.opened) << "the clipboard was left open";
    EXPECT_EQ(contents.text, text);
    EXPECT_FALSE(contents.hasDib);
}

// The whole CF_DIB block: header, exact length and every pixel of the pattern, opaque.
void ExpectPatternDib(const std::vector<std::uint8_t>& block, int width, int height) {
    ASSERT_EQ(block.size(), 40u + static_cast<std::size_t>(width) * height * 4);
    ExpectInfoHeader(block, 0, width, height, 32);
    ExpectPatternRows(block, 40, width, height, 4, true);
}

// Reads of a bitmap that was selected into a DC, which GetDIBits's documentation forbids: such a
// bitmap cannot be selected into a second DC.
int selectedReads = 0;
decltype(&GetDIBits) systemGetDIBits = nullptr;

int WINAPI ProbingGetDIBits(HDC dc, HBITMAP bitmap, UINT first, UINT lines, LPVOID bits, LPBITMAPINFO info,
                            UINT usage) {
    HDC probe = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(probe, bitmap);
    selectedReads += previous == nullptr;
    if (previous) SelectObject(probe, previous);
    DeleteDC(probe);
    return systemGetDIBits(dc, bitmap, first, lines, bits, info, usage);
}

// clipboard_holder, holding the clipboard from construction on.
class ClipboardHolder {
public:
    explicit ClipboardHolder(DWORD holdMs)
        : events_(UniqueName(L"retazo-clipboard")),
          holding_(events_ + L"-holding"),
          release_(events_ + L"-release"),
          released_(events_ + L"-released"),
          process_(L"clipboard_holder", events_ + L" " + std::to_wstring(holdMs)) {}
    ~ClipboardHolder() { Release(); }
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;

    bool Holding() const { return process_.WaitFor(holding_); }
    bool HasReleased() const { return released_.IsSet(); }
    // Ends the hold; true when the holder closed the clipboard and ended normally.
    bool Release() const {
        release_.Set();
        return process_.Finish() == 0;
    }

private:
    std::wstring events_;
    NamedEvent holding_;
    NamedEvent release_;
    NamedEvent released_;
    PeerProcess process_;
};

TEST(SetClipboardBitmap, PlacesOneOpaqueBottomUpDib) {
    const SIZE sizes[] = {{1, 1}, {5, 3}, {641, 3}};
    for (const SIZE& size : sizes) {
        SCOPED_TRACE(testing::Message() << size.cx << " x " << size.cy);
        PutText(L"before");
        const ObjectHandle bitmap = NewPatternBitmap(size.cx, size.cy);
        ASSERT_NE(bitmap, 0u);
        EXPECT_EQ(ResetClipboard(), -1);
        const ClipboardContents emptied = ReadClipboard();
        ASSERT_TRUE(emptied.opened) << "the clipboard was left open";
        EXPECT_EQ(emptied.text, L"");
        EXPECT_FALSE(emptied.hasDib);
        {
            ScopedImportPatch probe("gdi32.dll", "GetDIBits", reinterpret_cast<const void*>(&ProbingGetDIBits));
            ASSERT_TRUE(probe.ok());
            systemGetDIBits = probe.original<decltype(&GetDIBits)>();
            selectedReads = 0;
            EXPECT_EQ(SetClipboardBitmap(bitmap), -1);
            EXPECT_EQ(selectedReads, 0) << "GetDIBits read a bitmap selected into a DC";
        }
        const ClipboardContents contents = ReadClipboard();
        ASSERT_TRUE(contents.opened) << "the clipboard was left open";
        ExpectPatternDib(contents.dib, size.cx, size.cy);
    }
}

TEST(SetClipboardBitmap, AnotherProcessReadsTheDibAndTheBitmapsMadeFromIt) {
    const ObjectHandle bitmap = NewPatternBitmap(7, 4);
    ASSERT_NE(bitmap, 0u);
    ASSERT_EQ(ResetClipboard(), -1);
    ASSERT_EQ(SetClipboardBitmap(bitmap), -1);

    ScratchDirectory directory;
    PeerProcess dump(L"clipboard_dump", L"\"" + directory.path() + L"\"");
    ASSERT_EQ(dump.Finish(), 0u);
    ExpectPatternDib(ReadWholeFile(directory.File(L"dib.bin")), 7, 4);
    {
        SCOPED_TRACE("CF_BITMAP");
        const std::vector<std::uint8_t> bitmapDib = ReadWholeFile(directory.File(L"bitmap.bin"));
        ASSERT_FALSE(bitmapDib.empty()) << "no CF_BITMAP made from the DIB";
        EXPECT_EQ(ReadU32(bitmapDib, 4), 7u);
        EXPECT_EQ(ReadU32(bitmapDib, 8), 4u);
        ExpectPatternRows(bitmapDib, 40, 7, 4, 4, false);
    }
    {
        SCOPED_TRACE("CF_DIBV5");
        const std::vector<std::uint8_t> v5 = ReadWholeFile(directory.File(L"dibv5.bin"));
        ASSERT_FALSE(v5.empty()) << "no CF_DIBV5 made from the DIB";
        ASSERT_EQ(ReadU32(v5, 0), sizeof(BITMAPV5HEADER));
        EXPECT_EQ(ReadU32(v5, 4), 7u);
        EXPECT_EQ(ReadU32(v5, 8), 4u);
        EXPECT_EQ(ReadU16(v5, 14), 32u);
        ExpectPatternRows(v5, sizeof(BITMAPV5HEADER), 7, 4, 4, false);
    }
}

TEST(SetClipboardBitmap, TakesAGraphicControlsPixelsFromItsBackingStore) {
    HWND parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 20, 20, nullptr, nullptr, nullptr, nullptr);
    HWND control = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_OWNERDRAW, 0, 0, 6, 5, parent, nullptr, nullptr,
                                   nullptr);
    ASSERT_TRUE(control);
    ObjectRecord* record =
        CreateObjectRecord(HandleOf(control), HandleOf(parent), kFlagControl, kKindGraphicControl);
    ASSERT_TRUE(record);
    SetUpGraphicControl(record);
    ASSERT_TRUE(record->memoryDC);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 6; ++x) SetPixelV(record->memoryDC, x, y, PatternColour(x, y));
    }

    EXPECT_EQ(ResetClipboard(), -1);
    EXPECT_EQ(SetClipboardBitmap(HandleOf(control)), -1);
    const ClipboardContents contents = ReadClipboard();
    ASSERT_TRUE(contents.opened) << "the clipboard was left open";
    ExpectPatternDib(contents.dib, 6, 5);

    if (CurrentGraphicTarget() == record->handle) SetCurrentGraphicTarget(0);
    UnlinkObjectRecord(record);
    ReleaseGraphicTarget(record);
    DestroyWindow(parent);
}

TEST(SetClipboardBitmap, AHandleOfNoGraphicTargetLeavesTheClipboardClosedAndUnchanged) {
    PutText(L"kept");
    EXPECT_EQ(SetClipboardBitmap(0), 0);
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 4, 4, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(SetClipboardBitmap(HandleOf(window)), 0) << "a window without a record";
    ObjectRecord* dialog = CreateObjectRecord(HandleOf(window), 0, kFlagDialog, kKindDialog);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(SetClipboardBitmap(HandleOf(window)), 0) << "a record that is no graphic target";
    UnlinkObjectRecord(dialog);
    FreeObjectRecord(dialog);
    DestroyWindow(window);
    ExpectUnchanged(L"kept");
}

// The clipboard operations, each on the handle of a bitmap.
std::int32_t ResetClipboardFor(ObjectHandle) { return ResetClipboard(); }
const struct {
    const char* name;
    std::int32_t (*run)(ObjectHandle bitmap);
} kOperations[] = {
    {"ResetClipboard", ResetClipboardFor},
    {"SetClipboardBitmap", SetClipboardBitmap},
    {"ReplaceClipboardBitmap", ReplaceClipboardBitmap},
};

TEST(ClipboardWait, ABriefHoldByAnotherTaskIsWaitedOut) {
    PutText(L"before");
    const ObjectHandle bitmap = NewPatternBitmap(3, 2);
    ASSERT_NE(bitmap, 0u);
    for (const auto& operation : kOperations) {
        ClipboardHolder holder(50);
        ASSERT_TRUE(holder.Holding());
        EXPECT_EQ(operation.run(bitmap), -1) << operation.name;
        EXPECT_TRUE(holder.Release());
    }
    const ClipboardContents contents = ReadClipboard();
    ASSERT_TRUE(contents.opened) << "the clipboard was left open";
    EXPECT_EQ(contents.text, L"");
    ExpectPatternDib(contents.dib, 3, 2);
}

// Global blocks that this program allocated and has not freed, counted through its imports;
// `refuse` makes every allocation fail the way it does when memory runs out.
struct BlockLedger {
    static inline long live = 0;
    static inline bool refuse = false;
    static inline decltype(&GlobalAlloc) alloc = nullptr;
    static inline decltype(&GlobalFree) free = nullptr;
};

HGLOBAL WINAPI CountedGlobalAlloc(UINT flags, SIZE_T size) {
    if (BlockLedger::refuse) return nullptr;
    HGLOBAL block = BlockLedger::alloc(flags, size);
    if (block) ++BlockLedger::live;
    return block;
}

HGLOBAL WINAPI CountedGlobalFree(HGLOBAL block) {
    if (block) --BlockLedger::live;
    return BlockLedger::free(block);
}

// Counts blocks for one scope.
class ScopedBlockLedger {
public:
    explicit ScopedBlockLedger(bool refuse)
        : alloc_("kernel32.dll", "GlobalAlloc", reinterpret_cast<const void*>(&CountedGlobalAlloc)),
          free_("kernel32.dll", "GlobalFree", reinterpret_cast<const void*>(&CountedGlobalFree)) {
        BlockLedger::live = 0;
        BlockLedger::refuse = refuse;
        BlockLedger::alloc = alloc_.original<decltype(&GlobalAlloc)>();
        BlockLedger::free = free_.original<decltype(&GlobalFree)>();
    }
    ScopedBlockLedger(const ScopedBlockLedger&) = delete;
    ScopedBlockLedger& operator=(const ScopedBlockLedger&) = delete;
    bool ok() const { return alloc_.ok() && free_.ok(); }

private:
    ScopedImportPatch alloc_;
    ScopedImportPatch free_;
};

TEST(ReplaceClipboardBitmap, ReplacesEverythingWithOneDibInOneOpen) {
    PutText(L"before");
    const ObjectHandle bitmap = NewPatternBitmap(5, 3);
    ASSERT_NE(bitmap, 0u);
    {
        ScopedBlockLedger ledger(false);
        ASSERT_TRUE(ledger.ok());
        EXPECT_EQ(ReplaceClipboardBitmap(bitmap), -1);
        EXPECT_EQ(BlockLedger::live, 1) << "the block handed to the clipboard must not be freed";
    }
    const ClipboardContents contents = ReadClipboard();
    ASSERT_TRUE(contents.opened) << "the clipboard was left open";
    EXPECT_EQ(contents.text, L"") << "the old text is mixed with the selection";
    ExpectPatternDib(contents.dib, 5, 3);
    // Besides the DIB, only what the system makes from a DIB on request.
    for (UINT format : contents.formats) {
        EXPECT_TRUE(format == CF_DIB || format == CF_BITMAP || format == CF_DIBV5 || format == CF_PALETTE)
            << "format " << format << " on the clipboard";
    }
}

// Data put on the clipboard by a window other than its owner, which Windows refuses (Wine
// accepts it).
int setsByNoOwner = 0;
decltype(&SetClipboardData) systemSetClipboardData = nullptr;

HANDLE WINAPI OwnerCheckingSetClipboardData(UINT format, HANDLE data) {
    HWND owner = GetClipboardOwner();
    setsByNoOwner += !owner || owner != GetOpenClipboardWindow();
    return systemSetClipboardData(format, data);
}

// A listener that reopens the clipboard after every change could come in between two changes;
// one open makes one change. Closing the clipboard posts the notifications before it returns.
// Either way the data comes from the window that emptied the clipboard, and that window is gone
// afterwards, so that no later empty waits for it to answer.
TEST(ReplaceClipboardBitmap, ListenersAreToldOfOneChange) {
    const ObjectHandle bitmap = NewPatternBitmap(2, 2);
    ASSERT_NE(bitmap, 0u);
    const struct {
        const char* name;
        bool (*run)(ObjectHandle);
        int changes;
    } cases[] = {
        {"ReplaceClipboardBitmap", [](ObjectHandle handle) { return ReplaceClipboardBitmap(handle) == -1; }, 1},
        {"ResetClipboard, SetClipboardBitmap",
         [](ObjectHandle handle) { return ResetClipboard() == -1 && SetClipboardBitmap(handle) == -1; }, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PutText(L"before");
        HWND listener = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        ASSERT_TRUE(listener && AddClipboardFormatListener(listener));
        {
            ScopedImportPatch patch("user32.dll", "SetClipboardData",
                                    reinterpret_cast<const void*>(&OwnerCheckingSetClipboardData));
            ASSERT_TRUE(patch.ok());
            systemSetClipboardData = patch.original<decltype(&SetClipboardData)>();
            setsByNoOwner = 0;
            EXPECT_TRUE(c.run(bitmap));
            EXPECT_EQ(setsByNoOwner, 0) << "data set by a window that is not the clipboard's owner";
        }
        EXPECT_EQ(GetClipboardOwner(), nullptr) << "the owner window is left behind";
        int changes = 0;
        MSG message;
        while (PeekMessageW(&message, listener, WM_CLIPBOARDUPDATE, WM_CLIPBOARDUPDATE, PM_REMOVE)) ++changes;
        EXPECT_EQ(changes, c.changes) << "WM_CLIPBOARDUPDATE messages";
        RemoveClipboardFormatListener(listener);
        DestroyWindow(listener);
    }
}

// Every operation gives up on a clipboard that another task holds throughout, and the replacement
// on any failure.
TEST(ClipboardFailure, KeepsTheOldContentsAndFreesTheBlock) {
    enum class Obstacle { kHolder, kNoMemory, kNoTarget };
    const struct {
        const char* name;
        Obstacle obstacle;
        std::int32_t (*run)(ObjectHandle bitmap);
    } cases[] = {
        {"another task holds the clipboard throughout a reset", Obstacle::kHolder, ResetClipboardFor},
        {"another task holds the clipboard throughout a set", Obstacle::kHolder, SetClipboardBitmap},
        {"another task holds the clipboard throughout a replacement", Obstacle::kHolder, ReplaceClipboardBitmap},
        {"the block cannot be allocated", Obstacle::kNoMemory, ReplaceClipboardBitmap},
        {"the handle names no graphic target", Obstacle::kNoTarget, ReplaceClipboardBitmap},
    };
    const ObjectHandle bitmap = NewPatternBitmap(4, 4);
    ASSERT_NE(bitmap, 0u);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PutText(L"kept");
        std::optional<ClipboardHolder> holder;
        if (c.obstacle == Obstacle::kHolder) {
            holder.emplace(2000);
            ASSERT_TRUE(holder->Holding());
        }
        {
            ScopedBlockLedger ledger(c.obstacle == Obstacle::kNoMemory);
            ASSERT_TRUE(ledger.ok());
            EXPECT_EQ(c.run(c.obstacle == Obstacle::kNoTarget ? 0 : bitmap), 0);
            EXPECT_EQ(BlockLedger::live, 0) << "blocks left allocated";
        }
        if (holder) {
            EXPECT_FALSE(holder->HasReleased()) << "gave up only after the holder let go";
            EXPECT_TRUE(holder->Release());
        }
        ExpectUnchanged(L"kept");
    }
}

}  // namespace
