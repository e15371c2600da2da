// Picking, selecting, dragging and panning at the drawing area.

#include <cmath>
#include <vector>

#include "interaction/hit_test.h"
#include "session.h"

namespace drex::test {
namespace {

using Picking = Session;

TEST_F(Picking, APointWinsOverALineWhicheverComesFirst) {
  const int a = FreePoint(100, 300), b = FreePoint(700, 300);
  const int line = Built(okLine, {a, b});
  const int onLine = FreePoint(400, 300);
  Refresh();
  EXPECT_EQ(HitTest(prog, 401, 301), onLine);
  EXPECT_EQ(HitTest(prog, 401, 306), 0);
  EXPECT_EQ(HitTest(prog, 420, 302), line);
  // A point numbered before the line wins too.
  prog.Doc.ObjCount = 0;
  const int first = FreePoint(400, 300);
  const int c = FreePoint(100, 300), d = FreePoint(700, 300);
  Built(okLine, {c, d});
  Refresh();
  EXPECT_EQ(HitTest(prog, 402, 300), first);
}

TEST_F(Picking, OfTwoCrossingLinesTheLaterIsHit) {
  const int a = FreePoint(100, 100), b = FreePoint(700, 500);
  Built(okLine, {a, b});
  const int c = FreePoint(100, 500), d = FreePoint(700, 100);
  const int second = Built(okLine, {c, d});
  Refresh();
  EXPECT_EQ(HitTest(prog, 400, 300), second);
}

TEST_F(Picking, FivePixelsAwayIsAMiss) {
  const int p = FreePoint(200, 200);
  const int a = FreePoint(100, 500), b = FreePoint(700, 500); // horizontal line y = 500
  const int line = Built(okLine, {a, b});
  const int c = FreePoint(500, 200), r = FreePoint(550, 200); // circle of radius 50
  const int circle = Built(okCircle, {c, r});
  Refresh();
  struct Case {
    int x, y, expected;
  };
  const Case cases[] = {
      {204, 200, p},    {205, 200, 0},      {200, 196, p},    {200, 195, 0},      {196, 204, p},
      {300, 504, line}, {300, 505, 0},      {300, 496, line}, {300, 495, 0},      {500, 146, circle},
      {500, 145, 0},    {500, 154, circle}, {500, 155, 0},    {446, 200, circle},
  };
  for (const Case& k : cases)
    EXPECT_EQ(HitTest(prog, k.x, k.y), k.expected) << k.x << "," << k.y;
}

TEST_F(Picking, GraphsAreNeverHitAndHiddenObjectsOnlyWhenShown) {
  const int graph = prog.AppendObject(okFunction); // y = x over -5..5
  const int p = FreePoint(400, 300);
  Obj(p).Visible = 0;
  Refresh();
  EXPECT_EQ(HitTest(prog, 400, 300), 0);
  prog.ShowHidden = true;
  EXPECT_EQ(HitTest(prog, 400, 300), p);
  (void)graph;
}

TEST_F(Picking, UndefinedObjectsCannotBeHit) {
  // A tangent from a point inside its circle is not drawn; its old pixels must not catch clicks.
  const int c = FreePoint(400, 300), r = FreePoint(500, 300);
  const int circle = Built(okCircle, {c, r});
  const int p = FreePoint(100, 300);
  const int tangent = Built(okTangent, {p, circle});
  Refresh();
  ASSERT_TRUE(Obj(tangent).Defined);
  const int x = (Obj(tangent).ScrX1 + Obj(tangent).ScrX2) / 2, y = (Obj(tangent).ScrY1 + Obj(tangent).ScrY2) / 2;
  ASSERT_EQ(HitTest(prog, x, y), tangent);
  Obj(p).X1 = 10; // inside the circle
  Refresh();
  ASSERT_FALSE(Obj(tangent).Defined);
  EXPECT_NE(HitTest(prog, x, y), tangent);
}

TEST_F(Picking, VerticalPolylineSegmentOnlyAtItsOwnColumn) {
  const int a = FreePoint(300, 100), b = FreePoint(300, 500), c = FreePoint(600, 500);
  const int poly = Built(okPolyline, {a, b, c});
  Refresh();
  EXPECT_EQ(HitTest(prog, 300, 300), poly);
  EXPECT_EQ(HitTest(prog, 301, 300), 0);
  EXPECT_EQ(HitTest(prog, 450, 500), poly);
  EXPECT_EQ(HitTest(prog, 450, 501), 0); // so is a horizontal one at its own row
  EXPECT_EQ(HitTest(prog, 650, 500), 0); // beyond the last vertex
}

TEST_F(Picking, PolynomialIsHitAlongItsDrawnStretchOnly) {
  // Nodes on the line y = x / 2 from x = -200 to 200 (world).
  const int a = FreePoint(200, 400), b = FreePoint(600, 200);
  const int poly = Built(okPolynomial, {a, b});
  Refresh();
  ASSERT_TRUE(Obj(poly).Defined);
  EXPECT_EQ(HitTest(prog, 500, 247), poly);
  EXPECT_EQ(HitTest(prog, 500, 256), 0);
  EXPECT_EQ(HitTest(prog, 700, 150), 0); // the same line beyond the last node
}

TEST_F(Picking, PolynomialIsHitFromItsPixel) {
  // Nodes on the line y = 0.3 x: at pixel column 502 the curve is at row 269.4, pixel 269, so the
  // row 274 lies exactly 5 pixels off and is a miss.
  const int a = FreePoint(200, 360), b = FreePoint(600, 240);
  const int poly = Built(okPolynomial, {a, b});
  Refresh();
  ASSERT_TRUE(Obj(poly).Defined);
  EXPECT_EQ(HitTest(prog, 502, 265), poly);
  EXPECT_EQ(HitTest(prog, 502, 273), poly);
  EXPECT_EQ(HitTest(prog, 502, 274), 0);
}

TEST_F(Picking, StatusLineInCartesianAndPolarForm) {
  prog.Config.AnswerDigits = 4;
  Move(450, 250); // world (50, 50), user units (0.5, 0.5)
  EXPECT_EQ(prog.Op.StatusLine, "  (0.5, 0.5)");
  prog.Config.CoordSystem = 1;
  Move(300, 400); // world (-100, -100): ρ = 1.414, φ = 225°
  EXPECT_EQ(prog.Op.StatusLine, "  (1.414, 225°)");
  const int p = FreePoint(300, 400);
  Refresh();
  Move(301, 400);
  EXPECT_EQ(prog.Op.StatusLine, Caption(p) + "  (1.407, 225.3°)");
}

TEST_F(Picking, CursorFollowsWhatAClickWouldDo) {
  const int p = FreePoint(100, 100);
  const int a = FreePoint(100, 500), b = FreePoint(700, 500);
  const int line = Built(okLine, {a, b});
  Refresh();
  Move(400, 300);
  EXPECT_EQ(desk.Cursor, ArrowCur);
  Move(100, 100);
  EXPECT_EQ(desk.Cursor, DragCur);
  Move(400, 500);
  EXPECT_EQ(desk.Cursor, HandCur);
  Tool(ParallelTool);
  Move(400, 300);
  EXPECT_EQ(desk.Cursor, PutCur); // empty space makes a point
  Click(100, 100);
  Move(400, 500);
  EXPECT_EQ(desk.Cursor, GetCur); // the line may be picked now
  Move(400, 300);
  EXPECT_EQ(desk.Cursor, ArrowCur); // empty space is no use for the line
  Move(700, 500);
  EXPECT_EQ(desk.Cursor, DragCur); // a point cannot be picked as the line
  (void)p, (void)line;
}

TEST_F(Picking, CursorRulesOfTheOtherOperations) {
  const int p = FreePoint(100, 100);
  const int a = FreePoint(100, 500), b = FreePoint(700, 500);
  const int line = Built(okLine, {a, b});
  const int c = FreePoint(400, 300);
  const int poly = Built(okPolynomial, {a, c});
  Refresh();
  struct Case {
    const char* what;
    int hot;
    int measure, transform, macro, macroApply, awaitedKind, picks;
    bool locus;
    int cursor;
  };
  const Case cases[] = {
      {"measuring, on a point", p, 1, 0, 0, 0, -1, 0, false, GetCur},
      {"measuring, on a line", line, 1, 0, 0, 0, -1, 0, false, PutCur},
      {"removing a measurement, no label", 0, -1, 0, 0, 0, -1, 0, false, ArrowCur},
      {"locus pick, on a point", p, 0, 0, 0, 0, -1, 0, true, GetCur},
      {"locus pick, on a line", line, 0, 0, 0, 0, -1, 0, true, HandCur},
      {"macro recording, a line", line, 0, 0, 1, 0, -1, 0, false, GetCur},
      {"moving, first pick a line", line, 0, 1, 0, 0, -1, 0, false, GetCur},
      {"moving, first pick a polynomial", poly, 0, 1, 0, 0, -1, 0, false, PutCur},
      {"rotating, centre point", p, 0, 2, 0, 0, -1, 1, false, GetCur},
      {"rotating, a line as centre", line, 0, 2, 0, 0, -1, 1, false, PutCur},
      {"applying a macro, a line awaited", line, 0, 0, 0, 1, okParallel, 0, false, GetCur},
      {"applying a macro, a circle awaited", line, 0, 0, 0, 1, okCircle, 0, false, PutCur},
  };
  for (const Case& k : cases) {
    prog.Op.HotObject = k.hot;
    prog.Op.MeasureMode = k.measure;
    prog.Op.TransformMode = k.transform;
    prog.Op.MacroState = k.macro;
    prog.Op.MacroApplyStep = k.macroApply;
    prog.Op.MacroAwaitedKind = k.awaitedKind;
    prog.Op.PickCount = k.picks;
    prog.Op.LocusPickPending = k.locus;
    EXPECT_EQ(CursorForState(prog), k.cursor) << k.what;
  }
  // Removing measurements: the cursor shows when a label is under it, the last one counting.
  prog.Op = OperationState{};
  prog.Op.MeasureMode = -1;
  prog.Doc.MeasureCount = 2;
  prog.Drawing.LabelRects[0] = LabelRect{500, 100, 532, 108};
  prog.Drawing.LabelRects[1] = LabelRect{520, 104, 544, 112};
  Move(532, 108);
  EXPECT_EQ(prog.Op.MeasureLabel, 2);
  EXPECT_EQ(desk.Cursor, DelCur);
  Move(501, 101);
  EXPECT_EQ(prog.Op.MeasureLabel, 1);
  Move(545, 108);
  EXPECT_EQ(prog.Op.MeasureLabel, 0);
  EXPECT_EQ(desk.Cursor, ArrowCur);
}

TEST_F(Picking, ClickShiftClickAndDoubleClick) {
  const int p = FreePoint(100, 100), q = FreePoint(200, 100), r = FreePoint(300, 100);
  Refresh();
  Click(100, 100);
  Click(200, 100, true);
  EXPECT_EQ(Obj(p).Selected, 1);
  EXPECT_EQ(Obj(q).Selected, 1);
  // Shift+click on a selected object deselects it alone.
  Click(100, 100, true);
  EXPECT_EQ(Obj(p).Selected, 0);
  EXPECT_EQ(Obj(q).Selected, 1);
  // A plain click on an unselected object deselects the others.
  Click(300, 100);
  EXPECT_EQ(Obj(q).Selected, 0);
  EXPECT_EQ(Obj(r).Selected, 1);

  std::vector<int> dialogs;
  prog.ObjectPropertiesHook = [&](int n) {
    dialogs.push_back(n);
    return true;
  };
  Move(200, 100);
  EXPECT_FALSE(PlaceDblClick(prog, MouseButton::Left, false, false, 200, 100));
  EXPECT_EQ(CurrentListObject(prog), q);
  EXPECT_TRUE(dialogs.empty());
  // The press after a double click starts no band.
  PlaceMouseDown(prog, MouseButton::Left, false, false, 200, 100);
  PlaceMouseUp(prog, MouseButton::Left, false, false, 200, 100);
  EXPECT_TRUE(PlaceDblClick(prog, MouseButton::Left, false, false, 200, 100));
  EXPECT_EQ(dialogs, std::vector<int>{q});
  Move(500, 500);
  EXPECT_FALSE(PlaceDblClick(prog, MouseButton::Left, false, false, 500, 500));
  EXPECT_EQ(dialogs.size(), 1u);
}

// The form hands a double click on as the double click followed by the second press, for every
// button; only the left one makes the object current or opens its properties.
TEST_F(Picking, OnlyTheLeftButtonDoubleClicks) {
  const int p = FreePoint(200, 100);
  Refresh();
  std::vector<int> dialogs;
  prog.ObjectPropertiesHook = [&](int n) {
    dialogs.push_back(n);
    return true;
  };
  const auto doubleClick = [&](MouseButton button, int x, int y) {
    Move(x, y);
    PlaceMouseDown(prog, button, false, false, x, y);
    PlaceMouseUp(prog, button, false, false, x, y);
    const bool opened = PlaceDblClick(prog, button, false, false, x, y);
    PlaceMouseDown(prog, button, false, false, x, y);
    PlaceMouseUp(prog, button, false, false, x, y);
    return opened;
  };
  const int current = CurrentListObject(prog);
  EXPECT_FALSE(doubleClick(MouseButton::Right, 200, 100));
  EXPECT_FALSE(doubleClick(MouseButton::Middle, 200, 100));
  EXPECT_EQ(CurrentListObject(prog), current);
  EXPECT_FALSE(prog.Op.DblClickMarker);
  EXPECT_FALSE(doubleClick(MouseButton::Left, 200, 100));
  EXPECT_EQ(CurrentListObject(prog), p);
  EXPECT_FALSE(doubleClick(MouseButton::Right, 200, 100)) << "not even on the current object";
  EXPECT_TRUE(dialogs.empty());
  EXPECT_TRUE(doubleClick(MouseButton::Left, 200, 100));
  EXPECT_EQ(dialogs, std::vector<int>{p});

  // Both right presses still reach the running tool: the first ends the polyline.
  dialogs.clear();
  Tool(PolylineTool);
  Click(400, 300);
  Click(500, 300);
  const int count = Count();
  EXPECT_FALSE(doubleClick(MouseButton::Right, 200, 100));
  EXPECT_EQ(prog.Op.ToolMode, 0);
  EXPECT_EQ(Count(), count + 1);
  EXPECT_EQ(Obj(count + 1).Kind, okPolyline);
  EXPECT_EQ(dialogs, std::vector<int>{count + 1}) << "the new polyline's dialog, not the point's";
}

TEST_F(Picking, RubberBandReplacesOrWithShiftExtendsTheSelection) {
  const int p = FreePoint(100, 100), q = FreePoint(300, 300);
  // A vertical line crossing only the band's top and bottom edges.
  const int a = FreePoint(250, 50), b = FreePoint(250, 550);
  const int line = Built(okLine, {a, b});
  // A small circle wholly inside the band, and one far away.
  const int c = FreePoint(600, 150), r = FreePoint(610, 150);
  const int inner = Built(okCircle, {c, r});
  const int d = FreePoint(700, 500), e = FreePoint(720, 500);
  const int outer = Built(okCircle, {d, e});
  Refresh();

  Drag(200, 130, 650, 330, 3); // band from (200,130) to (650,330)
  EXPECT_EQ(Obj(q).Selected, 1);
  EXPECT_EQ(Obj(line).Selected, 1);
  EXPECT_EQ(Obj(inner).Selected, 1);
  EXPECT_EQ(Obj(c).Selected, 1);
  EXPECT_EQ(Obj(p).Selected, 0);
  EXPECT_EQ(Obj(outer).Selected, 0);
  EXPECT_FALSE(prog.Op.RubberBand);

  Drag(50, 50, 150, 150, 2, true); // with Shift: p joins, the rest stays
  EXPECT_EQ(Obj(p).Selected, 1);
  EXPECT_EQ(Obj(q).Selected, 1);

  Drag(380, 580, 390, 590, 2); // over empty space: nothing stays selected
  for (int n = 1; n <= Count(); ++n)
    EXPECT_EQ(Obj(n).Selected, 0) << n;
}

TEST_F(Picking, RubberBandIsAnXorDottedRectangleErasedByDrawingItAgain) {
  Move(100, 100);
  PlaceMouseDown(prog, MouseButton::Left, false, false, 100, 100);
  canvas.Clear();
  Move(150, 140, MouseButton::Left);
  Move(170, 160, MouseButton::Left);
  const auto rects = canvas.Of(CanvasOp::Rectangle);
  ASSERT_EQ(rects.size(), 3u); // drawn, erased, drawn
  EXPECT_EQ(rects[0].Pen.Mode, PenMode::Xor);
  EXPECT_EQ(rects[0].Pen.Style, PenStyle::Dot);
  EXPECT_EQ(rects[0].Pen.Color, ColorWhite);
  EXPECT_EQ(rects[0].Brush.Style, BrushStyle::Clear);
  EXPECT_EQ(rects[1].C, rects[0].C);
  EXPECT_EQ(rects[2].C, 170);
  EXPECT_EQ(canvas.Pen().Mode, PenMode::Copy);
}

TEST_F(Picking, DraggingAMidpointMovesBothOfItsPoints) {
  const int a = FreePoint(200, 300), b = FreePoint(400, 300);
  const int mid = Built(okMidpoint, {a, b});
  const int other = FreePoint(600, 100);
  Refresh();
  ASSERT_EQ(Obj(mid).ScrX1, 300);
  Drag(300, 300, 330, 280, 3);
  EXPECT_DOUBLE_EQ(Obj(a).X1, WorldX(230));
  EXPECT_DOUBLE_EQ(Obj(a).Y1, WorldY(280));
  EXPECT_DOUBLE_EQ(Obj(b).X1, WorldX(430));
  EXPECT_DOUBLE_EQ(Obj(b).Y1, WorldY(280));
  EXPECT_EQ(Obj(mid).ScrX1, 330);
  EXPECT_DOUBLE_EQ(Obj(other).X1, WorldX(600));
  EXPECT_TRUE(prog.Modified);
  EXPECT_EQ(prog.Op.DragObject, 0);
}

TEST_F(Picking, DraggingALineMovesEachSharedParentOnce) {
  // A triangle's sides share their corners: dragging all of them moves each corner once.
  const int a = FreePoint(200, 400), b = FreePoint(400, 400), c = FreePoint(300, 200);
  Built(okLine, {a, b});
  Built(okLine, {b, c});
  Built(okLine, {c, a});
  Refresh();
  for (int n = 1; n <= Count(); ++n)
    Obj(n).Selected = 1;
  Move(300, 400);
  PlaceMouseDown(prog, MouseButton::Left, false, false, 300, 400); // a selected object keeps the others
  Move(310, 390, MouseButton::Left);
  PlaceMouseUp(prog, MouseButton::Left, false, false, 310, 390);
  EXPECT_DOUBLE_EQ(Obj(a).X1, WorldX(210));
  EXPECT_DOUBLE_EQ(Obj(b).X1, WorldX(410));
  EXPECT_DOUBLE_EQ(Obj(c).X1, WorldX(310));
  EXPECT_DOUBLE_EQ(Obj(c).Y1, WorldY(190));
}

TEST_F(Picking, DraggingByAnObjectTakenOutOfTheSelectionMovesTheRestWithTheMouse) {
  const int p = FreePoint(100, 100), q = FreePoint(300, 100);
  Refresh();
  Click(300, 100);
  // Shift+press on q takes it out of the selection again; the drag then moves p alone.
  Click(100, 100, true);
  Move(300, 100);
  PlaceMouseDown(prog, MouseButton::Left, true, false, 300, 100);
  ASSERT_EQ(Obj(q).Selected, 0);
  for (int k = 1; k <= 4; ++k)
    Move(300 + 10 * k, 100, MouseButton::Left, true);
  PlaceMouseUp(prog, MouseButton::Left, true, false, 340, 100);
  EXPECT_DOUBLE_EQ(Obj(p).X1, WorldX(140)); // 40 pixels, as far as the mouse went
  EXPECT_DOUBLE_EQ(Obj(q).X1, WorldX(300));
}

TEST_F(Picking, DraggingLeavesTheIntervalOfASelectedGraphAlone) {
  const int graph = prog.AppendObject(okFunction);
  const int p = FreePoint(200, 200);
  Refresh();
  const double from = Obj(graph).X1, to = Obj(graph).Y1;
  Obj(graph).Selected = 1;
  Obj(p).Selected = 1;
  Drag(200, 200, 260, 150, 2);
  EXPECT_DOUBLE_EQ(Obj(p).X1, WorldX(260));
  EXPECT_DOUBLE_EQ(Obj(graph).X1, from);
  EXPECT_DOUBLE_EQ(Obj(graph).Y1, to);
}

TEST_F(Picking, DraggingAPointOnACircleSlidesItAlongTheCircle) {
  const int c = FreePoint(400, 300), r = FreePoint(500, 300);
  const int circle = Built(okCircle, {c, r});
  Tool(PointTool);
  desk.ExpectMessage("Прикріпити точку до об'єкта " + Caption(circle) + " ?", mbYes | mbNo, mbYes);
  Click(400, 200);
  const int on = Count();
  ASSERT_EQ(Obj(on).Kind, okPointOn);
  Drag(400, 200, 480, 150, 4);
  const double radius = std::hypot(Obj(on).X1 - Obj(c).X1, Obj(on).Y1 - Obj(c).Y1);
  EXPECT_NEAR(radius, 100, 1e-9);
  // It went round to the ray from the centre through the mouse, world (80, 150).
  EXPECT_NEAR(Obj(on).X1, 100 * 80 / 170.0, 1e-9);
  EXPECT_NEAR(Obj(on).Y1, 100 * 150 / 170.0, 1e-9);
  EXPECT_DOUBLE_EQ(Obj(c).X1, 0); // the circle stayed
  EXPECT_DOUBLE_EQ(Obj(r).X1, 100);
}

TEST_F(Picking, DraggingTheFirstPointOfAChainDoesNotMoveWhatIsBuiltOnIt) {
  // Dragging shifts an object with its parents, never its children: they follow by recalculation.
  const int a = FreePoint(100, 300), b = FreePoint(300, 300);
  const int mid = Built(okMidpoint, {a, b});
  const int far = Built(okMidpoint, {mid, b});
  Refresh();
  Drag(100, 300, 100, 200);
  EXPECT_DOUBLE_EQ(Obj(a).Y1, WorldY(200));
  EXPECT_DOUBLE_EQ(Obj(b).Y1, WorldY(300));
  EXPECT_NEAR(Obj(far).Y1, (WorldY(200) / 2 + WorldY(300) / 2 + WorldY(300)) / 2, 1e-9);
}

TEST_F(Picking, PanningWithCtrlMovesThePictureWithTheCursor) {
  Move(100, 300);
  PlaceMouseDown(prog, MouseButton::Left, false, true, 100, 300);
  std::vector<int> shifts;
  for (int k = 1; k <= 6; ++k) {
    const int before = prog.Doc.View.OrgX;
    Move(100 + 10 * k, 300, MouseButton::Left, false, true);
    shifts.push_back(prog.Doc.View.OrgX - before);
  }
  PlaceMouseUp(prog, MouseButton::Left, false, true, 160, 300);
  EXPECT_EQ(shifts, (std::vector<int>{10, 10, 10, 10, 10, 10}));
  EXPECT_EQ(prog.Doc.View.OrgY, 0);
  EXPECT_FALSE(prog.Op.RubberBand); // Ctrl started no band
  // Up the screen moves the picture up.
  Move(100, 300);
  PlaceMouseDown(prog, MouseButton::Left, false, true, 100, 300);
  Move(100, 290, MouseButton::Left, false, true);
  EXPECT_EQ(prog.Doc.View.OrgY, 10);
}

TEST_F(Picking, PanningKeepsTheGrabbedPointUnderTheCursorUpToTheViewsBounds) {
  prog.Doc.View.Zoom = 2.5;
  prog.Doc.View.OrgX = 37;
  Refresh();
  const Point2 grabbed = ScreenToWorld(prog.Doc.View, prog.Area, 200, 200);
  Move(200, 200);
  PlaceMouseDown(prog, MouseButton::Left, false, true, 200, 200);
  const int path[][2] = {{203, 198}, {250, 260}, {251, 260}, {251, 260}, {120, 410}, {-30, 5}};
  for (const auto& at : path) {
    Move(at[0], at[1], MouseButton::Left, false, true);
    const Point2 under = ScreenToWorld(prog.Doc.View, prog.Area, at[0], at[1]);
    EXPECT_NEAR(under.x, grabbed.x, 1e-9) << at[0] << "," << at[1];
    EXPECT_NEAR(under.y, grabbed.y, 1e-9) << at[0] << "," << at[1];
    EXPECT_DOUBLE_EQ(prog.MouseWorldX, under.x) << "the status line shows the point under the cursor";
    EXPECT_DOUBLE_EQ(prog.MouseWorldY, under.y);
  }
  PlaceMouseUp(prog, MouseButton::Left, false, true, -30, 5);
  // The origin stops at its bound; the picture then stays behind the cursor.
  prog.Doc.View.OrgX = MaxViewOffset - 5;
  Move(300, 300);
  PlaceMouseDown(prog, MouseButton::Left, false, true, 300, 300);
  Move(320, 300, MouseButton::Left, false, true);
  EXPECT_EQ(prog.Doc.View.OrgX, MaxViewOffset);
  Move(310, 300, MouseButton::Left, false, true);
  EXPECT_EQ(prog.Doc.View.OrgX, MaxViewOffset - 10);
}

TEST_F(Picking, NoSelectionOrDragWhileAToolRuns) {
  const int p = FreePoint(100, 100);
  Refresh();
  Tool(LineTool);
  Drag(100, 100, 200, 200);
  EXPECT_EQ(Obj(p).Selected, 0);
  EXPECT_DOUBLE_EQ(Obj(p).X1, WorldX(100));
  EXPECT_EQ(prog.Op.PickCount, 1);
}

} // namespace
} // namespace drex::test
