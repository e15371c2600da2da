#pragma once
// The interpolation polynomial: its coefficients through a set of nodes, its value, its exact
// integral, the length of its graph and the formula text of it. Everything here works on plain
// coefficient arrays; no formula is parsed.
//
// Coefficients are stored from the constant term upward: c[k] is the coefficient of x^k,
// k = 0 .. n-1.

#include <array>
#include <string>

namespace drex {

/// Most nodes the solver takes (the solver's matrix is this square).
constexpr int MaxSolverNodes = 30;

/// `base` to the integer power `exponent`. 1 for exponent 0 (also for base 0), 0 for base 0 and a
/// positive exponent; a negative exponent gives 1 / base^|exponent|, and 0 when base is 0 (the
/// value is undefined there).
double IntPower(double base, int exponent);

/// The coefficients of the interpolation polynomial through n nodes.
struct PolynomialFit {
  std::array<double, MaxSolverNodes> Coef{}; ///< Coef[k] multiplies x^k; entries >= Count are 0
  int Count = 0;                             ///< number of coefficients (the node count)
  bool Singular = false;                     ///< the system could not be solved (equal abscissas, or a bad count);
                                             ///< Coef then holds what the elimination reached
};

/// Solves for the polynomial of degree n-1 through the nodes (xs[j], ys[j]), j = 0..n-1, by
/// Gauss-Jordan elimination on the Vandermonde matrix. A zero pivot is replaced by the first row
/// below it with a non-zero entry in that column; when there is none, Singular is set. A count
/// outside 1..MaxSolverNodes gives Count = 0 and Singular (0 nodes is not singular).
PolynomialFit SolvePolynomialCoefficients(const double* xs, const double* ys, int n);

/// The value at x of the polynomial with the n coefficients c (c[k] multiplies x^k).
/// n <= 0 gives 0.
double EvalPolynomial(int n, const double* c, double x);

/// The exact integral of the polynomial from `lower` to `upper` (signed: swapping the bounds
/// changes the sign).
double IntegratePolynomial(int n, const double* c, double upper, double lower);

/// The length of the graph between the bounds, as the sum of `steps` chords at equal abscissa
/// steps (steps below 1 count as 1). Lengths are in the units of the coefficients' plane.
double PolynomialArcLength(int n, const double* c, double upper, double lower, int steps);

/// The polynomial as a formula in x, highest power first, e.g. "0.5*x^2-2*x^1+1"; the constant
/// term is the bare coefficient, since the evaluator takes 0^0 as 0. Each coefficient is written
/// with 15 significant digits and "." as a plain decimal number, since the evaluator reads no
/// exponent (a magnitude below 1e-30 is written 0). n <= 0 gives an empty text.
std::string PolynomialText(int n, const double* c);

} // namespace drex
