// The literal pool's mechanism: how a literal is laid out, borrowed as a text and placed.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "runtime/text_value.h"

// One literal: byte count, the characters, two zero bytes, filler to a multiple of four.
template <std::size_t N>
struct alignas(4) Literal {
    std::uint32_t length;
    char chars[(N + 2 + 3) / 4 * 4];
};

// The literal of a string constant, its length counted by the compiler; the constant's own
// terminator is not part of it, so MakeLiteral("\0") is the one-character text of the byte 0.
template <std::size_t M>
constexpr Literal<M - 1> MakeLiteral(const char (&text)[M]) {
    Literal<M - 1> literal{M - 1, {}};
    for (std::size_t i = 0; i + 1 < M; ++i) literal.chars[i] = text[i];
    return literal;
}

// The type of a literal constant, for a field of a pool: LiteralOf<kTitleLiteral>.
template <const auto& literal>
using LiteralOf = std::remove_cvref_t<decltype(literal)>;

// A literal as a borrowed text value.
template <std::size_t N>
TextValue BorrowLiteral(const Literal<N>& literal) {
    return reinterpret_cast<TextValue>(literal.chars) | 1;
}

// The run-time place of a pool of literals, copied from the pool's constant image once at
// start-up. Code that runs without the process start (the tests) finds it placed all the same.
template <typename Pool>
class PlacedLiteralPool {
public:
    explicit constexpr PlacedLiteralPool(const Pool& image) : image_(image) {}
    PlacedLiteralPool(const PlacedLiteralPool&) = delete;
    PlacedLiteralPool& operator=(const PlacedLiteralPool&) = delete;

    void Place() {
        std::memcpy(&placed_, &image_, sizeof placed_);
        isPlaced_ = true;
    }
    const Pool& Get() {
        if (!isPlaced_) Place();
        return placed_;
    }

private:
    const Pool& image_;
    Pool placed_{};
    bool isPlaced_ = false;
};
