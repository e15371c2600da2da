#include "expr/calculus.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "expr/polynomial.h"

namespace drex {

namespace {

constexpr long double Pi = 3.14159265358979323846264338327950288L;
constexpr long double TwoPi = 6.283185307179586477L;

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

// The value of `text` at `at`; a failed evaluation counts as 0.
long double Sample(DS_Calc& calc, const std::string& text, char letter, long double at) {
  const long double v = calc.EvaluateExpression(SubstituteVariable(text, letter, at));
  return calc.CalcError == 0 ? v : 0.0L;
}

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

// The trapezoid rule over n intervals from `from` to `to` of the samples g(x), with the progress
// window. A total that does not fit a double is reported as CalcError -1 and 0.
template <typename SampleFn>
double TrapezoidPass(CalcContext& ctx, int msgIndex, long double from, long double to, SampleFn g) {
  const int n = Steps(ctx);
  const long double h = (to - from) / n;
  long double first = 0, last = 0, inner = 0;
  {
    ProgressPass progress(ctx, msgIndex, n + 1);
    for (int i = 0; i <= n; ++i) {
      progress.Step(i);
      const long double y = g(from + i * h);
      if (i == 0)
        first = y;
      else if (i == n)
        last = y;
      else
        inner += y;
    }
  }
  const long double total = ((first + last) / 2 + inner) * h;
  if (!FitsDouble(total)) {
    ctx.Calc.CalcError = CalcMathError;
    return 0;
  }
  return static_cast<double>(total);
}

double Integral(CalcContext& ctx, const std::string& text, char letter, double upper, double lower) {
  ctx.State.DerivativeUnstable = false;
  return TrapezoidPass(ctx, MsgIntegral, lower, upper,
                       [&](long double x) { return Sample(ctx.Calc, text, letter, x); });
}

long double Derivative(CalcContext& ctx, const std::string& text, char letter, long double x) {
  bool unstable = false;
  long double h = DerivativeFirstStep;
  long double d = DerivativeStart;
  long double delta = 0, deltaOld = 0;
  for (int k = 1;; ++k) {
    h /= 2;
    const long double dOld = d;
    d = (Sample(ctx.Calc, text, letter, x + h) - Sample(ctx.Calc, text, letter, x - h)) / (2 * h);
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
  ctx.State.DerivativeUnstable = unstable;
  return d;
}

double Surface(CalcContext& ctx, const std::string& text, double bound1, double bound2, bool aboutOy) {
  const long double from = static_cast<long double>(std::max(bound1, bound2)) + SurfaceWidening;
  const long double to = static_cast<long double>(std::min(bound1, bound2)) - SurfaceWidening;
  const double sum = TrapezoidPass(ctx, MsgSurface, from, to, [&](long double x) -> long double {
    // Where the curve has no point there is no surface, about either axis.
    const long double y = Sample(ctx.Calc, text, 'X', x);
    if (ctx.Calc.CalcError != 0) return 0;
    const long double slope = Derivative(ctx, text, 'X', x);
    return std::fabs(TwoPi * (aboutOy ? x : y) * std::sqrt(slope * slope + 1));
  });
  return std::fabs(sum);
}

double VolumeOx(CalcContext& ctx, const std::string& text, double upper, double lower) {
  return std::fabs(Integral(ctx, "pi*(" + text + ")^2", 'X', upper, lower));
}

double VolumeOy(CalcContext& ctx, const std::string& text, double upper, double lower) {
  const double shells = std::fabs(Integral(ctx, "X*(" + text + ")", 'X', upper, lower));
  const long double volume = TwoPi * shells;
  if (!FitsDouble(volume)) {
    ctx.Calc.CalcError = CalcMathError;
    return 0;
  }
  return static_cast<double>(volume);
}

double ParamVolume(CalcContext& ctx, const std::string& r, const std::string& s, double upper, double lower) {
  return std::fabs(TrapezoidPass(ctx, MsgVolume, lower, upper, [&](long double t) {
    const long double radius = Sample(ctx.Calc, r, 'T', t);
    return Pi * radius * radius * Derivative(ctx, s, 'T', t);
  }));
}

double ParamSurface(CalcContext& ctx, const std::string& r, const std::string& s, double upper, double lower) {
  return std::fabs(TrapezoidPass(ctx, MsgSurface, lower, upper, [&](long double t) {
    const long double radius = Sample(ctx.Calc, r, 'T', t);
    const long double dr = Derivative(ctx, r, 'T', t);
    const long double ds = Derivative(ctx, s, 'T', t);
    return std::fabs(TwoPi * radius * std::sqrt(dr * dr + ds * ds));
  }));
}

SolidValues Graph(CalcContext& ctx, const std::string& text, double lower, double upper) {
  SolidValues v;
  v.SurfaceOx = Surface(ctx, text, upper, lower, false);
  v.VolumeOx = VolumeOx(ctx, text, upper, lower);
  v.SurfaceOy = Surface(ctx, text, upper, lower, true);
  v.VolumeOy = VolumeOy(ctx, text, upper, lower);
  return v;
}

} // namespace

CalcOutcome IntegrateTrapezoid(CalcContext& ctx, const std::string& text, char letter, double upper, double lower) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {0, true};
  return {Integral(ctx, text, letter, upper, lower), false};
}

CalcOutcome Differentiate(CalcContext& ctx, const std::string& text, char letter, double x) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {0, true};
  const long double d = Derivative(ctx, text, letter, x);
  return {FitsDouble(d) ? static_cast<double>(d) : 0.0, false};
}

CalcOutcome VolumeAboutOx(CalcContext& ctx, const std::string& text, double upper, double lower) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {0, true};
  return {VolumeOx(ctx, text, upper, lower), false};
}

CalcOutcome VolumeAboutOy(CalcContext& ctx, const std::string& text, double upper, double lower) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {0, true};
  return {VolumeOy(ctx, text, upper, lower), false};
}

CalcOutcome SurfaceAboutOx(CalcContext& ctx, const std::string& text, double bound1, double bound2) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {0, true};
  return {Surface(ctx, text, bound1, bound2, false), false};
}

CalcOutcome SurfaceAboutOy(CalcContext& ctx, const std::string& text, double bound1, double bound2) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {0, true};
  return {Surface(ctx, text, bound1, bound2, true), false};
}

CalcOutcome ParametricVolume(CalcContext& ctx, const std::string& r, const std::string& s, double upper, double lower) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {0, true};
  return {ParamVolume(ctx, r, s, upper, lower), false};
}

CalcOutcome ParametricSurface(CalcContext& ctx, const std::string& r, const std::string& s, double upper,
                              double lower) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {0, true};
  return {ParamSurface(ctx, r, s, upper, lower), false};
}

SolidsOutcome GraphSolids(CalcContext& ctx, const std::string& text, double lower, double upper) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {{}, true};
  ctx.State.Solids = Graph(ctx, text, lower, upper);
  return {ctx.State.Solids, false};
}

SolidsOutcome ParametricSolids(CalcContext& ctx, const std::string& xText, const std::string& yText, double lower,
                               double upper) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {{}, true};
  SolidValues v;
  v.SurfaceOx = ParamSurface(ctx, yText, xText, upper, lower);
  v.VolumeOx = ParamVolume(ctx, yText, xText, upper, lower);
  v.SurfaceOy = ParamSurface(ctx, xText, yText, upper, lower);
  v.VolumeOy = ParamVolume(ctx, xText, yText, upper, lower);
  ctx.State.Solids = v;
  return {v, false};
}

SolidsOutcome PolynomialSolids(CalcContext& ctx, int n, const double* c, double lower, double upper) {
  CalculationGuard guard(ctx.State);
  if (!guard.Held()) return {{}, true};
  ctx.State.Solids = Graph(ctx, PolynomialText(n, c), lower, upper);
  return {ctx.State.Solids, false};
}

} // namespace drex
