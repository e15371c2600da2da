#include "interaction/transform_mouse.h"

#include <cmath>

#include "dialogs/transform_model.h"
#include "expr/format_answer.h"
#include "interaction/tool_modes.h"
#include "kernel/math2d.h"
#include "shell/command_table.h"
#include "shell/program.h"
#include "shell/undo_command.h"
#include "view/canvas.h"
#include "view/redraw.h"

namespace drex {
namespace {

constexpr double Pi = 3.14159265358979323846;

/// Two clicks closer than this (internal units) are on one spot: they give no vector.
constexpr double SameSpotTol = 1e-9;

constexpr int MsgPickObject = 35;
constexpr int MsgVectorText = 50;
constexpr int MsgAngleText = 51;
constexpr int MsgPickVector = 56;
constexpr int MsgPickCentre = 57;

bool IsObject(const Program& prog, int n) { return n >= 1 && n <= prog.Doc.ObjCount; }

/// The picks the running transformation needs before its completing click.
int PicksNeeded(const OperationState& op) { return op.TransformMode == RotateOp ? 2 : 1; }

/// The vector or angle is to be given next.
bool AwaitsCompletion(const OperationState& op) {
  return (op.TransformMode == TranslateOp || op.TransformMode == RotateOp) && op.PickCount == PicksNeeded(op);
}

Point2 FirstClick(const OperationState& op) { return {op.TransformX0, op.TransformY0}; }
Point2 SecondClick(const OperationState& op) { return {op.TransformX1, op.TransformY1}; }
Point2 Mouse(const Program& prog) { return {prog.MouseWorldX, prog.MouseWorldY}; }

/// The translation vector from the first click to the mouse, in user units.
Point2 Vector(const Program& prog) {
  const double unit = prog.UnitLength > 0 ? prog.UnitLength : 1;
  const Point2 from = FirstClick(prog.Op), to = Mouse(prog);
  return {(to.x - from.x) / unit, (to.y - from.y) / unit};
}

/// The clockwise turn about the second click from the first click to the mouse, in radians;
/// false when either ray has no length (the mouse on the second click, or both clicks on one
/// spot), where there is no angle to turn by.
bool MouseAngle(const Program& prog, double& angle) {
  const Point2 c = SecondClick(prog.Op), a = FirstClick(prog.Op), m = Mouse(prog);
  if (std::hypot(a.x - c.x, a.y - c.y) * std::hypot(m.x - c.x, m.y - c.y) < OrientedAngleZeroTol) return false;
  const ValueResult r = OrientedAngle(c, a, c, m);
  if (r.Failed) return false;
  angle = r.Value;
  return true;
}

} // namespace

void StartTransformByMouse(Program& prog, int tag, const std::string& hint) {
  if (tag != tag::ObjMove && tag != tag::ObjRot) return;
  AbortOperation(prog);
  OperationState& op = prog.Op;
  op.TransformMode = tag - tag::ObjParam;
  op.PromptPrefix = CutToChars(hint + ":", PromptPrefixCapacity);
  prog.ShowPrompt(op.PromptPrefix + " " + prog.Msgs[MsgPickObject]);
  prog.EnableAbort();
  prog.Desktop.StartTimer(TimerId::Blic, BlinkIntervalMs);
}

void TransformClick(Program& prog) {
  OperationState& op = prog.Op;
  if (op.TransformMode != TranslateOp && op.TransformMode != RotateOp) return;
  if (op.PickCount < PicksNeeded(op)) {
    const int hot = op.HotObject;
    if (!IsObject(prog, hot)) return;
    const int kind = prog.Doc[hot].Kind;
    const bool accepted = op.PickCount == 0 ? kind < okPolynomial : IsPointKind(kind);
    if (!accepted) return;
    if (op.PickCount == 0) {
      op.TransformX0 = prog.MouseWorldX;
      op.TransformY0 = prog.MouseWorldY;
    } else {
      op.TransformX1 = prog.MouseWorldX;
      op.TransformY1 = prog.MouseWorldY;
    }
    op.PickList[static_cast<std::size_t>(op.PickCount++)] = static_cast<int16_t>(hot);
    if (op.TransformMode == TranslateOp)
      prog.ShowPrompt(op.PromptPrefix + " " + prog.Msgs[MsgPickVector]);
    else if (op.PickCount == 1)
      prog.ShowPrompt(op.PromptPrefix + " " + prog.Msgs[MsgPickCentre]);
    Redraw(prog, true);
    return;
  }

  const int mode = op.TransformMode;
  const int target = op.PickList[0];
  const int centre = mode == RotateOp ? op.PickList[1] : 0;
  double p = 0, q = 0;
  if (mode == TranslateOp) {
    const Point2 v = Vector(prog);
    if (std::hypot(v.x, v.y) * (prog.UnitLength > 0 ? prog.UnitLength : 1) < SameSpotTol) return;
    p = v.x;
    q = v.y;
  } else {
    double angle = 0;
    if (!MouseAngle(prog, angle)) return;
    // The angle is the clockwise turn; the transformation turns counter-clockwise.
    p = -angle;
  }
  AbortOperation(prog);
  if (!IsObject(prog, target)) return;
  const TransformResult result = ApplyTransformation(prog, mode, target, centre, true, p, q);
  RecordStep(prog, result == TransformResult::Copies ? StepAction::Make : StepAction::Move, target,
             StepFields::Geometry);
}

void DrawTransformGuide(Program& prog) {
  if (!AwaitsCompletion(prog.Op)) return;
  Redraw(prog, true);
  PaintTransformGuide(prog);
}

void PaintTransformGuide(Program& prog) {
  const OperationState& op = prog.Op;
  if (!AwaitsCompletion(op)) return;
  Canvas* canvas = prog.Surface;
  if (canvas == nullptr) return;
  const CanvasPen pen = canvas->Pen();
  canvas->SetPen(CanvasPen{ColorBlack, PenStyle::Dot, ScalePixels(prog.Config.DisplayScale, 1), PenMode::Copy});
  const PixelPoint from = PixelOf(prog, FirstClick(op));
  const PixelPoint to = PixelOf(prog, Mouse(prog));
  canvas->MoveTo(from.X, from.Y);
  if (op.TransformMode == RotateOp) {
    const PixelPoint centre = PixelOf(prog, SecondClick(op));
    canvas->LineTo(centre.X, centre.Y);
  }
  canvas->LineTo(to.X, to.Y);
  canvas->SetPen(pen);
}

std::string TransformStatusText(const Program& prog) {
  const OperationState& op = prog.Op;
  if (!AwaitsCompletion(op)) return {};
  const int digits = prog.Config.AnswerDigits;
  if (op.TransformMode == TranslateOp) {
    const Point2 v = Vector(prog);
    return "; " + prog.Msgs[MsgVectorText] + " (" + FormatAnswer(v.x, digits) + ", " + FormatAnswer(v.y, digits) + ")";
  }
  double angle = 0;
  if (!MouseAngle(prog, angle)) return {};
  return "; " + prog.Msgs[MsgAngleText] + " " + FormatAnswer(angle / Pi * 180, digits) + "°";
}

} // namespace drex
