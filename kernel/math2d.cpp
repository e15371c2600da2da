#include "kernel/math2d.h"

#include <cfloat>
#include <cmath>
#include <utility>

namespace drex {

namespace {

using math2d_detail::Real;
using math2d_detail::ToDouble;

constexpr Real Pi = 3.141592653589793238462643383279502884L;

/// Radicands of the x of an intersection or contact point that are negative by less than this
/// are rounding noise of a touching configuration and taken as 0.
constexpr Real RoundingRadicandTol = 1e-6L;

/// True when v is finite and representable as a double.
bool FitsDouble(Real v) { return std::isfinite(v) && std::fabs(v) <= static_cast<Real>(DBL_MAX); }

bool Near(Real e, Real a, Real b) { return std::fabs(b - a) < e; }

/// Classifies a discriminant: true when it admits solutions, setting count to 1 (and disc to 0
/// when it was a little negative) for a touching configuration.
bool ClassifyDiscriminant(Real& disc, Real tol, int& count) {
  if (!std::isfinite(disc)) return false;
  if (Near(tol, 0, disc)) {
    count = 1;
    if (disc < 0) disc = 0;
    return true;
  }
  return disc > 0;
}

/// The square root of a radicand that must not be negative beyond rounding noise.
bool RootOf(Real radicand, Real& root) {
  if (!std::isfinite(radicand)) return false;
  if (radicand < 0) {
    if (radicand <= -RoundingRadicandTol) return false;
    radicand = 0;
  }
  root = std::sqrt(radicand);
  return true;
}

/// Writes the solutions when all four coordinates fit a double; false otherwise.
bool StoreSolutions(Real xa, Real ya, Real xb, Real yb, TwoSolutions& out) {
  if (!FitsDouble(xa) || !FitsDouble(ya) || !FitsDouble(xb) || !FitsDouble(yb)) return false;
  out.First = {static_cast<double>(xa), static_cast<double>(ya)};
  out.Second = {static_cast<double>(xb), static_cast<double>(yb)};
  return true;
}

/// Moves both solutions by `by`; a coordinate that leaves the double range fails the result.
void AddCentre(TwoSolutions& s, Point2 by) {
  const Real x1 = static_cast<Real>(s.First.x) + by.x;
  const Real y1 = static_cast<Real>(s.First.y) + by.y;
  const Real x2 = static_cast<Real>(s.Second.x) + by.x;
  const Real y2 = static_cast<Real>(s.Second.y) + by.y;
  if (!FitsDouble(x1) || !FitsDouble(y1) || !FitsDouble(x2) || !FitsDouble(y2)) s.Count = 0;
  s.First = {ToDouble(x1), ToDouble(y1)};
  s.Second = {ToDouble(x2), ToDouble(y2)};
}

} // namespace

ValueResult PointLineDistance(Point2 p, Point2 a, Point2 b) {
  const Real dx = static_cast<Real>(b.x) - a.x;
  const Real dy = static_cast<Real>(b.y) - a.y;
  if (Near(PointLineZeroTol, 0, dx) && Near(PointLineZeroTol, 0, dy)) {
    const double d = Distance(p, a);
    if (!std::isfinite(d)) return {0, true};
    return {d, false};
  }
  const Real length = std::sqrt(dx * dx + dy * dy);
  if (!(length > 0) || !std::isfinite(length)) return {0, true};
  const Real d = (dy * (static_cast<Real>(p.x) - a.x) - dx * (static_cast<Real>(p.y) - a.y)) / length;
  if (!FitsDouble(d)) return {0, true};
  return {static_cast<double>(d), false};
}

bool InBox(Point2 a, Point2 b, Point2 p) {
  return std::fmin(a.x, b.x) <= p.x && p.x <= std::fmax(a.x, b.x) && std::fmin(a.y, b.y) <= p.y &&
         p.y <= std::fmax(a.y, b.y);
}

SegmentProximity PointNearSegment(Point2 a, Point2 b, Point2 p, double e) {
  auto same = [](Point2 u, Point2 v) {
    return ApproxEqual(SegmentEndTol, u.x, v.x) && ApproxEqual(SegmentEndTol, u.y, v.y);
  };
  if (same(p, a) || same(p, b)) return {true, true};
  if (same(a, b)) return {false, false};
  const ValueResult d = PointLineDistance(p, a, b);
  return {!d.Failed && std::fabs(d.Value) < e, InBox(a, b, p)};
}

ValueResult OrientedAngle(Point2 p1, Point2 p2, Point2 p3, Point2 p4) {
  const Real ux = static_cast<Real>(p2.x) - p1.x;
  const Real uy = static_cast<Real>(p2.y) - p1.y;
  const Real vx = static_cast<Real>(p4.x) - p3.x;
  const Real vy = static_cast<Real>(p4.y) - p3.y;
  const Real uu = ux * ux + uy * uy;
  const Real t = std::sqrt(uu * (vx * vx + vy * vy));
  if (t < OrientedAngleZeroTol) return {ToDouble(-Pi), false};
  Real s = (ux * vy - uy * vx) / t;
  const Real d = (ux * vx + uy * vy) / std::sqrt(uu);
  if (!std::isfinite(s) || !std::isfinite(d)) return {0, true};
  // For perpendicular vectors rounding can push the sine just past ±1.
  if (s > 1) s = 1;
  if (s < -1) s = -1;
  const Real a0 = std::asin(s);
  Real a;
  if (d >= 0) {
    a = Pi - a0;
  } else {
    a = a0;
    if (a0 < 0) a += 2 * Pi;
  }
  return {ToDouble(a - Pi), false};
}

double PolygonArea(const Point2* vertices, std::size_t count) {
  if (vertices == nullptr || count == 0) return 0;
  auto term = [](const Point2& v, const Point2& w) {
    return static_cast<Real>(v.x) * w.y - static_cast<Real>(w.x) * v.y;
  };
  Real sum = 0;
  for (std::size_t i = 0; i + 1 < count; ++i)
    sum += term(vertices[i], vertices[i + 1]);
  sum += term(vertices[count - 1], vertices[0]); // the closing edge
  return ToDouble(std::fabs(sum) / 2);
}

PointResult IntersectLines(Point2 l1a, Point2 l1b, Point2 l2a, Point2 l2b, Point2 previous) {
  const Real a1 = static_cast<Real>(l1b.y) - l1a.y;
  const Real b1 = static_cast<Real>(l1a.x) - l1b.x;
  const Real c1 = a1 * l1a.x + b1 * l1a.y;
  const Real a2 = static_cast<Real>(l2b.y) - l2a.y;
  const Real b2 = static_cast<Real>(l2a.x) - l2b.x;
  const Real c2 = a2 * l2a.x + b2 * l2a.y;
  const Real det = a1 * b2 - a2 * b1;
  if (det == 0 || !std::isfinite(det)) return {previous, true};
  const Real x = (b2 * c1 - b1 * c2) / det;
  const Real y = (a1 * c2 - a2 * c1) / det;
  if (!FitsDouble(x) || !FitsDouble(y)) return {previous, true};
  return {{static_cast<double>(x), static_cast<double>(y)}, false};
}

PointResult ReflectInLine(Point2 p, Point2 la, Point2 lb) {
  const Point2 q{ToDouble(static_cast<Real>(p.x) - (static_cast<Real>(lb.y) - la.y)),
                 ToDouble(static_cast<Real>(p.y) + (static_cast<Real>(lb.x) - la.x))};
  const PointResult foot = IntersectLines(p, q, la, lb, q);
  if (foot.Failed) return foot;
  const Real x = 2 * static_cast<Real>(foot.Point.x) - p.x;
  const Real y = 2 * static_cast<Real>(foot.Point.y) - p.y;
  if (!FitsDouble(x) || !FitsDouble(y)) return {foot.Point, true};
  return {{static_cast<double>(x), static_cast<double>(y)}, false};
}

TwoSolutions IntersectLineCircle(const LineEq& line, Point2 centre, double r, const TwoSolutions& previous) {
  TwoSolutions res = previous;
  res.Count = 2;
  const Real a = line.A;
  const Real b = line.B;
  const Real cp = a * centre.x + b * centre.y + line.C; // the constant term relative to the centre
  const Real n = a * a + b * b;
  const Real rr = static_cast<Real>(r) * r;
  const bool ok = [&] {
    if (a == 0) {
      // A horizontal line: the roles of x and y exchanged, solution 1 the one with larger x.
      if (b == 0) return false;
      Real disc = b * b * (rr * n - cp * cp);
      if (!ClassifyDiscriminant(disc, LineCircleTouchTol, res.Count)) return false;
      const Real x = std::sqrt(disc) / n;
      const Real y = -cp / b;
      return StoreSolutions(x, y, -x, y, res);
    }
    Real disc = a * a * (rr * n - cp * cp);
    if (!ClassifyDiscriminant(disc, LineCircleTouchTol, res.Count)) return false;
    // s = √disc = |A|·q. Solving the line for x, x = −(B·y + c')/A, loses all precision when the
    // line is nearly horizontal (A tiny); the same points follow without dividing by A:
    // x = (−A·c' ∓ sign(A)·B·q)/N.
    const Real q = std::sqrt(disc) / std::fabs(a);
    const Real s = std::fabs(a) * q;
    const Real bq = a > 0 ? b * q : -b * q;
    const Real y1 = (-b * cp + s) / n;
    const Real y2 = (-b * cp - s) / n;
    const Real x1 = (-a * cp - bq) / n;
    const Real x2 = (-a * cp + bq) / n;
    return StoreSolutions(x1, y1, x2, y2, res);
  }();
  if (!ok) res.Count = 0;
  AddCentre(res, centre);
  return res;
}

TwoSolutions IntersectCircles(Point2 c1, double r1, Point2 c2, double r2, const TwoSolutions& previous) {
  TwoSolutions res = previous;
  res.Count = 2;
  const Real dx = static_cast<Real>(c2.x) - c1.x;
  const Real dy = static_cast<Real>(c2.y) - c1.y;
  const Real n = dx * dx + dy * dy;
  const Real r1r1 = static_cast<Real>(r1) * r1;
  const Real r2r2 = static_cast<Real>(r2) * r2;
  const Real m = (r1r1 - r2r2 + n) / 2;
  // Which sign of x puts a point at height y of circle 1 on circle 2.
  auto onCircle2 = [&](Real x, Real y) {
    return Near(CirclesSignTol, 0, (x - dx) * (x - dx) + (y - dy) * (y - dy) - r2r2);
  };
  const bool ok = [&] {
    if (!(n > 0) || !std::isfinite(n)) return false; // concentric
    Real disc = dx * dx * (r1r1 * n - m * m);
    if (!ClassifyDiscriminant(disc, CirclesTouchTol, res.Count)) return false;
    const Real s = std::sqrt(disc);
    Real ya = (m * dy + s) / n;
    Real yb = (m * dy - s) / n;
    if (c1.x >= c2.x) std::swap(ya, yb);
    Real xa = 0;
    if (!RootOf(r1r1 - ya * ya, xa)) return false;
    if (!onCircle2(xa, ya)) xa = -xa;
    Real xb = 0;
    if (Near(CirclesSignTol, ya, yb)) {
      xb = -xa;
    } else {
      if (!RootOf(r1r1 - yb * yb, xb)) return false;
      if (!onCircle2(xb, yb)) xb = -xb;
    }
    if (ApproxEqual(CirclesSignTol, c1.x, c2.x) && c2.y > c1.y) {
      std::swap(xa, xb);
      std::swap(ya, yb);
    }
    return StoreSolutions(xa, ya, xb, yb, res);
  }();
  if (!ok) res.Count = 0;
  AddCentre(res, c1);
  return res;
}

TwoSolutions TangentPoints(Point2 p, Point2 centre, double r, const TwoSolutions& previous) {
  TwoSolutions res = previous;
  res.Count = 2;
  const Real u = static_cast<Real>(p.x) - centre.x;
  const Real v = static_cast<Real>(p.y) - centre.y;
  const Real n = u * u + v * v;
  const Real rr = static_cast<Real>(r) * r;
  if (std::fabs(std::sqrt(n) - r) < TangentOnCircleTol) {
    // p on the circle: a second point of the tangent at p, perpendicular to the radius.
    const Real x = static_cast<Real>(p.x) + v;
    const Real y = static_cast<Real>(p.y) - u;
    res.Count = FitsDouble(x) && FitsDouble(y) ? 1 : 0;
    res.First = res.Second = {ToDouble(x), ToDouble(y)};
    return res;
  }
  // The radius to a contact point is perpendicular to the tangent through p.
  auto perpendicular = [&](Real x, Real y) { return Near(TangentSignTol, 0, (x - u) * x + (y - v) * y); };
  const bool ok = [&] {
    const Real disc = (u * r) * (u * r) * (n - rr);
    if (!std::isfinite(disc) || disc < 0) return false; // p inside the circle
    if (!(n > 0)) return false;
    const Real s = std::sqrt(disc);
    Real ya = (rr * v + s) / n;
    Real yb = (rr * v - s) / n;
    if (centre.x <= p.x) std::swap(ya, yb);
    Real xa = 0;
    if (!RootOf(rr - ya * ya, xa)) return false;
    if (!perpendicular(xa, ya)) xa = -xa;
    Real xb = 0;
    if (Near(TangentSignTol, ya, yb)) {
      xb = -xa;
    } else {
      if (!RootOf(rr - yb * yb, xb)) return false;
      if (!perpendicular(xb, yb)) xb = -xb;
    }
    if (ApproxEqual(TangentSignTol, centre.x, p.x) && p.y < centre.y) {
      std::swap(xa, xb);
      std::swap(ya, yb);
    }
    return StoreSolutions(xa, ya, xb, yb, res);
  }();
  if (!ok) res.Count = 0;
  AddCentre(res, centre);
  return res;
}

} // namespace drex
