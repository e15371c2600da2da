// The transformation dialog through its model: what it offers, how its boxes check and keep
// their texts, and what "Виконати" does to the construction, in place and on copies.

#include <cmath>
#include <string>

#include "calc/calcul_model.h"
#include "dialogs/transform_model.h"
#include "interaction/session.h"
#include "kernel/cp1251.h"
#include "kernel/math2d.h"
#include "kernel/recalc.h"
#include "shell/undo_command.h"

namespace drex::test {
namespace {

constexpr double Eps = 1e-9;

class TransformDialog : public Session {
protected:
  TransformDialog() {
    prog.Drawing.Hooks.RefreshReport = [this] { ++redraws; };
  }

  /// A free point at world (x, y).
  int At(double x, double y) {
    const int n = prog.AppendObject(okPoint);
    Obj(n).X1 = x;
    Obj(n).Y1 = y;
    return n;
  }
  /// Refreshes the construction and the model's lists, and chooses `target` (and `centre`).
  void Choose(int target, int centre = 0) {
    Refresh();
    model.Refresh();
    for (std::size_t k = 0; k < model.Targets().size(); ++k)
      if (model.Targets()[k].ObjNo == target) model.SelectTarget(static_cast<int>(k));
    for (std::size_t k = 0; k < model.Centres().size(); ++k)
      if (model.Centres()[k].ObjNo == centre) model.SelectCentre(static_cast<int>(k));
  }
  /// Types `text` into `box` and leaves it.
  void Type(TransformBox box, const std::string& text) {
    model.SetText(box, text);
    model.LeaveBox(box);
  }

  TransformModel model{prog};
  int redraws = 0;
};

TEST_F(TransformDialog, TranslationMovesTheFreeAncestorsOnceWithOneRedrawAndOneUndoStep) {
  prog.UnitLength = 48;
  const int a = At(10, 20), b = At(-30, 40);
  const int m = Built(okMidpoint, {a, b});
  const int other = At(5, 5);
  Choose(m);
  model.SetPage(TranslateOp);
  Type(TransformBox::PsX, "1");
  Type(TransformBox::PsY, "2");
  redraws = 0;
  ASSERT_TRUE(model.Execute());

  EXPECT_DOUBLE_EQ(Obj(a).X1, 58);
  EXPECT_DOUBLE_EQ(Obj(a).Y1, 116);
  EXPECT_DOUBLE_EQ(Obj(b).X1, 18);
  EXPECT_DOUBLE_EQ(Obj(b).Y1, 136);
  EXPECT_DOUBLE_EQ(Obj(m).X1, 38);
  EXPECT_DOUBLE_EQ(Obj(m).Y1, 126);
  EXPECT_DOUBLE_EQ(Obj(other).X1, 5);
  EXPECT_EQ(redraws, 1);
  EXPECT_TRUE(prog.Modified);
  // The transformed objects are the selection.
  EXPECT_TRUE(Obj(a).Selected && Obj(b).Selected && Obj(m).Selected);
  EXPECT_FALSE(Obj(other).Selected);

  ASSERT_TRUE(prog.History.CanUndo());
  UndoCommand(prog);
  EXPECT_DOUBLE_EQ(Obj(a).X1, 10);
  EXPECT_DOUBLE_EQ(Obj(b).Y1, 40);
  EXPECT_FALSE(prog.History.CanUndo());
}

TEST_F(TransformDialog, CopiesOfALineReferToTheCopiedPointsAndOnlyTheyMove) {
  const int a = At(0, 0), b = At(100, 0);
  const int line = Built(okLine, {a, b});
  const int c = At(50, 50); // takes the letter C before the copies are named
  Choose(line);
  model.SetPage(TranslateOp);
  model.SetMakeNew(true);
  Type(TransformBox::PsX, "1");
  desk.ExpectMessage("Створити рузультуючі об'єкти (3 шт.) ?", mbYes | mbNo, mbYes);
  ASSERT_TRUE(model.Execute());

  ASSERT_EQ(Count(), 7);
  const int a2 = 5, b2 = 6, line2 = 7;
  EXPECT_TRUE(Obj(a2).Name.Equals("D"));
  EXPECT_TRUE(Obj(b2).Name.Equals("E"));
  EXPECT_EQ(Obj(line2).Kind, okLine);
  EXPECT_EQ(Obj(line2).Ref(1), a2);
  EXPECT_EQ(Obj(line2).Ref(2), b2);
  EXPECT_FALSE(Obj(line2).Name.Equals(Obj(line).Name.Bytes()));
  EXPECT_DOUBLE_EQ(Obj(a2).X1, 100);
  EXPECT_DOUBLE_EQ(Obj(b2).X1, 200);
  EXPECT_DOUBLE_EQ(Obj(line2).X2, 200); // recalculated from the copies
  EXPECT_DOUBLE_EQ(Obj(a).X1, 0);
  EXPECT_DOUBLE_EQ(Obj(b).X1, 100);
  EXPECT_DOUBLE_EQ(Obj(c).X1, 50);
  EXPECT_TRUE(Obj(a2).Selected && Obj(b2).Selected && Obj(line2).Selected);
  EXPECT_FALSE(Obj(a).Selected || Obj(b).Selected || Obj(line).Selected);
  // The new objects are offered at once.
  EXPECT_EQ(model.Targets().size(), 7u);

  UndoCommand(prog);
  EXPECT_EQ(Count(), 4);

  // No transforms the objects themselves.
  Choose(line);
  desk.ExpectMessage("Створити рузультуючі об'єкти (3 шт.) ?", mbYes | mbNo, mbNo);
  ASSERT_TRUE(model.Execute());
  EXPECT_EQ(Count(), 4);
  EXPECT_DOUBLE_EQ(Obj(a).X1, 100);
  EXPECT_DOUBLE_EQ(Obj(b).X1, 200);
}

TEST_F(TransformDialog, CopiesThatWouldPassTheLimitAreRefusedWithNothingMoved) {
  const int a = At(0, 0), b = At(100, 0);
  const int line = Built(okLine, {a, b});
  const int filler = At(1, 1);
  while (Count() < 9999) {
    ++prog.Doc.ObjCount;
    Obj(Count()) = Obj(filler);
  }
  Choose(line);
  model.SetPage(TranslateOp);
  model.SetMakeNew(true);
  Type(TransformBox::PsX, "1");
  desk.ExpectMessage("Створити рузультуючі об'єкти (3 шт.) ?", mbYes | mbNo, mbYes);
  desk.ExpectMessage(prog.Msgs[69], mbOK, mbOK);
  EXPECT_FALSE(model.Execute());
  EXPECT_EQ(Count(), 9999);
  EXPECT_DOUBLE_EQ(Obj(a).X1, 0);
  EXPECT_DOUBLE_EQ(Obj(b).X1, 100);
}

TEST_F(TransformDialog, RotationTurnsAboutTheCentreAsItWasBeforeAnythingMoved) {
  // A segment turned about its own midpoint keeps its length and its midpoint.
  const int a = At(-100, 0), b = At(100, 0);
  const int line = Built(okLine, {a, b});
  const int m = Built(okMidpoint, {a, b});
  const int far = At(100, 0), origin = At(0, 0);
  Choose(line, m);
  model.SetPage(RotateOp);
  Type(TransformBox::RotCut, "90");
  ASSERT_TRUE(model.Execute());
  EXPECT_NEAR(Obj(a).X1, 0, Eps);
  EXPECT_NEAR(Obj(a).Y1, -100, Eps);
  EXPECT_NEAR(Obj(b).Y1, 100, Eps);
  EXPECT_NEAR(Obj(line).Length(), 200, Eps);
  EXPECT_NEAR(Obj(m).X1, 0, Eps);
  EXPECT_NEAR(Obj(m).Y1, 0, Eps);

  // A point turned about itself stays; (1, 0) turned about the origin comes to (0, 1).
  Choose(origin, origin);
  ASSERT_TRUE(model.Execute());
  EXPECT_NEAR(Obj(origin).X1, 0, Eps);
  EXPECT_NEAR(Obj(origin).Y1, 0, Eps);
  Choose(far, origin);
  ASSERT_TRUE(model.Execute());
  EXPECT_NEAR(Obj(far).X1, 0, Eps);
  EXPECT_NEAR(Obj(far).Y1, 100, Eps);
}

TEST_F(TransformDialog, APointOnACircleTurnsWithItsCircle) {
  const int centre = At(100, 0), rim = At(200, 0), origin = At(0, 0);
  const int circle = Built(okCircle, {centre, rim});
  Refresh();
  const int on = prog.AppendObject(okPointOn);
  Obj(on).Refs[1] = static_cast<int16_t>(circle);
  Obj(on).X1 = 100;
  Obj(on).Y1 = 100; // the top of the circle
  AttachPoint(prog.Doc, on);
  Choose(on, origin);
  model.SetPage(RotateOp);
  Type(TransformBox::RotCut, "90");
  ASSERT_TRUE(model.Execute());
  // The circle's centre comes to (0, 100); the point goes on to the left of it.
  EXPECT_NEAR(Obj(centre).X1, 0, Eps);
  EXPECT_NEAR(Obj(centre).Y1, 100, Eps);
  EXPECT_NEAR(Obj(on).X1, -100, 1e-6);
  EXPECT_NEAR(Obj(on).Y1, 100, 1e-6);
}

TEST_F(TransformDialog, ScalingKeepsACoordinateForAZeroFactorAndMirrorsForMinusOne) {
  const int p = At(30, 40);
  Choose(p);
  EXPECT_EQ(model.Page(), ScaleOp);
  Type(TransformBox::ZoomTx, "0");
  Type(TransformBox::ZoomTy, "-1");
  ASSERT_TRUE(model.Execute());
  EXPECT_DOUBLE_EQ(Obj(p).X1, 30);
  EXPECT_DOUBLE_EQ(Obj(p).Y1, -40);
  Type(TransformBox::ZoomTx, "-1");
  Type(TransformBox::ZoomTy, "2");
  ASSERT_TRUE(model.Execute());
  EXPECT_DOUBLE_EQ(Obj(p).X1, -30);
  EXPECT_DOUBLE_EQ(Obj(p).Y1, -80);
}

TEST_F(TransformDialog, BoxesCheckAsTypedKeepFullPrecisionAndRememberTheirTexts) {
  EXPECT_EQ(model.Text(TransformBox::PsX), "0");
  EXPECT_EQ(model.Text(TransformBox::RotCut), "1");
  EXPECT_EQ(model.Text(TransformBox::ZoomTy), "1");
  EXPECT_TRUE(model.OkEnabled());

  model.SetText(TransformBox::ZoomTx, "");
  EXPECT_EQ(model.BoxError(TransformBox::ZoomTx), BoxEmpty);
  EXPECT_FALSE(model.OkEnabled());
  // Only the current page's boxes count.
  model.SetPage(TranslateOp);
  EXPECT_TRUE(model.OkEnabled());
  model.SetText(TransformBox::PsY, "2*(");
  EXPECT_EQ(model.BoxError(TransformBox::PsY), BoxNotComputable);
  model.SetText(TransformBox::PsX, "1/0");
  EXPECT_TRUE(model.Red(TransformBox::PsX));
  EXPECT_FALSE(model.OkEnabled());
  model.LeaveBox(TransformBox::PsX);
  EXPECT_EQ(model.Text(TransformBox::PsX), "1/0");
  EXPECT_TRUE(model.History(TransformBox::PsX).empty());

  // A left box shows its value exactly: 123 stays 123, a third keeps every digit.
  Type(TransformBox::RotCut, "123");
  EXPECT_EQ(model.Text(TransformBox::RotCut), "123");
  Type(TransformBox::RotCut, "1/3");
  double back = 0;
  ASSERT_TRUE(ParseNumberText(model.Text(TransformBox::RotCut), back));
  EXPECT_EQ(back, 1.0 / 3.0);
  Type(TransformBox::RotCut, "pi");
  Type(TransformBox::RotCut, "123");
  EXPECT_EQ(model.History(TransformBox::RotCut), (std::vector<std::string>{"PI", "1/3", "123"}));

  // The rotation uses the angle as typed.
  const int p = At(100, 0), o = At(0, 0);
  Choose(p, o);
  model.SetPage(RotateOp);
  ASSERT_TRUE(model.Execute());
  EXPECT_NEAR(Obj(p).X1, 100 * std::cos(123 * 3.14159265358979323846 / 180), Eps);
  EXPECT_NEAR(Obj(p).Y1, 100 * std::sin(123 * 3.14159265358979323846 / 180), Eps);
}

TEST_F(TransformDialog, RefusalsChangeNothing) {
  const int p = At(10, 10);
  const int undefinedPoint = At(0, 0);
  Choose(0);
  model.SetPage(TranslateOp);
  Type(TransformBox::PsX, "1");
  desk.ExpectMessage(prog.Msgs[0], mbOK, mbOK);
  EXPECT_FALSE(model.Execute());

  // A value that does not compute is refused, never taken as 0.
  Choose(p);
  model.SetText(TransformBox::PsX, "1/0");
  desk.ExpectMessage(prog.Msgs[2], mbOK, mbOK);
  EXPECT_FALSE(model.Execute());

  // The centre list holds only defined points, and a rotation without one is refused.
  Obj(undefinedPoint).Refs[1] = 9999; // a broken reference makes it undefined
  Obj(undefinedPoint).RefCount = 1;
  Choose(p, undefinedPoint);
  EXPECT_EQ(model.Centres().size(), 1u);
  EXPECT_EQ(model.CentreIndex(), -1);
  model.SetPage(RotateOp);
  desk.ExpectMessage(prog.Msgs[1], mbOK, mbOK);
  EXPECT_FALSE(model.Execute());
  EXPECT_DOUBLE_EQ(Obj(p).X1, 10);
  EXPECT_DOUBLE_EQ(Obj(p).Y1, 10);
}

TEST_F(TransformDialog, ObjectsOfTheSameNameAreToldApartByNumber) {
  const int first = At(10, 0), second = At(20, 0);
  Obj(second).Name.Assign("A");
  const int graph = prog.AppendObject(okFunction);
  Choose(first);
  ASSERT_EQ(model.Targets().size(), 2u); // the graph is not offered
  EXPECT_EQ(model.Targets()[0].Name, model.Targets()[1].Name);
  EXPECT_EQ(model.TargetIndex(), 0);
  model.SetPage(TranslateOp);
  Type(TransformBox::PsX, "1");
  ASSERT_TRUE(model.Execute());
  EXPECT_DOUBLE_EQ(Obj(first).X1, 110);
  EXPECT_DOUBLE_EQ(Obj(second).X1, 20);
  // The choice survives a refresh while its number still holds that name.
  model.Refresh();
  EXPECT_EQ(model.TargetIndex(), 0);
  (void)graph;
}

} // namespace
} // namespace drex::test
