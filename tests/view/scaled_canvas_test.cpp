// The scaled canvas: a picture drawn through it is the raster picture of the same drawing, each
// pixel grown to a block, its pens as much wider and its texts as much larger.

#include "view/scaled_canvas.h"

#include <gtest/gtest.h>

#include <climits>

#include "support/buffer_canvas.h"
#include "support/recording_canvas.h"

namespace drex {
namespace {

TEST(ScaledCanvasTest, EveryPixelGrowsToABlockAndEveryPenAsMuchWider) {
  BufferCanvas fine(120, 90);
  ScaledCanvas coarse(fine, 40, 30, 3);
  EXPECT_EQ(coarse.Width(), 40);
  coarse.SetBrushColor(ColorRed);
  coarse.FillRect(2, 3, 5, 4);
  EXPECT_EQ(fine.CountOf(ColorRed), 9 * 3);
  coarse.SetPixel(20, 20, ColorBlue);
  EXPECT_EQ(fine.CountOf(ColorBlue), 9);
  EXPECT_EQ(coarse.Brush().Color, ColorRed) << "a pixel leaves the brush as it was";

  // A vertical line of width 2 through the centres of column 30: six columns, centred on the
  // centre of the block of column 30.
  coarse.SetPen(CanvasPen{ColorNavy, PenStyle::Solid, 2, PenMode::Copy});
  EXPECT_EQ(coarse.Pen().Width, 2) << "the pen is seen at its own width";
  coarse.MoveTo(30, 0);
  coarse.LineTo(30, 10);
  EXPECT_EQ(fine.CountOf(ColorNavy), 6 * 30);
  for (int x = 88; x <= 93; ++x)
    EXPECT_EQ(fine.PixelColor(x, 15), ColorNavy) << x;

  // The widest pen of a record at the largest display scale, at four times the resolution.
  BufferCanvas wide(400, 100);
  ScaledCanvas four(wide, 100, 25, 4);
  four.SetPen(CanvasPen{ColorBlack, PenStyle::Solid, 15, PenMode::Copy});
  four.MoveTo(50, 0);
  four.LineTo(50, 25);
  // Sixty columns, from the centre of the first block (row 2) to the picture's bottom.
  EXPECT_EQ(wide.CountOf(ColorBlack), 60 * 98);
}

TEST(ScaledCanvasTest, ShapesTextsAndFarCoordinatesKeepTheirPlaces) {
  RecordingCanvas fine(300, 300);
  ScaledCanvas coarse(fine, 100, 100, 3);
  coarse.Ellipse(10, 10, 20, 20);
  coarse.Polygon({{0, 0}, {10, 0}, {0, 10}});
  coarse.SetFont(CanvasFont{"Courier", ColorBlack, 150, -1});
  EXPECT_EQ(coarse.Font().Scale, 150);
  coarse.TextOut(7, 8, "A");
  EXPECT_EQ(coarse.TextWidth("ABC"), fine.TextWidth("ABC") / 3);
  coarse.MoveTo(-2000000000, 5);
  coarse.LineTo(2000000000, 5);
  ASSERT_EQ(fine.Calls.size(), 5u);
  EXPECT_EQ(fine.Calls[0].A, 30);
  EXPECT_EQ(fine.Calls[0].C, 60) << "the box's edges grow, right and bottom stay outside";
  EXPECT_EQ(fine.Calls[1].Points[1].X, 31) << "a vertex is the centre of its block";
  EXPECT_EQ(fine.Calls[2].Font.Scale, 450);
  EXPECT_EQ(fine.Calls[2].A, 21);
  EXPECT_EQ(fine.Calls[4].C, INT_MAX) << "far ends are held to the int range, never wrapped";
  EXPECT_EQ(fine.Calls[4].D, 16);
}

} // namespace
} // namespace drex
