// Measuring on the drawing: picking the points, the values drawn with their rectangles, removing
// a value by clicking it, the limit of the list, and what undo and deletion do to measurements.

#include <gtest/gtest.h>

#include "calc/measurement.h"
#include "interaction/session.h"
#include "shell/commands.h"

namespace drex::test {
namespace {

class MeasurementTest : public Session {
protected:
  void SetUp() override {
    InstallShellHooks(prog);
    a = FreePoint(500, 300); // (1, 0)
    b = FreePoint(400, 300); // (0, 0)
    c = FreePoint(400, 200); // (0, 1)
    d = FreePoint(700, 700); // (3, -4)
    Refresh();
  }
  const Measurement& M(int i) const { return prog.Doc.Measurements[static_cast<std::size_t>(i - 1)]; }
  const LabelRect& Rect(int i) const { return prog.Drawing.LabelRects[static_cast<std::size_t>(i - 1)]; }
  int a = 0, b = 0, c = 0, d = 0;
};

TEST_F(MeasurementTest, AnAngleTakesThreeDifferentPointsAndIsDrawnAtItsVertex) {
  MenuClick(prog, tag::Ugol);
  EXPECT_EQ(prog.InfoText, "  Обчислення кута за трьома точками: виберіть три точки");
  Click(500, 300);
  Click(500, 300); // the same point again does not count
  Click(450, 250); // nothing there
  Click(400, 300);
  EXPECT_EQ(prog.Doc.MeasureCount, 0);
  Click(400, 200);
  ASSERT_EQ(prog.Doc.MeasureCount, 1);
  EXPECT_EQ(M(1).Type, 0);
  EXPECT_EQ(M(1).Objects, (std::array<int16_t, 3>{int16_t(a), int16_t(b), int16_t(c)}));
  EXPECT_FALSE(OperationRunning(prog));
  EXPECT_TRUE(prog.Modified);
  EXPECT_TRUE(canvas.FindText("90\xC2\xB0") != nullptr);
  // The label stands up and right of the vertex, 8 pixels a digit wide and 8 high.
  EXPECT_EQ(Rect(1).Right - Rect(1).Left, 16);
  EXPECT_EQ(Rect(1).Bottom - Rect(1).Top, 8);
  EXPECT_GT(Rect(1).Left, 400);
  EXPECT_LT(Rect(1).Top, 300);
}

TEST_F(MeasurementTest, ADistanceIsShownAtTheMiddleAndRemovedByAClickOnIt) {
  MenuClick(prog, tag::Distance);
  Click(400, 300);
  Click(700, 700);
  MenuClick(prog, tag::Ugol);
  Click(500, 300);
  Click(400, 300);
  Click(400, 200);
  ASSERT_EQ(prog.Doc.MeasureCount, 2);
  EXPECT_TRUE(canvas.FindText("5") != nullptr);
  EXPECT_EQ(Rect(1).Left, 555);
  EXPECT_EQ(Rect(1).Top, 485);

  prog.Modified = false;
  MenuClick(prog, tag::MeasureDel);
  Click(300, 100); // outside every value
  EXPECT_EQ(prog.Doc.MeasureCount, 2);
  EXPECT_TRUE(OperationRunning(prog));
  Move(Rect(1).Right, Rect(1).Bottom);
  EXPECT_EQ(desk.Cursor, DelCur);
  Click(Rect(1).Right, Rect(1).Bottom);
  ASSERT_EQ(prog.Doc.MeasureCount, 1);
  EXPECT_EQ(M(1).Type, 0);
  EXPECT_TRUE(prog.Modified);
  EXPECT_FALSE(OperationRunning(prog));
  MenuClick(prog, tag::Undo);
  EXPECT_EQ(prog.Doc.MeasureCount, 2);
  EXPECT_EQ(M(1).Type, 1);
}

TEST_F(MeasurementTest, DeletingAMeasuredPointTakesItsMeasurementsOnly) {
  MenuClick(prog, tag::Distance);
  Click(400, 300);
  Click(700, 700);
  MenuClick(prog, tag::Distance);
  Click(500, 300);
  Click(400, 200);
  Click(500, 300); // select A alone
  desk.ExpectMessagePrefix("", mbYes | mbNo, mbYes);
  MenuClick(prog, tag::ModeDel);
  ASSERT_EQ(prog.Doc.MeasureCount, 1);
  // B and D moved down by one with A gone.
  EXPECT_EQ(M(1).Objects[0], b - 1);
  EXPECT_EQ(M(1).Objects[1], d - 1);
}

TEST_F(MeasurementTest, TheHundredAndFirstIsRefused) {
  prog.Doc.MeasureCount = MaxMeasurements;
  for (auto& m : prog.Doc.Measurements)
    m = Measurement{1, {int16_t(a), int16_t(b), 0}};
  desk.ExpectMessage(MeasureLimitMessage(prog), mbOK, mbOK);
  MenuClick(prog, tag::Distance);
  EXPECT_FALSE(OperationRunning(prog));
  EXPECT_EQ(MeasureLimitMessage(prog).substr(MeasureLimitMessage(prog).size() - 5), " 100.");
}

TEST_F(MeasurementTest, AMeasurementOfAnUndefinedPointIsNotDrawnAndKeepsItsRectangle) {
  // X: where the x-axis line BA meets the line CD.
  const int x = Built(okIntersection, {Built(okLine, {b, a}), Built(okLine, {c, d})});
  prog.Doc[x].Refs[0] = isTwoLines;
  prog.Doc.Measurements[0] = Measurement{1, {int16_t(b), int16_t(x), 0}};
  prog.Doc.MeasureCount = 1;
  Refresh();
  ASSERT_NE(canvas.FindText("0.6"), nullptr);
  const LabelRect before = Rect(1);
  Drag(700, 700, 700, 200); // D to (3, 1): CD runs parallel to BA
  ASSERT_FALSE(Obj(x).Defined);
  canvas.Clear();
  Redraw(prog, true);
  EXPECT_EQ(canvas.FindText("0.6"), nullptr);
  EXPECT_EQ(Rect(1).Left, before.Left);
  EXPECT_EQ(Rect(1).Top, before.Top);
}

} // namespace
} // namespace drex::test
