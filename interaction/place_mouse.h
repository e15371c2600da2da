#pragma once
// The mouse events of the drawing area, translated once by the form into plain values: picking,
// the status line and the cursor, selection by click and rubber band, dragging, panning, the
// double click, and the dispatch of a press to the running operation.

#include <string>

#include "interaction/operation_state.h"

namespace drex {

class Program;

/// The object under pixel (x, y) with the program's view and ShowAll state, 0 for none.
int HitTest(const Program& prog, int x, int y);

/// A button press at pixel (x, y). Only the left button is handled, and the right one while a
/// polyline or polynomial is being picked. With no operation running it selects and starts a
/// drag or a rubber band; then the running operation gets the click.
void PlaceMouseDown(Program& prog, MouseButton button, bool shift, bool ctrl, int x, int y);

/// A move to pixel (x, y) with `held` the button held down: pans with Ctrl and the left button
/// (the picture follows the cursor pixel for pixel), drags the selection with the left button, then updates the object
/// under the cursor, the status line, the cursor and the rubber band.
void PlaceMouseMove(Program& prog, MouseButton held, bool shift, bool ctrl, int x, int y);

/// A button release: ends the drag, and a rubber band released with the left button selects
/// what it caught (with Shift the earlier selection is kept).
void PlaceMouseUp(Program& prog, MouseButton button, bool shift, bool ctrl, int x, int y);

/// A double click of the left button (other buttons do nothing here; their second press still
/// goes to PlaceMouseDown). On an object: it becomes the current object of the object list; when
/// it already was, its properties dialog opens (ObjectPropertiesHook) and the result is true.
bool PlaceDblClick(Program& prog, MouseButton button, bool shift, bool ctrl, int x, int y);

/// The mouse left the drawing area: the construction tool's preview goes.
void PlaceMouseLeave(Program& prog);

/// One turn of the wheel or scroll of a touchpad: angles in eighths of a degree (WheelNotch a
/// notch, positive away from the user or to the left) and, where the device reports them, the
/// pixels it scrolled.
struct WheelTurn {
  int AngleX = 0, AngleY = 0;
  int PixelX = 0, PixelY = 0;
};
constexpr int WheelNotch = 120;

/// A wheel turn over pixel (x, y): a vertical turn zooms about the cursor (the world point under it
/// stays there) one zoom step per notch, smaller turns adding up; with Shift, or a sideways
/// scroll, the picture pans instead.
void PlaceWheel(Program& prog, const WheelTurn& turn, bool shift, int x, int y);

/// A touchpad pinch about pixel (x, y) that scaled by `factor`: a zoom step about that pixel each
/// time the pinch has grown or shrunk by the step's factor.
void PlacePinch(Program& prog, double factor, int x, int y);

/// The status-line coordinates of world point (x, y) (internal units), Cartesian or polar after
/// the CoordSystem setting, without the caption of the object under the cursor.
std::string CoordinateText(const Program& prog, double x, double y);

/// The cursor number for the current state (HotObject, the running operation, its picks).
int CursorForState(const Program& prog);

} // namespace drex
