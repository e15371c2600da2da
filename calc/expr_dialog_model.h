#pragma once
// The dialog in which a dynamic expression is typed or changed, as data: the expression and its
// name, the expression's history, and the check that decides whether the text may be saved. The Qt
// form shows one of these modally and hands it the user's edits.

#include <string>
#include <vector>

namespace drex {

class Program;

/// Most characters typed into the expression box.
constexpr int DynExprBoxLength = 100;
/// Most entries the expression history keeps.
constexpr std::size_t DynExprHistoryLimit = 30;

/// One showing of the dynamic-expression dialog. Texts are UTF-8.
class DynExprDialogModel {
public:
  /// A dialog showing `text` and `name` (empty for a new expression). `history` is the expression
  /// box's drop-down list, kept by the caller between showings; an accepted text goes to its top.
  DynExprDialogModel(Program& prog, std::vector<std::string>& history, std::string text = std::string(),
                     std::string name = std::string());
  DynExprDialogModel(const DynExprDialogModel&) = delete;
  DynExprDialogModel& operator=(const DynExprDialogModel&) = delete;

  /// The expression box (CalcStr).
  const std::string& Text() const { return text_; }
  /// The user changed the expression: it becomes `text`, cut to MaxLength() characters, and is
  /// checked again.
  void SetText(const std::string& text);
  /// Characters the expression box takes: DynExprBoxLength, or the length of a longer expression
  /// the dialog was opened with, so that editing one does not cut it.
  int MaxLength() const { return maxLength_; }

  /// The name box (DName).
  std::string Name;

  /// Evaluates the expression over the current construction (nothing is stored). Runs when the
  /// dialog is shown, at every change, click or double click in the expression box and when a
  /// button is pressed.
  void Validate();
  /// "Виконати" can be pressed: the last check left the evaluator's code at 0 or below (a
  /// well-formed text that cannot be computed at the moment may be saved).
  bool OkEnabled() const { return ok_; }
  /// The expression is shown in red: exactly when it cannot be saved.
  bool Red() const { return !ok_; }
  /// The value text the last check gave ("???" when it could not be computed).
  const std::string& Value() const { return value_; }

  /// A keypad key on the expression box: the selection (selStart, selLength, in characters) is
  /// removed, then "BS" and "Del" delete next to the caret and any other key is inserted at it;
  /// `caret` is updated and the text checked again. An insertion beyond MaxLength() characters is
  /// refused. False when nothing was done.
  bool KeypadPress(const std::string& caption, int& caret, int selStart, int selLength);

  const std::vector<std::string>& History() const { return history_; }

  /// "Виконати" was pressed: checks the text again; true when the dialog may close with OK, and
  /// then the text goes to the top of the history.
  bool Confirm();

private:
  Program& prog_;
  std::vector<std::string>& history_;
  std::string text_;
  int maxLength_;
  bool ok_ = false;
  std::string value_;
};

} // namespace drex
