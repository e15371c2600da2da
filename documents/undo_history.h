#pragma once
// The history of the document's changes, for undo and redo.
//
// The history keeps a copy of the document as it stood after the last recorded step. At the end
// of every command the dispatch compares the document with that copy; the records, measurements
// and expressions that differ make one step, which keeps their images from before the command
// (the copy's), and the copy takes the new state. Undoing a step exchanges its images with the
// document's, so that the same step then holds what redo puts back; undo and redo are one
// operation. Memory is proportional to what changed: a drag keeps the positions of the records it
// moved, a deletion of half the table half the table.
//
// Only what the document keeps counts: the pixel positions and the Defined flag, which every
// recalculation pass derives from the records and the view, are never compared, and the view is
// not part of the history. After an undo or redo the caller recalculates, and every derived field
// is as it was.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "kernel/construction.h"

namespace drex {

/// The fields of the records present before and after a command that a step is recorded over.
/// Records appended or removed by the command are always kept whole.
enum class StepFields : uint8_t {
  All,      ///< every stored field except the pixel positions and Defined
  Geometry, ///< positions, parameters and the selection flag: everything a drag can change
};

constexpr std::size_t MaxUndoSteps = 1000;
constexpr std::size_t MaxUndoBytes = std::size_t{256} << 20;

class UndoHistory {
public:
  UndoHistory();
  ~UndoHistory();
  UndoHistory(const UndoHistory&) = delete;
  UndoHistory& operator=(const UndoHistory&) = delete;

  /// Forgets every step and takes `c` as the saved state the next step starts from.
  void Reset(const Construction& c);

  /// Compares `c` with the state after the last step. When a record (over `fields`), a count, a
  /// measurement or an expression differs, records one step named `label`, forgets the steps
  /// that could have been redone, drops the oldest steps beyond the limits and returns true. The
  /// selection flags that changed go into that step; a change of selection alone is taken over
  /// without a step.
  bool Record(const Construction& c, const std::string& label, StepFields fields = StepFields::All);

  /// Brings `c` back to the state before the last step; false when there is none. `c` must be the
  /// state after that step (everything changed since was recorded).
  bool Undo(Construction& c);
  /// Makes the step undone last again; false when there is none.
  bool Redo(Construction& c);

  bool CanUndo() const { return position_ > 0; }
  bool CanRedo() const { return position_ < steps_.size(); }
  /// Names of the step undo and redo would take; empty when there is none.
  const std::string& UndoLabel() const;
  const std::string& RedoLabel() const;

  /// The object count of the state after the last step (what the next step starts from).
  int RecordedCount() const { return count_; }

  /// The current state is the one on disk.
  void MarkSaved() { saved_ = static_cast<long>(position_); }
  /// True while undo and redo have brought the document back to the state last saved or loaded.
  bool AtSavedState() const { return saved_ == static_cast<long>(position_); }

  std::size_t StepCount() const { return steps_.size(); }
  /// Changes whenever the state the history holds changes: a reset, a recorded step, undo and
  /// redo. What is derived from a document's names may be kept while it stays the same.
  unsigned Revision() const { return revision_; }
  /// Bytes the steps hold (the copy of the current state not counted).
  std::size_t HeldBytes() const { return bytes_; }

  /// Replaces the limits (the defaults are MaxUndoSteps and MaxUndoBytes) and drops what no
  /// longer fits.
  void SetLimits(std::size_t steps, std::size_t bytes);

private:
  /// One step: the images of the records, counts and tables it changed, as they are on the side
  /// of the history the document is not on.
  struct Step {
    std::string Label;
    StepFields Fields = StepFields::All;
    int16_t Count = 0;            ///< the object count of the state the images belong to
    std::vector<int16_t> Numbers; ///< the records the step holds, in ascending order
    std::vector<uint8_t> Images;  ///< their images, one after the other, in the shape of Fields
    bool HasMeasures = false;
    int16_t MeasureCount = 0;
    std::vector<Measurement> Measures; ///< the first MeasureCount entries
    bool HasDynExprs = false;
    int16_t DynExprCount = 0;
    std::vector<TDynExpr> DynExprs; ///< the first DynExprCount entries

    /// Memory the step holds.
    std::size_t Bytes() const;
  };

  void EnsureSlots(int top);
  void Exchange(Step& step, Construction& c);
  void DropOldest();
  void Enforce();

  std::unique_ptr<Construction> kept_; ///< its slots: the records of the state after the last step
  int16_t count_ = 0;
  int16_t measureCount_ = 0;
  int16_t dynExprCount_ = 0;
  std::vector<Measurement> measures_; ///< MaxMeasurements entries
  std::vector<TDynExpr> dynExprs_;    ///< MaxDynExprs entries

  std::deque<Step> steps_;
  std::size_t position_ = 0; ///< steps done; steps_[position_..] can be redone
  long saved_ = 0;           ///< position of the saved state, -1 when no position is
  std::size_t bytes_ = 0;
  unsigned revision_ = 0;
  std::size_t maxSteps_ = MaxUndoSteps;
  std::size_t maxBytes_ = MaxUndoBytes;
};

} // namespace drex
