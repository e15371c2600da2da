// Whole pictures of the raster code: fingerprints of large redraws and of scenes of hard cases, so
// that a faster way of painting cannot change a single pixel unnoticed, and clipping checks that
// compare a shape cut by the buffer's edge with the same shape drawn whole into a larger buffer.

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "shell/program.h"
#include "support/buffer_canvas.h"
#include "support/construction_generator.h"
#include "support/scripted_platform.h"
#include "view/redraw.h"

namespace drex {
namespace {

/// FNV-1a over the pixels, row by row.
uint64_t Fingerprint(const BufferCanvas& c) {
  uint64_t h = 1469598103934665603ull;
  for (uint32_t p : c.Pixels()) {
    for (int k = 0; k < 4; ++k) {
      h ^= (p >> (8 * k)) & 0xFFu;
      h *= 1099511628211ull;
    }
  }
  return h;
}

uint64_t MixedRedraw(int count, uint32_t seed, double zoom) {
  ScriptedPlatform platform;
  Program prog{platform};
  BufferCanvas canvas(1024, 768);
  prog.UnitLength = 48;
  prog.Surface = &canvas;
  GenerateMixedConstruction(prog.Doc, count, seed);
  prog.Doc.View.Zoom = zoom;
  Redraw(prog, true);
  return Fingerprint(canvas);
}

TEST(RasterPictures, MixedConstructionsPaintTheKnownPictures) {
  struct Case {
    int count;
    uint32_t seed;
    double zoom;
    uint64_t fingerprint;
  };
  const Case cases[] = {
      {1000, 1, 1.0, 4387891836250766435ull},
      {1000, 2, 0.3, 17514816221577717079ull},
      {1000, 3, 4.0, 11798579183729143107ull},
      {10000, 1, 1.0, 189481229183118277ull},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MixedRedraw(c.count, c.seed, c.zoom), c.fingerprint) << c.count << " objects, seed " << c.seed;
}

/// Wide dashed lines across the edges, circles far larger than the buffer, polygons reaching out
/// of it, in copy and XOR mode.
void PaintHardCases(BufferCanvas& c) {
  const int w = c.Width(), h = c.Height();
  for (int width = 1; width <= 5; ++width) {
    for (int style = 0; style < 4; ++style) {
      c.SetPen(CanvasPen{0x102030 * width + style, static_cast<PenStyle>(style), width,
                         style == 3 && width % 2 == 0 ? PenMode::Xor : PenMode::Copy});
      const int k = 4 * width + style;
      c.MoveTo(-37 * k, 11 * k - 50);
      c.LineTo(w + 29 * k, h - 13 * k);
      c.LineTo(w / 2 + k, -200 - k);
      c.LineTo(-3, h + 7 * k);
      c.MoveTo(k * 9 - 40, -1000);
      c.LineTo(k * 9 - 38, h + 1000);
    }
  }
  c.SetBrushStyle(BrushStyle::Clear);
  const int radii[] = {40, 300, 777, 5000, 123457, 40000000};
  for (int i = 0; i < 6; ++i) {
    const int r = radii[i];
    for (int width = 1; width <= 5; width += 2) {
      c.SetPen(CanvasPen{0x0F0F0F * (i + width), PenStyle::Solid, width, PenMode::Copy});
      // Centres inside, just outside and far away from the buffer.
      c.Ellipse(w / 3 - r, h / 2 - r, w / 3 + r, h / 2 + r);
      c.Ellipse(-r / 2 - r, h / 3 - r, -r / 2 + r, h / 3 + r);
      c.Ellipse(w + r - 9 - r, -r + 20 - r, w + r - 9 + r, -r + 20 + r);
      c.Ellipse(w / 2 - r, h + r - 2 * width - r, w / 2 + r, h + r - 2 * width + r);
      c.Ellipse(-r, -r, w + r, h + r / 2);
    }
  }
  c.SetPen(CanvasPen{0x4080C0, PenStyle::Solid, 3, PenMode::Xor});
  c.SetBrushColor(0x00FF00);
  c.Ellipse(-60000, -60000, 60000, 60000);
  c.SetPen(CanvasPen{0x804020, PenStyle::Dash, 2, PenMode::Copy});
  c.SetBrushColor(0x2244AA);
  c.Polygon({{-300, 40}, {w + 200, -90}, {w / 2, h + 400}, {w / 3, h / 2}});
  c.SetPen(CanvasPen{0xFFFFFF, PenStyle::Solid, 1, PenMode::Xor});
  c.SetBrushColor(0x123456);
  c.Polygon({{10, 10}, {w - 10, 30}, {20, h - 5}, {w - 3, h - 40}, {w / 2, -50}, {-20, h / 2}});
  c.SetPen(CanvasPen{0x000000, PenStyle::Dot, 4, PenMode::Copy});
  c.SetBrushColor(0xAABBCC);
  c.Polygon({{INT_MIN, 0}, {INT_MAX, 10}, {w / 2, INT_MAX}});
  c.Rectangle(-7, h / 2, w + 9, h / 2 + 30);
}

TEST(RasterPictures, HardCasesPaintTheKnownPictures) {
  struct Case {
    int width, height;
    uint64_t fingerprint;
  };
  const Case cases[] = {
      {1024, 768, 8024368433886395804ull}, {97, 301, 9014169319681693450ull}, {640, 33, 10080059951077963394ull}};
  for (const Case& s : cases) {
    BufferCanvas c(s.width, s.height);
    PaintHardCases(c);
    EXPECT_EQ(Fingerprint(c), s.fingerprint) << s.width << " x " << s.height;
  }
}

TEST(RasterPictures, ShapesCutByTheEdgeKeepTheirPixels) {
  // Each circle is drawn into a small buffer and, shifted by (D, D), into one large enough to
  // hold it whole; the small buffer must show exactly the large one's pixels of its area.
  constexpr int W = 60, H = 40, D = 260;
  struct Circle {
    int cx, cy, r;
  };
  const Circle circles[] = {{30, 20, 25},  {30, 20, 36},  {30, 20, 70},  {-40, 20, 75}, {30, -100, 130},
                            {100, 60, 90}, {-5, -5, 250}, {65, 45, 240}, {30, 20, 249}, {-200, 20, 245}};
  for (const Circle& s : circles) {
    for (int width = 1; width <= 5; ++width) {
      for (BrushStyle brush : {BrushStyle::Clear, BrushStyle::Solid}) {
        BufferCanvas small(W, H), large(W + 2 * D, H + 2 * D);
        for (BufferCanvas* c : {&small, &large}) {
          const int shift = c == &small ? 0 : D;
          c->SetPen(CanvasPen{0x0000FF, PenStyle::Solid, width, PenMode::Copy});
          c->SetBrush(CanvasBrush{0x00FF00, brush});
          c->Ellipse(s.cx - s.r + shift, s.cy - s.r + shift, s.cx + s.r + shift, s.cy + s.r + shift);
        }
        int differences = 0;
        for (int y = 0; y < H; ++y) {
          for (int x = 0; x < W; ++x)
            differences += small.PixelColor(x, y) != large.PixelColor(x + D, y + D);
        }
        EXPECT_EQ(differences, 0) << "circle at " << s.cx << "," << s.cy << " radius " << s.r << " width " << width
                                  << (brush == BrushStyle::Solid ? " filled" : "");
      }
    }
  }
}

TEST(RasterPictures, LinesCutByTheEdgeKeepTheirPixels) {
  // Polylines of every width and pattern, steep and flat, in copy and XOR mode, drawn into a small
  // buffer and, shifted by (D, D), into one that holds them whole.
  constexpr int W = 50, H = 40, D = 200;
  struct Path {
    int x0, y0, x1, y1, x2, y2;
  };
  const Path paths[] = {{-30, -10, 70, 43, 10, 80}, {45, -80, 3, 90, 60, 20},  {-150, 7, 150, 29, 49, -150},
                        {-2, -100, 1, 140, -3, 20}, {51, 60, 48, -70, 20, 41}, {-60, -50, 110, 85, -1, 39},
                        {0, 39, 49, 0, 0, 0},       {24, -3, 26, 45, 25, 20}};
  for (const Path& path : paths) {
    for (int width = 1; width <= 5; ++width) {
      for (int style = 0; style < 4; ++style) {
        for (PenMode mode : {PenMode::Copy, PenMode::Xor}) {
          BufferCanvas small(W, H), large(W + 2 * D, H + 2 * D);
          for (BufferCanvas* c : {&small, &large}) {
            const int s = c == &small ? 0 : D;
            c->SetPen(CanvasPen{0x00C0FF, static_cast<PenStyle>(style), width, mode});
            c->MoveTo(path.x0 + s, path.y0 + s);
            c->LineTo(path.x1 + s, path.y1 + s);
            c->LineTo(path.x2 + s, path.y2 + s);
          }
          int differences = 0;
          for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x)
              differences += small.PixelColor(x, y) != large.PixelColor(x + D, y + D);
          }
          EXPECT_EQ(differences, 0) << "path from " << path.x0 << "," << path.y0 << " width " << width << " style "
                                    << style << (mode == PenMode::Xor ? " xor" : "");
        }
      }
    }
  }
}

TEST(RasterPictures, CircleAroundTheWholeBufferPaintsOnlyItsInside) {
  BufferCanvas c(50, 30);
  c.SetPen(CanvasPen{0x0000FF, PenStyle::Solid, 5, PenMode::Copy});
  c.SetBrushStyle(BrushStyle::Clear);
  c.Ellipse(-1000000, -1000000, 1000000, 1000000);
  EXPECT_EQ(c.CountOf(ColorWhite), 50 * 30);
  c.SetBrushColor(0x00FF00);
  c.Ellipse(-1000000, -1000000, 1000000, 1000000);
  EXPECT_EQ(c.CountOf(0x00FF00), 50 * 30);
  // The outline itself crossing the buffer: a circle whose top just reaches into the first rows.
  BufferCanvas d(50, 30);
  d.SetPen(CanvasPen{0x0000FF, PenStyle::Solid, 3, PenMode::Copy});
  d.SetBrushStyle(BrushStyle::Clear);
  d.Ellipse(25 - 1000000, 2, 25 + 1000000, 2 + 2000000);
  // Width 3 reaches one row above the box: rows 1..3 are the outline, below it is the inside.
  for (int x : {0, 25, 49}) {
    EXPECT_EQ(d.PixelColor(x, 0), ColorWhite);
    EXPECT_EQ(d.PixelColor(x, 1), 0x0000FF);
    EXPECT_EQ(d.PixelColor(x, 3), 0x0000FF);
    EXPECT_EQ(d.PixelColor(x, 4), ColorWhite);
  }
  EXPECT_EQ(d.CountOf(0x0000FF), 3 * 50);
}

TEST(RasterPictures, FillRectWithEdgesAtTheEndsOfTheIntRange) {
  BufferCanvas c(20, 10);
  c.SetBrushColor(0x00FF00);
  c.FillRect(INT_MIN, INT_MIN, INT_MIN, INT_MIN);
  c.FillRect(0, 0, INT_MIN, 5);
  c.FillRect(0, 0, 5, INT_MIN);
  EXPECT_EQ(c.CountOf(ColorWhite), 200);
  c.FillRect(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
  EXPECT_EQ(c.CountOf(0x00FF00), 200);
}

} // namespace
} // namespace drex
