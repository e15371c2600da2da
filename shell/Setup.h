#pragma once
// The settings dialog "Налагодження": a thin form over the program's SetupModel. Every change of a
// control goes into the model at once, so that Cancel keeps it for the next start.

#include <QDialog>

#include <string>
#include <vector>

#include "shell/setup_model.h"

class QCheckBox;
class QComboBox;
class QRadioButton;
class QSpinBox;

namespace drex {

struct SetupModel;

class TSetupFrm : public QDialog {
  Q_OBJECT
public:
  explicit TSetupFrm(QWidget* parent = nullptr);

  /// Shows the dialog over `model`, with `languages` in the language list; true when it was closed
  /// with "&Застосувати".
  bool Run(SetupModel& model, const std::vector<std::string>& languages);

private:
  void Show(const SetupModel& model, const std::vector<std::string>& languages);

  SetupModel* model_ = nullptr;
  bool filling_ = false;
  QCheckBox* checks_[SetupCheckCount] = {};
  QSpinBox* charAfterP_ = nullptr;
  QSpinBox* eValue_ = nullptr;
  QRadioButton* cartesian_ = nullptr;
  QRadioButton* polar_ = nullptr;
  QComboBox* scales_ = nullptr;
  QComboBox* langs_ = nullptr;
};

} // namespace drex
