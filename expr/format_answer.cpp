#include "expr/format_answer.h"

#include <charconv>
#include <cmath>

namespace drex {

namespace {
constexpr int MaxAnswerDigits = 12;
constexpr int MaxGeneralDigits = 17; // enough to tell every double apart
} // namespace

std::string FormatGeneral(double value, int digits) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (value == 0.0) return "0"; // also for -0, which is no different to the user
  if (digits < 1) digits = 1;
  if (digits > MaxGeneralDigits) digits = MaxGeneralDigits;
  // Longest case: sign, 17 digits, point, "e-308".
  char buffer[40];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
  return std::string(buffer, result.ptr);
}

std::string FormatAnswer(double value, int answerDigits, bool fullPrecision) {
  int digits = answerDigits;
  if (digits < 0) digits = 0;
  if (digits > MaxAnswerDigits) digits = MaxAnswerDigits;
  if (fullPrecision) digits = FullPrecisionDigits;
  return FormatGeneral(value, digits);
}

} // namespace drex
