// Image controls: static controls and buttons that show a bitmap or icon resource.
#include "dialogs/control_images.h"

#include "dialogs/control_classes.h"

namespace {

constexpr std::uint32_t kStaticTypeMask = 0x1F;

bool IsImageButton(std::int32_t classIndex) {
    return classIndex == kClassImageButton || classIndex == kClassSizedImageButton;
}

// The sized classes load the image scaled to the control; the others at its own size.
SIZE LoadSize(HWND control, std::int32_t classIndex, SIZE controlSize) {
    if (classIndex == kClassSizedImageButton) return controlSize;
    if (classIndex == kClassSizedImage) {
        RECT client{};
        GetClientRect(control, &client);
        return {client.right, client.bottom};
    }
    return {0, 0};
}

}  // namespace

bool IsImageClass(std::int32_t classIndex) {
    return classIndex >= kClassImage && classIndex <= kClassSizedImageButton;
}

bool HasBitmapResource(const wchar_t* name) {
    return *name && FindResourceW(GetModuleHandleW(nullptr), name, RT_BITMAP) != nullptr;
}

std::uint32_t IconImageStyle(std::int32_t classIndex, std::uint32_t style) {
    if (IsImageButton(classIndex)) return (style & ~BS_BITMAP) | BS_ICON;
    return (style & ~kStaticTypeMask) | SS_ICON;
}

void SetUpImageControl(DialogRecord& record, std::int32_t classIndex, const wchar_t* name, SIZE controlSize) {
    HWND control = WindowOf(record.handle);
    const UINT type = (record.flags & kFlagImageIsIcon) ? IMAGE_ICON : IMAGE_BITMAP;
    const SIZE size = LoadSize(control, classIndex, controlSize);
    HANDLE image = LoadImageW(GetModuleHandleW(nullptr), name, type, size.cx, size.cy, LR_LOADMAP3DCOLORS);
    if (!image) return;
    const bool button = IsImageButton(classIndex);
    HANDLE previous = reinterpret_cast<HANDLE>(
        SendMessageW(control, button ? BM_SETIMAGE : STM_SETIMAGE, type, reinterpret_cast<LPARAM>(image)));
    record.image = image;
    // Common Controls 6 shows its own copy of a bitmap with alpha, and the next STM_SETIMAGE
    // hands that copy back for the caller to release: the record releases it with the image.
    HANDLE held = reinterpret_cast<HANDLE>(SendMessageW(control, button ? BM_GETIMAGE : STM_GETIMAGE, type, 0));
    record.imageCopy = held != image ? held : nullptr;
    if (previous && previous != image) ReleaseImage(previous, record.flags);
}

void ReleaseImage(HANDLE image, std::uint32_t flags) {
    if (!image) return;
    if (flags & kFlagImageIsIcon) {
        DestroyIcon(static_cast<HICON>(image));
    } else {
        DeleteObject(image);
    }
}
