#pragma once
// Small numeric routines of plane geometry: distances, the equation of a line, the oriented angle,
// the area of a polygon, intersections of lines and circles, reflection and tangents.
//
// Every routine is a pure function of its arguments. Intermediate sums and products are formed in
// long double; only the results are double. Failures (a zero divisor, the square root of a
// negative number, a result too large for a double) are tested explicitly and reported through a
// `Failed` flag or a solution `Count` of 0, never through floating-point traps. A result that a
// failing routine does not compute keeps the value passed in as `previous`.

#include <cfloat>
#include <cmath>
#include <cstddef>
#include <vector>

namespace drex {

/// A point or a vector of the plane.
struct Point2 {
  double x = 0;
  double y = 0;
};

/// The coefficients of the line A·x + B·y + C = 0.
struct LineEq {
  double A = 0;
  double B = 0;
  double C = 0;
};

/// A point result with its failure flag.
struct PointResult {
  Point2 Point;
  bool Failed = false;
};

/// A number result with its failure flag.
struct ValueResult {
  double Value = 0;
  bool Failed = false;
};

/// Two solutions and how many of them there are: 0 = none (failure), 1 = the solutions touch,
/// 2 = two distinct solutions. Both solutions are written also when Count is 1.
struct TwoSolutions {
  Point2 First;
  Point2 Second;
  int Count = 0;
};

/// Whether a point is near a segment's line, and whether it lies in the segment's box.
struct SegmentProximity {
  bool Near = false;
  bool Inside = false;
};

namespace math2d_detail {

/// The extended type of the intermediate sums and products.
using Real = long double;

/// v as a double; values beyond the double range become infinities (never an undefined cast).
inline double ToDouble(Real v) {
  if (v >= -static_cast<Real>(DBL_MAX) && v <= static_cast<Real>(DBL_MAX)) return static_cast<double>(v);
  if (std::isnan(v)) return std::nan("");
  return v > 0 ? HUGE_VAL : -HUGE_VAL;
}

} // namespace math2d_detail

// The small routines below run for most objects of every recalculation pass; they are defined
// here so that they are inlined into their callers.

/// True when |b − a| < e.
inline bool ApproxEqual(double e, double a, double b) { return std::fabs(static_cast<math2d_detail::Real>(b) - a) < e; }

/// The Euclidean distance from p to q.
inline double Distance(Point2 p, Point2 q) {
  using math2d_detail::Real;
  const Real dx = static_cast<Real>(q.x) - p.x;
  const Real dy = static_cast<Real>(q.y) - p.y;
  return math2d_detail::ToDouble(std::sqrt(dx * dx + dy * dy));
}

/// The point halfway between p and q.
inline Point2 Midpoint(Point2 p, Point2 q) {
  using math2d_detail::Real;
  return {math2d_detail::ToDouble((static_cast<Real>(p.x) + q.x) / 2),
          math2d_detail::ToDouble((static_cast<Real>(p.y) + q.y) / 2)};
}

/// The line through p1 and p2: A = y2 − y1, B = x1 − x2, C = (x2 − x1)·y1 − (y2 − y1)·x1, not
/// normalised. A = B = 0 when the points coincide.
inline LineEq LineEquation(Point2 p1, Point2 p2) {
  using math2d_detail::Real;
  const Real a = static_cast<Real>(p2.y) - p1.y;
  const Real b = static_cast<Real>(p1.x) - p2.x;
  const Real c = (static_cast<Real>(p2.x) - p1.x) * p1.y - a * p1.x;
  return {math2d_detail::ToDouble(a), math2d_detail::ToDouble(b), math2d_detail::ToDouble(c)};
}

/// Components of a direction shorter than this count as zero in PointLineDistance.
constexpr double PointLineZeroTol = 1e-9;

/// Signed distance from p to the line through a and b, positive when p lies to the right of the
/// direction a → b (y up). When a and b coincide (within PointLineZeroTol) it is Distance(p, a).
/// Fails (value 0) when the distance is not a finite double.
ValueResult PointLineDistance(Point2 p, Point2 a, Point2 b);

/// True when p lies in the closed axis-parallel box spanned by a and b.
bool InBox(Point2 a, Point2 b, Point2 p);

/// Coordinates within this count as the same point in PointNearSegment.
constexpr double SegmentEndTol = 1e-9;

/// Picking test of p against the segment a–b with tolerance e:
/// - p equal to a or b (within SegmentEndTol): near and inside;
/// - a equal to b: neither;
/// - otherwise near when |PointLineDistance(p, a, b)| < e (a distance that cannot be computed is
///   not near), inside when InBox(a, b, p).
SegmentProximity PointNearSegment(Point2 a, Point2 b, Point2 p, double e);

/// A product of squared lengths whose root is below this means a zero vector in OrientedAngle.
constexpr double OrientedAngleZeroTol = 1e-9;

/// The clockwise turn from U = p2 − p1 to V = p4 − p3 in radians, that is minus the
/// counter-clockwise angle, in [−π, π): U = (10, 0), V = (0, 1) gives −π/2; V opposite to U gives
/// −π. A zero vector gives −π without failure. Fails when the angle cannot be computed
/// (non-finite input).
ValueResult OrientedAngle(Point2 p1, Point2 p2, Point2 p3, Point2 p4);

/// Area of the polygon with the `count` vertices at `vertices`, closing edge always included
/// (shoelace formula); a closed list whose last vertex repeats the first gives the same area.
double PolygonArea(const Point2* vertices, std::size_t count);

/// PolygonArea of all points of `vertices`.
inline double PolygonArea(const std::vector<Point2>& vertices) { return PolygonArea(vertices.data(), vertices.size()); }

/// The common point of the infinite lines l1a–l1b and l2a–l2b by Cramer's rule, with no
/// tolerance (nearly parallel lines give far points). Fails when the determinant is exactly 0
/// (parallel or coincident lines, or a line given by two equal points) or the point is not a
/// finite double; the point is then `previous`.
PointResult IntersectLines(Point2 l1a, Point2 l1b, Point2 l2a, Point2 l2b, Point2 previous = {});

/// The mirror image of p in the line la–lb. On failure (la = lb, or a non-finite result) the
/// point is p moved along the line's normal, (px − (lb.y − la.y), py + (lb.x − la.x)), which is p
/// itself when la = lb.
PointResult ReflectInLine(Point2 p, Point2 la, Point2 lb);

/// Discriminants below this in absolute value mean the line touches the circle.
constexpr double LineCircleTouchTol = 1e-6;

/// The points where `line` (from LineEquation) meets the circle at `centre` with radius r.
/// Solution 1 is the one with the larger y. For a horizontal line (A = 0) the solutions are
/// (±√(r² − y²), y) relative to the centre and solution 1 is the one with the larger x.
/// Count 1 when the discriminant is within LineCircleTouchTol of 0 (the line touches), 0 when the
/// line misses the circle or A = B = 0. The centre is added to both solutions whether or not the
/// routine failed, so a failed result is `previous` (its Count ignored) moved by the centre.
TwoSolutions IntersectLineCircle(const LineEq& line, Point2 centre, double r, const TwoSolutions& previous = {});

/// Discriminants below this in absolute value mean the circles touch.
constexpr double CirclesTouchTol = 1e-6;
/// Tolerance of the sign and order decisions of IntersectCircles.
constexpr double CirclesSignTol = 0.00001;

/// The points where the circle (c1, r1) meets the circle (c2, r2). Order: with c1 left of c2 the
/// first solution is the upper one; with c1 right of c2 (or the same x) the lower one; with the
/// same x (within CirclesSignTol) and c2 above c1 the solutions are exchanged once more. Count 1
/// when the discriminant is within CirclesTouchTol of 0, which is always so for centres with
/// exactly the same x (the two solutions are then the two mirror points, same y); for touching
/// circles with different x the second solution is the mirror image of the touching point about
/// the vertical through c1. Count 0 for concentric circles or circles that do not meet; c1 is
/// added to both solutions even then, so a failed result is `previous` moved by c1.
TwoSolutions IntersectCircles(Point2 c1, double r1, Point2 c2, double r2, const TwoSolutions& previous = {});

/// |distance − radius| below this puts the point on the circle for TangentPoints.
constexpr double TangentOnCircleTol = 0.001;
/// Tolerance of the sign and order decisions of TangentPoints.
constexpr double TangentSignTol = 0.00001;

/// The points of contact of the tangents from p to the circle (centre, r).
/// - p on the circle (within TangentOnCircleTol): Count 1 and both solutions are
///   (px + (py − cy), py − (px − cx)), a second point of the tangent at p; the centre is not added.
/// - p outside: Count 2. With the centre left of p (or the same x) the first solution is the lower
///   one, otherwise the upper one; with the same x (within TangentSignTol) and p below the centre
///   the two are exchanged once more.
/// - p inside: Count 0.
/// Except on the circle, the centre is added to both solutions also on failure, so a failed result
/// is `previous` moved by the centre.
TwoSolutions TangentPoints(Point2 p, Point2 centre, double r, const TwoSolutions& previous = {});

} // namespace drex
