#pragma once
// The transformation dialog: a Qt form over a TransformModel. It stays open over the main window
// without blocking it, refills its object lists each time it becomes active, hands the model
// every edit, choice and click, and shows what the model made of them.

#include <QDialog>

#include <array>
#include <functional>

#include "dialogs/transform_model.h"

class QCheckBox;
class QComboBox;
class QPushButton;
class QTabWidget;

namespace drex {

class Program;

class TModFrm : public QDialog {
  Q_OBJECT
public:
  /// The dialog for `prog`; `parent` is the main window, over which it stays. `afterApply` runs
  /// after each "Виконати", so that the main window shows the result.
  TModFrm(Program& prog, std::function<void()> afterApply, QWidget* parent = nullptr);
  ~TModFrm() override;

  /// Shows the dialog without blocking the main window and raises it.
  void ShowForm();

  TransformModel& Model() { return model_; }

protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void Connect();
  QComboBox* Box(TransformBox box) const { return boxes_[static_cast<std::size_t>(box)]; }
  /// The box of `widget` (a combo box or its edit part), -1 for none.
  int BoxOf(const QObject* widget) const;
  void ShowBox(TransformBox box);
  void ShowColor(TransformBox box);
  void ShowLists();
  void ShowAll();
  void Execute();

  TransformModel model_;
  std::function<void()> afterApply_;
  QComboBox* o1_ = nullptr;
  QComboBox* c1_ = nullptr;
  QTabWidget* pc_ = nullptr;
  QCheckBox* makeNew_ = nullptr;
  QPushButton* ok_ = nullptr;
  std::array<QComboBox*, TransformBoxCount> boxes_{};
  /// Set while the form writes into its controls, so that their change signals are not taken for
  /// the user's edits.
  bool filling_ = false;
};

} // namespace drex
