// The in-memory dialog template, byte for byte.
#include "dialogs/dialog_template.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "dialogs/new_dialog.h"

namespace {

// The bits every normalised style carries.
constexpr DWORD kFontAndLook = DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;

FontRecord DialogFont() {
    FontRecord font{};
    font.pointSize = 8.0f;
    font.logFont.lfWeight = FW_NORMAL;
    std::wcscpy(font.logFont.lfFaceName, L"MS Sans Serif");
    return font;
}

std::vector<std::uint8_t> Build(const DialogTemplateFields& fields) {
    DialogTemplateBuffer buffer;
    std::memset(buffer.bytes, 0xCC, sizeof buffer.bytes);
    return {buffer.bytes, buffer.bytes + BuildDialogTemplate(buffer, fields)};
}

std::uint16_t Read16(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | bytes[offset + 1] << 8);
}

}  // namespace

TEST(DialogTemplate, ToolsFullScreenPopupIsWrittenByteForByte) {
    const FontRecord font = DialogFont();
    const std::vector<std::uint8_t> bytes =
        Build({NormaliseDialogStyle(WS_POPUP, 0, 0, false), WS_EX_TOPMOST, 0, 0, 1024, 768, &font});
    std::vector<std::uint8_t> expected = {
        0x01, 0x00, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00,  // version 1, extended, help id
        0x08, 0x00, 0x00, 0x00, 0x54, 0x00, 0x00, 0x80,  // WS_EX_TOPMOST; WS_POPUP | 0x54
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00,              // no controls, x, y
        0x00, 0x04, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00,  // 1024 x 768, no menu, system class
        0x20, 0x00, 0x00, 0x00,                          // title " "
        0x08, 0x00, 0x90, 0x01, 0x00, 0x00,              // 8 points, weight 400, not italic, ANSI
    };
    for (const char* c = "MS Sans Serif";; ++c) {
        expected.insert(expected.end(), {static_cast<std::uint8_t>(*c), 0});
        if (!*c) break;
    }
    EXPECT_EQ(bytes, expected);
}

TEST(DialogTemplate, StyleIsNormalisedStepByStep) {
    EXPECT_EQ(NormaliseDialogStyle(0, 0, 0, false), WS_POPUP | WS_CAPTION | DS_MODALFRAME | kFontAndLook);
    EXPECT_EQ(NormaliseDialogStyle(WS_POPUP | WS_VISIBLE | DS_SYSMODAL, 0, 0, false), WS_POPUP | kFontAndLook);
    EXPECT_EQ(NormaliseDialogStyle(WS_POPUP, kCentre, 5, false), WS_POPUP | DS_CENTER | kFontAndLook);
    EXPECT_EQ(NormaliseDialogStyle(WS_POPUP, 5, kCentre, false), WS_POPUP | DS_CENTER | kFontAndLook);
    EXPECT_EQ(NormaliseDialogStyle(WS_CHILD | WS_POPUP | DS_ABSALIGN, 0, 0, true), WS_CHILD | kFontAndLook);
    EXPECT_EQ(NormaliseDialogStyle(WS_CHILD | DS_ABSALIGN, 0, 0, false), WS_POPUP | kFontAndLook);
}

TEST(DialogTemplate, CoordinatesKeepTheirLow16BitsAndTheFontIsTheRecords) {
    FontRecord font = DialogFont();
    font.pointSize = 10.5f;  // ties round to even
    font.logFont.lfWeight = FW_BOLD;
    font.logFont.lfItalic = TRUE;
    font.logFont.lfCharSet = GREEK_CHARSET;
    std::wcscpy(font.logFont.lfFaceName, L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcde");  // 31, the longest
    const std::vector<std::uint8_t> bytes = Build({WS_POPUP, 0, 0x12345, -2, 0x10064, kCentre, &font});
    EXPECT_EQ(Read16(bytes, 18), 0x2345);
    EXPECT_EQ(Read16(bytes, 20), 0xFFFE);
    EXPECT_EQ(Read16(bytes, 22), 0x0064);
    EXPECT_EQ(Read16(bytes, 24), 0x0000);
    EXPECT_EQ(Read16(bytes, 34), 10);
    EXPECT_EQ(Read16(bytes, 36), FW_BOLD);
    EXPECT_EQ(bytes[38], 1);
    EXPECT_EQ(bytes[39], GREEK_CHARSET);
    EXPECT_EQ(bytes.size(), 104u);
    EXPECT_EQ(Read16(bytes, 100), 'e');

    // Without a font record the template asks for none.
    const std::vector<std::uint8_t> plain = Build({WS_POPUP | kFontAndLook, 0, 0, 0, 1, 1, nullptr});
    EXPECT_EQ(plain.size(), 34u);
    EXPECT_EQ(plain[12], DS_NOFAILCREATE | DS_3DLOOK);  // the style's low byte, without DS_SETFONT
}
