#pragma once
// GoogleTest assertions for plane geometry: points near each other, a point on a line or a circle.
// The checks compute distances directly in double, independently of the routines under test.

#include <cmath>
#include <ostream>

#include <gtest/gtest.h>

#include "kernel/math2d.h"

namespace drex {

inline std::ostream& operator<<(std::ostream& os, const Point2& p) { return os << '(' << p.x << ", " << p.y << ')'; }

/// Predicate format for EXPECT_POINT_NEAR: both coordinates within eps.
inline ::testing::AssertionResult PointsNear(const char* aExpr, const char* bExpr, const char* epsExpr, Point2 a,
                                             Point2 b, double eps) {
  if (std::fabs(a.x - b.x) <= eps && std::fabs(a.y - b.y) <= eps) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << aExpr << " = " << ::testing::PrintToString(a) << " and " << bExpr << " = "
                                       << ::testing::PrintToString(b) << " differ by (" << a.x - b.x << ", "
                                       << a.y - b.y << "), more than " << epsExpr << " = " << eps;
}

/// Predicate format for ExpectOnLine: p within eps of the infinite line through a and b.
inline ::testing::AssertionResult PointOnLine(const char* pExpr, const char*, const char*, const char*, Point2 p,
                                              Point2 a, Point2 b, double eps) {
  const double dx = b.x - a.x;
  const double dy = b.y - a.y;
  const double length = std::hypot(dx, dy);
  if (length == 0)
    return ::testing::AssertionFailure() << "the line through " << ::testing::PrintToString(a) << " is degenerate";
  const double d = std::fabs(dx * (p.y - a.y) - dy * (p.x - a.x)) / length;
  if (d <= eps) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << pExpr << " = " << ::testing::PrintToString(p) << " is " << d
                                       << " from the line through " << ::testing::PrintToString(a) << " and "
                                       << ::testing::PrintToString(b) << " (allowed " << eps << ")";
}

/// Predicate format for ExpectOnCircle: |distance from the centre − r| within eps.
inline ::testing::AssertionResult PointOnCircle(const char* pExpr, const char*, const char*, const char*, Point2 p,
                                                Point2 centre, double r, double eps) {
  const double d = std::hypot(p.x - centre.x, p.y - centre.y);
  if (std::fabs(d - r) <= eps) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << pExpr << " = " << ::testing::PrintToString(p) << " is " << d
                                       << " from the centre " << ::testing::PrintToString(centre)
                                       << " of a circle of radius " << r << " (allowed " << eps << ")";
}

} // namespace drex

/// Both coordinates of point a within eps of point b; prints both points on failure.
#define EXPECT_POINT_NEAR(a, b, eps) EXPECT_PRED_FORMAT3(::drex::PointsNear, a, b, eps)

namespace drex {

/// Expects p on the infinite line through a and b, within eps.
inline void ExpectOnLine(Point2 p, Point2 a, Point2 b, double eps) { EXPECT_PRED_FORMAT4(PointOnLine, p, a, b, eps); }

/// Expects p on the circle (centre, r), within eps.
inline void ExpectOnCircle(Point2 p, Point2 centre, double r, double eps) {
  EXPECT_PRED_FORMAT4(PointOnCircle, p, centre, r, eps);
}

} // namespace drex
