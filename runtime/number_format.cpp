// Formatting of numbers as text values.
#include "runtime/number_format.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "runtime/float_control.h"
#include "runtime/runtime_error.h"

namespace {

constexpr int kSignificantDigits = 15;
constexpr std::uint64_t kFifteenDigits = 1'000'000'000'000'000;  // 10^15
constexpr long double kEighteenDigits = 1e17L;                    // smallest 18-digit integer
constexpr long double kNineteenDigits = 1e18L;
// An infinity is written as the largest number of this form.
constexpr int kInfinityExponent = 998;

// A number reduced to its significant digits: digits[0] is the first, `exponent` its power of 10.
struct Decimal {
    char digits[kSignificantDigits];
    int count;  // without trailing zeros; at least 1
    int exponent;
};

long double PowerOfTen(int n) {
    long double result = 1;
    for (long double square = 10; n != 0; n >>= 1, square *= square) {
        if (n & 1) result *= square;
    }
    return result;
}

long double ScaleByPowerOfTen(long double value, int n) {
    return n >= 0 ? value * PowerOfTen(n) : value / PowerOfTen(-n);
}

// Scales the magnitude to an 18-digit integer and sets `exponent` to the decimal exponent of
// its first digit.
std::uint64_t EighteenDigits(double magnitude, int& exponent) {
    // log10(2) as the 16-bit fraction 0x4D10, rounded down: an estimate that is rarely off by one.
    exponent = (std::ilogb(magnitude) * 0x4D10) >> 16;
    long double scaled = std::nearbyint(ScaleByPowerOfTen(magnitude, 17 - exponent));
    if (scaled < kEighteenDigits) {
        // Just above some powers of ten the estimate is one too high.
        --exponent;
        scaled = std::nearbyint(ScaleByPowerOfTen(magnitude, 17 - exponent));
    }
    if (scaled >= kNineteenDigits) {
        ++exponent;
        scaled = std::nearbyint(scaled / 10);
    }
    return static_cast<std::uint64_t>(scaled);
}

// Rounds to 15 digits on the 16th alone: above 5 up, exactly 5 up only onto an even digit.
std::uint64_t RoundToFifteenDigits(std::uint64_t eighteen, int& exponent) {
    std::uint64_t fifteen = eighteen / 1000;
    const unsigned sixteenth = eighteen / 100 % 10;
    if (sixteenth > 5 || (sixteenth == 5 && fifteen % 2 == 1)) ++fifteen;
    if (fifteen == kFifteenDigits) {
        fifteen /= 10;
        ++exponent;
    }
    return fifteen;
}

Decimal ToDecimal(double value) {
    Decimal decimal = {};
    if (value == 0 || std::isnan(value)) {
        decimal.digits[0] = '0';
        decimal.count = 1;
        return decimal;
    }
    if (std::isinf(value)) {
        std::memset(decimal.digits, '9', kSignificantDigits);
        decimal.count = kSignificantDigits;
        decimal.exponent = kInfinityExponent;
        return decimal;
    }
    std::uint64_t fifteen = RoundToFifteenDigits(EighteenDigits(std::fabs(value), decimal.exponent),
                                                 decimal.exponent);
    for (int i = kSignificantDigits - 1; i >= 0; --i, fifteen /= 10) {
        decimal.digits[i] = static_cast<char>('0' + fifteen % 10);
    }
    decimal.count = kSignificantDigits;
    while (decimal.count > 1 && decimal.digits[decimal.count - 1] == '0') --decimal.count;
    return decimal;
}

char* WriteExponentForm(const Decimal& decimal, char* out) {
    *out++ = decimal.digits[0];
    if (decimal.count > 1) {
        *out++ = '.';
        std::memcpy(out, decimal.digits + 1, decimal.count - 1);
        out += decimal.count - 1;
    }
    *out++ = 'E';
    *out++ = decimal.exponent < 0 ? '-' : '+';
    char reversed[8];
    int length = 0;
    int magnitude = std::abs(decimal.exponent);
    do {
        reversed[length++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    while (length > 0) *out++ = reversed[--length];
    return out;
}

char* WritePlainForm(const Decimal& decimal, char* out) {
    const int integerDigits = decimal.exponent + 1;
    for (int i = 0; i < integerDigits; ++i) *out++ = i < decimal.count ? decimal.digits[i] : '0';
    if (decimal.count <= integerDigits) return out;
    *out++ = '.';
    for (int i = integerDigits; i < 0; ++i) *out++ = '0';
    for (int i = std::max(integerDigits, 0); i < decimal.count; ++i) *out++ = decimal.digits[i];
    return out;
}

// Writes the sign position and the number; returns the length.
int LayOut(const Decimal& decimal, bool negative, char* text) {
    char* out = text;
    *out++ = negative ? '-' : ' ';
    const int integerDigits = decimal.exponent + 1;
    const int fractionDigits = decimal.count - integerDigits;
    if (integerDigits > kSignificantDigits || fractionDigits > kSignificantDigits) {
        out = WriteExponentForm(decimal, out);
    } else {
        out = WritePlainForm(decimal, out);
    }
    return static_cast<int>(out - text);
}

}  // namespace

void FormatNumber(TextStack& stack, double value) {
    // The scaling needs 64-bit precision whatever the last system call left in the control word.
    LoadFloatControl();
    char text[32];
    const int length = LayOut(ToDecimal(value), value < 0, text);
    TextValue result = AllocateText(static_cast<std::uint32_t>(length));
    if (result) {
        std::memcpy(const_cast<char*>(TextChars(result)), text, length);
    } else {
        RaiseRuntimeError(kErrorOutOfMemory);
    }
    stack.Push(result);
}
