#include "expr/polyline_solids.h"

#include <cmath>
#include <vector>

#include <gtest/gtest.h>

namespace drex {
namespace {

constexpr double Pi = 3.14159265358979323846;

SolidValues Solids(const std::vector<double>& xs, const std::vector<double>& ys) {
  return PolylineSolids(xs.data(), ys.data(), static_cast<int>(xs.size()));
}

TEST(PolylineSolids, HorizontalSegmentIsACylinderAboutOxAndADiscAboutOy) {
  const SolidValues s = Solids({0, 1}, {1, 1});
  EXPECT_NEAR(s.VolumeOx, Pi, 1e-12);
  EXPECT_NEAR(s.SurfaceOx, 2 * Pi, 1e-12);
  EXPECT_NEAR(s.SurfaceOy, Pi, 1e-12); // a disc of radius 1
  EXPECT_NEAR(s.VolumeOy, 0, 1e-12);
}

TEST(PolylineSolids, SegmentThroughTheOriginIsSplitThere) {
  const SolidValues s = Solids({-1, 1}, {1, -1});
  EXPECT_NEAR(s.VolumeOx, 2 * Pi / 3, 1e-12); // two cones, not the cancelling frustum
  EXPECT_NEAR(s.SurfaceOx, 2 * Pi * std::sqrt(2.0), 1e-12);
  EXPECT_NEAR(s.VolumeOy, 2 * Pi / 3, 1e-12);
}

TEST(PolylineSolids, ConeAndClosedRectangleAgainstClosedForms) {
  // The segment (0,0)-(h,r) about Ox is a cone: V = pi r^2 h / 3, lateral S = pi r sqrt(r^2+h^2).
  const double r = 2, h = 3;
  const SolidValues cone = Solids({0, h}, {0, r});
  EXPECT_NEAR(cone.VolumeOx, Pi * r * r * h / 3, 1e-12);
  EXPECT_NEAR(cone.SurfaceOx, Pi * r * std::hypot(r, h), 1e-12);

  // The closed rectangle x 1..3, y 0..2 about Ox sweeps a cylinder of radius 2, length 2.
  const SolidValues rect = Solids({1, 3, 3, 1, 1}, {0, 0, 2, 2, 0});
  EXPECT_NEAR(rect.VolumeOx, Pi * 4 * 2, 1e-12);
  // About Oy it sweeps a ring: pi (3^2 - 1^2) * 2.
  EXPECT_NEAR(rect.VolumeOy, Pi * 8 * 2, 1e-12);
  // Surface about Ox: side 2*pi*2*2 plus two discs pi*4 each.
  EXPECT_NEAR(rect.SurfaceOx, 8 * Pi + 8 * Pi, 1e-12);
}

TEST(PolylineSolids, CrossingBothAxesInsertsTwoPointsInOrder) {
  // (-1, 3) -> (3, -1) crosses Oy at (0, 2) and Ox at (2, 0). Volume about Ox of the pieces:
  // frustum from x -1 to 0 (radii 3, 2), cone from 0 to 2 (radius 2), cone from 2 to 3 (radius 1).
  const SolidValues s = Solids({-1, 3}, {3, -1});
  const double expected = Pi / 3 * ((9 + 6 + 4) * 1 + 4 * 2 + 1 * 1);
  EXPECT_NEAR(s.VolumeOx, expected, 1e-12);
  // Reversed direction sweeps the same solid.
  EXPECT_NEAR(Solids({3, -1}, {-1, 3}).VolumeOx, expected, 1e-12);
}

TEST(PolylineSolids, CrossingAtAVertexSplitsNothing) {
  const SolidValues withVertex = Solids({-1, 0, 1}, {1, 0, -1});
  const SolidValues straight = Solids({-1, 1}, {1, -1});
  EXPECT_NEAR(withVertex.VolumeOx, straight.VolumeOx, 1e-12);
  EXPECT_NEAR(withVertex.SurfaceOy, straight.SurfaceOy, 1e-12);
}

TEST(PolylineSolids, ManyCrossingsGetTheRoomTheyNeed) {
  // A zigzag of 1000 vertices crossing Ox on every segment needs almost 2000 points.
  std::vector<double> xs, ys;
  for (int i = 0; i < 1000; ++i) {
    xs.push_back(i);
    ys.push_back(i % 2 == 0 ? 1 : -1);
  }
  const SolidValues s = Solids(xs, ys);
  // Each segment becomes two cones of radius 1 and length 0.5.
  EXPECT_NEAR(s.VolumeOx, 999 * 2 * (Pi / 3 * 0.5), 1e-9);
}

TEST(PolylineSolids, TooFewVerticesGiveZeros) {
  const SolidValues one = Solids({1}, {1});
  EXPECT_EQ(one.VolumeOx, 0.0);
  EXPECT_EQ(one.SurfaceOy, 0.0);
  EXPECT_EQ(PolylineSolids(nullptr, nullptr, 5).SurfaceOx, 0.0);
}

TEST(PolylineSolids, HalfCircleOfManyVerticesIsCloseToTheSphere) {
  // An inscribed half circle of 200 chords about Ox; the frusta fall short of the sphere by about
  // the square of the half angle of a chord.
  std::vector<double> xs, ys;
  const int chords = 200;
  for (int k = 0; k <= chords; ++k) {
    xs.push_back(std::cos(Pi * k / chords));
    ys.push_back(std::sin(Pi * k / chords));
  }
  const SolidValues s = Solids(xs, ys);
  EXPECT_TRUE(s.VolumeOxKnown);
  EXPECT_NEAR(s.VolumeOx, 4 * Pi / 3, 4 * Pi / 3 * 1e-4);
  EXPECT_NEAR(s.SurfaceOx, 4 * Pi, 4 * Pi * 1e-4);
  // About Oy the quarter circles on the two sides would cancel.
  EXPECT_FALSE(s.VolumeOyKnown);
  EXPECT_EQ(s.VolumeOy, 0);
  EXPECT_TRUE(s.SurfaceOyKnown);
}

TEST(PolylineSolids, ClosedPolylineAcrossAnAxisHasNoVolumeAboutIt) {
  // The square -1..1 about Ox would give 0 (the upper part minus the lower one); the solid it
  // sweeps is not that difference, so the volume is unknown.
  const SolidValues across = Solids({-1, 1, 1, -1, -1}, {-1, -1, 1, 1, -1});
  EXPECT_FALSE(across.VolumeOxKnown);
  EXPECT_FALSE(across.VolumeOyKnown);
  EXPECT_FALSE(across.AllKnown());
  EXPECT_TRUE(across.SurfaceOxKnown);
  // Moved right of Oy, it still crosses Ox but not Oy: about Oy it sweeps a ring, pi (9 - 1) * 2.
  const SolidValues right = Solids({1, 3, 3, 1, 1}, {-1, -1, 1, 1, -1});
  EXPECT_FALSE(right.VolumeOxKnown);
  EXPECT_TRUE(right.VolumeOyKnown);
  EXPECT_NEAR(right.VolumeOy, Pi * 8 * 2, 1e-12);
  // Rounding noise below the axis is no part on the other side.
  const SolidValues noise = Solids({1, 3, 3, 1, 1}, {-1e-12, -1e-12, 2, 2, -1e-12});
  EXPECT_TRUE(noise.VolumeOxKnown);
  EXPECT_NEAR(noise.VolumeOx, Pi * 4 * 2, 1e-9);
}

} // namespace
} // namespace drex
