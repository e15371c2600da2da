#include "shell/MainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QWheelEvent>
#include <QtMath>
#include <QLibraryInfo>
#include <QScreen>
#include <QTranslator>
#include <QPainter>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <functional>
#include <utility>

#include "calc/calcbox.h"
#include "calc/calculat.h"
#include "calc/Rotate.h"
#include "calc/dyn_expr.h"
#include "calc/expr_dialog_model.h"
#include "calc/rotation_model.h"
#include "dialogs/FuncMake.h"
#include "shell/QtAboutBox.h"
#include "view/QtPngExport.h"
#include "dialogs/Modify.h"
#include "dialogs/QtFormText.h"
#include "dialogs/QtObjList.h"
#include "dialogs/object_list.h"
#include "documents/Macro.h"
#include "documents/document_commands.h"
#include "interaction/place_mouse.h"
#include "interaction/tool_modes.h"
#include "shell/QtImages.h"
#include "shell/QtLanguage.h"
#include "shell/QtPlatform.h"
#include "shell/Setup.h"
#include "calc/Progres.h"
#include "shell/commands.h"
#include "shell/program.h"
#include "shell/startup.h"
#include "shell/undo_command.h"
#include "view/QtCanvas.h"
#include "view/raster_canvas.h"
#include "view/redraw.h"

namespace drex {
namespace {

/// Width of the right panel at start (room for a list line and its report), and its least width.
constexpr int WorkPanelWidth = 230;
/// Tool bars whose tops differ by less than this are in one row.
constexpr int ToolBarRowHeight = 16;
constexpr int WorkPanelMinWidth = 125;
constexpr int CalcGridCaptionWidth = 84; ///< initial width of the expression grid's first column
constexpr int CalcGridValueWidth = 56;   ///< initial width of its value columns

// "Num++" and "Num+-" are keys of the numeric pad; the other texts are Qt's portable key names.
QKeySequence KeyOf(const QString& s) {
  if (s == QStringLiteral("Num++")) return QKeySequence(Qt::KeypadModifier | Qt::Key_Plus);
  if (s == QStringLiteral("Num+-")) return QKeySequence(Qt::KeypadModifier | Qt::Key_Minus);
  return QKeySequence::fromString(s, QKeySequence::PortableText);
}

// The keys of a command, parted by "; ", the first one the key the menu shows.
QList<QKeySequence> ShortcutsOf(const char* text) {
  QList<QKeySequence> keys;
  for (const QString& part : Q(text).split(QStringLiteral("; "), Qt::SkipEmptyParts))
    keys << KeyOf(part);
  return keys;
}

MouseButton ButtonOf(Qt::MouseButton button) {
  switch (button) {
  case Qt::LeftButton:
    return MouseButton::Left;
  case Qt::RightButton:
    return MouseButton::Right;
  case Qt::MiddleButton:
    return MouseButton::Middle;
  default:
    return MouseButton::None;
  }
}

// The button a move reports: the left one when it is held, else whichever is.
MouseButton HeldOf(Qt::MouseButtons buttons) {
  if (buttons & Qt::LeftButton) return MouseButton::Left;
  if (buttons & Qt::RightButton) return MouseButton::Right;
  if (buttons & Qt::MiddleButton) return MouseButton::Middle;
  return MouseButton::None;
}

} // namespace

// The drawing area: it shows the retained picture the core paints through its canvas and hands
// its mouse events to the core.
class PlaceWidget : public QWidget {
public:
  PlaceWidget(QWidget* parent, Program& program, std::function<void()> afterEvent)
      : QWidget(parent), program_(program), afterEvent_(std::move(afterEvent)), canvas_(1, 1) {
    setObjectName(QStringLiteral("Place"));
    setCursor(Qt::CrossCursor);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(50, 50);
    program_.Surface = &canvas_;
  }
  ~PlaceWidget() override {
    if (program_.Surface == &canvas_) program_.Surface = nullptr;
  }

protected:
  // The picture has the screen's device pixels; it covers the widget one to one.
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.drawImage(QRectF(0, 0, canvas_.Width() / ratio_, canvas_.Height() / ratio_), canvas_.Image());
    // Moved to a screen of another pixel density: the picture is made again for it.
    if (devicePixelRatioF() != ratio_) QueueResize();
  }
  void resizeEvent(QResizeEvent*) override { QueueResize(); }
  void mousePressEvent(QMouseEvent* e) override {
    const QPoint at = Device(e->position());
    PlaceMouseDown(program_, ButtonOf(e->button()), Shift(e), Ctrl(e), at.x(), at.y());
    afterEvent_();
  }
  void mouseMoveEvent(QMouseEvent* e) override {
    const QPoint at = Device(e->position());
    PlaceMouseMove(program_, HeldOf(e->buttons()), Shift(e), Ctrl(e), at.x(), at.y());
    afterEvent_();
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    const QPoint at = Device(e->position());
    PlaceMouseUp(program_, ButtonOf(e->button()), Shift(e), Ctrl(e), at.x(), at.y());
    afterEvent_();
  }
  // The second press of a double click: the double click itself, then the press, in that order.
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    const QPoint at = Device(e->position());
    PlaceDblClick(program_, ButtonOf(e->button()), Shift(e), Ctrl(e), at.x(), at.y());
    PlaceMouseDown(program_, ButtonOf(e->button()), Shift(e), Ctrl(e), at.x(), at.y());
    afterEvent_();
  }
  void wheelEvent(QWheelEvent* e) override {
    const QPoint at = Device(e->position());
    const QPoint pixels = e->pixelDelta() * ratio_;
    const WheelTurn turn{e->angleDelta().x(), e->angleDelta().y(), pixels.x(), pixels.y()};
    PlaceWheel(program_, turn, e->modifiers() & Qt::ShiftModifier, at.x(), at.y());
    e->accept();
    afterEvent_();
  }
  void leaveEvent(QEvent*) override {
    PlaceMouseLeave(program_);
    afterEvent_();
  }
  bool event(QEvent* e) override {
    if (e->type() == QEvent::NativeGesture) {
      auto* g = static_cast<QNativeGestureEvent*>(e);
      if (g->gestureType() == Qt::ZoomNativeGesture) {
        const QPoint at = Device(g->position());
        PlacePinch(program_, 1 + g->value(), at.x(), at.y());
        afterEvent_();
        return true;
      }
    }
    return QWidget::event(e);
  }

private:
  /// The device pixel of a position in the widget.
  QPoint Device(QPointF at) const { return QPoint(qFloor(at.x() * ratio_), qFloor(at.y() * ratio_)); }

  // The redraw lets pending events run, which must not happen inside Qt's own resizing (a
  // splitter being laid out, the window being shown), so it waits for the event loop.
  void QueueResize() {
    ratio_ = devicePixelRatioF();
    canvas_.Resize(qRound(width() * ratio_), qRound(height() * ratio_));
    if (redrawQueued_) return;
    redrawQueued_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
          redrawQueued_ = false;
          Redraw(program_, true);
          afterEvent_();
        },
        Qt::QueuedConnection);
  }

  static bool Shift(const QMouseEvent* e) { return e->modifiers() & Qt::ShiftModifier; }
  static bool Ctrl(const QMouseEvent* e) { return e->modifiers() & Qt::ControlModifier; }

  Program& program_;
  std::function<void()> afterEvent_;
  QtCanvas canvas_;
  qreal ratio_ = 1; ///< device pixels per widget pixel the picture was made for
  bool redrawQueued_ = false;
};

TDrex2dFrm::TDrex2dFrm(Program& program, QtPlatform& platform, QWidget* parent)
    : QMainWindow(parent), program_(program), platform_(platform) {
  setObjectName(QStringLiteral("Drex2dFrm"));
  setWindowTitle(Q(program_.BaseTitle));
  setAcceptDrops(true);
  BuildActions();
  BuildMenus();
  BuildToolBars();

  auto* client = new QWidget(this);
  auto* column = new QVBoxLayout(client);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(BuildInfoPanel());
  vertSplitter_ = new QSplitter(Qt::Horizontal, client);
  vertSplitter_->setObjectName(QStringLiteral("VertSplitter"));
  place_ = new PlaceWidget(vertSplitter_, program_, [this] { SyncWithCore(); });
  vertSplitter_->addWidget(place_);
  BuildPopMenu();
  vertSplitter_->addWidget(BuildWorkPanel());
  vertSplitter_->setStretchFactor(0, 1);
  vertSplitter_->setStretchFactor(1, 0);
  vertSplitter_->setCollapsible(0, false);
  vertSplitter_->setCollapsible(1, false);
  column->addWidget(vertSplitter_, 1);
  setCentralWidget(client);

  auto* statLine = new QStatusBar(this);
  statLine->setObjectName(QStringLiteral("StatLine"));
  setStatusBar(statLine);

  platform_.SetWindows(this, place_);
  RegisterCursors();
  InstallShellHooks(program_);
  funcFrm_ = new TFuncFrm(this);
  program_.PropertiesForm = [this](PropertiesModel& model) {
    // The window shows the state the dialog starts from (a finished tool's prompt is gone).
    SyncWithCore();
    const bool ok = funcFrm_->Run(model);
    // The core applies the dialog after it closed; the window then shows the result.
    QMetaObject::invokeMethod(
        this, [this] { SyncWithCore(); }, Qt::QueuedConnection);
    return ok;
  };
  calculFrm_ = new TCalculFrm(program_, this);
  program_.CalculatorForm = [this](int page) { calculFrm_->ShowPage(page); };
  calcFrm_ = new TCalcFrm(this);
  program_.DynExprForm = [this](DynExprDialogModel& model) {
    SyncWithCore();
    return calcFrm_->Run(model);
  };
  modFrm_ = new TModFrm(
      program_, [this] { SyncWithCore(); }, this);
  program_.TransformForm = [this] { modFrm_->ShowForm(); };
  rotFrm_ = new TRotFrm(this);
  program_.RotationForm = [this](RotationModel& model) {
    SyncWithCore();
    rotFrm_->Run(model);
  };
  macroFrm_ = new TMacroFrm(this);
  program_.MacroForm = [this](MacroListModel& model) {
    SyncWithCore();
    return macroFrm_->Run(model);
  };
  setupFrm_ = new TSetupFrm(this);
  program_.SetupForm = [this] {
    SyncWithCore();
    return setupFrm_->Run(program_.Setup, program_.Lang.Names);
  };
  pngFrm_ = new TPngFrm(this);
  program_.PngExportForm = [this](PngExportModel& model) {
    SyncWithCore();
    return pngFrm_->Run(model, program_);
  };
  program_.AboutForm = [this] {
    TAboutFrm about(
        AboutBox(program_), program_.Lang.ButtonCaptions[2], [this] { MenuClick(tag::Help); }, this);
    about.exec();
  };
  platform_.SetLanguage(program_.Lang);
  program_.AfterLanguageChange = [this] { ShowLanguage(); };
  program_.TakeLayout = [this] { TakeLayout(); };
  program_.ApplyLayout = [this] { ApplyLayout(); };
  platform_.SetTimerHandler(TimerId::Blic, [this] {
    BlinkTick(program_);
    SyncWithCore();
  });
  platform_.SetTimerHandler(TimerId::TraectTime, [this] { LocusTraceTick(program_); });
  platform_.SetTimerHandler(TimerId::Settle, [this] {
    SettleTick(program_);
    SyncWithCore();
  });
  platform_.SetTimerHandler(TimerId::Timer1, [this] {
    StartupTick(program_);
    SyncWithCore();
  });
  qApp->installEventFilter(this);
  resize(1000, 680);
  vertSplitter_->setSizes({1000 - WorkPanelWidth, WorkPanelWidth});
  CaptureTexts();
  ShowToolkitLocale();
  SyncWithCore();
}

TDrex2dFrm::~TDrex2dFrm() {
  qApp->removeEventFilter(this);
  program_.PropertiesForm = nullptr;
  program_.RotationForm = nullptr;
  program_.TransformForm = nullptr;
  program_.CalculatorForm = nullptr;
  program_.DynExprForm = nullptr;
  program_.MacroForm = nullptr;
  program_.SetupForm = nullptr;
  program_.PngExportForm = nullptr;
  program_.AboutForm = nullptr;
  program_.AfterLanguageChange = nullptr;
  program_.TakeLayout = nullptr;
  program_.ApplyLayout = nullptr;
  for (TimerId id : {TimerId::Blic, TimerId::TraectTime, TimerId::Timer1, TimerId::Settle}) {
    platform_.StopTimer(id);
    platform_.SetTimerHandler(id, {});
  }
}

QWidget* TDrex2dFrm::Place() const { return place_; }

void TDrex2dFrm::StartStartupTimer() { platform_.StartTimer(TimerId::Timer1, StartupIntervalMs); }

void TDrex2dFrm::BuildActions() {
  for (const CommandInfo& c : CommandTable) {
    auto* action = new QAction(this);
    action->setObjectName(Q(c.MenuItem));
    action->setData(c.Tag);
    action->setText(Q(c.Caption));
    action->setIconText(WithoutAccessKey(Q(c.Caption)));
    action->setStatusTip(Q(c.Hint));
    // A tool button shows the hint of the menu item it acts through, as its tip and in the status line.
    action->setToolTip(Q(c.Hint));
    action->setShortcuts(ShortcutsOf(c.Shortcut));
    action->setCheckable(c.Checkable);
    if (c.Image >= 0) action->setIcon(CommandImage(c.Image));
    action->setEnabled(CommandAvailable(c.Tag));
    const int tag = c.Tag;
    connect(action, &QAction::triggered, this, [this, tag] { MenuClick(tag); });
    actions_[c.Tag] = action;
  }
}

void TDrex2dFrm::BuildMenus() {
  std::map<MenuId, QMenu*> menus;
  for (const MenuInfo& m : MenuTable) {
    QMenu* menu = m.Parent == m.Id ? menuBar()->addMenu(Q(m.Caption)) : menus.at(m.Parent)->addMenu(Q(m.Caption));
    menu->setObjectName(Q(m.Name));
    menus[m.Id] = menu;
  }
  for (const CommandInfo& c : CommandTable) {
    QMenu* menu = menus.at(c.Menu);
    if (c.SeparatorBefore) {
      QAction* separator = menu->addSeparator();
      if (*c.SeparatorBefore) separator->setObjectName(Q(c.SeparatorBefore));
      if (QStringLiteral("fileend") == Q(c.SeparatorBefore)) fileEnd_ = separator;
    }
    menu->addAction(actions_.at(c.Tag));
  }
}

void TDrex2dFrm::BuildToolBars() {
  for (const ToolBarInfo& t : ToolBarTable) {
    auto* bar = new QToolBar(Q(t.Caption), this);
    bar->setObjectName(Q(t.Name));
    // The bar's hint is its name, which a language file translates with the rest.
    bar->setToolTip(Q(t.Caption));
    bar->setIconSize(QSize(24, 24));
    toolBars_[static_cast<int>(t.Id)] = bar;
    if (t.Id == ToolBarId::DynCalc) {
      // Small buttons, so that all five fit the narrow right panel.
      bar->setIconSize(QSize(16, 16));
      bar->setStyleSheet(QStringLiteral("QToolBar { spacing: 0px; padding: 0px; border: none; }"
                                        " QToolButton { padding: 1px; margin: 0px; }"));
      bar->setMovable(false);
      bar->setFloatable(false);
    } else {
      bar->setMovable(true);
      bar->setFloatable(true);
      addToolBar(Qt::TopToolBarArea, bar);
      // The construction tools fill a row; the view, measurement and macro bars go below them.
      if (t.Id == ToolBarId::Make) addToolBarBreak(Qt::TopToolBarArea);
    }
  }
  for (const CommandInfo& c : CommandTable) {
    if (c.ToolBar == ToolBarId::None) continue;
    QToolBar* bar = toolBars_.at(static_cast<int>(c.ToolBar));
    bar->addAction(actions_.at(c.Tag));
    // The button acts through its menu item's action; it carries its own name.
    if (QWidget* button = bar->widgetForAction(actions_.at(c.Tag))) button->setObjectName(Q(c.ToolButton));
  }
}

QWidget* TDrex2dFrm::BuildInfoPanel() {
  auto* panel = new QWidget(this);
  panel->setObjectName(QStringLiteral("InfoPanel"));
  panel->setAutoFillBackground(true);
  QPalette pal = panel->palette();
  pal.setColor(QPalette::Window, QColor(0, 0, 128));
  pal.setColor(QPalette::WindowText, Qt::yellow);
  panel->setPalette(pal);
  infoText_ = new QLabel(panel);
  infoText_->setObjectName(QStringLiteral("InfoText"));
  QFont bold = infoText_->font();
  bold.setBold(true);
  infoText_->setFont(bold);
  infoText_->setPalette(pal);
  infoText_->setTextFormat(Qt::PlainText);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(2, 3, 20, 3);
  row->addWidget(infoText_, 1);

  minBtn_ = new QToolButton(panel);
  minBtn_->setObjectName(QStringLiteral("MinBtn"));
  minBtn_->setAutoRaise(true);
  minBtn_->setFixedSize(16, 16);
  minBtn_->setArrowType(Qt::RightArrow);
  minBtn_->setToolTip(QStringLiteral("Сховати або показати праву панель"));
  minBtn_->setStatusTip(QStringLiteral("Сховати або показати праву панель"));
  connect(minBtn_, &QToolButton::clicked, this, [this] { ToggleWorkPanel(); });
  panel->installEventFilter(this);
  infoPanel_ = panel;
  return panel;
}

QWidget* TDrex2dFrm::BuildWorkPanel() {
  workPanel_ = new QWidget(this);
  workPanel_->setObjectName(QStringLiteral("WorkPanel"));
  workPanel_->setMinimumWidth(WorkPanelMinWidth);
  auto* column = new QVBoxLayout(workPanel_);
  column->setContentsMargins(0, 0, 0, 0);
  auto* split = new QSplitter(Qt::Vertical, workPanel_);
  split->setObjectName(QStringLiteral("HorzSplitter"));

  auto* lists = new QWidget(split);
  auto* listColumn = new QVBoxLayout(lists);
  listColumn->setContentsMargins(0, 0, 0, 0);
  objList_ = new ObjListView(program_, lists);
  objList_->setToolTip(Q("Перелік об'єктів"));
  objList_->setStatusTip(objList_->toolTip());
  connect(objList_, &ObjListView::Changed, this, [this] { SyncWithCore(); });
  connect(objList_, &ObjListView::PopupRequested, this, [this](const QPoint& at) {
    popProperties_->setEnabled(static_cast<bool>(program_.ObjectPropertiesHook));
    popMenu_->popup(at);
  });
  reportBox_ = new QListWidget(lists);
  reportBox_->setObjectName(QStringLiteral("reportBox"));
  reportBox_->setToolTip(Q("Характеристики поточного об'єкта"));
  reportBox_->setStatusTip(reportBox_->toolTip());
  reportBox_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  reportBox_->setMaximumHeight(110);
  QPalette reportPalette = reportBox_->palette();
  reportPalette.setColor(QPalette::Base, QColor::fromRgb(PixelOfColor(ReportBackground)));
  reportBox_->setPalette(reportPalette);
  listColumn->addWidget(objList_, 1);
  listColumn->addWidget(reportBox_);

  auto* calc = new QWidget(split);
  auto* calcColumn = new QVBoxLayout(calc);
  calcColumn->setContentsMargins(0, 0, 0, 0);
  calcColumn->setSpacing(0);
  calcColumn->addWidget(toolBars_.at(static_cast<int>(ToolBarId::DynCalc)));
  calcGrid_ = new QTableWidget(1, 2, calc);
  calcGrid_->setObjectName(QStringLiteral("CalcGrid"));
  calcGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  calcGrid_->setSelectionBehavior(QAbstractItemView::SelectRows);
  calcGrid_->setSelectionMode(QAbstractItemView::SingleSelection);
  calcGrid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  calcGrid_->horizontalHeader()->setDefaultSectionSize(CalcGridValueWidth);
  calcGrid_->horizontalHeader()->setStretchLastSection(false);
  calcGrid_->setColumnWidth(0, CalcGridCaptionWidth);
  // The row numbers are the handles by which the user moves an expression up or down.
  calcGrid_->verticalHeader()->setSectionsMovable(true);
  calcGrid_->verticalHeader()->setDefaultSectionSize(calcGrid_->fontMetrics().height() + 4);
  QPalette gridPalette = calcGrid_->palette();
  gridPalette.setColor(QPalette::Base, QColor(228, 228, 228));
  calcGrid_->setPalette(gridPalette);
  connect(calcGrid_, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
    if (!syncingGrid_ && row >= 0) program_.ExprGrid.Current = row;
  });
  connect(calcGrid_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    program_.ExprGrid.Current = row;
    MenuClick(tag::CalcEdit);
  });
  connect(calcGrid_->verticalHeader(), &QHeaderView::sectionMoved, this, [this](int, int from, int to) {
    if (syncingGrid_) return;
    // The table moves the record; the header goes back to its order and shows the table's.
    syncingGrid_ = true;
    calcGrid_->verticalHeader()->moveSection(to, from);
    syncingGrid_ = false;
    GridRowMoved(program_, from, to);
    SyncWithCore();
  });
  calcColumn->addWidget(calcGrid_, 1);

  split->addWidget(lists);
  split->addWidget(calc);
  split->setSizes({330, 200});
  column->addWidget(split);
  return workPanel_;
}

void TDrex2dFrm::BuildPopMenu() {
  popMenu_ = new QMenu(this);
  popMenu_->setObjectName(QStringLiteral("PopMenu"));
  popProperties_ = popMenu_->addAction(Q("Змінити"));
  popProperties_->setObjectName(QStringLiteral("PopProperties"));
  popProperties_->setData(1);
  connect(popProperties_, &QAction::triggered, this, [this] {
    PopProperties(program_);
    SyncWithCore();
  });
  QAction* popDelete = popMenu_->addAction(Q("Вилучити"));
  popDelete->setObjectName(QStringLiteral("PopDelete"));
  popDelete->setData(2);
  connect(popDelete, &QAction::triggered, this, [this] {
    PopDelete(program_);
    SyncWithCore();
  });
}

void TDrex2dFrm::SyncReport() {
  const ObjectListState& list = program_.List;
  if (list.ReportRevision == shownReportRevision_) return;
  shownReportRevision_ = list.ReportRevision;
  reportBox_->clear();
  for (const std::string& line : list.Report)
    reportBox_->addItem(Q(line));
}

void TDrex2dFrm::RegisterCursors() {
  for (int no = TargetCur; no <= ArrowCur; ++no)
    platform_.RegisterCursor(no, ProgramCursor(no));
}

void TDrex2dFrm::ToggleWorkPanel() {
  workPanel_->setVisible(!workPanel_->isVisible());
  minBtn_->setArrowType(workPanel_->isVisible() ? Qt::RightArrow : Qt::LeftArrow);
}

QAction* TDrex2dFrm::CommandAction(int tag) const {
  const auto found = actions_.find(tag);
  return found == actions_.end() ? nullptr : found->second;
}

void TDrex2dFrm::MenuClick(int tag) {
  const MenuResult result = drex::MenuClick(program_, tag, DesignHint(tag));
  SyncWithCore();
  if (result == MenuResult::CloseWindow) close();
}

void TDrex2dFrm::SyncWithCore() {
  setWindowTitle(Q(program_.Title));
  infoText_->setText(Q(program_.InfoText));
  if (QAction* abort = CommandAction(tag::Abort))
    abort->setEnabled(CommandAvailable(tag::Abort) && program_.AbortEnabled);
  if (QAction* del = CommandAction(tag::ModeDel))
    del->setEnabled(CommandAvailable(tag::ModeDel) && program_.DeleteEnabled);
  // "Змінити" edits the object of the list's current line.
  if (QAction* change = CommandAction(tag::Change))
    change->setEnabled(CommandAvailable(tag::Change) && CurrentListObject(program_) > 0);
  if (QAction* showAll = CommandAction(tag::ShowAll)) showAll->setChecked(program_.ShowHidden);
  if (QAction* locus = CommandAction(tag::ShowGMT)) {
    // The locus command says what it does next: start a trace, or stop the one shown.
    const LocusCommandLook look = LocusCommandState(program_);
    if (look.Image != shownLocusImage_) {
      shownLocusImage_ = look.Image;
      locus->setText(Q(look.Caption));
      locus->setIconText(WithoutAccessKey(Q(look.Caption)));
      locus->setStatusTip(Q(look.Hint));
      locus->setToolTip(Q(look.Hint));
      locus->setIcon(CommandImage(look.Image));
    }
  }
  SyncHistoryAction(tag::Undo, program_.History.CanUndo(), UndoHint);
  SyncHistoryAction(tag::Redo, program_.History.CanRedo(), RedoHint);
  bool anyRecent = false;
  for (int k = 1; k <= RecentItemCount; ++k) {
    QAction* item = CommandAction(FirstRecentTag - 1 + k);
    if (!item) continue;
    const std::string caption = RecentItemCaption(program_, k);
    item->setText(Q(caption));
    item->setVisible(!caption.empty());
    anyRecent = anyRecent || !caption.empty();
  }
  if (fileEnd_) fileEnd_->setVisible(anyRecent);
  // The recording button blinks the picture of the marking stage.
  if (shownMacroImage_ != program_.Op.MacroMakeImage) {
    QToolBar* bar = toolBars_.count(static_cast<int>(ToolBarId::Macro))
                        ? toolBars_.at(static_cast<int>(ToolBarId::Macro))
                        : nullptr;
    QAction* make = CommandAction(tag::MacroMake);
    if (auto* button = bar && make ? qobject_cast<QToolButton*>(bar->widgetForAction(make)) : nullptr) {
      button->setIcon(CommandImage(program_.Op.MacroMakeImage));
      shownMacroImage_ = program_.Op.MacroMakeImage;
    }
  }
  objList_->Sync();
  SyncReport();
  SyncCalcGrid();
  if (!program_.Op.StatusLine.empty() && place_->underMouse()) statusBar()->showMessage(Q(program_.Op.StatusLine));
  place_->update();
}

void TDrex2dFrm::SyncCalcGrid() {
  const DynExprGrid& grid = program_.ExprGrid;
  const int rows = static_cast<int>(grid.Values.size());
  const int columns = 2 + static_cast<int>(grid.Frozen.size());
  syncingGrid_ = true;
  const auto setText = [this](int row, int column, const std::string& text) {
    QTableWidgetItem* item = calcGrid_->item(row, column);
    const QString shown = Q(text);
    if (!item)
      calcGrid_->setItem(row, column, new QTableWidgetItem(shown));
    else if (item->text() != shown)
      item->setText(shown);
  };
  if (shownGridLayout_ != grid.Layout) {
    shownGridLayout_ = grid.Layout;
    calcGrid_->clearContents();
    calcGrid_->setRowCount(std::max(rows, 1));
    calcGrid_->setColumnCount(columns);
    QStringList headers{Q(program_.Msgs[47]), Q(program_.Msgs[48])};
    for (int k = 1; k <= static_cast<int>(grid.Frozen.size()); ++k)
      headers << Q(FrozenHeader(k));
    calcGrid_->setHorizontalHeaderLabels(headers);
    for (int r = 0; r < rows; ++r) {
      setText(r, 0, grid.Captions[static_cast<std::size_t>(r)]);
      for (int k = 0; k < static_cast<int>(grid.Frozen.size()); ++k) {
        const auto& column = grid.Frozen[static_cast<std::size_t>(k)];
        setText(r, 2 + k, static_cast<std::size_t>(r) < column.size() ? column[static_cast<std::size_t>(r)] : "");
      }
    }
  }
  for (int r = 0; r < rows; ++r)
    setText(r, 1, grid.Values[static_cast<std::size_t>(r)]);
  if (grid.Current >= 0 && grid.Current < rows && calcGrid_->currentRow() != grid.Current)
    calcGrid_->setCurrentCell(grid.Current, 0);
  syncingGrid_ = false;
  if (QAction* save = CommandAction(tag::CalcFixSave)) save->setEnabled(!grid.Frozen.empty());
}

void TDrex2dFrm::SyncHistoryAction(int tag, bool available, std::string (*hint)(const Program&, const std::string&)) {
  QAction* action = CommandAction(tag);
  const CommandInfo* command = FindCommand(tag);
  if (!action || !command) return;
  action->setEnabled(available);
  const QString text = Q(hint(program_, DesignHint(tag)));
  action->setStatusTip(text);
  action->setToolTip(text);
}

namespace {

/// The first local file among the dropped ones; empty when there is none.
QString DroppedFile(const QMimeData* data) {
  if (data == nullptr || !data->hasUrls()) return {};
  for (const QUrl& url : data->urls())
    if (url.isLocalFile()) return url.toLocalFile();
  return {};
}

} // namespace

void TDrex2dFrm::dragEnterEvent(QDragEnterEvent* event) {
  if (!DroppedFile(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void TDrex2dFrm::dropEvent(QDropEvent* event) {
  const QString path = DroppedFile(event->mimeData());
  if (path.isEmpty()) return;
  event->acceptProposedAction();
  // The question about unsaved changes is a modal box: asked once the drop has ended, so that the
  // source of the drag is not kept waiting.
  QMetaObject::invokeMethod(
      this,
      [this, path] {
        OpenDroppedFile(program_, path.toUtf8().toStdString());
        SyncWithCore();
      },
      Qt::QueuedConnection);
}

void TDrex2dFrm::closeEvent(QCloseEvent* event) {
  if (CloseQuery(program_) == CloseDecision::Close) {
    WriteSettings(program_);
    event->accept();
  } else {
    event->ignore();
  }
  SyncWithCore();
}

// The window takes Enter, Esc, Delete and the numeric-pad plus and minus before its controls do.
// A shortcut-override request for one of them is accepted so that the key comes as a key press,
// which then runs the window's own handling.
bool TDrex2dFrm::HandleWindowKey(QEvent* event, bool run) {
  const auto* key = static_cast<QKeyEvent*>(event);
  const bool keypad = key->modifiers() & Qt::KeypadModifier;
  ShellKey shellKey;
  switch (key->key()) {
  case Qt::Key_Return:
  case Qt::Key_Enter:
    shellKey = ShellKey::Enter;
    break;
  case Qt::Key_Escape:
    shellKey = ShellKey::Escape;
    break;
  case Qt::Key_Delete:
    shellKey = ShellKey::Delete;
    break;
  case Qt::Key_Plus:
    if (!keypad) return false;
    shellKey = ShellKey::NumPlus;
    break;
  case Qt::Key_Minus:
    if (!keypad) return false;
    shellKey = ShellKey::NumMinus;
    break;
  default:
    return false;
  }
  if (!run) return true;
  ShellKeyDown(program_, shellKey);
  SyncWithCore();
  return true;
}

bool TDrex2dFrm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == infoPanel_ && event->type() == QEvent::Resize) {
    minBtn_->move(infoPanel_->width() - 18, (infoPanel_->height() - minBtn_->height()) / 2);
    return false;
  }
  const bool overrideRequest = event->type() == QEvent::ShortcutOverride;
  if (!overrideRequest && event->type() != QEvent::KeyPress) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this || QApplication::activeModalWidget() || QApplication::activePopupWidget())
    return false;
  if (overrideRequest) {
    if (!HandleWindowKey(event, false)) return false;
    event->accept();
    return true;
  }
  return HandleWindowKey(event, true);
}

std::string TDrex2dFrm::DesignHint(int tag) const {
  const auto found = designHints_.find(tag);
  if (found != designHints_.end()) return found->second;
  const CommandInfo* command = FindCommand(tag);
  return command ? command->Hint : std::string();
}

void TDrex2dFrm::TakeDesignHints() {
  // Looked up after every event (the undo and redo hints), so gathered once per language.
  designHints_.clear();
  if (program_.Lang.Forms.empty()) return;
  std::map<std::string, const std::string*> byName;
  for (const TextComponent& c : program_.Lang.Forms.front().Components)
    byName.emplace(c.Name, &c.Hint);
  for (const CommandInfo& c : CommandTable) {
    const auto found = byName.find(c.MenuItem);
    if (found != byName.end()) designHints_[c.Tag] = *found->second;
  }
}

std::vector<QWidget*> TDrex2dFrm::TextForms() const {
  return {const_cast<TDrex2dFrm*>(this), macroFrm_,  calcFrm_, rotFrm_,  funcFrm_,
          platform_.ProgressForm(),      calculFrm_, modFrm_,  setupFrm_};
}

void TDrex2dFrm::CaptureTexts() {
  program_.Lang.Forms.clear();
  for (QWidget* form : TextForms())
    program_.Lang.Forms.push_back(CaptureFormTexts(form));
  TakeDesignHints();
}

void TDrex2dFrm::ShowLanguage() {
  const std::vector<QWidget*> forms = TextForms();
  for (std::size_t k = 0; k < forms.size() && k < program_.Lang.Forms.size(); ++k)
    // The main window's caption is the document's title.
    ShowFormTexts(program_.Lang.Forms[k], forms[k], forms[k] == this);
  for (const ToolBarInfo& t : ToolBarTable) {
    // A tool bar's title names it in the window's context menu; it follows its hint when it has one.
    QToolBar* bar = toolBars_.at(static_cast<int>(t.Id));
    if (!bar->toolTip().isEmpty()) bar->setWindowTitle(bar->toolTip());
  }
  TakeDesignHints();
  ShowToolkitLocale();
  // What the program composed itself is composed again in the new language.
  shownLocusImage_ = -1;
  shownGridLayout_ = ~0u;
  shownReportRevision_ = ~0u;
  SyncWithCore();
}

void TDrex2dFrm::ShowToolkitLocale() {
  // The toolkit's own buttons and dialogs speak the language's locale; without the translation
  // package they stay in English.
  if (shownLocale_ != program_.Lang.Locale) {
    shownLocale_ = program_.Lang.Locale;
    if (toolkitTexts_) {
      QApplication::removeTranslator(toolkitTexts_);
      delete toolkitTexts_;
      toolkitTexts_ = nullptr;
    }
    auto* texts = new QTranslator(this);
    if (!shownLocale_.empty() &&
        texts->load(QStringLiteral("qtbase_") + Q(shownLocale_), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
      QApplication::installTranslator(texts);
      toolkitTexts_ = texts;
    } else {
      delete texts;
    }
  }
}

void TDrex2dFrm::TakeLayout() {
  WindowLayout& layout = program_.Layout;
  if (const QScreen* s = screen()) {
    layout.ScreenWidth = s->availableGeometry().width();
    layout.ScreenHeight = s->availableGeometry().height();
    layout.ScreenPixelRatio = s->devicePixelRatio();
  }
  // The splitter knows the panel's width even before the window was laid out.
  if (!workPanel_->isHidden() && vertSplitter_->sizes().size() == 2) layout.RightPanelWidth = vertSplitter_->sizes()[1];
  layout.RightPanelVisible = !workPanel_->isHidden();
  layout.ToolBars.clear();
  for (const ToolBarInfo& t : ToolBarTable) {
    if (t.Id == ToolBarId::DynCalc) continue;
    const QToolBar* bar = toolBars_.at(static_cast<int>(t.Id));
    const QPoint at = bar->isWindow() ? mapFromGlobal(bar->pos()) : bar->pos();
    layout.ToolBars.push_back({t.Name, at.x(), at.y()});
  }
  layout.Maximized = isMaximized();
  // The place is kept within the screen's free area, where ApplyLayout puts it back.
  const QRect frame = isMaximized() ? normalGeometry() : geometry();
  const QPoint origin = screen() ? screen()->availableGeometry().topLeft() : QPoint();
  layout.Left = frame.x() - origin.x();
  layout.Top = frame.y() - origin.y();
  layout.Width = frame.width();
  layout.Height = frame.height();
}

void TDrex2dFrm::ApplyLayout() {
  const WindowLayout& layout = program_.Layout;
  if (layout.Width > 0 && layout.Height > 0) {
    const QRect available = screen() ? screen()->availableGeometry() : QRect();
    setGeometry(available.x() + layout.Left, available.y() + layout.Top, layout.Width, layout.Height);
  }
  if (layout.Maximized) showMaximized();
  // The tool bars go back to their rows, top to bottom, each row left to right.
  std::vector<std::pair<QToolBar*, QPoint>> bars;
  for (const ToolBarPlace& place : layout.ToolBars)
    for (const ToolBarInfo& t : ToolBarTable)
      if (t.Id != ToolBarId::DynCalc && place.Name == t.Name)
        bars.emplace_back(toolBars_.at(static_cast<int>(t.Id)), QPoint(place.Left, place.Top));
  std::stable_sort(bars.begin(), bars.end(), [](const auto& a, const auto& b) {
    const int rowA = a.second.y() / ToolBarRowHeight, rowB = b.second.y() / ToolBarRowHeight;
    return rowA != rowB ? rowA < rowB : a.second.x() < b.second.x();
  });
  for (const auto& [bar, at] : bars) {
    if (toolBarBreak(bar)) removeToolBarBreak(bar);
    removeToolBar(bar);
  }
  int row = -1;
  for (const auto& [bar, at] : bars) {
    const int barRow = at.y() / ToolBarRowHeight;
    if (row >= 0 && barRow != row) addToolBarBreak(Qt::TopToolBarArea);
    row = barRow;
    addToolBar(Qt::TopToolBarArea, bar);
    bar->show();
  }
  workPanel_->setVisible(layout.RightPanelVisible);
  minBtn_->setArrowType(workPanel_->isVisible() ? Qt::RightArrow : Qt::LeftArrow);
  const int total = vertSplitter_->width();
  vertSplitter_->setSizes({std::max(1, total - layout.RightPanelWidth), layout.RightPanelWidth});
}

} // namespace drex
