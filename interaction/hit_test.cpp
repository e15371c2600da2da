#include "interaction/hit_test.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "expr/polynomial.h"
#include "interaction/operation_state.h"

namespace drex {
namespace {

/// Pixel slack of the band's inside tests, so that a crossing computed on a border stays inside.
constexpr double BorderSlack = 1e-6;

bool IsObject(const Construction& c, int n) { return n >= 1 && n <= c.ObjCount; }

Point2 Screen1(const TGeomObject& o) { return {static_cast<double>(o.ScrX1), static_cast<double>(o.ScrY1)}; }
Point2 Screen2(const TGeomObject& o) { return {static_cast<double>(o.ScrX2), static_cast<double>(o.ScrY2)}; }

/// Number of references of `o` that may be read, held to the table's room.
int RefsOf(const TGeomObject& o) { return std::clamp<int>(o.RefCount, 0, RefSlots - 1); }

bool HitsPoint(const TGeomObject& o, Point2 p, double tolerance) {
  return std::fabs(o.ScrX1 - p.x) < tolerance && std::fabs(o.ScrY1 - p.y) < tolerance;
}

bool HitsPolyline(const Construction& c, const TGeomObject& o, Point2 p, double tolerance) {
  const int n = RefsOf(o);
  for (int k = 1; k < n; ++k) {
    const int a = o.Ref(k), b = o.Ref(k + 1);
    if (!IsObject(c, a) || !IsObject(c, b)) continue;
    const SegmentProximity s = PointNearSegment(Screen1(c[a]), Screen1(c[b]), p, tolerance);
    if (s.Near && s.Inside) return true;
  }
  return false;
}

bool HitsCircle(const TGeomObject& o, Point2 p, double tolerance) {
  const double r = Distance(Screen1(o), Screen2(o));
  return std::fabs(Distance(p, Screen1(o)) - r) < tolerance;
}

bool HitsPolynomial(const TGeomObject& o, const HitContext& ctx, Point2 p) {
  const Point2 world = ScreenToWorld(ctx.View, ctx.Area, static_cast<int>(p.x), static_cast<int>(p.y));
  const double unit = ctx.UnitLength;
  const double t = world.x / unit;
  // Only the drawn stretch between the smallest and the largest node can be hit.
  if (!(t >= o.ExtA() && t <= o.ExtB())) return false;
  const Point2 s = WorldToScreen(ctx.View, ctx.Area, {t * unit, PolynomialValue(o, t) * unit});
  return std::fabs(RoundHalfEven(s.y) - p.y) < ctx.Tolerance;
}

bool Hits(const Construction& c, const HitContext& ctx, const TGeomObject& o, Point2 p) {
  const double tolerance = ctx.Tolerance;
  switch (static_cast<TObjKind>(o.Kind)) {
  case okPoint:
  case okMidpoint:
  case okPointOn:
  case okIntersection:
  case okSymmetric:
    return HitsPoint(o, p, tolerance);
  case okLine:
  case okParallel:
  case okPerpendicular:
  case okBisector:
  case okTangent:
    return PointNearSegment(Screen1(o), Screen2(o), p, tolerance).Near;
  case okPolyline:
    return HitsPolyline(c, o, p, tolerance);
  case okCircle:
    return HitsCircle(o, p, tolerance);
  case okPolynomial:
    return HitsPolynomial(o, ctx, p);
  case okFunction:
    return false;
  }
  return false;
}

// Rubber band geometry. The band is a pixel rectangle; its four sides are taken in turn from the
// start corner.

struct Band {
  double Left, Top, Right, Bottom;
  std::array<Point2, 5> Corners; // start, then round the rectangle back to the start

  explicit Band(const BandRect& r)
      : Left(std::min(r.Start.x, r.End.x)), Top(std::min(r.Start.y, r.End.y)), Right(std::max(r.Start.x, r.End.x)),
        Bottom(std::max(r.Start.y, r.End.y)),
        Corners{{r.Start, {r.End.x, r.Start.y}, r.End, {r.Start.x, r.End.y}, r.Start}} {}

  bool Contains(Point2 p) const {
    return p.x >= Left - BorderSlack && p.x <= Right + BorderSlack && p.y >= Top - BorderSlack &&
           p.y <= Bottom + BorderSlack;
  }
};

bool InBoxWithSlack(Point2 a, Point2 b, Point2 p) {
  return p.x >= std::min(a.x, b.x) - BorderSlack && p.x <= std::max(a.x, b.x) + BorderSlack &&
         p.y >= std::min(a.y, b.y) - BorderSlack && p.y <= std::max(a.y, b.y) + BorderSlack;
}

/// True when the line through a and b crosses the line of some side inside the band, and, when
/// `segment` is set, inside the box of a–b too.
bool LineCrossesBand(const Band& band, Point2 a, Point2 b, bool segment) {
  if (std::fabs(a.x - b.x) < SegmentEndTol && std::fabs(a.y - b.y) < SegmentEndTol) return false;
  for (int s = 0; s < 4; ++s) {
    const PointResult x =
        IntersectLines(a, b, band.Corners[static_cast<std::size_t>(s)], band.Corners[static_cast<std::size_t>(s + 1)]);
    if (x.Failed || !band.Contains(x.Point)) continue;
    if (segment && !InBoxWithSlack(a, b, x.Point)) continue;
    return true;
  }
  return false;
}

bool BandCatchesPolyline(const Construction& c, const Band& band, const TGeomObject& o) {
  const int n = RefsOf(o);
  for (int k = 1; k < n; ++k) {
    const int a = o.Ref(k), b = o.Ref(k + 1);
    if (!IsObject(c, a) || !IsObject(c, b)) continue;
    const Point2 pa = Screen1(c[a]), pb = Screen1(c[b]);
    if (band.Contains(pa) || LineCrossesBand(band, pa, pb, true)) return true;
  }
  return false;
}

bool BandCatchesCircle(const Band& band, const TGeomObject& o) {
  const Point2 centre = Screen1(o);
  const double r = Distance(centre, Screen2(o));
  for (int s = 0; s < 4; ++s) {
    const Point2 a = band.Corners[static_cast<std::size_t>(s)], b = band.Corners[static_cast<std::size_t>(s + 1)];
    const TwoSolutions x = IntersectLineCircle(LineEquation(a, b), centre, r);
    if (x.Count == 0) {
      if (band.Contains(Screen2(o))) return true;
    } else if (band.Contains(x.First) || band.Contains(x.Second)) {
      return true;
    }
  }
  return false;
}

bool BandCatchesPolynomial(const Band& band, const HitContext& ctx, const TGeomObject& o) {
  const double a = o.ExtA(), b = o.ExtB();
  const double unit = ctx.UnitLength;
  for (int k = 0; k <= 100; ++k) {
    const double t = a + k * (b - a) / 100;
    const Point2 s = WorldToScreen(ctx.View, ctx.Area, {t * unit, PolynomialValue(o, t) * unit});
    if (band.Contains({static_cast<double>(RoundHalfEven(s.x)), static_cast<double>(RoundHalfEven(s.y))})) return true;
  }
  return false;
}

} // namespace

double PolynomialValue(const TGeomObject& o, double t) {
  const int n = std::clamp<int>(o.RefCount, 0, MaxPolynomialNodes);
  return EvalPolynomial(n, &o.Param[6], t);
}

int HitTest(const Construction& c, const HitContext& ctx, int x, int y) {
  const Point2 p{static_cast<double>(x), static_cast<double>(y)};
  int result = 0;
  for (int n = 1; n <= c.ObjCount; ++n) {
    if (result > 0 && IsPointKind(c[result].Kind)) break;
    const TGeomObject& o = c[n];
    if (!o.Defined || !(o.Visible || ctx.ShowHidden)) continue;
    if (Hits(c, ctx, o, p)) result = n;
  }
  return result;
}

bool BandCatches(const Construction& c, const HitContext& ctx, const BandRect& rect, int n) {
  if (!IsObject(c, n)) return false;
  const Band band(rect);
  const TGeomObject& o = c[n];
  switch (static_cast<TObjKind>(o.Kind)) {
  case okPoint:
  case okMidpoint:
  case okPointOn:
  case okIntersection:
  case okSymmetric:
    return band.Contains(Screen1(o));
  case okLine:
  case okParallel:
  case okPerpendicular:
  case okBisector:
  case okTangent:
    return LineCrossesBand(band, Screen1(o), Screen2(o), false);
  case okPolyline:
    return BandCatchesPolyline(c, band, o);
  case okCircle:
    return BandCatchesCircle(band, o);
  case okPolynomial:
    return BandCatchesPolynomial(band, ctx, o);
  case okFunction:
    return false;
  }
  return false;
}

} // namespace drex
