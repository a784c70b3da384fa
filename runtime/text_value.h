// Text values: counted 8-bit texts that are empty, owned (a system string) or borrowed (a literal).
#pragma once
#include <windows.h>

#include <cstdint>

// 0 is the empty text. An owned value is the address of a system string's first character; a
// borrowed one is a literal's first character with bit 0 set. Either way the 32-bit byte count
// lies in the four bytes before the first character.
using TextValue = std::uintptr_t;
constexpr TextValue kEmptyText = 0;

inline bool IsBorrowed(TextValue text) { return (text & 1) != 0; }
inline bool IsOwned(TextValue text) { return text != 0 && !IsBorrowed(text); }
inline const char* TextChars(TextValue text) {
    return reinterpret_cast<const char*>(text & ~static_cast<TextValue>(1));
}
inline std::uint32_t TextLength(TextValue text) {
    return text ? reinterpret_cast<const std::uint32_t*>(TextChars(text))[-1] : 0;
}
// A slot converted to UTF-16 (or the empty literal read as UTF-16): its code units, or null.
inline const wchar_t* WideChars(TextValue text) {
    return reinterpret_cast<const wchar_t*>(TextChars(text));
}
inline std::uint32_t WideLength(TextValue text) { return TextLength(text) / 2; }

// A new owned text of `length` bytes (zero-terminated); the empty text for 0 or on failure.
TextValue AllocateText(std::uint32_t length);
// A new owned UTF-16 text of `length` code units; the empty text for 0 or on failure.
TextValue AllocateWideText(std::uint32_t length);
// Releases an owned value; does nothing for empty or borrowed ones.
void ReleaseText(TextValue text);
// Owned texts allocated and not yet released, process-wide: lets tests see every temporary freed.
long LiveOwnedTexts();
