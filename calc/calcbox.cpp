#include "calc/calcbox.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>

#include <string>

#include "calc/calculat.h"
#include "calc/expr_dialog_model.h"
#include "dialogs/QtFormText.h"
#include "ui_calcbox.h"

namespace drex {

TCalcFrm::TCalcFrm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TCalcFrm>()) {
  ui_->setupUi(this);
  setObjectName(QStringLiteral("CalcFrm"));
  setModal(true);
  ui_->CalcStr->setCompleter(nullptr);
  ui_->CalcStr->lineEdit()->installEventFilter(this);
  BuildCalcKeypad(ui_->Keypad, KeypadDialog::DynExpr, [this](const char* caption) { KeypadClick(caption); });

  connect(ui_->CalcStr, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (filling_ || !model_) return;
    model_->SetText(S(text));
    // The model cuts a text that is too long.
    if (S(text) != model_->Text()) ShowText();
    ShowState();
  });
  connect(ui_->DName, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!filling_ && model_) model_->Name = S(text);
  });
  connect(ui_->ToCalc, &QPushButton::clicked, this, [this] { Confirm(); });
  connect(ui_->BitBtn1, &QPushButton::clicked, this, [this] { reject(); });
}

TCalcFrm::~TCalcFrm() = default;

bool TCalcFrm::Run(DynExprDialogModel& model) {
  model_ = &model;
  {
    bool was = filling_;
    filling_ = true;
    ui_->CalcStr->clear();
    for (const std::string& entry : model.History())
      ui_->CalcStr->addItem(Q(entry));
    ui_->CalcStr->setCurrentIndex(-1);
    ui_->CalcStr->lineEdit()->setMaxLength(model.MaxLength());
    ui_->DName->setText(Q(model.Name));
    filling_ = was;
  }
  ShowText();
  model.Validate();
  ShowState();
  ui_->CalcStr->setFocus(Qt::OtherFocusReason);
  const bool ok = exec() == QDialog::Accepted;
  model_ = nullptr;
  return ok;
}

void TCalcFrm::ShowText() {
  const bool was = filling_;
  filling_ = true;
  QLineEdit* edit = ui_->CalcStr->lineEdit();
  const int caret = edit->cursorPosition();
  ui_->CalcStr->setEditText(Q(model_->Text()));
  edit->setCursorPosition(caret);
  filling_ = was;
}

void TCalcFrm::ShowState() {
  ui_->ToCalc->setEnabled(model_->OkEnabled());
  SetTextColor(ui_->CalcStr->lineEdit(), model_->Red() ? RedText : palette().color(QPalette::Text));
}

void TCalcFrm::KeypadClick(const char* caption) {
  if (!model_ || !ui_->CalcStr->hasFocus()) return;
  QLineEdit* edit = ui_->CalcStr->lineEdit();
  EditorState state = ReadEditor(edit);
  if (!model_->KeypadPress(caption, state.Caret, state.SelStart, state.SelLength)) return;
  const bool was = filling_;
  filling_ = true;
  ShowEditor(edit, model_->Text(), state.Caret);
  filling_ = was;
  ShowState();
}

void TCalcFrm::Confirm() {
  if (!model_) return;
  const bool ok = model_->Confirm();
  ShowState();
  if (ok) accept();
}

bool TCalcFrm::eventFilter(QObject* watched, QEvent* event) {
  if (model_ && watched == ui_->CalcStr->lineEdit() &&
      (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
    model_->Validate();
    ShowState();
  }
  return QDialog::eventFilter(watched, event);
}

} // namespace drex
