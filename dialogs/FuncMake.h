#pragma once
// The object properties dialog: a Qt form over a PropertiesModel. It fills its controls from the
// model, hands every edit to it and shows again what the model made of the edit; every rule of
// the dialog is the model's.

#include <QDialog>

#include <array>
#include <memory>
#include <vector>

class QComboBox;
class QTableWidget;

namespace Ui {
class TFuncFrm;
}

namespace drex {

class PropertiesModel;

class TFuncFrm : public QDialog {
  Q_OBJECT
public:
  explicit TFuncFrm(QWidget* parent = nullptr);
  ~TFuncFrm() override;

  /// Shows `model` modally: only the page of its kind, every control filled from it. True when the
  /// dialog was closed with "Застосувати", which it allows only once model.Confirm() passed. The
  /// model is used during the call only; the dialog is reused for the next one.
  bool Run(PropertiesModel& model);

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildLists();
  void BuildKeypad();
  void BuildGrid(QTableWidget* grid);
  void Connect();

  void Fill();
  void ShowPage();
  void ShowStyle();
  void FillParents();
  void ShowCoordinateHistory(bool y);
  void ShowGrid();
  void ShowFillState();
  void ShowGraphField(int field);
  void ShowGraphState();
  void AlignGraphLabels();

  QTableWidget* ActiveGrid() const;
  int FocusedGraphField() const;
  void GridEnter();
  void VertexButtonClick(int tag);
  void KeypadClick(const char* caption);
  void Confirm();

  std::unique_ptr<Ui::TFuncFrm> ui_;
  PropertiesModel* model_ = nullptr;
  /// Set while the form writes into its controls, so that their change signals are not taken for
  /// the user's edits.
  bool filling_ = false;
  /// f1, f2, Left1, Right1, Left2, Right2, in the order of GraphField.
  std::array<QComboBox*, 6> graphBoxes_{};
  std::vector<QMetaObject::Connection> parentConnections_;
};

} // namespace drex
