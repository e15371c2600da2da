#pragma once
// The calculation dialog: a Qt form over a CalculModel. It stays open beside the main window
// without blocking it, keeps its model (page, texts, histories, result) for the whole run, hands
// the model every edit, focus change, key and click, and shows what the model made of them.
// Also the keypad widgets both calculation dialogs share.

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "calc/calc_keypad.h"
#include "calc/calcul_model.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace Ui {
class TCalculFrm;
}

namespace drex {

class Program;

/// Fills `host` with the keypad of `dialog`: a grid of buttons with their hints as tool tips. The
/// buttons never take the focus, so a key acts on the box that has it; `press` gets the caption.
void BuildCalcKeypad(QWidget* host, KeypadDialog dialog, std::function<void(const char*)> press);

/// What a keypad key needs of a line edit: its text (UTF-8), caret and selection, in characters.
struct EditorState {
  std::string Text;
  int Caret = 0;
  int SelStart = 0;
  int SelLength = 0;
};
EditorState ReadEditor(const QLineEdit* edit);
/// Shows `text` in `edit` with the caret at character `caret`.
void ShowEditor(QLineEdit* edit, const std::string& text, int caret);

class TCalculFrm : public QDialog {
  Q_OBJECT
public:
  /// The dialog for `prog`; `parent` is the main window, over which it stays.
  explicit TCalculFrm(Program& prog, QWidget* parent = nullptr);
  ~TCalculFrm() override;

  /// Shows the dialog on `page` (0 value, 1 integral, 2 derivative) without blocking the main
  /// window, raises it and puts the focus in the page's formula box.
  void ShowPage(int page);

  CalculModel& Model() { return model_; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void Connect();
  /// The box of `widget` (a combo box or its edit part), -1 for none.
  int BoxOf(const QObject* widget) const;
  QComboBox* Combo(CalculBox box) const { return boxes_[static_cast<std::size_t>(box)]; }
  void ShowBox(CalculBox box);
  void ShowColor(CalculBox box);
  void ShowEnabled();
  void ShowAll();
  void Calculate();
  void KeypadClick(const char* caption);

  std::unique_ptr<Ui::TCalculFrm> ui_;
  CalculModel model_;
  std::array<QComboBox*, CalculBoxCount> boxes_{};
  /// Set while the form writes into its controls, so that their change signals are not taken for
  /// the user's edits.
  bool filling_ = false;
};

} // namespace drex
