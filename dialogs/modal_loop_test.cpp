// The modal loop: the messages the callback sees, the owner's state and what is released at the end.
#include "dialogs/modal_loop.h"

#include "tests/support/dialog_test_support.h"
#include "tests/support/import_patch_test_support.h"

namespace {

// The owner window of the owner tests, and what it saw.
struct OwnerState {
    HWND window = nullptr;
    std::vector<SeenMessage> messages;
    int idleNotices = 0;
    bool endInsideNotice = false;  // else the first notice posts the dialog WM_APP
    bool enabledWhileRunning = true;
    bool enabledAtDestroy = false;
};
OwnerState owner;

LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    owner.messages.push_back({message, wParam, lParam});
    if (message == WM_ENTERIDLE && wParam == MSGF_DIALOGBOX) {
        // The first idle notice ends the run. Only a loop that missed the end sees a second:
        // a message then lets it find the dialog gone.
        HWND dialog = reinterpret_cast<HWND>(lParam);
        if (owner.idleNotices++ > 0) {
            PostMessageW(window, WM_NULL, 0, 0);
        } else if (owner.endInsideNotice) {
            owner.enabledWhileRunning = IsWindowEnabled(window);
            DialogEnd(dialog, 42);
        } else {
            PostMessageW(dialog, WM_APP, 0, 0);
        }
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::int32_t EndOnApp(HWND dialog, UINT message, WPARAM, LPARAM) {
    if (message == WM_APP) DialogEnd(dialog, 42);
    return 0;
}

class ModalLoopTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        owner = OwnerState{};
    }
    HWND NewModalDialog(HWND parent, std::uint32_t style) {
        return NewTestDialog(parent, kUnitsPixels, 10, 10, 200, 100, style);
    }
    HWND NewOwner() {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = OwnerProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"DialogTestOwner";
        RegisterClassW(&windowClass);
        owner.window = Keep(CreateWindowExW(0, L"DialogTestOwner", L"", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                                            nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
        return owner.window;
    }
};

}  // namespace

TEST_F(ModalLoopTest, CallbackSeesInitAndSizeWhileHiddenThenEveryMessageUntilTheEnd) {
    HWND dialog = NewModalDialog(nullptr, WS_POPUP);
    ASSERT_TRUE(dialog);
    PostMessageW(dialog, WM_APP, 0, 0);
    PostThreadMessageW(GetCurrentThreadId(), WM_APP + 1, 0, 0);
    static bool visibleAtApp;
    reaction = [](HWND d, UINT message, WPARAM wParam, LPARAM lParam) -> std::int32_t {
        // Not attached yet: what the first messages provoke reaches only the engine.
        if (message == WM_INITDIALOG) SendMessageW(d, WM_APP + 7, 0, 0);
        if (message == WM_APP) visibleAtApp = IsWindowVisible(d) != FALSE;
        return EndOnApp(d, message, wParam, lParam);
    };
    std::int32_t result = -1;
    RunModal(dialog, &result);

    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(result, 42);
    // Attached before the dialog is shown, so the callback sees WM_SHOWWINDOW.
    EXPECT_TRUE(SequenceMatches(seen,
                                {
                                    {WM_INITDIALOG, kParams | kAdjacent | kHidden, reinterpret_cast<WPARAM>(dialog), 0},
                                    {WM_SIZE, kParams | kAdjacent | kHidden, SIZE_RESTORED, MAKELPARAM(200, 100)},
                                    {WM_SHOWWINDOW, kWParam, TRUE},
                                    {WM_APP},
                                    {WM_CLOSE},
                                    {WM_DESTROY},
                                    {WM_NCDESTROY, kLast},
                                },
                                {WM_APP + 7, WM_ACTIVATE}));
    EXPECT_TRUE(visibleAtApp);
    // The loop ended right after the message that ended the dialog.
    MSG next;
    EXPECT_TRUE(PeekMessageW(&next, nullptr, WM_APP + 1, WM_APP + 1, PM_REMOVE));
}

TEST_F(ModalLoopTest, RecordsAndBackingStoresAreReleasedAfterTheCallbackSawNcDestroy) {
    HWND dialog = NewModalDialog(nullptr, WS_POPUP);
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(Add(dialog, kKindGraphicControl, 500, 200, 100, 0));
    ASSERT_TRUE(Add(dialog, kKindGraphicControl, 501, 200, 100, 0));
    ASSERT_TRUE(Add(dialog, 5, 502, 50, 20, 0));
    ASSERT_EQ(ObjectCount(), StartObjects() + 4);
    HDC memoryDC = FindObjectRecord(HandleOf(GetDlgItem(dialog, 500)))->memoryDC;
    HGDIOBJ backing = GetCurrentObject(memoryDC, OBJ_BITMAP);
    ASSERT_EQ(GetObjectType(backing), static_cast<DWORD>(OBJ_BITMAP));

    PostMessageW(dialog, WM_APP, 0, 0);
    static bool recordAtNcDestroy;
    reaction = [](HWND d, UINT message, WPARAM wParam, LPARAM lParam) -> std::int32_t {
        if (message == WM_NCDESTROY) recordAtNcDestroy = FindObjectRecord(HandleOf(d)) != nullptr;
        return EndOnApp(d, message, wParam, lParam);
    };
    RunModal(dialog, nullptr);

    EXPECT_TRUE(recordAtNcDestroy);
    EXPECT_EQ(ObjectCount(), StartObjects());
    EXPECT_EQ(GetObjectType(memoryDC), 0u);
    EXPECT_EQ(GetObjectType(backing), 0u);
}

TEST_F(ModalLoopTest, EscapeOnlyReachesTheCallbackWhileTheCloseCommandEndsTheDialog) {
    HWND dialog = NewModalDialog(nullptr, 0);
    ASSERT_TRUE(dialog);
    PostMessageW(dialog, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    std::int32_t result = 99;
    RunModal(dialog, &result);

    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(result, 0);
    // Still running after the cancel, so the close command comes through.
    EXPECT_TRUE(SequenceMatches(seen, {
                                          {WM_COMMAND, kWParam, IDCANCEL},
                                          {WM_SYSCOMMAND, kWParam, SC_CLOSE},
                                          {WM_CLOSE},
                                          {WM_DESTROY},
                                          {WM_NCDESTROY},
                                      }));
}

// The run ends at the owner's first idle notice, from a message it posts or inside the notice.
TEST_F(ModalLoopTest, TheOwnerIsDisabledNotifiedWhileIdleAndGivenTheFocusBack) {
    for (const bool endInsideNotice : {false, true}) {
        SCOPED_TRACE(endInsideNotice ? "ended inside the notice" : "ended by a posted message");
        owner = OwnerState{};
        owner.endInsideNotice = endInsideNotice;
        HWND dialog = NewModalDialog(NewOwner(), WS_POPUP);
        ASSERT_TRUE(dialog);
        SetForegroundWindow(owner.window);
        static HWND foregroundAtInit, activeAtInit;
        reaction = [](HWND d, UINT message, WPARAM wParam, LPARAM lParam) -> std::int32_t {
            // The photograph is taken here: the user's window is still in front, still active.
            if (message == WM_INITDIALOG) {
                foregroundAtInit = GetForegroundWindow();
                activeAtInit = GetActiveWindow();
            }
            if (message == WM_APP) owner.enabledWhileRunning = IsWindowEnabled(owner.window);
            if (message == WM_DESTROY) owner.enabledAtDestroy = IsWindowEnabled(owner.window);
            return EndOnApp(d, message, wParam, lParam);
        };
        RunModal(dialog, nullptr);

        EXPECT_FALSE(IsWindow(dialog));
        EXPECT_EQ(foregroundAtInit, owner.window);
        EXPECT_EQ(activeAtInit, owner.window);
        EXPECT_EQ(owner.idleNotices, 1);
        // Disabling the owner cancels its modes before the loop goes idle.
        EXPECT_TRUE(SequenceMatches(owner.messages, {
                                                        {WM_CANCELMODE},
                                                        {WM_CANCELMODE, kOptional},
                                                        {WM_ENTERIDLE, kWParam, MSGF_DIALOGBOX},
                                                    }));
        EXPECT_FALSE(owner.enabledWhileRunning);
        EXPECT_TRUE(owner.enabledAtDestroy);
        EXPECT_EQ(GetFocus(), owner.window);
    }
}

TEST_F(ModalLoopTest, NoIdleNoticesForADialogThatAsksForNone) {
    HWND dialog = NewModalDialog(NewOwner(), WS_POPUP | DS_NOIDLEMSG);
    ASSERT_TRUE(dialog);
    // A timer fires only once the queue has run empty, that is after idle passes of the loop.
    SetTimer(dialog, 1, 20, nullptr);
    reaction = [](HWND d, UINT message, WPARAM, LPARAM) -> std::int32_t {
        if (message == WM_TIMER) DialogEnd(d, 0);
        return 0;
    };
    RunModal(dialog, nullptr);
    EXPECT_TRUE(SequenceMatches(seen, {{WM_TIMER, kWParam, 1}}));
    EXPECT_EQ(owner.idleNotices, 0);
}

// The idle waits of one run. Each wait let through posts the dialog WM_APP, as if input had come
// then: the dialog sees one WM_APP per wait, and ends at the third.
struct WaitLog {
    HWND dialog;
    DWORD refusedBits;         // a wait asked for any of these fails, as where Windows does not know them
    std::vector<DWORD> masks;  // what each wait was asked for
    int waitMessages;
};
WaitLog waits;

DWORD WINAPI RecordingWait(DWORD, const HANDLE*, DWORD, DWORD mask, DWORD) {
    waits.masks.push_back(mask);
    const bool refused = mask & waits.refusedBits;
    // A loop that spins on the failure is let out after a while, to fail rather than hang.
    if (!refused || waits.masks.size() % 100 == 0) PostMessageW(waits.dialog, WM_APP, 0, 0);
    if (!refused) return WAIT_OBJECT_0;
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
}

BOOL WINAPI CountingWaitMessage() {
    ++waits.waitMessages;
    return PostMessageW(waits.dialog, WM_APP, 0, 0);
}

// Pen and touch arrive as WM_POINTER messages (QS_POINTER, QS_TOUCH since Windows 8), which the
// Vista headers' QS_ALLINPUT leaves out. A Windows that refuses bits it does not know must not
// turn the loop into a busy one: it is asked once for each mask, then the loop waits in WaitMessage.
TEST_F(ModalLoopTest, TheIdleWaitWakesForEveryInputAndAWaitThatFailsNeverSpins) {
    // The test program's newer headers put both bits in QS_ALLINPUT; the product's do not.
    constexpr DWORD kTouchAndPointer = 0x0800 | 0x1000;
    constexpr DWORD kVistaAllInput = 0x04FF;
    constexpr DWORD kEveryInput = kVistaAllInput | kTouchAndPointer;
    struct Case {
        const char* system;
        DWORD refusedBits;
        std::vector<DWORD> masks;
        int waitMessages;
    };
    const Case cases[] = {
        {"knows every bit", 0, {kEveryInput, kEveryInput, kEveryInput}, 0},
        {"knows no touch or pointer bits", kTouchAndPointer,
         {kEveryInput, kVistaAllInput, kVistaAllInput, kVistaAllInput}, 0},
        {"refuses every wait", ~0u, {kEveryInput, kVistaAllInput}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.system);
        HWND dialog = NewModalDialog(nullptr, WS_POPUP);
        ASSERT_TRUE(dialog);
        waits = {dialog, c.refusedBits, {}, 0};
        ScopedImportPatch wait("user32.dll", "MsgWaitForMultipleObjectsEx",
                               reinterpret_cast<const void*>(&RecordingWait));
        ScopedImportPatch waitMessage("user32.dll", "WaitMessage", reinterpret_cast<const void*>(&CountingWaitMessage));
        ASSERT_TRUE(wait.ok() && waitMessage.ok());
        static int wakes;
        wakes = 0;
        reaction = [](HWND d, UINT message, WPARAM, LPARAM) -> std::int32_t {
            if (message == WM_APP && ++wakes == 3) DialogEnd(d, 0);
            return 0;
        };
        RunModal(dialog, nullptr);

        EXPECT_FALSE(IsWindow(dialog));
        if (waits.masks.size() < 10) {
            EXPECT_EQ(waits.masks, c.masks);
        } else {
            ADD_FAILURE() << "a spinning loop asked for " << waits.masks.size() << " waits";
        }
        EXPECT_EQ(waits.waitMessages, c.waitMessages);
    }
}

TEST_F(ModalLoopTest, ADialogDestroyedWithoutDialogEndStillEndsTheLoopAndFreesTheOwner) {
    HWND dialog = NewModalDialog(NewOwner(), WS_POPUP | DS_NOIDLEMSG);
    ASSERT_TRUE(dialog);
    PostMessageW(dialog, WM_APP, 0, 0);
    reaction = [](HWND d, UINT message, WPARAM, LPARAM) -> std::int32_t {
        if (message == WM_APP) DestroyWindow(d);
        return 0;
    };
    RunModal(dialog, nullptr);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(owner.window));
}

// A callback that ends the dialog again on every close, or while it is destroyed, changes
// nothing: the result stays the first call's, and the dialog closes and is destroyed once.
TEST_F(ModalLoopTest, DialogEndWhileTheDialogEndsChangesNothing) {
    static UINT endAgainOn;
    for (const UINT again : {WM_CLOSE, WM_DESTROY}) {
        SCOPED_TRACE(testing::Message() << "ended again on message 0x" << std::hex << again);
        seen.clear();
        HWND dialog = NewModalDialog(nullptr, WS_POPUP | WS_MAXIMIZE);
        ASSERT_TRUE(dialog);
        PostMessageW(dialog, WM_APP, 0, 0);
        endAgainOn = again;
        reaction = [](HWND d, UINT message, WPARAM wParam, LPARAM lParam) -> std::int32_t {
            if (message == endAgainOn) DialogEnd(d, 2);
            return EndOnApp(d, message, wParam, lParam);
        };
        std::int32_t result = 0;
        RunModal(dialog, &result);
        EXPECT_FALSE(IsWindow(dialog));
        EXPECT_EQ(result, 42);
        EXPECT_TRUE(SequenceMatches(seen, {
                                              {WM_INITDIALOG, kAdjacent},
                                              {WM_SIZE, kWParam | kAdjacent, SIZE_MAXIMIZED},
                                              {WM_SIZE, kWParam | kOptional, SIZE_MAXIMIZED},  // once shown
                                              {WM_CLOSE},
                                              {WM_DESTROY},
                                              {WM_NCDESTROY},
                                          }));
    }
}

TEST_F(ModalLoopTest, ADialogEndedDuringInitIsNeitherShownNorRun) {
    HWND dialog = NewModalDialog(nullptr, WS_POPUP);
    ASSERT_TRUE(dialog);
    reaction = [](HWND d, UINT message, WPARAM, LPARAM) -> std::int32_t {
        if (message == WM_INITDIALOG) DialogEnd(d, 1);
        return 0;
    };
    std::int32_t result = -1;
    RunModal(dialog, &result);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(SequenceMatches(seen, {{WM_INITDIALOG, kAdjacent}, {WM_SIZE, kAdjacent | kLast}}));
    EXPECT_EQ(result, -1);  // the result variable is attached only when the dialog runs
}

TEST_F(ModalLoopTest, AWindowWithoutARecordGetsTheFirstTwoMessagesOnly) {
    HWND plain = Keep(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 60, 30, nullptr, nullptr, nullptr, nullptr));
    RunModal(plain, nullptr);
    EXPECT_TRUE(SequenceMatches(
        seen, {{WM_INITDIALOG, kAdjacent}, {WM_SIZE, kParams | kAdjacent | kLast, SIZE_RESTORED, MAKELPARAM(60, 30)}}));
    EXPECT_FALSE(IsWindowVisible(plain));
    DialogEnd(plain, 1);
    EXPECT_TRUE(IsWindow(plain));
}
