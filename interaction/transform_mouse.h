#pragma once
// Translation and rotation by mouse: the object is picked, then (for a rotation) the centre
// point, and a last click gives the vector or the angle; the transformation itself is the one of
// the transformation dialog, which always asks whether to transform copies.

#include <string>

namespace drex {

class Program;

/// Starts translation (menu Tag 303) or rotation (Tag 304) by mouse: ends the running operation,
/// sets TransformMode := tag − 302, shows the hint `hint` (UTF-8) with ":" and the prompt for the
/// object, enables the abort command and starts the blink timer. Other tags do nothing.
void StartTransformByMouse(Program& prog, int tag, const std::string& hint);

/// A left press while a transformation by mouse runs, at the mouse position the press stored.
/// While picking it takes the object under the cursor (any kind but polynomials and graphs; the
/// rotation's centre must be a point) and ignores anything else. The completing click gives the
/// translation vector from the first click, or the rotation angle measured about the second
/// click from the first click to this one (the centre itself is the exact position of the centre
/// point); the operation ends and the transformation runs as one undo step. A completing click
/// that gives no vector or no angle (on the pixel of the click it is measured from) is ignored.
void TransformClick(Program& prog);

/// While the mouse moves with the vector or angle still to give: a full redraw with the dotted
/// black guide lines from the first click (through the second one, for a rotation) to the mouse.
void DrawTransformGuide(Program& prog);

/// The guide alone over the picture that is there (after the blink timer painted it afresh).
void PaintTransformGuide(Program& prog);

/// What the status line shows after the coordinates while the vector or angle is to be given:
/// "; Вектор перенесення (dx, dy)" in user units or "; Поворот на кут A°", A being the clockwise
/// angle of the mouse's turn; empty otherwise.
std::string TransformStatusText(const Program& prog);

} // namespace drex
