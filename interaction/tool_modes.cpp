#include "interaction/tool_modes.h"

#include <algorithm>

#include "dialogs/object_list.h"
#include "interaction/pick_tables.h"
#include "interaction/transform_mouse.h"
#include "kernel/recalc.h"
#include "shell/program.h"
#include "view/redraw.h"

namespace drex {

namespace {

bool IsObject(const Program& prog, int n) { return n >= 1 && n <= prog.Doc.ObjCount; }

/// Shows the limit message and ends the operation; the points made so far stay.
void RefuseAtLimit(Program& prog) {
  prog.ShowObjectLimitMessage();
  AbortOperation(prog);
}

/// Objects the creation adds: the object itself, and the twin of an intersection that involves a
/// circle or of a tangent.
int ObjectsToCreate(const Program& prog) {
  const OperationState& op = prog.Op;
  if (op.ToolMode == okTangent + 1) return 2;
  if (op.ToolMode == okIntersection + 1 && op.PickCount >= 2) {
    const int a = op.PickList[0], b = op.PickList[1];
    const bool twoLines =
        IsObject(prog, a) && IsObject(prog, b) && IsLineKind(prog.Doc[a].Kind) && IsLineKind(prog.Doc[b].Kind);
    return twoLines ? 1 : 2;
  }
  return 1;
}

void CreateObject(Program& prog) {
  OperationState& op = prog.Op;
  if (prog.Doc.ObjCount + ObjectsToCreate(prog) > MaxObjects) {
    RefuseAtLimit(prog);
    return;
  }
  if (op.ToolMode == okPoint + 1 && op.PickCount > 0 && IsObject(prog, op.PickList[0])) {
    const std::string caption = ObjectCaption(prog.Doc, op.PickList[0], prog.Kinds);
    const MsgButton answer =
        prog.Desktop.MessageBox(MsgType::Confirmation, FormatMsg(prog.Msgs[55], {caption}), mbYes | mbNo);
    if (answer == mbYes) op.ToolMode = okPointOn + 1;
  }
  prog.Modified = true;
  const int n = prog.AppendObject(op.ToolMode - 1);
  TGeomObject& o = prog.Doc[n];
  if (op.ToolMode != okPoint + 1) {
    const int count = std::min(op.PickCount, RefSlots - 1);
    for (int k = 0; k < count; ++k)
      o.Refs[static_cast<std::size_t>(k + 1)] = op.PickList[static_cast<std::size_t>(k)];
    o.RefCount = static_cast<int16_t>(count);
  }
  if (op.ToolMode == okPointOn + 1) AttachPoint(prog.Doc, n);
  if (op.ToolMode == okIntersection + 1) ClassifyIntersection(prog.Doc, n, prog.Naming());
  if (op.ToolMode == okTangent + 1) AppendTangentTwin(prog.Doc, n, prog.Naming());
  RefreshObjectList(prog);
  // The tool does not stay active: every construction starts with the tool again. Ending the
  // operation repaints, so the new object shows at once.
  AbortOperation(prog);
  // A polyline or polynomial is completed in its properties dialog; cancelled there it is
  // dropped, while the points made on the fly for it stay.
  if ((o.Kind == okPolyline || o.Kind == okPolynomial) && prog.ObjectPropertiesHook) {
    if (!prog.ObjectPropertiesHook(n) && prog.Doc.ObjCount == n) {
      prog.Doc.ObjCount = static_cast<int16_t>(n - 1);
      RefreshObjectList(prog);
    }
    Redraw(prog, true);
  }
}

} // namespace

bool OperationRunning(const Program& prog) {
  const OperationState& op = prog.Op;
  return op.StepPos != 0 || op.ToolMode != 0 || op.MacroApplyStep != 0 || op.MacroState != 0 || op.TransformMode != 0 ||
         op.MeasureMode != 0;
}

std::string StepPromptText(const Program& prog, int mode, int step) {
  if (!IsToolMode(mode) || step < 0 || step >= TableSteps) return std::string();
  return prog.Msgs[StepPrompts[static_cast<std::size_t>(mode)][static_cast<std::size_t>(step)]];
}

void StartTool(Program& prog, int tag, const std::string& hint) {
  if (tag < 11 || tag > 23) return;
  if (prog.Doc.ObjCount >= MaxObjects) {
    prog.ShowObjectLimitMessage();
    return;
  }
  AbortOperation(prog);
  prog.EnableAbort();
  OperationState& op = prog.Op;
  op.ToolMode = tag - 10;
  op.PromptPrefix = CutToChars(hint + ": " + prog.Msgs[33] + " ", PromptPrefixCapacity);
  prog.ShowPrompt(op.PromptPrefix + StepPromptText(prog, op.ToolMode, 0));
  prog.Desktop.StartTimer(TimerId::Blic, BlinkIntervalMs);
}

void AbortOperation(Program& prog) {
  OperationState& op = prog.Op;
  op.ToolMode = 0;
  op.MeasureMode = 0;
  op.TransformMode = 0;
  op.MacroState = 0;
  op.MacroApplyStep = 0;
  op.StepPos = 0;
  op.LocusPickPending = false;
  op.MacroAwaitedKind = -1;
  op.OperationActive = false;
  op.MacroMakeImage = 50;
  op.PromptPrefix.clear();
  prog.Desktop.StopTimer(TimerId::Blic);
  op.BlinkPhase = true;
  op.PickCount = 0;
  prog.AbortEnabled = false;
  prog.ShowPrompt("");
  Redraw(prog, true);
}

void ConstructionClick(Program& prog, bool rightButton) {
  OperationState& op = prog.Op;
  const int mode = op.ToolMode;
  if (!IsToolMode(mode)) return;
  if (!rightButton) {
    const int step = op.PickCount;
    int hot = IsObject(prog, op.HotObject) ? op.HotObject : 0;
    const int kind = hot > 0 ? prog.Doc[hot].Kind : -1;
    const KindSet allowed = StepKindSet(mode, step);
    const bool takesPoints = StepAcceptsPoints(mode, step);
    const bool listed = step < TableSteps && InKindSet(allowed, kind);
    // A click the step cannot use is ignored without a message.
    if (!takesPoints && ((hot == 0 && mode != okPoint + 1) || (hot > 0 && !listed))) return;

    const bool makePoint =
        (hot == 0 && mode > okPoint + 1) || (takesPoints && hot > 0 && !IsPointKind(kind) && !listed);
    if (makePoint) {
      if (prog.Doc.ObjCount >= MaxObjects) {
        RefuseAtLimit(prog);
        return;
      }
      // A point can sit on a line, a polyline or a circle; over anything else (a polynomial) the
      // new point is a free one at the mouse, as on empty space.
      const int host = InKindSet(PointHostKinds, kind) ? hot : 0;
      prog.Modified = true;
      const int n = prog.AppendObject(host == 0 ? okPoint : okPointOn);
      if (host > 0) {
        prog.Doc[n].Refs[1] = static_cast<int16_t>(host);
        AttachPoint(prog.Doc, n);
      }
      RefreshObjectList(prog);
      hot = op.HotObject = n;
    }

    const auto picked = op.PickList.begin();
    const bool already = std::find(picked, picked + op.PickCount, static_cast<int16_t>(hot)) != picked + op.PickCount;
    // An object is picked once; only a polyline may come back to a vertex, which closes it.
    if ((mode == okPolyline + 1 || !already) && op.PickCount < static_cast<int>(op.PickList.size()))
      op.PickList[static_cast<std::size_t>(op.PickCount++)] = static_cast<int16_t>(hot);

    if (EndsWithRightButton(mode))
      prog.ShowPrompt(op.PromptPrefix + prog.Msgs[54]);
    else
      prog.ShowPrompt(op.PromptPrefix + StepPromptText(prog, mode, op.PickCount));
    // A point made on the fly gets its pixels now, so that it shows and can be hit before the
    // next blink.
    if (makePoint) Redraw(prog, true);
  }
  if (rightButton || op.PickCount == RequiredPicks[static_cast<std::size_t>(mode)]) CreateObject(prog);
}

void BlinkTick(Program& prog) {
  OperationState& op = prog.Op;
  op.BlinkPhase = !op.BlinkPhase;
  if (op.MacroState == 1 || op.MacroState == 2) op.MacroMakeImage = op.BlinkPhase ? 50 : 50 + op.MacroState;
  Redraw(prog, false);
  PaintTransformGuide(prog);
}

} // namespace drex
