#include "expr/calculus.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <vector>

#include "expr/polynomial.h"

namespace drex {

namespace {

constexpr long double Pi = 3.14159265358979323846264338327950288L;
constexpr long double TwoPi = 6.283185307179586477L;
// What "pi" is inside a formula. The volume of a graph about the x-axis is that of the formula
// pi*(f)^2, so a polynomial and the graph of its formula give the same volume.
constexpr long double FormulaPi = 3.1415926L;

// Texts of the progress window.
constexpr int MsgIntegral = 5;
constexpr int MsgSurface = 6;
constexpr int MsgVolume = 7;

// Central differences: the first step, the agreement that ends the halving, the start estimate
// that no real derivative matches, and a bound on the halvings (the substituted texts stop
// changing long before it).
constexpr long double DerivativeFirstStep = 0.0000001L;
constexpr long double DerivativeTolerance = 0.0001L;
constexpr long double DerivativeStart = 99999999999.0L;
constexpr int DerivativeMaxHalvings = 64;

// The surface ranges are widened by this much at each end.
constexpr long double SurfaceWidening = 0.000000001L;

int Steps(const CalcContext& ctx) { return std::clamp(ctx.IntegrationSteps, 1, MaxIntegrationSteps); }

bool FitsDouble(long double v) { return std::isfinite(v) && std::fabs(v) <= DBL_MAX; }

// A value of a curve at one point, or the code of the failure that kept it from being computed.
struct Eval {
  long double Value = 0;
  int Error = 0;
};

// A slope: the estimate, the first failure among its samples, and whether it settled.
struct Slope {
  long double Value = 0;
  int Error = 0;
  bool Unstable = false;
};

// A computed measure: the value, or the code of what kept it from being computed.
struct Measure {
  double Value = 0;
  int Error = 0;
};

// The first failure among several measures.
struct FirstFailure {
  int Code = 0;
  void Note(int code) {
    if (Code == 0) Code = code;
  }
};

Eval Sample(DS_Calc& calc, const std::string& text, char letter, long double at) {
  const long double v = calc.EvaluateExpression(SubstituteVariable(text, letter, at));
  if (calc.CalcError != 0) return {0, calc.CalcError};
  return {v, 0};
}

// Central differences with a halving step. A failed sample counts as 0 for the estimate, which is
// then of no use, but the halving goes on so that a slope growing without bound is still told.
Slope Derivative(DS_Calc& calc, const std::string& text, char letter, long double x) {
  Slope out;
  bool unstable = false;
  long double h = DerivativeFirstStep;
  long double d = DerivativeStart;
  long double delta = 0, deltaOld = 0;
  for (int k = 1;; ++k) {
    h /= 2;
    const long double dOld = d;
    const Eval up = Sample(calc, text, letter, x + h);
    const Eval down = Sample(calc, text, letter, x - h);
    if (out.Error == 0) out.Error = up.Error != 0 ? up.Error : down.Error;
    d = (up.Value - down.Value) / (2 * h);
    if (!FitsDouble(d)) unstable = true;
    deltaOld = delta;
    delta = std::fabs(dOld - d);
    if (unstable) break;
    if (k > 1 && delta < DerivativeTolerance) break;
    if (k >= DerivativeMaxHalvings) {
      unstable = true;
      break;
    }
    if (k <= 2) continue;
    if (deltaOld >= delta) continue;
    break;
  }
  // The estimates were drifting apart when the halving ended.
  if (deltaOld < delta && delta > DerivativeTolerance) unstable = true;
  out.Value = d;
  out.Unstable = unstable;
  return out;
}

// The graph y = f(x) of a formula in X.
class FormulaGraph {
public:
  FormulaGraph(DS_Calc& calc, const std::string& text) : calc_(calc), text_(text) {}
  Eval At(long double x) { return Sample(calc_, text_, 'X', x); }
  Slope SlopeAt(long double x) { return Derivative(calc_, text_, 'X', x); }

private:
  DS_Calc& calc_;
  const std::string& text_;
};

// The graph of a polynomial given by its coefficients: value and slope by Horner's rule, the
// slope exactly from the coefficients.
class PolynomialGraph {
public:
  PolynomialGraph(int n, const double* c) : n_(std::clamp(n, 0, MaxSolverNodes)), c_(c) {}
  Eval At(long double x) const {
    long double v = 0;
    for (int k = n_ - 1; k >= 0; --k)
      v = v * x + c_[k];
    return Checked(v);
  }
  Slope SlopeAt(long double x) const {
    long double d = 0;
    for (int k = n_ - 1; k >= 1; --k)
      d = d * x + static_cast<long double>(k) * c_[k];
    const Eval e = Checked(d);
    return {e.Value, e.Error, false};
  }

private:
  static Eval Checked(long double v) { return FitsDouble(v) ? Eval{v, 0} : Eval{0, CalcMathError}; }
  int n_;
  const double* c_;
};

// Shows the progress window for one pass over the samples and hides it however the pass ends.
class ProgressPass {
public:
  ProgressPass(CalcContext& ctx, int msgIndex, int samples) : ui_(ctx.Ui) {
    ui_.ShowProgress(ctx.Msg[msgIndex], false);
    ui_.SetProgressRange(samples);
  }
  ~ProgressPass() { ui_.HideProgress(); }
  ProgressPass(const ProgressPass&) = delete;
  ProgressPass& operator=(const ProgressPass&) = delete;

  // Called before sample i (0-based): moves the gauge and lets the desktop catch up.
  void Step(int i) {
    ui_.SetProgressPosition(i + 1);
    ui_.ProcessPendingEvents();
  }

private:
  Platform& ui_;
};

// One stretch of a trapezoid pass: from, to and its number of intervals.
struct Piece {
  long double From = 0;
  long double To = 0;
  int Steps = 1;
};

// A sample point of a pass.
struct Node {
  long double X = 0;      ///< where the sample is taken
  long double Inward = 0; ///< at the first and last sample of a piece the signed half step toward
                          ///< its inside, 0 elsewhere
  long double Weight = 0; ///< the sample's weight in the rule: half a step at the ends, a step inside
  int PieceNo = 0;        ///< which piece the sample belongs to
};

// The trapezoid rule over the pieces, one after the other, with one progress window for all of
// their samples. Stops at the first sample that fails and reports its code; a total that does not
// fit a double is reported as -1.
template <typename SampleFn>
Measure TrapezoidPieces(CalcContext& ctx, int msgIndex, const Piece* pieces, int count, SampleFn g) {
  int samples = 0;
  for (int p = 0; p < count; ++p)
    samples += pieces[p].Steps + 1;
  long double total = 0;
  {
    ProgressPass progress(ctx, msgIndex, samples);
    int done = 0;
    for (int p = 0; p < count; ++p) {
      const int n = pieces[p].Steps;
      const long double h = (pieces[p].To - pieces[p].From) / n;
      long double first = 0, last = 0, inner = 0;
      for (int i = 0; i <= n; ++i) {
        progress.Step(done++);
        Node node;
        node.X = pieces[p].From + i * h;
        node.Inward = i == 0 ? h / 2 : i == n ? -h / 2 : 0;
        node.Weight = (i == 0 || i == n) ? h / 2 : h;
        node.PieceNo = p;
        const Eval y = g(node);
        if (y.Error != 0) return {0, y.Error};
        if (i == 0)
          first = y.Value;
        else if (i == n)
          last = y.Value;
        else
          inner += y.Value;
      }
      total += ((first + last) / 2 + inner) * h;
    }
  }
  if (!FitsDouble(total)) return {0, CalcMathError};
  return {static_cast<double>(total), 0};
}

// The trapezoid rule over n = IntegrationSteps intervals from `from` to `to`.
template <typename SampleFn>
Measure TrapezoidPass(CalcContext& ctx, int msgIndex, long double from, long double to, SampleFn g) {
  const Piece whole{from, to, Steps(ctx)};
  return TrapezoidPieces(ctx, msgIndex, &whole, 1, g);
}

// A measure of a value the caller scales or takes the magnitude of.
Measure Scaled(Measure m, long double factor) {
  if (m.Error != 0) return m;
  const long double v = std::fabs(m.Value * factor);
  if (!FitsDouble(v)) return {0, CalcMathError};
  return {static_cast<double>(v), 0};
}

bool FiniteBounds(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

Measure Integral(CalcContext& ctx, const std::string& text, char letter, double upper, double lower) {
  ctx.State.DerivativeUnstable = false;
  if (!FiniteBounds(upper, lower)) return {0, CalcMathError};
  return TrapezoidPass(ctx, MsgIntegral, lower, upper,
                       [&](const Node& node) { return Sample(ctx.Calc, text, letter, node.X); });
}

// The integrands of the two surfaces of a graph at one node of the widened range, 2 pi |f| and
// 2 pi |x| times sqrt(f'^2 + 1). At an end of the range where f or its slope cannot be had (the
// widening stepped out of the domain, or the slope is infinite, as for sqrt at 0) the end's share
// of the rule is taken from the frustum over the half step next to it, between the interval's end
// a and a + Inward: a chord never needs the slope.
struct SurfaceSample {
  long double Ox = 0;
  long double Oy = 0;
  int Error = 0;
};

template <typename Graph> SurfaceSample GraphSurfaceAt(Graph& graph, const Node& node, long double lo, long double hi) {
  const Eval y = graph.At(node.X);
  if (y.Error == 0) {
    const Slope slope = graph.SlopeAt(node.X);
    if (slope.Error == 0 && (node.Inward == 0 || !slope.Unstable)) {
      const long double stretch = std::sqrt(slope.Value * slope.Value + 1);
      return {std::fabs(TwoPi * y.Value * stretch), std::fabs(TwoPi * node.X * stretch), 0};
    }
    if (node.Inward == 0) return {0, 0, slope.Error};
  } else if (node.Inward == 0) {
    return {0, 0, y.Error};
  }
  const long double a = std::clamp(node.X, lo, hi);
  const long double m = a + node.Inward;
  const Eval fa = graph.At(a);
  if (fa.Error != 0) return {0, 0, fa.Error};
  const Eval fm = graph.At(m);
  if (fm.Error != 0) return {0, 0, fm.Error};
  const long double chord = std::hypot(m - a, fm.Value - fa.Value);
  const long double k = Pi * chord / std::fabs(node.Inward);
  return {k * (std::fabs(fa.Value) + std::fabs(fm.Value)), k * (std::fabs(a) + std::fabs(m)), 0};
}

// One surface of a graph over the widened range, about Oy or about Ox. With `keepOy` the integrand
// about Oy of every sample is kept too, so that the surface about Oy can follow without a second
// set of slopes (ReplaySurface).
template <typename Graph>
Measure GraphSurface(CalcContext& ctx, Graph& graph, double bound1, double bound2, bool aboutOy,
                     std::vector<long double>* keepOy) {
  if (!FiniteBounds(bound1, bound2)) return {0, CalcMathError};
  const long double lo = std::min(bound1, bound2), hi = std::max(bound1, bound2);
  if (keepOy) {
    keepOy->clear();
    keepOy->reserve(static_cast<std::size_t>(Steps(ctx)) + 1);
  }
  return Scaled(TrapezoidPass(ctx, MsgSurface, hi + SurfaceWidening, lo - SurfaceWidening,
                              [&](const Node& node) -> Eval {
                                const SurfaceSample s = GraphSurfaceAt(graph, node, lo, hi);
                                if (s.Error != 0) return {0, s.Error};
                                if (keepOy) keepOy->push_back(s.Oy);
                                return {aboutOy ? s.Oy : s.Ox, 0};
                              }),
                1);
}

// The surface about Oy from the samples GraphSurface kept, with its own pass of the progress window.
Measure ReplaySurface(CalcContext& ctx, double bound1, double bound2, const std::vector<long double>& samples) {
  const long double lo = std::min(bound1, bound2), hi = std::max(bound1, bound2);
  std::size_t next = 0;
  return Scaled(TrapezoidPass(ctx, MsgSurface, hi + SurfaceWidening, lo - SurfaceWidening,
                              [&](const Node&) {
                                return Eval{samples[next++], 0};
                              }),
                1);
}

template <typename Graph> Measure GraphVolumeOx(CalcContext& ctx, Graph& graph, double upper, double lower) {
  ctx.State.DerivativeUnstable = false;
  if (!FiniteBounds(upper, lower)) return {0, CalcMathError};
  return Scaled(TrapezoidPass(ctx, MsgIntegral, lower, upper,
                              [&](const Node& node) {
                                const Eval y = graph.At(node.X);
                                return Eval{FormulaPi * y.Value * y.Value, y.Error};
                              }),
                1);
}

// The length at one radius of the union of the y-ranges from 0 to a and from 0 to b.
long double UnionLength(long double a, long double b) {
  if ((a >= 0) == (b >= 0)) return std::max(std::fabs(a), std::fabs(b));
  return std::fabs(a) + std::fabs(b);
}

template <typename Graph> Measure GraphVolumeOy(CalcContext& ctx, Graph& graph, double upper, double lower) {
  ctx.State.DerivativeUnstable = false;
  if (!FiniteBounds(upper, lower)) return {0, CalcMathError};
  const long double lo = std::min(upper, lower), hi = std::max(upper, lower);
  // The radii the right part (x = r) and the left part (x = -r) of the interval cover.
  const bool right = hi > 0, left = lo < 0;
  const long double rightFrom = std::max(lo, 0.0L), rightTo = hi;
  const long double leftFrom = std::max(-hi, 0.0L), leftTo = -lo;
  long double cuts[4];
  int cutCount = 0;
  if (right) {
    cuts[cutCount++] = rightFrom;
    cuts[cutCount++] = rightTo;
  }
  if (left) {
    cuts[cutCount++] = leftFrom;
    cuts[cutCount++] = leftTo;
  }
  std::sort(cuts, cuts + cutCount);
  cutCount = static_cast<int>(std::unique(cuts, cuts + cutCount) - cuts);
  if (cutCount < 2) return {0, 0};

  // The pieces between the cuts, each with the sides it lies on; the steps are shared out by
  // length, at least one each.
  Piece pieces[3];
  bool onRight[3], onLeft[3];
  int count = 0;
  const int n = Steps(ctx);
  const long double span = cuts[cutCount - 1] - cuts[0];
  for (int i = 0; i + 1 < cutCount; ++i) {
    const long double mid = (cuts[i] + cuts[i + 1]) / 2;
    onRight[count] = right && mid >= rightFrom && mid <= rightTo;
    onLeft[count] = left && mid >= leftFrom && mid <= leftTo;
    if (!onRight[count] && !onLeft[count]) continue;
    const long double share = (cuts[i + 1] - cuts[i]) / span * n;
    pieces[count] = {cuts[i], cuts[i + 1], std::max(1, static_cast<int>(std::lround(share)))};
    ++count;
  }
  const Measure shells = TrapezoidPieces(ctx, MsgIntegral, pieces, count, [&](const Node& node) -> Eval {
    const long double r = node.X;
    long double a = 0, b = 0;
    if (onRight[node.PieceNo]) {
      const Eval y = graph.At(r);
      if (y.Error != 0) return y;
      a = y.Value;
    }
    if (onLeft[node.PieceNo]) {
      const Eval y = graph.At(-r);
      if (y.Error != 0) return y;
      b = y.Value;
    }
    return {r * UnionLength(a, b), 0};
  });
  return Scaled(shells, TwoPi);
}

// The volume pi * integral of r^2 s' over the parameter range, with the parts on the two sides
// of the axis (the sign of r) summed apart, so that a cancelling sum is told. At an end where s'
// cannot be had the end's share is the frustum's over the half step next to it.
Measure ParamVolume(CalcContext& ctx, const std::string& r, const std::string& s, double upper, double lower) {
  if (!FiniteBounds(upper, lower)) return {0, CalcMathError};
  long double sides[2] = {0, 0}; // [0] r > 0, [1] r < 0
  const Measure sum = TrapezoidPass(ctx, MsgVolume, lower, upper, [&](const Node& node) -> Eval {
    const Eval ra = Sample(ctx.Calc, r, 'T', node.X);
    if (ra.Error != 0) return ra;
    const Slope ds = Derivative(ctx.Calc, s, 'T', node.X);
    long double value = 0, radius = ra.Value;
    if (ds.Error == 0 && (node.Inward == 0 || !ds.Unstable)) {
      value = Pi * ra.Value * ra.Value * ds.Value;
    } else {
      if (node.Inward == 0) return {0, ds.Error};
      const long double m = node.X + node.Inward;
      const Eval rm = Sample(ctx.Calc, r, 'T', m);
      if (rm.Error != 0) return rm;
      const Eval sa = Sample(ctx.Calc, s, 'T', node.X);
      if (sa.Error != 0) return sa;
      const Eval sm = Sample(ctx.Calc, s, 'T', m);
      if (sm.Error != 0) return sm;
      value = Pi / 3 * (ra.Value * ra.Value + ra.Value * rm.Value + rm.Value * rm.Value) * (sm.Value - sa.Value) /
              node.Inward;
      radius = ra.Value + rm.Value;
    }
    if (radius != 0) sides[radius < 0 ? 1 : 0] += value * node.Weight;
    return {value, 0};
  });
  if (sum.Error != 0) return sum;
  if (SidesCancel(sides[0], sides[1])) return {0, CalcMathError};
  return Scaled(sum, 1);
}

Measure ParamSurface(CalcContext& ctx, const std::string& r, const std::string& s, double upper, double lower) {
  if (!FiniteBounds(upper, lower)) return {0, CalcMathError};
  return Scaled(
      TrapezoidPass(ctx, MsgSurface, lower, upper,
                    [&](const Node& node) -> Eval {
                      const Eval ra = Sample(ctx.Calc, r, 'T', node.X);
                      if (ra.Error != 0) return ra;
                      const Slope dr = Derivative(ctx.Calc, r, 'T', node.X);
                      const Slope ds = Derivative(ctx.Calc, s, 'T', node.X);
                      const int error = dr.Error != 0 ? dr.Error : ds.Error;
                      if (error == 0 && (node.Inward == 0 || !(dr.Unstable || ds.Unstable)))
                        return {std::fabs(TwoPi * ra.Value * std::hypot(dr.Value, ds.Value)), 0};
                      if (node.Inward == 0) return {0, error};
                      const long double m = node.X + node.Inward;
                      const Eval rm = Sample(ctx.Calc, r, 'T', m);
                      if (rm.Error != 0) return rm;
                      const Eval sa = Sample(ctx.Calc, s, 'T', node.X);
                      if (sa.Error != 0) return sa;
                      const Eval sm = Sample(ctx.Calc, s, 'T', m);
                      if (sm.Error != 0) return sm;
                      const long double chord = std::hypot(rm.Value - ra.Value, sm.Value - sa.Value);
                      return {Pi * (std::fabs(ra.Value) + std::fabs(rm.Value)) * chord / std::fabs(node.Inward), 0};
                    }),
      1);
}

// Leaves the outcome of a measure in CalcError and turns it into the routine's result.
CalcOutcome Outcome(CalcContext& ctx, const Measure& m) {
  ctx.Calc.CalcError = m.Error;
  if (m.Error != 0) return {0, false, true};
  return {m.Value, false, false};
}

// The four measures into the solid's values, with the first failure left in CalcError.
SolidValues Solid(CalcContext& ctx, const Measure& surfaceOx, const Measure& volumeOx, const Measure& surfaceOy,
                  const Measure& volumeOy) {
  SolidValues v;
  FirstFailure failure;
  const Measure* const measures[4] = {&surfaceOx, &volumeOx, &surfaceOy, &volumeOy};
  double* const values[4] = {&v.SurfaceOx, &v.VolumeOx, &v.SurfaceOy, &v.VolumeOy};
  bool* const known[4] = {&v.SurfaceOxKnown, &v.VolumeOxKnown, &v.SurfaceOyKnown, &v.VolumeOyKnown};
  for (int i = 0; i < 4; ++i) {
    failure.Note(measures[i]->Error);
    *known[i] = measures[i]->Error == 0;
    *values[i] = *known[i] ? measures[i]->Value : 0.0;
  }
  ctx.Calc.CalcError = failure.Code;
  return v;
}

template <typename Graph> SolidValues GraphSolidValues(CalcContext& ctx, Graph& graph, double lower, double upper) {
  std::vector<long double> oySamples;
  const Measure surfaceOx = GraphSurface(ctx, graph, upper, lower, false, &oySamples);
  const Measure volumeOx = GraphVolumeOx(ctx, graph, upper, lower);
  const Measure surfaceOy = surfaceOx.Error != 0 ? surfaceOx : ReplaySurface(ctx, upper, lower, oySamples);
  const Measure volumeOy = GraphVolumeOy(ctx, graph, upper, lower);
  return Solid(ctx, surfaceOx, volumeOx, surfaceOy, volumeOy);
}

} // namespace

CalcOutcome IntegrateTrapezoid(CalcContext& ctx, const std::string& text, char letter, double upper, double lower) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {0, true, false};
  return Outcome(ctx, Integral(ctx, text, letter, upper, lower));
}

CalcOutcome Differentiate(CalcContext& ctx, const std::string& text, char letter, double x) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {0, true, false};
  const Slope d = Derivative(ctx.Calc, text, letter, x);
  ctx.State.DerivativeUnstable = d.Unstable;
  ctx.Calc.CalcError = d.Error;
  if (d.Error != 0) return {0, false, true};
  return {FitsDouble(d.Value) ? static_cast<double>(d.Value) : 0.0, false, false};
}

CalcOutcome VolumeAboutOx(CalcContext& ctx, const std::string& text, double upper, double lower) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {0, true, false};
  FormulaGraph graph(ctx.Calc, text);
  return Outcome(ctx, GraphVolumeOx(ctx, graph, upper, lower));
}

CalcOutcome VolumeAboutOy(CalcContext& ctx, const std::string& text, double upper, double lower) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {0, true, false};
  FormulaGraph graph(ctx.Calc, text);
  return Outcome(ctx, GraphVolumeOy(ctx, graph, upper, lower));
}

CalcOutcome SurfaceAboutOx(CalcContext& ctx, const std::string& text, double bound1, double bound2) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {0, true, false};
  FormulaGraph graph(ctx.Calc, text);
  return Outcome(ctx, GraphSurface(ctx, graph, bound1, bound2, false, nullptr));
}

CalcOutcome SurfaceAboutOy(CalcContext& ctx, const std::string& text, double bound1, double bound2) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {0, true, false};
  FormulaGraph graph(ctx.Calc, text);
  return Outcome(ctx, GraphSurface(ctx, graph, bound1, bound2, true, nullptr));
}

CalcOutcome ParametricVolume(CalcContext& ctx, const std::string& r, const std::string& s, double upper, double lower) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {0, true, false};
  return Outcome(ctx, ParamVolume(ctx, r, s, upper, lower));
}

CalcOutcome ParametricSurface(CalcContext& ctx, const std::string& r, const std::string& s, double upper,
                              double lower) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {0, true, false};
  return Outcome(ctx, ParamSurface(ctx, r, s, upper, lower));
}

SolidsOutcome GraphSolids(CalcContext& ctx, const std::string& text, double lower, double upper) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {{}, true};
  FormulaGraph graph(ctx.Calc, text);
  ctx.State.Solids = GraphSolidValues(ctx, graph, lower, upper);
  return {ctx.State.Solids, false};
}

SolidsOutcome ParametricSolids(CalcContext& ctx, const std::string& xText, const std::string& yText, double lower,
                               double upper) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {{}, true};
  const Measure surfaceOx = ParamSurface(ctx, yText, xText, upper, lower);
  const Measure volumeOx = ParamVolume(ctx, yText, xText, upper, lower);
  const Measure surfaceOy = ParamSurface(ctx, xText, yText, upper, lower);
  const Measure volumeOy = ParamVolume(ctx, xText, yText, upper, lower);
  ctx.State.Solids = Solid(ctx, surfaceOx, volumeOx, surfaceOy, volumeOy);
  return {ctx.State.Solids, false};
}

SolidsOutcome PolynomialSolids(CalcContext& ctx, int n, const double* c, double lower, double upper) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {{}, true};
  PolynomialGraph graph(c == nullptr ? 0 : n, c);
  ctx.State.Solids = GraphSolidValues(ctx, graph, lower, upper);
  return {ctx.State.Solids, false};
}

} // namespace drex
