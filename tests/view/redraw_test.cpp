// What the full redraw paints, in which order and with which pen, read from a recording canvas.

#include <gtest/gtest.h>

#include <climits>
#include <stdexcept>

#include "kernel/cp1251.h"
#include "shell/program.h"
#include "support/construction_builder.h"
#include "support/recording_canvas.h"
#include "support/scripted_platform.h"
#include "view/redraw.h"

namespace drex {
namespace {

// An 800 × 600 area at one pixel per internal unit, 48 internal units per user unit: world point
// (x, y) is pixel (400 + x, 300 − y).
class RedrawTest : public testing::Test {
protected:
  RedrawTest() {
    prog.Surface = &canvas;
    prog.UnitLength = 48;
  }

  TGeomObject& Obj(int n) { return prog.Doc[n]; }
  void Full() {
    canvas.Clear();
    Redraw(prog, true);
  }
  int Count(CanvasOp op) const { return static_cast<int>(canvas.Of(op).size()); }
  /// LineTo calls drawn with the pen colour.
  std::vector<CanvasCall> LinesIn(int32_t color) const {
    std::vector<CanvasCall> out;
    for (const CanvasCall& c : canvas.Of(CanvasOp::LineTo)) {
      if (c.Pen.Color == color) out.push_back(c);
    }
    return out;
  }

  ScriptedPlatform platform;
  Program prog{platform};
  RecordingCanvas canvas{800, 600};
  ConstructionBuilder build{prog.Doc};
};

TEST_F(RedrawTest, EmptyConstructionShowsBackgroundAxesUnitMarksAndGrid) {
  Full();
  ASSERT_FALSE(canvas.Calls.empty());
  const CanvasCall& clear = canvas.Calls.front();
  EXPECT_EQ(clear.Op, CanvasOp::FillRect);
  EXPECT_EQ(&clear, canvas.Find(CanvasOp::FillRect, 0, 0, 800, 600));
  EXPECT_EQ(clear.Brush.Color, ColorWhite);
  EXPECT_DOUBLE_EQ(prog.Drawing.TickStep, 1.0);

  const CanvasCall* xAxis = canvas.FindLine(800, 300, 0, 300);
  const CanvasCall* yAxis = canvas.FindLine(400, 0, 400, 600);
  ASSERT_NE(xAxis, nullptr) << canvas.Log();
  ASSERT_NE(yAxis, nullptr);
  EXPECT_EQ(xAxis->Pen.Color, ColorGrey);
  EXPECT_EQ(xAxis->Pen.Width, 1);
  ASSERT_NE(canvas.Find(CanvasOp::TextOut, 404, 0, 0, 0), nullptr);
  EXPECT_EQ(canvas.Find(CanvasOp::TextOut, 404, 0, 0, 0)->Text, "y");
  ASSERT_NE(canvas.Find(CanvasOp::TextOut, 790, 301, 0, 0), nullptr);
  EXPECT_EQ(canvas.Find(CanvasOp::TextOut, 790, 301, 0, 0)->Text, "x");
  // Unit marks 48 pixels from the origin, labelled "1", with their ticks.
  EXPECT_EQ(canvas.Find(CanvasOp::TextOut, 402, 252, 0, 0)->Text, "1");
  EXPECT_EQ(canvas.Find(CanvasOp::TextOut, 450, 300, 0, 0)->Text, "1");
  EXPECT_NE(canvas.FindLine(398, 252, 403, 252), nullptr);
  EXPECT_NE(canvas.FindLine(448, 298, 448, 303), nullptr);
  EXPECT_EQ(canvas.FindText("1")->Font.Color, ColorBlack);

  // Grid: columns −8..8 and rows 6..−6 of 48 pixels, single black dots.
  const auto dots = canvas.Of(CanvasOp::SetPixel);
  EXPECT_EQ(dots.size(), 17u * 13u);
  EXPECT_NE(canvas.Find(CanvasOp::SetPixel, 400 + 8 * 48, 300 - 6 * 48, 0, 0), nullptr);
  EXPECT_NE(canvas.Find(CanvasOp::SetPixel, 400 - 8 * 48, 300 + 6 * 48, 0, 0), nullptr);
  for (const CanvasCall& d : dots)
    EXPECT_EQ(d.Color, ColorBlack);
  // Layers: background, axes, then grid.
  EXPECT_LT(canvas.IndexOf(yAxis), canvas.IndexOf(canvas.Find(CanvasOp::SetPixel, 400, 300, 0, 0)));
}

TEST_F(RedrawTest, SettingsSwitchAxesGridAndNamesOff) {
  const int a = build.Point(10, 10);
  build[a].Name.Assign("A");
  prog.Config.IsOsi = false;
  Full();
  EXPECT_EQ(canvas.FindText("x"), nullptr);
  EXPECT_EQ(canvas.FindLine(800, 300, 0, 300), nullptr);
  EXPECT_GT(Count(CanvasOp::SetPixel), 0); // grid without axes
  prog.Config.DrawGrid = false;
  prog.Config.PutObjName = false;
  Full();
  EXPECT_EQ(Count(CanvasOp::SetPixel), 0);
  EXPECT_EQ(Count(CanvasOp::TextOut), 0);
  EXPECT_EQ(Count(CanvasOp::Ellipse), 1);
}

TEST_F(RedrawTest, AxisLettersAndUnitMarksFollowTheOriginOffTheArea) {
  // The origin 100 pixels beyond the right edge: the y axis misses the area, the x axis does not.
  prog.Doc.View.OrgX = 500;
  prog.Config.DrawGrid = false;
  Full();
  EXPECT_NE(canvas.FindLine(800, 300, 0, 300), nullptr) << canvas.Log();
  EXPECT_EQ(LinesIn(ColorGrey).size(), 1u + 2u); // the x axis and the two ticks
  ASSERT_NE(canvas.Find(CanvasOp::TextOut, 904, 0, 0, 0), nullptr);
  EXPECT_EQ(canvas.Find(CanvasOp::TextOut, 904, 0, 0, 0)->Text, "y");
  EXPECT_EQ(canvas.Find(CanvasOp::TextOut, 790, 301, 0, 0)->Text, "x");
  EXPECT_NE(canvas.Find(CanvasOp::TextOut, 902, 252, 0, 0), nullptr);
  EXPECT_NE(canvas.Find(CanvasOp::TextOut, 950, 300, 0, 0), nullptr);
  EXPECT_NE(canvas.FindLine(898, 252, 903, 252), nullptr);
  EXPECT_NE(canvas.FindLine(948, 298, 948, 303), nullptr);
}

TEST_F(RedrawTest, TickStepIsThePowerOfTenGivingFewerThanFiftySteps) {
  struct Case {
    double zoom;
    int unit;
    double step;
  };
  const Case cases[] = {{1, 48, 1}, {0.01, 48, 100}, {45, 48, 0.1}, {1, 1, 100}, {1e6, 48, 0.1}};
  for (const Case& k : cases) {
    TViewState view;
    view.Zoom = k.zoom;
    EXPECT_NEAR(TickStep(MakeViewArea(800, 600, view), k.unit), k.step, k.step * 1e-9) << k.zoom;
  }
  // A view whose extent is no number ends the search instead of looping.
  ViewArea broken;
  broken.VisibleCorners[0] = {std::nan(""), 0};
  EXPECT_GT(TickStep(broken, 48), 0);
}

TEST_F(RedrawTest, ClippedLinesCrossTheAreaOrAreNotDrawn) {
  Full();
  struct Case {
    Point2 a, b;
    bool drawn;
    int x0, y0, x1, y1;
  };
  const Case cases[] = {
      {{0, 0}, {1, 1}, true, 700, 0, 100, 600},      // diagonal through the origin
      {{-5, 100}, {5, 100}, true, 800, 200, 0, 200}, // horizontal
      {{0, 300}, {1, 300}, false, 0, 0, 0, 0},       // along the top edge
      {{0, 1000}, {1, 1000}, false, 0, 0, 0, 0},     // misses the area
      {{400, 300}, {401, 299}, false, 0, 0, 0, 0},   // touches the top right corner only
      {{-400, 0}, {-400, 1}, false, 0, 0, 0, 0},     // along the left edge
  };
  for (const Case& k : cases) {
    canvas.Clear();
    DrawClippedLine(canvas, prog.Doc.View, prog.Area, k.a, k.b);
    if (!k.drawn) {
      EXPECT_EQ(Count(CanvasOp::LineTo), 0) << k.a.x << "," << k.a.y;
      continue;
    }
    EXPECT_NE(canvas.FindLine(k.x0, k.y0, k.x1, k.y1), nullptr) << canvas.Log();
  }
}

TEST_F(RedrawTest, EveryKindIsDrawnWithItsOwnPen) {
  const int a = build.Point(0, 0), b = build.Point(100, 50), c = build.Point(-100, 50);
  const int line = build.Line(a, b);
  build[line].Color = ColorRed;
  build[line].PenStyle = 1;
  build[line].PenWidth = 2;
  const int circle = build.Circle(a, b);
  build[circle].Color = ColorBlue;
  build[circle].PenStyle = 2;
  const int poly = build.Polyline({a, b, c}, true, 0x00FF00);
  build[poly].Color = ColorNavy;
  const int polynomial = build.Polynomial({a, b, c});
  build[polynomial].Color = 0x123456;
  const int graph = build.Graph("x");
  build[graph].Color = 0x654321;
  build[graph].PenWidth = 3;
  prog.Config.DrawGrid = false;
  prog.Config.IsOsi = false;
  Full();

  const auto red = LinesIn(ColorRed);
  ASSERT_EQ(red.size(), 1u) << canvas.Log();
  EXPECT_EQ(red[0].Pen.Style, PenStyle::Dash);
  EXPECT_EQ(red[0].Pen.Width, 2);
  // The line through (0, 0) and (100, 50) from its crossing with the right edge to the left one.
  EXPECT_EQ(red[0].A, 800);
  EXPECT_EQ(red[0].B, 100);
  EXPECT_EQ(red[0].C, 0);
  EXPECT_EQ(red[0].D, 500);

  // Circle: radius round(hypot(100, 50)) = 112 around the centre pixel, no fill.
  const CanvasCall* ring = canvas.Find(CanvasOp::Ellipse, 400 - 112, 300 - 112, 400 + 112, 300 + 112);
  ASSERT_NE(ring, nullptr) << canvas.Log();
  EXPECT_EQ(ring->Pen.Color, ColorBlue);
  EXPECT_EQ(ring->Pen.Style, PenStyle::Dot);
  EXPECT_EQ(ring->Brush.Style, BrushStyle::Clear);

  // Closed polyline: outline along the four references, then the polygon of the three distinct
  // vertices in the fill colour.
  const auto navy = LinesIn(ColorNavy);
  ASSERT_EQ(navy.size(), 3u); // a-b, b-c, c-a
  EXPECT_EQ(navy[0].A, 400);
  EXPECT_EQ(navy[0].C, 500);
  const auto polygons = canvas.Of(CanvasOp::Polygon);
  ASSERT_EQ(polygons.size(), 1u);
  EXPECT_EQ(polygons[0].Points.size(), 3u);
  EXPECT_EQ(polygons[0].Brush.Color, 0x00FF00);
  EXPECT_EQ(polygons[0].Brush.Style, BrushStyle::Solid);
  EXPECT_EQ(polygons[0].Pen.Color, ColorNavy);

  // Polynomial and graph: 101 samples, the first a MoveTo.
  EXPECT_EQ(LinesIn(0x123456).size(), 100u);
  const auto graphLines = LinesIn(0x654321);
  ASSERT_EQ(graphLines.size(), 100u);
  EXPECT_EQ(graphLines[0].Pen.Width, 3);
  // y = x from −5 to 5 user units: from pixel (400 − 240, 300 + 240) to (400 + 240, 300 − 240).
  EXPECT_EQ(graphLines.front().A, 160);
  EXPECT_EQ(graphLines.front().B, 540);
  EXPECT_EQ(graphLines.back().C, 640);
  EXPECT_EQ(graphLines.back().D, 60);
  EXPECT_DOUBLE_EQ(Obj(graph).ExtA(), 5);
  EXPECT_DOUBLE_EQ(Obj(graph).ExtB(), -5);
  EXPECT_DOUBLE_EQ(Obj(graph).ExtC(), 5);
  EXPECT_DOUBLE_EQ(Obj(graph).ExtD(), -5);

  // Points last, above all curves.
  const auto dots = canvas.Of(CanvasOp::Ellipse);
  EXPECT_EQ(dots.size(), 4u);
  EXPECT_LT(canvas.IndexOf(ring), canvas.IndexOf(canvas.Find(CanvasOp::Ellipse, 398, 298, 403, 303)));
}

TEST_F(RedrawTest, ParametricAndPolarGraphsUseTheirLetters) {
  const int param = build.Graph("2*cos(t)", 2, "sin(t)");
  build[param].X1 = 0;
  build[param].Y1 = 3.14159265358979;
  const int polar = build.Graph("1", 3);
  build[polar].X1 = 0;
  build[polar].Y1 = 6.28318530717959;
  build[polar].Color = ColorRed;
  Full();
  EXPECT_NEAR(Obj(param).ExtA(), 2, 1e-9);
  EXPECT_NEAR(Obj(param).ExtB(), -2, 1e-9);
  EXPECT_NEAR(Obj(param).ExtC(), 1, 1e-6);
  EXPECT_NEAR(Obj(polar).ExtA(), 1, 1e-9);
  EXPECT_NEAR(Obj(polar).ExtD(), -1, 1e-6);
  EXPECT_EQ(LinesIn(ColorRed).size(), 100u);
}

TEST_F(RedrawTest, GraphLiftsThePenAtFailedAndFarSamples) {
  // y = 1/x over [−1, 1]: the sample at 0 cannot be evaluated.
  const int g = build.Graph("1/x");
  build[g].X1 = -1;
  build[g].Y1 = 1;
  build[g].Color = ColorRed;
  Full();
  auto red = LinesIn(ColorRed);
  EXPECT_EQ(red.size(), 98u); // 100 segments less the one into the failed sample and the first after
  for (const CanvasCall& l : red)
    EXPECT_FALSE(l.A < 400 && l.C >= 400) << DescribeCall(l);

  // y = 20/x: the samples next to 0 lie beyond ±32000 pixels as well.
  build[g].Expr1.Assign("20/x");
  Full();
  red = LinesIn(ColorRed);
  for (const CanvasCall& l : red) {
    EXPECT_GE(l.D, -32000) << DescribeCall(l);
    EXPECT_LE(l.D, 32000) << DescribeCall(l);
  }
  EXPECT_EQ(red.size(), 100u - 3u);

  // A formula that never evaluates draws nothing, and a later redraw still works.
  build[g].Expr1.Assign("x+");
  Full();
  EXPECT_TRUE(LinesIn(ColorRed).empty());
  EXPECT_FALSE(prog.Drawing.Busy);
}

TEST_F(RedrawTest, GraphHitTestAnswersWithoutDrawing) {
  const int g = build.Graph("x"); // from pixel (160, 540) to (640, 60)
  Full();
  canvas.Clear();
  EXPECT_TRUE(GraphTouchesRect(prog, g, 395, 295, 405, 305));
  EXPECT_TRUE(GraphTouchesRect(prog, g, 640, 60, 700, 10)); // last sample on the border
  EXPECT_FALSE(GraphTouchesRect(prog, g, 641, 59, 700, 10));
  EXPECT_FALSE(GraphTouchesRect(prog, g, 500, 400, 600, 500));
  EXPECT_FALSE(GraphTouchesRect(prog, 99, 0, 0, 800, 600));
  const int p = build.Point(0, 0);
  EXPECT_FALSE(GraphTouchesRect(prog, p, 0, 0, 800, 600));
  EXPECT_TRUE(canvas.Calls.empty());
}

TEST_F(RedrawTest, UndefinedAndHiddenObjectsAreSkipped) {
  const int a = build.Point(0, 0), b = build.Point(0.2, 0.2); // the same pixel
  const int line = build.Line(a, b);
  build[line].Color = ColorRed;
  const int mid = build.Midpoint(a, b);
  const int onLine = build.Raw(okPointOn, {line});
  build[onLine].AttachA() = 1;
  const int c = build.Point(100, 0);
  const int hiddenLine = build.Line(a, c);
  build[hiddenLine].Color = ColorBlue;
  build[hiddenLine].Visible = 0;
  build[c].Visible = 0;
  prog.Config.DrawGrid = false;
  Full();
  EXPECT_FALSE(Obj(line).Defined);
  EXPECT_FALSE(Obj(onLine).Defined);
  EXPECT_TRUE(LinesIn(ColorRed).empty());
  EXPECT_TRUE(LinesIn(ColorBlue).empty());
  // a, b and the midpoint; the hidden c and the point on the undefined line are not drawn.
  EXPECT_EQ(Count(CanvasOp::Ellipse), 3) << canvas.Log();
  (void)mid;

  prog.ShowHidden = true;
  Full();
  EXPECT_EQ(LinesIn(ColorBlue).size(), 1u);
  EXPECT_EQ(Count(CanvasOp::Ellipse), 4);

  // The step display shows hidden lines but not hidden points.
  prog.ShowHidden = false;
  prog.Op.StepPos = hiddenLine;
  prog.Op.PickCount = 1;
  Full();
  EXPECT_EQ(LinesIn(ColorBlue).size(), 1u);
  EXPECT_EQ(Count(CanvasOp::Ellipse), 3);
  EXPECT_EQ(prog.Op.PickList[0], hiddenLine);
}

TEST_F(RedrawTest, StepDisplayStopsAtItsPosition) {
  const int a = build.Point(0, 0), b = build.Point(100, 0), c = build.Point(0, 100);
  build.Line(a, b);
  (void)c;
  prog.Op.StepPos = 2;
  prog.Config.IsOsi = false;
  Full();
  EXPECT_EQ(Count(CanvasOp::Ellipse), 2);
  EXPECT_EQ(Count(CanvasOp::LineTo), 0);
}

TEST_F(RedrawTest, PointsCarryTheirColourSizeAndName) {
  const int a = build.Point(10, -20);
  build[a].Color = ColorBlue;
  build[a].PenWidth = 3;
  build[a].Name.Assign(Utf8ToCp1251("Ж1"));
  prog.Config.IsOsi = false;
  prog.Config.DrawGrid = false;
  Full();
  const CanvasCall* dot = canvas.Find(CanvasOp::Ellipse, 410 - 4, 320 - 4, 410 + 5, 320 + 5);
  ASSERT_NE(dot, nullptr) << canvas.Log();
  EXPECT_EQ(dot->Brush.Color, ColorBlue);
  EXPECT_EQ(dot->Brush.Style, BrushStyle::Solid);
  EXPECT_EQ(dot->Pen.Color, ColorBlack);
  EXPECT_EQ(dot->Pen.Width, 1);
  const CanvasCall* name = canvas.FindText("Ж1");
  ASSERT_NE(name, nullptr);
  EXPECT_EQ(name->A, 415);
  EXPECT_EQ(name->B, 324);
  EXPECT_EQ(name->Font.Color, ColorRed);
  EXPECT_EQ(name->Brush.Style, BrushStyle::Clear);
  EXPECT_LT(canvas.IndexOf(dot), canvas.IndexOf(name));
}

TEST_F(RedrawTest, PickedObjectsBlinkWhite) {
  const int a = build.Point(0, 0), b = build.Point(100, 0);
  const int line = build.Line(a, b);
  build[line].Color = ColorRed;
  prog.Op.PickList[0] = static_cast<int16_t>(line);
  prog.Op.PickList[1] = static_cast<int16_t>(a);
  prog.Op.PickCount = 2;
  prog.Op.BlinkPhase = false;
  prog.Config.IsOsi = false;
  prog.Config.SmoothDrawing = false;
  canvas.Clear();
  Redraw(prog, false);
  EXPECT_EQ(Count(CanvasOp::FillRect), 0); // the blink redraw paints over the aliased picture
  EXPECT_TRUE(LinesIn(ColorRed).empty());
  EXPECT_EQ(LinesIn(ColorWhite).size(), 1u);
  const auto dots = canvas.Of(CanvasOp::Ellipse);
  ASSERT_EQ(dots.size(), 2u);
  EXPECT_EQ(dots[0].Pen.Color, ColorWhite);
  EXPECT_EQ(dots[0].Brush.Style, BrushStyle::Clear);
  EXPECT_EQ(dots[1].Pen.Color, ColorBlack);
  prog.Op.BlinkPhase = true;
  Full();
  EXPECT_EQ(LinesIn(ColorRed).size(), 1u);
}

TEST_F(RedrawTest, SelectionHandlesAndTheDeleteCommands) {
  const int a = build.Point(0, 0), b = build.Point(90, 30);
  const int line = build.Line(a, b);
  const int circle = build.Circle(a, b);
  const int graph = build.Graph("x");
  build[graph].Color = 0x654321;
  build[line].Selected = 1;
  build[circle].Selected = 1;
  build[graph].Selected = 1;
  build[a].Selected = 1;
  int enabled = -1;
  prog.Drawing.Hooks.EnableDelete = [&](bool on) { enabled = on; };
  prog.Config.DrawGrid = false;
  Full();
  EXPECT_TRUE(prog.Drawing.AnySelected);
  EXPECT_EQ(enabled, 1);
  // The line from (400, 300) to (490, 270): handles a third of the way in from each end.
  const CanvasCall* h1 = canvas.Find(CanvasOp::Rectangle, 429, 289, 433, 293);
  ASSERT_NE(h1, nullptr) << canvas.Log();
  EXPECT_EQ(h1->Pen.Mode, PenMode::Xor);
  EXPECT_EQ(h1->Pen.Color, ColorWhite);
  EXPECT_EQ(h1->Pen.Width, 2);
  EXPECT_EQ(h1->Brush.Color, ColorBlack);
  EXPECT_NE(canvas.Find(CanvasOp::Rectangle, 459, 279, 463, 283), nullptr);
  // Circle of radius 95: four handles.
  EXPECT_NE(canvas.Find(CanvasOp::Rectangle, 493, 298, 497, 302), nullptr);
  EXPECT_NE(canvas.Find(CanvasOp::Rectangle, 398, 203, 402, 207), nullptr);
  // The point: a black frame in copy mode.
  const CanvasCall* frame = canvas.Find(CanvasOp::Rectangle, 397, 297, 405, 305);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->Pen.Mode, PenMode::Copy);
  EXPECT_EQ(frame->Pen.Color, ColorBlack);
  EXPECT_EQ(frame->Brush.Style, BrushStyle::Clear);
  // The graph's ten handles come with its plot; the pen is restored after each.
  int xorRects = 0;
  for (const CanvasCall& r : canvas.Of(CanvasOp::Rectangle))
    xorRects += r.Pen.Mode == PenMode::Xor;
  EXPECT_EQ(xorRects, 2 + 4 + 10);
  EXPECT_EQ(LinesIn(0x654321).size(), 100u) << "graph pen kept between handles";

  // While the blink timer runs there are no handles but the graph's, and deleting is disabled.
  platform.StartTimer(TimerId::Blic, 200);
  Full();
  EXPECT_FALSE(prog.Drawing.AnySelected);
  EXPECT_EQ(enabled, 0);
  EXPECT_EQ(Count(CanvasOp::Rectangle), 10);
  platform.StopTimer(TimerId::Blic);

  // A hidden selected object shown through ShowAll gets no handles.
  for (int n : {line, circle, graph})
    build[n].Selected = 0;
  build[a].Visible = 0;
  prog.ShowHidden = true;
  Full();
  EXPECT_FALSE(prog.Drawing.AnySelected);
  EXPECT_EQ(Count(CanvasOp::Rectangle), 0);
}

TEST_F(RedrawTest, PolylineAndPolynomialHandles) {
  const int a = build.Point(0, 0), b = build.Point(90, 30), c = build.Point(90, -60);
  const int open = build.Polyline({a, b, c});
  build[open].Selected = 1;
  build[open].Color = ColorNavy;
  prog.Config.DrawGrid = false;
  prog.Config.IsOsi = false;
  Full();
  // An open polyline: two segments, no closing line and no fill; two handles on each segment.
  EXPECT_EQ(LinesIn(ColorNavy).size(), 2u);
  EXPECT_EQ(Count(CanvasOp::Polygon), 0);
  const auto handles = canvas.Of(CanvasOp::Rectangle);
  ASSERT_EQ(handles.size(), 4u) << canvas.Log();
  EXPECT_NE(canvas.Find(CanvasOp::Rectangle, 429, 289, 433, 293), nullptr);
  EXPECT_NE(canvas.Find(CanvasOp::Rectangle, 459, 279, 463, 283), nullptr);
  EXPECT_NE(canvas.Find(CanvasOp::Rectangle, 489, 299, 493, 303), nullptr);
  EXPECT_NE(canvas.Find(CanvasOp::Rectangle, 489, 329, 493, 333), nullptr);

  // A polynomial through (−100, 50), (0, 0), (100, 50): eleven handles from node to node.
  build[open].Selected = 0;
  const int l = build.Point(-100, 50), m = build.Point(0, 0), r = build.Point(100, 50);
  const int poly = build.Polynomial({l, m, r});
  build[poly].Selected = 1;
  Full();
  const auto marks = canvas.Of(CanvasOp::Rectangle);
  ASSERT_EQ(marks.size(), 11u) << canvas.Log();
  EXPECT_NE(canvas.Find(CanvasOp::Rectangle, 299, 249, 303, 253), nullptr);
  EXPECT_NE(canvas.Find(CanvasOp::Rectangle, 399, 299, 403, 303), nullptr);
  EXPECT_NE(canvas.Find(CanvasOp::Rectangle, 499, 249, 503, 253), nullptr);
  for (const CanvasCall& h : marks)
    EXPECT_EQ(h.Pen.Mode, PenMode::Xor);
}

TEST_F(RedrawTest, AngleLabelLeftOfTheVertexEndsAtItsLeader) {
  // Rays to the left and upwards: the arc spans the upper left quarter and the label goes left.
  const int v = build.Point(0, 0), a = build.Point(-100, 0), c = build.Point(0, 100);
  prog.Doc.Measurements[0] =
      Measurement{0, {static_cast<int16_t>(a), static_cast<int16_t>(v), static_cast<int16_t>(c)}};
  prog.Doc.MeasureCount = 1;
  prog.Config.DrawGrid = false;
  prog.Config.IsOsi = false;
  Full();
  const CanvasCall* label = canvas.FindText("90\xC2\xB0");
  ASSERT_NE(label, nullptr) << canvas.Log();
  EXPECT_EQ(label->A, 379 - 16);
  EXPECT_EQ(label->B, 279 - 15);
  EXPECT_EQ(prog.Drawing.LabelRects[0].Left, 363);
  EXPECT_NE(canvas.FindLine(363, 276, 379, 276), nullptr) << canvas.Log(); // underline
  EXPECT_NE(canvas.FindLine(389, 289, 379, 276), nullptr);                 // leader to its right end
  // The arc runs from the upward ray to the leftward one, radius 15.
  EXPECT_NE(canvas.Find(CanvasOp::MoveTo, 400, 285, 0, 0), nullptr);
  const auto arc = canvas.Of(CanvasOp::LineTo);
  ASSERT_GE(arc.size(), 10u);
  EXPECT_EQ(arc[9].C, 385);
  EXPECT_EQ(arc[9].D, 300);
}

TEST_F(RedrawTest, MeasurementsShowTheirValuesAndKeepTheirLabelRects) {
  const int v = build.Point(0, 0), a = build.Point(100, 0), c = build.Point(0, 100);
  prog.Doc.Measurements[0] =
      Measurement{0, {static_cast<int16_t>(a), static_cast<int16_t>(v), static_cast<int16_t>(c)}};
  prog.Doc.Measurements[1] = Measurement{1, {static_cast<int16_t>(a), static_cast<int16_t>(c), 0}};
  prog.Doc.MeasureCount = 2;
  prog.Config.DrawGrid = false;
  prog.Config.IsOsi = false;
  Full();
  // 90 degrees, the label 30 pixels out along the middle of the arc (45° up and right).
  const CanvasCall* angle = canvas.FindText("90\xC2\xB0");
  ASSERT_NE(angle, nullptr) << canvas.Log();
  EXPECT_EQ(angle->Font.Color, ColorBlue);
  EXPECT_EQ(angle->A, 421);
  EXPECT_EQ(angle->B, 279 - 15);
  const LabelRect& r0 = prog.Drawing.LabelRects[0];
  EXPECT_EQ(r0.Left, 421);
  EXPECT_EQ(r0.Right, 421 + 16);
  EXPECT_EQ(r0.Bottom - r0.Top, 8);
  EXPECT_NE(canvas.FindLine(421, 276, 421 + 16, 276), nullptr); // underline
  // Distance sqrt(2)·100 / 48 = 2.946… shown with two digits, at the midpoint of the pixels.
  const CanvasCall* dist = canvas.FindText("2.9");
  ASSERT_NE(dist, nullptr) << canvas.Log();
  EXPECT_EQ(dist->Font.Color, ColorNavy);
  EXPECT_EQ(dist->A, 455);
  EXPECT_EQ(dist->B, 250 - 15);
  EXPECT_EQ(prog.Drawing.LabelRects[1].Right, 455 + 24);

  // A measurement whose point is not defined, or names no object, is not drawn.
  prog.Doc.Measurements[1].Objects[1] = 77;
  Full();
  EXPECT_EQ(canvas.FindText("2.9"), nullptr);
}

TEST_F(RedrawTest, GuardDropsNestedRedrawsAndIsClearedAfterAFailure) {
  int nested = 0;
  prog.Drawing.Hooks.RefreshDynExprs = [&] {
    const std::size_t before = canvas.Calls.size();
    Redraw(prog, true);
    nested += canvas.Calls.size() == before;
  };
  Full();
  EXPECT_EQ(nested, 1);
  EXPECT_FALSE(prog.Drawing.Busy);
  EXPECT_EQ(platform.PendingEventCalls, 1);

  prog.Drawing.Hooks.RefreshReport = [] { throw std::runtime_error("report failed"); };
  EXPECT_THROW(Redraw(prog, true), std::runtime_error);
  EXPECT_FALSE(prog.Drawing.Busy);
  prog.Drawing.Hooks.RefreshReport = nullptr;
  Full();
  EXPECT_FALSE(canvas.Calls.empty());
}

TEST_F(RedrawTest, LocusAndReportHooksRunOnFullRedrawsOnly) {
  int locus = 0, report = 0, expressions = 0;
  prog.Drawing.Hooks.DrawLocusTrace = [&](Canvas&) { ++locus; };
  prog.Drawing.Hooks.RefreshReport = [&] { ++report; };
  prog.Drawing.Hooks.RefreshDynExprs = [&] { ++expressions; };
  prog.Config.SmoothDrawing = false;
  Redraw(prog, true);
  Redraw(prog, false);
  EXPECT_EQ(locus, 1);
  EXPECT_EQ(report, 1);
  EXPECT_EQ(expressions, 2);
  // The smooth picture is painted afresh by the blink redraw too, trace and all, but it leaves the
  // report alone; a large construction is painted over, aliased.
  prog.Config.SmoothDrawing = true;
  canvas.Clear();
  Redraw(prog, false);
  EXPECT_EQ(locus, 2);
  EXPECT_EQ(report, 1);
  ASSERT_FALSE(canvas.Calls.empty());
  EXPECT_EQ(canvas.Calls.front().Op, CanvasOp::FillRect);
  EXPECT_TRUE(canvas.Calls.front().Smooth);
  prog.Doc.ObjCount = 0;
  for (int k = 0; k <= SmoothWhileMovingLimit; ++k)
    build.Point(k, 0);
  canvas.Clear();
  Redraw(prog, false);
  EXPECT_EQ(locus, 2);
  ASSERT_FALSE(canvas.Calls.empty());
  EXPECT_NE(canvas.Calls.front().Op, CanvasOp::FillRect);
  EXPECT_FALSE(canvas.Calls.front().Smooth);
  EXPECT_FALSE(platform.TimerRunning(TimerId::Settle)) << "nothing to settle after a blink";
}

TEST_F(RedrawTest, WithoutASurfaceObjectsAreStillRecomputed) {
  prog.Surface = nullptr;
  const int a = build.Point(0, 0), b = build.Point(100, 0);
  const int mid = build.Midpoint(a, b);
  Redraw(prog, true);
  EXPECT_TRUE(Obj(mid).Defined);
  EXPECT_DOUBLE_EQ(Obj(mid).X1, 50);
}

TEST_F(RedrawTest, FarObjectsDoNotBreakTheRedraw) {
  const int a = build.Point(0, 0), b = build.Point(1e300, 0);
  build.Circle(a, b);
  build.Line(a, b);
  const int far = build.Point(-1e300, 1e300);
  build[far].Name.Assign("F");
  build[far].Selected = 1;
  Full();
  EXPECT_FALSE(prog.Drawing.Busy);
  Full();
  EXPECT_FALSE(canvas.Calls.empty());
}

TEST_F(RedrawTest, LabelsAndHandlesNearTheIntLimitsStayInRange) {
  // A vertex and a distance whose pixels sit at the ends of the int range.
  const int v = build.Point(-3e9, 3e9), a = build.Point(-4e9, 3e9), c = build.Point(0, 0);
  const int far1 = build.Point(3e9, -3e9), far2 = build.Point(4e9, -4e9);
  prog.Doc.Measurements[0] =
      Measurement{0, {static_cast<int16_t>(a), static_cast<int16_t>(v), static_cast<int16_t>(c)}};
  prog.Doc.Measurements[1] = Measurement{1, {static_cast<int16_t>(far1), static_cast<int16_t>(far2), 0}};
  prog.Doc.MeasureCount = 2;
  // A selected circle whose right handle would lie beyond the int range.
  const int centre = build.Point(2e9 - 400, 0), rim = build.Point(2e9 - 400, 1e9);
  const int circle = build.Circle(centre, rim);
  build[circle].Selected = 1;
  prog.Config.DrawGrid = false;
  prog.Config.IsOsi = false;
  Full();
  EXPECT_FALSE(prog.Drawing.Busy);
  ASSERT_TRUE(Obj(circle).Defined);
  // The three handles that can be placed, none wrapped round to the far side.
  const auto handles = canvas.Of(CanvasOp::Rectangle);
  EXPECT_EQ(handles.size(), 3u) << canvas.Log();
  for (const CanvasCall& h : handles)
    EXPECT_GT(h.A, 0) << DescribeCall(h);
  // Label rectangles keep their order of corners.
  for (const LabelRect& r : {prog.Drawing.LabelRects[0], prog.Drawing.LabelRects[1]}) {
    EXPECT_LE(r.Left, r.Right);
    EXPECT_LE(r.Top, r.Bottom);
  }
  EXPECT_NE(canvas.FindText("135\xC2\xB0"), nullptr) << canvas.Log();
  EXPECT_NE(canvas.Find(CanvasOp::TextOut, INT_MAX, INT_MAX - 15, 0, 0), nullptr) << canvas.Log();
}

} // namespace
} // namespace drex
