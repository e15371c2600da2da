#include "expr/revolution.h"

#include <cfloat>
#include <cmath>
#include <string>

#include "expr/polynomial.h"
#include "kernel/construction.h"
#include "kernel/cp1251.h"

namespace drex {

namespace {

// The vertices of a polyline in user units; empty when a reference is unusable or a vertex is not
// Defined.
std::vector<CurvePoint> PolylineVertices(const Construction& doc, const TGeomObject& obj, double unitLength) {
  std::vector<CurvePoint> pts;
  if (obj.RefCount < 0 || obj.RefCount > MaxPolylineRefs) return pts;
  for (int i = 1; i <= obj.RefCount; ++i) {
    const int ref = obj.Refs[static_cast<std::size_t>(i)];
    if (ref < 1 || ref > doc.ObjCount || !doc[ref].Defined) return {};
    pts.push_back({doc[ref].X1 / unitLength, doc[ref].Y1 / unitLength});
  }
  return pts;
}

// 101 points of x(t), y(t) for t at equal steps from `lower` to `upper`.
template <typename CurveFn> std::vector<CurvePoint> SampleCurve(double lower, double upper, CurveFn point) {
  std::vector<CurvePoint> pts;
  pts.reserve(RevolutionPreviewPoints);
  const long double step = (static_cast<long double>(upper) - lower) / (RevolutionPreviewPoints - 1);
  for (int i = 0; i < RevolutionPreviewPoints; ++i)
    pts.push_back(point(lower + i * step));
  return pts;
}

// The value of a formula at one point of the preview, or nothing.
bool Value(DS_Calc& calc, const std::string& text, char letter, long double at, double& out) {
  const long double v = calc.EvaluateExpression(SubstituteVariable(text, letter, at));
  if (calc.CalcError != 0 || !std::isfinite(v) || std::fabs(v) > DBL_MAX) return false;
  out = static_cast<double>(v);
  return true;
}

CurvePoint Point(double x, double y, bool defined) {
  if (defined && std::isfinite(x) && std::isfinite(y)) return {x, y, true};
  return {0, 0, false};
}

} // namespace

RevolutionOutcome RevolutionSolids(CalcContext& ctx, const Construction& doc, int objNo, double unitLength) {
  RevolutionOutcome out;
  if (ctx.State.Busy()) {
    out.Refused = true;
    return out;
  }
  if (objNo < 1 || objNo > doc.ObjCount || !(unitLength > 0) || !std::isfinite(unitLength)) {
    out.NoSolid = true;
    return out;
  }
  const TGeomObject& obj = doc[objNo];
  if (!obj.Defined) {
    out.NoSolid = true;
    return out;
  }
  SolidsOutcome solids;

  if (obj.Kind == okPolyline) {
    out.Curve = PolylineVertices(doc, obj, unitLength);
    if (out.Curve.empty()) {
      out.NoSolid = true;
      return out;
    }
    std::vector<double> xs, ys;
    for (const CurvePoint& p : out.Curve) {
      xs.push_back(p.X);
      ys.push_back(p.Y);
    }
    solids.Values = PolylineSolids(xs.data(), ys.data(), static_cast<int>(xs.size()));
    ctx.State.Solids = solids.Values;
  } else if (obj.Kind == okPolynomial) {
    if (obj.RefCount < 1 || obj.RefCount > MaxPolynomialNodes) {
      out.NoSolid = true;
      return out;
    }
    // Everything is copied out of the record first: the desktop runs its events during the
    // calculation, and the construction may change meanwhile.
    const int n = obj.RefCount;
    double c[MaxPolynomialNodes];
    for (int k = 1; k <= n; ++k)
      c[k - 1] = obj.Coef(k);
    const double lower = obj.ExtA(), upper = obj.ExtB();
    out.Curve = SampleCurve(lower, upper, [&](long double x) {
      return Point(static_cast<double>(x), EvalPolynomial(n, c, static_cast<double>(x)), true);
    });
    solids = PolynomialSolids(ctx, n, c, lower, upper);
  } else if (obj.Kind == okFunction && obj.FuncType == 1) {
    const std::string f = Cp1251ToUtf8(obj.Expr1.Bytes());
    const double lower = obj.X1, upper = obj.Y1;
    out.Curve = SampleCurve(lower, upper, [&](long double x) {
      double y = 0;
      const bool defined = Value(ctx.Calc, f, 'X', x, y);
      return Point(static_cast<double>(x), y, defined);
    });
    solids = GraphSolids(ctx, f, lower, upper);
  } else if (obj.Kind == okFunction && obj.FuncType == 2) {
    const std::string x = Cp1251ToUtf8(obj.Expr1.Bytes());
    const std::string y = Cp1251ToUtf8(obj.Expr2.Bytes());
    const double lower = obj.X1, upper = obj.Y1;
    out.Curve = SampleCurve(lower, upper, [&](long double t) {
      double px = 0, py = 0;
      const bool defined = Value(ctx.Calc, x, 'T', t, px) && Value(ctx.Calc, y, 'T', t, py);
      return Point(px, py, defined);
    });
    solids = ParametricSolids(ctx, x, y, lower, upper);
  } else {
    out.NoSolid = true;
    return out;
  }
  out.Values = solids.Values;
  out.Refused = solids.Refused;
  return out;
}

} // namespace drex
