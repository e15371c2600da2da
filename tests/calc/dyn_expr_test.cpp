// Dynamic expressions over a construction: the measurement calls with their refusals, the
// precision their values enter the formula with, and the grid with its frozen columns.

#include <gtest/gtest.h>

#include <string>

#include "calc/dyn_expr.h"
#include "calc/expr_dialog_model.h"
#include "interaction/session.h"
#include "kernel/cp1251.h"
#include "shell/commands.h"
#include "shell/undo_command.h"

namespace drex::test {
namespace {

class DynExprTest : public Session {
protected:
  // A(0, 0), B(1, 0), C(1, 1) in user units (100 internal units each), a line through A and B.
  void SetUp() override {
    a = FreePoint(400, 300);
    b = FreePoint(500, 300);
    c = FreePoint(500, 200);
    ab = Built(okLine, {a, b});
    Refresh();
  }
  std::string Eval(const std::string& text) { return EvaluateDynExpr(prog, text); }
  void Add(const std::string& text, const std::string& name = "") {
    TDynExpr& e = prog.Doc.DynExprs[static_cast<std::size_t>(prog.Doc.DynExprCount++)];
    e.Text.Assign(NormalizeDynExpr(text));
    e.DisplayName.Assign(Utf8ToCp1251(name));
  }
  int a = 0, b = 0, c = 0, ab = 0;
};

TEST_F(DynExprTest, MeasurementCallsGiveTheirValuesInUserUnits) {
  prog.Config.AnswerDigits = 6;
  EXPECT_EQ(Eval("ANGLE(A,B,C)"), "1.5708");
  EXPECT_EQ(Eval("LEN(A,C)"), "1.41421");
  EXPECT_EQ(Eval("AREA(A,B,C)"), "0.5");
  EXPECT_EQ(Eval("2*LEN(A,B)+1"), "3");
  // Names and keywords in any case, blanks anywhere.
  EXPECT_EQ(Eval("len ( a , c )"), Eval("LEN(A,C)"));
  // The angle between two lines, and a point's signed distance from a line.
  const int ac = Built(okLine, {a, c});
  // Default line names are small letters, which the calls would take for the points A, B, C.
  Obj(ab).Name.Assign("L1");
  Obj(ac).Name.Assign("L2");
  Refresh();
  const std::string abName = prog.Doc[ab].Name.Bytes(), acName = prog.Doc[ac].Name.Bytes();
  EXPECT_EQ(Eval("ANGLE(" + abName + ",B)"), "???");
  EXPECT_EQ(Eval("ANGLE(" + abName + "," + acName + ")"), "0.785398");
  EXPECT_EQ(Eval("LEN(C," + abName + ")"), "-1");
  Drag(500, 200, 500, 400);
  EXPECT_EQ(Eval("LEN(" + abName + ",C)"), "1");
  EXPECT_EQ(prog.ExprCalc.CalcError, 0);
}

TEST_F(DynExprTest, CallsThatDoNotFitAreMalformed) {
  for (const char* text : {"LEN(A)", "LEN(A,B,C)", "AREA(A,B)", "LEN(A,Q)", "ANGLE(A,B,C,Q)", "LEN(A,)", "LEN(A,B",
                           "AREA(A,B,C)+LEN(A,NOBODY)"}) {
    EXPECT_EQ(Eval(text), "???") << text;
    EXPECT_GT(prog.ExprCalc.CalcError, 0) << text;
  }
}

TEST_F(DynExprTest, ValuesEnterTheFormulaWithFullPrecision) {
  prog.Config.AnswerDigits = 2;
  Obj(b).X1 = 1234; // 12.34 user units from A
  Obj(c).X1 = 1000;
  Obj(c).Y1 = 2000;
  Refresh();
  EXPECT_EQ(Eval("LEN(A,B)"), "12");
  EXPECT_EQ(Eval("2*LEN(A,B)"), "25"); // 24.68, not 2 * 12
  EXPECT_EQ(Eval("AREA(A,B,C)"), "1.2e+02");
  EXPECT_EQ(Eval("AREA(A,B,C)/10"), "12"); // 123.4 / 10, not "1.2e+02" in a formula
}

TEST_F(DynExprTest, UndefinedObjectsCannotBeMeasuredNow) {
  const int m = Built(okIntersection, {ab, Built(okParallel, {c, ab})});
  Refresh();
  ASSERT_FALSE(Obj(m).Defined);
  const std::string name = Obj(m).Name.Bytes();
  EXPECT_EQ(Eval("LEN(A," + name + ")"), "???");
  // Well formed, only not computable at the moment: the dialog may still save it.
  EXPECT_LT(prog.ExprCalc.CalcError, 0);
}

TEST_F(DynExprTest, TheFirstOfEqualNamesIsMeasured) {
  const int d = FreePoint(700, 300);
  Obj(d).Name.Assign("a");
  Refresh();
  EXPECT_EQ(Eval("LEN(A,B)"), "1");
}

TEST_F(DynExprTest, FrozenColumnsFollowTheirExpressionAndAreSavedAsCsv) {
  InstallShellHooks(prog);
  Add("LEN(A,B)", "ab, long");
  Add("AREA(A,B,C)");
  Add("1/0");
  RefreshDynExprs(prog);
  EXPECT_EQ(prog.ExprGrid.Values, (std::vector<std::string>{"1", "0.5", "???"}));
  EXPECT_EQ(prog.ExprGrid.Captions[1], "AREA(A,B,C)");
  MenuClick(prog, tag::CalcFix);
  Drag(500, 300, 600, 300); // B to (2, 0)
  MenuClick(prog, tag::CalcFix);
  EXPECT_EQ(prog.ExprGrid.Values[0], "2");
  EXPECT_EQ(FrozenHeader(2), "2");

  // Deleting the first expression takes its frozen cells along; the others keep theirs.
  prog.ExprGrid.Current = 0;
  desk.ExpectMessage(prog.Msgs[40], mbYes | mbNo, mbYes);
  MenuClick(prog, tag::CalcDel);
  EXPECT_EQ(prog.Doc.DynExprCount, 2);
  EXPECT_EQ(prog.ExprGrid.Frozen[0], (std::vector<std::string>{"0.5", "???"}));
  EXPECT_TRUE(prog.Modified);
  MenuClick(prog, tag::Undo);
  EXPECT_EQ(prog.ExprGrid.Captions[0], "ab, long");
  EXPECT_EQ(prog.ExprGrid.Frozen[1], (std::vector<std::string>{"", "1", "???"}));
  EXPECT_EQ(FrozenColumnsCsv(prog), "Вираз,1,2\r\n\"ab, long\",,\r\n\"AREA(A,B,C)\",0.5,1\r\n1/0,???,???\r\n");

  // Moving a row moves the record, as one step.
  GridRowMoved(prog, 2, 0);
  EXPECT_EQ(Cp1251ToUtf8(prog.Doc.DynExprs[0].Text.Bytes()), "1/0");
  EXPECT_EQ(prog.ExprGrid.Frozen[0][0], "???");
  MenuClick(prog, tag::Undo);
  EXPECT_EQ(Cp1251ToUtf8(prog.Doc.DynExprs[0].Text.Bytes()), "LEN(A,B)");

  const std::string path = ::testing::TempDir() + "frozen.csv";
  desk.ExpectSaveDialog(path);
  MenuClick(prog, tag::CalcFixSave);
  std::FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  char buf[256] = {};
  const std::size_t got = std::fread(buf, 1, sizeof buf, f);
  std::fclose(f);
  EXPECT_EQ(std::string(buf, got), FrozenColumnsCsv(prog));

  // Removing frozen columns stops at the value column.
  for (int k = 0; k < 4; ++k)
    MenuClick(prog, tag::CalcFixDel);
  EXPECT_TRUE(prog.ExprGrid.Frozen.empty());
  EXPECT_EQ(prog.ExprGrid.Values.size(), 3u);
}

TEST_F(DynExprTest, TheGridFollowsRenamedAndNewObjects) {
  InstallShellHooks(prog);
  Add("LEN(A,Z)");
  Refresh();
  EXPECT_EQ(prog.ExprGrid.Values[0], "???");
  // The index of names is kept between refreshes; a step that renames is seen at once.
  Obj(c).Name.Assign("Z");
  RecordStep(prog, StepAction::Change, c);
  EXPECT_EQ(prog.ExprGrid.Values[0], "1.4");
  Drag(500, 200, 400, 200); // Z to (0, 1)
  EXPECT_EQ(prog.ExprGrid.Values[0], "1");
  MenuClick(prog, tag::Undo);
  EXPECT_EQ(prog.ExprGrid.Values[0], "1.4");
  MenuClick(prog, tag::Undo);
  ASSERT_EQ(prog.ExprGrid.Values.size(), 1u);
  EXPECT_EQ(prog.ExprGrid.Values[0], "???");
}

TEST_F(DynExprTest, NewAndEditGoThroughTheDialogAndRefuseTheHundredAndFirst) {
  InstallShellHooks(prog);
  std::string typed = "len (a, c) * 2";
  std::string shown;
  bool ok = true;
  prog.DynExprForm = [&](DynExprDialogModel& model) {
    shown = model.Text();
    model.SetText(typed);
    model.Name = "Діагональ";
    return ok && model.Confirm();
  };
  MenuClick(prog, tag::CalcMake);
  EXPECT_EQ(shown, "");
  ASSERT_EQ(prog.Doc.DynExprCount, 1);
  EXPECT_EQ(Cp1251ToUtf8(prog.Doc.DynExprs[0].Text.Bytes()), "LEN(A,C)*2");
  EXPECT_EQ(prog.ExprGrid.Captions[0], "Діагональ");
  EXPECT_EQ(prog.ExprGrid.Values[0], "2.8");
  EXPECT_TRUE(prog.Modified);

  // Editing shows the stored formula; a cancelled dialog changes nothing.
  typed = "AREA(A,B,C)";
  MenuClick(prog, tag::CalcEdit);
  EXPECT_EQ(shown, "LEN(A,C)*2");
  EXPECT_EQ(prog.ExprGrid.Values[0], "0.5");
  ok = false;
  typed = "1";
  MenuClick(prog, tag::CalcEdit);
  EXPECT_EQ(prog.ExprGrid.Values[0], "0.5");

  prog.Doc.DynExprCount = MaxDynExprs;
  desk.ExpectMessage(prog.Msgs[39] + " 100.", mbOK, mbOK);
  MenuClick(prog, tag::CalcMake);
  EXPECT_EQ(prog.Doc.DynExprCount, MaxDynExprs);
}

TEST_F(DynExprTest, NothingIsFrozenOrDeletedWithoutExpressions) {
  InstallShellHooks(prog);
  MenuClick(prog, tag::CalcFix);
  MenuClick(prog, tag::CalcDel);
  EXPECT_TRUE(prog.ExprGrid.Frozen.empty());
  EXPECT_FALSE(prog.Modified);
  MenuClick(prog, tag::CalcFixSave); // no dialog: nothing to save
}

} // namespace
} // namespace drex::test
