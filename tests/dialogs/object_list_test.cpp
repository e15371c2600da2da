// The object list: its lines, the current line across rebuilds, the check boxes, the double click
// and the pop-up menu, and the report that follows the current line.

#include "dialogs/object_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/commands.h"
#include "shell/program.h"
#include "support/construction_builder.h"
#include "support/recording_canvas.h"
#include "support/scripted_platform.h"
#include "view/redraw.h"

namespace drex {
namespace {

class ObjectListTest : public ::testing::Test {
protected:
  ObjectListTest() {
    prog.UnitLength = 48;
    prog.Surface = &canvas;
    InstallShellHooks(prog);
    prog.ObjectPropertiesHook = [this](int n) {
      opened.push_back(n);
      return true;
    };
  }
  /// n free points at (k, 0) user units, k = 1..n, then the list rebuilt.
  void Points(int n) {
    for (int k = 1; k <= n; ++k)
      b.Point(48.0 * k, 0);
    RefreshObjectList(prog);
    prog.History.Reset(prog.Doc);
  }
  int Current() const { return prog.List.Current; }
  /// Whether the last redraw drew a point (a 5 × 5 ellipse) at pixel (x, y).
  bool PointDrawnAt(int x, int y) const {
    return canvas.Find(CanvasOp::Ellipse, x - 2, y - 2, x + 3, y + 3) != nullptr;
  }

  ScriptedPlatform desktop;
  Program prog{desktop};
  RecordingCanvas canvas{800, 600};
  ConstructionBuilder b{prog.Doc};
  std::vector<int> opened; ///< objects the properties dialog was opened for
};

TEST_F(ObjectListTest, EmptyConstructionHasNoCurrentLineAndNoReport) {
  RefreshObjectList(prog);
  EXPECT_EQ(Current(), -1);
  EXPECT_EQ(CurrentListObject(prog), 0);
  EXPECT_TRUE(prog.List.Report.empty());
  ObjListClick(prog, 0);
  ObjListDblClick(prog, 0);
  EXPECT_FALSE(ObjListMouseUp(prog, MouseButton::Right, 0));
  PopProperties(prog);
  EXPECT_EQ(Current(), -1);
  EXPECT_TRUE(prog.List.Report.empty());
  EXPECT_TRUE(opened.empty());
}

TEST_F(ObjectListTest, LinesAreNumberedFromOneWithTheObjectsCaption) {
  const int a = b.Point(0, 0);
  const int line = b.Line(a, b.Point(48, 48));
  prog.Doc[line].Name.Assign("l1");
  EXPECT_EQ(ObjectListLine(prog.Doc, prog.Kinds, line), "3. Пряма (l1)");
  prog.Doc[a].Name.Assign("");
  EXPECT_EQ(ObjectListLine(prog.Doc, prog.Kinds, a), "1. Точка");
}

TEST_F(ObjectListTest, RebuildKeepsTheCurrentLineWhileItExistsElseTakesTheLast) {
  Points(5);
  EXPECT_EQ(Current(), 0) << "no current line before: line 0";
  EXPECT_EQ(prog.List.Report.back(), "Координати: (1, 0)");
  ObjListClick(prog, 3);
  EXPECT_EQ(Current(), 3);
  EXPECT_EQ(prog.List.Report.back(), "Координати: (4, 0)");
  ObjListClick(prog, 5); // no such line
  EXPECT_EQ(Current(), 3);

  const unsigned before = prog.List.ListRevision;
  b.Point(48 * 6, 0);
  RefreshObjectList(prog);
  EXPECT_EQ(Current(), 3);
  EXPECT_GT(prog.List.ListRevision, before);
  // The last object, current, goes: the new last line is current.
  ObjListClick(prog, 5);
  prog.Doc.ObjCount = 5;
  RefreshObjectList(prog);
  EXPECT_EQ(Current(), 4);
  EXPECT_EQ(prog.List.Report.back(), "Координати: (5, 0)");
  prog.Doc.ObjCount = 2;
  RefreshObjectList(prog);
  EXPECT_EQ(Current(), 1);
  prog.Doc.ObjCount = 0;
  RefreshObjectList(prog);
  EXPECT_EQ(Current(), -1);
  EXPECT_TRUE(prog.List.Report.empty());
}

TEST_F(ObjectListTest, UncheckingHidesTheObjectAtOnceAndKeepsItsLine) {
  Points(2);
  Redraw(prog, true);
  // Point 2 at (96, 0) is pixel (496, 300) in the 800 × 600 area.
  ASSERT_TRUE(PointDrawnAt(496, 300)) << canvas.Log();
  const std::string line = ObjectListLine(prog.Doc, prog.Kinds, 2);
  const unsigned listRevision = prog.List.ListRevision;
  canvas.Clear();
  ObjListClickCheck(prog, 1, false);
  EXPECT_EQ(prog.Doc[2].Visible, 0);
  EXPECT_TRUE(prog.Modified);
  EXPECT_FALSE(PointDrawnAt(496, 300)) << "redrawn without the point";
  EXPECT_TRUE(PointDrawnAt(448, 300));
  EXPECT_EQ(ObjectListLine(prog.Doc, prog.Kinds, 2), line);
  EXPECT_EQ(prog.List.ListRevision, listRevision);

  prog.Modified = false;
  canvas.Clear();
  ObjListClickCheck(prog, 1, false);
  EXPECT_FALSE(prog.Modified) << "a box set as it was changes nothing";
  EXPECT_TRUE(canvas.Calls.empty());
  ObjListClickCheck(prog, 1, true);
  EXPECT_EQ(prog.Doc[2].Visible, 1);
  EXPECT_TRUE(PointDrawnAt(496, 300));
  ObjListClickCheck(prog, 2, false); // no such line
  EXPECT_EQ(prog.Doc[1].Visible + prog.Doc[2].Visible, 2);
}

TEST_F(ObjectListTest, ReportFollowsTheConstructionOnEveryFullRedraw) {
  Points(2);
  ObjListClick(prog, 1);
  const unsigned revision = prog.List.ReportRevision;
  Redraw(prog, true);
  EXPECT_EQ(prog.List.ReportRevision, revision) << "an unchanged report is not shown again";
  prog.Doc[2].X1 = 48 * 3;
  Redraw(prog, true);
  EXPECT_GT(prog.List.ReportRevision, revision);
  EXPECT_EQ(prog.List.Report, (std::vector<std::string>{"Вільна точка", "Координати: (3, 0)"}));
  prog.Config.CoordSystem = 1;
  prog.Config.AnswerDigits = 4;
  Redraw(prog, true);
  EXPECT_EQ(prog.List.Report.back(), "Координати: (3, 0°)");
}

TEST_F(ObjectListTest, DoubleClickOpensThePropertiesOfItsLine) {
  Points(3);
  ObjListDblClick(prog, 2);
  EXPECT_EQ(opened, std::vector<int>{3});
  EXPECT_EQ(Current(), 2);
  EXPECT_EQ(prog.List.Report.back(), "Координати: (3, 0)");
  ObjListDblClick(prog, 3); // no such line
  EXPECT_EQ(opened.size(), 1u);
  // Without the dialog nothing opens.
  prog.ObjectPropertiesHook = nullptr;
  ObjListDblClick(prog, 0);
  EXPECT_EQ(Current(), 0);
}

TEST_F(ObjectListTest, RightButtonOnALineOpensThePopupForThatLine) {
  Points(3);
  ObjListClick(prog, 0);
  EXPECT_TRUE(ObjListMouseUp(prog, MouseButton::Right, 2));
  EXPECT_EQ(prog.List.PopupItem, 2);
  EXPECT_EQ(Current(), 0) << "the current line stays";
  PopProperties(prog);
  EXPECT_EQ(opened, std::vector<int>{3});

  EXPECT_FALSE(ObjListMouseUp(prog, MouseButton::Left, 1));
  EXPECT_EQ(prog.List.PopupItem, 2) << "only the right button counts";
  EXPECT_FALSE(ObjListMouseUp(prog, MouseButton::Right, -1));
  EXPECT_EQ(prog.List.PopupItem, -1);
  PopProperties(prog);
  EXPECT_EQ(opened.size(), 1u);

  // A rebuild that loses the popup's line forgets it.
  ObjListMouseUp(prog, MouseButton::Right, 2);
  prog.Doc.ObjCount = 2;
  RefreshObjectList(prog);
  EXPECT_EQ(prog.List.PopupItem, -1);
}

} // namespace
} // namespace drex
