#include "kernel/polynomial_memo.h"

#include <cstring>

#include <gtest/gtest.h>

#include "kernel/construction.h"
#include "kernel/recalc.h"
#include "support/construction_builder.h"

namespace drex {
namespace {

bool SameFit(const PolynomialFit& a, const PolynomialFit& b) {
  return a.Count == b.Count && a.Singular == b.Singular &&
         std::memcmp(a.Coef.data(), b.Coef.data(), sizeof a.Coef) == 0;
}

TEST(PolynomialMemo, GivesTheFitOfTheNodesItIsCalledWith) {
  PolynomialMemo memo(20);
  double xs[3] = {-1, 0, 1};
  double ys[3] = {0, 1, 0};
  const PolynomialFit* first = &memo.Fit(5, xs, ys, 3);
  EXPECT_TRUE(SameFit(*first, SolvePolynomialCoefficients(xs, ys, 3)));
  EXPECT_EQ(&memo.Fit(5, xs, ys, 3), first) << "unchanged nodes reuse the remembered fit";

  struct Change {
    const char* what;
    int index;
    double x, y;
  };
  const Change changes[] = {
      {"a node moves up", 1, 0, 2},
      {"a node moves sideways", 2, 3, 0},
      {"zero changes sign", 1, -0.0, 2},
      {"two nodes above each other", 2, -1, 5},
  };
  for (const Change& c : changes) {
    xs[c.index] = c.x;
    ys[c.index] = c.y;
    EXPECT_TRUE(SameFit(memo.Fit(5, xs, ys, 3), SolvePolynomialCoefficients(xs, ys, 3))) << c.what;
  }
  // Fewer nodes with the same leading ones is another system.
  EXPECT_TRUE(SameFit(memo.Fit(5, xs, ys, 2), SolvePolynomialCoefficients(xs, ys, 2)));
}

TEST(PolynomialMemo, ObjectsAndOddCallsAreKeptApart) {
  PolynomialMemo memo(4);
  const double xsA[2] = {0, 1};
  const double ysA[2] = {0, 1};
  const double xsB[2] = {0, 1};
  const double ysB[2] = {3, -3};
  const PolynomialFit a = memo.Fit(1, xsA, ysA, 2);
  const PolynomialFit b = memo.Fit(2, xsB, ysB, 2);
  EXPECT_TRUE(SameFit(memo.Fit(1, xsA, ysA, 2), a));
  EXPECT_TRUE(SameFit(memo.Fit(2, xsB, ysB, 2), b));
  EXPECT_FALSE(SameFit(a, b));

  // Numbers beyond the capacity and counts beyond the remembered size are solved every time.
  EXPECT_TRUE(SameFit(memo.Fit(4, xsB, ysB, 2), b));
  EXPECT_TRUE(SameFit(memo.Fit(-1, xsA, ysA, 2), a));
  double xs[12], ys[12];
  for (int k = 0; k < 12; ++k) {
    xs[k] = k;
    ys[k] = k * k;
  }
  EXPECT_TRUE(SameFit(memo.Fit(3, xs, ys, 12), SolvePolynomialCoefficients(xs, ys, 12)));
  EXPECT_TRUE(SameFit(memo.Fit(3, xs, ys, 0), SolvePolynomialCoefficients(xs, ys, 0)));
  memo.Clear();
  EXPECT_TRUE(SameFit(memo.Fit(1, xsB, ysB, 2), b));
}

// The pass reuses fits across passes and across documents swapped in; the coefficients must be
// those of a construction computed from scratch.
TEST(PolynomialMemo, PassesGiveTheCoefficientsOfAFreshConstruction) {
  auto build = [](Construction& doc, double lift) {
    ConstructionBuilder b(doc);
    const int n1 = b.Point(-48, 0);
    const int n2 = b.Point(0, 48 + lift);
    const int n3 = b.Point(48, 0);
    return b.Polynomial({n1, n2, n3});
  };
  auto pass = [](Construction& doc) { RecalcPass(doc, MakeViewArea(800, 600, doc.View), 48, 0); };

  Construction doc;
  const int poly = build(doc, 0);
  pass(doc);
  doc[poly - 2].Y1 = 96; // the middle node
  pass(doc);
  pass(doc);

  Construction fresh;
  build(fresh, 48);
  pass(fresh);
  ASSERT_TRUE(doc[poly].Defined && fresh[poly].Defined);
  EXPECT_EQ(std::memcmp(doc[poly].Param.data(), fresh[poly].Param.data(), sizeof doc[poly].Param), 0);

  // A different document with a polynomial at the same number, swapped in.
  Construction other;
  build(other, -24);
  pass(other);
  doc.Swap(other);
  pass(doc);
  Construction expected;
  build(expected, -24);
  pass(expected);
  EXPECT_EQ(std::memcmp(doc[poly].Param.data(), expected[poly].Param.data(), sizeof doc[poly].Param), 0);
  EXPECT_NE(doc[poly].Coef(3), fresh[poly].Coef(3));
}

} // namespace
} // namespace drex
