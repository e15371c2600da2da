// Translation and rotation by mouse, session by session: the command, the picks it takes and
// refuses, the guide lines and status text while the mouse moves, and the completing click.

#include <string>

#include "shell/commands.h"
#include "shell/undo_command.h"
#include "session.h"

namespace drex::test {
namespace {

constexpr double Eps = 1e-9;

using TransformByMouse = Session;

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

TEST_F(TransformByMouse, TranslationMovesTheLineWithItsPointsOrItsCopies) {
  const int a = FreePoint(300, 300), b = FreePoint(500, 300);
  const int line = Built(okLine, {a, b});
  Refresh();

  MenuClick(prog, 303);
  EXPECT_EQ(prog.InfoText, "  Паралельне перенесення об'єктів: вкажіть вихідний об'єкт");
  EXPECT_TRUE(prog.AbortEnabled);
  EXPECT_TRUE(desk.TimerRunning(TimerId::Blic));
  Click(400, 300);
  ASSERT_EQ(prog.Op.PickCount, 1);
  EXPECT_EQ(prog.Op.PickList[0], line);
  EXPECT_EQ(prog.InfoText, "  Паралельне перенесення об'єктів: виберіть вектор перенесення");

  canvas.Clear();
  Move(600, 300);
  EXPECT_TRUE(EndsWith(prog.Op.StatusLine, "  (2, 0); Вектор перенесення (2, 0)")) << prog.Op.StatusLine;
  const CanvasCall* guide = canvas.FindLine(400, 300, 600, 300);
  ASSERT_NE(guide, nullptr) << canvas.Log();
  EXPECT_EQ(guide->Pen.Style, PenStyle::Dot);
  EXPECT_EQ(guide->Pen.Color, ColorBlack);

  desk.ExpectMessage("Створити рузультуючі об'єкти (3 шт.) ?", mbYes | mbNo, mbNo);
  Click(600, 300);
  EXPECT_EQ(prog.Op.TransformMode, 0);
  EXPECT_EQ(Count(), 3);
  EXPECT_DOUBLE_EQ(Obj(a).X1, 100);
  EXPECT_DOUBLE_EQ(Obj(b).X1, 300);
  EXPECT_DOUBLE_EQ(Obj(a).Y1, 0);
  EXPECT_TRUE(prog.Modified);

  // One step takes the whole translation back.
  UndoCommand(prog);
  EXPECT_DOUBLE_EQ(Obj(a).X1, -100);
  EXPECT_DOUBLE_EQ(Obj(b).X1, 100);
  EXPECT_FALSE(prog.History.CanUndo());

  MenuClick(prog, 303);
  Click(400, 300);
  desk.ExpectMessage("Створити рузультуючі об'єкти (3 шт.) ?", mbYes | mbNo, mbYes);
  Click(400, 100);
  ASSERT_EQ(Count(), 6);
  EXPECT_EQ(Obj(6).Ref(1), 4);
  EXPECT_EQ(Obj(6).Ref(2), 5);
  EXPECT_DOUBLE_EQ(Obj(4).Y1, 200);
  EXPECT_DOUBLE_EQ(Obj(5).Y1, 200);
  EXPECT_DOUBLE_EQ(Obj(a).Y1, 0);
  UndoCommand(prog);
  EXPECT_EQ(Count(), 3);
}

TEST_F(TransformByMouse, RotationTakesAnObjectThenAPointAndTurnsTheWayTheMouseTurned) {
  const int centre = FreePoint(300, 300); // world (-100, 0)
  const int top = FreePoint(300, 100);    // world (-100, 200)
  const int upright = Built(okLine, {centre, top});
  const int p = FreePoint(500, 300); // world (100, 0)
  // A polynomial along y = -200 from x = 200 to 300.
  const int polynomial = Built(okPolynomial, {FreePoint(600, 500), FreePoint(700, 500)});
  Refresh();
  ASSERT_EQ(HitTest(prog, 650, 500), polynomial);
  ASSERT_EQ(HitTest(prog, 300, 200), upright);

  MenuClick(prog, 304);
  EXPECT_EQ(prog.InfoText, "  Поворот об'єктів: вкажіть вихідний об'єкт");
  Click(650, 500); // a polynomial is not taken
  EXPECT_EQ(prog.Op.PickCount, 0);
  Click(500, 300);
  ASSERT_EQ(prog.Op.PickCount, 1);
  EXPECT_EQ(prog.InfoText, "  Поворот об'єктів: виберіть точку - центр повороту");
  Click(300, 200); // the centre must be a point, not the line
  EXPECT_EQ(prog.Op.PickCount, 1);
  Click(300, 300);
  ASSERT_EQ(prog.Op.PickCount, 2);
  EXPECT_EQ(prog.Op.PickList[1], centre);

  canvas.Clear();
  Move(300, 100);
  EXPECT_TRUE(EndsWith(prog.Op.StatusLine, "; Поворот на кут -90°")) << prog.Op.StatusLine;
  EXPECT_NE(canvas.FindLine(500, 300, 300, 300), nullptr) << canvas.Log();
  EXPECT_NE(canvas.FindLine(300, 300, 300, 100), nullptr) << canvas.Log();

  // A click on the pixel the angle is measured about gives no angle: nothing happens.
  Click(300, 300);
  EXPECT_EQ(prog.Op.TransformMode, 2);
  EXPECT_DOUBLE_EQ(Obj(p).X1, 100);

  desk.ExpectMessage("Створити рузультуючі об'єкти (1 шт.) ?", mbYes | mbNo, mbNo);
  Click(300, 100);
  EXPECT_EQ(prog.Op.TransformMode, 0);
  EXPECT_NEAR(Obj(p).X1, -100, Eps);
  EXPECT_NEAR(Obj(p).Y1, 200, Eps);
  EXPECT_DOUBLE_EQ(Obj(centre).X1, -100);
  EXPECT_DOUBLE_EQ(Obj(top).Y1, 200);
}

TEST_F(TransformByMouse, AClickOnTheFirstPickGivesNoVectorAndAsksNothing) {
  const int p = FreePoint(500, 300);
  Refresh();
  MenuClick(prog, 303);
  Click(500, 300);
  Move(500, 300);
  EXPECT_TRUE(EndsWith(prog.Op.StatusLine, "; Вектор перенесення (0, 0)"));
  Click(500, 300);
  EXPECT_EQ(prog.Op.TransformMode, 1);
  EXPECT_EQ(prog.Op.PickCount, 1);
  EXPECT_DOUBLE_EQ(Obj(p).X1, 100);
  EXPECT_FALSE(prog.History.CanUndo());
}

} // namespace
} // namespace drex::test
