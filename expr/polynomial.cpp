#include "expr/polynomial.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <utility>

#include "expr/format_answer.h"

namespace drex {

double IntPower(double base, int exponent) {
  if (exponent == 0) return 1.0;
  if (base == 0.0) return 0.0;
  // Repeated squaring in extended precision: exact for small integers, so nodes and coefficients
  // that are whole numbers stay whole.
  long double result = 1.0L;
  long double factor = base;
  unsigned long e = exponent < 0 ? 0UL - static_cast<unsigned long>(exponent) : static_cast<unsigned long>(exponent);
  while (e != 0) {
    if (e & 1UL) result *= factor;
    factor *= factor;
    e >>= 1;
  }
  if (exponent < 0) result = 1.0L / result;
  return static_cast<double>(result);
}

PolynomialFit SolvePolynomialCoefficients(const double* xs, const double* ys, int n) {
  PolynomialFit fit;
  if (n == 0) return fit;
  if (n < 0 || n > MaxSolverNodes || xs == nullptr || ys == nullptr) {
    fit.Singular = true;
    return fit;
  }
  fit.Count = n;

  long double m[MaxSolverNodes][MaxSolverNodes];
  long double rhs[MaxSolverNodes];
  for (int j = 0; j < n; ++j) {
    for (int i = 0; i < n; ++i)
      m[j][i] = IntPower(xs[j], i);
    rhs[j] = ys[j];
  }

  for (int p = 0; p < n; ++p) {
    if (m[p][p] == 0.0L) {
      // Take the first row below with a usable entry in this column. Columns left of p are
      // already zero in every row from p down, so whole rows can be exchanged.
      int r = p + 1;
      while (r < n && m[r][p] == 0.0L)
        ++r;
      if (r == n) {
        fit.Singular = true;
        break;
      }
      for (int i = 0; i < n; ++i)
        std::swap(m[p][i], m[r][i]);
      std::swap(rhs[p], rhs[r]);
    }
    const long double pivot = m[p][p];
    for (int r = 0; r < n; ++r) {
      if (r == p) continue;
      const long double factor = m[r][p] / pivot;
      if (factor == 0.0L) continue;
      for (int i = p; i < n; ++i)
        m[r][i] -= factor * m[p][i];
      rhs[r] -= factor * rhs[p];
    }
    for (int i = p; i < n; ++i)
      m[p][i] /= pivot;
    rhs[p] /= pivot;
  }

  for (int k = 0; k < n; ++k)
    fit.Coef[static_cast<std::size_t>(k)] = static_cast<double>(rhs[k]);
  return fit;
}

double EvalPolynomial(int n, const double* c, double x) {
  long double sum = 0.0L;
  for (int k = 0; k < n; ++k)
    sum += static_cast<long double>(c[k]) * IntPower(x, k);
  return static_cast<double>(sum);
}

double IntegratePolynomial(int n, const double* c, double upper, double lower) {
  long double sum = 0.0L;
  for (int k = 0; k < n; ++k) {
    const long double rise = static_cast<long double>(IntPower(upper, k + 1)) - IntPower(lower, k + 1);
    sum += static_cast<long double>(c[k]) * rise / (k + 1);
  }
  return static_cast<double>(sum);
}

double PolynomialArcLength(int n, const double* c, double upper, double lower, int steps) {
  const int m = steps < 1 ? 1 : steps;
  const long double d = (static_cast<long double>(upper) - lower) / m;
  long double length = 0.0L;
  double x0 = lower;
  double y0 = EvalPolynomial(n, c, x0);
  for (int i = 1; i <= m; ++i) {
    const double x1 = static_cast<double>(lower + i * d);
    const double y1 = EvalPolynomial(n, c, x1);
    const long double dx = static_cast<long double>(x1) - x0;
    const long double dy = static_cast<long double>(y1) - y0;
    length += std::sqrt(dx * dx + dy * dy);
    x0 = x1;
    y0 = y1;
  }
  return static_cast<double>(length);
}

namespace {

/// Coefficients this small are written as 0: below any term the plot or a solid can show.
constexpr double NegligibleCoefficient = 1e-30;

/// A coefficient as a plain decimal number with 15 significant digits: the evaluator reads no
/// exponent, so a fit's rounding noise (1e-17) or a huge value must not come out as "1e-17".
std::string CoefficientText(double v) {
  const double magnitude = std::fabs(v);
  if (!(magnitude >= 0.00001 && magnitude < 1e15)) {
    if (!(magnitude >= NegligibleCoefficient) || !std::isfinite(v))
      return std::isfinite(v) ? "0" : FormatGeneral(v, 15);
    const int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
    const int decimals = std::max(0, 14 - exponent);
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v, std::chars_format::fixed, decimals);
    std::string text(buffer, result.ptr);
    if (text.find('.') != std::string::npos) {
      while (text.back() == '0')
        text.pop_back();
      if (text.back() == '.') text.pop_back();
    }
    return text;
  }
  return FormatGeneral(v, 15);
}

} // namespace

std::string PolynomialText(int n, const double* c) {
  std::string text;
  for (int k = n - 1; k >= 0; --k) {
    text += CoefficientText(c[k]);
    // The evaluator takes 0^0 as 0, so the constant term carries no power of x: with "*x^0" it
    // would vanish wherever x is sampled at exactly 0.
    if (k == 0) break;
    text += "*x^";
    text += std::to_string(k);
    if (c[k - 1] >= 0) text += '+';
  }
  return text;
}

} // namespace drex
