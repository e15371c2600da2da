#pragma once
// Calculations on formulas beyond one evaluation: the definite integral by the trapezoid rule, the
// numerical derivative, and the surface areas and volumes of solids of revolution of graphs,
// parametric curves, polylines and interpolation polynomials.
//
// Formulas are sampled through SubstituteVariable and DS_Calc::EvaluateExpression; a sample whose
// evaluation fails counts as 0, and DS_Calc::CalcError afterwards holds the outcome of the last
// evaluation only. The long routines show the progress window and let the desktop run its pending
// events once per sample. While one calculation runs no second one can start: it is refused
// without computing anything.
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
  double Value = 0;     ///< the result; 0 when refused
  bool Refused = false; ///< another calculation was running; nothing was computed or changed
};

/// The four measures of a solid of revolution, or the refusal.
struct SolidsOutcome {
  SolidValues Values;
  bool Refused = false;
};

/// The integral of `text` in the variable `letter` from `lower` to `upper` (signed) by the
/// trapezoid rule over IntegrationSteps intervals. Clears DerivativeUnstable. A sum that does not
/// fit a double gives 0 with CalcError -1.
CalcOutcome IntegrateTrapezoid(CalcContext& ctx, const std::string& text, char letter, double upper, double lower);

/// The derivative of `text` in `letter` at x by central differences with a halving step, stopping
/// when two estimates agree within 0.0001. Sets DerivativeUnstable when the estimates drift apart
/// or overflow; the value is then the last estimate, or 0 when that does not fit a double.
CalcOutcome Differentiate(CalcContext& ctx, const std::string& text, char letter, double x);

/// Volume of the solid swept by y = f(x) (variable X) between the bounds about the x-axis.
CalcOutcome VolumeAboutOx(CalcContext& ctx, const std::string& text, double upper, double lower);
/// Volume of the solid swept by y = f(x) between the bounds about the y-axis (cylindrical shells).
CalcOutcome VolumeAboutOy(CalcContext& ctx, const std::string& text, double upper, double lower);
/// Surface area swept by y = f(x) about the x-axis; the bounds may come in either order. The range
/// is widened by 1e-9 at both ends. A point where f cannot be evaluated adds no surface.
CalcOutcome SurfaceAboutOx(CalcContext& ctx, const std::string& text, double bound1, double bound2);
/// Surface area swept by y = f(x) about the y-axis, as SurfaceAboutOx (also no surface where f
/// cannot be evaluated, though the radius is x).
CalcOutcome SurfaceAboutOy(CalcContext& ctx, const std::string& text, double bound1, double bound2);

/// |pi * integral of r(t)^2 * s'(t) dt| for the curve given by r(t), s(t) (variable T): the volume
/// swept about the axis along which s runs, r being the distance from it.
CalcOutcome ParametricVolume(CalcContext& ctx, const std::string& r, const std::string& s, double upper, double lower);
/// |2 pi * integral of |r(t)| * sqrt(r'(t)^2 + s'(t)^2) dt|: the matching surface area.
CalcOutcome ParametricSurface(CalcContext& ctx, const std::string& r, const std::string& s, double upper, double lower);

/// The four measures for the graph y = f(x) between `lower` and `upper`.
SolidsOutcome GraphSolids(CalcContext& ctx, const std::string& text, double lower, double upper);
/// The four measures for the curve x(t), y(t) with t from `lower` to `upper`.
SolidsOutcome ParametricSolids(CalcContext& ctx, const std::string& xText, const std::string& yText, double lower,
                               double upper);
/// The four measures for the polynomial with the n coefficients c (c[k] multiplies x^k) between
/// `lower` and `upper`, computed on its formula text.
SolidsOutcome PolynomialSolids(CalcContext& ctx, int n, const double* c, double lower, double upper);

} // namespace drex
