// The tool's literal pool: the report's texts and the tool's numbers in one constant block.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/literal_pool.h"

// The tool's own numbers, in the order its code uses them.
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
    Literal<1> zeroCharacter;  // the byte 0: an empty zero-terminated string once copied
    Literal<2> lineBreak;
    Literal<0> empty;
    Literal<35> clipboardLine;
    Literal<11> sizeLabel;
    Literal<2> times;
    Literal<11> title;
    Literal<10> fileName;
    Literal<4> openVerb;
    ToolNumbers numbers;
    // Texts of the report when a step failed.
    Literal<46> clipboardFailedLine;
    Literal<30> fileFailedLine;
    // Text of the warning when the screen could not be photographed.
    Literal<32> captureFailedLine;
};

// Size of the block up to the numbers' end: the head of the pool, whose layout stays fixed.
constexpr std::size_t kLiteralPoolCoreSize = offsetof(LiteralPool, clipboardFailedLine);

// Moves the pool to its run-time place; done once at start-up, before the tool's main routine.
void PlaceLiteralPool();
// The placed pool.
const LiteralPool& Pool();
