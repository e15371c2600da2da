// The Qt canvas read back pixel by pixel from its QImage.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

#include "view/QtCanvas.h"

namespace drex {
namespace {

int32_t At(QtCanvas& c, int x, int y) { return ColorOfPixel(c.Image().pixel(x, y)); }

/// The raster code alone, over a buffer of its own.
class PlainCanvas : public RasterCanvas {
public:
  PlainCanvas(int width, int height)
      : RasterCanvas(nullptr, 0, 0, 0), pixels_(static_cast<std::size_t>(width) * height, PixelOfColor(ColorWhite)) {
    Attach(pixels_.data(), width, height, width);
  }
  void TextOut(int, int, const std::string&) override {}
  int TextWidth(const std::string&) override { return 0; }

private:
  std::vector<uint32_t> pixels_;
};

/// Darkness 0..255 of a pixel of a black and white picture.
int Ink(const QImage& image, int x, int y) { return 255 - qGreen(image.pixel(x, y)); }

/// Pixels of the smooth picture whose darkness lies beyond that of the aliased picture at and next
/// to the same place by more than a quarter: what lies farther than a pixel from where the aliased
/// drawing lies. (The faint edge of a shallow line reaches a little farther along a row.)
int StrayPixels(const QImage& smooth, const QImage& aliased) {
  int stray = 0;
  for (int y = 0; y < smooth.height(); ++y) {
    for (int x = 0; x < smooth.width(); ++x) {
      int low = 255, high = 0;
      for (int ay = std::max(0, y - 1); ay <= std::min(aliased.height() - 1, y + 1); ++ay) {
        for (int ax = std::max(0, x - 1); ax <= std::min(aliased.width() - 1, x + 1); ++ax) {
          low = std::min(low, Ink(aliased, ax, ay));
          high = std::max(high, Ink(aliased, ax, ay));
        }
      }
      stray += Ink(smooth, x, y) < low - 64 || Ink(smooth, x, y) > high + 64;
    }
  }
  return stray;
}

/// Pixels neither white nor of the colour.
int PartPixels(const QImage& image, int32_t color) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const int32_t c = ColorOfPixel(image.pixel(x, y));
      n += c != ColorWhite && c != color;
    }
  }
  return n;
}

TEST(QtCanvasPixels, RasterConventionsHoldInTheImage) {
  QtCanvas c(40, 30);
  ASSERT_EQ(c.Image().width(), 40);
  ASSERT_EQ(c.Image().format(), QImage::Format_RGB32);
  EXPECT_EQ(At(c, 0, 0), ColorWhite);
  c.SetPen(CanvasPen{ColorBlack, PenStyle::Solid, 1, PenMode::Copy});
  c.SetBrushStyle(BrushStyle::Clear);
  c.Rectangle(2, 2, 10, 8);
  EXPECT_EQ(At(c, 2, 2), ColorBlack);
  EXPECT_EQ(At(c, 9, 7), ColorBlack);
  EXPECT_EQ(At(c, 10, 5), ColorWhite);
  EXPECT_EQ(At(c, 5, 8), ColorWhite);
  c.Ellipse(20, 10, 31, 21);
  EXPECT_EQ(At(c, 25, 10), ColorBlack);
  EXPECT_EQ(At(c, 25, 20), ColorBlack);
  EXPECT_EQ(At(c, 25, 21), ColorWhite);
  EXPECT_EQ(At(c, 31, 15), ColorWhite);
  c.MoveTo(0, 25);
  c.LineTo(30, 25);
  EXPECT_EQ(At(c, 29, 25), ColorBlack);
  EXPECT_EQ(At(c, 30, 25), ColorWhite);
}

TEST(QtCanvasPixels, PaddedRowsMatchAPlainImageAndOutliveTheCanvas) {
  // The same drawing into the canvas and by hand into an unpadded image of the same size.
  QImage kept;
  for (int width : {1024, 37}) {
    auto c = std::make_unique<QtCanvas>(width, 50);
    ASSERT_GE(c->Image().bytesPerLine(), 4 * width);
    c->SetPen(CanvasPen{ColorRed, PenStyle::Solid, 3, PenMode::Copy});
    c->MoveTo(width / 2, -10);
    c->LineTo(width / 2 + 7, 60);
    QImage plain(width, 50, QImage::Format_RGB32);
    plain.fill(QColor(Qt::white));
    for (int y = 0; y < 50; ++y) {
      for (int x = 0; x < width; ++x) {
        if (At(*c, x, y) != ColorWhite) plain.setPixel(x, y, c->Image().pixel(x, y));
      }
    }
    EXPECT_GT(c->Image().pixel(width / 2 + 3, 25), 0u);
    EXPECT_TRUE(c->Image() == plain);
    kept = c->Image();
    c.reset();
    // A copy taken from the canvas keeps its pixels after the canvas is gone.
    EXPECT_TRUE(kept == plain);
  }
}

TEST(QtCanvasPixels, XorTwiceRestoresAndTextMixesWithRasterCode) {
  QtCanvas c(80, 40);
  c.SetFont(CanvasFont{"Courier", ColorRed});
  c.SetBrushStyle(BrushStyle::Clear);
  c.TextOut(5, 5, "Ab");
  c.SetPen(CanvasPen{ColorBlue, PenStyle::Dash, 3, PenMode::Copy});
  c.MoveTo(0, 30);
  c.LineTo(79, 20);
  const QImage before = c.Image().copy();
  for (int i = 0; i < 2; ++i) {
    c.SetPen(CanvasPen{ColorWhite, PenStyle::Solid, 2, PenMode::Xor});
    c.SetBrushColor(ColorBlack);
    c.Rectangle(3, 3, 30, 25);
    c.MoveTo(0, 0);
    c.LineTo(79, 39);
  }
  EXPECT_TRUE(c.Image() == before);
}

TEST(QtCanvasPixels, TextIsDrawnInTheFontColourFromItsTopLeftCorner) {
  QtCanvas c(120, 40);
  c.SetFont(CanvasFont{"Courier", ColorRed});
  c.SetBrushStyle(BrushStyle::Clear);
  const int w = c.TextWidth("XYZ");
  EXPECT_GT(w, 0);
  EXPECT_GT(c.TextWidth("XYZXYZ"), w);
  c.TextOut(10, 10, "XYZ");
  int red = 0, above = 0, left = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 120; ++x) {
      if (At(c, x, y) != ColorRed) continue;
      ++red;
      above += y < 10;
      left += x < 10;
    }
  }
  EXPECT_GT(red, 5);
  EXPECT_EQ(above, 0);
  EXPECT_EQ(left, 0);
  // A solid brush gives the text a background of the brush colour.
  c.SetBrushColor(ColorBlue);
  c.TextOut(10, 10, "XYZ");
  EXPECT_EQ(At(c, 10, 10), ColorBlue);
  EXPECT_EQ(At(c, 10 + w, 10), ColorWhite);
}

TEST(QtCanvasPixels, KeptTextMasksPaintWhatThePainterPaints) {
  // The same texts drawn by QPainter straight into an image of their own.
  const std::string texts[] = {"A", "o12", "Ж1", "3.14159", "x"};
  QtCanvas c(200, 120);
  c.SetFont(CanvasFont{"Courier", ColorNavy});
  c.SetBrushStyle(BrushStyle::Clear);
  QImage expected(200, 120, QImage::Format_RGB32);
  expected.fill(QColor(Qt::white));
  {
    QFont font(QStringLiteral("Courier"));
    font.setStyleHint(QFont::TypeWriter, QFont::NoAntialias);
    QPainter p(&expected);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(font);
    p.setPen(QColor(0, 0, 128));
    const QFontMetrics metrics(font);
    int y = 2;
    for (const std::string& t : texts) {
      p.drawText(3, y + metrics.ascent(), QString::fromStdString(t));
      y += 20;
    }
  }
  for (int pass = 0; pass < 2; ++pass) { // the second pass draws from the kept masks
    int y = 2;
    for (const std::string& t : texts) {
      c.TextOut(3, y, t);
      y += 20;
    }
  }
  EXPECT_TRUE(c.Image() == expected);
  // Texts partly outside the picture are clipped.
  c.TextOut(-5, -5, "clipped");
  c.TextOut(195, 115, "clipped");
  c.TextOut(INT_MAX - 1, INT_MIN + 1, "far");
  SUCCEED();
}

TEST(QtCanvasPixels, ResizeGivesAWhitePictureOfTheNewSize) {
  QtCanvas c(10, 10);
  c.SetBrushColor(ColorBlack);
  c.FillRect(0, 0, 10, 10);
  c.Resize(25, 15);
  EXPECT_EQ(c.Width(), 25);
  EXPECT_EQ(c.Image().height(), 15);
  EXPECT_EQ(At(c, 24, 14), ColorWhite);
  c.FillRect(20, 10, 30, 20);
  EXPECT_EQ(At(c, 24, 14), ColorBlack);
}

TEST(QtCanvasSmooth, OffPaintsExactlyTheRasterCodesPixels) {
  // The same drawing into the canvas, after smoothing was on and off again, and into a buffer by
  // the raster code alone.
  QtCanvas c(160, 120);
  c.SetSmooth(true);
  c.MoveTo(3, 3);
  c.LineTo(50, 40);
  c.SetSmooth(false);
  c.Resize(160, 120);
  PlainCanvas plain(160, 120);
  for (Canvas* canvas : {static_cast<Canvas*>(&c), static_cast<Canvas*>(&plain)}) {
    Canvas& k = *canvas;
    for (int w = 1; w <= 15; w += 2) {
      k.SetPen(CanvasPen{0x102030 * w, static_cast<PenStyle>(w % 4), w, PenMode::Copy});
      k.MoveTo(-20, 5 * w);
      k.LineTo(90, 3 * w + 40);
      k.LineTo(10 + 9 * w, 119);
    }
    k.SetBrushColor(ColorGrey);
    k.SetPen(CanvasPen{ColorNavy, PenStyle::Solid, 3, PenMode::Copy});
    k.Ellipse(90, 10, 150, 50);
    k.Rectangle(100, 60, 140, 80);
    k.Polygon({{20, 90}, {70, 100}, {30, 118}, {50, 85}});
    k.SetPen(CanvasPen{ColorWhite, PenStyle::Solid, 2, PenMode::Xor});
    k.Ellipse(80, 70, 159, 119);
    k.SetPixel(5, 5, ColorRed);
  }
  int differences = 0;
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 160; ++x)
      differences += c.PixelColor(x, y) != plain.PixelColor(x, y);
  }
  EXPECT_EQ(differences, 0);
}

/// A shape to draw: a line through the points, an ellipse or rectangle in the box of the first
/// two, or a polygon through them.
struct Drawing {
  enum Kind { Lines, Ellipse, Rectangle, Polygon };
  const char* What;
  Kind Shape;
  CanvasPen Pen;
  BrushStyle Brush;
  std::vector<PixelPoint> Points;
  int PartPixels = 20; ///< at least this many more pixels mix two colours than when aliased
};

/// Draws it moved by (d, d), in grey where the brush fills.
void Draw(Canvas& c, const Drawing& k, int d = 0) {
  c.SetPen(k.Pen);
  c.SetBrush(CanvasBrush{ColorGrey, k.Brush});
  std::vector<PixelPoint> p = k.Points;
  for (PixelPoint& q : p)
    q = PixelPoint{q.X + d, q.Y + d};
  if (k.Shape == Drawing::Ellipse) c.Ellipse(p[0].X, p[0].Y, p[1].X, p[1].Y);
  if (k.Shape == Drawing::Rectangle) c.Rectangle(p[0].X, p[0].Y, p[1].X, p[1].Y);
  if (k.Shape == Drawing::Polygon) c.Polygon(p);
  if (k.Shape != Drawing::Lines) return;
  c.MoveTo(p[0].X, p[0].Y);
  for (std::size_t i = 1; i < p.size(); ++i)
    c.LineTo(p[i].X, p[i].Y);
}

CanvasPen PenOf(PenStyle style, int width) { return CanvasPen{ColorBlack, style, width, PenMode::Copy}; }

TEST(QtCanvasSmooth, ShapesAreAntialiasedWhereTheAliasedOnesLie) {
  constexpr int Far = 2000000000;
  const PenStyle Solid = PenStyle::Solid;
  const Drawing cases[] = {
      {"diagonal line", Drawing::Lines, PenOf(Solid, 1), BrushStyle::Clear, {{5, 10}, {150, 70}}},
      // Its ends, round and square, lie outside the picture.
      {"wide steep line", Drawing::Lines, PenOf(Solid, 9), BrushStyle::Clear, {{30, -20}, {80, 120}}},
      {"dashed corner",
       Drawing::Lines,
       PenOf(PenStyle::DashDot, 2),
       BrushStyle::Clear,
       {{5, 80}, {150, 80}, {150, 10}}},
      {"line from far away", Drawing::Lines, PenOf(Solid, 3), BrushStyle::Clear, {{-Far, -Far / 2}, {Far, Far / 2}}},
      {"dashes from far away",
       Drawing::Lines,
       PenOf(PenStyle::Dash, 1),
       BrushStyle::Clear,
       {{-Far - 5, 50}, {Far, 50}},
       10},
      {"circle", Drawing::Ellipse, PenOf(Solid, 3), BrushStyle::Clear, {{20, 10}, {101, 91}}},
      {"filled ellipse", Drawing::Ellipse, PenOf(Solid, 1), BrushStyle::Solid, {{10, 20}, {150, 81}}},
      {"huge circle",
       Drawing::Ellipse,
       PenOf(Solid, 2),
       BrushStyle::Solid,
       {{80 - Far / 20, 50}, {80 + Far / 20, 50 + Far / 10}}},
      // Its sides run along the pixels' edges: smooth, it is the aliased one.
      {"rectangle", Drawing::Rectangle, PenOf(Solid, 4), BrushStyle::Solid, {{20, 15}, {130, 80}}, 0},
      {"star, even-odd",
       Drawing::Polygon,
       PenOf(Solid, 1),
       BrushStyle::Solid,
       {{80, 5}, {110, 95}, {30, 35}, {130, 35}, {50, 95}}},
      {"polygon reaching far out",
       Drawing::Polygon,
       PenOf(PenStyle::Dot, 1),
       BrushStyle::Solid,
       {{-Far / 2, 10}, {Far / 2, 30}, {70, Far / 2}}},
  };
  for (const Drawing& k : cases) {
    QtCanvas aliased(160, 100), smooth(160, 100);
    smooth.SetSmooth(true);
    Draw(aliased, k);
    Draw(smooth, k);
    EXPECT_GE(PartPixels(smooth.Image(), ColorBlack) - PartPixels(aliased.Image(), ColorBlack), k.PartPixels) << k.What;
    EXPECT_EQ(StrayPixels(smooth.Image(), aliased.Image()), 0) << k.What;
  }
}

TEST(QtCanvasSmooth, CuttingAtThePicturesEdgeLeavesThePixelsAsTheyWere) {
  // Shapes reaching out of a small picture, and the same shapes well inside a large one, where
  // they are not cut, agree on the small picture's pixels: the pieces, their dash pattern, the
  // band of a wide pen's ring and the fill are cut without being moved.
  const PenStyle Solid = PenStyle::Solid, Dot = PenStyle::Dot;
  const Drawing cases[] = {
      {"wide ring", Drawing::Ellipse, PenOf(Solid, 5), BrushStyle::Solid, {{10, -20}, {151, 121}}},
      {"dashed ellipse", Drawing::Ellipse, PenOf(PenStyle::DashDot, 2), BrushStyle::Clear, {{-60, 10}, {200, 130}}},
      {"dotted circle", Drawing::Ellipse, PenOf(Dot, 1), BrushStyle::Solid, {{-30, -50}, {110, 90}}},
      {"thin circle", Drawing::Ellipse, PenOf(Solid, 1), BrushStyle::Clear, {{20, -40}, {130, 70}}},
      {"polyline",
       Drawing::Lines,
       PenOf(PenStyle::Dash, 3),
       BrushStyle::Clear,
       {{-50, 20}, {100, 90}, {120, -40}, {200, 60}}},
      {"polygon", Drawing::Polygon, PenOf(Dot, 2), BrushStyle::Solid, {{-60, 30}, {90, -70}, {230, 80}, {60, 150}}},
  };
  constexpr int Shift = 120;
  for (const Drawing& k : cases) {
    QtCanvas small(160, 100), large(400, 340);
    small.SetSmooth(true);
    large.SetSmooth(true);
    Draw(small, k);
    Draw(large, k, Shift);
    int worst = 0;
    for (int y = 0; y < 100; ++y) {
      for (int x = 0; x < 160; ++x)
        worst = std::max(worst, std::abs(Ink(small.Image(), x, y) - Ink(large.Image(), x + Shift, y + Shift)));
    }
    // An ellipse cut by the edge is followed by vertices of its own; at the inside of a vertex
    // both of its segments blend a pixel, which may take it a quarter darker.
    EXPECT_LE(worst, 64) << k.What;
  }
}

TEST(QtCanvasSmooth, PatternRunsOnAcrossTheVerticesOfAPolyline) {
  // 101 segments of three pixels along a line stroke as the line does, dashed and solid, and the
  // dashes lie where the aliased ones do.
  std::vector<PixelPoint> across{{5, 20}}, aslant{{5, 30}};
  for (int k = 1; k <= 101; ++k) {
    across.push_back({5 + 3 * k, 20});
    aslant.push_back({5 + 3 * k, 30 + 2 * k});
  }
  for (const CanvasPen& pen : {PenOf(PenStyle::DashDot, 1), PenOf(PenStyle::DashDot, 2), PenOf(PenStyle::DashDot, 5),
                               PenOf(PenStyle::Solid, 3)}) {
    QtCanvas polyline(340, 240), line(340, 240), aliased(340, 240);
    polyline.SetSmooth(true);
    line.SetSmooth(true);
    for (const std::vector<PixelPoint>* p : {&across, &aslant}) {
      Draw(polyline, Drawing{"", Drawing::Lines, pen, BrushStyle::Clear, *p});
      for (QtCanvas* c : {&line, &aliased})
        Draw(*c, Drawing{"", Drawing::Lines, pen, BrushStyle::Clear, {p->front(), p->back()}});
    }
    // Away from the ends, whose round caps Qt draws otherwise for a lone segment. Qt walks a thin
    // pen's segments pixel by pixel, each from its own start.
    int worst = 0;
    for (int y = 0; y < 226; ++y) {
      for (int x = 12; x < 300; ++x)
        worst = std::max(worst, std::abs(Ink(polyline.Image(), x, y) - Ink(line.Image(), x, y)));
    }
    EXPECT_LE(worst, pen.Width == 1 ? 96 : 8) << "width " << pen.Width;
    EXPECT_EQ(StrayPixels(polyline.Image().copy(0, 0, 300, 25), aliased.Image().copy(0, 0, 300, 25)), 0)
        << "width " << pen.Width;
  }
  // A curve of 101 segments between whole pixels: where segments stroked one by one overlap at a
  // vertex, the edge of the stroke is blended twice, a speck darker than the edge on both sides.
  Drawing arc{"", Drawing::Lines, PenOf(PenStyle::Solid, 2), BrushStyle::Clear, {}};
  for (int k = 0; k <= 101; ++k) {
    const double t = 3.14159265358979 * k / 101;
    arc.Points.push_back({static_cast<int>(std::lround(120 - 100 * std::cos(t))),
                          static_cast<int>(std::lround(20 + 100 * std::sin(t)))});
  }
  QtCanvas curve(240, 140);
  curve.SetSmooth(true);
  Draw(curve, arc);
  const QImage& image = curve.Image();
  int specks = 0;
  for (int y = 1; y + 1 < 140; ++y) {
    for (int x = 1; x + 1 < 240; ++x) {
      const int c = Ink(image, x, y);
      if (c <= 16 || c >= 240) continue;
      specks += (c > Ink(image, x - 1, y) + 32 && c > Ink(image, x + 1, y) + 32) ||
                (c > Ink(image, x, y - 1) + 32 && c > Ink(image, x, y + 1) + 32);
    }
  }
  EXPECT_LE(specks, 5);
}

TEST(QtCanvasSmooth, XorStaysAliasedAndRasterWritesKeepTheirOrder) {
  QtCanvas c(120, 80);
  c.SetSmooth(true);
  c.SetPen(CanvasPen{ColorBlue, PenStyle::Solid, 2, PenMode::Copy});
  c.MoveTo(0, 0);
  c.LineTo(119, 79);
  c.SetBrushColor(ColorRed);
  c.Ellipse(10, 10, 70, 60);
  const QImage before = c.Image().copy();
  for (int i = 0; i < 2; ++i) {
    c.SetPen(CanvasPen{ColorWhite, PenStyle::Dash, 3, PenMode::Xor});
    c.SetBrushColor(ColorNavy);
    c.Rectangle(5, 5, 60, 40);
    c.Ellipse(30, 20, 110, 75);
    c.Polygon({{0, 79}, {60, 0}, {119, 70}});
    c.MoveTo(0, 40);
    c.LineTo(119, 10);
    if (i == 0) {
      EXPECT_FALSE(c.Image() == before);
    }
  }
  EXPECT_TRUE(c.Image() == before);

  // A line still gathered when the rectangle is filled lies under the rectangle; one drawn after
  // it lies on top, under a pixel set after it.
  c.SetPen(CanvasPen{ColorBlack, PenStyle::Solid, 3, PenMode::Copy});
  c.MoveTo(0, 30);
  c.LineTo(119, 30);
  c.SetBrushColor(ColorGrey);
  c.FillRect(40, 20, 80, 40);
  EXPECT_EQ(c.PixelColor(60, 30), ColorGrey);
  EXPECT_EQ(c.PixelColor(20, 30), ColorBlack);
  c.MoveTo(60, 0);
  c.LineTo(60, 79);
  c.SetPixel(60, 50, ColorRed);
  EXPECT_EQ(c.PixelColor(60, 30), ColorBlack);
  EXPECT_EQ(c.PixelColor(60, 50), ColorRed);
  // The image handed out holds what was drawn, even a line still gathered.
  c.MoveTo(0, 70);
  c.LineTo(119, 70);
  EXPECT_EQ(ColorOfPixel(c.Image().pixel(20, 70)), ColorBlack);
}

TEST(QtCanvasPixels, ACopyOfThePictureKeepsItsPixels) {
  for (bool smooth : {false, true}) {
    QtCanvas c(60, 40);
    c.SetSmooth(smooth);
    c.SetFont(CanvasFont{"Courier", ColorBlack});
    c.SetBrushStyle(BrushStyle::Clear);
    const QImage kept = c.Image();
    const QImage white = kept.copy();
    c.MoveTo(0, 20);
    c.LineTo(59, 20);
    c.TextOut(5, 5, "Ab");
    c.MoveTo(30, 0);
    c.LineTo(30, 39);
    c.SetBrushColor(ColorRed);
    c.FillRect(50, 30, 60, 40);
    EXPECT_TRUE(kept == white) << "smooth " << smooth;
    EXPECT_EQ(At(c, 30, 10), ColorBlack) << "smooth " << smooth;
    EXPECT_EQ(At(c, 55, 35), ColorRed) << "smooth " << smooth;
  }
}

/// The box of the pixels that are not white.
QRect BoxOf(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (ColorOfPixel(image.pixel(x, y)) != ColorWhite) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

TEST(QtCanvasText, ScaleMakesTheTextLargerInBothModes) {
  const std::string text = "Point A12";
  for (bool smooth : {false, true}) {
    QRect background[2], glyphs[2];
    int width[2] = {0, 0};
    for (int k = 0; k < 2; ++k) {
      QtCanvas c(400, 120);
      c.SetSmooth(smooth);
      c.SetFont(CanvasFont{"Courier", ColorBlack, 100 * (k + 1)});
      width[k] = c.TextWidth(text);
      c.SetBrushStyle(BrushStyle::Clear);
      c.TextOut(10, 10, text);
      glyphs[k] = BoxOf(c.Image());
      c.SetBrushColor(ColorRed);
      c.TextOut(10, 10, text);
      // The background is the text's box: its advance, which TextWidth tells, by the line height.
      background[k] = BoxOf(c.Image());
      EXPECT_EQ(background[k].width(), width[k]);
      EXPECT_EQ(background[k].topLeft(), QPoint(10, 10));
    }
    EXPECT_NEAR(background[1].height(), 2 * background[0].height(), 1) << "smooth " << smooth;
    EXPECT_NEAR(width[1], 2 * width[0], 1) << "smooth " << smooth;
    // The glyphs grow too, though hinting rounds their height.
    EXPECT_GE(2 * glyphs[1].height(), 3 * glyphs[0].height()) << "smooth " << smooth;
  }
}

TEST(QtCanvasText, SmoothGlyphsAreBlendedAndTheHaloClearsLinesUnderThem) {
  // A text over black lines, smooth without and with a white halo, and aliased with a halo asked
  // for.
  const std::string text = "Ag";
  QImage pictures[3];
  for (int k = 0; k < 3; ++k) {
    QtCanvas c(80, 40);
    c.SetSmooth(k < 2);
    c.SetPen(CanvasPen{ColorBlack, PenStyle::Solid, 1, PenMode::Copy});
    c.SetBrushStyle(BrushStyle::Clear);
    for (int row = 0; row < 40; row += 2) {
      c.MoveTo(0, row);
      c.LineTo(80, row);
    }
    c.SetFont(CanvasFont{"Courier", ColorRed, 100, k == 0 ? -1 : ColorWhite});
    c.TextOut(10, 5, text);
    pictures[k] = c.Image().copy();
  }
  int red[3] = {0, 0, 0}, partRed = 0, haloNextToGlyph = 0, blackNextToGlyph[3] = {0, 0, 0};
  for (int k = 0; k < 3; ++k) {
    const QImage& p = pictures[k];
    for (int y = 1; y < 39; ++y) {
      for (int x = 1; x < 79; ++x) {
        const QRgb px = p.pixel(x, y);
        const bool glyph = qRed(px) > 128 && qGreen(px) < 128;
        red[k] += glyph;
        partRed += k == 0 && glyph && ColorOfPixel(px) != ColorRed;
        if (!glyph || y % 2 != 0) continue;
        // The pixels of the line just left and right of a glyph pixel.
        for (int dx : {-1, 1}) {
          const QRgb n = p.pixel(x + dx, y);
          if (qRed(n) > 128 && qGreen(n) < 128) continue;
          haloNextToGlyph += k == 1 && qGreen(n) > 128;
          blackNextToGlyph[k] += qRed(n) < 64 && qGreen(n) < 64;
        }
      }
    }
  }
  EXPECT_GT(red[0], 10);
  EXPECT_GT(partRed, 5);
  EXPECT_GT(haloNextToGlyph, 5);
  EXPECT_EQ(blackNextToGlyph[1], 0);
  EXPECT_GT(blackNextToGlyph[0], 5);
  // Aliased texts draw no halo.
  EXPECT_GT(blackNextToGlyph[2], 5);
  int mixed = 0;
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 80; ++x) {
      const int32_t c = ColorOfPixel(pictures[2].pixel(x, y));
      mixed += c != ColorWhite && c != ColorBlack && c != ColorRed;
    }
  }
  EXPECT_EQ(mixed, 0);
}

TEST(QtCanvasText, MasksAreKeptApartByFontScaleAndMode) {
  // The same text in turn in other fonts, sizes and modes: each drawing is that of its own mask.
  struct Kind {
    const char* font;
    int scale;
    bool smooth;
    int32_t halo;
  };
  const Kind kinds[] = {{"Courier", 100, false, -1},       {"Times", 100, false, -1},
                        {"Courier", 200, false, -1},       {"Courier", 100, true, -1},
                        {"Courier", 100, true, ColorBlue}, {"Courier", 150, true, ColorBlue}};
  auto draw = [](QtCanvas& c, const Kind& k) {
    c.Resize(120, 60);
    c.SetSmooth(k.smooth);
    c.SetFont(CanvasFont{k.font, ColorBlack, k.scale, k.halo});
    c.SetBrushStyle(BrushStyle::Clear);
    c.TextOut(3, 3, "B7");
    return c.Image().copy();
  };
  QImage alone[6];
  for (int k = 0; k < 6; ++k) {
    QtCanvas c(120, 60);
    alone[k] = draw(c, kinds[k]);
  }
  for (int k = 1; k < 6; ++k)
    EXPECT_FALSE(alone[k] == alone[k - 1]) << k;
  QtCanvas shared(120, 60);
  for (int pass = 0; pass < 2; ++pass) {
    for (int k : {5, 0, 3, 1, 4, 2}) {
      EXPECT_TRUE(draw(shared, kinds[k]) == alone[k]) << "pass " << pass << " kind " << k;
    }
  }
  // Texts leaving the picture are clipped, near and far.
  shared.SetFont(CanvasFont{"Courier", ColorBlack, 300, ColorWhite});
  for (PixelPoint p :
       {PixelPoint{-8, -8}, PixelPoint{100, 50}, PixelPoint{INT_MAX - 1, INT_MIN + 1}, PixelPoint{INT_MIN, INT_MAX}})
    shared.TextOut(p.X, p.Y, "clipped");
  EXPECT_NE(ColorOfPixel(shared.Image().pixel(119, 59)), -1);
}

} // namespace
} // namespace drex

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
