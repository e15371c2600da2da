#pragma once
// The dialog of the PNG export: the picture's size in pixels or the drawing area's picture at a
// resolution. A thin form over PngExportModel: every change goes into the model, which says
// whether the picture can be made.

#include <QDialog>

#include "view/picture_commands.h"

class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace drex {

class Program;

class TPngFrm : public QDialog {
  Q_OBJECT
public:
  explicit TPngFrm(QWidget* parent = nullptr);

  /// Shows the dialog over `model` with the texts of `prog`; true when it was closed with OK.
  bool Run(PngExportModel& model, const Program& prog);

private:
  /// Takes the controls into the model and shows the resulting size or what is wrong.
  void Take();

  PngExportModel* model_ = nullptr;
  const Program* prog_ = nullptr;
  bool filling_ = false;
  QRadioButton* bySize_ = nullptr;
  QRadioButton* byDpi_ = nullptr;
  QSpinBox* width_ = nullptr;
  QSpinBox* height_ = nullptr;
  QSpinBox* dpi_ = nullptr;
  QLabel* result_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

} // namespace drex
