#include "calc/calcul_model.h"

#include <cfloat>
#include <charconv>
#include <cmath>

#include "dialogs/properties_model.h"
#include "expr/calculus.h"
#include "expr/format_answer.h"
#include "shell/program.h"
#include "kernel/cp1251.h"

namespace drex {
namespace {

/// Texts of the two error boxes.
constexpr int MsgInvalid = 2;
constexpr int MsgInfinite = 3;

constexpr std::size_t Index(CalculBox box) { return static_cast<std::size_t>(box); }

bool FitsDouble(long double v) { return std::isfinite(v) && std::fabs(v) <= DBL_MAX; }

void PushHistory(std::vector<std::string>& history, const std::string& text) {
  if (text.empty()) return;
  for (const std::string& entry : history)
    if (entry == text) return;
  history.insert(history.begin(), text);
  if (history.size() > CalculHistoryLimit) history.resize(CalculHistoryLimit);
}

/// The page a box is on.
int PageOf(CalculBox box) {
  switch (box) {
  case CalculBox::CalcStrInt:
  case CalculBox::A:
  case CalculBox::B:
    return IntegralPage;
  case CalculBox::CalcStrDef:
  case CalculBox::xx:
    return DerivativePage;
  default:
    return ValuePage;
  }
}

} // namespace

std::string ExactNumberText(double value) {
  std::string text;
  for (int digits = FullPrecisionDigits; digits <= 17; ++digits) {
    text = FormatGeneral(value, digits);
    double back = 0;
    if (ParseNumberText(text, back) && back == value) break;
  }
  return text;
}

bool IsBlank(const std::string& text) { return text.find_first_not_of(" \t") == std::string::npos; }

std::string UpperLatin(std::string text) {
  for (char& ch : text)
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
  return text;
}

bool ParseNumberText(const std::string& text, double& value) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return false;
  const std::size_t last = text.find_last_not_of(" \t");
  const char* begin = text.data() + first;
  const char* end = text.data() + last + 1;
  double v = 0;
  const auto result = std::from_chars(begin, end, v, std::chars_format::general);
  if (result.ec != std::errc() || result.ptr != end || !std::isfinite(v)) return false;
  value = v;
  return true;
}

CalculModel::CalculModel(Program& prog) : prog_(prog) {
  texts_[Index(CalculBox::CalcStr)] = "0";
  texts_[Index(CalculBox::fx1)] = "0";
  texts_[Index(CalculBox::fy1)] = "0";
  texts_[Index(CalculBox::fz1)] = "0";
  texts_[Index(CalculBox::CalcStrInt)] = "x";
  texts_[Index(CalculBox::A)] = "0";
  texts_[Index(CalculBox::B)] = "10";
  texts_[Index(CalculBox::CalcStrDef)] = "sin(x)";
  texts_[Index(CalculBox::xx)] = "0";
}

void CalculModel::SetPage(int page) {
  page_ = page < 0 ? 0 : page >= CalculPageCount ? CalculPageCount - 1 : page;
  if (focused_ >= 0 && PageOf(FocusedBox()) != page_) focused_ = -1;
}

void CalculModel::SetDependencyType(int type) {
  ftype_ = type < 0 ? 0 : type > 3 ? 3 : type;
  if (focused_ >= 0 && !BoxEnabled(FocusedBox())) focused_ = -1;
}

bool CalculModel::BoxEnabled(CalculBox box) const {
  switch (box) {
  case CalculBox::fx1:
    return ftype_ >= 1;
  case CalculBox::fy1:
    return ftype_ >= 2;
  case CalculBox::fz1:
    return ftype_ >= 3;
  default:
    return true;
  }
}

void CalculModel::SetText(CalculBox box, const std::string& text) {
  texts_[Index(box)] = CutToChars(text, CalculBoxLength);
}

void CalculModel::EnterBox(CalculBox box) {
  red_[Index(box)] = false;
  focused_ = static_cast<int>(box);
}

void CalculModel::LeaveBox(CalculBox box) {
  if (focused_ == static_cast<int>(box)) focused_ = -1;
  if (!IsArgument(box)) return;
  std::string& text = texts_[Index(box)];
  double value = 0;
  if (!ParseNumberText(text, value)) {
    const long double v = argCalc_.EvaluateExpression(text);
    if (argCalc_.CalcError != 0 || !FitsDouble(v)) {
      red_[Index(box)] = true;
      return;
    }
    value = static_cast<double>(v);
  }
  text = ExactNumberText(value);
  PushHistory(histories_[Index(box)], text);
}

bool CalculModel::KeypadPress(const std::string& caption, int& caret, int selStart, int selLength) {
  if (focused_ < 0) return false;
  std::string text = texts_[static_cast<std::size_t>(focused_)];
  int newCaret = caret;
  drex::KeypadPress(caption, text, newCaret, selStart, selLength);
  if (CharCount(text) > CalculBoxLength) return false;
  texts_[static_cast<std::size_t>(focused_)] = std::move(text);
  caret = newCaret;
  return true;
}

bool CalculModel::NumberIn(CalculBox box, long double& value) {
  double v = 0;
  if (!ParseNumberText(Text(box), v)) {
    prog_.Calc.CalcError = CalcMathError;
    return false;
  }
  value = v;
  return true;
}

bool CalculModel::Compute(int page, const std::string& formula, double& value, bool& refused) {
  DS_Calc& calc = prog_.Calc;
  CalcContext ctx = CalculationContext(prog_);
  long double a = 0, b = 0;
  CalcOutcome out;
  switch (page) {
  case IntegralPage:
    if (!NumberIn(CalculBox::A, a) || !NumberIn(CalculBox::B, b)) return false;
    out = IntegrateTrapezoid(ctx, formula, 'X', static_cast<double>(b), static_cast<double>(a));
    break;
  case DerivativePage:
    if (!NumberIn(CalculBox::xx, a)) return false;
    out = Differentiate(ctx, formula, 'X', static_cast<double>(a));
    break;
  default: {
    static constexpr CalculBox Arguments[] = {CalculBox::fx1, CalculBox::fy1, CalculBox::fz1};
    static constexpr char Letters[] = {'X', 'Y', 'Z'};
    std::string text = formula;
    for (int k = 0; k < ftype_; ++k) {
      if (!NumberIn(Arguments[k], a)) return false;
      text = SubstituteVariable(text, Letters[k], a);
    }
    const long double v = calc.EvaluateExpression(text);
    if (calc.CalcError != 0) return false;
    if (!FitsDouble(v)) {
      calc.CalcError = CalcMathError;
      return false;
    }
    value = static_cast<double>(v);
    return true;
  }
  }
  refused = out.Refused;
  value = out.Value;
  if (refused) return false;
  // A failed sample anywhere in the range, not only the last one, fails the whole value.
  if (out.Failed) {
    if (calc.CalcError == 0) calc.CalcError = CalcMathError;
    return false;
  }
  return calc.CalcError == 0 && !prog_.Calculus.DerivativeUnstable;
}

CalculOutcome CalculModel::Calculate() {
  if (prog_.Calculus.Busy()) return CalculOutcome::Refused;
  // The page and its formula as they were asked for: the desktop's events during a long
  // calculation may change them.
  const int page = page_;
  const std::string formula = Text(FormulaOf(page));
  prog_.Calculus.DerivativeUnstable = false;
  prog_.Calc.CalcError = CalcOk;

  std::string result;
  if (!(page == ValuePage && IsBlank(formula))) {
    double value = 0;
    bool refused = false;
    if (!Compute(page, formula, value, refused)) {
      if (refused) return CalculOutcome::Refused;
      const int msg = prog_.Calc.CalcError != 0 ? MsgInvalid : MsgInfinite;
      prog_.Desktop.MessageBox(MsgType::Error, prog_.Msgs[msg], mbOK);
      return CalculOutcome::Failed;
    }
    result = FormatAnswer(value, prog_.Config.AnswerDigits);
  }
  result_ = std::move(result);
  PushHistory(histories_[Index(FormulaOf(page))], UpperLatin(formula));
  return CalculOutcome::Shown;
}

bool CalculModel::IsArgument(CalculBox box) {
  switch (box) {
  case CalculBox::fx1:
  case CalculBox::fy1:
  case CalculBox::fz1:
  case CalculBox::A:
  case CalculBox::B:
  case CalculBox::xx:
    return true;
  default:
    return false;
  }
}

CalculBox CalculModel::FormulaOf(int page) {
  switch (page) {
  case IntegralPage:
    return CalculBox::CalcStrInt;
  case DerivativePage:
    return CalculBox::CalcStrDef;
  default:
    return CalculBox::CalcStr;
  }
}

} // namespace drex
