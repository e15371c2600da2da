#pragma once
// The dialog in which a dynamic expression is typed: a modal Qt form over a DynExprDialogModel. It
// hands the model every edit and click in the expression box and keeps "Виконати" enabled and the
// text black exactly when the model accepts the text.

#include <QDialog>

#include <memory>

namespace Ui {
class TCalcFrm;
}

namespace drex {

class DynExprDialogModel;

class TCalcFrm : public QDialog {
  Q_OBJECT
public:
  explicit TCalcFrm(QWidget* parent = nullptr);
  ~TCalcFrm() override;

  /// Shows `model` modally; true when the dialog was closed with "Виконати", which it allows only
  /// once model.Confirm() passed. The model is used during the call only.
  bool Run(DynExprDialogModel& model);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void ShowText();
  void ShowState();
  void KeypadClick(const char* caption);
  void Confirm();

  std::unique_ptr<Ui::TCalcFrm> ui_;
  DynExprDialogModel* model_ = nullptr;
  bool filling_ = false;
};

} // namespace drex
