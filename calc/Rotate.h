#pragma once
// The solid-of-revolution dialog: a Qt form over a RotationModel. It lists the model's candidates,
// hands the choice of curve and axis to it and shows the picture and the two texts the model
// made; every rule of the dialog is the model's.

#include <QDialog>

#include <memory>

class QButtonGroup;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace drex {

class QtCanvas;
class RotationModel;

class TRotFrm : public QDialog {
  Q_OBJECT
public:
  explicit TRotFrm(QWidget* parent = nullptr);
  ~TRotFrm() override;

  /// Shows `model` modally, its candidates in the curve list with the selected one chosen, until
  /// the user closes the dialog. The model is used during the call only.
  void Run(RotationModel& model);

private:
  void Fill();
  void ShowResult();
  void CurveChanged(int index);
  void AxisClicked(int id);
  /// Disables the choices while the model computes: the progress window lets events through.
  void Busy(bool busy);

  RotationModel* model_ = nullptr;
  bool filling_ = false;
  std::unique_ptr<QtCanvas> canvas_;
  QLabel* rotImage_ = nullptr;
  QComboBox* curveName_ = nullptr;
  QButtonGroup* rotType_ = nullptr;
  QRadioButton* ox_ = nullptr;
  QRadioButton* oy_ = nullptr;
  QLabel* sLabel_ = nullptr;
  QLabel* vLabel_ = nullptr;
  QPushButton* close_ = nullptr;
};

} // namespace drex
