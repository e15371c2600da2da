// The display scale: point marks, names, labels, handles and pens grow together and the hit
// tolerance with them, while 100 % keeps every pixel; the fit takes in the drawn curves.

#include <gtest/gtest.h>

#include <algorithm>

#include "interaction/hit_test.h"
#include "interaction/place_mouse.h"
#include "shell/program.h"
#include "support/buffer_canvas.h"
#include "support/construction_builder.h"
#include "support/recording_canvas.h"
#include "support/scripted_platform.h"
#include "view/redraw.h"
#include "view/view_transform.h"

namespace drex {
namespace {

/// Columns and rows of the pixels that are not white.
struct Box {
  int Left = 1 << 30, Top = 1 << 30, Right = -1, Bottom = -1;
  int Width() const { return Right - Left + 1; }
  int Height() const { return Bottom - Top + 1; }
};

Box InkBox(const BufferCanvas& c) {
  Box b;
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x)
      if (c.PixelColor(x, y) != ColorWhite) {
        b.Left = std::min(b.Left, x);
        b.Right = std::max(b.Right, x);
        b.Top = std::min(b.Top, y);
        b.Bottom = std::max(b.Bottom, y);
      }
  return b;
}

// A 200 × 200 area at one pixel per internal unit: world (x, y) is pixel (100 + x, 100 − y).
class DisplayScaleTest : public testing::Test {
protected:
  DisplayScaleTest() {
    prog.UnitLength = 48;
    prog.Config.IsOsi = false;
    prog.Config.DrawGrid = false;
  }
  template <typename C> void DrawOn(C& canvas, int scale) {
    prog.Surface = &canvas;
    prog.Config.DisplayScale = scale;
    Redraw(prog, true);
  }

  ScriptedPlatform desk;
  Program prog{desk};
  ConstructionBuilder build{prog.Doc};
};

TEST_F(DisplayScaleTest, PointMarksAndSelectedLineHandlesDoubleAt200) {
  const int a = build.Point(0, 0);
  prog.Doc[a].PenWidth = 2;
  prog.Config.PutObjName = false;
  BufferCanvas at100(200, 200), at200(200, 200);
  DrawOn(at100, 100);
  DrawOn(at200, 200);
  const Box small = InkBox(at100), large = InkBox(at200);
  // Both centred on the point's pixel; the mark reaches pen width + 1 from it, twice that at 200 %
  // (and the doubled outline half a pen further).
  EXPECT_EQ(small.Left, 100 - 3);
  EXPECT_EQ(small.Right, 100 + 3);
  EXPECT_EQ(large.Left + large.Right, 2 * 100);
  EXPECT_EQ(large.Top + large.Bottom, 2 * 100);
  EXPECT_GE(large.Width(), 2 * small.Width() - 1);
  EXPECT_LE(large.Width(), 2 * small.Width() + 1);

  // A line of width 3 and its handles.
  const int b = build.Point(60, 0);
  const int line = build.Line(a, b);
  prog.Doc[line].PenWidth = 3;
  prog.Doc[line].Selected = 1;
  RecordingCanvas rec100(200, 200), rec200(200, 200);
  DrawOn(rec100, 100);
  DrawOn(rec200, 200);
  const auto lineWidth = [&](const RecordingCanvas& c) {
    for (const CanvasCall& call : c.Of(CanvasOp::LineTo))
      if (call.B == 100 && call.D == 100) return call.Pen.Width;
    return 0;
  };
  EXPECT_EQ(lineWidth(rec100), 3);
  EXPECT_EQ(lineWidth(rec200), 6);
  const std::vector<CanvasCall> h100 = rec100.Of(CanvasOp::Rectangle), h200 = rec200.Of(CanvasOp::Rectangle);
  ASSERT_EQ(h100.size(), 2u);
  ASSERT_EQ(h200.size(), 2u);
  EXPECT_EQ(h200[0].C - h200[0].A, 2 * (h100[0].C - h100[0].A));
  EXPECT_EQ(h200[0].Pen.Width, 2 * h100[0].Pen.Width);
  EXPECT_EQ(h200[0].Pen.Mode, PenMode::Xor);
}

TEST_F(DisplayScaleTest, NamesAndLabelsMoveOutAndGrowWithTheScale) {
  const int a = build.Point(0, 0), b = build.Point(40, 0);
  build[a].Name.Assign("A");
  prog.Doc.MeasureCount = 1;
  prog.Doc.Measurements[0] = Measurement{1, {static_cast<int16_t>(a), static_cast<int16_t>(b), 0}};
  RecordingCanvas rec(200, 200);
  prog.Config.SmoothDrawing = false;
  DrawOn(rec, 100);
  const CanvasCall* name = rec.FindText("A");
  ASSERT_NE(name, nullptr) << rec.Log();
  EXPECT_EQ(name->A, 105);
  EXPECT_EQ(name->B, 104);
  EXPECT_EQ(name->Font.Name, "Courier");
  EXPECT_EQ(name->Font.Scale, 100);
  EXPECT_EQ(name->Font.Halo, -1);
  const LabelRect label100 = prog.Drawing.LabelRects[0];

  rec.Clear();
  prog.Config.SmoothDrawing = true;
  DrawOn(rec, 200);
  name = rec.FindText("A");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->A, 110);
  EXPECT_EQ(name->B, 108);
  EXPECT_EQ(name->Font.Scale, 200);
  EXPECT_EQ(name->Font.Name, SmoothFontName);
  EXPECT_EQ(name->Font.Halo, ColorWhite);
  // The distance label's hit rectangle grows too, so that removing it still takes a click on it.
  const LabelRect label200 = prog.Drawing.LabelRects[0];
  EXPECT_EQ(label200.Right - label200.Left, 2 * (label100.Right - label100.Left));
  EXPECT_EQ(label200.Bottom - label200.Top, 2 * (label100.Bottom - label100.Top));
}

TEST_F(DisplayScaleTest, HitTestsUseTheScaledTolerance) {
  const int a = build.Point(0, 0);
  const int far = build.Point(80, 80);
  const int circle = build.Circle(far, build.Point(50, 80)); // radius 30 about pixel (180, 20)
  RecordingCanvas rec(200, 200);
  DrawOn(rec, 100);
  EXPECT_EQ(HitTest(prog, 104, 100), a);
  EXPECT_EQ(HitTest(prog, 107, 100), 0);
  EXPECT_EQ(HitTest(prog, 180, 58), 0) << "8 pixels off the circle";
  DrawOn(rec, 200);
  EXPECT_EQ(HitTest(prog, 107, 100), a);
  EXPECT_EQ(HitTest(prog, 109, 100), a);
  EXPECT_EQ(HitTest(prog, 110, 100), 0) << "a distance of exactly the tolerance is a miss";
  EXPECT_EQ(HitTest(prog, 180, 58), circle);
}

TEST_F(DisplayScaleTest, ScaleIsHeldToItsRangeAndKeepsPixelsAt100) {
  for (int px : {-7, 0, 1, 5, 15})
    EXPECT_EQ(ScalePixels(100, px), px);
  EXPECT_EQ(ScalePixels(125, 5), 6);
  EXPECT_EQ(ScalePixels(150, 5), 8);
  EXPECT_EQ(ScalePixels(300, 5), 15);
  EXPECT_EQ(ScalePixels(50, 5), 5) << "below 100 % is 100 %";
  EXPECT_EQ(ScalePixels(900, 5), 15) << "beyond 300 % is 300 %";
}

TEST(FitViewCurves, FitTakesInAPolynomialsDipAndAGraphsExtent) {
  ScriptedPlatform desk;
  Program prog{desk};
  prog.UnitLength = 10;
  ConstructionBuilder build{prog.Doc};
  // Nodes (0, 0), (1, 0), (2, 0), (3, 60) in user units: 10·x(x − 1)(x − 2), which dips to
  // −3.85 near x = 1.58, below every node.
  build.Polynomial({build.Point(0, 0), build.Point(10, 0), build.Point(20, 0), build.Point(30, 600)});
  RecordingCanvas canvas(400, 300);
  prog.Surface = &canvas;
  Redraw(prog, true);
  FitView(prog.Doc.View, prog.Doc, 400, 300, prog.UnitLength);
  const ViewArea area = MakeViewArea(400, 300, prog.Doc.View);
  const Point2 dip = WorldToScreen(prog.Doc.View, area, {15.8, -38.5});
  EXPECT_LT(dip.y, 300);
  EXPECT_GT(dip.y, 300 - 300 / 1.1 * 0.2) << "the dip is near the bottom edge";

  // A graph whose interval lies far from its curve.
  ScriptedPlatform desk2;
  Program graph{desk2};
  graph.UnitLength = 10;
  ConstructionBuilder b2{graph.Doc};
  b2.Point(0, 0);
  const int g = b2.Graph("X*X");
  graph.Doc[g].X1 = -1;
  graph.Doc[g].Y1 = 5; // y up to 25 user units, 250 internal ones
  graph.Surface = &canvas;
  Redraw(graph, true);
  FitView(graph.Doc.View, graph.Doc, 400, 300, graph.UnitLength);
  const ViewArea area2 = MakeViewArea(400, 300, graph.Doc.View);
  const Point2 top = WorldToScreen(graph.Doc.View, area2, {50, 250});
  EXPECT_GE(top.y, 0);
  EXPECT_LT(top.y, 300 * 0.1);
}

} // namespace
} // namespace drex
