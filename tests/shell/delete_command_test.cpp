// Deleting objects with their dependants as the user does it: the menu command, the Delete key and
// the object list's pop-up, with the question answered through the scripted desktop.

#include "shell/delete_command.h"

#include <cmath>
#include <string>

#include "dialogs/object_list.h"
#include "interaction/session.h"
#include "kernel/recalc.h"
#include "shell/commands.h"

namespace drex::test {
namespace {

std::string Question(int selected, int dependants) {
  return "Вилучити виділені об'єкти (" + std::to_string(selected) + ") та всі зв'язані з ними об'єкти (" +
         std::to_string(dependants) + ") ?";
}

class DeleteCommand : public Session {
protected:
  DeleteCommand() { InstallShellHooks(prog); }

  void AddMeasurement(uint8_t type, int a, int b, int c = 0) {
    prog.Doc.Measurements[static_cast<std::size_t>(prog.Doc.MeasureCount++)] =
        Measurement{type, {static_cast<int16_t>(a), static_cast<int16_t>(b), static_cast<int16_t>(c)}};
  }
  // A and B with the line AB, their midpoint and the crossing of AB with CD; E and F span a line
  // parallel to CD, so that the crossing of CD and EF is undefined.
  struct Figure {
    int a, b, c, d, ab, mid, cd, x, e, f, ef, never;
  };
  Figure BuildFigure() {
    Figure g{};
    g.a = FreePoint(300, 300);
    g.b = FreePoint(500, 300);
    g.c = FreePoint(450, 200);
    g.d = FreePoint(450, 400);
    g.ab = Built(okLine, {g.a, g.b});
    g.mid = Built(okMidpoint, {g.a, g.b});
    g.cd = Built(okLine, {g.c, g.d});
    g.x = Built(okIntersection, {g.ab, g.cd});
    g.e = FreePoint(600, 200);
    g.f = FreePoint(600, 400);
    g.ef = Built(okLine, {g.e, g.f});
    g.never = Built(okIntersection, {g.cd, g.ef});
    return g;
  }
  int Selected() const {
    int n = 0;
    for (int i = 1; i <= prog.Doc.ObjCount; ++i)
      n += prog.Doc[i].Selected ? 1 : 0;
    return n;
  }
};

TEST_F(DeleteCommand, MenuRemovesTheSelectionWithDependantsAndRenumbersEverything) {
  const Figure g = BuildFigure();
  AddMeasurement(1, g.a, g.c);     // removed with A
  AddMeasurement(1, g.c, g.never); // never drawn: its label stays where it was last drawn
  AddMeasurement(0, g.c, g.d, g.e);
  prog.LocusPoint = g.e;
  Obj(g.a).Selected = Obj(g.b).Selected = 1;
  Refresh();
  EXPECT_FALSE(Obj(g.never).Defined);
  EXPECT_TRUE(prog.DeleteEnabled) << "the redraw found a selection";
  prog.Drawing.LabelRects[1] = LabelRect{11, 12, 13, 14};
  const unsigned listRevision = prog.List.ListRevision;

  desk.ExpectMessage(Question(2, 3), mbYes | mbNo, mbYes);
  EXPECT_EQ(MenuClick(prog, tag::ModeDel), MenuResult::Done);
  ASSERT_EQ(Count(), 7);
  EXPECT_TRUE(prog.Modified);
  EXPECT_GT(prog.List.ListRevision, listRevision);
  EXPECT_FALSE(prog.DeleteEnabled) << "nothing is selected any more";
  EXPECT_EQ(Selected(), 0);
  // C, D, CD, E, F, EF and the undefined crossing remain, in their order.
  EXPECT_EQ(Obj(3).Kind, okLine);
  EXPECT_EQ(Obj(3).Ref(1), 1);
  EXPECT_EQ(Obj(3).Ref(2), 2);
  EXPECT_EQ(Obj(7).Ref(1), 3);
  EXPECT_EQ(Obj(7).Ref(2), 6);
  EXPECT_EQ(prog.LocusPoint, 4);
  ASSERT_EQ(prog.Doc.MeasureCount, 2);
  EXPECT_EQ(prog.Doc.Measurements[0].Objects, (std::array<int16_t, 3>{1, 7, 0}));
  EXPECT_EQ(prog.Doc.Measurements[1].Objects, (std::array<int16_t, 3>{1, 2, 4}));
  EXPECT_EQ(prog.Drawing.LabelRects[0].Left, 11);
  EXPECT_EQ(prog.Drawing.LabelRects[0].Bottom, 14);
}

TEST_F(DeleteCommand, NoRemovesNothingAndShowsTheDependantsSelected) {
  const int a = FreePoint(300, 300), b = FreePoint(500, 300);
  const int line = Built(okLine, {a, b});
  const int mid = Built(okMidpoint, {a, b});
  FreePoint(100, 100);
  Obj(a).Selected = 1;
  Refresh();
  desk.ExpectMessage(Question(1, 2), mbYes | mbNo, mbNo);
  ShellKeyDown(prog, ShellKey::Delete);
  EXPECT_EQ(Count(), 5);
  EXPECT_FALSE(prog.Modified) << "a wider selection is no change of the construction";
  EXPECT_TRUE(Obj(line).Selected);
  EXPECT_TRUE(Obj(mid).Selected);
  EXPECT_FALSE(Obj(b).Selected);
  EXPECT_TRUE(prog.DeleteEnabled);

  // With nothing selected the question says so, and Yes removes nothing.
  for (int i = 1; i <= Count(); ++i)
    Obj(i).Selected = 0;
  Refresh();
  EXPECT_FALSE(prog.DeleteEnabled);
  desk.ExpectMessage(Question(0, 0), mbYes | mbNo, mbYes);
  EXPECT_TRUE(ShellKeyDown(prog, ShellKey::Delete));
  EXPECT_EQ(Count(), 5);
  EXPECT_FALSE(prog.Modified);
}

TEST_F(DeleteCommand, DeleteKeyEndsTheRunningToolSoNoPickNamesAFormerNumber) {
  const int gone = FreePoint(100, 100);
  const int a = FreePoint(300, 300);
  FreePoint(500, 300);
  Refresh();
  Tool(LineTool);
  Click(300, 300);
  ASSERT_EQ(prog.Op.PickCount, 1);
  ASSERT_EQ(prog.Op.PickList[0], a);
  ASSERT_EQ(prog.Op.HotObject, a);
  Obj(gone).Selected = 1;

  desk.ExpectMessage(Question(1, 0), mbYes | mbNo, mbYes);
  EXPECT_TRUE(ShellKeyDown(prog, ShellKey::Delete));
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(prog.Op.ToolMode, 0);
  EXPECT_EQ(prog.Op.PickCount, 0);
  EXPECT_EQ(prog.Op.PickList[0], 0);
  EXPECT_FALSE(prog.AbortEnabled);
  EXPECT_EQ(prog.Op.HotObject, 1) << "the point under the mouse is now object 1";
}

TEST_F(DeleteCommand, OneTangentOfAPairLeavesTheOtherWorking) {
  const int centre = FreePoint(400, 300), rim = FreePoint(500, 300);
  const int circle = Built(okCircle, {centre, rim});
  const int from = FreePoint(700, 300);
  const int first = Built(okTangent, {from, circle});
  const int second = AppendTangentTwin(prog.Doc, first, prog.Naming());
  ASSERT_EQ(second, first + 1);
  Refresh();
  const double x2 = Obj(second).X2, y2 = Obj(second).Y2;
  Obj(first).Selected = 1;
  desk.ExpectMessage(Question(1, 0), mbYes | mbNo, mbYes);
  MenuClick(prog, tag::ModeDel);
  ASSERT_EQ(Count(), first);
  EXPECT_TRUE(Obj(first).Defined);
  EXPECT_DOUBLE_EQ(Obj(first).X2, x2);
  EXPECT_DOUBLE_EQ(Obj(first).Y2, y2);

  // It follows its point on its own: the touching point stays on the circle, square to the radius.
  Obj(from).X1 = 0;
  Obj(from).Y1 = 250;
  Refresh();
  const TGeomObject& t = Obj(first);
  ASSERT_TRUE(t.Defined);
  EXPECT_NEAR(std::hypot(t.X2, t.Y2), 100, 1e-9);
  EXPECT_NEAR(t.X2 * (t.X2 - 0) + t.Y2 * (t.Y2 - 250), 0, 1e-7);
}

TEST_F(DeleteCommand, PopUpDeletesExactlyItsObjectAndTheCurrentLineStaysInTheList) {
  const int a = FreePoint(300, 300), b = FreePoint(500, 300);
  const int other = FreePoint(100, 100);
  Built(okLine, {a, b});
  Obj(other).Selected = 1;
  RefreshObjectList(prog);
  ObjListClick(prog, 3);
  ASSERT_EQ(CurrentListObject(prog), 4);

  prog.List.PopupItem = -1;
  PopDelete(prog); // no line under the pop-up: no question
  EXPECT_EQ(Count(), 4);

  prog.List.PopupItem = b - 1;
  desk.ExpectMessage(Question(1, 1), mbYes | mbNo, mbYes);
  PopDelete(prog);
  ASSERT_EQ(Count(), 2);
  EXPECT_TRUE(Obj(1).Name.Equals("A"));
  EXPECT_EQ(Obj(2).X1, WorldX(100));
  EXPECT_FALSE(Obj(2).Selected) << "the pop-up selects its object alone";
  EXPECT_EQ(prog.List.PopupItem, -1);
  EXPECT_EQ(prog.List.Current, 1) << "the former current line is gone: the last line is current";
}

} // namespace
} // namespace drex::test
