// The number format: whole numbers, fractions, exponents and rounding, as texts.
#include "runtime/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "runtime/literal_test_support.h"
#include "runtime/runtime_error.h"
#include "runtime/text_operations.h"

namespace {

std::string TextOf(TextValue text) { return std::string(TextChars(text), TextLength(text)); }

std::string Formatted(double value) {
    TextStack stack;
    FormatNumber(stack, value);
    EXPECT_EQ(1, stack.Depth());
    return TextOf(stack.At(0));
}

// Exception masks, precision and rounding of the x87 control word.
std::uint16_t FloatControlWord() {
    std::uint16_t word;
    asm volatile("fnstcw %0" : "=m"(word));
    return word & 0x0F3F;
}

void SetFloatControlWord(std::uint16_t word) { asm volatile("fldcw %0" : : "m"(word)); }

TEST(FormatNumber, WholeNumbersUpToFifteenDigitsAreWrittenInFull) {
    EXPECT_EQ(" 0", Formatted(0));
    EXPECT_EQ(" 0", Formatted(-0.0));
    EXPECT_EQ(" 1", Formatted(1));
    EXPECT_EQ(" 640", Formatted(640));
    EXPECT_EQ("-7", Formatted(-7));
    EXPECT_EQ("-42", Formatted(-42));
    EXPECT_EQ(" 1000", Formatted(1000));
    EXPECT_EQ(" 999999999999999", Formatted(999999999999999));
    EXPECT_EQ("-999999999999999", Formatted(-999999999999999));
}

TEST(FormatNumber, SixteenIntegerDigitsAndMoreUseTheExponentForm) {
    EXPECT_EQ(" 1E+15", Formatted(1e15));
    EXPECT_EQ(" 1.23456789012346E+15", Formatted(1234567890123456));
    EXPECT_EQ(" 1.23456789012346E+17", Formatted(123456789012345678.0));
    EXPECT_EQ("-2.5E+20", Formatted(-2.5e20));
    EXPECT_EQ(" 1.79769313486232E+308", Formatted(std::numeric_limits<double>::max()));
}

TEST(FormatNumber, FractionsHaveNoLeadingZeroAndAtMostFifteenPlaces) {
    EXPECT_EQ(" .5", Formatted(0.5));
    EXPECT_EQ(" .1", Formatted(0.1));
    EXPECT_EQ("-.25", Formatted(-0.25));
    EXPECT_EQ(" 123.25", Formatted(123.25));
    EXPECT_EQ(" .00000000015", Formatted(1.5e-10));
    EXPECT_EQ(" .000000000000001", Formatted(1e-15));
    EXPECT_EQ(" 1E-16", Formatted(1e-16));
    // 4.940656458412465|44...: a 16th digit of 5 after an even digit is dropped.
    EXPECT_EQ(" 4.94065645841246E-324", Formatted(std::numeric_limits<double>::denorm_min()));
}

TEST(FormatNumber, SixteenthDigitAloneRoundsToEven) {
    EXPECT_EQ(" 999999999999999", Formatted(999999999999998.75));
    EXPECT_EQ(" 999999999999998", Formatted(999999999999998.5));
    // 15th digit odd: up, and the carry out of the first digit moves the exponent.
    EXPECT_EQ(" 1E+15", Formatted(999999999999999.5));
    EXPECT_EQ(" 1.23456789012346E+15", Formatted(1234567890123455));
    EXPECT_EQ(" 1.23456789012344E+15", Formatted(1234567890123445));
    // 16th digit 5 followed by 625: the later digits do not count.
    EXPECT_EQ(" 300000000000000", Formatted(300000000000000.5625));
}

TEST(FormatNumber, ValuesJustAboveAPowerOfTenKeepTheirExponent) {
    // Here the quick estimate of the exponent is one too high.
    EXPECT_EQ(" 9.9241610332961E-265", Formatted(std::ldexp(1.0, -877)));
    EXPECT_EQ(" 9.96719495109757E-206", Formatted(std::ldexp(1.0, -681)));
}

TEST(FormatNumber, InfinityAndNotANumber) {
    EXPECT_EQ(" 9.99999999999999E+998", Formatted(std::numeric_limits<double>::infinity()));
    EXPECT_EQ("-9.99999999999999E+998", Formatted(-std::numeric_limits<double>::infinity()));
    EXPECT_EQ(" 0", Formatted(std::numeric_limits<double>::quiet_NaN()));
}

TEST(FormatNumber, IgnoresTheControlWordLeftByOthers) {
    SetFloatControlWord(0x007F);  // 24-bit precision would lose the low digits
    EXPECT_EQ(" 1.23456789012346E+15", Formatted(1234567890123456));
    EXPECT_EQ(0x033F, FloatControlWord());
}

TEST(FormatNumber, ResultIsAnOwnedTextThatJoinsTheSizeLine) {
    const long before = LiveOwnedTexts();
    ClearErrorIndicator();
    {
        TextStack stack;
        PushLiteral(stack, kSizeLabelLiteral);
        FormatNumber(stack, 1);
        ConcatText(stack);
        ASSERT_EQ(1, stack.Depth());
        EXPECT_EQ(13u, TextLength(stack.At(0)));
        EXPECT_EQ("Dimensi\xF3n:  1", TextOf(stack.At(0)));
        EXPECT_EQ(before + 1, LiveOwnedTexts());
    }
    EXPECT_EQ(before, LiveOwnedTexts());
    EXPECT_EQ(0, ErrorIndicator());
}

}  // namespace
