#include "dialogs/object_report.h"

#include <algorithm>
#include <cmath>

#include "expr/format_answer.h"
#include "expr/polynomial.h"
#include "kernel/cp1251.h"
#include "kernel/math2d.h"
#include "shell/d2consts.h"

namespace drex {
namespace {

constexpr double Pi = 3.14159265358979323846;
/// Polynomial coefficients smaller than this in magnitude are left out of the report.
constexpr double CoefficientShownTol = 0.00001;

struct Reporter {
  const Construction& C;
  const MsgTable& Msgs;
  const ReportFormat& Format;
  std::vector<std::string> Lines;

  std::string FA(double v) const { return FormatAnswer(v, Format.AnswerDigits); }
  double User(double v) const { return v / std::max(Format.UnitLength, 1); }

  /// The name of the object reference k of `o` names; empty when it names no object.
  std::string RefName(const TGeomObject& o, int k) const {
    if (k < 1 || k > o.RefCount || k >= RefSlots) return std::string();
    const int r = o.Ref(k);
    if (r < 1 || r > C.ObjCount) return std::string();
    return Cp1251ToUtf8(C[r].Name.Bytes());
  }
  std::string Angled(const TGeomObject& o, int k) const { return "<" + RefName(o, k) + ">"; }
  /// "⟨A⟩ та ⟨B⟩" of the first two references.
  std::string Pair(const TGeomObject& o) const { return Angled(o, 1) + " " + Msgs[86] + " " + Angled(o, 2); }

  void Add(std::string line) { Lines.push_back(std::move(line)); }

  void ConstructionLines(const TGeomObject& o);
  void Properties(const TGeomObject& o);
  void PointCoordinates(const TGeomObject& o);
  void LineEquationText(const TGeomObject& o);
  void Polynomial(const TGeomObject& o);
};

int PolynomialCount(const TGeomObject& o) { return std::clamp<int>(o.RefCount, 0, MaxPolynomialNodes); }

bool PolylineClosed(const TGeomObject& o) {
  const int n = o.RefCount;
  return n >= 2 && n < RefSlots && o.Ref(n) == o.Ref(1);
}

void Reporter::ConstructionLines(const TGeomObject& o) {
  switch (static_cast<TObjKind>(o.Kind)) {
  case okPoint:
    Add(Msgs[84]);
    break;
  case okMidpoint:
    Add(Msgs[85]);
    Add(Pair(o));
    break;
  case okPointOn:
    Add(Msgs[87] + RefName(o, 1) + ">");
    break;
  case okIntersection:
    Add(Msgs[88]);
    Add(Pair(o));
    break;
  case okSymmetric:
    Add(Msgs[89] + RefName(o, 1) + ">");
    Add(Msgs[90] + RefName(o, 2) + ">");
    break;
  case okLine:
    Add(Msgs[91]);
    Add(Pair(o));
    break;
  case okParallel:
  case okPerpendicular:
  case okTangent:
    Add(Msgs[93]);
    Add(Msgs[94] + RefName(o, 1) + ">");
    Add(Msgs[o.Kind == okParallel ? 95 : o.Kind == okPerpendicular ? 96 : 97] + RefName(o, 2) + ">");
    break;
  case okBisector:
    Add(Msgs[92]);
    Add("(" + Angled(o, 1) + ", " + Angled(o, 2) + ", " + Angled(o, 3) + ")");
    break;
  case okPolyline: {
    const bool closed = PolylineClosed(o);
    const int vertices = closed ? o.RefCount - 1 : o.RefCount;
    Add(Msgs[closed ? 82 : 83] + " " + std::to_string(vertices));
    break;
  }
  case okCircle:
    Add(Msgs[80] + RefName(o, 1) + ">,");
    Add(Msgs[81] + RefName(o, 2) + ">");
    break;
  case okPolynomial: {
    int degree = 1;
    for (int k = PolynomialCount(o); k >= 1; --k) {
      if (std::fabs(o.Coef(k)) >= CoefficientShownTol) {
        degree = k;
        break;
      }
    }
    Add(FormatMsg(Msgs[79], {std::to_string(degree - 1)}));
    break;
  }
  case okFunction: {
    const std::string e1 = Cp1251ToUtf8(o.Expr1.Bytes());
    std::string formula;
    if (o.FuncType == 1) formula = "y=" + e1;
    if (o.FuncType == 2) formula = "x=" + e1 + ", y=" + Cp1251ToUtf8(o.Expr2.Bytes());
    if (o.FuncType == 3) formula = "r=" + e1;
    Add(Msgs[78] + " " + formula);
    break;
  }
  }
}

void Reporter::PointCoordinates(const TGeomObject& o) {
  std::string text;
  if (Format.CoordSystem == 1) {
    const double r = Distance({o.X1, o.Y1}, {0, 0});
    // The counter-clockwise angle from the positive x axis in [0, 2π); the origin has none and
    // reads 0°.
    double phi = 0;
    if (r > 0) {
      phi = -OrientedAngle({-10, 0}, {0, 0}, {0, 0}, {o.X1, o.Y1}).Value;
      if (phi < 0) phi += 2 * Pi;
    }
    text = "(" + FA(User(r)) + ", " + FA(phi / Pi * 180) + "°)";
  } else {
    text = "(" + FA(User(o.X1)) + ", " + FA(User(o.Y1)) + ")";
  }
  Add(Msgs[77] + " " + text);
}

void Reporter::LineEquationText(const TGeomObject& o) {
  const LineEq e = LineEquation({User(o.X1), User(o.Y1)}, {User(o.X2), User(o.Y2)});
  std::string text = FA(e.A) + "x";
  if (e.B >= 0) text += "+";
  text += FA(e.B) + "y";
  if (e.C >= 0) text += "+";
  text += FA(e.C) + "=0";
  Add(Msgs[98] + " " + text);
}

void Reporter::Polynomial(const TGeomObject& o) {
  const int n = PolynomialCount(o);
  std::string text = "y=";
  for (int k = n; k >= 1; --k) {
    const double coef = o.Coef(k);
    if (std::fabs(coef) < CoefficientShownTol) continue;
    if (text != "y=" && coef >= 0) text += "+";
    text += FA(coef);
    if (k > 1) text += "x^" + std::to_string(k - 1);
  }
  if (text == "y=") text = "y=0";
  Add(text);
  const double* c = &o.Param[6];
  Add(Msgs[71] + " " + FA(IntegratePolynomial(n, c, o.ExtB(), o.ExtA())));
  Add(Msgs[72] + " " + FA(PolynomialArcLength(n, c, o.ExtB(), o.ExtA(), Format.ArcLengthSteps)));
}

void Reporter::Properties(const TGeomObject& o) {
  switch (static_cast<TObjKind>(o.Kind)) {
  case okPoint:
  case okMidpoint:
  case okPointOn:
  case okIntersection:
  case okSymmetric:
    PointCoordinates(o);
    break;
  case okLine:
  case okParallel:
  case okPerpendicular:
  case okBisector:
  case okTangent:
    LineEquationText(o);
    break;
  case okPolyline:
    Add(Msgs[74] + " " + FA(User(o.Length())));
    if (PolylineClosed(o)) Add(Msgs[76] + " " + FA(o.Area()));
    break;
  case okCircle: {
    const double r = User(o.Length());
    Add(Msgs[73] + " " + FA(r));
    Add(Msgs[74] + " " + FA(2 * Pi * r));
    Add(Msgs[75] + " " + FA(Pi * r * r));
    break;
  }
  case okPolynomial:
    Polynomial(o);
    break;
  case okFunction:
    Add("MinX=" + FA(o.ExtB()) + "; MaxX=" + FA(o.ExtA()));
    Add("MinY=" + FA(o.ExtD()) + "; MaxY=" + FA(o.ExtC()));
    break;
  }
}

} // namespace

std::vector<std::string> ObjectReport(const Construction& c, const MsgTable& msgs, int number,
                                      const ReportFormat& format) {
  if (number < 1 || number > c.ObjCount || !IsValidKind(c[number].Kind)) return {};
  Reporter r{c, msgs, format, {}};
  const TGeomObject& o = c[number];
  r.ConstructionLines(o);
  if (!o.Defined)
    r.Add(msgs[99]);
  else
    r.Properties(o);
  return std::move(r.Lines);
}

} // namespace drex
