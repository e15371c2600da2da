#include "calc/calculat.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>

#include <algorithm>
#include <vector>

#include "dialogs/QtFormText.h"
#include "ui_calculat.h"

namespace drex {
namespace {

/// A focus change that does not enter or leave a box: its own drop-down list opening, or the
/// window being deactivated and activated again.
bool PassingFocus(const QEvent* event) {
  const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
  return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
}

} // namespace

void BuildCalcKeypad(QWidget* host, KeypadDialog dialog, std::function<void(const char*)> press) {
  auto* layout = new QGridLayout(host);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  const int columns = KeypadColumnsOf(dialog);
  const std::vector<CalcKey>& keys = KeypadKeys(dialog);
  std::vector<QToolButton*> buttons;
  for (std::size_t k = 0; k < keys.size(); ++k) {
    const CalcKey& key = keys[k];
    auto* button = new QToolButton(host);
    button->setObjectName(QStringLiteral("SpeedButton%1").arg(k + 1));
    button->setText(QString::fromUtf8(key.Caption));
    button->setToolTip(QString::fromUtf8(key.Hint));
    button->setStatusTip(QString::fromUtf8(key.Hint));
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    const int index = static_cast<int>(k);
    layout->addWidget(button, index / columns, index % columns);
    const char* caption = key.Caption;
    QObject::connect(button, &QToolButton::clicked, host, [press, caption] { press(caption); });
    buttons.push_back(button);
  }
  // All keys as wide as the widest, so that the keypad is an even grid.
  int width = 0;
  for (const QToolButton* button : buttons)
    width = std::max(width, button->sizeHint().width());
  for (QToolButton* button : buttons)
    button->setMinimumWidth(width);
}

EditorState ReadEditor(const QLineEdit* edit) {
  EditorState state;
  const QString text = edit->text();
  state.Text = S(text);
  state.Caret = CharIndex(text, edit->cursorPosition());
  if (edit->hasSelectedText()) {
    state.SelStart = CharIndex(text, edit->selectionStart());
    state.SelLength = CharIndex(text, edit->selectionEnd()) - state.SelStart;
  }
  return state;
}

void ShowEditor(QLineEdit* edit, const std::string& text, int caret) {
  const QString shown = Q(text);
  if (edit->text() != shown) edit->setText(shown);
  edit->setCursorPosition(Utf16Index(shown, caret));
}

TCalculFrm::TCalculFrm(Program& prog, QWidget* parent)
    : QDialog(parent), ui_(std::make_unique<Ui::TCalculFrm>()), model_(prog) {
  ui_->setupUi(this);
  setObjectName(QStringLiteral("CalculFrm"));
  setModal(false);
  boxes_ = {ui_->CalcStr, ui_->fx1, ui_->fy1, ui_->fz1, ui_->CalcStrInt, ui_->A, ui_->B, ui_->CalcStrDef, ui_->xx};
  for (QComboBox* box : boxes_) {
    // The histories are the model's: the boxes neither add typed texts nor complete from them.
    box->setCompleter(nullptr);
    box->lineEdit()->setMaxLength(CalculBoxLength);
    box->installEventFilter(this);
    box->lineEdit()->installEventFilter(this);
  }
  BuildCalcKeypad(ui_->Keypad, KeypadDialog::Calculation, [this](const char* caption) { KeypadClick(caption); });
  Connect();
  ShowAll();
}

TCalculFrm::~TCalculFrm() = default;

void TCalculFrm::Connect() {
  for (std::size_t b = 0; b < boxes_.size(); ++b) {
    const auto box = static_cast<CalculBox>(b);
    connect(boxes_[b], &QComboBox::editTextChanged, this, [this, box](const QString& text) {
      if (filling_) return;
      model_.SetText(box, S(text));
    });
  }
  auto* types = new QButtonGroup(this);
  const std::array<QRadioButton*, 4> radios = {ui_->ftype0, ui_->ftype1, ui_->ftype2, ui_->ftype3};
  for (std::size_t k = 0; k < radios.size(); ++k)
    types->addButton(radios[k], static_cast<int>(k));
  connect(types, &QButtonGroup::idClicked, this, [this](int type) {
    model_.SetDependencyType(type);
    ShowEnabled();
  });
  connect(ui_->CalcPages, &QTabWidget::currentChanged, this, [this](int page) {
    if (!filling_) model_.SetPage(page);
  });
  connect(ui_->ToCalc, &QPushButton::clicked, this, [this] { Calculate(); });
}

int TCalculFrm::BoxOf(const QObject* widget) const {
  for (std::size_t b = 0; b < boxes_.size(); ++b)
    if (widget == boxes_[b] || widget == boxes_[b]->lineEdit()) return static_cast<int>(b);
  return -1;
}

void TCalculFrm::ShowBox(CalculBox box) {
  FillGuard guard(filling_);
  ShowHistoryBox(Combo(box), model_.History(box), model_.Text(box));
  ShowColor(box);
}

void TCalculFrm::ShowColor(CalculBox box) {
  SetTextColor(Combo(box)->lineEdit(), model_.Red(box) ? RedText : palette().color(QPalette::Text));
}

void TCalculFrm::ShowEnabled() {
  const std::array<std::pair<QLabel*, CalculBox>, 3> arguments = {
      {{ui_->lx1, CalculBox::fx1}, {ui_->ly1, CalculBox::fy1}, {ui_->lz1, CalculBox::fz1}}};
  for (const auto& [label, box] : arguments) {
    const bool enabled = model_.BoxEnabled(box);
    label->setEnabled(enabled);
    Combo(box)->setEnabled(enabled);
  }
}

void TCalculFrm::ShowAll() {
  FillGuard guard(filling_);
  for (std::size_t b = 0; b < boxes_.size(); ++b)
    ShowBox(static_cast<CalculBox>(b));
  const std::array<QRadioButton*, 4> radios = {ui_->ftype0, ui_->ftype1, ui_->ftype2, ui_->ftype3};
  radios[static_cast<std::size_t>(model_.DependencyType())]->setChecked(true);
  ShowEnabled();
  ui_->CalcPages->setCurrentIndex(model_.Page());
  ui_->ResultBox->setText(Q(model_.Result()));
}

void TCalculFrm::ShowPage(int page) {
  model_.SetPage(page);
  ShowAll();
  show();
  raise();
  activateWindow();
  Combo(CalculModel::FormulaOf(model_.Page()))->setFocus(Qt::OtherFocusReason);
}

void TCalculFrm::Calculate() {
  // The desktop's events run during a long calculation; a second one is refused by the model.
  model_.Calculate();
  ShowAll();
}

void TCalculFrm::KeypadClick(const char* caption) {
  if (!model_.HasFocusedBox()) return;
  const CalculBox box = model_.FocusedBox();
  QLineEdit* edit = Combo(box)->lineEdit();
  EditorState state = ReadEditor(edit);
  // The model's text is the edit's text: every change reaches it through the change signal.
  if (!model_.KeypadPress(caption, state.Caret, state.SelStart, state.SelLength)) return;
  FillGuard guard(filling_);
  ShowEditor(edit, model_.Text(box), state.Caret);
}

bool TCalculFrm::eventFilter(QObject* watched, QEvent* event) {
  const int b = BoxOf(watched);
  if (b < 0) return QDialog::eventFilter(watched, event);
  const auto box = static_cast<CalculBox>(b);
  switch (event->type()) {
  case QEvent::KeyPress:
    if (IsEnterKey(event)) {
      Calculate();
      return true;
    }
    break;
  case QEvent::MouseButtonDblClick:
    Calculate();
    return true;
  case QEvent::FocusIn:
    // The combo box has the focus; its edit part only gets copies of the focus events.
    // A box that had the focus when the window was deactivated is entered again only if the
    // model did not know it had the focus (it was given it while the window was inactive).
    if (watched == Combo(box) && (!PassingFocus(event) || !model_.HasFocusedBox() || model_.FocusedBox() != box)) {
      model_.EnterBox(box);
      ShowColor(box);
    }
    break;
  case QEvent::FocusOut:
    if (watched == Combo(box) && !PassingFocus(event)) {
      model_.LeaveBox(box);
      ShowBox(box);
    }
    break;
  default:
    break;
  }
  return QDialog::eventFilter(watched, event);
}

} // namespace drex
