#include <gtest/gtest.h>

#include <climits>

#include "kernel/geom_object.h"
#include "support/buffer_canvas.h"

namespace drex {
namespace {

constexpr int32_t Red = 0x0000FF;
constexpr int32_t Green = 0x008000;

CanvasPen PenOf(int32_t color, PenStyle style = PenStyle::Solid, int width = 1, PenMode mode = PenMode::Copy) {
  return CanvasPen{color, style, width, mode};
}

// Painted pixels of row y between x0 and x1 as a string of '#' (pen colour) and '.'.
std::string RowRun(const BufferCanvas& c, int y, int x0, int x1, int32_t color) {
  std::string s;
  for (int x = x0; x <= x1; ++x)
    s += c.PixelColor(x, y) == color ? '#' : '.';
  return s;
}

TEST(RasterShapes, RectangleCoversLeftAndTopAndStopsShortOfRightAndBottom) {
  BufferCanvas c(20, 20);
  c.SetPen(PenOf(ColorBlack));
  c.SetBrushColor(Red);
  c.Rectangle(2, 3, 7, 9);
  EXPECT_EQ(c.PixelColor(2, 3), ColorBlack);
  EXPECT_EQ(c.PixelColor(6, 8), ColorBlack);
  EXPECT_EQ(c.PixelColor(6, 3), ColorBlack);
  EXPECT_EQ(c.PixelColor(7, 5), ColorWhite) << c.Picture();
  EXPECT_EQ(c.PixelColor(4, 9), ColorWhite) << c.Picture();
  EXPECT_EQ(c.PixelColor(1, 5), ColorWhite);
  EXPECT_EQ(c.PixelColor(4, 2), ColorWhite);
  // Outline 5 × 6 pixels, the 3 × 4 inside in the brush colour.
  EXPECT_EQ(c.CountOf(ColorBlack), 2 * 5 + 2 * 4);
  EXPECT_EQ(c.CountOf(Red), 3 * 4);
}

TEST(RasterShapes, EllipseStaysInsideItsBoxAndTouchesEverySide) {
  BufferCanvas c(30, 30);
  c.SetPen(PenOf(ColorBlack));
  c.SetBrushStyle(BrushStyle::Clear);
  c.Ellipse(5, 6, 16, 13);
  int minX = 99, maxX = -1, minY = 99, maxY = -1;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 30; ++x) {
      if (c.PixelColor(x, y) != ColorBlack) continue;
      minX = std::min(minX, x);
      maxX = std::max(maxX, x);
      minY = std::min(minY, y);
      maxY = std::max(maxY, y);
    }
  }
  EXPECT_EQ(minX, 5);
  EXPECT_EQ(maxX, 15) << c.Picture();
  EXPECT_EQ(minY, 6);
  EXPECT_EQ(maxY, 12) << c.Picture();
  // The centre stays white with a clear brush; with a solid brush it takes the brush colour.
  EXPECT_EQ(c.PixelColor(10, 9), ColorWhite);
  c.SetBrushColor(Green);
  c.Ellipse(5, 6, 16, 13);
  EXPECT_EQ(c.PixelColor(10, 9), Green);
}

TEST(RasterShapes, PointDotIsRoundAndSymmetric) {
  // The dot of a point of pen width 1: box (x − 2, y − 2, x + 3, y + 3).
  BufferCanvas c(9, 9);
  c.SetPen(PenOf(ColorBlack));
  c.SetBrushColor(Red);
  c.Ellipse(2, 2, 7, 7);
  EXPECT_EQ(c.Picture(), ".........\n"
                         ".........\n"
                         "...###...\n"
                         "..#+++#..\n"
                         "..#+++#..\n"
                         "..#+++#..\n"
                         "...###...\n"
                         ".........\n"
                         ".........\n");
}

TEST(RasterShapes, EmptyAndReversedBoxes) {
  BufferCanvas c(20, 20);
  c.SetPen(PenOf(ColorBlack));
  c.Ellipse(5, 5, 5, 10);
  c.Rectangle(5, 5, 10, 5);
  EXPECT_EQ(c.CountOf(ColorBlack), 0);
  c.Rectangle(7, 9, 2, 3); // corners given the other way round
  EXPECT_EQ(c.PixelColor(2, 3), ColorBlack);
  EXPECT_EQ(c.PixelColor(7, 9), ColorWhite);
}

TEST(RasterShapes, WidePenOutlineIsThick) {
  BufferCanvas c(30, 30);
  c.SetPen(PenOf(ColorBlack, PenStyle::Solid, 3));
  c.SetBrushColor(Red);
  c.Rectangle(5, 5, 20, 20);
  // Width 3 reaches one pixel outside the box and two inside.
  EXPECT_EQ(RowRun(c, 12, 3, 8, ColorBlack), ".###..");
  EXPECT_EQ(c.PixelColor(8, 12), Red);
}

TEST(RasterShapes, HugeShapesAreClippedWithoutOverflow) {
  BufferCanvas c(40, 30);
  c.SetPen(PenOf(ColorBlack, PenStyle::Solid, 5));
  c.SetBrushColor(Red);
  c.Ellipse(-INT_MAX, -INT_MAX, INT_MAX, INT_MAX);
  EXPECT_EQ(c.PixelColor(20, 15), Red);
  c.Rectangle(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  c.MoveTo(INT_MIN, INT_MIN);
  c.LineTo(INT_MAX, INT_MAX);
  c.MoveTo(INT_MAX, -7);
  c.LineTo(INT_MIN, 3);
  c.Polygon({{INT_MIN, 0}, {INT_MAX, 10}, {0, INT_MAX}});
  SUCCEED();
}

struct LineCase {
  int x0, y0, x1, y1;
  int pixels; // pixels painted: the longer extent, the last pixel left out
};

class RasterLine : public testing::TestWithParam<LineCase> {};

TEST_P(RasterLine, LeavesOutTheLastPixel) {
  const LineCase& l = GetParam();
  BufferCanvas c(40, 40);
  c.SetPen(PenOf(ColorBlack));
  c.MoveTo(l.x0, l.y0);
  c.LineTo(l.x1, l.y1);
  if (l.pixels > 0) {
    EXPECT_EQ(c.PixelColor(l.x0, l.y0), ColorBlack) << c.Picture();
  }
  EXPECT_EQ(c.PixelColor(l.x1, l.y1), ColorWhite) << c.Picture();
  EXPECT_EQ(c.CountOf(ColorBlack), l.pixels) << c.Picture();
}

INSTANTIATE_TEST_SUITE_P(Directions, RasterLine,
                         testing::Values(LineCase{5, 5, 15, 5, 10},   // right
                                         LineCase{15, 5, 5, 5, 10},   // left
                                         LineCase{5, 5, 5, 25, 20},   // down
                                         LineCase{5, 25, 5, 5, 20},   // up
                                         LineCase{2, 2, 12, 12, 10},  // diagonal
                                         LineCase{30, 3, 4, 17, 26},  // shallow, right to left
                                         LineCase{10, 2, 14, 33, 31}, // steep
                                         LineCase{7, 7, 7, 7, 0}));   // a single point paints nothing

TEST(RasterLines, PolylineJointsArePaintedOnce) {
  BufferCanvas c(30, 30);
  c.SetPen(PenOf(ColorWhite, PenStyle::Solid, 1, PenMode::Xor));
  c.MoveTo(2, 2);
  c.LineTo(20, 2);
  c.LineTo(20, 20);
  c.LineTo(2, 20);
  // XOR white turns white into black; a joint painted twice would be white again.
  EXPECT_EQ(c.PixelColor(20, 2), ColorBlack);
  EXPECT_EQ(c.PixelColor(20, 20), ColorBlack);
  EXPECT_EQ(c.CountOf(ColorBlack), 18 * 3);
}

TEST(RasterLines, WidthsAcrossTheLine) {
  const char* expected[] = {"..#..", ".##..", ".###.", "####.", "#####"};
  for (int w = 1; w <= 5; ++w) {
    BufferCanvas c(20, 12);
    c.SetPen(PenOf(ColorBlack, PenStyle::Solid, w));
    c.MoveTo(2, 6);
    c.LineTo(18, 6);
    std::string column;
    for (int y = 4; y <= 8; ++y)
      column += c.PixelColor(10, y) == ColorBlack ? '#' : '.';
    EXPECT_EQ(column, expected[w - 1]) << "width " << w;
    EXPECT_EQ(c.CountOf(ColorBlack), 16 * w);
  }
  // Steep lines widen sideways.
  BufferCanvas c(20, 20);
  c.SetPen(PenOf(ColorBlack, PenStyle::Solid, 3));
  c.MoveTo(10, 1);
  c.LineTo(10, 18);
  EXPECT_EQ(RowRun(c, 9, 8, 12, ColorBlack), ".###.");
  // Every width up to the widest covers as many pixels across, in copy and XOR mode, inside the
  // buffer and where the buffer's edge cuts the stroke; a line along the rows is the same stroke
  // transposed. (The lines of this picture lie apart for the widths the window draws; the wider
  // pens of pictures drawn at a fine resolution are checked with the scaled canvas.)
  for (int w = 1; w <= 15; ++w) {
    for (PenMode mode : {PenMode::Copy, PenMode::Xor}) {
      BufferCanvas v(40, 40), h(40, 40);
      for (BufferCanvas* b : {&v, &h})
        b->SetPen(PenOf(mode == PenMode::Xor ? ColorWhite : ColorBlack, PenStyle::Solid, w, mode));
      v.MoveTo(20, 5);
      v.LineTo(20, 35);
      v.MoveTo(2, -5);
      v.LineTo(2, 45);
      h.MoveTo(5, 20);
      h.LineTo(35, 20);
      h.MoveTo(-5, 2);
      h.LineTo(45, 2);
      const int from = 20 - w / 2;
      EXPECT_EQ(RowRun(v, 12, from - 1, from + w, ColorBlack),
                "." + std::string(static_cast<std::size_t>(w), '#') + ".")
          << "width " << w;
      EXPECT_EQ(v.CountOf(ColorBlack), 30 * w + 40 * (w - std::max(0, w / 2 - 2))) << "width " << w << "\n"
                                                                                   << v.Picture();
      // A steep dashed line, whose wide stroke is painted row by row, against the shallow one.
      v.SetPenStyle(PenStyle::DashDot);
      h.SetPenStyle(PenStyle::DashDot);
      v.MoveTo(8, -3);
      v.LineTo(33, 44);
      h.MoveTo(-3, 8);
      h.LineTo(44, 33);
      int transposed = 0;
      for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 40; ++x)
          transposed += h.PixelColor(x, y) == v.PixelColor(y, x);
      }
      EXPECT_EQ(transposed, 40 * 40) << "width " << w;
    }
  }
  // Out-of-range widths are held to 1..MaxPenWidth.
  c.SetPenWidth(MaxPenWidth + 25);
  EXPECT_EQ(c.Pen().Width, MaxPenWidth);
  c.SetPenWidth(0);
  EXPECT_EQ(c.Pen().Width, 1);
}

TEST(RasterLines, DashPatterns) {
  struct Case {
    PenStyle style;
    int width;
    const char* run; // row 5, x = 0..59
  };
  const Case cases[] = {
      {PenStyle::Solid, 1, "############################################################"},
      {PenStyle::Dash, 1, "##################......##################......############"},
      {PenStyle::Dot, 1, "###...###...###...###...###...###...###...###...###...###..."},
      {PenStyle::DashDot, 1, "#########......###......#########......###......#########..."},
      {PenStyle::Dot, 2, "######......######......######......######......######......"},
  };
  for (const Case& k : cases) {
    BufferCanvas c(70, 10);
    c.SetPen(PenOf(ColorBlack, k.style, k.width));
    c.MoveTo(0, 5);
    c.LineTo(65, 5);
    EXPECT_EQ(RowRun(c, 5, 0, 59, ColorBlack), k.run) << "style " << static_cast<int>(k.style);
  }
}

TEST(RasterLines, PatternRunsOnAcrossSegmentsAndRestartsAtMoveTo) {
  BufferCanvas a(70, 10);
  a.SetPen(PenOf(ColorBlack, PenStyle::Dot));
  a.MoveTo(0, 5);
  for (int x = 4; x <= 60; x += 4)
    a.LineTo(x, 5);
  EXPECT_EQ(RowRun(a, 5, 0, 23, ColorBlack), "###...###...###...###...");

  BufferCanvas b(70, 10);
  b.SetPen(PenOf(ColorBlack, PenStyle::Dot));
  for (int x = 0; x < 60; x += 4) {
    b.MoveTo(x, 5);
    b.LineTo(x + 4, 5);
  }
  EXPECT_EQ(RowRun(b, 5, 0, 23, ColorBlack), "###.###.###.###.###.###.");
}

TEST(RasterLines, ClippingKeepsThePixelsAndThePattern) {
  // The same lines drawn into a small buffer and, shifted by (100, 100), into a large one must
  // agree on every pixel of the small buffer's area.
  struct Seg {
    int x0, y0, x1, y1;
  };
  const Seg segs[] = {{-30, -10, 70, 43}, {45, -80, 3, 90}, {-1000, 7, 1000, 29}, {20, 60, 25, -3}, {-5, -5, 55, 55}};
  for (int width : {1, 4}) {
    for (const Seg& s : segs) {
      BufferCanvas small(50, 50), large(250, 250);
      small.SetPen(PenOf(ColorBlack, PenStyle::DashDot, width));
      large.SetPen(PenOf(ColorBlack, PenStyle::DashDot, width));
      small.MoveTo(s.x0, s.y0);
      small.LineTo(s.x1, s.y1);
      large.MoveTo(s.x0 + 100, s.y0 + 100);
      large.LineTo(s.x1 + 100, s.y1 + 100);
      int differences = 0;
      for (int y = 0; y < 50; ++y) {
        for (int x = 0; x < 50; ++x)
          differences += small.PixelColor(x, y) != large.PixelColor(x + 100, y + 100);
      }
      EXPECT_EQ(differences, 0) << s.x0 << "," << s.y0 << " - " << s.x1 << "," << s.y1 << " width " << width;
    }
  }
}

TEST(RasterModes, XorTwiceRestoresThePicture) {
  BufferCanvas c(60, 60);
  c.SetPen(PenOf(Red, PenStyle::Solid, 2));
  c.SetBrushColor(Green);
  c.Ellipse(5, 5, 40, 30);
  c.MoveTo(0, 59);
  c.LineTo(59, 0);
  const std::vector<uint32_t> before = c.Pixels();
  for (int pass = 0; pass < 2; ++pass) {
    c.SetPen(PenOf(ColorWhite, PenStyle::Dash, 3, PenMode::Xor));
    c.SetBrushColor(ColorBlack);
    c.Rectangle(10, 10, 50, 45);
    c.Ellipse(3, 8, 57, 52);
    c.MoveTo(2, 3);
    c.LineTo(58, 40);
    c.LineTo(8, 57);
    c.SetBrushColor(Red);
    c.Polygon({{5, 5}, {50, 12}, {30, 55}});
  }
  EXPECT_TRUE(c.Pixels() == before);
}

TEST(RasterModes, XorHandleInvertsItsFrameOnly) {
  // A handle: white XOR pen of width 2 and a black brush around the pixel (20, 20).
  BufferCanvas c(40, 40);
  c.SetPen(PenOf(ColorWhite, PenStyle::Solid, 2, PenMode::Xor));
  c.SetBrushColor(ColorBlack);
  c.Rectangle(19, 19, 23, 23);
  EXPECT_EQ(c.PixelColor(18, 20), ColorBlack);
  EXPECT_EQ(c.PixelColor(19, 20), ColorBlack);
  EXPECT_EQ(c.PixelColor(20, 20), ColorWhite); // inside: XOR with black changes nothing
  EXPECT_EQ(c.PixelColor(23, 20), ColorBlack);
  EXPECT_EQ(c.PixelColor(24, 20), ColorWhite);
}

TEST(RasterModes, FillRectAndSetPixelIgnoreThePenMode) {
  BufferCanvas c(10, 10);
  c.SetPen(PenOf(ColorWhite, PenStyle::Solid, 1, PenMode::Xor));
  c.SetBrushColor(Red);
  c.FillRect(2, 2, 5, 4);
  c.FillRect(2, 2, 5, 4);
  EXPECT_EQ(c.CountOf(Red), 3 * 2);
  EXPECT_EQ(c.PixelColor(5, 3), ColorWhite);
  c.SetBrushStyle(BrushStyle::Clear);
  c.FillRect(0, 0, 1, 1);
  EXPECT_EQ(c.PixelColor(0, 0), Red);
  c.SetPixel(9, 9, Green);
  c.SetPixel(9, 9, Green);
  c.SetPixel(10, 9, Green);
  c.SetPixel(-1, 0, Green);
  EXPECT_EQ(c.PixelColor(9, 9), Green);
  EXPECT_EQ(c.PixelColor(10, 9), -1);
}

TEST(RasterShapes, PolygonFillsInsideAndOutlinesEveryEdge) {
  BufferCanvas c(20, 20);
  c.SetPen(PenOf(ColorBlack));
  c.SetBrushColor(Red);
  c.Polygon({{2, 2}, {12, 2}, {12, 10}, {2, 10}});
  EXPECT_EQ(c.PixelColor(2, 2), ColorBlack);
  EXPECT_EQ(c.PixelColor(12, 10), ColorBlack); // closed: every corner is somebody's first pixel
  EXPECT_EQ(c.PixelColor(7, 6), Red);
  EXPECT_EQ(c.PixelColor(13, 6), ColorWhite);
  EXPECT_EQ(c.CountOf(ColorBlack), 2 * 10 + 2 * 8);
  EXPECT_EQ(c.CountOf(Red), 9 * 7);
  // The current position is left alone.
  c.MoveTo(0, 15);
  c.Polygon({{14, 14}, {18, 14}, {16, 18}});
  c.LineTo(5, 15);
  EXPECT_EQ(c.PixelColor(0, 15), ColorBlack);
}

TEST(RasterShapes, ColourValuesMapToPixels) {
  EXPECT_EQ(PixelOfColor(RgbValue(0x12, 0x34, 0x56)), 0xFF123456u);
  EXPECT_EQ(ColorOfPixel(0xFF123456u), RgbValue(0x12, 0x34, 0x56));
  EXPECT_EQ(ColorOfPixel(PixelOfColor(ColorNavy)), ColorNavy);
}

} // namespace
} // namespace drex
