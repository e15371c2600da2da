#include "support/construction_builder.h"

#include <stdexcept>

#include "kernel/recalc.h"

namespace drex {

ConstructionBuilder::ConstructionBuilder(Construction& c) : c_(c) { TakeKindTexts(msgs_, texts_); }

int ConstructionBuilder::Append(int kind, const std::vector<int>& refs) {
  if (c_.ObjCount >= MaxObjects || refs.size() > static_cast<std::size_t>(MaxPolylineRefs))
    throw std::length_error("construction too large");
  const int n = ++c_.ObjCount;
  TGeomObject& o = c_[n];
  // The defaults of a new object, with a cheap unique name: a default name would scan the whole
  // table for every object.
  o = TGeomObject{};
  o.Kind = static_cast<uint8_t>(kind);
  o.Name.Assign("o" + std::to_string(n));
  o.PenWidth = 1;
  o.FuncType = 1;
  o.Visible = 1;
  o.Defined = 1;
  o.RefCount = static_cast<int16_t>(refs.size());
  for (std::size_t k = 0; k < refs.size(); ++k)
    o.Refs[k + 1] = static_cast<int16_t>(refs[k]);
  return n;
}

int ConstructionBuilder::Raw(int kind, std::initializer_list<int> refs) { return Append(kind, std::vector<int>(refs)); }

int ConstructionBuilder::Point(double x, double y) {
  const int n = Append(okPoint, {});
  c_[n].X1 = x;
  c_[n].Y1 = y;
  return n;
}

int ConstructionBuilder::Midpoint(int a, int b) { return Append(okMidpoint, {a, b}); }

int ConstructionBuilder::PointOn(int host, double x, double y) {
  const int n = Append(okPointOn, {host});
  c_[n].X1 = x;
  c_[n].Y1 = y;
  AttachPoint(c_, n);
  return n;
}

int ConstructionBuilder::Intersection(int first, int second) {
  const int n = Append(okIntersection, {first, second});
  ClassifyIntersection(c_, n, Naming());
  return n;
}

int ConstructionBuilder::Symmetric(int p, int m) { return Append(okSymmetric, {p, m}); }
int ConstructionBuilder::Line(int a, int b) { return Append(okLine, {a, b}); }
int ConstructionBuilder::Parallel(int p, int line) { return Append(okParallel, {p, line}); }
int ConstructionBuilder::Perpendicular(int p, int line) { return Append(okPerpendicular, {p, line}); }
int ConstructionBuilder::Bisector(int a, int vertex, int c) { return Append(okBisector, {a, vertex, c}); }

int ConstructionBuilder::Tangent(int p, int circle) {
  const int n = Append(okTangent, {p, circle});
  AppendTangentTwin(c_, n, Naming());
  return n;
}

int ConstructionBuilder::SingleTangent(int p, int circle) { return Append(okTangent, {p, circle}); }

int ConstructionBuilder::Polyline(const std::vector<int>& vertices, bool closed, int fillColor) {
  std::vector<int> refs = vertices;
  if (closed && !refs.empty()) refs.push_back(refs.front());
  const int n = Append(okPolyline, refs);
  if (fillColor >= 0) {
    c_[n].SetFilled(true);
    c_[n].SetFillColor(fillColor);
  }
  return n;
}

int ConstructionBuilder::Circle(int centre, int onCircle) { return Append(okCircle, {centre, onCircle}); }
int ConstructionBuilder::Polynomial(const std::vector<int>& nodes) { return Append(okPolynomial, nodes); }

int ConstructionBuilder::Graph(const std::string& expr1, int funcType, const std::string& expr2) {
  const int n = Append(okFunction, {});
  TGeomObject& o = c_[n];
  o.FuncType = static_cast<uint8_t>(funcType);
  o.X1 = -5.0;
  o.Y1 = 5.0;
  o.X2 = -5.0;
  o.Y2 = 5.0;
  o.Expr1.Assign(expr1);
  o.Expr2.Assign(expr2);
  return n;
}

} // namespace drex
