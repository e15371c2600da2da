// The history on a construction of its own: random sessions of edits taken back to the start and
// done again, byte for byte in the document's file image, and the limits and the saved state.

#include "documents/undo_history.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "documents/document_file.h"
#include "kernel/deletion.h"
#include "kernel/recalc.h"
#include "support/construction_generator.h"
#include "view/view_transform.h"

namespace drex {
namespace {

class UndoHistoryTest : public ::testing::Test {
protected:
  UndoHistoryTest() {
    GenerateMixedConstruction(doc, 300, 7);
    Pass();
    history.Reset(doc);
  }

  void Pass() { RecalcPass(doc, MakeViewArea(800, 600, doc.View), 48, 0); }
  std::vector<uint8_t> Image() {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(SerializeDocument(doc, bytes));
    return bytes;
  }
  int Random(int from, int to) { return std::uniform_int_distribution<int>(from, to)(rng); }
  int AnyObject() { return Random(1, doc.ObjCount); }
  int AnyFreePoint() {
    for (int tries = 0; tries < 100; ++tries) {
      const int n = AnyObject();
      if (doc[n].Kind == okPoint) return n;
    }
    return 0;
  }

  /// One edit of the kind a command makes, recalculated; returns the fields it is recorded over.
  StepFields Edit(int what) {
    switch (what) {
    case 0:
      doc[AnyObject()].Color = Random(0, 0xFFFFFF);
      break;
    case 1:
      doc[AnyObject()].Name.Assign(std::string(static_cast<std::size_t>(Random(1, 20)), 'a' + Random(0, 25)));
      break;
    case 2: {
      TGeomObject& o = doc[AnyObject()];
      o.Visible = o.Visible ? 0 : 1;
      break;
    }
    case 3:
      // A drag: only positions change, in the point and in everything built on it.
      if (const int p = AnyFreePoint()) {
        doc[p].X1 += Random(-80, 80);
        doc[p].Y1 += Random(-80, 80);
      }
      Pass();
      return StepFields::Geometry;
    case 4: {
      // New objects: free points, and a midpoint of two of them.
      const int base = AnyFreePoint();
      if (base == 0 || doc.ObjCount + 3 > MaxObjects) break;
      for (int k = 0; k < 2; ++k) {
        const int n = ++doc.ObjCount;
        doc[n] = doc[base];
        doc[n].X1 = Random(-300, 300);
        doc[n].Name.Assign("N" + std::to_string(n));
      }
      const int m = ++doc.ObjCount;
      doc[m] = doc[base];
      doc[m].Kind = okMidpoint;
      doc[m].RefCount = 2;
      doc[m].Refs[1] = static_cast<int16_t>(m - 2);
      doc[m].Refs[2] = static_cast<int16_t>(m - 1);
      break;
    }
    case 5: {
      // A deletion with everything built on the object, measurements renumbered or removed.
      doc[AnyObject()].Selected = 1;
      CloseSelection(doc);
      Renumbering moved;
      RemoveSelected(doc, moved);
      break;
    }
    case 6:
      if (doc.MeasureCount < MaxMeasurements)
        doc.Measurements[static_cast<std::size_t>(doc.MeasureCount++)] =
            Measurement{1, {static_cast<int16_t>(AnyObject()), static_cast<int16_t>(AnyObject()), 0}};
      break;
    case 7:
      if (doc.DynExprCount < MaxDynExprs) {
        TDynExpr& e = doc.DynExprs[static_cast<std::size_t>(doc.DynExprCount++)];
        e.Text.Assign("sin(x)+" + std::to_string(Random(0, 99)));
        e.DisplayName.Assign("f" + std::to_string(doc.DynExprCount));
      }
      break;
    default:
      // A formula or a vertex list changed in the properties dialog.
      for (int n = 1; n <= doc.ObjCount; ++n)
        if (doc[n].Kind == okFunction || doc[n].Kind == okPolyline) {
          if (doc[n].Kind == okFunction)
            doc[n].Expr1.Assign("x*" + std::to_string(Random(2, 9)));
          else if (doc[n].RefCount > 2)
            --doc[n].RefCount;
          break;
        }
      break;
    }
    Pass();
    return StepFields::All;
  }

  Construction doc;
  UndoHistory history;
  std::mt19937 rng{12345};
};

TEST_F(UndoHistoryTest, RandomSessionGoesBackToTheStartAndForwardAgainByteForByte) {
  std::vector<std::vector<uint8_t>> states{Image()};
  for (int k = 0; k < 300; ++k) {
    const StepFields fields = Edit(Random(0, 8));
    if (history.Record(doc, "step " + std::to_string(k), fields)) states.push_back(Image());
  }
  ASSERT_GT(states.size(), 250u);
  ASSERT_EQ(history.StepCount(), states.size() - 1);

  for (std::size_t k = states.size() - 1; k > 0; --k) {
    ASSERT_TRUE(history.Undo(doc));
    Pass();
    ASSERT_EQ(Image(), states[k - 1]) << "after undoing step " << k;
  }
  EXPECT_FALSE(history.Undo(doc));
  EXPECT_TRUE(history.AtSavedState());
  for (std::size_t k = 1; k < states.size(); ++k) {
    ASSERT_TRUE(history.Redo(doc));
    Pass();
    ASSERT_EQ(Image(), states[k]) << "after redoing step " << k;
  }
  EXPECT_FALSE(history.Redo(doc));
  EXPECT_FALSE(history.AtSavedState());
}

TEST_F(UndoHistoryTest, StepsHoldOnlyWhatChanged) {
  const int p = AnyFreePoint();
  doc[p].X1 += 10;
  Pass();
  ASSERT_TRUE(history.Record(doc, "drag", StepFields::Geometry));
  const std::size_t drag = history.HeldBytes();
  EXPECT_LT(drag, 300u * 200u) << "positions of the moved records only";

  doc[1].Color = 255;
  ASSERT_TRUE(history.Record(doc, "colour"));
  EXPECT_LT(history.HeldBytes() - drag, 4096u) << "one record, however many the drag moved before";

  // Selection alone is no step, and no difference either when nothing else changes.
  doc[2].Selected = doc[2].Selected ? 0 : 1;
  EXPECT_FALSE(history.Record(doc, "selection"));
  EXPECT_FALSE(history.Record(doc, "nothing", StepFields::Geometry));
  EXPECT_EQ(history.UndoLabel(), "colour");

  // The pixels and Defined a pass derives from the view are no change of the document.
  doc.View.Zoom = 3;
  Pass();
  EXPECT_FALSE(history.Record(doc, "zoom"));
}

TEST_F(UndoHistoryTest, LimitsDropTheOldestStepsFirst) {
  history.SetLimits(3, MaxUndoBytes);
  for (int k = 1; k <= 5; ++k) {
    doc[1].Color = k;
    ASSERT_TRUE(history.Record(doc, "colour " + std::to_string(k)));
  }
  EXPECT_EQ(history.StepCount(), 3u);
  EXPECT_FALSE(history.AtSavedState());
  while (history.Undo(doc)) {
  }
  EXPECT_EQ(doc[1].Color, 2) << "the first two steps were dropped";
  EXPECT_FALSE(history.AtSavedState()) << "the saved state went with them";
  EXPECT_EQ(history.RedoLabel(), "colour 3");

  // The memory limit: a deletion of most of the table does not fit beside small steps.
  history.SetLimits(MaxUndoSteps, 64 * 1024);
  EXPECT_EQ(history.StepCount(), 3u) << "three small steps fit";
  for (int n = 1; n <= doc.ObjCount; n += 2)
    doc[n].Selected = 1;
  CloseSelection(doc);
  Renumbering moved;
  RemoveSelected(doc, moved);
  ASSERT_TRUE(history.Record(doc, "delete"));
  EXPECT_LE(history.HeldBytes(), 64u * 1024);
  EXPECT_FALSE(history.CanUndo()) << "a step larger than the limit cannot be kept";
  EXPECT_FALSE(history.CanRedo()) << "the redo steps were given up by the new step";
}

TEST_F(UndoHistoryTest, SavedStateFollowsUndoAndRedo) {
  doc[1].Color = 1;
  history.Record(doc, "a");
  history.MarkSaved();
  doc[1].Color = 2;
  history.Record(doc, "b");
  EXPECT_FALSE(history.AtSavedState());
  history.Undo(doc);
  EXPECT_TRUE(history.AtSavedState());
  history.Undo(doc);
  EXPECT_FALSE(history.AtSavedState());
  // A new step where the saved state could only be redone: that state is out of reach.
  doc[1].Color = 3;
  history.Record(doc, "c");
  history.Undo(doc);
  EXPECT_FALSE(history.AtSavedState());
  EXPECT_EQ(history.RedoLabel(), "c");

  history.Reset(doc);
  EXPECT_TRUE(history.AtSavedState());
  EXPECT_FALSE(history.CanUndo() || history.CanRedo());
  EXPECT_EQ(history.HeldBytes(), 0u);
}

} // namespace
} // namespace drex
