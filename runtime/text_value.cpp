// Allocation and release of owned text values.
#include "runtime/text_value.h"

#include <oleauto.h>

namespace {

LONG liveOwnedTexts = 0;

// A new system string becomes an owned text value, counted until it is released.
TextValue AdoptSystemString(BSTR text) {
    if (!text) return kEmptyText;
    InterlockedIncrement(&liveOwnedTexts);
    return reinterpret_cast<TextValue>(text);
}

}  // namespace

TextValue AllocateText(std::uint32_t length) {
    return length == 0 ? kEmptyText : AdoptSystemString(SysAllocStringByteLen(nullptr, length));
}

TextValue AllocateWideText(std::uint32_t length) {
    return length == 0 ? kEmptyText : AdoptSystemString(SysAllocStringLen(nullptr, length));
}

void ReleaseText(TextValue text) {
    if (!IsOwned(text)) return;
    SysFreeString(reinterpret_cast<BSTR>(text));
    InterlockedDecrement(&liveOwnedTexts);
}

long LiveOwnedTexts() { return liveOwnedTexts; }
