#pragma once
// Deleting objects together with everything built on them: the dependency test, the dependants of
// one object, the closure of the selection and the removal that compacts the table and renumbers
// every stored object number. Every routine here is linear in objects plus references; none
// recurses, so a chain of 10000 objects is as safe as a short one.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "kernel/construction.h"

namespace drex {

class MsgTable;
class Platform;

/// True when object `a` is object `b` or is built on it: some `Refs`[k] (k = 1..`RefCount`) of
/// `a` is `b` or, in turn, depends on `b`. `Refs`[0] is never followed. The references of objects
/// 1..`ObjCount` are followed; a number outside that range is only compared with `b`. References
/// may point at later objects, and a cycle (which a sound construction does not have) ends the
/// search instead of looping. Each object is visited at most once, so one call is linear in objects
/// plus references; to test many objects against the same `b`, MarkDependants does it in one pass.
bool DependsOn(const Construction& c, int a, int b);

/// Marks everything that depends on object `i` in one pass: afterwards `marks` has ObjCount + 1
/// entries, and marks[j] (j = 1..ObjCount) is 1 exactly when DependsOn(c, j, i), else 0; so
/// marks[i] is 1 itself when `i` is an object of the table, and marks[0] is 0. With `i` outside
/// 1..ObjCount every entry is 0. Builds a reverse index of the references on the fly; time and
/// memory are linear in objects plus references.
void MarkDependants(const Construction& c, int i, std::vector<uint8_t>& marks);

/// Marks, in one pass, everything that depends on an object already marked: `marks` may come
/// with any size and has ObjCount + 1 entries afterwards (those beyond it are dropped, missing
/// ones count as unmarked); marks[j] is 1 exactly when object j was marked or depends on one that
/// was, else 0, and marks[0] is 0.
void MarkDependantsOfMarked(const Construction& c, std::vector<uint8_t>& marks);

/// The two counts of the deletion question.
struct DeletionCounts {
  int Selected = 0;   ///< objects that were selected before the closure
  int Dependants = 0; ///< objects the closure added, each counted once
};

/// Extends the selection to every object that depends on a selected one (`Selected` := 1) and
/// returns both counts. An object counts as selected when its `Selected` byte is not 0.
DeletionCounts CloseSelection(Construction& c);

/// Where a removal moved the objects and the measurements. Left empty it moves nothing: every
/// number maps to itself.
struct Renumbering {
  /// Per former object number 0..former ObjCount: its new number, 0 when it was removed (entry 0
  /// is 0).
  std::vector<int> Objects;
  /// Per former measurement index 0..former MeasureCount − 1: its new index, −1 when removed.
  std::vector<int> Measures;

  /// The new number of an object number: 0 when that object was removed; a number that named no
  /// object of the former table (0, negative, above the former ObjCount) is returned as it is, so
  /// it still names none.
  int Object(int former) const {
    if (former <= 0 || static_cast<std::size_t>(former) >= Objects.size()) return former;
    return Objects[static_cast<std::size_t>(former)];
  }
  /// True when `former` was an object of the former table and was removed.
  bool Removed(int former) const {
    return former > 0 && static_cast<std::size_t>(former) < Objects.size() &&
           Objects[static_cast<std::size_t>(former)] == 0;
  }
  /// Number of objects removed.
  int RemovedObjects() const;
};

/// Removes every selected object in one compaction pass: the others keep their relative order,
/// and each `Refs`[1..`RefCount`] of them is renumbered (`Refs`[0] is left alone). A measurement
/// that names a removed object (an angle by its first three numbers, a distance, Type 1, by its
/// first two) is removed; the others keep their order and are renumbered. The selection should be
/// closed (CloseSelection) first, so that no remaining object refers to a removed one; a
/// reference that still does becomes 0, which names no object. `moved` receives the renumbering,
/// for the caller's own object and measurement numbers.
void RemoveSelected(Construction& c, Renumbering& moved);

/// Asks whether to delete: MsgTable[58] with the selected count for its first "%s" and the
/// dependant count for its second, both as plain integers, in a confirmation with Yes and No.
/// True only for Yes.
bool ConfirmDeletion(Platform& desktop, const MsgTable& msgs, const DeletionCounts& counts);

/// The whole deletion on the construction: closes the selection, asks (ConfirmDeletion) and on
/// Yes removes the selected objects (RemoveSelected). On any other answer nothing is removed, the
/// dependants stay selected and `moved` is left empty. True when the answer was Yes.
bool AskAndRemoveSelected(Construction& c, Platform& desktop, const MsgTable& msgs, Renumbering& moved);

/// Moves per-measurement data (entry k belongs to measurement k, 0-based) the way the removal moved
/// the measurements, so that each entry stays with its measurement.
template <class T, std::size_t N> void MoveWithMeasurements(const Renumbering& moved, std::array<T, N>& items) {
  const std::size_t count = moved.Measures.size() < N ? moved.Measures.size() : N;
  for (std::size_t k = 0; k < count; ++k) {
    const int to = moved.Measures[k];
    // New indices never exceed old ones, so moving forward never overwrites an entry still to move.
    if (to >= 0 && static_cast<std::size_t>(to) != k) items[static_cast<std::size_t>(to)] = items[k];
  }
}

} // namespace drex
