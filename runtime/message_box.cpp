// Message boxes.
#include "runtime/message_box.h"

#include <windows.h>

#include "runtime/float_control.h"

namespace {
constexpr wchar_t kDefaultTitle[] = L"Retazo";
// A short pause before every box lets the window system finish hiding a window that is
// closing under it, such as a full-screen dialog whose destruction shows the box.
constexpr DWORD kPauseBeforeBox = 5;
}  // namespace

int ShowMessageBox(TextStack& stack, std::uint32_t style) {
    const TextValue title = stack.Pop();
    const TextValue text = stack.Pop();
    const wchar_t* textChars = text ? WideChars(text) : L"";
    const wchar_t* titleChars = WideLength(title) != 0 ? WideChars(title) : kDefaultTitle;
    Sleep(kPauseBeforeBox);
    // No owner: the box must outlive a dialog that may be closing under it.
    const int result = MessageBoxW(nullptr, textChars, titleChars, style);
    LoadFloatControl();
    ReleaseText(title);
    ReleaseText(text);
    return result;
}
