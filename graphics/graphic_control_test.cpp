// The graphic control hosted in a window of the test's own, standing in for an engine dialog:
// the host answers WM_DRAWITEM with PaintGraphicControl, as the dialog procedure does.
#include "graphics/graphic_control.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "graphics/copy_graphic.h"
#include "graphics/dirty_rectangle.h"
#include "graphics/graphic_box.h"
#include "graphics/graphic_control_proc.h"
#include "graphics/spin_lock.h"
#include "tests/support/import_patch_test_support.h"
#include "tests/support/message_sequence_test_support.h"
#include "tests/support/pixel_test_support.h"

namespace {

constexpr int kControlId = 500;
constexpr int kControlX = 10, kControlY = 20, kControlWidth = 120, kControlHeight = 80;
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr std::uint32_t kSrcCopyCode = SRCCOPY;

struct HostLog {
    std::vector<SeenMessage> messages;
    int drawItems = 0;
    bool lockHeldWhilePainting = false;
    RECT painted{};  // clip box of the latest paint
};
HostLog hostLog;

bool IsLogged(UINT message) {
    return message == WM_SETCURSOR || message == WM_DRAWITEM || (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST);
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (IsLogged(message)) hostLog.messages.push_back({message, wParam, lParam});
    if (message == WM_DRAWITEM) {
        ++hostLog.drawItems;
        if (GraphicLock().IsTaken()) hostLog.lockHeldWhilePainting = true;
        GetClipBox(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hDC, &hostLog.painted);
        if (PaintGraphicControl(window, reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

const wchar_t* HostClass() {
    static const ATOM atom = [] {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = HostProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = L"GraphicControlHost";
        return RegisterClassW(&windowClass);
    }();
    return MAKEINTATOM(atom);
}

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Pumps until `done` holds or five seconds have passed; records which windows mouse input was
// posted to.
template <typename Done>
bool PumpUntil(Done done, std::vector<HWND>* mouseTargets) {
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (!done()) {
        if (GetTickCount64() > deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (mouseTargets && msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
                mouseTargets->push_back(msg.hwnd);
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return true;
}

class GraphicControlTest : public ::testing::Test {
protected:
    // One host for all the tests: the system takes seconds to take down a visible top-level
    // window when no window manager runs.
    static void SetUpTestSuite() {
        CreateInitialFontTable();
        host = CreateWindowExW(WS_EX_TOPMOST, HostClass(), L"", WS_POPUP | WS_VISIBLE, 0, 0, 160, 120, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    static void TearDownTestSuite() {
        DestroyWindow(host);
        host = nullptr;
    }

    void SetUp() override {
        ASSERT_NE(host, nullptr);
        control = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, kControlX, kControlY,
                                  kControlWidth, kControlHeight, host, reinterpret_cast<HMENU>(kControlId),
                                  GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(control, nullptr);
        SetCurrentGraphicTarget(0);
        record = CreateObjectRecord(HandleOf(control), HandleOf(host), kFlagControl, kKindGraphicControl);
        ASSERT_NE(record, nullptr);
        SetUpGraphicControl(record);
        UpdateWindow(host);
        PumpMessages();
        hostLog = HostLog{};
    }

    void TearDown() override {
        DestroyWindow(control);
        Release();
        PumpMessages();
    }

    // What the engine does for the control at its dialog's WM_NCDESTROY.
    void Release() {
        if (!record) return;
        UnlinkObjectRecord(record);
        ReleaseGraphicTarget(record);
        record = nullptr;
    }

    // What the control shows, read from its window DC.
    COLORREF Shown(int x, int y) const {
        HDC dc = GetDC(control);
        const COLORREF colour = GetPixel(dc, x, y);
        ReleaseDC(control, dc);
        return colour;
    }
    COLORREF Stored(int x, int y) const { return GetPixel(record->memoryDC, x, y); }

    // How many pixels the screen shows other than the backing store holds.
    int PixelsNotShown() const {
        HDC dc = GetDC(control);
        int differing = 0;
        for (int y = 0; y < kControlHeight; ++y) {
            for (int x = 0; x < kControlWidth; ++x) differing += GetPixel(dc, x, y) != Stored(x, y);
        }
        ReleaseDC(control, dc);
        return differing;
    }

    void FillBackingStore(COLORREF colour) {
        HDC dc = GetGraphicDC();
        ASSERT_NE(dc, nullptr);
        HBRUSH brush = CreateSolidBrush(colour);
        const RECT all{0, 0, kControlWidth, kControlHeight};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }

    static inline HWND host = nullptr;
    HWND control = nullptr;
    ObjectRecord* record = nullptr;
};

TEST_F(GraphicControlTest, SetUpGivesABackingStoreOfTheClientSizeInTheButtonFaceColour) {
    EXPECT_EQ(record->canvasSize.cx, kControlWidth);
    EXPECT_EQ(record->canvasSize.cy, kControlHeight);
    EXPECT_EQ(record->viewSize.cx, kControlWidth);
    EXPECT_EQ(record->viewSize.cy, kControlHeight);
    EXPECT_EQ(record->fontNumber, 1);
    EXPECT_EQ(record->penWidth, 0);
    EXPECT_EQ(GetWindowLongPtrW(control, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(GraphicControlProc));
    BITMAP backing{};
    ASSERT_TRUE(GetObjectW(GetCurrentObject(record->memoryDC, OBJ_BITMAP), sizeof(backing), &backing));
    EXPECT_EQ(backing.bmWidth, kControlWidth);
    EXPECT_EQ(backing.bmHeight, kControlHeight);

    const COLORREF buttonFace = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(Stored(0, 0), buttonFace);
    EXPECT_EQ(Stored(kControlWidth - 1, kControlHeight - 1), buttonFace);
    EXPECT_EQ(Shown(0, 0), buttonFace);
    EXPECT_EQ(Shown(kControlWidth - 1, kControlHeight - 1), buttonFace);
}

TEST_F(GraphicControlTest, BecomesTheUnbufferedCurrentTargetOfAThreadWithoutOne) {
    EXPECT_EQ(CurrentGraphicTarget(), HandleOf(control));
    EXPECT_FALSE(record->flags & kFlagBuffered);

    // A second control leaves the current target alone.
    HWND second = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_OWNERDRAW, 0, 0, 5, 5, host,
                                  reinterpret_cast<HMENU>(501), nullptr, nullptr);
    ObjectRecord* secondRecord = CreateObjectRecord(HandleOf(second), HandleOf(host), kFlagControl, kKindGraphicControl);
    ASSERT_NE(secondRecord, nullptr);
    SetUpGraphicControl(secondRecord);
    EXPECT_EQ(CurrentGraphicTarget(), HandleOf(control));
    DestroyWindow(second);
    UnlinkObjectRecord(secondRecord);
    ReleaseGraphicTarget(secondRecord);
}

TEST_F(GraphicControlTest, AttachNamesTheControlByDialogAndId) {
    AttachGraphic(HandleOf(host), kControlId, kAttachBuffered);
    EXPECT_EQ(CurrentGraphicTarget(), HandleOf(control));
    EXPECT_TRUE(record->flags & kFlagBuffered);
    AttachGraphic(HandleOf(control), 0, 0);
    EXPECT_EQ(CurrentGraphicTarget(), HandleOf(control));
    EXPECT_FALSE(record->flags & kFlagBuffered);
}

TEST_F(GraphicControlTest, IsTransparentToTheMouseAndWantsAllKeys) {
    EXPECT_EQ(SendMessageW(control, WM_NCHITTEST, 0, MAKELPARAM(kControlX + 5, kControlY + 5)), HTTRANSPARENT);
    EXPECT_EQ(SendMessageW(control, WM_GETDLGCODE, 0, 0), DLGC_WANTALLKEYS);
}

TEST_F(GraphicControlTest, AClickOverTheControlLandsOnTheHost) {
    SetForegroundWindow(host);
    SetFocus(host);
    POINT centre{kControlWidth / 2, kControlHeight / 2};
    ClientToScreen(control, &centre);
    ASSERT_TRUE(SetCursorPos(centre.x, centre.y));
    PumpMessages();
    hostLog = HostLog{};

    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    ASSERT_EQ(SendInput(2, inputs, sizeof(INPUT)), 2u);
    std::vector<HWND> mouseTargets;
    const auto sawRelease = [] {
        for (const SeenMessage& logged : hostLog.messages) {
            if (logged.message == WM_LBUTTONUP) return true;
        }
        return false;
    };
    ASSERT_TRUE(PumpUntil(sawRelease, &mouseTargets)) << "the release never reached the host";

    // WM_SETCURSOR naming the press, then the press itself, then the same for the release.
    std::vector<SeenMessage> clicks;
    for (const SeenMessage& logged : hostLog.messages) {
        if (logged.message != WM_SETCURSOR || HIWORD(logged.lParam) != WM_MOUSEMOVE) clicks.push_back(logged);
    }
    const auto hostWindow = reinterpret_cast<WPARAM>(host);
    EXPECT_TRUE(SequenceMatches(clicks, {
                                            {WM_SETCURSOR, kParams, hostWindow, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)},
                                            {WM_LBUTTONDOWN, kLParam, 0,
                                             MAKELPARAM(kControlX + kControlWidth / 2, kControlY + kControlHeight / 2)},
                                            {WM_SETCURSOR, kParams, hostWindow, MAKELPARAM(HTCLIENT, WM_LBUTTONUP)},
                                            {WM_LBUTTONUP},
                                        }));
    for (HWND target : mouseTargets) EXPECT_EQ(target, host);
    // The control's own procedure would have taken the focus on a press.
    EXPECT_FALSE(record->flags & kFlagHasFocus);
}

TEST_F(GraphicControlTest, PaintCopiesTheBackingStoreForAFullRedrawOnly) {
    AttachGraphic(HandleOf(host), kControlId, kAttachBuffered);
    FillBackingStore(kBlue);
    const ObjectHandle canvas = NewFilledBitmap(kControlWidth, kControlHeight, kRed);
    HDC canvasDC = RecordOf(canvas)->memoryDC;

    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_STATIC;
    item.CtlID = kControlId;
    item.itemAction = ODA_FOCUS;
    item.hwndItem = control;
    item.hDC = canvasDC;
    EXPECT_FALSE(PaintGraphicControl(host, &item));
    EXPECT_EQ(GetPixel(canvasDC, 3, 3), kRed);

    item.itemAction = ODA_DRAWENTIRE;
    item.CtlID = kControlId + 1;
    EXPECT_FALSE(PaintGraphicControl(host, &item));
    EXPECT_EQ(GetPixel(canvasDC, 3, 3), kRed);

    item.CtlID = kControlId;
    EXPECT_TRUE(PaintGraphicControl(host, &item));
    EXPECT_EQ(GetPixel(canvasDC, 0, 0), kBlue);
    EXPECT_EQ(GetPixel(canvasDC, kControlWidth - 1, kControlHeight - 1), kBlue);

    // A second control with the same id shows its own backing store, not the first one's.
    HWND twin = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | SS_OWNERDRAW, 0, 0, 5, 5, host,
                                reinterpret_cast<HMENU>(kControlId), nullptr, nullptr);
    ObjectRecord* twinRecord = CreateObjectRecord(HandleOf(twin), HandleOf(host), kFlagControl, kKindGraphicControl);
    ASSERT_NE(twinRecord, nullptr);
    SetUpGraphicControl(twinRecord);
    item.hwndItem = twin;
    EXPECT_TRUE(PaintGraphicControl(host, &item));
    EXPECT_EQ(GetPixel(canvasDC, 0, 0), GetSysColor(COLOR_BTNFACE));
    DestroyWindow(twin);
    UnlinkObjectRecord(twinRecord);
    ReleaseGraphicTarget(twinRecord);
}

TEST_F(GraphicControlTest, BufferedDrawingReachesTheScreenInOneRepaint) {
    const ObjectHandle photo = NewPatternBitmap(kControlWidth, kControlHeight);
    AttachGraphic(HandleOf(host), kControlId, kAttachBuffered);
    CopyGraphic(photo, 0, kSrcCopyCode);
    DrawGraphicBox(30, 20, 10, 5, 0, 255, -2, 0);
    EXPECT_EQ(hostLog.drawItems, 0);
    EXPECT_EQ(Shown(10, 5), GetSysColor(COLOR_BTNFACE));
    EXPECT_TRUE(record->flags & kFlagDirty);

    RedrawGraphic();
    ASSERT_EQ(hostLog.drawItems, 1);
    EXPECT_FALSE(hostLog.lockHeldWhilePainting);
    EXPECT_FALSE(record->flags & kFlagDirty);
    EXPECT_EQ(record->dirty.left, -1);
    EXPECT_EQ(Shown(10, 5), kRed);
    EXPECT_EQ(Shown(29, 19), kRed);
    EXPECT_EQ(Shown(20, 12), PatternColour(20, 12));
    EXPECT_EQ(Shown(30, 20), PatternColour(30, 20));
    EXPECT_EQ(Shown(kControlWidth - 1, kControlHeight - 1), PatternColour(kControlWidth - 1, kControlHeight - 1));
}

// The tool's move: restore the photograph, outline, redraw. The repaint covers only the old and the
// new outline, unless the photograph itself changed; either way the screen ends up showing the
// whole backing store.
TEST_F(GraphicControlTest, EachRedrawShowsTheWholeBackingStoreRepaintingOnlyWhatChanged) {
    const ObjectHandle photo = NewPatternBitmap(kControlWidth, kControlHeight);
    // The capture keeps the photograph's DC and shows what it drew with RedrawGraphic.
    AttachGraphic(photo, 0, 0);
    HDC photoDC = GetGraphicDC();
    RedrawGraphic();
    const auto redrawPhoto = [photo] {
        AttachGraphic(photo, 0, 0);
        DrawGraphicBox(0, 0, 50, 50, 0, kBlue, -1, 0);
    };
    const auto drawIntoPhoto = [photo, photoDC] {
        const RECT area{20, 20, 70, 60};
        FillRect(photoDC, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        AttachGraphic(photo, 0, 0);
        RedrawGraphic();
    };
    const auto nothing = [] {};
    const RECT whole{0, 0, kControlWidth, kControlHeight};
    const struct {
        const char* move;
        std::function<void()> before;
        RECT box;
        RECT painted;
    } moves[] = {
        {"first outline", nothing, {10, 10, 60, 40}, whole},
        {"outline shrunk", nothing, {20, 15, 40, 30}, {9, 9, 61, 41}},
        {"outline dragged the other way", nothing, {25, 18, 5, 3}, {4, 2, 41, 31}},
        {"photograph drawn on by the engine", redrawPhoto, {30, 30, 90, 60}, whole},
        {"photograph drawn into directly", drawIntoPhoto, {31, 30, 90, 60}, whole},
        {"outline grown", nothing, {5, 5, 110, 75}, {4, 4, 111, 76}},
    };
    for (const auto& move : moves) {
        move.before();
        AttachGraphic(HandleOf(host), kControlId, kAttachBuffered);
        CopyGraphic(photo, 0, kSrcCopyCode);
        DrawGraphicBox(static_cast<float>(move.box.left), static_cast<float>(move.box.top),
                       static_cast<float>(move.box.right), static_cast<float>(move.box.bottom), 0, kRed, -2, 0);
        RedrawGraphic();
        EXPECT_EQ(PixelsNotShown(), 0) << move.move;
        EXPECT_EQ(hostLog.painted, move.painted) << move.move;
    }
}

TEST_F(GraphicControlTest, UnbufferedDrawingRepaintsAtOnceWithoutHoldingTheLock) {
    AttachGraphic(HandleOf(host), kControlId, 0);
    DrawGraphicBox(5, 5, 25, 15, 0, 255, -1, 0);
    EXPECT_EQ(hostLog.drawItems, 1);
    EXPECT_EQ(Shown(5, 5), kRed);
    EXPECT_EQ(Shown(15, 10), kRed);
    EXPECT_FALSE(record->flags & kFlagDirty);
    EXPECT_EQ(record->dirty.left, -1);

    FillBackingStore(kBlue);
    EXPECT_EQ(hostLog.drawItems, 1) << "direct drawing into the DC asks for no repaint";
    RedrawGraphic();
    EXPECT_EQ(hostLog.drawItems, 2);
    EXPECT_EQ(Shown(15, 10), kBlue);
    EXPECT_FALSE(hostLog.lockHeldWhilePainting);
    // Through the DC kept from before, drawing is shown by the next redraw as well.
    PatBlt(record->memoryDC, 0, 0, kControlWidth, kControlHeight, WHITENESS);
    RedrawGraphic();
    EXPECT_EQ(PixelsNotShown(), 0);
}

BOOL WINAPI FailingBitBlt(HDC, int, int, int, int, HDC, int, int, DWORD) { return FALSE; }

TEST_F(GraphicControlTest, ARedrawWhosePaintFailedIsRepeatedInFullByTheNext) {
    const ObjectHandle photo = NewPatternBitmap(kControlWidth, kControlHeight);
    AttachGraphic(HandleOf(host), kControlId, kAttachBuffered);
    CopyGraphic(photo, 0, kSrcCopyCode);
    {
        const ScopedImportPatch failing("gdi32.dll", "BitBlt", reinterpret_cast<const void*>(&FailingBitBlt));
        ASSERT_TRUE(failing.ok());
        RedrawGraphic();
    }
    RedrawGraphic();
    EXPECT_EQ(PixelsNotShown(), 0);
}

TEST_F(GraphicControlTest, AnyRepaintTheSystemAsksForShowsTheBackingStore) {
    AttachGraphic(HandleOf(host), kControlId, kAttachBuffered);
    FillBackingStore(kBlue);
    RedrawGraphic();
    // As when the control is uncovered: invalidated with erasing, painted by the system.
    RedrawWindow(host, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    EXPECT_EQ(hostLog.drawItems, 2);
    EXPECT_EQ(Shown(0, 0), kBlue);
    EXPECT_EQ(Shown(kControlWidth - 1, kControlHeight - 1), kBlue);
}

TEST_F(GraphicControlTest, KeepsFunctionAndMovementKeysAndPassesTab) {
    const struct {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        bool consumed;
    } keys[] = {
        {WM_KEYDOWN, VK_F1, 0x003B0001, true},
        {WM_KEYDOWN, VK_F12, 0x00580001, true},
        {WM_KEYDOWN, 'A', 0x001E0001, false},
        {WM_KEYDOWN, VK_LEFT, 0x014B0001, true},    // extended arrow
        {WM_KEYDOWN, VK_RETURN, 0x011C0001, false},  // keypad Enter
        {WM_SYSKEYDOWN, VK_F10, 0x20440001, true},
        {WM_SYSKEYDOWN, VK_F9, 0x20430001, false},
        {WM_CHAR, 'x', 0x002D0001, true},
        {WM_CHAR, '\t', 0x000F0001, false},
    };
    for (const auto& key : keys) {
        record->lastKey = 0xFFFFFFFF;
        const LRESULT result = SendMessageW(control, key.message, key.wParam, key.lParam);
        if (key.consumed) {
            EXPECT_EQ(result, 0) << std::hex << key.lParam;
            const std::uint32_t expected = key.message == WM_CHAR ? static_cast<std::uint32_t>(key.wParam)
                                                                  : static_cast<std::uint32_t>(key.lParam & 0x00FF0000);
            EXPECT_EQ(record->lastKey, expected) << std::hex << key.lParam;
        } else {
            EXPECT_EQ(record->lastKey, 0xFFFFFFFF) << std::hex << key.lParam;
        }
    }
}

TEST_F(GraphicControlTest, TracksTheFocus) {
    SetForegroundWindow(host);
    SetFocus(control);
    EXPECT_TRUE(record->flags & kFlagHasFocus);
    SetFocus(host);
    EXPECT_FALSE(record->flags & kFlagHasFocus);
}

TEST_F(GraphicControlTest, ReleaseFreesTheBackingStoreAndKeepsASharedBrush) {
    HDC memoryDC = record->memoryDC;
    HGDIOBJ backing = GetCurrentObject(memoryDC, OBJ_BITMAP);
    HBRUSH sharedBrush = record->backgroundBrush;
    const ObjectHandle sharer = NewFilledBitmap(2, 2, 0);
    ASSERT_EQ(RecordOf(sharer)->backgroundBrush, sharedBrush);
    const LONG fontUses = FindFont(1)->useCount;

    DestroyWindow(control);
    Release();
    EXPECT_EQ(GetObjectType(memoryDC), 0u);
    EXPECT_EQ(GetObjectType(backing), 0u);
    EXPECT_EQ(GetObjectType(sharedBrush), static_cast<DWORD>(OBJ_BRUSH));
    EXPECT_EQ(FindFont(1)->useCount, fontUses - 1);
    EXPECT_EQ(GetObjectType(FindFont(1)->handle), static_cast<DWORD>(OBJ_FONT));
}

TEST_F(GraphicControlTest, ReleaseDeletesABrushNoOtherRecordHolds) {
    HBRUSH ownBrush = CreateSolidBrush(RGB(1, 2, 3));
    record->backgroundBrush = ownBrush;
    record->backgroundColour = RGB(1, 2, 3);
    DestroyWindow(control);
    Release();
    EXPECT_EQ(GetObjectType(ownBrush), 0u);
}

TEST_F(GraphicControlTest, ReleasedControlNoLongerResolvesOrAnswers) {
    AttachGraphic(HandleOf(host), kControlId, kAttachBuffered);
    Release();
    EXPECT_EQ(SendMessageW(control, WM_GETDLGCODE, 0, 0), 0);
    EXPECT_EQ(GetGraphicDC(), nullptr);
    DrawGraphicBox(1, 1, 5, 5, 0, 255, -1, 0);
    EXPECT_EQ(hostLog.drawItems, 0);
}

}  // namespace
