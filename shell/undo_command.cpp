#include "shell/undo_command.h"

#include <cstring>

#include "calc/dyn_expr.h"
#include "dialogs/object_list.h"
#include "interaction/tool_modes.h"
#include "kernel/cp1251.h"
#include "shell/program.h"
#include "view/redraw.h"

namespace drex {
namespace {

std::string NameOf(const Program& prog, int object) {
  if (object < 1 || object > prog.Doc.ObjCount) return {};
  return Cp1251ToUtf8(prog.Doc[object].Name.Bytes());
}

/// "побудова 3 об'єктів", or the form for counts that end in a lone 1 ("21 об'єкта").
std::string CountLabel(const Program& prog, const char* many, const char* manyOne, int count) {
  const bool endsInOne = count % 10 == 1 && count % 100 != 11;
  return FormatMsg(StepText(prog, endsInOne ? manyOne : many), {std::to_string(count)});
}

/// Numbers the program keeps outside the construction may name other objects after a step was
/// taken back or done again: they are let go.
void ForgetNumbers(Program& prog, bool countChanged) {
  OperationState& op = prog.Op;
  op.HotObject = 0;
  op.DragObject = 0;
  op.MeasureLabel = 0;
  prog.List.PopupItem = -1;
  if (countChanged || prog.LocusPoint > prog.Doc.ObjCount) ClearLocus(prog);
}

void Walk(Program& prog, bool redo) {
  // A key that came while a redraw let the desktop's events through waits for no step: the
  // command around that redraw has not ended, and its changes are not recorded yet.
  if (prog.Drawing.Busy) return;
  AbortOperation(prog);
  const int count = prog.Doc.ObjCount;
  if (!(redo ? prog.History.Redo(prog.Doc) : prog.History.Undo(prog.Doc))) return;
  ForgetNumbers(prog, count != prog.Doc.ObjCount);
  prog.Modified = !prog.History.AtSavedState();
  RefreshObjectList(prog);
  Redraw(prog, true);
}

std::string Hint(const Program& prog, const std::string& label, const char* pattern, const std::string& plain) {
  return label.empty() ? plain : FormatMsg(StepText(prog, pattern), {label});
}

} // namespace

std::string StepText(const Program& prog, const char* name) { return prog.Texts.Get(CaptionKey(name)); }

std::string StepLabel(const Program& prog, StepAction action, int object) {
  const int before = prog.History.RecordedCount();
  const int now = prog.Doc.ObjCount;
  switch (action) {
  case StepAction::Make:
    if (now - before == 1) return FormatMsg(StepText(prog, "s_MakeOne"), {NameOf(prog, now)});
    if (now > before) return CountLabel(prog, "s_MakeMany", "s_MakeMany1", now - before);
    break;
  case StepAction::Delete:
    if (before > now) return CountLabel(prog, "s_DeleteMany", "s_DeleteMany1", before - now);
    break;
  case StepAction::Move:
  case StepAction::Change:
  case StepAction::Show:
  case StepAction::Hide: {
    const std::string name = NameOf(prog, object);
    if (name.empty()) break;
    const char* pattern = action == StepAction::Move     ? "s_Move"
                          : action == StepAction::Change ? "s_Change"
                          : action == StepAction::Show   ? "s_Show"
                                                         : "s_Hide";
    return FormatMsg(StepText(prog, pattern), {name});
  }
  case StepAction::Edit:
    break;
  }
  return StepText(prog, "s_Edit");
}

void RecordStep(Program& prog, StepAction action, int object, StepFields fields) {
  // An event handled while a redraw lets the desktop's events through is inside the command that
  // redraws: that command's end records both, with the objects recalculated.
  if (prog.Drawing.Busy) return;
  if (prog.History.Record(prog.Doc, StepLabel(prog, action, object), fields)) {
    prog.Modified = !prog.History.AtSavedState();
    // The expressions may name what the step renamed, made or removed.
    RefreshDynExprs(prog);
  }
}

void CloseOpenStep(Program& prog) { RecordStep(prog, StepAction::Make); }

void UndoCommand(Program& prog) { Walk(prog, false); }
void RedoCommand(Program& prog) { Walk(prog, true); }

std::string UndoHint(const Program& prog, const std::string& plain) {
  return Hint(prog, prog.History.UndoLabel(), "s_UndoHint", plain);
}

std::string RedoHint(const Program& prog, const std::string& plain) {
  return Hint(prog, prog.History.RedoLabel(), "s_RedoHint", plain);
}

} // namespace drex
