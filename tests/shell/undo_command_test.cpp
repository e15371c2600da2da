// Undo and redo as a user reaches them: every kind of command taken back and done again through
// the menu, compared with the document's file image before and after; the hints; Modified through
// saving; new and loaded documents; a running operation.

#include "shell/undo_command.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "dialogs/object_list.h"
#include "documents/document_commands.h"
#include "documents/document_file.h"
#include "interaction/session.h"
#include "kernel/cp1251.h"
#include "shell/commands.h"

namespace drex::test {
namespace {

class UndoCommand : public Session {
protected:
  UndoCommand() { InstallShellHooks(prog); }

  std::vector<uint8_t> Image() const {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(SerializeDocument(prog.Doc, bytes));
    return bytes;
  }
  std::string Name(int n) const { return Cp1251ToUtf8(prog.Doc[n].Name.Bytes()); }
  /// The properties dialog as the user fills it, then "Застосувати".
  void Dialog(std::function<void(PropertiesModel&)> edit) {
    prog.PropertiesForm = [edit](PropertiesModel& m) {
      edit(m);
      return m.Confirm();
    };
  }
  std::string UndoHintText() const { return UndoHint(prog, "-"); }
  std::string RedoHintText() const { return RedoHint(prog, "-"); }
};

TEST_F(UndoCommand, EveryKindOfCommandIsOneStepBackAndForth) {
  std::vector<std::vector<uint8_t>> states{Image()};
  std::vector<std::string> hints;
  const auto stepDone = [&](const std::string& name) {
    EXPECT_EQ(UndoHintText(), "Скасувати: " + name);
    states.push_back(Image());
    hints.push_back(UndoHintText());
  };

  // A line through two points made on the way: the three objects are one step.
  MenuClick(prog, LineTool);
  Click(200, 300);
  Click(600, 300);
  ASSERT_EQ(Count(), 3);
  stepDone("побудова 3 об'єктів");
  MenuClick(prog, CircleTool);
  Click(200, 300);
  Click(300, 200);
  ASSERT_EQ(Count(), 5);
  stepDone("побудова 2 об'єктів");

  // A drag in several moves, from press to release, is one step.
  Drag(300, 200, 350, 150, 6);
  ASSERT_DOUBLE_EQ(Obj(4).X1, WorldX(350));
  stepDone("переміщення об'єкта " + Name(4));

  Dialog([](PropertiesModel& m) { m.ObjName1 = "m"; });
  ObjListClick(prog, 2);
  MenuClick(prog, tag::Change);
  ASSERT_EQ(Name(3), "m");
  stepDone("зміна об'єкта m");

  ObjListClickCheck(prog, 4, false);
  stepDone("приховування об'єкта " + Name(5));

  Dialog([](PropertiesModel& m) {
    m.X = "1";
    m.Y = "2";
  });
  MenuClick(prog, tag::FirstByParams);
  ASSERT_EQ(Count(), 6);
  stepDone("побудова об'єкта " + Name(6));

  // The list's own deletion selects its object inside the command: undo brings that back too.
  prog.List.PopupItem = 0;
  desk.ExpectMessage("Вилучити виділені об'єкти (1) та всі зв'язані з ними об'єкти (2) ?", mbYes | mbNo, mbYes);
  PopDelete(prog);
  ASSERT_EQ(Count(), 3);
  stepDone("вилучення 3 об'єктів");

  for (std::size_t k = states.size() - 1; k > 0; --k) {
    EXPECT_EQ(prog.Op.ToolMode, 0);
    ASSERT_EQ(MenuClick(prog, tag::Undo), MenuResult::Done);
    ASSERT_EQ(Image(), states[k - 1]) << "undoing " << hints[k - 1];
    EXPECT_EQ(RedoHintText(), "Повторити: " + hints[k - 1].substr(std::string("Скасувати: ").size()));
    EXPECT_EQ(prog.List.Current >= 0, Count() > 0) << "the list follows";
  }
  EXPECT_EQ(UndoHintText(), "-");
  EXPECT_FALSE(prog.Modified) << "back at the state the program started with";
  for (std::size_t k = 1; k < states.size(); ++k) {
    MenuClick(prog, tag::Redo);
    ASSERT_EQ(Image(), states[k]) << "redoing " << hints[k - 1];
  }
  EXPECT_EQ(RedoHintText(), "-");
  EXPECT_TRUE(prog.Modified);
}

TEST_F(UndoCommand, DeletingTheSelectionComesBackSelected) {
  const int a = FreePoint(300, 300), b = FreePoint(500, 300);
  Built(okLine, {a, b});
  Built(okMidpoint, {a, b});
  FreePoint(100, 100);
  Refresh();
  Click(300, 300);
  Click(500, 300, true);
  const std::vector<uint8_t> selected = Image();
  desk.ExpectMessage("Вилучити виділені об'єкти (2) та всі зв'язані з ними об'єкти (2) ?", mbYes | mbNo, mbYes);
  ShellKeyDown(prog, ShellKey::Delete);
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(UndoHintText(), "Скасувати: вилучення 4 об'єктів");
  MenuClick(prog, tag::Undo);
  EXPECT_EQ(Image(), selected);
  EXPECT_TRUE(prog.DeleteEnabled) << "the selection is there to delete again";
  EXPECT_FALSE(prog.History.CanUndo()) << "selecting was no step of its own";
}

TEST_F(UndoCommand, ModifiedFollowsTheHistoryThroughSaving) {
  const std::string path = (std::filesystem::temp_directory_path() / "drex2d_undo_saved.d2d").string();
  MenuClick(prog, PointTool);
  Click(100, 100);
  ASSERT_TRUE(prog.Modified);
  ASSERT_TRUE(SaveDocument(prog, path));
  EXPECT_FALSE(prog.Modified);
  MenuClick(prog, PointTool);
  Click(200, 100);
  EXPECT_TRUE(prog.Modified);
  MenuClick(prog, tag::Undo);
  EXPECT_FALSE(prog.Modified) << "back at the saved state";
  MenuClick(prog, tag::Undo);
  EXPECT_TRUE(prog.Modified);
  MenuClick(prog, tag::Redo);
  EXPECT_FALSE(prog.Modified);
  MenuClick(prog, tag::Redo);
  EXPECT_TRUE(prog.Modified);
  EXPECT_TRUE(prog.History.CanUndo()) << "saving kept the history";

  // Loading starts a fresh history; so does a new document.
  ASSERT_EQ(LoadDocument(prog, path), LoadOk);
  EXPECT_FALSE(prog.History.CanUndo() || prog.History.CanRedo());
  EXPECT_FALSE(prog.Modified);
  MenuClick(prog, PointTool);
  Click(300, 100);
  desk.ExpectMessage(prog.Msgs[32], mbYes | mbNo, mbYes);
  MenuClick(prog, tag::NewFile);
  EXPECT_FALSE(prog.History.CanUndo());
  EXPECT_EQ(MenuClick(prog, tag::Undo), MenuResult::Done);
  EXPECT_EQ(Count(), 0);
  std::remove(path.c_str());
}

TEST_F(UndoCommand, RunningOperationIsStoppedAndWhatItBuiltIsItsOwnStep) {
  MenuClick(prog, PointTool);
  Click(100, 100);
  MenuClick(prog, LineTool);
  Click(400, 400); // a point made on the way; the line still waits for its second point
  ASSERT_EQ(Count(), 2);
  ASSERT_GT(prog.Op.ToolMode, 0);
  MenuClick(prog, tag::Undo);
  EXPECT_EQ(prog.Op.ToolMode, 0) << "the tool was stopped";
  EXPECT_FALSE(prog.AbortEnabled);
  EXPECT_EQ(Count(), 1) << "the point made on the way was a step of its own";
  EXPECT_EQ(RedoHintText(), "Повторити: побудова об'єкта " + std::string("B"));
  MenuClick(prog, tag::Undo);
  EXPECT_EQ(Count(), 0);
}

TEST_F(UndoCommand, ReleaseHandledDuringTheRedrawOfAPressIsPartOfItsStep) {
  // The desktop delivers the release while the click's redraw lets events through, before the
  // midpoint is computed: the construction is still one step, recorded recalculated.
  const auto click = [this](int x, int y) {
    Move(x, y);
    desk.PendingEvents = [this, x, y] {
      desk.PendingEvents = nullptr;
      PlaceMouseUp(prog, MouseButton::Left, false, false, x, y);
    };
    PlaceMouseDown(prog, MouseButton::Left, false, false, x, y);
    desk.PendingEvents = nullptr;
  };
  MenuClick(prog, PointTool);
  click(200, 300);
  MenuClick(prog, PointTool);
  click(600, 300);
  MenuClick(prog, MidpointTool);
  click(200, 300);
  click(600, 300);
  ASSERT_EQ(Count(), 3);
  EXPECT_EQ(UndoHintText(), "Скасувати: побудова об'єкта " + Name(3));
  const double midX = Obj(3).X1, midY = Obj(3).Y1;
  click(200, 300); // selects A: no step
  desk.ExpectMessage("Вилучити виділені об'єкти (1) та всі зв'язані з ними об'єкти (1) ?", mbYes | mbNo, mbYes);
  ShellKeyDown(prog, ShellKey::Delete);
  MenuClick(prog, tag::Undo);
  MenuClick(prog, tag::Undo);
  EXPECT_EQ(Count(), 2);
  EXPECT_TRUE(prog.History.CanRedo()) << "no step was made up on the way back";
  MenuClick(prog, tag::Redo);
  EXPECT_EQ(Obj(3).X1, midX);
  EXPECT_EQ(Obj(3).Y1, midY);
  EXPECT_EQ(RedoHintText(), "Повторити: вилучення 2 об'єктів");
  MenuClick(prog, tag::Redo);
  EXPECT_EQ(Count(), 1);
  EXPECT_FALSE(prog.History.CanRedo());
}

TEST(StepNames, CountsAgreeWithTheirNumber) {
  ScriptedPlatform desk;
  Program prog{desk};
  for (int k = 0; k < 21; ++k)
    prog.AppendObject(okPoint);
  prog.History.Reset(prog.Doc);
  prog.Doc.ObjCount = 0;
  EXPECT_EQ(StepLabel(prog, StepAction::Delete, 0), "вилучення 21 об'єкта");
  prog.Doc.ObjCount = 10;
  EXPECT_EQ(StepLabel(prog, StepAction::Delete, 0), "вилучення 11 об'єктів");
  prog.Doc.ObjCount = 20;
  EXPECT_EQ(StepLabel(prog, StepAction::Delete, 0), "вилучення 1 об'єкта");
  EXPECT_EQ(StepLabel(prog, StepAction::Make, 0), "зміна документа") << "a step with no object of its own";
  for (const NamedText& t : StepTexts)
    EXPECT_FALSE(StepText(prog, t.Name).empty()) << t.Name;
}

} // namespace
} // namespace drex::test
