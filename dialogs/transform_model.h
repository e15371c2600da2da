#pragma once
// Translation, rotation and axis scaling of an object together with everything it is built from,
// in place or on a copy, and the transformation dialog as data: its page, its five number boxes
// with their histories and checks, the objects it offers and the "copy" choice. The Qt form shows
// one of these and hands it the user's edits, choices and clicks.

#include <array>
#include <string>
#include <vector>

#include "expr/DS_Calc.h"

namespace drex {

class Program;

/// The operations, numbered as the dialog's pages.
enum TransformOp : int { TranslateOp = 1, RotateOp = 2, ScaleOp = 3 };

/// What ApplyTransformation did.
enum class TransformResult {
  InPlace, ///< the target and its ancestors were transformed
  Copies,  ///< copies of them were appended and transformed
  Refused  ///< the copies would not fit in the table: message 69 was shown, nothing moved
};

/// A scale factor below this in absolute value leaves its coordinate alone.
constexpr double ScaleFactorZeroTol = 1e-8;

/// Transforms object `target` (1..ObjCount) with every object it is built from. All of them are
/// marked as the selection (every other object is deselected). With `makeNew`, message 68 asks
/// whether to transform copies: Yes appends a copy of each marked object in table order, with a
/// default name of its kind and its references pointing at the copies, and the copies become the
/// selection; when they would pass the table's limit, message 69 is shown and nothing changes
/// but the selection. No keeps to the objects themselves.
///
/// `op` TranslateOp: the vector (p, q) in user units. RotateOp: the angle p in radians,
/// counter-clockwise, about the position object `centre` has before anything moves. ScaleOp: the
/// factors p along Ox and q along Oy about the world origin, a factor near 0 leaving its
/// coordinate alone. The free positions of the marked objects move; what is computed from them
/// follows in the recalculation, and a point on an object keeps its place on its moved host.
/// Function graphs and polynomials keep their data. Ends with one full redraw, Modified set.
TransformResult ApplyTransformation(Program& prog, int op, int target, int centre, bool makeNew, double p, double q);

/// The number boxes of the dialog, by the names of their controls.
enum class TransformBox { PsX, PsY, RotCut, ZoomTx, ZoomTy };
constexpr int TransformBoxCount = 5;

/// A box's check: its text evaluates, is empty, or does not compute.
constexpr int BoxValid = 0;
constexpr int BoxNotComputable = 3;
constexpr int BoxEmpty = 8;

/// An object the dialog offers: its number and its name as shown (UTF-8).
struct TransformCandidate {
  int ObjNo = 0;
  std::string Name;
};

/// The whole state of the transformation dialog. It lives as long as its form, so the page, the
/// texts, the histories and the choices last the whole run. Texts are UTF-8.
class TransformModel {
public:
  explicit TransformModel(Program& prog);
  TransformModel(const TransformModel&) = delete;
  TransformModel& operator=(const TransformModel&) = delete;

  /// The page shown: TranslateOp, RotateOp or ScaleOp; the scaling page is the first one shown.
  int Page() const { return page_; }
  /// Shows page `page` (held to 1..3).
  void SetPage(int page);
  /// The page a box is on.
  static int PageOf(TransformBox box);

  const std::string& Text(TransformBox box) const { return texts_[Index(box)]; }
  /// The user changed the text of `box`: it is checked at once (BoxError).
  void SetText(TransformBox box, const std::string& text);
  /// BoxValid, BoxEmpty, or BoxNotComputable for a text that is malformed or has no value (1/0).
  int BoxError(TransformBox box) const { return errors_[Index(box)]; }
  /// The box's text is shown in red.
  bool Red(TransformBox box) const { return BoxError(box) != BoxValid; }
  /// The box's drop-down list: the texts evaluated in it, in upper case, newest first, each once.
  const std::vector<std::string>& History(TransformBox box) const { return histories_[Index(box)]; }
  /// `box` lost the focus: a valid text goes, in upper case, to the top of its history (unless
  /// it is there already) and is replaced by its value, written so that it reads back as the same
  /// number.
  void LeaveBox(TransformBox box);
  /// "Виконати" can be pressed: every box of the current page is valid.
  bool OkEnabled() const;

  /// Refills the lists from the construction (when the dialog becomes active): targets are the
  /// objects of kinds 0..11, centres the defined points, both in table order. A chosen object
  /// stays chosen while the same number still holds an object of that name.
  void Refresh();
  const std::vector<TransformCandidate>& Targets() const { return targets_; }
  const std::vector<TransformCandidate>& Centres() const { return centres_; }
  /// Index of the chosen entry, -1 for none.
  int TargetIndex() const { return target_; }
  int CentreIndex() const { return centre_; }
  /// Chooses an entry; an index outside the list chooses none.
  void SelectTarget(int index);
  void SelectCentre(int index);
  bool MakeNew() const { return makeNew_; }
  void SetMakeNew(bool on) { makeNew_ = on; }

  /// "Виконати": refuses with message 0 when no target is chosen, with message 1 when the
  /// rotation has no defined centre point, with message 2 when a number of the page does not
  /// compute; otherwise applies the page's transformation as one undo step and refreshes the
  /// lists. Nothing happens while a redraw lets the desktop's events through. True when
  /// something was transformed.
  bool Execute();

private:
  static constexpr std::size_t Index(TransformBox box) { return static_cast<std::size_t>(box); }
  /// The value of a box's text; false when it does not compute to a finite double.
  bool Value(TransformBox box, double& value);
  /// The object of a chosen entry, 0 for none.
  static int Chosen(const std::vector<TransformCandidate>& list, int index);

  Program& prog_;
  int page_ = ScaleOp;
  std::array<std::string, TransformBoxCount> texts_;
  std::array<int, TransformBoxCount> errors_{};
  std::array<std::vector<std::string>, TransformBoxCount> histories_;
  std::vector<TransformCandidate> targets_;
  std::vector<TransformCandidate> centres_;
  int target_ = -1;
  int centre_ = -1;
  bool makeNew_ = false;
  /// Evaluates the boxes apart from the program's evaluators.
  DS_Calc calc_;
};

} // namespace drex
