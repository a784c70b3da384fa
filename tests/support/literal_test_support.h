// Literals for the tests of the layers below the tool, laid out as the tool's own pool lays them.
#pragma once
#include "runtime/literal_pool.h"

// Windows-1252 bytes: "\xF3" is "ó".
inline constexpr Literal<0> kEmptyLiteral = {0, ""};
inline constexpr Literal<1> kZeroCharacterLiteral = {1, ""};  // the byte 0
inline constexpr Literal<11> kTitleLiteral = {11, "Programador"};
inline constexpr Literal<10> kFileNameLiteral = {10, "Retazo.bmp"};
inline constexpr Literal<4> kOpenVerbLiteral = {4, "Open"};
inline constexpr Literal<11> kSizeLabelLiteral = {11, "Dimensi\xF3n: "};
inline constexpr Literal<35> kClipboardLineLiteral = {35, "Selecci\xF3n posicionada en clipboard."};
