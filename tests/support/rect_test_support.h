// Rectangles compared whole in tests, and printed whole when they differ.
#pragma once
#include <windows.h>

#include <ostream>

inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// GoogleTest's printer for RECT, found by argument-dependent lookup.
inline void PrintTo(const RECT& rect, std::ostream* out) {
    *out << "{" << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << "}";
}
