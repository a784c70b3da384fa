// Shared by the graphics tests: known pixel patterns in memory bitmaps, reading them back as
// pixels or as bitmap bytes, and a handle that names no target.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "graphics/graphic_target.h"
#include "runtime/font_table.h"
#include "tests/support/rect_test_support.h"

// A handle that no object record has.
constexpr ObjectHandle kNoSuchHandle = 0x7FFF0001;

// A colour that differs for every pixel of a small bitmap, so a misplaced copy shows.
inline COLORREF PatternColour(int x, int y) {
    return RGB((x * 7 + 1) & 0xFF, (y * 11 + 3) & 0xFF, (x * 3 + y * 5 + 17) & 0xFF);
}

inline ObjectRecord* RecordOf(ObjectHandle handle) { return FindObjectRecord(handle); }

inline COLORREF PixelOf(ObjectHandle bitmap, int x, int y) { return GetPixel(RecordOf(bitmap)->memoryDC, x, y); }

// Every pixel of the bitmap's `width` by `height` top-left corner against `expected(x, y)`;
// stops at the first that differs.
template <typename Expected>
void ExpectPixels(ObjectHandle bitmap, int width, int height, Expected expected) {
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) ASSERT_EQ(PixelOf(bitmap, x, y), expected(x, y)) << "at " << x << "," << y;
    }
}

inline void FillBitmap(ObjectHandle bitmap, COLORREF colour) {
    const ObjectRecord* record = RecordOf(bitmap);
    HBRUSH brush = CreateSolidBrush(colour);
    const RECT all{0, 0, record->canvasSize.cx, record->canvasSize.cy};
    FillRect(record->memoryDC, &all, brush);
    DeleteObject(brush);
}

inline void PaintPattern(ObjectHandle bitmap) {
    const ObjectRecord* record = RecordOf(bitmap);
    for (int y = 0; y < record->canvasSize.cy; ++y) {
        for (int x = 0; x < record->canvasSize.cx; ++x) SetPixel(record->memoryDC, x, y, PatternColour(x, y));
    }
}

// A memory bitmap of one colour; the default font exists as it does in a running process.
inline ObjectHandle NewFilledBitmap(int width, int height, COLORREF colour) {
    CreateInitialFontTable();
    const ObjectHandle bitmap = NewGraphicBitmap(width, height);
    if (bitmap) FillBitmap(bitmap, colour);
    return bitmap;
}

inline ObjectHandle NewPatternBitmap(int width, int height) {
    CreateInitialFontTable();
    const ObjectHandle bitmap = NewGraphicBitmap(width, height);
    if (bitmap) PaintPattern(bitmap);
    return bitmap;
}

// Little-endian fields of a byte block.
inline std::uint32_t ReadU16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes.at(at) | bytes.at(at + 1) << 8;
}
inline std::uint32_t ReadU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return ReadU16(bytes, at) | ReadU16(bytes, at + 2) << 16;
}

// The 40-byte information header at `at` of a bottom-up bitmap: its size, one plane, `bitCount`
// bits a pixel, and zero in every later field.
inline void ExpectInfoHeader(const std::vector<std::uint8_t>& bytes, std::size_t at, int width, int height,
                             std::uint32_t bitCount) {
    EXPECT_EQ(ReadU32(bytes, at), 40u);
    EXPECT_EQ(ReadU32(bytes, at + 4), static_cast<std::uint32_t>(width));
    EXPECT_EQ(ReadU32(bytes, at + 8), static_cast<std::uint32_t>(height));
    EXPECT_EQ(ReadU16(bytes, at + 12), 1u);
    EXPECT_EQ(ReadU16(bytes, at + 14), bitCount);
    for (std::size_t field = 16; field < 40; field += 4) {
        EXPECT_EQ(ReadU32(bytes, at + field), 0u) << "header offset " << field;
    }
}

// The rows of PatternColour from `at`, bottom row first: blue, green and red in `pixelBytes`
// bytes a pixel (the fourth 255 where `opaque`), each row padded to four bytes.
inline void ExpectPatternRows(const std::vector<std::uint8_t>& bytes, std::size_t at, int width, int height,
                              int pixelBytes, bool opaque) {
    const std::size_t stride = (static_cast<std::size_t>(width) * pixelBytes + 3) / 4 * 4;
    ASSERT_GE(bytes.size(), at + stride * height);
    int wrong = 0;
    for (int row = 0; row < height; ++row) {
        const int y = height - 1 - row;
        for (int x = 0; x < width; ++x) {
            const std::size_t pixel = at + row * stride + static_cast<std::size_t>(x) * pixelBytes;
            const COLORREF colour = PatternColour(x, y);
            const bool right = bytes[pixel] == GetBValue(colour) && bytes[pixel + 1] == GetGValue(colour) &&
                               bytes[pixel + 2] == GetRValue(colour) && (!opaque || bytes[pixel + 3] == 255);
            if (!right && ++wrong <= 5) ADD_FAILURE() << "pixel (" << x << ", " << y << ") at offset " << pixel;
        }
    }
    EXPECT_EQ(wrong, 0);
}
