#include "expr/format_answer.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace drex {

namespace {
constexpr int MaxAnswerDigits = 12;
constexpr int MaxGeneralDigits = 17; // enough to tell every double apart
/// The smallest decimal exponent written in fixed-point: magnitudes from 0.00001 up.
constexpr int MinFixedExponent = -5;
} // namespace

std::string FormatGeneral(double value, int digits) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (value == 0.0) return "0"; // also for -0, which is no different to the user
  if (digits < 1) digits = 1;
  if (digits > MaxGeneralDigits) digits = MaxGeneralDigits;
  // Longest case: sign, 17 digits, point, "e-308".
  char buffer[40];
  // The value rounded to `digits` significant digits; the exponent of the rounded value decides
  // the notation, so 0.0000999999 with 2 digits is 0.0001 and 0.0000099999 is 0.00001.
  const auto sci = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, digits - 1);
  const char* e = std::find(buffer, sci.ptr, 'e');
  int exponent = 0;
  std::from_chars(e + (e[1] == '+' ? 2 : 1), sci.ptr, exponent);
  if (exponent < MinFixedExponent || exponent >= digits) {
    const auto general = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    return std::string(buffer, general.ptr);
  }
  // Fixed-point from the rounded digits: the sign, the digits without the point, trailing zeros
  // dropped, then the point put at its place.
  const bool negative = buffer[0] == '-';
  std::string significant;
  for (const char* p = buffer + (negative ? 1 : 0); p != e; ++p)
    if (*p != '.') significant.push_back(*p);
  significant.erase(significant.find_last_not_of('0') + 1);
  std::string text = negative ? "-" : "";
  if (exponent < 0) {
    text += "0.";
    text.append(static_cast<std::size_t>(-exponent - 1), '0');
    text += significant;
  } else {
    const std::size_t whole = static_cast<std::size_t>(exponent) + 1;
    if (significant.size() < whole) significant.append(whole - significant.size(), '0');
    text.append(significant, 0, whole);
    if (significant.size() > whole) text += '.' + significant.substr(whole);
  }
  return text;
}

std::string FormatAnswer(double value, int answerDigits, bool fullPrecision) {
  int digits = answerDigits;
  if (digits < 0) digits = 0;
  if (digits > MaxAnswerDigits) digits = MaxAnswerDigits;
  if (fullPrecision) digits = FullPrecisionDigits;
  return FormatGeneral(value, digits);
}

} // namespace drex
