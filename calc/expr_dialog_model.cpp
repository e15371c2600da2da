#include "calc/expr_dialog_model.h"

#include <algorithm>

#include "calc/dyn_expr.h"
#include "dialogs/properties_model.h"
#include "shell/program.h"
#include "kernel/cp1251.h"

namespace drex {
DynExprDialogModel::DynExprDialogModel(Program& prog, std::vector<std::string>& history, std::string text,
                                       std::string name)
    : Name(std::move(name)), prog_(prog), history_(history), text_(std::move(text)),
      maxLength_(std::max(DynExprBoxLength, CharCount(text_))) {
  Validate();
}

void DynExprDialogModel::SetText(const std::string& text) {
  text_ = CutToChars(text, maxLength_);
  Validate();
}

void DynExprDialogModel::Validate() {
  value_ = EvaluateDynExpr(prog_, text_);
  ok_ = prog_.ExprCalc.CalcError <= 0;
}

bool DynExprDialogModel::KeypadPress(const std::string& caption, int& caret, int selStart, int selLength) {
  std::string text = text_;
  int newCaret = caret;
  drex::KeypadPress(caption, text, newCaret, selStart, selLength);
  if (CharCount(text) > maxLength_) return false;
  text_ = std::move(text);
  caret = newCaret;
  Validate();
  return true;
}

bool DynExprDialogModel::Confirm() {
  Validate();
  if (!ok_) return false;
  if (!text_.empty() && std::find(history_.begin(), history_.end(), text_) == history_.end()) {
    history_.insert(history_.begin(), text_);
    if (history_.size() > DynExprHistoryLimit) history_.resize(DynExprHistoryLimit);
  }
  return true;
}

} // namespace drex
