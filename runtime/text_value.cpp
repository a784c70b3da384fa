// Allocation and release of owned text values.
#include "runtime/text_value.h"

#include <oleauto.h>

namespace {
LONG liveOwnedTexts = 0;
}  // namespace

TextValue AllocateText(std::uint32_t length) {
    if (length == 0) return kEmptyText;
    BSTR text = SysAllocStringByteLen(nullptr, length);
    if (!text) return kEmptyText;
    InterlockedIncrement(&liveOwnedTexts);
    return reinterpret_cast<TextValue>(text);
}

TextValue AllocateWideText(std::uint32_t length) {
    if (length == 0) return kEmptyText;
    BSTR text = SysAllocStringLen(nullptr, length);
    if (!text) return kEmptyText;
    InterlockedIncrement(&liveOwnedTexts);
    return reinterpret_cast<TextValue>(text);
}

void ReleaseText(TextValue text) {
    if (!IsOwned(text)) return;
    SysFreeString(reinterpret_cast<BSTR>(text));
    InterlockedDecrement(&liveOwnedTexts);
}

long LiveOwnedTexts() { return liveOwnedTexts; }
