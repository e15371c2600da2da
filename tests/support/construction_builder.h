#pragma once
// Builds constructions for tests one object per line: each call appends an object with its
// references and returns its number, so a test reads like the construction it makes.

#include <initializer_list>
#include <string>
#include <vector>

#include "kernel/construction.h"
#include "kernel/object_table.h"
#include "shell/d2consts.h"

namespace drex {

class ConstructionBuilder {
public:
  /// Appends to `c` from its current ObjCount on.
  explicit ConstructionBuilder(Construction& c);

  Construction& Doc() { return c_; }
  const Construction& Doc() const { return c_; }
  TGeomObject& operator[](int number) { return c_[number]; }
  /// The naming rules used for the second object of a pair.
  NamingRules Naming() const { return NamingRules{texts_, false}; }

  /// A free point at (x, y), internal units.
  int Point(double x, double y);
  int Midpoint(int a, int b);
  /// A point on a line, polyline or circle, attached from the position (x, y) against the host's
  /// last computed position (run a pass first when that matters).
  int PointOn(int host, double x, double y);
  /// An intersection point classified as a tool does it; for a line and a circle or two circles
  /// the twin follows at the returned number + 1.
  int Intersection(int first, int second);
  /// The image of point p in the point or line m.
  int Symmetric(int p, int m);
  int Line(int a, int b);
  int Parallel(int p, int line);
  int Perpendicular(int p, int line);
  int Bisector(int a, int vertex, int c);
  /// A tangent from p to the circle, with its twin at the returned number + 1.
  int Tangent(int p, int circle);
  /// A tangent without twin (RootNo 0, as made by the properties dialog).
  int SingleTangent(int p, int circle);
  /// A polyline through the vertices; closed repeats the first vertex at the end; a fill colour
  /// of -1 leaves it unfilled.
  int Polyline(const std::vector<int>& vertices, bool closed = false, int fillColor = -1);
  int Circle(int centre, int onCircle);
  int Polynomial(const std::vector<int>& nodes);
  /// A function graph: 1 explicit y(x), 2 parametric (x(t), y(t)), 3 polar.
  int Graph(const std::string& expr1, int funcType = 1, const std::string& expr2 = "t");

  /// Appends an object of `kind` with the references exactly as given (no checks), for records
  /// as a damaged file could hold them.
  int Raw(int kind, std::initializer_list<int> refs);

private:
  int Append(int kind, const std::vector<int>& refs);

  Construction& c_;
  MsgTable msgs_;
  KindTexts texts_;
};

} // namespace drex
