#include "kernel/math2d.h"

#include <cfloat>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "support/geometry_matchers.h"

namespace drex {
namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double Eps = 1e-9;

Point2 Polar(Point2 centre, double radius, double degrees) {
  const double a = degrees * Pi / 180;
  return {centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)};
}

double Dot(Point2 a, Point2 b) { return a.x * b.x + a.y * b.y; }
Point2 Sub(Point2 a, Point2 b) { return {a.x - b.x, a.y - b.y}; }

// --- Small routines ---------------------------------------------------------------------------

TEST(Math2dBasics, DistanceMidpointAndLineEquation) {
  EXPECT_FALSE(ApproxEqual(0.5, 0.0, -0.5)); // strict
  EXPECT_DOUBLE_EQ(Distance({1, 2}, {4, 6}), 5);
  // Coordinates whose squares overflow a double still give the distance.
  EXPECT_DOUBLE_EQ(Distance({0, 0}, {3e200, 4e200}), 5e200);
  EXPECT_POINT_NEAR(Midpoint({1, 2}, {4, -6}), (Point2{2.5, -2}), 0);
  EXPECT_POINT_NEAR(Midpoint({DBL_MAX, 0}, {DBL_MAX, 0}), (Point2{DBL_MAX, 0}), 0);

  const LineEq l = LineEquation({1, 2}, {4, 6});
  EXPECT_EQ(l.A, 4);
  EXPECT_EQ(l.B, -3);
  EXPECT_EQ(l.C, 3 * 2 - 4 * 1);
  const LineEq same = LineEquation({7, 7}, {7, 7});
  EXPECT_EQ(same.A, 0);
  EXPECT_EQ(same.B, 0);

  for (int deg = 0; deg < 360; deg += 7) {
    const Point2 p1{3, -2};
    const Point2 p2 = Polar(p1, 10, deg);
    const LineEq e = LineEquation(p1, p2);
    EXPECT_NEAR(e.A * p1.x + e.B * p1.y + e.C, 0, Eps) << deg;
    EXPECT_NEAR(e.A * p2.x + e.B * p2.y + e.C, 0, Eps) << deg;
  }
}

TEST(Math2dBasics, PointLineDistanceIsSignedPositiveToTheRight) {
  const ValueResult right = PointLineDistance({0, -3}, {-1, 0}, {5, 0});
  EXPECT_FALSE(right.Failed);
  EXPECT_DOUBLE_EQ(right.Value, 3);
  EXPECT_DOUBLE_EQ(PointLineDistance({0, 3}, {-1, 0}, {5, 0}).Value, -3);
  EXPECT_DOUBLE_EQ(PointLineDistance({2, 0}, {0, 0}, {0, 1}).Value, 2);
  // Coincident points: the distance to the point, unsigned.
  EXPECT_DOUBLE_EQ(PointLineDistance({3, 4}, {0, 0}, {1e-10, 0}).Value, 5);
}

TEST(Math2dBasics, PointLineDistanceFailsWhenTheDistanceOverflows) {
  const ValueResult far = PointLineDistance({0, 1e308}, {0, -1e308}, {1, -1e308});
  EXPECT_TRUE(far.Failed);
  EXPECT_EQ(far.Value, 0);
  EXPECT_TRUE(PointLineDistance({1e308, 1e308}, {-1e308, -1e308}, {-1e308, -1e308}).Failed);
  EXPECT_TRUE(PointLineDistance({std::nan(""), 0}, {0, 0}, {1, 0}).Failed);
}

TEST(Math2dBasics, InBoxIncludesTheBorderForEitherCornerOrder) {
  struct Case {
    Point2 p;
    bool in;
  } cases[] = {{{1, 1}, true},    {{0, 0}, true},     {{2, 3}, true},      {{0, 3}, true},
               {{2.5, 1}, false}, {{1, -0.1}, false}, {{-1e-12, 1}, false}};
  for (const Case& c : cases) {
    EXPECT_EQ(InBox({0, 0}, {2, 3}, c.p), c.in) << c.p;
    EXPECT_EQ(InBox({2, 3}, {0, 0}, c.p), c.in) << c.p;
    EXPECT_EQ(InBox({0, 3}, {2, 0}, c.p), c.in) << c.p;
  }
}

TEST(Math2dBasics, PointNearSegment) {
  struct Case {
    Point2 a, b, p;
    double e;
    bool nearExpected, insideExpected;
  } cases[] = {
      {{0, 0}, {10, 0}, {0, 0}, 0.1, true, true},        // at an end
      {{0, 0}, {10, 0}, {10, 5e-10}, 0.0, true, true},   // at an end, even with tolerance 0
      {{3, 3}, {3, 3}, {3.5, 3}, 1.0, false, false},     // a segment of zero length
      {{0, 0}, {10, 0}, {5, 0.05}, 0.1, true, false},    // near the line, outside the flat box
      {{0, 0}, {10, 10}, {5, 5.1}, 0.1, true, true},     // near and inside
      {{0, 0}, {10, 10}, {20, 20.05}, 0.1, true, false}, // on the extension of the line
      {{0, 0}, {10, 10}, {5, 6}, 0.1, false, true},      // inside the box but too far
      // The distance overflows: not near, even with an infinite tolerance.
      {{0, -1e308}, {1, -1e308}, {0.5, 1e308}, HUGE_VAL, false, false},
  };
  for (const Case& c : cases) {
    const SegmentProximity r = PointNearSegment(c.a, c.b, c.p, c.e);
    EXPECT_EQ(r.Near, c.nearExpected) << c.a << c.b << c.p;
    EXPECT_EQ(r.Inside, c.insideExpected) << c.a << c.b << c.p;
  }
}

// --- Oriented angle ---------------------------------------------------------------------------

TEST(Math2dAngle, KnownAngles) {
  EXPECT_DOUBLE_EQ(OrientedAngle({0, 0}, {10, 0}, {0, 0}, {0, 1}).Value, -Pi / 2);
  EXPECT_DOUBLE_EQ(OrientedAngle({0, 0}, {10, 0}, {0, 0}, {0, -1}).Value, Pi / 2);
  EXPECT_DOUBLE_EQ(OrientedAngle({0, 0}, {10, 0}, {5, 5}, {6, 5}).Value, 0);
  EXPECT_DOUBLE_EQ(OrientedAngle({0, 0}, {10, 0}, {0, 0}, {-3, 0}).Value, -Pi);
  // A zero vector on either side gives −π without failure.
  for (const ValueResult& r :
       {OrientedAngle({1, 1}, {1, 1}, {0, 0}, {1, 0}), OrientedAngle({0, 0}, {1, 0}, {2, 2}, {2, 2 + 1e-12})}) {
    EXPECT_FALSE(r.Failed);
    EXPECT_DOUBLE_EQ(r.Value, -Pi);
  }
  EXPECT_TRUE(OrientedAngle({0, 0}, {1, 0}, {0, 0}, {std::nan(""), 1}).Failed);
  EXPECT_TRUE(OrientedAngle({0, 0}, {HUGE_VAL, 0}, {0, 0}, {0, 1}).Failed);
}

TEST(Math2dAngle, SweepGivesMinusTheCounterClockwiseAngleInHalfOpenRange) {
  for (double base : {0.0, 37.0, 181.0, 300.0}) {
    const Point2 o{2, -3};
    const Point2 u = Polar(o, 4, base);
    for (int deg = 0; deg < 360; ++deg) {
      const Point2 q{-5, 7};
      const Point2 v = Polar(q, 0.5, base + deg);
      const ValueResult r = OrientedAngle(o, u, q, v);
      ASSERT_FALSE(r.Failed);
      // Expected: −deg wrapped into [−180°, 180°).
      double expected = -deg * Pi / 180;
      if (expected < -Pi) expected += 2 * Pi;
      if (deg == 180) expected = -Pi;
      EXPECT_NEAR(r.Value, expected, 1e-7) << "base " << base << " turn " << deg;
      EXPECT_GE(r.Value, -Pi - 1e-12);
      EXPECT_LT(r.Value, Pi);
    }
  }
}

// --- Polygon area -----------------------------------------------------------------------------

TEST(Math2dArea, PolygonArea) {
  const std::vector<Point2> square{{0, 0}, {1, 0}, {1, 1}, {0, 1}};
  const std::vector<Point2> closed{{0, 0}, {1, 0}, {1, 1}, {0, 1}, {0, 0}};
  const std::vector<Point2> clockwise{{0, 0}, {0, 1}, {1, 1}, {1, 0}};
  EXPECT_DOUBLE_EQ(PolygonArea(square), 1);
  EXPECT_DOUBLE_EQ(PolygonArea(closed), 1);
  EXPECT_DOUBLE_EQ(PolygonArea(clockwise), 1);
  EXPECT_DOUBLE_EQ(PolygonArea({{10, 10}, {14, 10}, {10, 13}}), 6);
  EXPECT_EQ(PolygonArea(std::vector<Point2>{}), 0);
  EXPECT_EQ(PolygonArea(nullptr, 5), 0);
  EXPECT_EQ(PolygonArea({{3, 4}}), 0);
  EXPECT_EQ(PolygonArea({{3, 4}, {5, 6}}), 0);

  // More vertices than any fixed table would hold: a regular 5000-gon.
  const int n = 5000;
  std::vector<Point2> ring;
  for (int k = 0; k < n; ++k)
    ring.push_back(Polar({1e4, -2e4}, 2, 360.0 * k / n));
  EXPECT_NEAR(PolygonArea(ring), n / 2.0 * 4 * std::sin(2 * Pi / n), 1e-6);
}

// --- Lines ------------------------------------------------------------------------------------

TEST(Math2dLines, IntersectLines) {
  const PointResult x = IntersectLines({0, 0}, {1, 1}, {0, 1}, {1, 0});
  EXPECT_FALSE(x.Failed);
  EXPECT_POINT_NEAR(x.Point, (Point2{0.5, 0.5}), 1e-15);

  const Point2 previous{-7, 9};
  struct Case {
    Point2 a, b, c, d;
  } failing[] = {
      {{0, 0}, {1, 1}, {0, 1}, {1, 2}},              // parallel
      {{0, 0}, {1, 1}, {2, 2}, {5, 5}},              // coincident
      {{3, 3}, {3, 3}, {0, 1}, {1, 0}},              // first line given by one point
      {{0, 0}, {1, 0}, {2, 2}, {2, 2}},              // second line given by one point
      {{0, 0}, {1, 1e-300}, {0, 1e300}, {1, 1e300}}, // the common point is beyond any double
  };
  for (const Case& c : failing) {
    const PointResult r = IntersectLines(c.a, c.b, c.c, c.d, previous);
    EXPECT_TRUE(r.Failed) << c.a << c.b << c.c << c.d;
    EXPECT_POINT_NEAR(r.Point, previous, 0);
  }

  // No tolerance: nearly parallel lines meet far away.
  const PointResult far = IntersectLines({0, 0}, {1, 0}, {0, 1}, {1, 1 - 1e-12});
  EXPECT_FALSE(far.Failed);
  EXPECT_NEAR(far.Point.x, 1e12, 1e8);
}

TEST(Math2dLines, IntersectLinesSweepLiesOnBothLines) {
  const Point2 a{-3, 2}, b{5, 7};
  for (int deg = 0; deg < 360; ++deg) {
    const Point2 c{1, -4};
    const Point2 d = Polar(c, 3, deg);
    const PointResult r = IntersectLines(a, b, c, d);
    SCOPED_TRACE(deg);
    // The direction of a–b is at atan2(5, 8) ≈ 32.005°: no whole degree is parallel to it.
    ASSERT_FALSE(r.Failed);
    ExpectOnLine(r.Point, a, b, 1e-9 * (1 + std::hypot(r.Point.x, r.Point.y)));
    ExpectOnLine(r.Point, c, d, 1e-9 * (1 + std::hypot(r.Point.x, r.Point.y)));
  }
}

TEST(Math2dLines, ReflectInLine) {
  const PointResult r = ReflectInLine({2, 5}, {0, 0}, {0, 1});
  EXPECT_FALSE(r.Failed);
  EXPECT_POINT_NEAR(r.Point, (Point2{-2, 5}), 1e-15);
  EXPECT_POINT_NEAR(ReflectInLine({1, 0}, {0, 0}, {1, 1}).Point, (Point2{0, 1}), 1e-15);
  // A point on the mirror stays.
  EXPECT_POINT_NEAR(ReflectInLine({3, 3}, {0, 0}, {1, 1}).Point, (Point2{3, 3}), 1e-15);

  // A mirror given by one point: failure, and the result is the point itself.
  const PointResult degenerate = ReflectInLine({4, -1}, {2, 2}, {2, 2});
  EXPECT_TRUE(degenerate.Failed);
  EXPECT_POINT_NEAR(degenerate.Point, (Point2{4, -1}), 0);
}

TEST(Math2dLines, ReflectInLineSweepMirrorsAcrossTheLine) {
  const Point2 la{1, 2};
  for (int deg = 0; deg < 360; ++deg) {
    SCOPED_TRACE(deg);
    const Point2 lb = Polar(la, 5, deg);
    const Point2 p{-4, 6};
    const PointResult r = ReflectInLine(p, la, lb);
    ASSERT_FALSE(r.Failed);
    ExpectOnLine(Midpoint(p, r.Point), la, lb, 1e-9);
    EXPECT_NEAR(Dot(Sub(r.Point, p), Sub(lb, la)), 0, 1e-9);
    EXPECT_NEAR(Distance(r.Point, la), Distance(p, la), 1e-9);
  }
}

// --- Line and circle --------------------------------------------------------------------------

TEST(Math2dLineCircle, ExamplesAndSolutionOrder) {
  const TwoSolutions vertical = IntersectLineCircle(LineEquation({0, 0}, {0, 5}), {0, 0}, 1);
  EXPECT_EQ(vertical.Count, 2);
  EXPECT_POINT_NEAR(vertical.First, (Point2{0, 1}), 1e-15);
  EXPECT_POINT_NEAR(vertical.Second, (Point2{0, -1}), 1e-15);

  // The order does not depend on the direction the line was given in.
  for (const LineEq& line : {LineEquation({0, 0}, {1, 1}), LineEquation({1, 1}, {0, 0})}) {
    const TwoSolutions diagonal = IntersectLineCircle(line, {0, 0}, 1);
    EXPECT_EQ(diagonal.Count, 2);
    EXPECT_POINT_NEAR(diagonal.First, (Point2{std::sqrt(0.5), std::sqrt(0.5)}), 1e-15);
    EXPECT_POINT_NEAR(diagonal.Second, (Point2{-std::sqrt(0.5), -std::sqrt(0.5)}), 1e-15);
  }
}

TEST(Math2dLineCircle, HorizontalLineGivesItsPointsLargerXFirst) {
  for (const LineEq& line : {LineEquation({-4, 0.6}, {9, 0.6}), LineEquation({9, 0.6}, {-4, 0.6})}) {
    const TwoSolutions s = IntersectLineCircle(line, {0, 0}, 1);
    EXPECT_EQ(s.Count, 2);
    EXPECT_POINT_NEAR(s.First, (Point2{0.8, 0.6}), 1e-15);
    EXPECT_POINT_NEAR(s.Second, (Point2{-0.8, 0.6}), 1e-15);
  }
  const TwoSolutions touching = IntersectLineCircle(LineEquation({0, -3}, {1, -3}), {5, 0}, 3);
  EXPECT_EQ(touching.Count, 1);
  EXPECT_POINT_NEAR(touching.First, (Point2{5, -3}), 1e-15);
  EXPECT_POINT_NEAR(touching.Second, (Point2{5, -3}), 1e-15);
  EXPECT_EQ(IntersectLineCircle(LineEquation({0, 3.5}, {1, 3.5}), {0, 0}, 3).Count, 0);
}

TEST(Math2dLineCircle, FailuresStillAddTheCentre) {
  const TwoSolutions previous{{1, 2}, {3, 4}, 2};
  struct Case {
    LineEq line;
    double r;
  } cases[] = {
      {LineEquation({5, 0}, {5, 1}), 1}, // misses
      {LineEquation({2, 2}, {2, 2}), 1}, // no line at all
      {LineEquation({0, 9}, {1, 9}), 1}, // horizontal, misses
  };
  for (const Case& c : cases) {
    const TwoSolutions s = IntersectLineCircle(c.line, {10, 20}, c.r, previous);
    EXPECT_EQ(s.Count, 0);
    EXPECT_POINT_NEAR(s.First, (Point2{11, 22}), 0);
    EXPECT_POINT_NEAR(s.Second, (Point2{13, 24}), 0);
  }
  EXPECT_POINT_NEAR(IntersectLineCircle(LineEquation({5, 0}, {5, 1}), {10, 20}, 1).First, (Point2{10, 20}), 0);
}

TEST(Math2dLineCircle, SweepOfSecantsAndTangents) {
  const Point2 c{3, -2};
  const double r = 5;
  for (int deg = 0; deg < 360; ++deg) {
    SCOPED_TRACE(deg);
    // A secant through a point inside the circle.
    const Point2 a{4, -1};
    const Point2 b = Polar(a, 7, deg);
    const TwoSolutions s = IntersectLineCircle(LineEquation(a, b), c, r);
    // The touching tolerance applies to A²·(…): a nearly horizontal secant (deg 180, A ≈ 1e-15)
    // counts as touching, with its two points still right.
    ASSERT_EQ(s.Count, deg == 180 ? 1 : 2);
    for (Point2 p : {s.First, s.Second}) {
      ExpectOnLine(p, a, b, 1e-9);
      ExpectOnCircle(p, c, r, 1e-9);
    }
    if (a.y == b.y)
      EXPECT_GT(s.First.x, s.Second.x);
    else
      EXPECT_GE(s.First.y, s.Second.y);

    // The tangent at the point of the circle at angle deg: the line touches, whatever the rounding
    // of its defining points.
    const Point2 t = Polar(c, r, deg);
    const Point2 along = {t.x - std::sin(deg * Pi / 180), t.y + std::cos(deg * Pi / 180)};
    const TwoSolutions touch = IntersectLineCircle(LineEquation(t, along), c, r);
    ASSERT_EQ(touch.Count, 1);
    EXPECT_POINT_NEAR(touch.First, t, 1e-6);
    EXPECT_POINT_NEAR(touch.Second, t, 1e-6);
  }
}

// --- Two circles ------------------------------------------------------------------------------

TEST(Math2dCircles, ExamplesAndSolutionOrder) {
  const TwoSolutions s = IntersectCircles({0, 0}, 5, {8, 0}, 5);
  EXPECT_EQ(s.Count, 2);
  EXPECT_POINT_NEAR(s.First, (Point2{4, 3}), 1e-12);
  EXPECT_POINT_NEAR(s.Second, (Point2{4, -3}), 1e-12);

  const TwoSolutions reversed = IntersectCircles({8, 0}, 5, {0, 0}, 5);
  EXPECT_EQ(reversed.Count, 2);
  EXPECT_POINT_NEAR(reversed.First, (Point2{4, -3}), 1e-12);
  EXPECT_POINT_NEAR(reversed.Second, (Point2{4, 3}), 1e-12);

  // Centres with the same x: count 1 but two distinct mirror points.
  const TwoSolutions above = IntersectCircles({0, 0}, 5, {0, 8}, 5);
  EXPECT_EQ(above.Count, 1);
  EXPECT_POINT_NEAR(above.First, (Point2{-3, 4}), 1e-12);
  EXPECT_POINT_NEAR(above.Second, (Point2{3, 4}), 1e-12);
  const TwoSolutions below = IntersectCircles({0, 8}, 5, {0, 0}, 5);
  EXPECT_EQ(below.Count, 1);
  EXPECT_POINT_NEAR(below.First, (Point2{3, 4}), 1e-12);
  EXPECT_POINT_NEAR(below.Second, (Point2{-3, 4}), 1e-12);
}

TEST(Math2dCircles, TouchingCircles) {
  // Externally touching, centres on a horizontal: the touching point, then its mirror about the
  // vertical through the first centre.
  const TwoSolutions outside = IntersectCircles({1, 1}, 3, {6, 1}, 2);
  EXPECT_EQ(outside.Count, 1);
  EXPECT_POINT_NEAR(outside.First, (Point2{4, 1}), 1e-9);
  EXPECT_POINT_NEAR(outside.Second, (Point2{-2, 1}), 1e-9);
  // Internally touching.
  const TwoSolutions inside = IntersectCircles({0, 0}, 5, {2, 0}, 3);
  EXPECT_EQ(inside.Count, 1);
  EXPECT_POINT_NEAR(inside.First, (Point2{5, 0}), 1e-9);
  // Touching at the top of the first circle (same x): the radicand of x is zero, not negative.
  const TwoSolutions top = IntersectCircles({0.1, 0.3}, 0.7, {0.1, 1.2}, 0.2);
  EXPECT_EQ(top.Count, 1);
  EXPECT_POINT_NEAR(top.First, (Point2{0.1, 1.0}), 1e-6);
  EXPECT_POINT_NEAR(top.Second, (Point2{0.1, 1.0}), 1e-6);
}

TEST(Math2dCircles, FailuresStillAddTheFirstCentre) {
  const TwoSolutions previous{{1, 1}, {-1, -1}, 2};
  struct Case {
    Point2 c2;
    double r1, r2;
  } cases[] = {
      {{10, 20}, 5, 3}, // concentric
      {{20, 20}, 3, 3}, // apart
      {{11, 20}, 5, 1}, // one inside the other
      {{10, 30}, 3, 3}, // apart, same x
  };
  for (const Case& c : cases) {
    const TwoSolutions s = IntersectCircles({10, 20}, c.r1, c.c2, c.r2, previous);
    EXPECT_EQ(s.Count, 0) << c.c2;
    EXPECT_POINT_NEAR(s.First, (Point2{11, 21}), 0);
    EXPECT_POINT_NEAR(s.Second, (Point2{9, 19}), 0);
  }
}

TEST(Math2dCircles, SweepEachPointLiesOnBothCircles) {
  const Point2 c1{-2, 3};
  for (int deg = 0; deg < 360; ++deg) {
    SCOPED_TRACE(deg);
    const Point2 c2 = Polar(c1, 8, deg);
    const TwoSolutions s = IntersectCircles(c1, 5, c2, 6);
    ASSERT_GE(s.Count, 1);
    for (Point2 p : {s.First, s.Second}) {
      ExpectOnCircle(p, c1, 5, 1e-9);
      ExpectOnCircle(p, c2, 6, 1e-9);
    }
    EXPECT_GT(Distance(s.First, s.Second), 1);

    // Touching from outside: the first solution is the touching point.
    const Point2 c3 = Polar(c1, 7, deg);
    const TwoSolutions t = IntersectCircles(c1, 5, c3, 2);
    ASSERT_EQ(t.Count, 1);
    EXPECT_POINT_NEAR(t.First, Polar(c1, 5, deg), 1e-5);
  }
}

// --- Tangents ---------------------------------------------------------------------------------

TEST(Math2dTangents, ExamplesAndSolutionOrder) {
  struct Case {
    Point2 p;
    Point2 first, second;
  } cases[] = {
      {{0, 5}, {2.4, 1.8}, {-2.4, 1.8}},
      {{5, 0}, {1.8, -2.4}, {1.8, 2.4}},
      {{0, -5}, {-2.4, -1.8}, {2.4, -1.8}}, // same x, P below: exchanged
      {{-5, 0}, {-1.8, 2.4}, {-1.8, -2.4}},
  };
  for (const Case& c : cases) {
    const TwoSolutions s = TangentPoints(c.p, {0, 0}, 3);
    EXPECT_EQ(s.Count, 2) << c.p;
    EXPECT_POINT_NEAR(s.First, c.first, 1e-12);
    EXPECT_POINT_NEAR(s.Second, c.second, 1e-12);
  }
}

TEST(Math2dTangents, PointOnOrInsideTheCircle) {
  const TwoSolutions on = TangentPoints({3, 0}, {0, 0}, 3);
  EXPECT_EQ(on.Count, 1);
  EXPECT_POINT_NEAR(on.First, (Point2{3, -3}), 0);
  EXPECT_POINT_NEAR(on.Second, (Point2{3, -3}), 0);
  // Within the tolerance, and with no centre added.
  const TwoSolutions nearly = TangentPoints({12, 20.0005}, {10, 20}, 2);
  EXPECT_EQ(nearly.Count, 1);
  EXPECT_POINT_NEAR(nearly.First, (Point2{12.0005, 18.0005}), 1e-12);

  const TwoSolutions previous{{1, 2}, {3, 4}, 2};
  for (Point2 p : {Point2{11, 20}, Point2{10, 21}, Point2{10, 20}}) {
    const TwoSolutions inside = TangentPoints(p, {10, 20}, 2, previous);
    EXPECT_EQ(inside.Count, 0) << p;
    EXPECT_POINT_NEAR(inside.First, (Point2{11, 22}), 0);
    EXPECT_POINT_NEAR(inside.Second, (Point2{13, 24}), 0);
  }
}

TEST(Math2dTangents, SweepContactPointsAreOnTheCircleAndPerpendicular) {
  const Point2 c{2, -1};
  const double r = 3;
  for (int deg = 0; deg < 360; ++deg) {
    SCOPED_TRACE(deg);
    const Point2 p = Polar(c, 5, deg);
    const TwoSolutions s = TangentPoints(p, c, r);
    ASSERT_EQ(s.Count, 2);
    for (Point2 t : {s.First, s.Second}) {
      ExpectOnCircle(t, c, r, 1e-9);
      EXPECT_NEAR(Dot(Sub(t, c), Sub(t, p)), 0, 1e-8);
    }
    EXPECT_NEAR(Distance(s.First, s.Second), 2 * 2.4, 1e-9);

    const Point2 on = Polar(c, r, deg);
    const TwoSolutions one = TangentPoints(on, c, r);
    ASSERT_EQ(one.Count, 1);
    EXPECT_NEAR(Dot(Sub(one.First, on), Sub(on, c)), 0, 1e-9);
    EXPECT_NEAR(Distance(one.First, on), r, 1e-9);
  }
}

} // namespace
} // namespace drex
