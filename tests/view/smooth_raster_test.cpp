// The smooth pixel walk: strokes and circles covered by distance, joins without gaps or beads,
// dashes that run on, and pixels far off the buffer never touched.

#include <gtest/gtest.h>

#include <cmath>

#include <vector>

#include "view/raster_canvas.h"
#include "view/smooth_raster.h"

namespace drex {
namespace {

constexpr uint32_t White = 0xFFFFFFFFu;

struct Picture {
  Picture(int w, int h) : Pixels(static_cast<std::size_t>(w) * h, White), Buffer{Pixels.data(), w, h, w} {}
  /// Darkness 0 (white) .. 255 (black) of a pixel of a grey picture.
  int Ink(int x, int y) const {
    return 255 - static_cast<int>(Pixels[static_cast<std::size_t>(y) * Buffer.Width + x] & 0xFFu);
  }
  int Count(int low, int high) const {
    int n = 0;
    for (int y = 0; y < Buffer.Height; ++y)
      for (int x = 0; x < Buffer.Width; ++x)
        n += Ink(x, y) >= low && Ink(x, y) <= high;
    return n;
  }
  std::vector<uint32_t> Pixels;
  PixelBuffer Buffer;
};

SmoothPen Pen(int width, PenStyle style = PenStyle::Solid) {
  return SmoothPenOf(CanvasPen{ColorBlack, style, width, PenMode::Copy});
}

TEST(SmoothRaster, StrokesAreCoveredByDistanceAndCutSquareAtTheirEnds) {
  Picture p(60, 40);
  const Point2 across[] = {{10.5, 10.5}, {50.5, 10.5}};
  StrokeSmooth(p.Buffer, across, 2, false, 0, Pen(3));
  // Three whole rows about the middle, nothing beyond; the ends stop half a pixel past the points.
  for (int x = 11; x <= 49; ++x) {
    EXPECT_EQ(p.Ink(x, 9), 255);
    EXPECT_EQ(p.Ink(x, 10), 255);
    EXPECT_EQ(p.Ink(x, 11), 255);
    EXPECT_EQ(p.Ink(x, 8), 0);
    EXPECT_EQ(p.Ink(x, 12), 0);
  }
  EXPECT_EQ(p.Ink(9, 10), 0);
  EXPECT_EQ(p.Ink(51, 10), 0);

  Picture d(60, 60);
  const Point2 diagonal[] = {{5.5, 5.5}, {50.5, 35.5}};
  StrokeSmooth(d.Buffer, diagonal, 2, false, 0, Pen(1));
  EXPECT_GT(d.Count(20, 235), 40) << "a slanted thin line has partly covered pixels";
  // Its total ink is its area: length × width.
  double ink = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x)
      ink += d.Ink(x, y) / 255.0;
  EXPECT_NEAR(ink, std::hypot(45, 30), 3);
}

TEST(SmoothRaster, VerticesJoinWithoutGapsOrBeads) {
  // A right angle of a wide pen: the outer corner is rounded off, the inside is not blended twice.
  Picture p(60, 60);
  const Point2 corner[] = {{10.5, 40.5}, {40.5, 40.5}, {40.5, 10.5}};
  StrokeSmooth(p.Buffer, corner, 3, false, 0, Pen(6));
  EXPECT_EQ(p.Ink(41, 41), 255) << "the outer corner near the vertex is covered";
  EXPECT_EQ(p.Ink(40, 40), 255);
  EXPECT_EQ(p.Ink(44, 44), 0) << "beyond the rounded corner";
  // A gently bending curve of many short segments is as dark along its middle as a straight line.
  Picture c(200, 60);
  std::vector<Point2> curve;
  for (int k = 0; k <= 60; ++k)
    curve.push_back({10.5 + 3 * k, 30.5 + 10 * std::sin(k / 10.0)});
  StrokeSmooth(c.Buffer, curve.data(), curve.size(), false, 0, Pen(2));
  int beads = 0;
  for (int y = 1; y + 1 < 60; ++y)
    for (int x = 12; x < 188; ++x) {
      const int v = c.Ink(x, y);
      beads += v > 16 && v < 240 && v > c.Ink(x - 1, y) + 40 && v > c.Ink(x + 1, y) + 40;
    }
  EXPECT_LE(beads, 2);
}

TEST(SmoothRaster, DashesRunOnAcrossVerticesAndFromTheOffset) {
  const SmoothPen dash = Pen(1, PenStyle::Dash);
  ASSERT_GT(dash.Period, 0);
  Picture whole(120, 10), pieces(120, 10);
  const Point2 line[] = {{0.5, 5.5}, {100.5, 5.5}};
  StrokeSmooth(whole.Buffer, line, 2, false, 0, dash);
  const Point2 bent[] = {{0.5, 5.5}, {37.5, 5.5}, {61.5, 5.5}, {100.5, 5.5}};
  StrokeSmooth(pieces.Buffer, bent, 4, false, 0, dash);
  for (int x = 0; x < 120; ++x)
    EXPECT_NEAR(whole.Ink(x, 5), pieces.Ink(x, 5), 2) << x;
  // A piece that starts 10 pixels into the outline takes up the pattern there.
  Picture later(120, 10);
  const Point2 rest[] = {{10.5, 5.5}, {100.5, 5.5}};
  StrokeSmooth(later.Buffer, rest, 2, false, 10, dash);
  for (int x = 12; x < 100; ++x)
    EXPECT_NEAR(whole.Ink(x, 5), later.Ink(x, 5), 2) << x;
  EXPECT_GT(whole.Count(0, 0), 0);
  EXPECT_GT(whole.Count(255, 255), 0);
}

TEST(SmoothRaster, CirclesRingAndFillSymmetrically) {
  Picture p(80, 80);
  CircleSmooth(p.Buffer, 40, 40, 20, Pen(2), true, 0xFF808080u);
  for (int k = 0; k < 80; ++k) {
    EXPECT_EQ(p.Ink(k, 20), p.Ink(79 - k, 20)) << k;
    EXPECT_EQ(p.Ink(20, k), p.Ink(20, 79 - k)) << k;
  }
  EXPECT_EQ(p.Ink(40, 40), 127) << "filled inside";
  EXPECT_EQ(p.Ink(40, 20), 255) << "on the ring";
  EXPECT_EQ(p.Ink(40, 17), 0) << "outside";
  EXPECT_GT(p.Count(1, 254), 100) << "an antialiased rim";
}

TEST(SmoothRaster, FarShapesTouchOnlyTheBuffer) {
  // Guard rows around the picture stay white whatever is drawn.
  std::vector<uint32_t> pixels(40 * 42, White);
  const PixelBuffer inner{pixels.data() + 40, 40, 40, 40};
  const Point2 far[] = {{-2e9, -1e9}, {2e9, 1e9}, {1e300, 5}, {5, -1e300}};
  StrokeSmooth(inner, far, 4, true, 0, Pen(15, PenStyle::DashDot));
  CircleSmooth(inner, 1e9, 20, 1e9 - 19.5, Pen(9), true, 0xFF000000u);
  CircleSmooth(inner, 20, 20, 1e308, Pen(3), true, 0xFF000000u);
  CircleSmooth(inner, 20, 20, std::nan(""), Pen(3), true, 0xFF000000u);
  for (int x = 0; x < 40; ++x) {
    EXPECT_EQ(pixels[static_cast<std::size_t>(x)], White);
    EXPECT_EQ(pixels[static_cast<std::size_t>(41 * 40 + x)], White);
  }
}

} // namespace
} // namespace drex
