#pragma once
// The list of stored macro-constructions: a Qt form over a MacroListModel. It shows the model's
// names, hands the chosen line back to it and closes with OK only when the model allows it.

#include <QDialog>

class QListWidget;
class QPushButton;

namespace drex {

struct MacroListModel;

class TMacroFrm : public QDialog {
  Q_OBJECT
public:
  explicit TMacroFrm(QWidget* parent = nullptr);

  /// Shows `model` modally, its entries in the list with the selected one current; true when the
  /// user chose an entry with "Встановити" or a double click. The model is used during the call only.
  bool Run(MacroListModel& model);

private:
  void RowChanged(int row);
  void Make();

  MacroListModel* model_ = nullptr;
  QListWidget* macroList_ = nullptr;
  QPushButton* makeBtn_ = nullptr;
};

} // namespace drex
