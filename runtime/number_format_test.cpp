// The number format: whole numbers, fractions, exponents and rounding, as texts.
#include "runtime/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "runtime/runtime_error.h"
#include "runtime/text_operations.h"
#include "tool/tool_literals.h"

namespace {

std::string TextOf(TextValue text) { return std::string(TextChars(text), TextLength(text)); }

std::string Formatted(double value) {
    TextStack stack;
    FormatNumber(stack, value);
    EXPECT_EQ(stack.Depth(), 1);
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
    EXPECT_EQ(Formatted(0), " 0");
    EXPECT_EQ(Formatted(-0.0), " 0");
    EXPECT_EQ(Formatted(1), " 1");
    EXPECT_EQ(Formatted(640), " 640");
    EXPECT_EQ(Formatted(-7), "-7");
    EXPECT_EQ(Formatted(-42), "-42");
    EXPECT_EQ(Formatted(1000), " 1000");
    EXPECT_EQ(Formatted(999999999999999), " 999999999999999");
    EXPECT_EQ(Formatted(-999999999999999), "-999999999999999");
}

TEST(FormatNumber, SixteenIntegerDigitsAndMoreUseTheExponentForm) {
    EXPECT_EQ(Formatted(1e15), " 1E+15");
    EXPECT_EQ(Formatted(1234567890123456), " 1.23456789012346E+15");
    EXPECT_EQ(Formatted(123456789012345678.0), " 1.23456789012346E+17");
    EXPECT_EQ(Formatted(-2.5e20), "-2.5E+20");
    EXPECT_EQ(Formatted(std::numeric_limits<double>::max()), " 1.79769313486232E+308");
}

TEST(FormatNumber, FractionsHaveNoLeadingZeroAndAtMostFifteenPlaces) {
    EXPECT_EQ(Formatted(0.5), " .5");
    EXPECT_EQ(Formatted(0.1), " .1");
    EXPECT_EQ(Formatted(-0.25), "-.25");
    EXPECT_EQ(Formatted(123.25), " 123.25");
    EXPECT_EQ(Formatted(1.5e-10), " .00000000015");
    EXPECT_EQ(Formatted(1e-15), " .000000000000001");
    EXPECT_EQ(Formatted(1e-16), " 1E-16");
    // 4.940656458412465|44...: a 16th digit of 5 after an even digit is dropped.
    EXPECT_EQ(Formatted(std::numeric_limits<double>::denorm_min()), " 4.94065645841246E-324");
}

TEST(FormatNumber, SixteenthDigitAloneRoundsToEven) {
    EXPECT_EQ(Formatted(999999999999998.75), " 999999999999999");
    EXPECT_EQ(Formatted(999999999999998.5), " 999999999999998");
    // 15th digit odd: up, and the carry out of the first digit moves the exponent.
    EXPECT_EQ(Formatted(999999999999999.5), " 1E+15");
    EXPECT_EQ(Formatted(1234567890123455), " 1.23456789012346E+15");
    EXPECT_EQ(Formatted(1234567890123445), " 1.23456789012344E+15");
    // 16th digit 5 followed by 625: the later digits do not count.
    EXPECT_EQ(Formatted(300000000000000.5625), " 300000000000000");
}

TEST(FormatNumber, ValuesJustAboveAPowerOfTenKeepTheirExponent) {
    // Here the quick estimate of the exponent is one too high.
    EXPECT_EQ(Formatted(std::ldexp(1.0, -877)), " 9.9241610332961E-265");
    EXPECT_EQ(Formatted(std::ldexp(1.0, -681)), " 9.96719495109757E-206");
}

TEST(FormatNumber, InfinityAndNotANumber) {
    EXPECT_EQ(Formatted(std::numeric_limits<double>::infinity()), " 9.99999999999999E+998");
    EXPECT_EQ(Formatted(-std::numeric_limits<double>::infinity()), "-9.99999999999999E+998");
    EXPECT_EQ(Formatted(std::numeric_limits<double>::quiet_NaN()), " 0");
}

TEST(FormatNumber, IgnoresTheControlWordLeftByOthers) {
    SetFloatControlWord(0x007F);  // 24-bit precision would lose the low digits
    EXPECT_EQ(Formatted(1234567890123456), " 1.23456789012346E+15");
    EXPECT_EQ(FloatControlWord(), 0x033F);
}

TEST(FormatNumber, ResultIsAnOwnedTextThatJoinsTheSizeLine) {
    const long before = LiveOwnedTexts();
    ClearErrorIndicator();
    {
        TextStack stack;
        PushLiteral(stack, kSizeLabelLiteral);
        FormatNumber(stack, 1);
        ConcatText(stack);
        ASSERT_EQ(stack.Depth(), 1);
        EXPECT_EQ(TextLength(stack.At(0)), 13u);
        EXPECT_EQ(TextOf(stack.At(0)), "Dimensi\xF3n:  1");
        EXPECT_EQ(LiveOwnedTexts(), before + 1);
    }
    EXPECT_EQ(LiveOwnedTexts(), before);
    EXPECT_EQ(ErrorIndicator(), 0);
}

}  // namespace
