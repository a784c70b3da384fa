// Controls added to a dialog: class table styles, placement, set-ups and release with the dialog.
#include "dialogs/add_control.h"

#include <string>
#include <vector>

#include "graphics/graphic_target.h"
#include "tests/support/dialog_test_support.h"
#include "tool/tool_literals.h"

namespace {

constexpr std::int32_t kId = 500;
constexpr DWORD kVisibleChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kOwnerDrawChild = kVisibleChild | SS_OWNERDRAW;

class AddControlTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        dialog_ = NewTestDialog(nullptr, kUnitsPixels, 0, 0, 320, 200, WS_POPUP);
        ASSERT_TRUE(dialog_);
    }
    HWND Add(std::int32_t classIndex, std::int32_t width, std::int32_t height, std::uint32_t style,
             const char* caption = "x") {
        return DialogTest::Add(dialog_, classIndex, kId, width, height, style, 0, caption);
    }
    HWND dialog_ = nullptr;
};

SIZE BitmapSize(HANDLE bitmap) {
    BITMAP info{};
    if (!GetObjectW(bitmap, sizeof info, &info)) return {0, 0};
    return {info.bmWidth, info.bmHeight};
}

// The first row of a bitmap, as 0xRRGGBB.
std::vector<std::uint32_t> TopRow(HBITMAP bitmap, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(static_cast<size_t>(width) * height);
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    pixels.resize(width);
    for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    return pixels;
}

}  // namespace

TEST_F(AddControlTest, ToolsGraphicControlCoversTheDialog) {
    SetCurrentGraphicTarget(0);
    TextStack stack;
    PushEmptyText(stack);
    PushLiteral(stack, kEmptyLiteral);
    ConvertToWide(stack, 1);
    AddControl(stack, kKindGraphicControl, dialog_, kId, nullptr, 0, 0, 320, 200, kOwnerDrawChild, 0, nullptr);
    HWND control = GetDlgItem(dialog_, kId);
    ASSERT_TRUE(control);

    wchar_t className[16] = {};
    GetClassNameW(control, className, 16);
    EXPECT_EQ(std::wstring(className), L"Static");
    EXPECT_EQ(StyleOf(control), kOwnerDrawChild);
    EXPECT_EQ(RectIn(control, dialog_).right, 320);
    EXPECT_EQ(RectIn(control, dialog_).bottom, 200);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)),
              FindDialogRecord(dialog_)->dialogFont);

    const DialogRecord* record = FindDialogRecord(control);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->flags & ~kFlagBuffered, kFlagControl | kFlagPixelUnits);
    EXPECT_EQ(record->kind, kKindGraphicControl);
    EXPECT_EQ(record->parent, HandleOf(dialog_));
    EXPECT_TRUE(record->memoryDC);  // the graphic set-up ran
    EXPECT_EQ(CurrentGraphicTarget(), HandleOf(control));
}

TEST_F(AddControlTest, StylesFollowTheClassTable) {
    struct Case {
        std::int32_t classIndex;
        std::uint32_t style;
        std::int32_t width, height;
        DWORD mask, expected, extendedStyle;
    };
    const Case cases[] = {
        {kKindGraphicControl, 0, 50, 50, ~0u, kOwnerDrawChild | WS_TABSTOP, 0},  // the default has a tab stop
        {kKindGraphicControl, kOwnerDrawChild, 50, 50, ~0u, kOwnerDrawChild, 0},
        // Clip-siblings and 0x8 are removed from a check box even when asked for; its type and
        // WS_CHILD | WS_VISIBLE are always there.
        {3, WS_CLIPSIBLINGS | BS_PUSHLIKE | 0x8, 50, 20, ~0u, kVisibleChild | BS_PUSHLIKE | BS_AUTOCHECKBOX, 0},
        {kClassScrollBar, 0, 10, 80, ~0u, kVisibleChild | SBS_VERT, 0},
        {kClassScrollBar, 0, 80, 80, ~0u, kVisibleChild, 0},
        {kClassEdit, 0, 80, 20, WS_BORDER | ES_AUTOHSCROLL, ES_AUTOHSCROLL, WS_EX_CLIENTEDGE},
        {kClassListBox, 0, 80, 80, WS_BORDER | LBS_NOTIFY, LBS_NOTIFY, WS_EX_CLIENTEDGE},
        {kClassEdit, WS_BORDER, 80, 20, 0, 0, 0},  // a border the caller asked for stays a border
    };
    for (const Case& c : cases) {
        HWND control = Add(c.classIndex, c.width, c.height, c.style);
        ASSERT_TRUE(control) << "class " << c.classIndex;
        EXPECT_EQ(StyleOf(control) & c.mask, c.expected) << "class " << c.classIndex << " style " << c.style;
        EXPECT_EQ(ExtendedStyleOf(control) & WS_EX_CLIENTEDGE, c.extendedStyle) << "class " << c.classIndex;
        EXPECT_EQ(FindDialogRecord(control)->extendedStyle, c.extendedStyle);
        DestroyWindow(control);
    }
}

TEST_F(AddControlTest, DialogUnitsAreMappedWithTheDialogsFont) {
    HWND dialog = NewTestDialog(nullptr, 0, 0, 0, 200, 100, WS_POPUP);
    TextStack stack;
    PushEmptyText(stack);
    PushEmptyText(stack);
    AddControl(stack, 5, dialog, kId, nullptr, 4, 8, 100, 50, 0, 0, nullptr);
    HWND label = GetDlgItem(dialog, kId);
    ASSERT_TRUE(label);
    RECT expected{4, 8, 104, 58};
    MapDialogRect(dialog, &expected);
    ASSERT_NE(expected.right, 104);
    EXPECT_EQ(RectIn(label, dialog), expected);
    EXPECT_EQ(FindDialogRecord(label)->flags, kFlagControl | kFlagDialogUnits);
}

TEST_F(AddControlTest, ClassZeroTakesTheClassNameTextAndUnknownClassesCreateNothing) {
    HWND button = Add(kClassNamedByText, 80, 20, WS_CHILD | BS_CHECKBOX, "Aceptar");
    ASSERT_TRUE(button);
    wchar_t text[16] = {};
    GetWindowTextW(button, text, 16);
    EXPECT_EQ(std::wstring(text), L"Aceptar");
    EXPECT_EQ(StyleOf(button), static_cast<DWORD>(WS_CHILD | BS_CHECKBOX));
    DestroyWindow(button);

    for (std::int32_t classIndex : {kClassHostedObject, 26, -1}) {
        EXPECT_EQ(Add(classIndex, 80, 20, 0), nullptr) << "class " << classIndex;
    }
    HWND plain = Keep(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(DialogTest::Add(plain, kClassPushButton, kId, 80, 20, 0), nullptr);
}

TEST_F(AddControlTest, ItemsAndClassSetUpsTakeEffect) {
    const wchar_t* texts[] = {L"uno", L"", L"dos"};
    const ControlItems items{texts, 3};
    TextStack stack;
    PushEmptyText(stack);
    PushEmptyText(stack);
    AddControl(stack, kClassComboBox, dialog_, kId, &items, 0, 0, 100, 80, 0, 0, nullptr);
    ASSERT_EQ(SendDlgItemMessageW(dialog_, kId, CB_GETCOUNT, 0, 0), 2);  // empty texts are left out
    DestroyWindow(GetDlgItem(dialog_, kId));

    // The default-button bit makes the dialog's default button, whatever the button's type.
    struct DefaultButton {
        std::int32_t classIndex;
        std::uint32_t style;
    };
    const DefaultButton buttons[] = {
        {kClassPushButton, BS_DEFPUSHBUTTON},
        {kClassPushButton, BS_DEFSPLITBUTTON},
        {kClassPushButton, BS_DEFCOMMANDLINK},
        {kClassSizedImageButton, BS_DEFSPLITBUTTON},
    };
    std::int32_t id = kId;
    for (const DefaultButton& button : buttons) {
        DestroyWindow(DialogTest::Add(dialog_, button.classIndex, ++id, 80, 20, button.style));
        EXPECT_EQ(SendMessageW(dialog_, DM_GETDEFID, 0, 0), MAKELRESULT(id, DC_HASDEFID))
            << "class " << button.classIndex << " style 0x" << std::hex << button.style;
    }

    HWND bar = Add(kClassScrollBar, 100, 16, 0);
    SCROLLINFO info{sizeof info, SIF_ALL, -1, -1, 99, -1, -1};
    ASSERT_TRUE(GetScrollInfo(bar, SB_CTL, &info));
    EXPECT_EQ(info.nMax, 100);
    EXPECT_EQ(info.nPage, 10u);
    EXPECT_EQ(info.nMin + info.nPos, 0);
    DestroyWindow(bar);

    // Check boxes are given to a tree view after creation, so that it makes their images.
    HWND tree = Add(kClassTreeView, 100, 80, WS_CHILD | TVS_CHECKBOXES);
    EXPECT_TRUE(StyleOf(tree) & TVS_CHECKBOXES);
    EXPECT_TRUE(FindDialogRecord(tree)->style & TVS_CHECKBOXES);
    EXPECT_TRUE(SendMessageW(tree, TVM_GETIMAGELIST, TVSIL_STATE, 0));
}

TEST_F(AddControlTest, ImageControlsShowTheBitmapResourceAndReleaseItWithTheDialog) {
    HWND image = Add(kClassImage, 40, 20, 0, "BANDS");
    ASSERT_TRUE(image);
    EXPECT_EQ(GetWindowTextLengthW(image), 0);
    EXPECT_EQ(StyleOf(image) & SS_TYPEMASK, static_cast<DWORD>(SS_BITMAP));
    const DialogRecord* record = FindDialogRecord(image);
    EXPECT_EQ(record->flags & (kFlagImageIsBitmap | kFlagImageIsIcon), kFlagImageIsBitmap);
    auto bitmap = reinterpret_cast<HBITMAP>(SendMessageW(image, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(record->image, bitmap);
    ASSERT_EQ(BitmapSize(bitmap).cx, 16);
    ASSERT_EQ(BitmapSize(bitmap).cy, 8);
    const std::vector<std::uint32_t> bands = {0xFF0000, 0xFF0000, 0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00,
                                              0x00FF00, 0x00FF00, 0x0000FF, 0x0000FF, 0x0000FF, 0x0000FF,
                                              0xFFFF00, 0xFFFF00, 0xFFFF00, 0xFFFF00};
    EXPECT_EQ(TopRow(bitmap, 16, 8), bands);

    // The sized classes load the image at the control's size.
    HWND sized = DialogTest::Add(dialog_, kClassSizedImage, kId + 1, 40, 20, 0, 0, "BANDS");
    const SIZE sizedImage = BitmapSize(reinterpret_cast<HANDLE>(SendMessageW(sized, STM_GETIMAGE, IMAGE_BITMAP, 0)));
    EXPECT_EQ(sizedImage.cx, 40);
    EXPECT_EQ(sizedImage.cy, 20);
    HWND button = DialogTest::Add(dialog_, kClassSizedImageButton, kId + 2, 48, 24, 0, 0, "BANDS");
    EXPECT_EQ(StyleOf(button) & (BS_ICON | BS_BITMAP), static_cast<DWORD>(BS_BITMAP));
    EXPECT_EQ(BitmapSize(reinterpret_cast<HANDLE>(SendMessageW(button, BM_GETIMAGE, IMAGE_BITMAP, 0))).cx, 48);

    DestroyWindow(dialog_);
    EXPECT_EQ(GetObjectType(bitmap), 0u);
}

// Under Common Controls 6, as the product runs, a static control shows its own copy of a bitmap
// with alpha: the copy goes with the dialog as the image does.
TEST_F(AddControlTest, TheControlsCopyOfABitmapWithAlphaIsReleasedWithTheDialog) {
    const ScopedCommonControls6 controls6;
    ASSERT_TRUE(controls6.ok());
    HWND image = Add(kClassImage, 8, 8, 0, "ALPHA");
    ASSERT_TRUE(image);
    const HANDLE loaded = FindDialogRecord(image)->image;
    const auto shown = reinterpret_cast<HANDLE>(SendMessageW(image, STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(shown, loaded);

    DestroyWindow(dialog_);
    EXPECT_EQ(GetObjectType(loaded), 0u);
    EXPECT_EQ(GetObjectType(shown), 0u);
}

TEST_F(AddControlTest, ANameThatIsNoBitmapIsTakenAsAnIcon) {
    HWND image = Add(kClassImage, 40, 40, 0, "BADGE");
    ASSERT_TRUE(image);
    EXPECT_EQ(StyleOf(image) & SS_TYPEMASK, static_cast<DWORD>(SS_ICON));
    EXPECT_EQ(FindDialogRecord(image)->flags & (kFlagImageIsBitmap | kFlagImageIsIcon), kFlagImageIsIcon);
    auto icon = reinterpret_cast<HICON>(SendMessageW(image, STM_GETIMAGE, IMAGE_ICON, 0));
    ICONINFO info{};
    ASSERT_TRUE(icon && GetIconInfo(icon, &info));
    EXPECT_EQ(BitmapSize(info.hbmColor).cx, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);

    HWND button = DialogTest::Add(dialog_, kClassImageButton, kId + 1, 40, 40, 0, 0, "BADGE");
    EXPECT_EQ(StyleOf(button) & (BS_ICON | BS_BITMAP), static_cast<DWORD>(BS_ICON));
    EXPECT_TRUE(SendMessageW(button, BM_GETIMAGE, IMAGE_ICON, 0));

    // Neither a bitmap nor an icon: an icon control without an image.
    HWND missing = DialogTest::Add(dialog_, kClassImage, kId + 2, 40, 40, 0, 0, "NINGUNA");
    EXPECT_EQ(StyleOf(missing) & SS_TYPEMASK, static_cast<DWORD>(SS_ICON));
    EXPECT_FALSE(SendMessageW(missing, STM_GETIMAGE, IMAGE_ICON, 0));
}
