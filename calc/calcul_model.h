#pragma once
// The calculation dialog as data: the value of a formula in up to three variables, a definite
// integral and a derivative at a point, each on its page with its boxes, their histories and the
// result. The Qt form shows one of these and hands it the user's edits, focus changes and clicks;
// every rule of the dialog is here.

#include <array>
#include <string>
#include <vector>

#include "expr/DS_Calc.h"

namespace drex {

class Program;

/// The boxes of the dialog, by the names of their controls.
enum class CalculBox { CalcStr, fx1, fy1, fz1, CalcStrInt, A, B, CalcStrDef, xx };
constexpr int CalculBoxCount = 9;

/// The pages of the dialog.
enum CalculPage : int { ValuePage = 0, IntegralPage = 1, DerivativePage = 2 };
constexpr int CalculPageCount = 3;

/// Most characters a box takes.
constexpr int CalculBoxLength = 100;
/// Most entries the history of a box keeps.
constexpr std::size_t CalculHistoryLimit = 30;

/// How a Calculate ended.
enum class CalculOutcome {
  Shown,  ///< the result is in Result()
  Failed, ///< an error box was shown; the previous result stays
  Refused ///< another calculation was running; nothing was computed or shown
};

/// The shortest text in general format ("10.5", "155", "3.14159265358979", "1e-07") that reads
/// back as exactly `value`: 15 significant digits, or up to 17 where fewer do not round-trip.
std::string ExactNumberText(double value);

/// `text`, blanks around it ignored, as a plain decimal number ("10.5", "-3", "1.6e+02"); false
/// for anything else, an expression or a value beyond a double included.
bool ParseNumberText(const std::string& text, double& value);

/// True when `text` holds nothing but blanks and tabs.
bool IsBlank(const std::string& text);

/// Latin letters to upper case, as the boxes' histories keep their texts; every other byte,
/// UTF-8 sequences included, is kept.
std::string UpperLatin(std::string text);

/// The whole state of the calculation dialog. It lives as long as the program, so the page, the
/// texts and the histories are kept between showings. Texts are UTF-8.
class CalculModel {
public:
  explicit CalculModel(Program& prog);
  CalculModel(const CalculModel&) = delete;
  CalculModel& operator=(const CalculModel&) = delete;

  int Page() const { return page_; }
  /// Shows page `page` (held to 0..2).
  void SetPage(int page);

  /// The dependency type of the value page: 0 "t=const", 1 "t=f(x)", 2 "t=f(x,y)", 3 "t=f(x,y,z)".
  int DependencyType() const { return ftype_; }
  void SetDependencyType(int type);
  /// A box can be used: fx1 from type 1 on, fy1 from type 2 on, fz1 with type 3, the others always.
  /// The label of a box (lx1, ly1, lz1) is enabled with it.
  bool BoxEnabled(CalculBox box) const;

  const std::string& Text(CalculBox box) const { return At(texts_, box); }
  /// The user typed into `box`: its text becomes `text`, cut to CalculBoxLength characters.
  void SetText(CalculBox box, const std::string& text);
  /// The drop-down list of `box`: earlier entries, newest first, without duplicates.
  const std::vector<std::string>& History(CalculBox box) const { return At(histories_, box); }
  /// The text of `box` is shown in red: it did not evaluate when the box was left.
  bool Red(CalculBox box) const { return At(red_, box); }

  /// `box` got the focus: its text turns black again, and the keypad acts on it.
  void EnterBox(CalculBox box);
  /// `box` lost the focus. An argument box (fx1, fy1, fz1, A, B, xx) evaluates its text as a
  /// constant expression: on an error the text turns red and stays; otherwise it is replaced by the
  /// value written with ExactNumberText, which goes to the top of the box's history. A text that
  /// already is a number keeps its value exactly.
  void LeaveBox(CalculBox box);
  /// The box the keypad acts on, if any.
  bool HasFocusedBox() const { return focused_ >= 0; }
  CalculBox FocusedBox() const { return static_cast<CalculBox>(focused_); }

  /// A keypad key on the focused box (nothing without one): the selection (selStart, selLength, in
  /// characters) is removed, then "BS" and "Del" delete next to the caret and any other key is
  /// inserted at it. `caret` is updated. An insertion that would make the text longer than
  /// CalculBoxLength characters is refused. False when nothing was done.
  bool KeypadPress(const std::string& caption, int& caret, int selStart, int selLength);

  /// Calculates on the current page (the button, Enter in a box, a double click on a box). A
  /// failure shows the error box of MsgTable entry 2 (a box that holds no number, a formula that
  /// does not evaluate, any failed sample of an integral or derivative, a value beyond a double)
  /// or of entry 3 (a derivative that does not settle); the previous result then stays. On success
  /// the result is shown and the page's formula, in upper case, goes to the top of its history.
  /// Refused while another calculation runs.
  CalculOutcome Calculate();

  /// The text of ResultBox.
  const std::string& Result() const { return result_; }

  /// The boxes whose text is read as a number.
  static bool IsArgument(CalculBox box);
  /// The formula box of page `page`.
  static CalculBox FormulaOf(int page);

private:
  template <typename T> static const T& At(const std::array<T, CalculBoxCount>& a, CalculBox box) {
    return a[static_cast<std::size_t>(box)];
  }
  template <typename T> static T& At(std::array<T, CalculBoxCount>& a, CalculBox box) {
    return a[static_cast<std::size_t>(box)];
  }
  /// Computes the page's value into `value`; false on a failure, with prog.Calc.CalcError non-zero
  /// or the derivative flag set. `refused` tells that another calculation held the evaluator.
  bool Compute(int page, const std::string& formula, double& value, bool& refused);
  bool NumberIn(CalculBox box, long double& value);

  Program& prog_;
  int page_ = ValuePage;
  int ftype_ = 0;
  int focused_ = -1;
  std::array<std::string, CalculBoxCount> texts_;
  std::array<std::vector<std::string>, CalculBoxCount> histories_;
  std::array<bool, CalculBoxCount> red_{};
  std::string result_;
  /// Evaluates the argument boxes apart from the program's evaluator, so that leaving a box while
  /// a calculation lets events through does not disturb the calculation's samples.
  DS_Calc argCalc_;
};

} // namespace drex
