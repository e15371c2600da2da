#include "documents/Macro.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/QtFormText.h"
#include "documents/macro_commands.h"

namespace drex {

TMacroFrm::TMacroFrm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("MacroFrm"));
  setWindowTitle(QStringLiteral("Встановлення макроконструкції:"));
  setModal(true);

  macroList_ = new QListWidget(this);
  macroList_->setObjectName(QStringLiteral("MacroList"));
  makeBtn_ = new QPushButton(QStringLiteral("Встановити"), this);
  makeBtn_->setObjectName(QStringLiteral("MakeBtn"));
  makeBtn_->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("Скасувати"), this);
  cancel->setObjectName(QStringLiteral("CancelBtn"));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(makeBtn_);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(macroList_, 1);
  layout->addLayout(buttons);
  resize(360, 300);

  connect(macroList_, &QListWidget::currentRowChanged, this, &TMacroFrm::RowChanged);
  connect(macroList_, &QListWidget::itemDoubleClicked, this, [this] { Make(); });
  connect(makeBtn_, &QPushButton::clicked, this, &TMacroFrm::Make);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool TMacroFrm::Run(MacroListModel& model) {
  model_ = &model;
  macroList_->clear();
  for (const MacroListEntry& e : model.Entries)
    macroList_->addItem(Q(e.Name));
  macroList_->setCurrentRow(model.Selected);
  makeBtn_->setEnabled(model.CanApply());
  const bool ok = exec() == QDialog::Accepted;
  model_ = nullptr;
  return ok;
}

void TMacroFrm::RowChanged(int row) {
  if (!model_) return;
  model_->Selected = row;
  makeBtn_->setEnabled(model_->CanApply());
}

void TMacroFrm::Make() {
  if (model_ && model_->CanApply()) accept();
}

} // namespace drex
