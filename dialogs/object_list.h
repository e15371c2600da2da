#pragma once
// The object list of the left panel and the report on its current object: the texts the form
// shows and what its clicks do. The form shows a view over these; it decides nothing.

#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/object_report.h"
#include "interaction/operation_state.h"
#include "kernel/construction.h"
#include "kernel/object_table.h"

namespace drex {

class Program;

/// Background colour value of the report (light grey).
constexpr int32_t ReportBackground = 15000804;

/// What the object list shows besides the construction itself.
struct ObjectListState {
  int Current = -1;   ///< the current line (line k stands for object k + 1), -1 for none
  int PopupItem = -1; ///< the line the pop-up menu was opened on, -1 for none
  /// The report on the current object, one text per line (UTF-8).
  std::vector<std::string> Report;
  /// Raised by every rebuild of the list and of the report, so that the form knows when to show
  /// them again.
  unsigned ListRevision = 0;
  unsigned ReportRevision = 0;
};

/// Line `number` - 1 of the list: the number, ". " and the object's caption ("3. Пряма (лінія1)"). UTF-8.
std::string ObjectListLine(const Construction& c, const KindTexts& texts, int number);

/// The object of the current line, 0 when there is none.
int CurrentListObject(const Program& prog);

/// Rebuilds the list after the table changed: keeps the current line when it still exists, takes
/// the last line when the list became shorter and line 0 when there was no current line; then
/// rebuilds the report.
void RefreshObjectList(Program& prog);

/// A click on line `line`: it becomes the current line and the report shows its object.
void ObjListClick(Program& prog, int line);

/// The check box of line `line` was set to `checked`: the object is shown or hidden, the document
/// counts as changed, and the picture is redrawn.
void ObjListClickCheck(Program& prog, int line, bool checked);

/// A double click on line `line`: the line becomes current and the properties dialog opens for
/// its object through prog.ObjectPropertiesHook (nothing opens while the hook is not set).
void ObjListDblClick(Program& prog, int line);

/// A mouse button was released over the list at line `line` (-1 when no line is there). Only the
/// right button counts: PopupItem := `line`. True when the pop-up menu is to open, that is when
/// the release was on a line. The current line does not change.
bool ObjListMouseUp(Program& prog, MouseButton button, int line);

/// The pop-up item "Змінити": opens the properties dialog for the object of PopupItem through
/// prog.ObjectPropertiesHook.
void PopProperties(Program& prog);

/// The units, digits and coordinate system of the program's reports.
ReportFormat ReportFormatOf(const Program& prog);

/// The pop-up item "Вилучити": deletes exactly the object of line PopupItem with everything built
/// on it (that object alone is selected, then DeleteSelected asks and removes). Nothing happens
/// when PopupItem is no line of the list.
void PopDelete(Program& prog);

/// Rebuilds the report on the object of the current line (empty when there is none).
void ShowReport(Program& prog);

} // namespace drex
