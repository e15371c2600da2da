#pragma once
// The command that deletes the selected objects with everything built on them, as the menu item,
// its tool button, the Delete key and the object list's pop-up reach it.

namespace drex {

class Program;

/// Ends any running operation, extends the selection to all dependants and asks with both counts.
/// On Yes removes them, renumbers every object and measurement number the program holds (the
/// traced locus point, the label rectangles, the object under the mouse, the dragged object, the
/// measurement label under the mouse), counts the document as changed when anything was removed,
/// rebuilds the object list and redraws. On any other answer nothing is removed and the picture
/// shows the dependants selected.
void DeleteSelected(Program& prog);

} // namespace drex
