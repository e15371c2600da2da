// The dynamic-expression dialog without a window: the text is checked over the construction at
// every change, a malformed text cannot be saved while one that merely cannot be computed now can,
// and the keypad edits the text within its length.

#include "calc/expr_dialog_model.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "shell/program.h"
#include "support/construction_builder.h"
#include "support/scripted_platform.h"

namespace drex {
namespace {

class ExprDialogModelTest : public ::testing::Test {
protected:
  void SetUp() override {
    ConstructionBuilder b(prog.Doc);
    b.Point(0, 0);
    b.Point(prog.UnitLength, 0);
    b.Point(prog.UnitLength, prog.UnitLength);
    prog.Doc[1].Name.Assign("A");
    prog.Doc[2].Name.Assign("B");
    prog.Doc[3].Name.Assign("C");
  }

  ScriptedPlatform desk;
  Program prog{desk};
  std::vector<std::string> history;
};

TEST_F(ExprDialogModelTest, OkFollowsTheSignOfTheCheck) {
  DynExprDialogModel m(prog, history);
  // Nothing typed yet: nothing to save.
  EXPECT_FALSE(m.OkEnabled());
  EXPECT_TRUE(m.Red());

  struct Case {
    const char* Text;
    bool Ok;
  };
  const Case cases[] = {
      {"2*len(a,b)+1", true}, {"AREA(A,B,C)", true},
      {"angle(A,B,C)", true}, {"1/0", true}, // well formed, not computable now: may be saved
      {"sqrt(-1)", true},     {"2*", false},
      {"2*(3", false},        {"LEN(A,Q)", false}, // no object Q
      {"LEN(A)", false},      {"x", false},
  };
  for (const Case& c : cases) {
    m.SetText(c.Text);
    EXPECT_EQ(m.OkEnabled(), c.Ok) << c.Text;
    EXPECT_EQ(m.Red(), !c.Ok) << c.Text;
  }
  m.SetText("2*len(a,b)+1");
  EXPECT_EQ(m.Value(), "3");
  m.SetText("1/0");
  EXPECT_EQ(m.Value(), "???");

  // The check reads the construction as it is when it runs.
  m.SetText("LEN(A,D)");
  EXPECT_FALSE(m.OkEnabled());
  ConstructionBuilder(prog.Doc).Point(0, 0);
  prog.Doc[4].Name.Assign("D");
  m.Validate();
  EXPECT_TRUE(m.OkEnabled());
}

TEST_F(ExprDialogModelTest, ConfirmSavesOnlyAValidTextAndRemembersIt) {
  {
    DynExprDialogModel m(prog, history);
    m.SetText("2*");
    EXPECT_FALSE(m.Confirm());
    EXPECT_TRUE(history.empty());
    m.SetText("LEN(A,B)");
    m.Name = "AB";
    EXPECT_TRUE(m.Confirm());
  }
  {
    DynExprDialogModel m(prog, history, "AREA(A,B,C)", "S");
    EXPECT_TRUE(m.OkEnabled()); // checked when shown
    EXPECT_EQ(m.Name, "S");
    EXPECT_TRUE(m.Confirm());
    m.SetText("LEN(A,B)");
    EXPECT_TRUE(m.Confirm());
  }
  EXPECT_EQ(history, (std::vector<std::string>{"AREA(A,B,C)", "LEN(A,B)"}));
}

TEST_F(ExprDialogModelTest, KeypadAndLengthLimit) {
  DynExprDialogModel m(prog, history);
  int caret = 0;
  for (const char* key : {"Len(", "A", ",", "C", ")"})
    EXPECT_TRUE(m.KeypadPress(key, caret, 0, 0));
  EXPECT_EQ(m.Text(), "Len(A,C)");
  EXPECT_TRUE(m.OkEnabled());
  caret = 4;
  EXPECT_TRUE(m.KeypadPress("X", caret, 4, 1)); // replaces the selected "A"
  EXPECT_EQ(m.Text(), "Len(X,C)");
  EXPECT_EQ(caret, 5);
  EXPECT_FALSE(m.OkEnabled()); // no object X
  m.SetText("Len(B,C)");
  caret = 8;
  EXPECT_TRUE(m.KeypadPress("*", caret, 0, 0));
  EXPECT_FALSE(m.OkEnabled()); // checked again after the key
  EXPECT_TRUE(m.KeypadPress("BS", caret, 0, 0));
  EXPECT_TRUE(m.OkEnabled());

  // A hundred characters can be typed.
  EXPECT_EQ(m.MaxLength(), DynExprBoxLength);
  m.SetText(std::string(120, '1'));
  EXPECT_EQ(m.Text(), std::string(100, '1'));
  caret = 100;
  EXPECT_FALSE(m.KeypadPress("1", caret, 0, 0));

  // A longer stored expression opens whole and stays whole.
  const std::string stored = "1" + std::string(150, '+') + "1";
  DynExprDialogModel longer(prog, history, stored);
  EXPECT_EQ(longer.Text(), stored);
  EXPECT_EQ(longer.MaxLength(), 152);
  longer.SetText(stored.substr(1) + "+1");
  EXPECT_EQ(longer.Text(), stored.substr(1) + "+");
}

} // namespace
} // namespace drex
