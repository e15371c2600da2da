// The Qt canvas read back pixel by pixel from its QImage.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <climits>
#include <memory>

#include "view/QtCanvas.h"

namespace drex {
namespace {

int32_t At(QtCanvas& c, int x, int y) { return ColorOfPixel(c.Image().pixel(x, y)); }

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

} // namespace
} // namespace drex

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
