#pragma once
// What each construction tool may pick at each step, how many picks it needs and what the hint
// line asks for. One generic pick routine reads these tables; no tool has its own click handler.

#include <array>
#include <cstdint>

#include "kernel/geom_object.h"

namespace drex {

/// A set of object kinds: bit k stands for kind k.
using KindSet = uint16_t;

constexpr KindSet KindBit(int kind) { return static_cast<KindSet>(1u << kind); }
constexpr KindSet KindRange(int first, int last) {
  KindSet s = 0;
  for (int k = first; k <= last; ++k)
    s = static_cast<KindSet>(s | KindBit(k));
  return s;
}
constexpr bool InKindSet(KindSet set, int kind) { return IsValidKind(kind) && (set & KindBit(kind)) != 0; }

/// Kinds 0..4 and 5..9.
constexpr KindSet PointKindSet = KindRange(0, 4);
constexpr KindSet LineKindSet = KindRange(5, 9);

/// Tool modes: the kind to build plus one (1..14); 0 is no tool.
constexpr int ToolModeCount = KindCount + 1;
/// Steps described by the tables; picks from the fourth on take any point.
constexpr int TableSteps = 3;

/// Picks after which the object is made, by tool mode.
constexpr std::array<int, ToolModeCount> RequiredPicks = {0, 1, 2, 1, 2, 2, 2, 2, 2, 3, 2, 500, 2, 10, 0};

/// Kinds that may be picked as pick s + 1, by tool mode and step s.
constexpr std::array<std::array<KindSet, TableSteps>, ToolModeCount> StepKinds = {{
    {0, 0, 0},                                                 // no tool
    {KindRange(5, 11), 0, 0},                                  // free point
    {PointKindSet, PointKindSet, 0},                           // midpoint
    {KindRange(5, 11), 0, 0},                                  // point on an object
    {LineKindSet | KindBit(11), LineKindSet | KindBit(11), 0}, // intersection
    {PointKindSet, KindRange(0, 9), 0},                        // symmetric point
    {PointKindSet, PointKindSet, 0},                           // line
    {PointKindSet, LineKindSet, 0},                            // parallel
    {PointKindSet, LineKindSet, 0},                            // perpendicular
    {PointKindSet, PointKindSet, PointKindSet},                // bisector
    {PointKindSet, KindBit(11), 0},                            // tangent
    {PointKindSet, PointKindSet, PointKindSet},                // polyline
    {PointKindSet, PointKindSet, 0},                           // circle
    {PointKindSet, PointKindSet, PointKindSet},                // interpolation polynomial
    {0, 0, 0},                                                 // graph (no tool)
}};

/// Kinds a point on an object can be attached to: lines, polylines and circles.
constexpr KindSet PointHostKinds = StepKinds[okPointOn + 1][0];

/// Message-table number of the step text shown while pick s + 1 of mode m is awaited.
constexpr int StepPromptIndex(int mode, int step) { return 100 + 3 * (mode - 1) + step; }

/// The step prompts' message numbers as a table, by tool mode and step.
constexpr std::array<std::array<int, TableSteps>, ToolModeCount> StepPrompts = [] {
  std::array<std::array<int, TableSteps>, ToolModeCount> t{};
  for (int m = 1; m < ToolModeCount; ++m)
    for (int s = 0; s < TableSteps; ++s)
      t[static_cast<std::size_t>(m)][static_cast<std::size_t>(s)] = StepPromptIndex(m, s);
  return t;
}();

/// Tool modes whose input is ended by the right button (polyline, polynomial).
constexpr bool EndsWithRightButton(int mode) { return mode == 11 || mode == 13; }

/// True for a tool mode the tables describe.
constexpr bool IsToolMode(int mode) { return mode >= 1 && mode < ToolModeCount; }

/// The kinds allowed at step s of mode m; empty for steps past the table.
constexpr KindSet StepKindSet(int mode, int step) {
  return IsToolMode(mode) && step >= 0 && step < TableSteps
             ? StepKinds[static_cast<std::size_t>(mode)][static_cast<std::size_t>(step)]
             : KindSet{0};
}

/// True when step s of mode m takes points; from the fourth pick on every step does.
constexpr bool StepAcceptsPoints(int mode, int step) {
  return step >= TableSteps || (StepKindSet(mode, step) & PointKindSet) != 0;
}

} // namespace drex
