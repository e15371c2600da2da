#pragma once
// The report on one object: how it is constructed and, when it is defined, what it measures.

#include <string>
#include <vector>

#include "kernel/construction.h"

namespace drex {

class MsgTable;

/// What the numbers of a report depend on.
struct ReportFormat {
  int UnitLength = 1;       ///< internal units per user unit; coordinates and lengths are shown in user units
  int AnswerDigits = 2;     ///< significant digits of every number
  int CoordSystem = 0;      ///< points in Cartesian (0) or polar (1) coordinates
  int ArcLengthSteps = 200; ///< chords of a polynomial's curve length
};

/// The report lines on object `number` of `c` (UTF-8), built from the message table's texts:
/// the construction lines of its kind, then "<Властивості не відомі>" when it is undefined, or
/// its coordinates, equation, lengths, areas, integral or extents. Empty for a number that names
/// no object.
std::vector<std::string> ObjectReport(const Construction& c, const MsgTable& msgs, int number,
                                      const ReportFormat& format);

} // namespace drex
