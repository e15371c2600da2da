#pragma once
// Angles and distances measured on the drawing: the commands that start picking their points or
// removing a shown value, and the share of a press on the drawing area while one runs. The values
// are drawn with every redraw and stored with the document.

#include <string>

namespace drex {

class Program;

/// Starts measuring an angle (tag 31, three points, the second the vertex) or a distance (tag 32,
/// two points); `hint` is the menu item's hint, UTF-8. With the list full, shows the limit message
/// and starts nothing.
void StartMeasurement(Program& prog, int tag, const std::string& hint);

/// Starts removing a shown measurement by a click on its value.
void StartMeasureRemoval(Program& prog, const std::string& hint);

/// A left press on the drawing area while a measurement runs: takes the point under the cursor
/// (each point once) and adds the measurement when enough are picked, or removes the measurement
/// whose value is under the cursor. Anything else is ignored.
void MeasurementClick(Program& prog);

/// The message shown when the list of measurements is full.
std::string MeasureLimitMessage(const Program& prog);

} // namespace drex
