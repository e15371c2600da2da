// The calculation dialog without a window: its pages compute through the program's evaluator and
// calculus, every failure ends in one of the two error boxes with the previous result kept, and the
// argument boxes keep the exact value of what was typed.

#include "calc/calcul_model.h"

#include <cfloat>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "calc/calc_keypad.h"
#include "expr/calculus.h"
#include "shell/program.h"
#include "support/scripted_platform.h"

namespace drex {
namespace {

using Box = CalculBox;

} // namespace

void PrintTo(CalculOutcome outcome, std::ostream* os) {
  static const char* const Names[] = {"Shown", "Failed", "Refused"};
  *os << Names[static_cast<int>(outcome)];
}

namespace {

class CalculModelTest : public ::testing::Test {
protected:
  void ExpectInvalid() { desk.ExpectMessage(prog.Msgs[2], mbOK, mbOK); }
  void ExpectInfinite() { desk.ExpectMessage(prog.Msgs[3], mbOK, mbOK); }

  /// Types `text` into `box` the way the form does: entering, typing and leaving it.
  void Type(Box box, const std::string& text) {
    m.EnterBox(box);
    m.SetText(box, text);
    m.LeaveBox(box);
  }

  ScriptedPlatform desk;
  Program prog{desk};
  CalculModel m{prog};
};

TEST_F(CalculModelTest, DependencyTypeEnablesItsBoxes) {
  for (int type = 0; type <= 3; ++type) {
    m.SetDependencyType(type);
    EXPECT_EQ(m.BoxEnabled(Box::fx1), type >= 1);
    EXPECT_EQ(m.BoxEnabled(Box::fy1), type >= 2);
    EXPECT_EQ(m.BoxEnabled(Box::fz1), type == 3);
    EXPECT_TRUE(m.BoxEnabled(Box::CalcStr) && m.BoxEnabled(Box::A) && m.BoxEnabled(Box::xx));
  }
  // A box that becomes disabled, or is on a page left, no longer takes keypad keys.
  m.EnterBox(Box::fz1);
  m.SetDependencyType(2);
  EXPECT_FALSE(m.HasFocusedBox());
  m.EnterBox(Box::CalcStr);
  m.SetPage(IntegralPage);
  EXPECT_FALSE(m.HasFocusedBox());
  m.SetPage(7);
  EXPECT_EQ(m.Page(), DerivativePage);
}

TEST_F(CalculModelTest, ValuePageSubstitutesAsManyVariablesAsTheTypeNeeds) {
  prog.Config.AnswerDigits = 6;
  m.SetText(Box::CalcStr, "x*y+z");
  Type(Box::fx1, "2");
  Type(Box::fy1, "3");
  Type(Box::fz1, "0.5");
  m.SetDependencyType(3);
  EXPECT_EQ(m.Calculate(), CalculOutcome::Shown);
  EXPECT_EQ(m.Result(), "6.5");

  m.SetText(Box::CalcStr, "x*y");
  m.SetDependencyType(2);
  EXPECT_EQ(m.Calculate(), CalculOutcome::Shown);
  EXPECT_EQ(m.Result(), "6");
  // Unsubstituted variables: the error box, and the result stays.
  m.SetDependencyType(0);
  ExpectInvalid();
  EXPECT_EQ(m.Calculate(), CalculOutcome::Failed);
  EXPECT_EQ(m.Result(), "6");
  EXPECT_NE(prog.Calc.CalcError, 0);
  // The formulas that gave a result, in upper case, newest first, once each.
  m.SetDependencyType(2);
  m.SetText(Box::CalcStr, "x*Y");
  EXPECT_EQ(m.Calculate(), CalculOutcome::Shown);
  EXPECT_EQ(m.History(Box::CalcStr), (std::vector<std::string>{"X*Y", "X*Y+Z"}));
  // An empty formula gives an empty result.
  m.SetText(Box::CalcStr, "  ");
  EXPECT_EQ(m.Calculate(), CalculOutcome::Shown);
  EXPECT_EQ(m.Result(), "");
}

TEST_F(CalculModelTest, ValueBeyondADoubleIsAnErrorNotInfinity) {
  m.SetText(Box::CalcStr, "2+3");
  EXPECT_EQ(m.Calculate(), CalculOutcome::Shown);
  // The evaluator's wider registers hold 1e400; a double does not.
  m.SetText(Box::CalcStr, "10^200*10^200");
  ExpectInvalid();
  EXPECT_EQ(m.Calculate(), CalculOutcome::Failed);
  EXPECT_EQ(m.Result(), "5");
  EXPECT_EQ(m.History(Box::CalcStr), std::vector<std::string>{"2+3"});
}

TEST_F(CalculModelTest, IntegralAndDerivativePages) {
  m.SetPage(IntegralPage);
  EXPECT_EQ(m.Calculate(), CalculOutcome::Shown);
  EXPECT_EQ(m.Result(), "50");
  Type(Box::A, "10");
  Type(Box::B, "0");
  EXPECT_EQ(m.Calculate(), CalculOutcome::Shown);
  EXPECT_EQ(m.Result(), "-50");
  EXPECT_EQ(desk.ProgressMessages, (std::vector<std::string>{prog.Msgs[5], prog.Msgs[5]}));

  m.SetPage(DerivativePage);
  EXPECT_EQ(m.Calculate(), CalculOutcome::Shown);
  EXPECT_EQ(m.Result(), "1");
  EXPECT_EQ(m.History(Box::CalcStrDef), std::vector<std::string>{"SIN(X)"});
  m.SetText(Box::CalcStrDef, "1/x");
  ExpectInvalid();
  EXPECT_EQ(m.Calculate(), CalculOutcome::Failed);
  EXPECT_EQ(m.Result(), "1");
  EXPECT_EQ(m.History(Box::CalcStrDef), std::vector<std::string>{"SIN(X)"});
}

TEST_F(CalculModelTest, FailedSamplesInsideTheIntervalShowTheErrorBox) {
  m.SetPage(IntegralPage);
  Type(Box::A, "-1");
  Type(Box::B, "1");
  for (const char* formula : {"sqrt(x)", "1/x"}) {
    m.SetText(Box::CalcStrInt, formula);
    ExpectInvalid();
    EXPECT_EQ(m.Calculate(), CalculOutcome::Failed) << formula;
  }
  EXPECT_EQ(m.Result(), "");
  // A failed sample at the upper bound only.
  Type(Box::A, "-1");
  Type(Box::B, "0");
  m.SetText(Box::CalcStrInt, "ln(-x)");
  ExpectInvalid();
  EXPECT_EQ(m.Calculate(), CalculOutcome::Failed);
}

TEST_F(CalculModelTest, DerivativeThatDoesNotSettleAndWhatComesAfterIt) {
  m.SetPage(DerivativePage);
  // A step at 0: the estimates grow as the step halves.
  m.SetText(Box::CalcStrDef, "int(x+1)");
  ExpectInfinite();
  EXPECT_EQ(m.Calculate(), CalculOutcome::Failed);
  EXPECT_TRUE(prog.Calculus.DerivativeUnstable);
  // A plain value afterwards is not taken for an unsettled derivative.
  m.SetPage(ValuePage);
  m.SetText(Box::CalcStr, "2*3");
  EXPECT_EQ(m.Calculate(), CalculOutcome::Shown);
  EXPECT_EQ(m.Result(), "6");
  EXPECT_FALSE(prog.Calculus.DerivativeUnstable);
}

TEST_F(CalculModelTest, LeavingAnArgumentBoxKeepsItsExactValue) {
  prog.Config.AnswerDigits = 2;
  m.SetPage(IntegralPage);
  // With two digits these would read 10, 1.6e+02 and 3.1.
  Type(Box::B, "10.5");
  EXPECT_EQ(m.Text(Box::B), "10.5");
  Type(Box::B, "155");
  EXPECT_EQ(m.Text(Box::B), "155");
  Type(Box::A, "pi");
  EXPECT_EQ(m.Text(Box::A), "3.1415926");
  Type(Box::A, "1/3");
  EXPECT_EQ(m.Text(Box::A), "0.3333333333333333");
  double a = 0;
  ASSERT_TRUE(ParseNumberText(m.Text(Box::A), a));
  EXPECT_EQ(a, 1.0 / 3.0);
  EXPECT_EQ(m.History(Box::A), (std::vector<std::string>{"0.3333333333333333", "3.1415926"}));
  EXPECT_EQ(m.History(Box::B), (std::vector<std::string>{"155", "10.5"}));

  // The integral runs over the exact interval: x from 0 to 10.5 is 55.125.
  prog.Config.AnswerDigits = 12;
  Type(Box::A, "0");
  Type(Box::B, "21/2");
  EXPECT_EQ(m.Calculate(), CalculOutcome::Shown);
  EXPECT_EQ(m.Result(), "55.125");

  // A value written in scientific notation is a number, not an expression that turns red.
  Type(Box::B, "10^20");
  EXPECT_EQ(m.Text(Box::B), "1e+20");
  Type(Box::B, m.Text(Box::B));
  EXPECT_FALSE(m.Red(Box::B));
  EXPECT_EQ(m.Text(Box::B), "1e+20");
  // The same history entry is not added twice.
  EXPECT_EQ(m.History(Box::B), (std::vector<std::string>{"1e+20", "155", "10.5"}));
}

TEST_F(CalculModelTest, BadArgumentsTurnRedAndRefuseTheCalculation) {
  m.SetPage(IntegralPage);
  m.SetDependencyType(1);
  for (const char* bad : {"1/0", "", "2*", "1e400", "abc", "inf"}) {
    Type(Box::A, bad);
    EXPECT_TRUE(m.Red(Box::A)) << bad;
    EXPECT_EQ(m.Text(Box::A), bad);
  }
  EXPECT_TRUE(m.History(Box::A).empty());
  m.EnterBox(Box::A);
  EXPECT_FALSE(m.Red(Box::A));
  // Enter in a box whose text is still an expression: it was not left, so it is not a number.
  m.SetText(Box::A, "pi/2");
  ExpectInvalid();
  EXPECT_EQ(m.Calculate(), CalculOutcome::Failed);
  EXPECT_EQ(desk.ProgressMessages.size(), 0u);
  // The same for the argument of the value page.
  m.SetPage(ValuePage);
  m.SetText(Box::CalcStr, "x");
  m.SetText(Box::fx1, "2+1");
  ExpectInvalid();
  EXPECT_EQ(m.Calculate(), CalculOutcome::Failed);
  m.LeaveBox(Box::fx1);
  EXPECT_EQ(m.Calculate(), CalculOutcome::Shown);
  EXPECT_EQ(m.Result(), "3");
}

TEST_F(CalculModelTest, SecondCalculationWhileOneRunsIsRefused) {
  m.SetPage(IntegralPage);
  std::vector<CalculOutcome> nested;
  desk.PendingEvents = [&] {
    if (nested.size() < 3) nested.push_back(m.Calculate());
  };
  EXPECT_EQ(m.Calculate(), CalculOutcome::Shown);
  EXPECT_EQ(m.Result(), "50");
  EXPECT_EQ(nested, std::vector<CalculOutcome>(3, CalculOutcome::Refused));
  EXPECT_EQ(desk.ProgressMessages.size(), 1u);
  desk.PendingEvents = nullptr;

  // Also the value page, which would share the running calculation's evaluator.
  m.SetPage(ValuePage);
  m.SetText(Box::CalcStr, "1/0");
  CalculationGuard running(prog.Calculus);
  EXPECT_EQ(m.Calculate(), CalculOutcome::Refused);
  EXPECT_EQ(m.Result(), "50");
  EXPECT_EQ(prog.Calc.CalcError, 0);
}

TEST_F(CalculModelTest, KeypadEditsTheFocusedBox) {
  int caret = 0;
  EXPECT_FALSE(m.KeypadPress("1", caret, 0, 0)); // no box has the focus
  m.EnterBox(Box::CalcStr);
  m.SetText(Box::CalcStr, "x+1");
  caret = 0;
  EXPECT_TRUE(m.KeypadPress("BS", caret, 0, 0));
  EXPECT_EQ(m.Text(Box::CalcStr), "x+1");
  EXPECT_EQ(caret, 0);
  caret = 2;
  EXPECT_TRUE(m.KeypadPress("Sin(", caret, 2, 1)); // replaces the selected "1"
  EXPECT_EQ(m.Text(Box::CalcStr), "x+Sin(");
  EXPECT_EQ(caret, 6);
  // The box takes 100 characters, from the keypad too; typed text is cut there.
  m.SetText(Box::CalcStr, std::string(98, '1'));
  caret = 98;
  EXPECT_FALSE(m.KeypadPress("Sin(", caret, 0, 0));
  EXPECT_EQ(caret, 98);
  EXPECT_TRUE(m.KeypadPress("Pi", caret, 0, 0));
  EXPECT_EQ(m.Text(Box::CalcStr).size(), 100u);
  m.SetText(Box::CalcStr, std::string(99, '1') + "ії");
  EXPECT_EQ(m.Text(Box::CalcStr), std::string(99, '1') + "і");
  m.LeaveBox(Box::CalcStr);
  EXPECT_FALSE(m.KeypadPress("1", caret, 0, 0));
}

TEST(CalculNumbers, ExactTextReadsBackAsTheSameNumber) {
  for (double v : {0.0, 10.5, 155.0, -2.5, 0.1, 1.0 / 3.0, 3.141592653589793, 1e-7, 1.5e20, -123456789.123456789,
                   DBL_MAX, DBL_MIN, 2.0 / 3.0 * 1e-300}) {
    const std::string text = ExactNumberText(v);
    double back = -1;
    ASSERT_TRUE(ParseNumberText(text, back)) << text;
    EXPECT_EQ(back, v) << text;
  }
  EXPECT_EQ(ExactNumberText(0.1), "0.1");
  EXPECT_EQ(ExactNumberText(-0.0), "0");
  double v = 0;
  EXPECT_TRUE(ParseNumberText("  -3 ", v));
  EXPECT_EQ(v, -3);
  for (const char* no : {"", "pi", "1,5", "2*3", "nan", "-inf", "1e999", "0x10", "1.2.3"})
    EXPECT_FALSE(ParseNumberText(no, v)) << no;
}

TEST(CalcKeypad, BothDialogsShareTheKeysAndEveryFunctionKeyEvaluates) {
  const auto& calc = KeypadKeys(KeypadDialog::Calculation);
  const auto& expr = KeypadKeys(KeypadDialog::DynExpr);
  EXPECT_EQ(calc.size(), 38u);
  EXPECT_EQ(expr.size(), 41u);
  auto find = [](const std::vector<CalcKey>& keys, const std::string& caption) -> const CalcKey* {
    for (const CalcKey& k : keys)
      if (caption == k.Caption) return &k;
    return nullptr;
  };
  for (const char* c : {"X", "Y", "Z"}) {
    ASSERT_TRUE(find(calc, c) && find(expr, c)) << c;
    EXPECT_EQ(std::string(find(calc, c)->Hint), std::string("Змінна ") + c);
    EXPECT_EQ(std::string(find(expr, c)->Hint), "");
  }
  for (const char* c : {"Len(", "Angle(", "Area("})
    EXPECT_TRUE(!find(calc, c) && find(expr, c)) << c;
  // Each function key followed by an argument makes a formula the evaluator knows.
  DS_Calc evaluator;
  for (const CalcKey& k : calc) {
    const std::string caption = k.Caption;
    if (caption.back() != '(') continue;
    evaluator.EvaluateExpression(caption + "0.5)");
    EXPECT_EQ(evaluator.CalcError, 0) << caption;
  }
  for (std::size_t i = 0; i < expr.size(); ++i)
    for (std::size_t j = i + 1; j < expr.size(); ++j)
      EXPECT_NE(std::string(expr[i].Caption), expr[j].Caption);
}

} // namespace
} // namespace drex
