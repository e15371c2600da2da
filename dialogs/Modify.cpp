#include "dialogs/Modify.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <utility>
#include <vector>

#include "dialogs/QtFormText.h"

namespace drex {
namespace {

QComboBox* NumberBox(QWidget* parent, const char* name) {
  auto* box = new QComboBox(parent);
  box->setObjectName(Q(name));
  box->setEditable(true);
  // The histories are the model's: the boxes neither add typed texts nor complete from them.
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setCompleter(nullptr);
  return box;
}

QComboBox* ObjectBox(QWidget* parent, const char* name) {
  auto* box = new QComboBox(parent);
  box->setObjectName(Q(name));
  box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  box->setMinimumContentsLength(20);
  return box;
}

QLabel* Label(const char* name, const char* text, QWidget* parent) {
  auto* label = new QLabel(Q(text), parent);
  label->setObjectName(Q(name));
  return label;
}

/// A page of a caption over two labelled number boxes.
/// Its labels are named after the page: "TabSheet1" has "TabSheet1Label", "TabSheet1Label1" and
/// "TabSheet1Label2".
QWidget* TwoBoxPage(QTabWidget* parent, const char* name, const char* caption, const char* firstLabel, QComboBox* first,
                    const char* secondLabel, QComboBox* second) {
  auto* page = new QWidget(parent);
  page->setObjectName(Q(name));
  auto* layout = new QGridLayout(page);
  const std::string label = std::string(name) + "Label";
  layout->addWidget(Label(label.c_str(), caption, page), 0, 0, 1, 2);
  layout->addWidget(Label((label + "1").c_str(), firstLabel, page), 1, 0);
  layout->addWidget(first, 1, 1);
  layout->addWidget(Label((label + "2").c_str(), secondLabel, page), 2, 0);
  layout->addWidget(second, 2, 1);
  layout->setRowStretch(3, 1);
  return page;
}

/// Shows `entries` in `box` (refilled only when they differ) with entry `current` chosen.
void ShowEntries(QComboBox* box, const std::vector<TransformCandidate>& entries, int current) {
  bool same = box->count() == static_cast<int>(entries.size());
  for (int k = 0; same && k < box->count(); ++k)
    same = S(box->itemText(k)) == entries[static_cast<std::size_t>(k)].Name;
  if (!same) {
    box->clear();
    for (const TransformCandidate& c : entries)
      box->addItem(Q(c.Name));
  }
  box->setCurrentIndex(current);
}

/// A focus change that does not enter or leave a box: its own drop-down list opening, or the
/// window being deactivated and activated again.
bool PassingFocus(const QEvent* event) {
  const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
  return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
}

} // namespace

TModFrm::TModFrm(Program& prog, std::function<void()> afterApply, QWidget* parent)
    : QDialog(parent), model_(prog), afterApply_(std::move(afterApply)) {
  setObjectName(QStringLiteral("ModFrm"));
  setWindowTitle(Q("Перетворення об'єктів"));
  setModal(false);

  o1_ = ObjectBox(this, "o1");
  auto* targetLabel = Label("Label1", "Застосувати операцію до об'єкта:", this);
  targetLabel->setBuddy(o1_);

  pc_ = new QTabWidget(this);
  pc_->setObjectName(QStringLiteral("PC"));
  // All three page buttons stay in view: the dialog is made wide enough for them.
  pc_->tabBar()->setUsesScrollButtons(false);

  boxes_[static_cast<std::size_t>(TransformBox::PsX)] = NumberBox(pc_, "PsX");
  boxes_[static_cast<std::size_t>(TransformBox::PsY)] = NumberBox(pc_, "PsY");
  QWidget* move =
      TwoBoxPage(pc_, "TabSheet1", "Вектор перенесення:", "a=", Box(TransformBox::PsX), "b=", Box(TransformBox::PsY));

  auto* turn = new QWidget(pc_);
  turn->setObjectName(QStringLiteral("TabSheet2"));
  boxes_[static_cast<std::size_t>(TransformBox::RotCut)] = NumberBox(turn, "RotCut");
  c1_ = ObjectBox(turn, "c1");
  auto* turnLayout = new QVBoxLayout(turn);
  turnLayout->addWidget(Label("Label2", "Кут повороту (у градусах):", turn));
  turnLayout->addWidget(Box(TransformBox::RotCut));
  turnLayout->addWidget(Label("Label3", "Точка - центр повороту:", turn));
  turnLayout->addWidget(c1_);
  turnLayout->addStretch(1);

  boxes_[static_cast<std::size_t>(TransformBox::ZoomTx)] = NumberBox(pc_, "ZoomTx");
  boxes_[static_cast<std::size_t>(TransformBox::ZoomTy)] = NumberBox(pc_, "ZoomTy");
  QWidget* scale = TwoBoxPage(pc_, "TabSheet3", "Коефіцієнти деформації вздовж осей:", "Ox:", Box(TransformBox::ZoomTx),
                              "Oy:", Box(TransformBox::ZoomTy));

  pc_->addTab(move, Q("Паралельне перенесення"));
  pc_->addTab(turn, Q("Поворот"));
  pc_->addTab(scale, Q("Деформація"));

  makeNew_ = new QCheckBox(Q("Створити результуючий об'єкт"), this);
  makeNew_->setObjectName(QStringLiteral("MakeNew"));
  ok_ = new QPushButton(Q("Виконати"), this);
  ok_->setObjectName(QStringLiteral("OkButton"));
  ok_->setDefault(true);
  auto* close = new QPushButton(Q("Закрити"), this);
  close->setObjectName(QStringLiteral("BitBtn1"));

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(targetLabel);
  layout->addWidget(o1_);
  layout->addWidget(pc_);
  layout->addWidget(makeNew_);
  layout->addLayout(buttons);

  for (QComboBox* box : boxes_) {
    box->installEventFilter(this);
    box->lineEdit()->installEventFilter(this);
  }
  connect(close, &QPushButton::clicked, this, &QWidget::hide);
  Connect();
  ShowAll();
}

TModFrm::~TModFrm() = default;

void TModFrm::Connect() {
  for (std::size_t b = 0; b < boxes_.size(); ++b) {
    const auto box = static_cast<TransformBox>(b);
    connect(boxes_[b], &QComboBox::editTextChanged, this, [this, box](const QString& text) {
      if (filling_) return;
      model_.SetText(box, S(text));
      ShowColor(box);
      ok_->setEnabled(model_.OkEnabled());
    });
  }
  connect(pc_, &QTabWidget::currentChanged, this, [this](int index) {
    if (filling_) return;
    model_.SetPage(index + 1);
    ok_->setEnabled(model_.OkEnabled());
  });
  connect(o1_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!filling_) model_.SelectTarget(index);
  });
  connect(c1_, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (!filling_) model_.SelectCentre(index);
  });
  connect(makeNew_, &QCheckBox::toggled, this, [this](bool on) {
    if (!filling_) model_.SetMakeNew(on);
  });
  connect(ok_, &QPushButton::clicked, this, [this] { Execute(); });
}

int TModFrm::BoxOf(const QObject* widget) const {
  for (std::size_t b = 0; b < boxes_.size(); ++b)
    if (widget == boxes_[b] || widget == boxes_[b]->lineEdit()) return static_cast<int>(b);
  return -1;
}

void TModFrm::ShowBox(TransformBox box) {
  FillGuard guard(filling_);
  ShowHistoryBox(Box(box), model_.History(box), model_.Text(box));
  ShowColor(box);
}

void TModFrm::ShowColor(TransformBox box) {
  SetTextColor(Box(box)->lineEdit(), model_.Red(box) ? RedText : palette().color(QPalette::Text));
}

void TModFrm::ShowLists() {
  FillGuard guard(filling_);
  ShowEntries(o1_, model_.Targets(), model_.TargetIndex());
  ShowEntries(c1_, model_.Centres(), model_.CentreIndex());
}

void TModFrm::ShowAll() {
  FillGuard guard(filling_);
  for (std::size_t b = 0; b < boxes_.size(); ++b)
    ShowBox(static_cast<TransformBox>(b));
  ShowLists();
  pc_->setCurrentIndex(model_.Page() - 1);
  makeNew_->setChecked(model_.MakeNew());
  ok_->setEnabled(model_.OkEnabled());
}

void TModFrm::ShowForm() {
  model_.Refresh();
  ShowAll();
  show();
  raise();
  activateWindow();
}

void TModFrm::Execute() {
  model_.Execute();
  ShowAll();
  if (afterApply_) afterApply_();
}

bool TModFrm::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) {
    model_.Refresh();
    ShowLists();
  }
  return QDialog::event(event);
}

bool TModFrm::eventFilter(QObject* watched, QEvent* event) {
  const int b = BoxOf(watched);
  if (b >= 0 && event->type() == QEvent::FocusOut && watched == boxes_[static_cast<std::size_t>(b)] &&
      !PassingFocus(event)) {
    model_.LeaveBox(static_cast<TransformBox>(b));
    ShowBox(static_cast<TransformBox>(b));
  }
  return QDialog::eventFilter(watched, event);
}

} // namespace drex
