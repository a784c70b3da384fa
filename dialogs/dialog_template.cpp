// The extended dialog template from which NewDialog creates its dialogs.
#include "dialogs/dialog_template.h"

#include <cmath>
#include <cstring>
#include <cwchar>

#include "dialogs/new_dialog.h"

namespace {

constexpr std::uint32_t kDefaultDialogStyle = WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT |
                                              DS_NOFAILCREATE | DS_3DLOOK;
constexpr std::uint32_t kAlwaysAdded = DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;
constexpr std::uint32_t kNeverCreated = WS_VISIBLE | DS_SYSMODAL;

// Appends little-endian fields to the buffer.
class TemplateWriter {
public:
    explicit TemplateWriter(DialogTemplateBuffer& buffer) : bytes_(buffer.bytes) {}
    void Put16(std::uint32_t value) { Put(static_cast<std::uint16_t>(value)); }
    void Put32(std::uint32_t value) { Put(value); }
    void Put8(std::uint32_t value) { Put(static_cast<std::uint8_t>(value)); }
    void PutWide(const wchar_t* text, std::size_t length) {
        for (std::size_t i = 0; i < length; ++i) Put16(text[i]);
        Put16(0);
    }
    std::size_t size() const { return size_; }

private:
    template <typename Value>
    void Put(Value value) {
        std::memcpy(bytes_ + size_, &value, sizeof value);
        size_ += sizeof value;
    }
    std::uint8_t* bytes_;
    std::size_t size_ = 0;
};

void PutFont(TemplateWriter& writer, const FontRecord& font) {
    const LOGFONTW& logFont = font.logFont;
    writer.Put16(static_cast<std::uint32_t>(std::nearbyint(font.pointSize)));
    // The font's own weight, so a normal font gives normal dialog text.
    writer.Put16(static_cast<std::uint32_t>(logFont.lfWeight));
    writer.Put8(logFont.lfItalic ? 1 : 0);
    writer.Put8(logFont.lfCharSet);
    writer.PutWide(logFont.lfFaceName, wcsnlen(logFont.lfFaceName, LF_FACESIZE - 1));
}

}  // namespace

std::uint32_t NormaliseDialogStyle(std::uint32_t style, std::int32_t x, std::int32_t y, bool hasParent) {
    if (style == 0) style = kDefaultDialogStyle;
    style |= kAlwaysAdded;
    style &= ~kNeverCreated;
    if (x == kCentre || y == kCentre) style |= DS_CENTER;
    if (style & WS_CHILD) {
        style &= ~(WS_POPUP | DS_ABSALIGN);
        if (!hasParent) style ^= WS_CHILD | WS_POPUP;
    }
    return style;
}

std::size_t BuildDialogTemplate(DialogTemplateBuffer& buffer, const DialogTemplateFields& fields) {
    const std::uint32_t style = fields.font ? fields.style : fields.style & ~DS_SETFONT;
    TemplateWriter writer(buffer);
    writer.Put16(1);       // dlgVer
    writer.Put16(0xFFFF);  // signature of the extended template
    writer.Put32(0);       // helpID
    writer.Put32(fields.extendedStyle);
    writer.Put32(style);
    writer.Put16(0);       // controls are added after creation
    writer.Put16(static_cast<std::uint32_t>(fields.x));
    writer.Put16(static_cast<std::uint32_t>(fields.y));
    writer.Put16(static_cast<std::uint32_t>(fields.width));
    writer.Put16(static_cast<std::uint32_t>(fields.height));
    writer.Put16(0);       // no menu
    writer.Put16(0);       // the system dialog class
    writer.PutWide(L" ", 1);  // the real caption is set once the window exists
    if (fields.font) PutFont(writer, *fields.font);
    return writer.size();
}
