#include "interaction/place_mouse.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <utility>
#include <vector>

#include "calc/measurement.h"
#include "dialogs/object_list.h"
#include "documents/macro_commands.h"
#include "expr/format_answer.h"
#include "interaction/hit_test.h"
#include "interaction/pick_tables.h"
#include "interaction/tool_modes.h"
#include "interaction/transform_mouse.h"
#include "kernel/recalc.h"
#include "shell/program.h"
#include "shell/undo_command.h"
#include "view/canvas.h"
#include "view/locus_trace.h"
#include "view/redraw.h"

namespace drex {
namespace {

constexpr double Pi = 3.14159265358979323846;

bool IsObject(const Program& prog, int n) { return n >= 1 && n <= prog.Doc.ObjCount; }

HitContext ContextOf(const Program& prog) {
  return HitContext{prog.Doc.View, prog.Area, prog.UnitLength > 0 ? prog.UnitLength : 1, prog.ShowHidden,
                    ScalePixels(prog.Config.DisplayScale, HitTolerance)};
}

/// Shifts object `start` by (dx, dy) together with everything it is built from, depth first in
/// reference order, each object once; a point on an object is re-attached after its host moved.
/// Works with its own stack, so a chain as deep as the table is no risk.
void ShiftWithParents(Construction& c, std::vector<uint8_t>& moved, int start, double dx, double dy) {
  struct Frame {
    int Object;
    int NextRef;
  };
  std::vector<Frame> stack;
  const auto visit = [&](int n) {
    moved[static_cast<std::size_t>(n)] = 1;
    // A function graph keeps its argument interval in X1 and Y1, not a position.
    if (c[n].Kind != okFunction) {
      c[n].X1 += dx;
      c[n].Y1 += dy;
    }
    stack.push_back({n, 1});
  };
  visit(start);
  while (!stack.empty()) {
    Frame& f = stack.back();
    const TGeomObject& o = c[f.Object];
    const int refs = std::clamp<int>(o.RefCount, 0, RefSlots - 1);
    bool descended = false;
    while (f.NextRef <= refs) {
      const int r = o.Ref(f.NextRef++);
      if (r >= 1 && r <= c.ObjCount && !moved[static_cast<std::size_t>(r)]) {
        visit(r); // may reallocate the stack: `f` is not used after this
        descended = true;
        break;
      }
    }
    if (descended) continue;
    const int done = stack.back().Object;
    stack.pop_back();
    if (c[done].Kind == okPointOn) AttachPoint(c, done);
  }
}

void DragStep(Program& prog, double wx, double wy) {
  OperationState& op = prog.Op;
  Construction& c = prog.Doc;
  const TGeomObject& dragged = c[op.DragObject];
  const double dx = (wx - dragged.X1) - op.DragOffsetX;
  const double dy = (wy - dragged.Y1) - op.DragOffsetY;
  std::fill(op.MovedFlags.begin(), op.MovedFlags.end(), uint8_t{0});
  if (dragged.Kind == okPointOn) {
    // A point on an object slides along its host.
    c[op.DragObject].X1 += dx;
    c[op.DragObject].Y1 += dy;
    AttachPoint(c, op.DragObject);
    op.MovedFlags[static_cast<std::size_t>(op.DragObject)] = 1;
  } else {
    for (int n = 1; n <= c.ObjCount; ++n)
      if (c[n].Selected == 1 && !op.MovedFlags[static_cast<std::size_t>(n)])
        ShiftWithParents(c, op.MovedFlags, n, dx, dy);
    // The step is measured from the pressed object. When it stays behind (Shift+click took it out
    // of the selection), the offset follows the mouse instead, so that every step moves the
    // selection by the mouse's own movement and not by everything since the press.
    if (!op.MovedFlags[static_cast<std::size_t>(op.DragObject)]) {
      op.DragOffsetX += dx;
      op.DragOffsetY += dy;
    }
  }
  prog.Modified = true;
  prog.Drawing.QuickRedraw = true;
  // Only what the step moved and what is built on it changes: the redraw may keep the rest.
  prog.Drawing.DragFrame = true;
  Redraw(prog, true);
}

/// Moves the picture by the cursor's movement since the previous move, so that the world point
/// under the cursor stays under it (while the view's bounds let the origin follow).
void Pan(Program& prog, int x, int y) {
  OperationState& op = prog.Op;
  if (x == op.PrevScreenX && y == op.PrevScreenY) return;
  const auto step = [](int to, int from) {
    return static_cast<int>(std::clamp<long long>(static_cast<long long>(to) - from, INT_MIN, INT_MAX));
  };
  PanView(prog.Doc.View, step(x, op.PrevScreenX), step(y, op.PrevScreenY));
  prog.Drawing.QuickRedraw = true;
  Redraw(prog, true);
}

/// The band outline from the start corner to pixel (x, y): white dotted XOR pen, no fill; drawn a
/// second time it disappears.
void DrawBand(Program& prog, int x, int y) {
  Canvas* canvas = prog.Surface;
  if (canvas == nullptr) return;
  const PixelPoint s = PixelOf(prog, {prog.Op.RubberStartX, prog.Op.RubberStartY});
  const int sx = s.X, sy = s.Y;
  const CanvasPen pen = canvas->Pen();
  const CanvasBrush brush = canvas->Brush();
  canvas->SetPen(CanvasPen{ColorWhite, PenStyle::Dot, ScalePixels(prog.Config.DisplayScale, 1), PenMode::Xor});
  canvas->SetBrushStyle(BrushStyle::Clear);
  canvas->Rectangle(std::min(sx, x), std::min(sy, y), std::max(sx, x), std::max(sy, y));
  canvas->SetBrush(brush);
  canvas->SetPen(CanvasPen{pen.Color, pen.Style, pen.Width, PenMode::Copy});
}

void EraseBand(Program& prog) {
  OperationState& op = prog.Op;
  if (!op.RubberDrawn) return;
  DrawBand(prog, op.RubberEndX, op.RubberEndY);
  op.RubberDrawn = false;
}

/// The last shown measurement whose label rectangle holds pixel (x, y), borders included; 0 for none.
int MeasureLabelAt(const Program& prog, int x, int y) {
  const int count = std::clamp<int>(prog.Doc.MeasureCount, 0, MaxMeasurements);
  int found = 0;
  for (int i = 0; i < count; ++i) {
    const LabelRect& r = prog.Drawing.LabelRects[static_cast<std::size_t>(i)];
    if (x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom) found = i + 1;
  }
  return found;
}

void UpdateHotObject(Program& prog, int x, int y) {
  OperationState& op = prog.Op;
  if (op.InHitTest) return;
  op.InHitTest = true;
  op.HotObject = HitTest(prog, x, y);
  op.MeasureLabel = MeasureLabelAt(prog, x, y);
  op.StatusLine = CoordinateText(prog, prog.MouseWorldX, prog.MouseWorldY) + TransformStatusText(prog);
  const int cursor = CursorForState(prog);
  if (cursor != op.Cursor) {
    op.Cursor = cursor;
    prog.Desktop.SetCursor(cursor);
  }
  if (op.HotObject > 0) op.StatusLine = ObjectCaption(prog.Doc, op.HotObject, prog.Kinds) + op.StatusLine;
  op.InHitTest = false;
}

/// True when the running construction tool shows what its next pick would make.
bool PreviewWanted(const Program& prog) {
  const OperationState& op = prog.Op;
  return op.PickCount >= 1 && op.StepPos == 0 && ToolHasPreview(op.ToolMode);
}

/// Redraws after the view changed under the cursor at pixel (x, y), and shows what is under it.
void AfterViewChange(Program& prog, int x, int y) {
  prog.Drawing.QuickRedraw = true;
  Redraw(prog, true);
  const Point2 w = ScreenToWorld(prog.Doc.View, prog.Area, x, y);
  prog.MouseWorldX = w.x;
  prog.MouseWorldY = w.y;
  UpdateHotObject(prog, x, y);
}

void SelectByBand(Program& prog, bool shift, int x, int y) {
  OperationState& op = prog.Op;
  EraseBand(prog);
  op.RubberBand = false;
  const PixelPoint s = PixelOf(prog, {op.RubberStartX, op.RubberStartY});
  const BandRect band{{static_cast<double>(s.X), static_cast<double>(s.Y)},
                      {static_cast<double>(x), static_cast<double>(y)}};
  const HitContext ctx = ContextOf(prog);
  for (int n = 1; n <= prog.Doc.ObjCount; ++n) {
    TGeomObject& o = prog.Doc[n];
    if (!o.Visible || !o.Defined) continue;
    const bool caught = o.Kind == okFunction
                            ? GraphTouchesRect(prog, n, RoundHalfEven(band.Start.x), RoundHalfEven(band.Start.y), x, y)
                            : BandCatches(prog.Doc, ctx, band, n);
    if (caught)
      o.Selected = 1;
    else if (!shift)
      o.Selected = 0;
  }
  Redraw(prog, true);
}

} // namespace

int HitTest(const Program& prog, int x, int y) { return HitTest(prog.Doc, ContextOf(prog), x, y); }

std::string CoordinateText(const Program& prog, double x, double y) {
  const double unit = prog.UnitLength > 0 ? prog.UnitLength : 1;
  const int digits = prog.Config.AnswerDigits;
  if (prog.Config.CoordSystem == 0)
    return "  (" + FormatAnswer(x / unit, digits) + ", " + FormatAnswer(y / unit, digits) + ")";
  double angle = std::atan2(y, x) * 180 / Pi;
  if (angle < 0) angle += 360;
  return "  (" + FormatAnswer(std::hypot(x, y) / unit, digits) + ", " + FormatAnswer(angle, digits) + "°)";
}

int CursorForState(const Program& prog) {
  const OperationState& op = prog.Op;
  const int mode = op.ToolMode;
  const bool tool = IsToolMode(mode);
  if (!IsObject(prog, op.HotObject)) {
    if (EndsWithRightButton(mode) || mode == okPoint + 1 || (tool && StepAcceptsPoints(mode, op.PickCount)))
      return PutCur;
    if (op.MeasureMode < 0 && op.MeasureLabel > 0) return DelCur;
    return ArrowCur;
  }
  const int kind = prog.Doc[op.HotObject].Kind;
  const bool point = IsPointKind(kind);
  if (EndsWithRightButton(mode) || (tool && InKindSet(StepKindSet(mode, op.PickCount), kind))) return GetCur;
  if ((op.MeasureMode > 0 || op.LocusPickPending) && point) return GetCur;
  if (op.MacroState > 0 || (op.TransformMode > 0 && op.PickCount == 0 && kind < okPolynomial)) return GetCur;
  if (op.TransformMode == 2 && op.PickCount == 1 && point) return GetCur;
  if (op.MacroApplyStep > 0 && op.MacroAwaitedKind >= 0 && KindsCompatible(kind, op.MacroAwaitedKind)) return GetCur;
  if (point) return DragCur;
  if (!OperationRunning(prog)) return HandCur;
  return PutCur;
}

namespace {

void MouseDown(Program& prog, MouseButton button, bool shift, bool ctrl, int x, int y) {
  OperationState& op = prog.Op;
  const Point2 w = ScreenToWorld(prog.Doc.View, prog.Area, x, y);
  prog.MouseWorldX = w.x;
  prog.MouseWorldY = w.y;
  const bool left = button == MouseButton::Left;
  const bool right = button == MouseButton::Right && EndsWithRightButton(op.ToolMode);
  if (!left && !right) return;
  if (!IsObject(prog, op.HotObject)) op.HotObject = 0;
  // Recomputed here too, so that a tool started from the keyboard is honoured by a click that
  // comes before any move.
  op.OperationActive = OperationRunning(prog);

  if (!op.OperationActive) {
    if (left && op.HotObject == 0 && !ctrl && !op.DblClickMarker) {
      op.RubberBand = true;
      op.RubberDrawn = false;
    }
    op.DragObject = static_cast<int16_t>(op.HotObject);
    if (op.HotObject > 0) {
      TGeomObject& hot = prog.Doc[op.HotObject];
      if (!shift && !hot.Selected)
        for (int n = 1; n <= prog.Doc.ObjCount; ++n)
          prog.Doc[n].Selected = 0;
      hot.Selected = shift ? static_cast<uint8_t>(hot.Selected ? 0 : 1) : uint8_t{1};
      op.DragOffsetX = w.x - hot.X1;
      op.DragOffsetY = w.y - hot.Y1;
      Redraw(prog, true);
    } else {
      op.RubberStartX = w.x;
      op.RubberStartY = w.y;
    }
  }
  op.DblClickMarker = false;

  // The step-by-step display, the locus pick, macro recording and applying, transformations and
  // measurements take their clicks in that order before and after the construction tools; their
  // handlers join here as they are built.
  if (op.StepPos > 0) {
    if (left) StepClick(prog);
    return;
  }
  if (op.LocusPickPending && left) {
    LocusPick(prog, op.HotObject);
    return;
  }
  if (op.ToolMode > 0) ConstructionClick(prog, right);
  if (left && (op.MacroState > 0 || op.MacroApplyStep > 0)) MacroClick(prog);
  if (op.TransformMode > 0 && left) TransformClick(prog);
  if (op.MeasureMode != 0 && left) {
    // The value under the press, also when the mouse did not move onto it first.
    op.MeasureLabel = MeasureLabelAt(prog, x, y);
    MeasurementClick(prog);
  }
}

} // namespace

void PlaceMouseDown(Program& prog, MouseButton button, bool shift, bool ctrl, int x, int y) {
  MouseDown(prog, button, shift, ctrl, x, y);
  // A construction is one step from its first click to the one that completes it (with the points
  // made on the way and a polyline's dialog). A press on an object may start a drag: the release
  // ends that step, with the selection the press made.
  if (!OperationRunning(prog) && prog.Op.DragObject == 0) RecordStep(prog, StepAction::Make);
}

void PlaceMouseMove(Program& prog, MouseButton held, bool shift, bool ctrl, int x, int y) {
  (void)shift;
  OperationState& op = prog.Op;
  op.OperationActive = OperationRunning(prog);
  if (op.StepPos > 0 || op.InMouseMove) return;
  op.InMouseMove = true;
  Point2 w = ScreenToWorld(prog.Doc.View, prog.Area, x, y);
  prog.MouseWorldX = w.x;
  prog.MouseWorldY = w.y;
  const bool left = held == MouseButton::Left;
  if (left && ctrl) {
    Pan(prog, x, y);
    // The status line shows the point under the cursor in the moved picture.
    w = ScreenToWorld(prog.Doc.View, prog.Area, x, y);
    prog.MouseWorldX = w.x;
    prog.MouseWorldY = w.y;
  } else if (left && op.DragObject > 0) {
    if (IsObject(prog, op.DragObject))
      DragStep(prog, w.x, w.y);
    else
      op.DragObject = 0;
  } else {
    DrawTransformGuide(prog);
  }
  UpdateHotObject(prog, x, y);
  const bool preview = PreviewWanted(prog);
  if (preview || op.PreviewShown) {
    op.PreviewShown = preview;
    prog.Drawing.QuickRedraw = true;
    Redraw(prog, true);
  }
  if (op.RubberBand) {
    EraseBand(prog);
    DrawBand(prog, x, y);
    op.RubberDrawn = prog.Surface != nullptr;
    op.RubberEndX = x;
    op.RubberEndY = y;
  }
  op.PrevScreenX = x;
  op.PrevScreenY = y;
  op.InMouseMove = false;
}

void PlaceMouseUp(Program& prog, MouseButton button, bool shift, bool ctrl, int x, int y) {
  (void)ctrl;
  OperationState& op = prog.Op;
  const int dragged = op.DragObject;
  op.DragObject = 0;
  if (op.RubberBand && button == MouseButton::Left) SelectByBand(prog, shift, x, y);
  // The whole drag, from the press on, is one step; it moved positions only. A release during a
  // construction belongs to the construction's step.
  if (!OperationRunning(prog)) RecordStep(prog, StepAction::Move, dragged, StepFields::Geometry);
}

bool PlaceDblClick(Program& prog, MouseButton button, bool shift, bool ctrl, int x, int y) {
  (void)shift, (void)ctrl, (void)x, (void)y;
  OperationState& op = prog.Op;
  // Only the left button double-clicks; the second press of another button is a press alone.
  if (button != MouseButton::Left || !IsObject(prog, op.HotObject)) return false;
  op.DblClickMarker = true;
  CloseOpenStep(prog);
  const int previous = prog.List.Current;
  ObjListClick(prog, op.HotObject - 1);
  if (previous != prog.List.Current) return false;
  if (prog.ObjectPropertiesHook) prog.ObjectPropertiesHook(op.HotObject);
  RecordStep(prog, StepAction::Change, op.HotObject);
  return true;
}

void PlaceMouseLeave(Program& prog) {
  if (!prog.Op.PreviewShown) return;
  prog.Op.PreviewShown = false;
  Redraw(prog, true);
}

void PlaceWheel(Program& prog, const WheelTurn& turn, bool shift, int x, int y) {
  OperationState& op = prog.Op;
  if (op.StepPos > 0 || op.InMouseMove) return;
  // A notch is 120; a pan of a notch moves the picture 40 pixels unless the device says how far.
  const auto panStep = [](int pixels, int angle) { return pixels != 0 ? pixels : angle / 3; };
  if (turn.AngleX != 0 || shift) {
    int dx = panStep(turn.PixelX, turn.AngleX), dy = panStep(turn.PixelY, turn.AngleY);
    // Shift turns the wheel's vertical turn into a sideways pan.
    if (shift && turn.AngleX == 0) std::swap(dx, dy);
    if (dx == 0 && dy == 0) return;
    op.WheelRest = 0;
    PanView(prog.Doc.View, dx, dy);
    AfterViewChange(prog, x, y);
    return;
  }
  // What was left of a turn the other way does not hold back this one.
  if ((op.WheelRest > 0 && turn.AngleY < 0) || (op.WheelRest < 0 && turn.AngleY > 0)) op.WheelRest = 0;
  op.WheelRest += turn.AngleY;
  int steps = op.WheelRest / WheelNotch;
  if (steps == 0) return;
  op.WheelRest -= steps * WheelNotch;
  bool changed = false;
  for (; steps != 0; steps += steps > 0 ? -1 : 1)
    changed = ZoomAbout(prog.Doc.View, prog.Area, x, y, steps > 0) || changed;
  if (changed) AfterViewChange(prog, x, y);
}

void PlacePinch(Program& prog, double factor, int x, int y) {
  OperationState& op = prog.Op;
  if (op.StepPos > 0 || op.InMouseMove || !(factor > 0) || !std::isfinite(factor)) return;
  op.PinchRest *= factor;
  bool changed = false;
  // A zoom step is taken once the fingers have spread or closed by that step's factor.
  while (op.PinchRest >= ZoomInFactor || op.PinchRest <= ZoomOutFactor) {
    const bool in = op.PinchRest >= ZoomInFactor;
    op.PinchRest /= in ? ZoomInFactor : ZoomOutFactor;
    if (!ZoomAbout(prog.Doc.View, prog.Area, x, y, in)) {
      op.PinchRest = 1;
      break;
    }
    changed = true;
  }
  if (changed) AfterViewChange(prog, x, y);
}

} // namespace drex
