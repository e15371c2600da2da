#include "expr/revolution.h"

#include <cmath>

#include <gtest/gtest.h>

#include "expr/polynomial.h"
#include "kernel/construction.h"
#include "support/scripted_platform.h"

namespace drex {
namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double EvaluatorPi = 3.1415926;
constexpr double Unit = 48; // internal units per user unit

class RevolutionTest : public ::testing::Test {
protected:
  int AddPoint(double ux, double uy) {
    const int n = ++doc.ObjCount;
    doc[n].Kind = okPoint;
    doc[n].Defined = 1;
    doc[n].X1 = ux * Unit;
    doc[n].Y1 = uy * Unit;
    return n;
  }
  int AddObject(uint8_t kind) {
    const int n = ++doc.ObjCount;
    doc[n].Kind = kind;
    doc[n].Defined = 1;
    return n;
  }
  int AddGraph(uint8_t funcType, const char* e1, const char* e2, double from, double to) {
    const int n = AddObject(okFunction);
    doc[n].FuncType = funcType;
    doc[n].Expr1.Assign(e1);
    doc[n].Expr2.Assign(e2);
    doc[n].X1 = from;
    doc[n].Y1 = to;
    return n;
  }
  RevolutionOutcome Run(int objNo, double unit = Unit) { return RevolutionSolids(ctx, doc, objNo, unit); }

  DS_Calc calc;
  ScriptedPlatform ui;
  MsgTable msg;
  CalculusState state;
  CalcContext ctx{calc, ui, msg, 200, state};
  Construction doc;
};

TEST_F(RevolutionTest, PolylineUsesItsVerticesInUserUnits) {
  const int a = AddPoint(0, 1), b = AddPoint(1, 1);
  const int poly = AddObject(okPolyline);
  doc[poly].RefCount = 2;
  doc[poly].Refs[1] = static_cast<int16_t>(a);
  doc[poly].Refs[2] = static_cast<int16_t>(b);
  const RevolutionOutcome r = Run(poly);
  EXPECT_FALSE(r.NoSolid);
  EXPECT_FALSE(r.Refused);
  EXPECT_NEAR(r.Values.VolumeOx, Pi, 1e-12);
  EXPECT_NEAR(r.Values.SurfaceOx, 2 * Pi, 1e-12);
  EXPECT_NEAR(state.Solids.SurfaceOx, 2 * Pi, 1e-12);
  ASSERT_EQ(r.Curve.size(), 2u);
  EXPECT_DOUBLE_EQ(r.Curve[1].X, 1);
  EXPECT_DOUBLE_EQ(r.Curve[1].Y, 1);
  EXPECT_TRUE(ui.ProgressMessages.empty()); // no formula, nothing long
}

TEST_F(RevolutionTest, PolylineWithAnUnusableReferenceHasNoSolid) {
  const int a = AddPoint(0, 1);
  const int poly = AddObject(okPolyline);
  doc[poly].RefCount = 2;
  doc[poly].Refs[1] = static_cast<int16_t>(a);
  doc[poly].Refs[2] = 99;
  EXPECT_TRUE(Run(poly).NoSolid);
  doc[poly].Refs[2] = -1;
  EXPECT_TRUE(Run(poly).NoSolid);
  doc[poly].RefCount = 600;
  EXPECT_TRUE(Run(poly).NoSolid);
}

TEST_F(RevolutionTest, PolynomialBetweenItsNodeRange) {
  const int p = AddObject(okPolynomial);
  doc[p].RefCount = 2;
  doc[p].Coef(1) = 0; // y = x
  doc[p].Coef(2) = 1;
  doc[p].ExtA() = 0;
  doc[p].ExtB() = 3;
  const RevolutionOutcome r = Run(p);
  EXPECT_FALSE(r.NoSolid);
  EXPECT_NEAR(r.Values.VolumeOx, EvaluatorPi * 9.0001125, 1e-9);
  ASSERT_EQ(static_cast<int>(r.Curve.size()), RevolutionPreviewPoints);
  EXPECT_DOUBLE_EQ(r.Curve.front().X, 0);
  EXPECT_NEAR(r.Curve[50].Y, 1.5, 1e-12);
  EXPECT_NEAR(r.Curve.back().Y, 3, 1e-12);
  doc[p].RefCount = 11;
  EXPECT_TRUE(Run(p).NoSolid);
}

// The polynomial reaches the integrals as a formula: a coefficient of 0.00005 must come out as
// a number the evaluator reads, or every sample fails and the four values are 0.
TEST_F(RevolutionTest, PolynomialWithASmallCoefficient) {
  const int p = AddObject(okPolynomial);
  doc[p].RefCount = 3;
  doc[p].Coef(1) = 1; // y = 1 + 0.00005 x, with a fit's rounding noise as its x² term
  doc[p].Coef(2) = 0.00005;
  doc[p].Coef(3) = -3e-17;
  doc[p].ExtA() = 0;
  doc[p].ExtB() = 1;
  const RevolutionOutcome r = Run(p);
  EXPECT_NEAR(r.Values.SurfaceOx, 2 * Pi * 1.000025, 1e-4);
  EXPECT_NEAR(r.Values.VolumeOx, EvaluatorPi * 1.00005, 1e-4);
  EXPECT_NEAR(r.Values.SurfaceOy, Pi, 1e-4);
  EXPECT_NEAR(r.Values.VolumeOy, Pi * (1 + 0.00005 * 2 / 3), 1e-4);
}

// The evaluator takes 0^0 as 0: the constant term must still count where x is sampled at 0.
TEST_F(RevolutionTest, PolynomialConstantTermCountsAtZero) {
  const int p = AddObject(okPolynomial);
  doc[p].RefCount = 1;
  doc[p].Coef(1) = 2;
  doc[p].ExtA() = -1;
  doc[p].ExtB() = 1;
  const RevolutionOutcome r = Run(p);
  EXPECT_NEAR(r.Values.VolumeOx, EvaluatorPi * 4 * 2, 1e-9);
  EXPECT_NEAR(r.Values.SurfaceOx, 2 * Pi * 2 * 2, 1e-6);
}

TEST_F(RevolutionTest, GraphAndParametricCurve) {
  const int g = AddGraph(1, "1", "", 0, 1);
  const RevolutionOutcome rg = Run(g);
  EXPECT_NEAR(rg.Values.VolumeOx, EvaluatorPi, 1e-12);
  EXPECT_NEAR(rg.Values.SurfaceOx, 2 * Pi * (1 + 2e-9), 1e-12);
  EXPECT_NEAR(rg.Values.VolumeOy, Pi, 1e-12);
  EXPECT_NEAR(rg.Curve.back().X, 1, 1e-12);
  EXPECT_NEAR(rg.Curve.back().Y, 1, 1e-12);

  const int c = AddGraph(2, "t", "1", 0, 1); // the segment x = t, y = 1
  const RevolutionOutcome rc = Run(c);
  EXPECT_NEAR(rc.Values.VolumeOx, Pi, 1e-6);
  EXPECT_NEAR(rc.Values.SurfaceOy, Pi, 1e-6);
  EXPECT_NEAR(rc.Curve[25].X, 0.25, 1e-12);
  EXPECT_NEAR(rc.Curve[25].Y, 1, 1e-12);
  EXPECT_FALSE(ui.ProgressVisible);
}

TEST_F(RevolutionTest, UndefinedCurveOrVertexHasNoSolid) {
  const int a = AddPoint(0, 1), b = AddPoint(1, 1);
  const int poly = AddObject(okPolyline);
  doc[poly].RefCount = 2;
  doc[poly].Refs[1] = static_cast<int16_t>(a);
  doc[poly].Refs[2] = static_cast<int16_t>(b);
  doc[b].Defined = 0;
  EXPECT_TRUE(Run(poly).NoSolid);
  doc[b].Defined = 1;
  EXPECT_FALSE(Run(poly).NoSolid);
  doc[poly].Defined = 0;
  EXPECT_TRUE(Run(poly).NoSolid);
  const int g = AddGraph(1, "1", "", 0, 1);
  doc[g].Defined = 0;
  const RevolutionOutcome r = Run(g);
  EXPECT_TRUE(r.NoSolid);
  EXPECT_TRUE(r.Curve.empty());
  EXPECT_TRUE(ui.ProgressMessages.empty());
}

TEST_F(RevolutionTest, GraphThatFailsInsideHasUnknownMeasuresAndABrokenCurve) {
  const int g = AddGraph(1, "sqrt(x)", "", -1, 1);
  const RevolutionOutcome r = Run(g);
  EXPECT_FALSE(r.NoSolid);
  EXPECT_FALSE(r.Values.SurfaceOxKnown || r.Values.VolumeOxKnown || r.Values.SurfaceOyKnown || r.Values.VolumeOyKnown);
  EXPECT_NE(calc.CalcError, 0);
  ASSERT_EQ(static_cast<int>(r.Curve.size()), RevolutionPreviewPoints);
  EXPECT_FALSE(r.Curve[0].Defined);
  EXPECT_FALSE(r.Curve[49].Defined);
  EXPECT_TRUE(r.Curve[50].Defined);
  EXPECT_NEAR(r.Curve[100].Y, 1, 1e-12);
  EXPECT_FALSE(state.Solids.VolumeOxKnown);
}

// A polynomial of ten nodes: ten coefficients are more numbers than one formula can hold.
TEST_F(RevolutionTest, PolynomialOfTenNodes) {
  // Nodes on y = 1 + x^2 at x = 0, 0.5, ..., 4.5: the fit is that parabola.
  double xs[MaxPolynomialNodes], ys[MaxPolynomialNodes];
  for (int j = 0; j < MaxPolynomialNodes; ++j) {
    xs[j] = 0.5 * j;
    ys[j] = 1 + xs[j] * xs[j];
  }
  const PolynomialFit fit = SolvePolynomialCoefficients(xs, ys, MaxPolynomialNodes);
  const int p = AddObject(okPolynomial);
  doc[p].RefCount = MaxPolynomialNodes;
  for (int k = 1; k <= MaxPolynomialNodes; ++k)
    doc[p].Coef(k) = fit.Coef[static_cast<std::size_t>(k - 1)];
  doc[p].ExtA() = 0;
  doc[p].ExtB() = 4.5;
  const RevolutionOutcome r = Run(p);
  EXPECT_TRUE(r.Values.AllKnown());
  EXPECT_EQ(calc.CalcError, 0);
  // pi * integral of (1 + x^2)^2 = pi (b + 2 b^3 / 3 + b^5 / 5); 2 pi * (b^2 / 2 + b^4 / 4).
  const double b = 4.5;
  const double volumeOx = EvaluatorPi * (b + 2 * b * b * b / 3 + std::pow(b, 5) / 5);
  EXPECT_NEAR(r.Values.VolumeOx, volumeOx, volumeOx * 1e-4);
  const double volumeOy = 2 * Pi * (b * b / 2 + b * b * b * b / 4);
  EXPECT_NEAR(r.Values.VolumeOy, volumeOy, volumeOy * 1e-4);
  EXPECT_GT(r.Values.SurfaceOx, 0);
  EXPECT_GT(r.Values.SurfaceOy, 0);
}

TEST_F(RevolutionTest, OtherObjectsHaveNoSolid) {
  const int polar = AddGraph(3, "1", "", 0, 6);
  const int pt = AddPoint(1, 1);
  EXPECT_TRUE(Run(polar).NoSolid);
  EXPECT_TRUE(Run(pt).NoSolid);
  EXPECT_TRUE(Run(0).NoSolid);
  EXPECT_TRUE(Run(doc.ObjCount + 1).NoSolid);
  const int g = AddGraph(1, "1", "", 0, 1);
  EXPECT_TRUE(Run(g, 0).NoSolid);
  EXPECT_TRUE(ui.ProgressMessages.empty());
}

TEST_F(RevolutionTest, RefusedWhileAnotherCalculationRuns) {
  const int g = AddGraph(1, "1", "", 0, 1);
  CalculationGuard running(state);
  const RevolutionOutcome r = Run(g);
  EXPECT_TRUE(r.Refused);
  EXPECT_TRUE(r.Curve.empty());
  EXPECT_TRUE(ui.ProgressMessages.empty());
}

// A desktop whose pending events edit the object being measured.
class EditingPlatform : public ScriptedPlatform {
public:
  void ProcessPendingEvents() override {
    ScriptedPlatform::ProcessPendingEvents();
    if (target == nullptr) return;
    target->Y1 = 100;
    target->Expr1.Assign("2");
  }
  TGeomObject* target = nullptr;
};

TEST(RevolutionEdited, ObjectChangedDuringTheCalculationDoesNotMixIn) {
  DS_Calc calc;
  EditingPlatform ui;
  MsgTable msg;
  CalculusState state;
  CalcContext ctx{calc, ui, msg, 200, state};
  Construction doc;
  doc.ObjCount = 1;
  doc[1].Kind = okFunction;
  doc[1].Defined = 1;
  doc[1].FuncType = 1;
  doc[1].Expr1.Assign("1");
  doc[1].X1 = 0;
  doc[1].Y1 = 1;
  ui.target = &doc[1];
  const RevolutionOutcome r = RevolutionSolids(ctx, doc, 1, Unit);
  EXPECT_NEAR(r.Values.VolumeOx, EvaluatorPi, 1e-12);
  EXPECT_NEAR(r.Values.VolumeOy, Pi, 1e-12);
  EXPECT_NEAR(r.Curve.back().X, 1, 1e-12);
  EXPECT_NEAR(r.Curve.back().Y, 1, 1e-12);
}

} // namespace
} // namespace drex
