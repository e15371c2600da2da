#include "expr/polynomial.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

namespace drex {
namespace {

TEST(IntPower, ZeroAndSignCases) {
  EXPECT_EQ(IntPower(0, 0), 1.0);
  EXPECT_EQ(IntPower(5, 0), 1.0);
  EXPECT_EQ(IntPower(0, 3), 0.0);
  EXPECT_EQ(IntPower(-2, 3), -8.0);
  EXPECT_EQ(IntPower(-2, 4), 16.0);
  EXPECT_EQ(IntPower(3, 5), 243.0);
  EXPECT_EQ(IntPower(2, -2), 0.25);
  EXPECT_EQ(IntPower(0, -1), 0.0);
  EXPECT_DOUBLE_EQ(IntPower(1.1, 29), std::pow(1.1, 29));
  EXPECT_TRUE(std::isinf(IntPower(10, 400)));
}

TEST(SolvePolynomialCoefficients, ThreeNodesGiveOnePlusXPlusXSquared) {
  const double xs[] = {0, 1, 2};
  const double ys[] = {1, 3, 7};
  const PolynomialFit fit = SolvePolynomialCoefficients(xs, ys, 3);
  EXPECT_FALSE(fit.Singular);
  ASSERT_EQ(fit.Count, 3);
  EXPECT_NEAR(fit.Coef[0], 1, 1e-12);
  EXPECT_NEAR(fit.Coef[1], 1, 1e-12);
  EXPECT_NEAR(fit.Coef[2], 1, 1e-12);
  EXPECT_EQ(fit.Coef[3], 0.0);
  EXPECT_NEAR(IntegratePolynomial(fit.Count, fit.Coef.data(), 2, 0), 2 + 2 + 8.0 / 3, 1e-12);
  EXPECT_NEAR(IntegratePolynomial(fit.Count, fit.Coef.data(), 0, 2), -(2 + 2 + 8.0 / 3), 1e-12);
}

// For every node count the polynomial passes through its nodes, whatever their order and sign,
// including a first node at x = 0, where the first pivot would be a power of zero.
TEST(SolvePolynomialCoefficients, ReproducesItsNodesForEveryCount) {
  for (int n = 1; n <= 10; ++n) {
    std::vector<double> xs, ys;
    for (int j = 0; j < n; ++j) {
      xs.push_back((j % 2 == 0 ? 1 : -1) * 0.7 * j); // 0, -0.7, 1.4, -2.1 ...
      ys.push_back(std::sin(1.3 * j) * 5 + j);
    }
    const PolynomialFit fit = SolvePolynomialCoefficients(xs.data(), ys.data(), n);
    ASSERT_FALSE(fit.Singular) << n;
    for (int j = 0; j < n; ++j)
      EXPECT_NEAR(EvalPolynomial(fit.Count, fit.Coef.data(), xs[j]), ys[j], 1e-7) << "n " << n << " node " << j;
  }
}

TEST(SolvePolynomialCoefficients, EqualAbscissasAreSingularWithoutNaNs) {
  const double xs[] = {1, 1};
  const double ys[] = {1, 2};
  const PolynomialFit fit = SolvePolynomialCoefficients(xs, ys, 2);
  EXPECT_TRUE(fit.Singular);
  EXPECT_EQ(fit.Count, 2);
  EXPECT_TRUE(std::isfinite(fit.Coef[0]) && std::isfinite(fit.Coef[1]));

  // Wherever the equal pair stands: at the end, at the start (a zero pivot that a row exchange
  // moves on), or apart.
  const double ys3[] = {0, 1, 1};
  for (const auto& xs3 : {std::vector<double>{0, 2, 2}, std::vector<double>{2, 2, 0}, std::vector<double>{2, 0, 2}}) {
    const PolynomialFit f = SolvePolynomialCoefficients(xs3.data(), ys3, 3);
    EXPECT_TRUE(f.Singular);
    for (int k = 0; k < 3; ++k)
      EXPECT_FALSE(std::isnan(f.Coef[static_cast<std::size_t>(k)]));
  }
}

TEST(SolvePolynomialCoefficients, CountOutsideTheMatrixIsRefused) {
  std::vector<double> xs(40, 0.0), ys(40, 0.0);
  for (int j = 0; j < 40; ++j)
    xs[static_cast<std::size_t>(j)] = j;
  const PolynomialFit tooMany = SolvePolynomialCoefficients(xs.data(), ys.data(), MaxSolverNodes + 1);
  EXPECT_TRUE(tooMany.Singular);
  EXPECT_EQ(tooMany.Count, 0);
  const PolynomialFit negative = SolvePolynomialCoefficients(xs.data(), ys.data(), -3);
  EXPECT_TRUE(negative.Singular);
  EXPECT_EQ(negative.Count, 0);
  const PolynomialFit none = SolvePolynomialCoefficients(xs.data(), ys.data(), 0);
  EXPECT_FALSE(none.Singular);
  EXPECT_EQ(none.Count, 0);
  EXPECT_EQ(EvalPolynomial(none.Count, none.Coef.data(), 3.0), 0.0);
  EXPECT_FALSE(SolvePolynomialCoefficients(xs.data(), ys.data(), MaxSolverNodes).Singular);
}

TEST(PolynomialArcLength, ConstantLineAndParabolaAgainstClosedForms) {
  const double constant[] = {4};
  EXPECT_NEAR(PolynomialArcLength(1, constant, 5, 0, 200), 5, 1e-12);
  const double line[] = {1, 0.75}; // y = 1 + 0.75x, length 1.25 per unit of x
  EXPECT_NEAR(PolynomialArcLength(2, line, 0, 4, 100), 5, 1e-12);
  EXPECT_NEAR(PolynomialArcLength(2, line, 4, 4, 100), 0, 1e-15);
  // y = x^2 from 0 to 1: (2*sqrt(5) + asinh(2)) / 4; chords fall short by O(1/m^2).
  const double parabola[] = {0, 0, 1};
  const double exact = (2 * std::sqrt(5.0) + std::asinh(2.0)) / 4;
  EXPECT_NEAR(PolynomialArcLength(3, parabola, 1, 0, 1000), exact, 1e-6);
  EXPECT_LT(PolynomialArcLength(3, parabola, 1, 0, 10), exact);
  // A step count below 1 is one chord.
  EXPECT_NEAR(PolynomialArcLength(3, parabola, 1, 0, 0), std::sqrt(2.0), 1e-15);
}

TEST(PolynomialText, HighestPowerFirstWithSigns) {
  const double c[] = {1, -2, 0.5};
  EXPECT_EQ(PolynomialText(3, c), "0.5*x^2-2*x^1+1");
  const double d[] = {-1.25, 0, 1.0 / 3};
  EXPECT_EQ(PolynomialText(3, d), "0.333333333333333*x^2+0*x^1-1.25");
  // Every coefficient is a number the evaluator reads: no exponent, even for rounding noise or a
  // huge value.
  const double tiny[] = {0.000001, 12, -1.5e-17, 1e16, 1e-40};
  EXPECT_EQ(PolynomialText(5, tiny), "0*x^4+10000000000000000*x^3-0.000000000000000015*x^2+12*x^1+0.000001");
  // From 0.00001 up a coefficient is written in fixed-point, which the evaluator reads.
  const double small[] = {-0.00001, 0.00005, 0.0000123456789012345};
  EXPECT_EQ(PolynomialText(3, small), "0.0000123456789012345*x^2+0.00005*x^1-0.00001");
  EXPECT_EQ(PolynomialText(0, c), "");
}

} // namespace
} // namespace drex
