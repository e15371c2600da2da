#include "dialogs/FuncMake.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTableWidget>
#include <QToolButton>

#include <algorithm>
#include <cassert>
#include <functional>
#include <initializer_list>
#include <string>
#include <utility>

#include "dialogs/QtFormText.h"
#include "dialogs/properties_model.h"
#include "kernel/geom_object.h"
#include "kernel/object_table.h"
#include "ui_FuncMake.h"

namespace drex {
namespace {

constexpr QSize SwatchSize(44, 14);
constexpr QSize SampleSize(48, 12);
/// Keypad buttons in one row.
constexpr int KeypadColumns = 13;
/// Width of the vertex number column of the grids, in pixels.
constexpr int NumberColumnWidth = 36;
/// The colour of a field whose text does not evaluate.

QColor ColorOf(int32_t value) { return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF); }

/// The QPainter style of a stored pen style (0 solid, 1 dashed, 2 dotted, 3 dash-dot).
Qt::PenStyle QtPenStyle(int32_t penStyle) {
  switch (penStyle) {
  case 1:
    return Qt::DashLine;
  case 2:
    return Qt::DotLine;
  case 3:
    return Qt::DashDotLine;
  default:
    return Qt::SolidLine;
  }
}

QIcon Swatch(int32_t value) {
  QPixmap picture(SwatchSize);
  picture.fill(ColorOf(value));
  QPainter p(&picture);
  p.setPen(QColor(Qt::black));
  p.drawRect(0, 0, SwatchSize.width() - 1, SwatchSize.height() - 1);
  return QIcon(picture);
}

QIcon SampleLine(Qt::PenStyle style, int width) {
  QPixmap picture(SampleSize);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setPen(QPen(QColor(Qt::black), width, style, Qt::FlatCap));
  p.drawLine(2, SampleSize.height() / 2, SampleSize.width() - 3, SampleSize.height() / 2);
  return QIcon(picture);
}

/// The history of a field in its drop-down list and its text in the edit part.
void ShowHistory(QComboBox* box, const std::vector<std::string>& history, const std::string& text) {
  box->clear();
  for (const std::string& entry : history)
    box->addItem(Q(entry));
  box->setCurrentIndex(-1);
  box->setEditText(Q(text));
}

HistoryField HistoryOf(int graphField) {
  return static_cast<HistoryField>(static_cast<int>(HistoryField::F1) + graphField);
}

// Enter in a cell being edited keeps the typed text and moves on through the table instead of
// reaching the dialog's default button.
class CellDelegate : public QStyledItemDelegate {
public:
  CellDelegate(QObject* parent, std::function<void()> onEnter)
      : QStyledItemDelegate(parent), onEnter_(std::move(onEnter)) {}

protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    auto* editor = qobject_cast<QWidget*>(object);
    if (editor && IsEnterKey(event)) {
      Q_EMIT commitData(editor);
      Q_EMIT closeEditor(editor, QAbstractItemDelegate::NoHint);
      onEnter_();
      return true;
    }
    return QStyledItemDelegate::eventFilter(object, event);
  }

private:
  std::function<void()> onEnter_;
};

} // namespace

TFuncFrm::TFuncFrm(QWidget* parent) : QDialog(parent), ui_(std::make_unique<Ui::TFuncFrm>()) {
  ui_->setupUi(this);
  setObjectName(QStringLiteral("FuncFrm"));
  graphBoxes_ = {ui_->f1, ui_->f2, ui_->Left1, ui_->Right1, ui_->Left2, ui_->Right2};
  ui_->ObjName1->setMaxLength(NameCapacity);
  // Only one page is ever shown; its tab is a caption, not a stop of the Tab key.
  ui_->Sheets->tabBar()->setFocusPolicy(Qt::NoFocus);
  BuildLists();
  BuildKeypad();
  BuildGrid(ui_->LineGrid);
  BuildGrid(ui_->PolyGrid);
  // The histories are the model's: the boxes neither add typed texts nor complete from them.
  for (QComboBox* box : {ui_->psX2, ui_->psY2, ui_->f1, ui_->f2, ui_->Left1, ui_->Right1, ui_->Left2, ui_->Right2}) {
    box->setCompleter(nullptr);
    box->installEventFilter(this);
  }
  for (QComboBox* box : findChildren<QComboBox*>())
    if (auto* view = qobject_cast<QListView*>(box->view())) view->setUniformItemSizes(true);
  Connect();
}

TFuncFrm::~TFuncFrm() = default;

void TFuncFrm::BuildLists() {
  for (QComboBox* box : {ui_->ColorBox, ui_->FillColor}) {
    box->setIconSize(SwatchSize);
    for (const PaletteEntry& entry : ColorPalette)
      box->addItem(Swatch(entry.Value), QString());
  }
  ui_->StyleBox->setIconSize(SampleSize);
  for (int k = 0; k < ui_->StyleBox->count() && k < static_cast<int>(PenStyleMap.size()); ++k)
    ui_->StyleBox->setItemIcon(k, SampleLine(QtPenStyle(PenStyleMap[static_cast<std::size_t>(k)]), 1));
  ui_->WidthBox->setIconSize(SampleSize);
  for (int k = 0; k < ui_->WidthBox->count(); ++k)
    ui_->WidthBox->setItemIcon(k, SampleLine(Qt::SolidLine, k + 1));
}

void TFuncFrm::BuildKeypad() {
  auto* layout = new QGridLayout(ui_->Keypad);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  std::vector<QToolButton*> buttons;
  for (std::size_t k = 0; k < KeypadCaptions.size(); ++k) {
    const char* caption = KeypadCaptions[k];
    auto* button = new QToolButton(ui_->Keypad);
    button->setObjectName(QStringLiteral("SpeedButton%1").arg(k + 1));
    button->setText(Q(caption));
    // The buttons act on the field that has the focus, so they must never take it.
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    const int index = static_cast<int>(k);
    layout->addWidget(button, index / KeypadColumns, index % KeypadColumns);
    connect(button, &QToolButton::clicked, this, [this, caption] { KeypadClick(caption); });
    buttons.push_back(button);
  }
  // All keys as wide as the widest, so that the keypad is an even grid.
  int width = 0;
  for (const QToolButton* button : buttons)
    width = std::max(width, button->sizeHint().width());
  for (QToolButton* button : buttons)
    button->setMinimumWidth(width);
}

void TFuncFrm::BuildGrid(QTableWidget* grid) {
  QHeaderView* header = grid->horizontalHeader();
  header->setSectionResizeMode(0, QHeaderView::Fixed);
  header->resizeSection(0, NumberColumnWidth);
  header->setSectionResizeMode(1, QHeaderView::Stretch);
  header->setSectionResizeMode(2, QHeaderView::Stretch);
  grid->setItemDelegate(new CellDelegate(grid, [this] { GridEnter(); }));
  grid->installEventFilter(this);
}

void TFuncFrm::Connect() {
  connect(ui_->ObjName1, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!filling_ && model_) model_->ObjName1 = S(text);
  });
  connect(ui_->ColorBox, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
    if (!filling_ && model_) model_->ColorPos = index;
  });
  connect(ui_->StyleBox, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
    if (filling_ || !model_) return;
    model_->SetStyle(index);
    ShowStyle();
  });
  connect(ui_->WidthBox, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
    if (filling_ || !model_) return;
    model_->SetWidth(index);
    ShowStyle();
  });

  connect(ui_->psX, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!filling_ && model_) model_->X = S(text);
  });
  connect(ui_->psY, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!filling_ && model_) model_->Y = S(text);
  });
  connect(ui_->psX2, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (!filling_ && model_) model_->X = S(text);
  });
  connect(ui_->psY2, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (!filling_ && model_) model_->Y = S(text);
  });
  connect(ui_->IsAttached, &QCheckBox::toggled, this, [this](bool on) {
    if (!filling_ && model_) model_->Attached = on;
  });

  for (QTableWidget* grid : {ui_->LineGrid, ui_->PolyGrid}) {
    connect(grid, &QTableWidget::itemChanged, this, [this, grid](QTableWidgetItem* item) {
      if (filling_ || !model_ || grid != ActiveGrid()) return;
      const int row = item->row();
      if (row < 0 || row >= static_cast<int>(model_->Rows.size())) return;
      VertexRow& vertex = model_->Rows[static_cast<std::size_t>(row)];
      if (item->column() == 1) vertex.X = S(item->text());
      if (item->column() == 2) vertex.Y = S(item->text());
    });
    connect(grid, &QTableWidget::currentCellChanged, this, [this, grid](int row) {
      if (!filling_ && model_ && grid == ActiveGrid() && row >= 0) model_->CurrentRow = row;
    });
  }
  for (QToolButton* button :
       {ui_->LineButton1, ui_->LineButton2, ui_->LineButton3, ui_->PolyButton1, ui_->PolyButton2, ui_->PolyButton3}) {
    const int tag = button->property("Tag").toInt();
    connect(button, &QToolButton::clicked, this, [this, tag] { VertexButtonClick(tag); });
  }
  connect(ui_->IsClosed, &QCheckBox::toggled, this, [this](bool on) {
    if (filling_ || !model_) return;
    model_->Closed = on;
    ShowFillState();
  });
  connect(ui_->IsFilled, &QCheckBox::toggled, this, [this](bool on) {
    if (filling_ || !model_) return;
    model_->Filled = on;
    ShowFillState();
  });
  connect(ui_->FillColor, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
    if (!filling_ && model_) model_->FillColorPos = index;
  });

  auto* funcTypes = new QButtonGroup(this);
  funcTypes->addButton(ui_->FuncType0, 0);
  funcTypes->addButton(ui_->FuncType1, 1);
  funcTypes->addButton(ui_->FuncType2, 2);
  connect(funcTypes, &QButtonGroup::idClicked, this, [this](int pos) {
    if (filling_ || !model_) return;
    model_->SetFuncType(pos);
    ShowGraphState();
  });
  for (std::size_t f = 0; f < graphBoxes_.size(); ++f) {
    const auto field = static_cast<GraphField>(f);
    connect(graphBoxes_[f], &QComboBox::editTextChanged, this, [this, field](const QString& text) {
      if (filling_ || !model_) return;
      model_->GraphFieldChanged(field, S(text));
      ShowGraphState();
    });
  }

  connect(ui_->BitBtn1, &QPushButton::clicked, this, [this] { Confirm(); });
  connect(ui_->BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
}

bool TFuncFrm::Run(PropertiesModel& model) {
  model_ = &model;
  Fill();
  const bool ok = exec() == QDialog::Accepted;
  model_ = nullptr;
  return ok;
}

void TFuncFrm::Fill() {
  FillGuard guard(filling_);
  ShowPage();
  ui_->ObjName1->setText(Q(model_->ObjName1));
  ShowStyle();
  FillParents();
  switch (model_->Kind()) {
  case okPoint:
    ui_->psX->setText(Q(model_->X));
    ui_->psY->setText(Q(model_->Y));
    break;
  case okPointOn:
    ShowCoordinateHistory(false);
    ShowCoordinateHistory(true);
    ui_->IsAttached->setText(Q(model_->AttachedCaption()));
    ui_->IsAttached->setChecked(model_->Attached);
    break;
  case okPolyline:
    ui_->IsClosed->setChecked(model_->Closed);
    ui_->IsFilled->setChecked(model_->Filled);
    ui_->FillColor->setCurrentIndex(model_->FillColorPos);
    ShowFillState();
    ShowGrid();
    break;
  case okPolynomial:
    ShowGrid();
    break;
  case okFunction: {
    QRadioButton* types[] = {ui_->FuncType0, ui_->FuncType1, ui_->FuncType2};
    types[std::clamp(model_->FuncTypePos, 0, 2)]->setChecked(true);
    for (int f = 0; f < GraphFieldCount; ++f)
      ShowGraphField(f);
    ShowGraphState();
    break;
  }
  default:
    break;
  }
  ui_->BitBtn1->setEnabled(model_->OkEnabled());
  ui_->ObjName1->setFocus();
  ui_->ObjName1->selectAll();
  // The dialog is hidden between runs, so nothing has told its layout that the page changed.
  ui_->Sheets->updateGeometry();
  layout()->invalidate();
  adjustSize();
}

void TFuncFrm::ShowPage() {
  const int kind = model_->Kind();
  QTabWidget* sheets = ui_->Sheets;
  sheets->setTabVisible(kind, true);
  sheets->setCurrentIndex(kind);
  // The hidden pages take no room, so that the dialog is as large as its one page needs.
  for (int k = 0; k < sheets->count(); ++k) {
    const bool shown = k == kind;
    sheets->setTabVisible(k, shown);
    const QSizePolicy::Policy policy = shown ? QSizePolicy::Preferred : QSizePolicy::Ignored;
    sheets->widget(k)->setSizePolicy(policy, policy);
  }
}

void TFuncFrm::ShowStyle() {
  FillGuard guard(filling_);
  ui_->ColorBox->setCurrentIndex(model_->ColorPos);
  ui_->StyleBox->setCurrentIndex(model_->StylePos);
  ui_->WidthBox->setCurrentIndex(model_->WidthPos);
}

void TFuncFrm::FillParents() {
  FillGuard guard(filling_);
  for (const QMetaObject::Connection& c : parentConnections_)
    disconnect(c);
  parentConnections_.clear();
  for (std::size_t k = 0; k < model_->Parents.size(); ++k) {
    const ParentList& list = model_->Parents[k];
    auto* box = findChild<QComboBox*>(Q(list.Control));
    assert(box && "every parent list of the model is a control of the form");
    if (!box) continue;
    QStringList names;
    names.reserve(static_cast<qsizetype>(list.Candidates.size()));
    for (std::size_t i = 0; i < list.Candidates.size(); ++i)
      names << Q(model_->CandidateName(static_cast<int>(k), static_cast<int>(i)));
    box->clear();
    box->addItems(names);
    box->setCurrentIndex(list.Chosen);
    parentConnections_.push_back(
        connect(box, qOverload<int>(&QComboBox::currentIndexChanged), this, [this, k](int index) {
          if (!filling_ && model_) model_->Parents[k].Chosen = index;
        }));
  }
}

void TFuncFrm::ShowCoordinateHistory(bool y) {
  FillGuard guard(filling_);
  ShowHistory(y ? ui_->psY2 : ui_->psX2, model_->History(y ? HistoryField::PsY2 : HistoryField::PsX2),
              y ? model_->Y : model_->X);
}

QTableWidget* TFuncFrm::ActiveGrid() const {
  if (!model_) return nullptr;
  if (model_->Kind() == okPolyline) return ui_->LineGrid;
  if (model_->Kind() == okPolynomial) return ui_->PolyGrid;
  return nullptr;
}

void TFuncFrm::ShowGrid() {
  QTableWidget* grid = ActiveGrid();
  if (!grid) return;
  FillGuard guard(filling_);
  const int column = std::clamp(grid->currentColumn(), 1, 2);
  const int rows = static_cast<int>(model_->Rows.size());
  grid->setRowCount(rows);
  const QColor readOnly = palette().color(QPalette::Disabled, QPalette::Text);
  const QColor normal = palette().color(QPalette::Text);
  const auto cell = [grid](int row, int col) {
    QTableWidgetItem* item = grid->item(row, col);
    if (!item) {
      item = new QTableWidgetItem;
      grid->setItem(row, col, item);
    }
    return item;
  };
  for (int r = 0; r < rows; ++r) {
    const VertexRow& vertex = model_->Rows[static_cast<std::size_t>(r)];
    QTableWidgetItem* number = cell(r, 0);
    number->setText(QString::number(r + 1));
    number->setFlags(Qt::ItemIsEnabled);
    number->setBackground(palette().brush(QPalette::Button));
    number->setTextAlignment(Qt::AlignCenter);
    // A point built on others cannot be moved by typing: its row is shown greyed and read-only.
    const bool editable = model_->RowEditable(r);
    const Qt::ItemFlags flags =
        Qt::ItemIsEnabled | Qt::ItemIsSelectable | (editable ? Qt::ItemIsEditable : Qt::NoItemFlags);
    const std::string* texts[] = {&vertex.X, &vertex.Y};
    for (int c = 1; c <= 2; ++c) {
      QTableWidgetItem* item = cell(r, c);
      item->setText(Q(*texts[c - 1]));
      item->setFlags(flags);
      item->setForeground(editable ? normal : readOnly);
    }
  }
  if (rows > 0) grid->setCurrentCell(std::clamp(model_->CurrentRow, 0, rows - 1), column);
  const bool line = grid == ui_->LineGrid;
  (line ? ui_->LineButton1 : ui_->PolyButton1)->setEnabled(model_->CanAddRow());
  (line ? ui_->LineButton2 : ui_->PolyButton2)->setEnabled(model_->CanRemoveRow());
}

void TFuncFrm::ShowFillState() {
  ui_->IsFilled->setEnabled(model_->FilledEnabled());
  ui_->FillColor->setEnabled(model_->FillColorEnabled());
  ui_->LabelF->setEnabled(model_->FillColorEnabled());
}

void TFuncFrm::GridEnter() {
  QTableWidget* grid = ActiveGrid();
  if (!grid) return;
  int row = std::max(grid->currentRow(), 0);
  int column = std::clamp(grid->currentColumn(), 1, 2);
  model_->GridEnter(row, column);
  if (static_cast<int>(model_->Rows.size()) != grid->rowCount()) ShowGrid();
  FillGuard guard(filling_);
  grid->setCurrentCell(row, column);
}

void TFuncFrm::VertexButtonClick(int tag) {
  QTableWidget* grid = ActiveGrid();
  if (!grid) return;
  if (grid->currentRow() >= 0) model_->CurrentRow = grid->currentRow();
  if (model_->VertexButton(tag)) ShowGrid();
}

void TFuncFrm::ShowGraphField(int field) {
  FillGuard guard(filling_);
  const auto f = static_cast<std::size_t>(field);
  ShowHistory(graphBoxes_[f], model_->History(HistoryOf(field)), model_->GraphText[f]);
}

void TFuncFrm::ShowGraphState() {
  ui_->Label1->setText(Q(model_->Label1()));
  ui_->LabelL1->setText(Q(model_->LabelL1()));
  ui_->LabelR1->setText(Q(model_->LabelR1()));
  ui_->Panel1->setVisible(model_->Panel1Visible());
  for (std::size_t f = 0; f < graphBoxes_.size(); ++f)
    SetTextColor(graphBoxes_[f]->lineEdit(), model_->GraphRed[f] ? RedText : palette().color(QPalette::Text));
  ui_->BitBtn1->setEnabled(model_->OkEnabled());
  AlignGraphLabels();
}

// The labels before the fields share one width, so that the fields of the rows line up although
// the y(T) row sits in its own panel.
void TFuncFrm::AlignGraphLabels() {
  for (const auto& column : {std::initializer_list<QLabel*>{ui_->Label1, ui_->Label2, ui_->LabelL1, ui_->LabelL2},
                             std::initializer_list<QLabel*>{ui_->LabelR1, ui_->LabelR2}}) {
    int width = 0;
    for (QLabel* label : column)
      width = std::max(width, label->sizeHint().width());
    for (QLabel* label : column)
      label->setMinimumWidth(width);
  }
}

int TFuncFrm::FocusedGraphField() const {
  const QWidget* focused = focusWidget();
  for (std::size_t f = 0; f < graphBoxes_.size(); ++f)
    if (focused && (focused == graphBoxes_[f] || focused == graphBoxes_[f]->lineEdit())) return static_cast<int>(f);
  return -1;
}

void TFuncFrm::KeypadClick(const char* caption) {
  const int field = FocusedGraphField();
  if (field < 0 || !model_) return;
  QLineEdit* edit = graphBoxes_[static_cast<std::size_t>(field)]->lineEdit();
  const QString before = edit->text();
  int caret = CharIndex(before, edit->cursorPosition());
  int selStart = 0, selLength = 0;
  if (edit->hasSelectedText()) {
    selStart = CharIndex(before, edit->selectionStart());
    selLength = CharIndex(before, edit->selectionEnd()) - selStart;
  }
  std::string text = S(before);
  KeypadPress(caption, text, caret, selStart, selLength);
  const QString after = Q(text);
  // The new text reaches the model through the field's change signal.
  edit->setText(after);
  edit->setCursorPosition(Utf16Index(after, caret));
}

void TFuncFrm::Confirm() {
  if (model_ && model_->Confirm()) accept();
}

bool TFuncFrm::eventFilter(QObject* watched, QEvent* event) {
  if (!model_) return QDialog::eventFilter(watched, event);
  if (IsEnterKey(event) && watched == ActiveGrid()) {
    GridEnter();
    return true;
  }
  if (event->type() == QEvent::FocusOut) {
    // Opening a field's own drop-down list or switching windows does not leave the field.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
      return QDialog::eventFilter(watched, event);
    if (watched == ui_->psX2 || watched == ui_->psY2) {
      const bool y = watched == ui_->psY2;
      model_->CoordinateExit(y);
      ShowCoordinateHistory(y);
    }
    for (std::size_t f = 0; f < graphBoxes_.size(); ++f) {
      if (watched != graphBoxes_[f]) continue;
      model_->GraphFieldExit(static_cast<GraphField>(f));
      ShowGraphField(static_cast<int>(f));
      ShowGraphState();
    }
  }
  return QDialog::eventFilter(watched, event);
}

} // namespace drex
