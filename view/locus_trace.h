#pragma once
// Watching a construction beyond its static picture: the trail of a point while the construction
// moves (the locus display) and the construction shown object by object (the step display).

#include <array>
#include <string>

#include "kernel/math2d.h"

namespace drex {

class Canvas;
class Program;

/// Entries in the locus trail; the oldest drops out when it is full.
constexpr int LocusTraceCapacity = 100;
/// A trail position is recorded at most once in this many milliseconds.
constexpr int LocusTraceIntervalMs = 50;
/// A traced point that moved less than this (internal units) in both coordinates is not recorded.
constexpr double LocusTraceMinStep = 0.001;

/// The trail of the traced point: a ring of world positions (internal units).
struct LocusTrace {
  std::array<Point2, LocusTraceCapacity> Entries{};
  int Index = 0;        ///< the entry written last, 1-based; 0 when the ring is empty
  bool Wrapped = false; ///< the ring has been filled completely at least once
};

/// The positions of the trail from the oldest to the newest.
int LocusTraceLength(const LocusTrace& trace);
Point2 LocusTraceEntry(const LocusTrace& trace, int k); ///< k = 0 is the oldest

/// Caption, hint and image of the locus command: what it does when chosen now.
struct LocusCommandLook {
  std::string Caption;
  std::string Hint;
  int Image = 0;
};
LocusCommandLook LocusCommandState(const Program& prog);

/// The locus command: when no point is traced, ends the running operation and waits for the
/// click on a point (`hint`: the menu item's hint); otherwise stops the trace.
void ToggleLocus(Program& prog, const std::string& hint);
/// The click that picks the traced point; a click on anything but a point keeps the program
/// waiting.
void LocusPick(Program& prog, int object);
/// No point traced any more and the trail emptied (the traced point was removed, or another
/// document came).
void ClearLocus(Program& prog);
/// At the end of every full redraw: records the traced point's position into the trail (at most
/// one entry per LocusTraceIntervalMs) and draws the trail over the picture.
void DrawLocus(Program& prog, Canvas& canvas);
/// The tick of the trail's throttle timer.
void LocusTraceTick(Program& prog);

/// The step display: shows object 1, then one more defined object at each click. Nothing happens
/// on an empty construction.
void StartStepDisplay(Program& prog, const std::string& hint);
/// A left click while the step display runs: the next defined object, or the end of the display
/// after the last one.
void StepClick(Program& prog);

} // namespace drex
