// The engine's dialog procedure: painting, callback answers, notifications and colours.
#include "dialogs/engine_dialog_proc.h"

#include <algorithm>

#include "tests/support/dialog_test_support.h"

namespace {

constexpr std::int32_t kGraphicId = 500;
constexpr std::int32_t kButtonId = 600;
constexpr COLORREF kPicture = RGB(10, 200, 30);
constexpr std::uint32_t kUntouched = 0x123456;

// Results measured inside a run, and the answer of the control callback.
LRESULT results[6];
std::int32_t controlAnswer;
int controlCommands;

std::int32_t ControlCallback(HWND, UINT message, WPARAM, LPARAM) {
    controlCommands += message == WM_COMMAND;
    return controlAnswer;
}

// A 32-bit DIB section selected into a memory DC, to paint controls into.
class PaintTarget {
public:
    PaintTarget() : dc_(CreateCompatibleDC(nullptr)) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), 64, -48, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
        std::fill(bits_, bits_ + 64 * 48, kUntouched);
    }
    ~PaintTarget() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    PaintTarget(const PaintTarget&) = delete;
    PaintTarget& operator=(const PaintTarget&) = delete;
    HDC dc() const { return dc_; }
    std::uint32_t Pixel(int x, int y) const { return bits_[y * 64 + x]; }

private:
    HDC dc_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};
PaintTarget* paintTarget;

class EngineDialogProcTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        controlAnswer = 0;
        controlCommands = 0;
        dialog_ = NewTestDialog(nullptr, kUnitsPixels, 0, 0, 64, 48, WS_POPUP);
        ASSERT_TRUE(dialog_);
        paintTarget = &target_;
    }
    // A graphic control whose backing store holds one colour.
    HWND AddPicture() {
        HWND control = Add(dialog_, kKindGraphicControl, kGraphicId, 64, 48, 0);
        const DialogRecord* record = FindDialogRecord(control);
        HBRUSH brush = CreateSolidBrush(kPicture);
        RECT all{0, 0, 64, 48};
        FillRect(record->memoryDC, &all, brush);
        DeleteObject(brush);
        return control;
    }
    void RunUntilApp() {
        PostMessageW(dialog_, WM_APP, 0, 0);
        RunModal(dialog_, nullptr);
    }
    HWND dialog_ = nullptr;
    PaintTarget target_;
};

// The static control asks its dialog to draw it into the given DC.
void PrintPicture(HWND dialog) {
    SendMessageW(GetDlgItem(dialog, kGraphicId), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(paintTarget->dc()),
                 PRF_CLIENT);
}

}  // namespace

TEST_F(EngineDialogProcTest, GraphicControlsArePaintedFromTheirBackingStore) {
    ASSERT_TRUE(AddPicture());
    PrintPicture(dialog_);  // no callback attached yet
    EXPECT_EQ(target_.Pixel(0, 0), 0x0AC81Eu);
    EXPECT_EQ(target_.Pixel(63, 47), 0x0AC81Eu);
}

TEST_F(EngineDialogProcTest, ACallbackThatDrawsTheItemItselfKeepsTheEngineFromPainting) {
    ASSERT_TRUE(AddPicture());
    reaction = [](HWND dialog, UINT message, WPARAM, LPARAM) -> std::int32_t {
        if (message == WM_DRAWITEM) return 1;
        if (message == WM_APP) {
            PrintPicture(dialog);
            DialogEnd(dialog, 0);
        }
        return 0;
    };
    RunUntilApp();
    EXPECT_TRUE(SequenceMatches(seen, {
                                          {WM_DRAWITEM, kWParam | kOptional, kGraphicId},  // a first paint
                                          {WM_APP},
                                          {WM_DRAWITEM, kWParam, kGraphicId},
                                      }));
    EXPECT_EQ(target_.Pixel(5, 5), kUntouched);
}

TEST_F(EngineDialogProcTest, ANonzeroAnswerBecomesTheMessageResultUnlessTheCallbackSetOne) {
    reaction = [](HWND dialog, UINT message, WPARAM, LPARAM) -> std::int32_t {
        switch (message) {
        case WM_APP:
            results[0] = SendMessageW(dialog, WM_APP + 2, 0, 0);
            results[1] = SendMessageW(dialog, WM_APP + 3, 0, 0);
            results[2] = SendMessageW(dialog, WM_APP + 4, 0, 0);
            results[3] = SendMessageW(dialog, WM_APP + 5, 0, 0);
            results[4] = SendMessageW(dialog, WM_APP + 6, 0, 0);
            SendMessageW(dialog, WM_ACTIVATE, WA_ACTIVE, 0);
            DialogEnd(dialog, 0);
            return 0;
        case WM_APP + 2:
            return 42;
        case WM_APP + 3:
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 7);
            return 1;
        case WM_APP + 5:  // answers otherwise than a message it sends its dialog meanwhile
            results[5] = SendMessageW(dialog, WM_APP + 2, 0, 0);
            return 9;
        case WM_APP + 6:  // stores its own result after such a message
            SendMessageW(dialog, WM_APP + 2, 0, 0);
            SetWindowLongPtrW(dialog, DWLP_MSGRESULT, 8);
            return 1;
        default:
            return 0;
        }
    };
    RunUntilApp();
    EXPECT_EQ(results[0], 42);
    EXPECT_EQ(results[1], 7);
    EXPECT_EQ(results[2], 0);
    EXPECT_EQ(results[3], 9);
    EXPECT_EQ(results[4], 8);
    EXPECT_EQ(results[5], 42);
    EXPECT_TRUE(SequenceMatches(seen, {}, {WM_ACTIVATE}));
}

TEST_F(EngineDialogProcTest, ControlNotificationsGoToTheControlsCallbackFirst) {
    ASSERT_TRUE(Add(dialog_, kClassPushButton, kButtonId, 40, 20, 0, 0, "x", ControlCallback));
    reaction = [](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> std::int32_t {
        if (message == WM_COMMAND) return LOWORD(wParam) == IDCANCEL ? 9 : 0;
        if (message != WM_APP) return 0;
        const auto button = reinterpret_cast<LPARAM>(GetDlgItem(dialog, kButtonId));
        controlAnswer = 5;
        results[0] = SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED), button);
        controlAnswer = 0;
        results[1] = SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kButtonId, BN_CLICKED), button);
        // An id that names no control is the dialog's alone, whatever lParam says.
        controlAnswer = 5;
        results[2] = SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), button);
        DialogEnd(dialog, 0);
        return 0;
    };
    RunUntilApp();
    EXPECT_EQ(results[0], 5);
    EXPECT_EQ(results[1], 0);
    EXPECT_EQ(results[2], 9);
    EXPECT_EQ(controlCommands, 2);
    EXPECT_TRUE(SequenceMatches(seen, {
                                          {WM_COMMAND, kWParam, MAKEWPARAM(kButtonId, BN_CLICKED)},
                                          {WM_COMMAND, kWParam, MAKEWPARAM(IDCANCEL, BN_CLICKED)},
                                      }));
}

TEST_F(EngineDialogProcTest, ControlsAreColouredOnlyWhenGivenColoursOfTheirOwn) {
    HWND label = Add(dialog_, 5, kButtonId, 40, 20, 0);
    ASSERT_TRUE(label);
    DialogRecord* record = FindDialogRecord(label);
    HDC dc = target_.dc();
    const auto colour = [&](UINT message) {
        return reinterpret_cast<HBRUSH>(
            SendMessageW(dialog_, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label)));
    };
    SetTextColor(dc, RGB(1, 2, 3));
    colour(WM_CTLCOLORSTATIC);
    EXPECT_EQ(GetTextColor(dc), GetSysColor(COLOR_WINDOWTEXT));  // left to the system

    record->textColour = RGB(1, 2, 3);
    record->controlBackColour = -1;  // the system colour of the message
    EXPECT_EQ(colour(WM_CTLCOLORSCROLLBAR), GetSysColorBrush(COLOR_SCROLLBAR));
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkColor(dc), GetSysColor(COLOR_SCROLLBAR));

    HBRUSH own = CreateSolidBrush(RGB(9, 8, 7));
    record->controlBackColour = RGB(9, 8, 7);
    record->colourBrush = own;
    EXPECT_EQ(colour(WM_CTLCOLORSTATIC), own);
    EXPECT_EQ(GetBkColor(dc), RGB(9, 8, 7));

    record->controlBackColour = -2;  // transparent
    EXPECT_EQ(colour(WM_CTLCOLORSTATIC), static_cast<HBRUSH>(GetStockObject(NULL_BRUSH)));
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);

    DestroyWindow(dialog_);
    EXPECT_EQ(GetObjectType(own), 0u);  // released with the control's record
}
