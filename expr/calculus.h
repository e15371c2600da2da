#pragma once
// Calculations on formulas beyond one evaluation: the definite integral by the trapezoid rule, the
// numerical derivative, and the surface areas and volumes of solids of revolution of graphs,
// parametric curves, polylines and interpolation polynomials.
//
// Formulas are sampled through SubstituteVariable and DS_Calc::EvaluateExpression. A value needs
// every one of its samples: when one fails, the value cannot be computed, the outcome says so and
// DS_Calc::CalcError keeps the code of the first failure (or -1 when the value failed otherwise).
// The long routines show the progress window and let the desktop run its pending events once per
// sample. While one calculation runs no second one can start: it is refused without computing
// anything.
//
// Bounds, lengths, areas and volumes are in user units.

#include <string>

#include "expr/DS_Calc.h"
#include "expr/polyline_solids.h"
#include "shell/d2consts.h"
#include "shell/platform.h"

namespace drex {

/// What the calculations keep between calls; one per program.
class CalculusState {
public:
  /// True while a calculation runs.
  bool Busy() const { return busy_; }

  /// Set when the last derivative did not settle (its estimates drifted apart or overflowed).
  bool DerivativeUnstable = false;
  /// The four measures of the last solid computed by GraphSolids, ParametricSolids,
  /// PolynomialSolids or RevolutionSolids.
  SolidValues Solids;

private:
  friend class CalculationGuard;
  bool busy_ = false;
};

/// Holds the "a calculation runs" mark of a CalculusState for its lifetime, unless another
/// calculation held it already; then Held() is false and nothing may be computed. The routines
/// below take it themselves, so a caller holding one is refused by them.
class CalculationGuard {
public:
  explicit CalculationGuard(CalculusState& state) : state_(state), held_(!state.busy_) {
    if (held_) state_.busy_ = true;
  }
  ~CalculationGuard() {
    if (held_) state_.busy_ = false;
  }
  CalculationGuard(const CalculationGuard&) = delete;
  CalculationGuard& operator=(const CalculationGuard&) = delete;

  bool Held() const { return held_; }

private:
  CalculusState& state_;
  bool held_;
};

/// Everything one calculation works with.
struct CalcContext {
  DS_Calc& Calc;        ///< the evaluator; its CalcError tells the outcome of the last sample
  Platform& Ui;         ///< the progress window and the pending events
  const MsgTable& Msg;  ///< texts of the progress window
  int IntegrationSteps; ///< intervals of every integration range, held to 1..1000
  CalculusState& State; ///< the re-entry mark and the derivative flag
};

/// Most intervals an integration range is divided into.
constexpr int MaxIntegrationSteps = 1000;

/// The result of a calculation on formulas.
struct CalcOutcome {
  double Value = 0;     ///< the result; 0 when refused or failed
  bool Refused = false; ///< another calculation was running; nothing was computed or changed
  bool Failed = false;  ///< the value cannot be computed: a sample failed, or the result does not
                        ///< fit a double; CalcError then holds the first failure's code (or -1)
};

/// The four measures of a solid of revolution, each with its Known flag, or the refusal. After a
/// calculation on formulas CalcError is 0 when all four are known, else the first failed
/// sample's code, or -1.
struct SolidsOutcome {
  SolidValues Values;
  bool Refused = false;
};

/// The integral of `text` in the variable `letter` from `lower` to `upper` (signed) by the
/// trapezoid rule over IntegrationSteps intervals. Clears DerivativeUnstable. Fails (value 0) when
/// a sample cannot be evaluated, or with CalcError -1 when the sum does not fit a double.
CalcOutcome IntegrateTrapezoid(CalcContext& ctx, const std::string& text, char letter, double upper, double lower);

/// The derivative of `text` in `letter` at x by central differences with a halving step, stopping
/// when two estimates agree within 0.0001. Sets DerivativeUnstable when the estimates drift apart
/// or overflow; the value is then the last estimate, or 0 when that does not fit a double. Fails
/// (value 0) when a sample cannot be evaluated.
CalcOutcome Differentiate(CalcContext& ctx, const std::string& text, char letter, double x);

/// Volume of the solid swept by y = f(x) (variable X) between the bounds about the x-axis:
/// pi * integral of f^2, pi being the formulas' 3.1415926.
CalcOutcome VolumeAboutOx(CalcContext& ctx, const std::string& text, double upper, double lower);
/// Volume of the solid swept by the region between y = f(x) and the x-axis, between the bounds,
/// about the y-axis: at the radius r the region is the union of the y-ranges from 0 to f(r) and
/// from 0 to f(-r) (each where it lies in the interval), so parts of the curve on both sides of the
/// axis or of both signs never cancel. Integrated by shells, piecewise at the radii where one side
/// of the interval ends.
CalcOutcome VolumeAboutOy(CalcContext& ctx, const std::string& text, double upper, double lower);
/// Surface area swept by y = f(x) about the x-axis; the bounds may come in either order. The range
/// is widened by 1e-9 at both ends. At an end where f or its slope cannot be had there (the
/// widening left the domain, or the slope is infinite) the end's share is that of the chord over
/// the half step next to it inside the interval; a point inside where f cannot be evaluated fails.
CalcOutcome SurfaceAboutOx(CalcContext& ctx, const std::string& text, double bound1, double bound2);
/// Surface area swept by y = f(x) about the y-axis, as SurfaceAboutOx.
CalcOutcome SurfaceAboutOy(CalcContext& ctx, const std::string& text, double bound1, double bound2);

/// |pi * integral of r(t)^2 * s'(t) dt| for the curve given by r(t), s(t) (variable T): the volume
/// swept about the axis along which s runs, r being the signed distance from it. Fails when the
/// parts of the curve on the two sides of the axis would cancel (SidesCancel). At an end of the
/// parameter range where s' cannot be had the end's share is that of the chord over the half step.
CalcOutcome ParametricVolume(CalcContext& ctx, const std::string& r, const std::string& s, double upper, double lower);
/// |2 pi * integral of |r(t)| * sqrt(r'(t)^2 + s'(t)^2) dt|: the matching surface area, with the
/// same treatment of the ends.
CalcOutcome ParametricSurface(CalcContext& ctx, const std::string& r, const std::string& s, double upper, double lower);

/// The four measures for the graph y = f(x) between `lower` and `upper`: SurfaceAboutOx,
/// VolumeAboutOx, SurfaceAboutOy and VolumeAboutOy, in that order, the two surfaces sharing
/// their samples.
SolidsOutcome GraphSolids(CalcContext& ctx, const std::string& text, double lower, double upper);
/// The four measures for the curve x(t), y(t) with t from `lower` to `upper`.
SolidsOutcome ParametricSolids(CalcContext& ctx, const std::string& xText, const std::string& yText, double lower,
                               double upper);
/// The four measures for the polynomial with the n coefficients c (c[k] multiplies x^k, n at most
/// MaxSolverNodes) between `lower` and `upper`, as GraphSolids does for a formula, but with the
/// polynomial's value and exact derivative computed from the coefficients.
SolidsOutcome PolynomialSolids(CalcContext& ctx, int n, const double* c, double lower, double upper);

} // namespace drex
