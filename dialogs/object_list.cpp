#include "dialogs/object_list.h"

#include "shell/delete_command.h"
#include "shell/program.h"
#include "shell/undo_command.h"
#include "view/redraw.h"

namespace drex {

std::string ObjectListLine(const Construction& c, const KindTexts& texts, int number) {
  return std::to_string(number) + ". " + ObjectCaption(c, number, texts);
}

int CurrentListObject(const Program& prog) {
  const int line = prog.List.Current;
  return line >= 0 && line < prog.Doc.ObjCount ? line + 1 : 0;
}

void RefreshObjectList(Program& prog) {
  ObjectListState& list = prog.List;
  const int count = prog.Doc.ObjCount;
  if (count <= 0)
    list.Current = -1;
  else if (list.Current < 0)
    list.Current = 0;
  else if (list.Current >= count)
    list.Current = count - 1;
  if (list.PopupItem >= count) list.PopupItem = -1;
  ++list.ListRevision;
  ShowReport(prog);
}

void ObjListClick(Program& prog, int line) {
  if (line < 0 || line >= prog.Doc.ObjCount) return;
  prog.List.Current = line;
  ShowReport(prog);
}

void ObjListClickCheck(Program& prog, int line, bool checked) {
  if (line < 0 || line >= prog.Doc.ObjCount) return;
  CloseOpenStep(prog);
  TGeomObject& o = prog.Doc[line + 1];
  const uint8_t visible = checked ? 1 : 0;
  if (o.Visible == visible) return;
  o.Visible = visible;
  prog.Modified = true;
  Redraw(prog, true);
  RecordStep(prog, checked ? StepAction::Show : StepAction::Hide, line + 1);
}

void ObjListDblClick(Program& prog, int line) {
  if (line < 0 || line >= prog.Doc.ObjCount) return;
  CloseOpenStep(prog);
  if (line != prog.List.Current) ObjListClick(prog, line);
  if (prog.ObjectPropertiesHook) prog.ObjectPropertiesHook(line + 1);
  RecordStep(prog, StepAction::Change, line + 1);
}

bool ObjListMouseUp(Program& prog, MouseButton button, int line) {
  if (button != MouseButton::Right) return false;
  prog.List.PopupItem = line >= 0 && line < prog.Doc.ObjCount ? line : -1;
  return prog.List.PopupItem >= 0;
}

void PopProperties(Program& prog) {
  const int line = prog.List.PopupItem;
  if (line < 0 || line >= prog.Doc.ObjCount) return;
  CloseOpenStep(prog);
  if (prog.ObjectPropertiesHook) prog.ObjectPropertiesHook(line + 1);
  RecordStep(prog, StepAction::Change, line + 1);
}

ReportFormat ReportFormatOf(const Program& prog) {
  return ReportFormat{prog.UnitLength, prog.Config.AnswerDigits, prog.Config.CoordSystem, prog.Config.IntegrationSteps};
}

void PopDelete(Program& prog) {
  const int line = prog.List.PopupItem;
  if (line < 0 || line >= prog.Doc.ObjCount) return;
  CloseOpenStep(prog);
  for (int i = 1; i <= prog.Doc.ObjCount; ++i)
    prog.Doc[i].Selected = i == line + 1 ? 1 : 0;
  DeleteSelected(prog);
  RecordStep(prog, StepAction::Delete);
}

void ShowReport(Program& prog) {
  ObjectListState& list = prog.List;
  const int number = CurrentListObject(prog);
  std::vector<std::string> lines =
      number > 0 ? ObjectReport(prog.Doc, prog.Msgs, number, ReportFormatOf(prog)) : std::vector<std::string>();
  if (lines != list.Report) {
    list.Report.swap(lines);
    ++list.ReportRevision;
  }
}

} // namespace drex
