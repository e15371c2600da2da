#include "shell/delete_command.h"

#include <algorithm>

#include "dialogs/object_list.h"
#include "interaction/tool_modes.h"
#include "kernel/deletion.h"
#include "shell/program.h"
#include "view/redraw.h"

namespace drex {
namespace {

/// Brings the numbers the program keeps outside the construction up to date with a removal.
void FollowRenumbering(Program& prog, const Renumbering& moved) {
  const int traced = moved.Object(prog.LocusPoint);
  if (traced == 0)
    ClearLocus(prog);
  else
    prog.LocusPoint = traced;
  MoveWithMeasurements(moved, prog.Drawing.LabelRects);

  OperationState& op = prog.Op;
  op.HotObject = moved.Object(op.HotObject);
  op.DragObject = static_cast<int16_t>(moved.Object(op.DragObject));
  const int label = op.MeasureLabel;
  const bool labelKnown = label >= 1 && static_cast<std::size_t>(label) <= moved.Measures.size();
  op.MeasureLabel = labelKnown ? moved.Measures[static_cast<std::size_t>(label - 1)] + 1 : 0;
  // The operation was ended before the question, so no pick is in use; the list is cleared so
  // that none of its entries names a former number either.
  std::fill(op.PickList.begin(), op.PickList.end(), int16_t{0});
  op.PickCount = 0;
  // The pop-up menu the list line belonged to is closed.
  prog.List.PopupItem = -1;
}

} // namespace

void DeleteSelected(Program& prog) {
  AbortOperation(prog);
  Renumbering moved;
  if (!AskAndRemoveSelected(prog.Doc, prog.Desktop, prog.Msgs, moved)) {
    Redraw(prog, true);
    return;
  }
  FollowRenumbering(prog, moved);
  if (moved.RemovedObjects() > 0) prog.Modified = true;
  RefreshObjectList(prog);
  Redraw(prog, true);
}

} // namespace drex
