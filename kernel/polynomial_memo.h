#pragma once
// Coefficients of the interpolation polynomials as the recalculation pass last solved them, with
// the nodes they were solved from, so that a pass in which a polynomial's nodes did not move
// reuses them instead of solving the system again. Working state of a construction only: it is
// never saved, and it never changes a result, because a fit is reused only for bit-for-bit the
// same nodes.

#include <memory>
#include <vector>

#include "expr/polynomial.h"
#include "kernel/geom_object.h"

namespace drex {

/// Remembers, per object number, the last polynomial fit and its nodes.
class PolynomialMemo {
public:
  /// Largest node count a fit is remembered for; larger systems are solved every time.
  static constexpr int MaxNodes = MaxPolynomialNodes;

  /// SolvePolynomialCoefficients(xs, ys, n) for object `number`: the remembered fit when the last
  /// call for this number had the same n and bit-for-bit the same nodes, else solved and
  /// remembered. Numbers outside 0..capacity - 1 and counts outside 1..MaxNodes are solved
  /// without being remembered.
  const PolynomialFit& Fit(int number, const double* xs, const double* ys, int n);

  /// Forgets every fit.
  void Clear() { entries_.clear(); }

  /// Creates a memo for object numbers 0..capacity - 1.
  explicit PolynomialMemo(int capacity) : capacity_(capacity > 0 ? capacity : 0) {}

private:
  struct Entry {
    int Count = 0;
    double Xs[MaxNodes];
    double Ys[MaxNodes];
    PolynomialFit Fit;
  };

  int capacity_;
  PolynomialFit scratch_;                       // the fit of a call that is not remembered
  std::vector<std::unique_ptr<Entry>> entries_; // by object number, made on first use
};

} // namespace drex
