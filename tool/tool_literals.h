// The tool's literal pool: the report's texts and the tool's numbers in one constant block.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/literal_pool.h"

// The tool's literals, each text written once (Windows-1252 bytes: "\xF3" is "ó"). The pool's
// image is made of them; the tool's code reads the placed pool, and the tests of the layers below
// the tool, where no pool is placed, borrow these.
inline constexpr auto kZeroCharacterLiteral = MakeLiteral("\0");  // an empty zero-terminated string once copied
inline constexpr auto kLineBreakLiteral = MakeLiteral("\r\n");
inline constexpr auto kEmptyLiteral = MakeLiteral("");
inline constexpr auto kClipboardLineLiteral = MakeLiteral("Selecci\xF3n posicionada en clipboard.");
inline constexpr auto kSizeLabelLiteral = MakeLiteral("Dimensi\xF3n: ");
inline constexpr auto kTimesLiteral = MakeLiteral(" x");
inline constexpr auto kTitleLiteral = MakeLiteral("Programador");
inline constexpr auto kFileNameLiteral = MakeLiteral("Retazo.bmp");
inline constexpr auto kOpenVerbLiteral = MakeLiteral("Open");
// Texts of the report when a step failed, and of the warning when the screen could not be
// photographed.
inline constexpr auto kClipboardFailedLiteral = MakeLiteral("No se pudo poner la selecci\xF3n en el clipboard.");
inline constexpr auto kFileFailedLiteral = MakeLiteral("No se pudo guardar Retazo.bmp.");
inline constexpr auto kCaptureFailedLiteral = MakeLiteral("No se pudo capturar la pantalla.");

// The numbers the tool's code is built from, in the order it first uses them. The compiled code
// carries each one in its instructions and never reads it here: they stay so that the block
// keeps its fixed layout, and so that the pool's test pins every one of them by value.
struct ToolNumbers {
    std::int32_t wmInitDialog;
    std::int32_t wmDestroy;
    std::int32_t wmMouseMove;
    std::int32_t wmSetCursor;
    std::int32_t wmLButtonDown;
    std::int32_t wmLButtonUp;
    std::int32_t controlId;
    std::int32_t dialogStyle;
    std::int32_t dialogExStyle;
    std::int32_t controlStyle;
    std::int32_t copyMix;
    std::int32_t outlineColour;
    std::int32_t noFill;
    std::int32_t crosshairPointer;
    std::int32_t buffered;
    std::int32_t pixelUnits;
    std::int32_t graphicControlKind;
    std::int32_t reportStyle;
    std::int32_t fileNameSize;
    std::int32_t pointSize;
    std::int32_t showNormal;
    std::int32_t mouseMessageShift;
};

struct LiteralPool {
    LiteralOf<kZeroCharacterLiteral> zeroCharacter;
    LiteralOf<kLineBreakLiteral> lineBreak;
    LiteralOf<kEmptyLiteral> empty;
    LiteralOf<kClipboardLineLiteral> clipboardLine;
    LiteralOf<kSizeLabelLiteral> sizeLabel;
    LiteralOf<kTimesLiteral> times;
    LiteralOf<kTitleLiteral> title;
    LiteralOf<kFileNameLiteral> fileName;
    LiteralOf<kOpenVerbLiteral> openVerb;
    ToolNumbers numbers;
    LiteralOf<kClipboardFailedLiteral> clipboardFailedLine;
    LiteralOf<kFileFailedLiteral> fileFailedLine;
    LiteralOf<kCaptureFailedLiteral> captureFailedLine;
};

// Size of the block up to the numbers' end: the head of the pool, whose layout stays fixed.
constexpr std::size_t kLiteralPoolCoreSize = offsetof(LiteralPool, clipboardFailedLine);

// Moves the pool to its run-time place; done once at start-up, before the tool's main routine.
void PlaceLiteralPool();
// The placed pool.
const LiteralPool& Pool();
