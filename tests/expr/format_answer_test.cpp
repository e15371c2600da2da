#include "expr/format_answer.h"

#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include <gtest/gtest.h>

namespace drex {
namespace {

struct FormatCase {
  double value;
  int digits;
  const char* text;
};

class FormatAnswerTable : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatAnswerTable, GivesText) {
  const FormatCase& c = GetParam();
  EXPECT_EQ(FormatAnswer(c.value, c.digits), c.text) << "value " << c.value << " digits " << c.digits;
}

// Every digit count on one value: 0 behaves as 1.
INSTANTIATE_TEST_SUITE_P(
    EveryDigitCount, FormatAnswerTable,
    ::testing::Values(FormatCase{3.14159265358979, 0, "3"}, FormatCase{3.14159265358979, 1, "3"},
                      FormatCase{3.14159265358979, 2, "3.1"}, FormatCase{3.14159265358979, 3, "3.14"},
                      FormatCase{3.14159265358979, 4, "3.142"}, FormatCase{3.14159265358979, 5, "3.1416"},
                      FormatCase{3.14159265358979, 6, "3.14159"}, FormatCase{3.14159265358979, 7, "3.141593"},
                      FormatCase{3.14159265358979, 8, "3.1415927"}, FormatCase{3.14159265358979, 9, "3.14159265"},
                      FormatCase{3.14159265358979, 10, "3.141592654"}, FormatCase{3.14159265358979, 11, "3.1415926536"},
                      FormatCase{3.14159265358979, 12, "3.14159265359"}));

// Fixed while the integer digits fit the count, scientific from there on; the same for the
// small end at 0.00001, decided on the rounded value.
INSTANTIATE_TEST_SUITE_P(FixedScientificSwitch, FormatAnswerTable,
                         ::testing::Values(FormatCase{99.4, 2, "99"}, FormatCase{99.6, 2, "1e+02"},
                                           FormatCase{123.456, 2, "1.2e+02"}, FormatCase{123.456, 3, "123"},
                                           FormatCase{123456789012.0, 12, "123456789012"},
                                           FormatCase{1234567890123.0, 12, "1.23456789012e+12"},
                                           FormatCase{0.00001, 2, "0.00001"}, FormatCase{0.000012, 2, "0.000012"},
                                           FormatCase{-0.0000123456, 4, "-0.00001235"},
                                           FormatCase{0.00005, 12, "0.00005"}, FormatCase{0.0001234, 3, "0.000123"},
                                           FormatCase{0.0000099, 2, "9.9e-06"}, FormatCase{0.0000099999, 2, "0.00001"},
                                           FormatCase{0.0000999999, 2, "0.0001"}, FormatCase{9.96, 2, "10"},
                                           FormatCase{5.0, 0, "5"}, FormatCase{56.0, 0, "6e+01"}));

// Trailing zeros and a bare point go; signs, zero and the extremes of the range.
INSTANTIATE_TEST_SUITE_P(SignsZerosExtremes, FormatAnswerTable,
                         ::testing::Values(FormatCase{2.0, 12, "2"}, FormatCase{2.5, 12, "2.5"},
                                           FormatCase{100.0, 3, "100"}, FormatCase{-2.5, 2, "-2.5"},
                                           FormatCase{-0.000001234, 3, "-1.23e-06"}, FormatCase{-1234.0, 2, "-1.2e+03"},
                                           FormatCase{0.0, 2, "0"}, FormatCase{-0.0, 5, "0"},
                                           FormatCase{1e300, 3, "1e+300"}, FormatCase{-1.5e-300, 3, "-1.5e-300"},
                                           FormatCase{std::numeric_limits<double>::max(), 12, "1.79769313486e+308"},
                                           FormatCase{std::numeric_limits<double>::denorm_min(), 2, "4.9e-324"}));

// Values that are no numbers get a short word instead of digits, never a sign on NaN.
INSTANTIATE_TEST_SUITE_P(NotFinite, FormatAnswerTable,
                         ::testing::Values(FormatCase{std::numeric_limits<double>::quiet_NaN(), 2, "nan"},
                                           FormatCase{-std::numeric_limits<double>::quiet_NaN(), 2, "nan"},
                                           FormatCase{std::numeric_limits<double>::infinity(), 2, "inf"},
                                           FormatCase{-std::numeric_limits<double>::infinity(), 2, "-inf"}));

TEST(FormatAnswer, FullPrecisionUsesFifteenDigitsWhateverTheSetting) {
  EXPECT_EQ(FormatAnswer(1.0 / 3.0, 2, true), "0.333333333333333");
  EXPECT_EQ(FormatAnswer(1.0 / 3.0, 0, true), "0.333333333333333");
  EXPECT_EQ(FormatAnswer(123456789012345.0, 2, true), "123456789012345");
  EXPECT_EQ(FormatAnswer(1234567890123456.0, 2, true), "1.23456789012346e+15");
  EXPECT_EQ(FormatAnswer(0.1, 2, true), "0.1");
}

TEST(FormatAnswer, DigitCountOutsideTheSettingRangeIsHeldToIt) {
  EXPECT_EQ(FormatAnswer(3.14159265358979, -4), FormatAnswer(3.14159265358979, 0));
  EXPECT_EQ(FormatAnswer(3.14159265358979, 40), FormatAnswer(3.14159265358979, 12));
}

// The C library's formats (the test runs in the "C" locale) on a sweep of magnitudes, mantissas
// and digit counts: "%g" wherever it is fixed-point or the exponent is below -5; for a rounded
// exponent of -5, where "%g" turns scientific, the value with digits + 4 decimals, trailing zeros
// dropped.
std::string CFormatWithFixedFromMinusFive(double value, int digits) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
  const std::string scientific = text;
  if (scientific.compare(scientific.find('e'), std::string::npos, "e-05") != 0) {
    std::snprintf(text, sizeof text, "%.*g", digits, value);
    return text;
  }
  std::snprintf(text, sizeof text, "%.*f", digits + 4, value);
  std::string fixed = text;
  fixed.erase(fixed.find_last_not_of('0') + 1);
  if (fixed.back() == '.') fixed.pop_back();
  return fixed;
}

TEST(FormatAnswer, AgreesWithCFormatsOnASweep) {
  const double mantissas[] = {1.0, 1.5, 2.675, 9.999999, 4.4449, 7.25, 1.0000001, 9.96};
  int fixedAtMinusFive = 0;
  for (int exponent = -12; exponent <= 16; ++exponent) {
    for (double m : mantissas) {
      for (int sign : {1, -1}) {
        const double value = sign * m * std::pow(10.0, exponent);
        for (int digits = 1; digits <= 12; ++digits) {
          const std::string expected = CFormatWithFixedFromMinusFive(value, digits);
          fixedAtMinusFive += expected.rfind("0.0000", 0) == 0 || expected.rfind("-0.0000", 0) == 0;
          ASSERT_EQ(FormatAnswer(value, digits), expected) << "value " << value << " digits " << digits;
        }
      }
    }
  }
  EXPECT_GT(fixedAtMinusFive, 100) << "the sweep reaches the fixed-point texts of exponent -5";
}

} // namespace
} // namespace drex
