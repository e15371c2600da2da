#pragma once
// The one format of every calculated number shown to the user.

#include <string>

namespace drex {

/// Significant digits of an answer shown in full precision.
constexpr int FullPrecisionDigits = 15;

/// `value` in general format with `digits` significant digits (0 counts as 1, more than 17 as 17):
/// fixed-point when the decimal exponent X of the rounded value satisfies -5 <= X < digits, that is
/// at most `digits` digits before the point and a magnitude of at least 0.00001; scientific
/// ("1.5e+20", "2e-07") otherwise. Trailing zeros and a bare point are dropped; the separator is
/// always ".", whatever the locale. Zero of either sign is "0"; a NaN is "nan", infinities are
/// "inf" and "-inf".
std::string FormatGeneral(double value, int digits);

/// The common answer text: FormatGeneral with `answerDigits` significant digits (held to 0..12),
/// or with FullPrecisionDigits when `fullPrecision` is set.
std::string FormatAnswer(double value, int answerDigits, bool fullPrecision = false);

} // namespace drex
