// The drawing area as a classroom uses it: the wheel and the pinch zoom about the cursor, Shift and
// sideways scrolling pan, a construction tool shows what it is about to make, and a large
// construction is drawn aliased while it moves and smooth once the mouse rests.

#include <cmath>

#include "interaction/session.h"
#include "support/construction_generator.h"
#include "view/view_transform.h"

namespace drex::test {
namespace {

class WheelTest : public Session {
protected:
  /// Screen position of a world point in the current view.
  Point2 ScreenOf(Point2 world) const { return WorldToScreen(prog.Doc.View, prog.Area, world); }
};

TEST_F(WheelTest, NotchesZoomAboutTheCursorInTheZoomCommandsSteps) {
  const int x = 650, y = 120;
  for (int notch : {1, 1, 1, -1, -1, -1, -1, 1}) {
    const Point2 under = ScreenToWorld(prog.Doc.View, prog.Area, x, y);
    const double zoom = prog.Doc.View.Zoom;
    PlaceWheel(prog, WheelTurn{0, notch * WheelNotch, 0, 0}, false, x, y);
    EXPECT_DOUBLE_EQ(prog.Doc.View.Zoom, zoom * (notch > 0 ? ZoomInFactor : ZoomOutFactor));
    // The point stays under the cursor to the whole pixels the view's offsets hold.
    const Point2 now = ScreenOf(under);
    EXPECT_LE(std::fabs(now.x - x), 0.5 + 1e-9);
    EXPECT_LE(std::fabs(now.y - y), 0.5 + 1e-9);
  }
  // The status line and the picture follow the new view at once.
  EXPECT_EQ(prog.Area.VisibleCorners[0].x, ScreenToWorld(prog.Doc.View, prog.Area, 0, 0).x);
}

TEST_F(WheelTest, SmallTurnsAddUpToANotchAndTheLimitStopsTheZoom) {
  PlaceWheel(prog, WheelTurn{0, 40, 0, 0}, false, 400, 300);
  PlaceWheel(prog, WheelTurn{0, 40, 0, 0}, false, 400, 300);
  EXPECT_DOUBLE_EQ(prog.Doc.View.Zoom, 1.0);
  PlaceWheel(prog, WheelTurn{0, 40, 0, 0}, false, 400, 300);
  EXPECT_DOUBLE_EQ(prog.Doc.View.Zoom, ZoomInFactor);
  // Half a notch back and then a whole one back: the half turn forward left over is forgotten.
  PlaceWheel(prog, WheelTurn{0, 60, 0, 0}, false, 400, 300);
  PlaceWheel(prog, WheelTurn{0, -WheelNotch, 0, 0}, false, 400, 300);
  EXPECT_DOUBLE_EQ(prog.Doc.View.Zoom, ZoomInFactor * ZoomOutFactor);

  prog.Doc.View.Zoom = ZoomInLimit;
  const TViewState before = prog.Doc.View;
  PlaceWheel(prog, WheelTurn{0, 3 * WheelNotch, 0, 0}, false, 700, 500);
  EXPECT_EQ(prog.Doc.View.Zoom, before.Zoom);
  EXPECT_EQ(prog.Doc.View.OrgX, before.OrgX) << "at the limit the picture does not shift either";
}

TEST_F(WheelTest, ShiftAndSidewaysScrollPan) {
  PlaceWheel(prog, WheelTurn{0, WheelNotch, 0, 0}, true, 400, 300);
  EXPECT_EQ(prog.Doc.View.OrgX, 40);
  EXPECT_EQ(prog.Doc.View.OrgY, 0);
  EXPECT_DOUBLE_EQ(prog.Doc.View.Zoom, 1.0);
  // A touchpad says how many pixels it scrolled: the picture moves by exactly that.
  PlaceWheel(prog, WheelTurn{-30, 12, -25, 10}, false, 400, 300);
  EXPECT_EQ(prog.Doc.View.OrgX, 15);
  EXPECT_EQ(prog.Doc.View.OrgY, -10);
  EXPECT_DOUBLE_EQ(prog.Doc.View.Zoom, 1.0);
}

TEST_F(WheelTest, APinchZoomsOnceItHasGrownByAStep) {
  PlacePinch(prog, 1.05, 200, 200);
  EXPECT_DOUBLE_EQ(prog.Doc.View.Zoom, 1.0);
  const Point2 under = ScreenToWorld(prog.Doc.View, prog.Area, 200, 200);
  PlacePinch(prog, 1.05, 200, 200);
  EXPECT_DOUBLE_EQ(prog.Doc.View.Zoom, ZoomInFactor);
  EXPECT_LE(std::fabs(ScreenOf(under).x - 200), 0.5 + 1e-9);
  PlacePinch(prog, 0.5, 200, 200);
  EXPECT_NEAR(prog.Doc.View.Zoom, ZoomInFactor * std::pow(ZoomOutFactor, 6), 1e-12);
  PlacePinch(prog, std::nan(""), 200, 200);
  PlacePinch(prog, -2, 200, 200);
  EXPECT_NEAR(prog.Doc.View.Zoom, ZoomInFactor * std::pow(ZoomOutFactor, 6), 1e-12);
}

class PreviewTest : public Session {
protected:
  /// The drawing calls in the preview's light colour.
  std::vector<CanvasCall> PreviewCalls() const {
    std::vector<CanvasCall> found;
    for (const CanvasCall& c : canvas.Calls)
      if ((c.Op == CanvasOp::LineTo || c.Op == CanvasOp::Ellipse) && c.Pen.Color == 0xA0A0A0) found.push_back(c);
    return found;
  }
};

TEST_F(PreviewTest, TheLineFollowsTheCursorAndGoesOnEscape) {
  Tool(LineTool);
  Click(200, 300);
  ASSERT_EQ(Count(), 1);
  canvas.Clear();
  Move(500, 300);
  // The horizontal line through the first point and the cursor, across the whole area.
  const std::vector<CanvasCall> line = PreviewCalls();
  ASSERT_EQ(line.size(), 1u) << canvas.Log();
  EXPECT_EQ(line[0].B, 300);
  EXPECT_EQ(line[0].D, 300);
  EXPECT_EQ(std::abs(line[0].C - line[0].A), AreaWidth);
  EXPECT_EQ(line[0].Pen.Style, PenStyle::Dash);
  EXPECT_EQ(Count(), 1) << "the preview adds nothing to the table";

  // Esc ends the tool; its redraw and every later one are without the preview.
  canvas.Clear();
  AbortOperation(prog);
  EXPECT_FALSE(canvas.Calls.empty());
  Move(450, 250);
  EXPECT_TRUE(PreviewCalls().empty());
  EXPECT_EQ(Count(), 1);
}

TEST_F(PreviewTest, CircleAndPolylineAndMidpointFollowTheCursor) {
  Tool(CircleTool);
  Click(400, 300);
  canvas.Clear();
  Move(430, 260); // 50 pixels from the centre
  std::vector<CanvasCall> shapes = PreviewCalls();
  ASSERT_EQ(shapes.size(), 1u);
  EXPECT_EQ(shapes[0].Op, CanvasOp::Ellipse);
  EXPECT_EQ(shapes[0].A, 350);
  EXPECT_EQ(shapes[0].D, 350);
  AbortOperation(prog);

  Tool(PolylineTool);
  Click(100, 100);
  Click(200, 100);
  canvas.Clear();
  Move(250, 180);
  shapes = PreviewCalls();
  ASSERT_EQ(shapes.size(), 1u);
  EXPECT_EQ(shapes[0].A, 200);
  EXPECT_EQ(shapes[0].C, 250);
  // Leaving the drawing area takes the preview away.
  canvas.Clear();
  PlaceMouseLeave(prog);
  EXPECT_TRUE(PreviewCalls().empty());
  EXPECT_FALSE(canvas.Calls.empty()) << "the picture was drawn again without it";
  AbortOperation(prog);

  Tool(MidpointTool);
  const int a = Count() + 1;
  Click(100, 500);
  ASSERT_EQ(Count(), a);
  canvas.Clear();
  Move(300, 500); // the midpoint mark is centred on (200, 500)
  shapes = PreviewCalls();
  ASSERT_EQ(shapes.size(), 1u);
  EXPECT_EQ(shapes[0].A + shapes[0].C, 2 * 200 + 1);
  EXPECT_EQ(shapes[0].B + shapes[0].D, 2 * 500 + 1);
}

TEST_F(PreviewTest, ThePreviewSnapsToThePointUnderTheCursor) {
  const int p = FreePoint(600, 150);
  Refresh();
  Tool(LineTool);
  Click(200, 300);
  canvas.Clear();
  Move(603, 153); // within the tolerance of p
  const std::vector<CanvasCall> line = PreviewCalls();
  ASSERT_EQ(line.size(), 1u);
  // The line runs through p's pixel: its slope is that of (200, 300)–(600, 150).
  const double slope = static_cast<double>(line[0].D - line[0].B) / (line[0].C - line[0].A);
  EXPECT_NEAR(slope, -150.0 / 400, 0.005);
  EXPECT_EQ(Obj(p).ScrX1, 600);
}

class QuickDrawingTest : public Session {};

TEST_F(QuickDrawingTest, ALargeConstructionMovesAliasedAndSettlesSmooth) {
  GenerateMixedConstruction(prog.Doc, SmoothWhileMovingLimit + 500, 3);
  prog.Doc.View.Zoom = 0.5;
  Refresh();
  const TGeomObject& first = Obj(1);
  const PixelPoint at{first.ScrX1, first.ScrY1};
  Move(at.X, at.Y);
  PlaceMouseDown(prog, MouseButton::Left, false, false, at.X, at.Y);
  canvas.Clear();
  Move(at.X + 20, at.Y + 10, MouseButton::Left);
  ASSERT_FALSE(canvas.Calls.empty());
  EXPECT_FALSE(canvas.Calls.front().Smooth);
  EXPECT_TRUE(desk.TimerRunning(TimerId::Settle));
  PlaceMouseUp(prog, MouseButton::Left, false, false, at.X + 20, at.Y + 10);

  canvas.Clear();
  SettleTick(prog);
  EXPECT_FALSE(desk.TimerRunning(TimerId::Settle));
  ASSERT_FALSE(canvas.Calls.empty());
  EXPECT_TRUE(canvas.Calls.front().Smooth);

  // Without smoothing there is nothing to settle.
  prog.Config.SmoothDrawing = false;
  PlaceWheel(prog, WheelTurn{0, WheelNotch, 0, 0}, false, 300, 300);
  EXPECT_FALSE(desk.TimerRunning(TimerId::Settle));
}

TEST_F(QuickDrawingTest, TheLargestConstructionsStayAliasedEvenAtRest) {
  GenerateMixedConstruction(prog.Doc, SmoothDrawingLimit + 1, 5);
  Refresh();
  canvas.Clear();
  PlaceWheel(prog, WheelTurn{0, WheelNotch, 0, 0}, false, 300, 300);
  ASSERT_FALSE(canvas.Calls.empty());
  EXPECT_FALSE(canvas.Calls.front().Smooth);
  EXPECT_FALSE(desk.TimerRunning(TimerId::Settle));
  canvas.Clear();
  Redraw(prog, true);
  EXPECT_FALSE(canvas.Calls.front().Smooth);
}

TEST_F(QuickDrawingTest, ASmallConstructionStaysSmoothWhileItMoves) {
  const int p = FreePoint(300, 300);
  Refresh();
  canvas.Clear();
  Drag(300, 300, 340, 320, 3);
  EXPECT_EQ(Obj(p).X1, WorldX(340));
  for (const CanvasCall& c : canvas.Calls)
    ASSERT_TRUE(c.Smooth) << DescribeCall(c);
  EXPECT_FALSE(desk.TimerRunning(TimerId::Settle));
}

} // namespace
} // namespace drex::test
