#pragma once
// Construction by mouse: starting a tool, the pick step of a press, the creation of the object,
// the end of every interactive operation and the blink timer of picked objects.

#include <string>

#include "kernel/cp1251.h"

namespace drex {

class Program;

/// Starts the construction tool of menu Tag 11..23 (`hint`: the menu item's hint, UTF-8): at the
/// object limit shows the limit message; otherwise ends the running operation, enables the abort
/// command, sets ToolMode := tag − 10, shows the first step prompt and starts the blink timer.
/// Other tags do nothing.
void StartTool(Program& prog, int tag, const std::string& hint);

/// Ends any interactive operation: every mode back to 0, the prompt prefix and the pick list
/// emptied, the blink timer stopped with the picked objects shown, the abort command disabled,
/// an empty hint line and a full redraw.
void AbortOperation(Program& prog);

/// True when an operation runs (step display, tool, macro, transformation or measurement).
bool OperationRunning(const Program& prog);

/// The construction share of a press on the drawing area while a tool is active: picks the
/// object under the cursor, or makes a point on the fly, as the current step allows, and creates
/// the object once enough is picked or the right button ends a polyline or polynomial.
void ConstructionClick(Program& prog, bool rightButton);

/// One tick of the blink timer: toggles the blink phase (and the macro button image while a macro
/// is being recorded) and repaints the objects without clearing.
void BlinkTick(Program& prog);

/// The hint-line prompt while pick `step` + 1 of tool mode `mode` is awaited (without the prefix).
std::string StepPromptText(const Program& prog, int mode, int step);

} // namespace drex
