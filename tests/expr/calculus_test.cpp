#include "expr/calculus.h"

#include <cmath>
#include <utility>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/scripted_platform.h"

namespace drex {
namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double EvaluatorPi = 3.1415926; // what "pi" means inside a formula

class CalculusTest : public ::testing::Test {
protected:
  CalcContext Ctx(int steps = 200) { return CalcContext{calc, ui, msg, steps, state}; }

  DS_Calc calc;
  ScriptedPlatform ui;
  MsgTable msg;
  CalculusState state;
};

TEST_F(CalculusTest, TrapezoidOfPolynomialsAndSine) {
  CalcContext ctx = Ctx();
  EXPECT_DOUBLE_EQ(IntegrateTrapezoid(ctx, "x", 'X', 10, 0).Value, 50);
  EXPECT_NEAR(IntegrateTrapezoid(ctx, "x^2", 'X', 3, 0).Value, 9.0001125, 1e-9);
  EXPECT_NEAR(IntegrateTrapezoid(ctx, "x^2", 'X', 0, 3).Value, -9.0001125, 1e-9);
  // The trapezoid rule errs by (b-a) h^2 / 12 * f'' at most: about 4e-5 here.
  EXPECT_NEAR(IntegrateTrapezoid(ctx, "sin(x)", 'X', Pi, 0).Value, 2, 5e-5);
  EXPECT_EQ(calc.CalcError, 0);
  // Other variable letters, and a variable inside a function name left alone.
  EXPECT_NEAR(IntegrateTrapezoid(ctx, "exp(t)", 'T', 1, 0).Value, std::exp(1.0) - 1, 1e-5);
}

TEST_F(CalculusTest, TrapezoidShowsOneProgressStepPerSample) {
  state.DerivativeUnstable = true;
  CalcContext ctx = Ctx(300);
  const CalcOutcome r = IntegrateTrapezoid(ctx, "1", 'X', 1, 0);
  EXPECT_FALSE(r.Refused);
  EXPECT_NEAR(r.Value, 1, 1e-12);
  EXPECT_EQ(ui.ProgressMessages, std::vector<std::string>{msg[5]});
  EXPECT_EQ(ui.ProgressMaximum, 301);
  EXPECT_EQ(ui.ProgressPosition, 301);
  EXPECT_EQ(ui.PendingEventCalls, 301);
  EXPECT_FALSE(ui.ProgressVisible);
  EXPECT_FALSE(state.DerivativeUnstable);
}

TEST_F(CalculusTest, AnyFailedSampleFailsTheIntegralWithTheFirstFailuresCode) {
  CalcContext ctx = Ctx();
  // sqrt fails on the negative half: no number comes out, whichever way the range is walked and
  // although the walk from -1 up ends on a good sample.
  for (const auto& [upper, lower] : {std::pair{-1.0, 1.0}, std::pair{1.0, -1.0}}) {
    const CalcOutcome r = IntegrateTrapezoid(ctx, "sqrt(x)", 'X', upper, lower);
    EXPECT_TRUE(r.Failed);
    EXPECT_EQ(r.Value, 0);
    EXPECT_EQ(calc.CalcError, CalcMathError);
    EXPECT_FALSE(ui.ProgressVisible);
  }
  // 1/x over -1..1: only the sample at 0 fails, with its own code.
  const CalcOutcome pole = IntegrateTrapezoid(ctx, "1/x", 'X', 1, -1);
  EXPECT_TRUE(pole.Failed);
  EXPECT_EQ(calc.CalcError, CalcNearZeroDivisor);
  // A good integral afterwards clears the code again.
  const CalcOutcome good = IntegrateTrapezoid(ctx, "1/x", 'X', 2, 1);
  EXPECT_FALSE(good.Failed);
  EXPECT_EQ(calc.CalcError, 0);
  EXPECT_NEAR(good.Value, std::log(2.0), 1e-5);
  // Every sample of e^x up to 800 is a number, but their sum is beyond a double.
  const CalcOutcome huge = IntegrateTrapezoid(ctx, "exp(x)", 'X', 800, 0);
  EXPECT_TRUE(huge.Failed);
  EXPECT_EQ(huge.Value, 0);
  EXPECT_EQ(calc.CalcError, CalcMathError);
  // A text the evaluator refuses gives 0 and a positive code.
  EXPECT_TRUE(IntegrateTrapezoid(ctx, "x+", 'X', 1, 0).Failed);
  EXPECT_GT(calc.CalcError, 0);
}

TEST_F(CalculusTest, EverySampledRoutineFailsWhereTheCurveCannotBeEvaluatedInside) {
  CalcContext ctx = Ctx();
  EXPECT_TRUE(VolumeAboutOx(ctx, "sqrt(x)", 1, -1).Failed);
  EXPECT_TRUE(VolumeAboutOy(ctx, "sqrt(x)", 1, -1).Failed);
  EXPECT_TRUE(SurfaceAboutOx(ctx, "sqrt(x)", 1, -1).Failed);
  EXPECT_TRUE(SurfaceAboutOy(ctx, "sqrt(x)", -1, 1).Failed);
  EXPECT_EQ(calc.CalcError, CalcMathError);
  EXPECT_TRUE(ParametricVolume(ctx, "sqrt(t)", "t", 1, -1).Failed);
  EXPECT_TRUE(ParametricSurface(ctx, "t", "sqrt(t)", 1, -1).Failed);
  // A derivative whose samples fail is no number either.
  const CalcOutcome d = Differentiate(ctx, "1/x", 'X', 0);
  EXPECT_TRUE(d.Failed);
  EXPECT_EQ(calc.CalcError, CalcNearZeroDivisor);
  // Bounds that are no numbers (a damaged record) fail without a sample.
  EXPECT_TRUE(VolumeAboutOy(ctx, "1", std::nan(""), 0).Failed);
  EXPECT_TRUE(SurfaceAboutOx(ctx, "1", 0, INFINITY).Failed);

  const SolidsOutcome s = GraphSolids(ctx, "sqrt(x)", -1, 1);
  EXPECT_FALSE(s.Refused);
  EXPECT_FALSE(s.Values.SurfaceOxKnown || s.Values.VolumeOxKnown || s.Values.SurfaceOyKnown || s.Values.VolumeOyKnown);
  EXPECT_EQ(s.Values.VolumeOx, 0);
  EXPECT_EQ(calc.CalcError, CalcMathError);
  const SolidsOutcome ok = GraphSolids(ctx, "sqrt(x)", 0, 1);
  EXPECT_TRUE(ok.Values.AllKnown());
  EXPECT_EQ(calc.CalcError, 0);
}

TEST_F(CalculusTest, StepCountIsHeldToTheSettingRange) {
  CalcContext one = Ctx(0);
  EXPECT_DOUBLE_EQ(IntegrateTrapezoid(one, "x^2", 'X', 2, 0).Value, 4); // a single trapezoid
  EXPECT_EQ(ui.ProgressMaximum, 2);
  CalcContext many = Ctx(1000000);
  IntegrateTrapezoid(many, "x", 'X', 1, 0);
  EXPECT_EQ(ui.ProgressMaximum, MaxIntegrationSteps + 1);
}

struct DerivativeCase {
  const char* text;
  double x;
  double value;
  bool unstable;
  int calcError;
};

class DerivativeTable : public CalculusTest, public ::testing::WithParamInterface<DerivativeCase> {};

TEST_P(DerivativeTable, Value) {
  const DerivativeCase& c = GetParam();
  CalcContext ctx = Ctx();
  const CalcOutcome r = Differentiate(ctx, c.text, 'X', c.x);
  EXPECT_FALSE(r.Refused);
  EXPECT_EQ(state.DerivativeUnstable, c.unstable) << c.text;
  EXPECT_EQ(calc.CalcError, c.calcError) << c.text;
  if (!c.unstable) {
    EXPECT_NEAR(r.Value, c.value, 1e-4) << c.text;
  }
  EXPECT_TRUE(ui.ProgressMessages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    ClosedForms, DerivativeTable,
    ::testing::Values(DerivativeCase{"x^3", 2, 12, false, 0}, DerivativeCase{"sin(x)", 0, 1, false, 0},
                      DerivativeCase{"cos(x)", 1, -std::sin(1.0), false, 0},
                      DerivativeCase{"exp(x)", 1, std::exp(1.0), false, 0}, DerivativeCase{"ln(x)", 0.5, 2, false, 0},
                      DerivativeCase{"3*x-7", -4, 3, false, 0}, DerivativeCase{"5", 3, 0, false, 0},
                      // The symmetric difference sees no kink.
                      DerivativeCase{"abs(x)", 0, 0, false, 0},
                      // Both samples fail with a near-zero divisor: no derivative, the code kept.
                      DerivativeCase{"1/x", 0, 0, false, CalcNearZeroDivisor},
                      // One side undefined, the other steepening as the step halves.
                      DerivativeCase{"sqrt(x)", 0, 0, true, CalcMathError}));

TEST_F(CalculusTest, DerivativeThatOverflowsIsUnstableAndZero) {
  CalcContext ctx = Ctx();
  // The slope of e^(11000 x) at 1 is far beyond a double.
  const CalcOutcome r = Differentiate(ctx, "exp(11000*x)", 'X', 1);
  EXPECT_TRUE(state.DerivativeUnstable);
  EXPECT_EQ(r.Value, 0);
}

TEST_F(CalculusTest, VolumesOfCylinderConeAndSphere) {
  CalcContext ctx = Ctx();
  EXPECT_NEAR(VolumeAboutOx(ctx, "1", 1, 0).Value, EvaluatorPi, 1e-12);
  EXPECT_NEAR(VolumeAboutOx(ctx, "1", 0, 1).Value, EvaluatorPi, 1e-12); // always positive
  EXPECT_EQ(ui.ProgressMessages.back(), msg[5]);
  // The cone y = x, 0..3, about Ox: pi r^2 h / 3 with the trapezoid error of x^2.
  EXPECT_NEAR(VolumeAboutOx(ctx, "x", 3, 0).Value, EvaluatorPi * 9.0001125, 1e-9);
  // The unit sphere from the half circle.
  EXPECT_NEAR(VolumeAboutOx(ctx, "sqrt(1-x^2)", 1, -1).Value, 4 * Pi / 3, 1e-3);
  // About Oy: y = 1 on 0..1 is the unit cylinder, on 0..2 the cylinder of radius 2.
  EXPECT_NEAR(VolumeAboutOy(ctx, "1", 1, 0).Value, Pi, 1e-12);
  EXPECT_NEAR(VolumeAboutOy(ctx, "1", 2, 0).Value, 4 * Pi, 1e-12);
  // y = x on 0..1 about Oy: the cylinder less the cone, 2 pi / 3.
  EXPECT_NEAR(VolumeAboutOy(ctx, "x", 1, 0).Value, 2 * Pi / 3, 1e-4);
}

TEST_F(CalculusTest, SurfacesOfCylinderConeAndDisc) {
  CalcContext ctx = Ctx();
  const double widened = 2 * Pi * (1 + 2e-9);
  EXPECT_NEAR(SurfaceAboutOx(ctx, "1", 0, 1).Value, widened, 1e-12);
  EXPECT_NEAR(SurfaceAboutOx(ctx, "1", 1, 0).Value, widened, 1e-12);
  EXPECT_EQ(ui.ProgressMessages.back(), msg[6]);
  EXPECT_EQ(ui.ProgressMaximum, 201);
  EXPECT_FALSE(ui.ProgressVisible);
  // Lateral surface of the cone y = x, 0..1: pi r l = pi sqrt 2, about either axis. The slopes
  // see x through the 10 decimals of the substituted number, which costs some 1e-4.
  EXPECT_NEAR(SurfaceAboutOx(ctx, "x", 0, 1).Value, Pi * std::sqrt(2.0), 1e-3);
  EXPECT_NEAR(SurfaceAboutOy(ctx, "x", 0, 1).Value, Pi * std::sqrt(2.0), 1e-3);
  // y = 1 about Oy sweeps the unit disc; the negative side gives the same area.
  EXPECT_NEAR(SurfaceAboutOy(ctx, "1", 0, 1).Value, Pi, 1e-6);
  EXPECT_NEAR(SurfaceAboutOy(ctx, "1", -1, 0).Value, Pi, 1e-6);
  // The sphere: the widening steps out of the root's domain at both ends, and the slope is
  // infinite there; the ends' shares come from the chords next to them.
  const CalcOutcome sphere = SurfaceAboutOx(ctx, "sqrt(1-x^2)", -1, 1);
  EXPECT_FALSE(sphere.Failed);
  EXPECT_NEAR(sphere.Value, 4 * Pi, 1e-3);
  // The paraboloid y = x^2, 0..1, about Oy: pi / 6 * (5 sqrt 5 - 1).
  EXPECT_NEAR(SurfaceAboutOy(ctx, "x^2", 0, 1).Value, Pi / 6 * (5 * std::sqrt(5.0) - 1), 1e-3);
}

TEST_F(CalculusTest, ParametricCurvesTurnedAboutEitherAxis) {
  CalcContext ctx = Ctx();
  // The half circle x = cos t, y = sin t about Ox is the unit sphere.
  EXPECT_NEAR(ParametricVolume(ctx, "sin(t)", "cos(t)", Pi, 0).Value, 4 * Pi / 3, 1e-4);
  EXPECT_EQ(ui.ProgressMessages.back(), msg[7]);
  EXPECT_NEAR(ParametricSurface(ctx, "sin(t)", "cos(t)", Pi, 0).Value, 4 * Pi, 1e-3);
  EXPECT_EQ(ui.ProgressMessages.back(), msg[6]);

  // The segment x = t, y = 1 for t in 0..1.
  const SolidsOutcome s = ParametricSolids(ctx, "t", "1", 0, 1);
  EXPECT_FALSE(s.Refused);
  EXPECT_NEAR(s.Values.VolumeOx, Pi, 1e-6);
  EXPECT_NEAR(s.Values.SurfaceOx, 2 * Pi, 1e-6);
  EXPECT_NEAR(s.Values.VolumeOy, 0, 1e-9);
  EXPECT_NEAR(s.Values.SurfaceOy, Pi, 1e-6);
  EXPECT_NEAR(state.Solids.SurfaceOy, Pi, 1e-6);
}

TEST_F(CalculusTest, GraphAndPolynomialSolidsAgreeWithTheSingleRoutines) {
  CalcContext ctx = Ctx(100);
  const SolidsOutcome g = GraphSolids(ctx, "x", 0, 1);
  EXPECT_NEAR(g.Values.SurfaceOx, SurfaceAboutOx(ctx, "x", 1, 0).Value, 1e-12);
  EXPECT_NEAR(g.Values.VolumeOx, VolumeAboutOx(ctx, "x", 1, 0).Value, 1e-12);
  EXPECT_NEAR(g.Values.SurfaceOy, SurfaceAboutOy(ctx, "x", 1, 0).Value, 1e-12);
  EXPECT_NEAR(g.Values.VolumeOy, VolumeAboutOy(ctx, "x", 1, 0).Value, 1e-12);

  const double c[] = {0, 1}; // the polynomial x
  const SolidsOutcome p = PolynomialSolids(ctx, 2, c, 0, 1);
  EXPECT_NEAR(p.Values.SurfaceOx, g.Values.SurfaceOx, 1e-9);
  EXPECT_NEAR(p.Values.VolumeOy, g.Values.VolumeOy, 1e-9);
  EXPECT_NEAR(state.Solids.VolumeOx, g.Values.VolumeOx, 1e-9);
}

TEST_F(CalculusTest, PolynomialWithATinyCoefficientCountsLikeAnyOther) {
  // A coefficient below 0.00001 (a fit's rounding noise too) is written as a plain number the
  // formula reads, so the solids are those of the polynomial without it, within its size.
  CalcContext ctx = Ctx(100);
  const double c[] = {0.000001, 1, -2e-17};
  const double plain[] = {0, 1};
  const SolidsOutcome p = PolynomialSolids(ctx, 3, c, 0, 1);
  EXPECT_EQ(calc.CalcError, 0);
  const SolidsOutcome q = PolynomialSolids(ctx, 2, plain, 0, 1);
  EXPECT_GT(q.Values.VolumeOx, 1);
  EXPECT_NEAR(p.Values.SurfaceOx, q.Values.SurfaceOx, 1e-4);
  EXPECT_NEAR(p.Values.VolumeOx, q.Values.VolumeOx, 1e-4);
  EXPECT_NEAR(p.Values.SurfaceOy, q.Values.SurfaceOy, 1e-4);
  EXPECT_NEAR(p.Values.VolumeOy, q.Values.VolumeOy, 1e-4);
}

// A graph whose slope is infinite at an end of its interval, and whose widened range steps out of
// its domain there, still has its finite surface.
TEST_F(CalculusTest, SurfaceWithAnInfiniteSlopeAtAnEnd) {
  CalcContext ctx = Ctx();
  // y = sqrt(x) on 0..4 about Ox: pi / 6 * (17 sqrt 17 - 1).
  const double paraboloid = Pi / 6 * (17 * std::sqrt(17.0) - 1);
  for (const auto& [b1, b2] : {std::pair{0.0, 4.0}, std::pair{4.0, 0.0}}) {
    const CalcOutcome s = SurfaceAboutOx(ctx, "sqrt(x)", b1, b2);
    EXPECT_FALSE(s.Failed);
    EXPECT_EQ(calc.CalcError, 0);
    EXPECT_NEAR(s.Value, paraboloid, 2e-3);
  }
  // Its volume about Ox is pi x^2 / 2 = 8 pi, and about Oy 2 pi * 2/5 * 4^(5/2) = 128 pi / 5.
  EXPECT_NEAR(VolumeAboutOx(ctx, "sqrt(x)", 4, 0).Value, EvaluatorPi * 8, 1e-9);
  EXPECT_NEAR(VolumeAboutOy(ctx, "sqrt(x)", 4, 0).Value, 128 * Pi / 5, 2e-3);
  // About Oy the same end has radius 0: 2 pi * integral of sqrt(x^2 + x/4) over 0..4, 53.225965
  // by a fine quadrature.
  EXPECT_NEAR(SurfaceAboutOy(ctx, "sqrt(x)", 0, 4).Value, 53.225965, 2e-3);
  // The hemisphere y = sqrt(1 - x^2) on 0..1 about Oy, with the infinite slope at x = 1 away
  // from the axis: 2 pi.
  EXPECT_NEAR(SurfaceAboutOy(ctx, "sqrt(1-x^2)", 0, 1).Value, 2 * Pi, 0.05);
}

TEST_F(CalculusTest, VolumeAboutOyIsTheSweptSolidOnBothSidesAndSigns) {
  CalcContext ctx = Ctx();
  // y = x^2 on -1..1: both halves sweep the same solid, 2 pi * 1/4.
  EXPECT_NEAR(VolumeAboutOy(ctx, "x^2", 1, -1).Value, Pi / 2, 1e-4);
  EXPECT_NEAR(VolumeAboutOy(ctx, "x^2", -1, 1).Value, Pi / 2, 1e-4);
  // y = x on -1..1: the halves lie on both sides of Ox, their ranges add: 4 pi / 3.
  EXPECT_NEAR(VolumeAboutOy(ctx, "x", 1, -1).Value, 4 * Pi / 3, 1e-4);
  // y = x^2 on -1..2: both sides up to radius 1, the right one alone beyond.
  EXPECT_NEAR(VolumeAboutOy(ctx, "x^2", 2, -1).Value, 2 * Pi * 4, 1e-3);
  // A graph on the left only: y = 1 on -3..-1 sweeps a ring, pi (9 - 1).
  EXPECT_NEAR(VolumeAboutOy(ctx, "1", -1, -3).Value, 8 * Pi, 1e-9);
  // y = x - 1 on 0..2 changes sign: 2 pi * (1/6 + 5/6), not the cancelled 4 pi / 3.
  EXPECT_NEAR(VolumeAboutOy(ctx, "x-1", 2, 0).Value, 2 * Pi, 1e-3);
  EXPECT_EQ(ui.ProgressMessages.back(), msg[5]);
  EXPECT_FALSE(ui.ProgressVisible);
  // An empty interval sweeps nothing.
  EXPECT_EQ(VolumeAboutOy(ctx, "x", 1, 1).Value, 0);
}

TEST_F(CalculusTest, ParametricVolumeWhoseSidesWouldCancelCannotBeComputed) {
  CalcContext ctx = Ctx();
  // The full circle about Ox: the halves above and below would cancel to 0.
  const SolidsOutcome circle = ParametricSolids(ctx, "cos(t)", "sin(t)", 0, 2 * Pi);
  EXPECT_FALSE(circle.Values.VolumeOxKnown);
  EXPECT_FALSE(circle.Values.VolumeOyKnown);
  EXPECT_EQ(circle.Values.VolumeOx, 0);
  EXPECT_TRUE(circle.Values.SurfaceOxKnown);
  EXPECT_EQ(calc.CalcError, CalcMathError);
  // The half circle about Ox is the sphere, about Oy its halves would cancel.
  const SolidsOutcome half = ParametricSolids(ctx, "cos(t)", "sin(t)", 0, Pi);
  EXPECT_TRUE(half.Values.VolumeOxKnown);
  EXPECT_NEAR(half.Values.VolumeOx, 4 * Pi / 3, 1e-4);
  EXPECT_NEAR(half.Values.SurfaceOx, 4 * Pi, 1e-3);
  EXPECT_FALSE(half.Values.VolumeOyKnown);
  EXPECT_TRUE(ParametricVolume(ctx, "cos(t)", "sin(t)", Pi, 0).Failed);
  // The segment x = t, y = t across the origin: two cones on the two sides, which add.
  const SolidsOutcome cones = ParametricSolids(ctx, "t", "t", -1, 1);
  EXPECT_TRUE(cones.Values.AllKnown());
  EXPECT_NEAR(cones.Values.VolumeOx, 2 * Pi / 3, 2e-4);
  EXPECT_NEAR(cones.Values.VolumeOy, 2 * Pi / 3, 2e-4);
  EXPECT_EQ(calc.CalcError, 0);
}

TEST_F(CalculusTest, ParametricEndWithAnInfiniteSlope) {
  CalcContext ctx = Ctx();
  // x = t, y = sqrt(t) on 0..4: the derivative of y cannot be had at t = 0 (one side is outside
  // the root's domain); the paraboloid's measures are those of the graph.
  const SolidsOutcome p = ParametricSolids(ctx, "t", "sqrt(t)", 0, 4);
  EXPECT_TRUE(p.Values.AllKnown());
  EXPECT_NEAR(p.Values.SurfaceOx, Pi / 6 * (17 * std::sqrt(17.0) - 1), 5e-3);
  EXPECT_NEAR(p.Values.VolumeOx, 8 * Pi, 1e-3);
}

TEST_F(CalculusTest, PolynomialSolidsFromTheCoefficients) {
  CalcContext ctx = Ctx();
  // y = 2 + x^2 on -1..1: the constant term counts at x = 0.
  const double c[] = {2, 0, 1};
  const SolidsOutcome p = PolynomialSolids(ctx, 3, c, -1, 1);
  EXPECT_TRUE(p.Values.AllKnown());
  EXPECT_EQ(calc.CalcError, 0);
  // pi * integral of (2 + x^2)^2 = pi (8 + 8/3 + 2/5), with the trapezoid's error.
  EXPECT_NEAR(p.Values.VolumeOx, EvaluatorPi * (8 + 8.0 / 3 + 0.4), 2e-3);
  // Both halves sweep the same solid about Oy: 2 pi (1 + 1/4).
  EXPECT_NEAR(p.Values.VolumeOy, 2 * Pi * 1.25, 1e-3);
  // The same measures as the graph of its formula, sample for sample.
  const SolidsOutcome g = GraphSolids(ctx, "2+x^2", -1, 1);
  EXPECT_NEAR(p.Values.VolumeOx, g.Values.VolumeOx, 1e-9);
  EXPECT_NEAR(p.Values.VolumeOy, g.Values.VolumeOy, 1e-9);
  // 2 pi * integral of (2 + x^2) sqrt(1 + 4 x^2) over -1..1 is 44.789348 by a fine quadrature;
  // the polynomial's exact slope and the formula's numerical one both come within the rule's error.
  EXPECT_NEAR(p.Values.SurfaceOx, 44.789348, 2e-3);
  EXPECT_NEAR(g.Values.SurfaceOx, 44.789348, 2e-3);
  EXPECT_NEAR(p.Values.SurfaceOy, g.Values.SurfaceOy, 2e-3);
  EXPECT_EQ(ui.ProgressMessages,
            (std::vector<std::string>{msg[6], msg[5], msg[6], msg[5], msg[6], msg[5], msg[6], msg[5]}));

  // Coefficients a formula could not carry: tiny ones, and ten of them.
  const double tiny[] = {1e-7, 3e-6};
  const SolidsOutcome t = PolynomialSolids(ctx, 2, tiny, 0, 1);
  // pi * integral of (1e-7 + 3e-6 x)^2 over 0..1 = pi (1e-14 + 3e-13 + 3e-12).
  EXPECT_NEAR(t.Values.VolumeOx, EvaluatorPi * (1e-14 + 3e-13 + 3e-12), 1e-15);
  EXPECT_GT(t.Values.SurfaceOx, 0);
  double ten[10] = {1, 1};
  const SolidsOutcome line = PolynomialSolids(ctx, 10, ten, 0, 2); // 1 + x with eight zero terms
  EXPECT_TRUE(line.Values.AllKnown());
  EXPECT_NEAR(line.Values.VolumeOx, EvaluatorPi * (27.0 - 1) / 3, 1e-3);
  EXPECT_NEAR(line.Values.SurfaceOx, Pi * (1 + 3) * std::sqrt(8.0), 1e-6);
}

// A desktop that, while a calculation lets it run its events, tries to start another one.
class ReentrantPlatform : public ScriptedPlatform {
public:
  void ProcessPendingEvents() override {
    ScriptedPlatform::ProcessPendingEvents();
    if (ctx == nullptr || tried) return;
    tried = true;
    nested.push_back(IntegrateTrapezoid(*ctx, "x", 'X', 1, 0));
    nested.push_back(Differentiate(*ctx, "x^2", 'X', 1));
    const SolidsOutcome s = GraphSolids(*ctx, "1", 0, 1);
    nested.push_back({s.Values.VolumeOx, s.Refused});
  }
  CalcContext* ctx = nullptr;
  bool tried = false;
  std::vector<CalcOutcome> nested;
};

TEST(CalculusGuard, SecondCalculationIsRefusedWhileOneRuns) {
  DS_Calc calc;
  ReentrantPlatform ui;
  MsgTable msg;
  CalculusState state;
  CalcContext ctx{calc, ui, msg, 200, state};
  ui.ctx = &ctx;

  const CalcOutcome outer = SurfaceAboutOx(ctx, "1", 0, 1);
  EXPECT_FALSE(outer.Refused);
  EXPECT_NEAR(outer.Value, 2 * Pi * (1 + 2e-9), 1e-12);
  ASSERT_EQ(ui.nested.size(), 3u);
  for (const CalcOutcome& n : ui.nested) {
    EXPECT_TRUE(n.Refused);
    EXPECT_EQ(n.Value, 0);
  }
  // Only the outer calculation showed the progress window.
  EXPECT_EQ(ui.ProgressMessages.size(), 1u);
  EXPECT_FALSE(state.Busy());

  // Once it has ended, the next one runs.
  ui.ctx = nullptr;
  EXPECT_FALSE(IntegrateTrapezoid(ctx, "x", 'X', 1, 0).Refused);
}

TEST(CalculusGuard, GuardReleasesOnlyWhatItHeld) {
  CalculusState state;
  {
    CalculationGuard first(state);
    EXPECT_TRUE(first.Held());
    {
      CalculationGuard second(state);
      EXPECT_FALSE(second.Held());
    }
    EXPECT_TRUE(state.Busy());
  }
  EXPECT_FALSE(state.Busy());
}

} // namespace
} // namespace drex
