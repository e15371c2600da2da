// The main window's bindings: its menu items and tool buttons carry the commands of the table,
// the unbuilt ones are disabled, and its keys and mouse reach the core.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QUrl>
#include <QTableWidget>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "dialogs/object_list.h"
#include "dialogs/FuncMake.h"
#include "dialogs/QtFormText.h"
#include "documents/document_file.h"
#include "shell/MainForm.h"
#include "shell/about_box.h"
#include "view/picture_export.h"
#include "shell/QtPlatform.h"
#include "shell/ini_file.h"
#include "shell/language.h"
#include "shell/commands.h"
#include "shell/program.h"
#include "support/construction_generator.h"

namespace drex {

class MainFormTest : public QObject {
  Q_OBJECT

private:
  std::unique_ptr<QtPlatform> platform_;
  std::unique_ptr<Program> program_;
  std::unique_ptr<TDrex2dFrm> window_;

  QString InfoText() const { return window_->findChild<QLabel*>(QStringLiteral("InfoText"))->text(); }

  QListView* ObjList() const { return window_->findChild<QListView*>(QStringLiteral("ObjList")); }
  QStringList ReportBoxLines() const {
    QStringList lines;
    auto* box = window_->findChild<QListWidget*>(QStringLiteral("reportBox"));
    for (int k = 0; k < box->count(); ++k)
      lines << box->item(k)->text();
    return lines;
  }
  QStringList CoreReport() const {
    QStringList lines;
    for (const std::string& line : program_->List.Report)
      lines << QString::fromStdString(line);
    return lines;
  }
  /// Three free points made with the point tool, at pixels (100, 100), (200, 100), (300, 100).
  void ThreePoints() {
    for (int x : {100, 200, 300}) {
      window_->CommandAction(11)->trigger();
      ClickPlace(QPoint(x, 100));
    }
  }
  /// The check box of `row`, where the view's delegate puts it.
  QPoint CheckBoxOf(int row) const {
    QListView* list = ObjList();
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.rect = list->visualRect(list->model()->index(row, 0));
    option.features |= QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    return list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list).center();
  }
  bool InkNear(QPoint at) const {
    const QImage shot = window_->Place()->grab().toImage();
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx)
        if (shot.pixelColor(at.x() + dx, at.y() + dy) != QColor(Qt::white)) return true;
    return false;
  }

  // The mouse comes to a place before it is clicked there.
  void ClickPlace(QPoint at) {
    QTest::mouseMove(window_->Place(), at);
    QTest::mouseClick(window_->Place(), Qt::LeftButton, Qt::NoModifier, at);
  }

private Q_SLOTS:
  void init() {
    platform_ = std::make_unique<QtPlatform>();
    program_ = std::make_unique<Program>(*platform_);
    window_ = std::make_unique<TDrex2dFrm>(*program_, *platform_);
    window_->resize(900, 650);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
  }

  void cleanup() {
    window_.reset();
    program_.reset();
    platform_.reset();
  }

  void menuItemsCarryTheirCommands() {
    for (const CommandInfo& c : CommandTable) {
      auto* action = window_->findChild<QAction*>(QString::fromUtf8(c.MenuItem));
      QVERIFY2(action, c.MenuItem);
      QCOMPARE(action->data().toInt(), c.Tag);
      QCOMPARE(action, window_->CommandAction(c.Tag));
      QCOMPARE(action->statusTip(), QString::fromUtf8(c.Hint));
      const bool recent = c.Tag >= FirstRecentTag && c.Tag < FirstRecentTag + RecentItemCount;
      if (!recent) QCOMPARE(action->text(), QString::fromUtf8(c.Caption));
      // The abort command waits for an operation, the delete command for a selection and "Змінити"
      // for an object in the list; every other one is enabled exactly when built. (Qt counts a
      // hidden action as disabled: the recent items are hidden while the list is empty.)
      const bool waits = c.Tag == tag::Abort || c.Tag == tag::ModeDel || c.Tag == tag::Change || c.Tag == tag::Undo ||
                         c.Tag == tag::Redo || c.Tag == tag::CalcFixSave;
      const bool enabled = waits ? false : CommandAvailable(c.Tag);
      if (!recent) QVERIFY2(action->isEnabled() == enabled, c.MenuItem);
      QVERIFY2(!action->associatedObjects().isEmpty(), c.MenuItem);
    }
    QCOMPARE(window_->CommandAction(tag::ZoomIn)->shortcut(), QKeySequence(Qt::KeypadModifier | Qt::Key_Plus));
    QCOMPARE(window_->CommandAction(tag::Load)->shortcut(), QKeySequence(Qt::Key_F3));
    QCOMPARE(window_->CommandAction(tag::SaveAs)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F2));
    QVERIFY(window_->CommandAction(tag::About)->isEnabled());
    QCOMPARE(window_->CommandAction(tag::Print)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    QVERIFY(window_->CommandAction(tag::Ugol)->isEnabled());
    QVERIFY(window_->CommandAction(tag::ShowAll)->isCheckable());
  }

  void toolButtonsActThroughTheirMenuItems() {
    for (const ToolBarInfo& t : ToolBarTable) {
      auto* bar = window_->findChild<QToolBar*>(QString::fromUtf8(t.Name));
      QVERIFY2(bar, t.Name);
      if (t.Id != ToolBarId::DynCalc) QVERIFY(bar->isMovable() && bar->isFloatable());
    }
    for (const CommandInfo& c : CommandTable) {
      if (c.ToolBar == ToolBarId::None) continue;
      auto* button = window_->findChild<QToolButton*>(QString::fromUtf8(c.ToolButton));
      QVERIFY2(button, c.ToolButton);
      QCOMPARE(button->defaultAction(), window_->CommandAction(c.Tag));
      QCOMPARE(button->toolTip(), QString::fromUtf8(c.Hint));
      QVERIFY2(!button->icon().isNull(), c.ToolButton);
    }
    // A click on the point tool's button starts the tool as its menu item does.
    QTest::mouseClick(window_->findChild<QToolButton*>(QStringLiteral("k_ScrPoint")), Qt::LeftButton);
    QCOMPARE(InfoText(), QStringLiteral("  Створення точки: вкажіть положення точки"));
    QVERIFY(window_->CommandAction(tag::Abort)->isEnabled());
  }

  void recentItemsFollowTheList() {
    program_->RecentFiles = {"/d/a.d2d"};
    window_->SyncWithCore();
    QAction* first = window_->CommandAction(FirstRecentTag);
    QVERIFY(first->isVisible());
    QCOMPARE(first->text(), QStringLiteral("&1 /d/a.d2d"));
    QVERIFY(!window_->CommandAction(FirstRecentTag + 1)->isVisible());
    QVERIFY(window_->findChild<QAction*>(QStringLiteral("fileend"))->isVisible());
    program_->RecentFiles.clear();
    window_->SyncWithCore();
    QVERIFY(!first->isVisible());
    QVERIFY(!window_->findChild<QAction*>(QStringLiteral("fileend"))->isVisible());
  }

  void panelsAndTheirButton() {
    auto* info = window_->findChild<QWidget*>(QStringLiteral("InfoPanel"));
    QVERIFY(info);
    QCOMPARE(info->palette().color(QPalette::Window), QColor(0, 0, 128));
    auto* label = window_->findChild<QLabel*>(QStringLiteral("InfoText"));
    QCOMPARE(label->palette().color(QPalette::WindowText), QColor(Qt::yellow));
    QVERIFY(label->font().bold());
    QCOMPARE(label->text(), QStringLiteral("  "));
    auto* minBtn = window_->findChild<QToolButton*>(QStringLiteral("MinBtn"));
    QCOMPARE(minBtn->x(), info->width() - 18);
    auto* work = window_->findChild<QWidget*>(QStringLiteral("WorkPanel"));
    for (const char* name : {"ObjList", "reportBox", "CalcGrid", "VertSplitter", "StatLine"})
      QVERIFY2(window_->findChild<QWidget*>(QString::fromUtf8(name)), name);
    QVERIFY(work->isVisible());
    QVERIFY(work->minimumWidth() >= 125);
    const int placeWidth = window_->Place()->width();
    QTest::mouseClick(minBtn, Qt::LeftButton);
    QVERIFY(!work->isVisible());
    QTRY_VERIFY(window_->Place()->width() > placeWidth);
    // The wider area is redrawn.
    QTRY_COMPARE(program_->Area.Width, window_->Place()->width());
    QTest::mouseClick(minBtn, Qt::LeftButton);
    QVERIFY(work->isVisible());
  }

  void keysOfTheWindow() {
    program_->Doc.View.Zoom = 2;
    QTest::keyClick(window_.get(), Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(program_->Doc.View.Zoom, 2.2);
    QTest::keyClick(window_.get(), Qt::Key_Minus, Qt::KeypadModifier);
    QCOMPARE(program_->Doc.View.Zoom, 2.2 * 0.9);
    QTest::keyClick(window_.get(), Qt::Key_Plus);
    // The plus of the main keys is no zoom.
    QCOMPARE(program_->Doc.View.Zoom, 2.2 * 0.9);
    QTest::keyClick(window_.get(), Qt::Key_Return);
    QCOMPARE(program_->Doc.View.Zoom, 1.0);

    window_->MenuClick(22);
    QVERIFY(InfoText() != QStringLiteral("  "));
    QTest::keyClick(window_.get(), Qt::Key_Escape);
    QCOMPARE(InfoText(), QStringLiteral("  "));
    QVERIFY(!window_->CommandAction(tag::Abort)->isEnabled());
  }

  void deleteCommandFollowsTheSelection() {
    window_->CommandAction(11)->trigger();
    ClickPlace(QPoint(100, 80));
    QAction* del = window_->CommandAction(tag::ModeDel);
    QVERIFY(!del->isEnabled());
    program_->Doc[1].Selected = 1;
    window_->MenuClick(tag::ZoomEqu);
    QVERIFY(del->isEnabled());
    QVERIFY(window_->findChild<QToolButton*>(QStringLiteral("k_ModeDel"))->isEnabled());
    program_->Doc[1].Visible = 0;
    window_->MenuClick(tag::ZoomEqu);
    QVERIFY2(!del->isEnabled(), "a hidden selected object shows no handles");
  }

  void clicksOnTheDrawingAreaMakePoints() {
    QWidget* place = window_->Place();
    window_->CommandAction(11)->trigger();
    ClickPlace(QPoint(100, 80));
    QCOMPARE(int(program_->Doc.ObjCount), 1);
    QCOMPARE(program_->Doc[1].Kind, uint8_t(0));
    QVERIFY(program_->Modified);
    // The point tool ends with its point.
    QCOMPARE(InfoText(), QStringLiteral("  "));

    // A midpoint of two points made on the fly.
    window_->CommandAction(12)->trigger();
    ClickPlace(QPoint(300, 100));
    ClickPlace(QPoint(300, 300));
    QCOMPARE(int(program_->Doc.ObjCount), 4);
    QCOMPARE(program_->Doc[4].Kind, uint8_t(1));
    // The picture shows something other than white where the midpoint sits.
    const QImage shot = place->grab().toImage();
    bool inked = false;
    for (int dy = -3; dy <= 3; ++dy)
      for (int dx = -3; dx <= 3; ++dx)
        inked = inked || shot.pixelColor(300 + dx, 200 + dy) != QColor(Qt::white);
    QVERIFY(inked);
  }

  void closingAsksAboutAModifiedDocument() {
    program_->Modified = true;
    QString asked;
    // Cancel in the question keeps the window open.
    QTimer::singleShot(0, [&asked] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      asked = box->text();
      box->button(QMessageBox::Cancel)->click();
    });
    QVERIFY(!window_->close());
    QVERIFY(window_->isVisible());
    QCOMPARE(asked, QStringLiteral("Зберегти об'єкти у файлі %1 ?").arg(QString::fromStdString(program_->DocFileName)));
    // No closes without saving; Exit goes the same way.
    QTimer::singleShot(0, [] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      box->button(QMessageBox::No)->click();
    });
    window_->MenuClick(tag::Exit);
    QVERIFY(!window_->isVisible());
  }

  void cursorsAndTheDesktop() {
    QWidget* place = window_->Place();
    QCOMPARE(place->cursor().shape(), Qt::CrossCursor);
    for (int no = TargetCur; no <= ArrowCur; ++no) {
      platform_->SetCursor(no);
      QCOMPARE(place->cursor().shape(), Qt::BitmapCursor);
      QVERIFY(!place->cursor().pixmap().isNull());
    }
    platform_->SetCursor(CursorDefault);
    QCOMPARE(place->cursor().shape(), Qt::CrossCursor);
    // A help file that is not there is reported as not opened, whatever the desktop's launcher says.
    QVERIFY(!platform_->OpenWithAssociatedProgram("/nonexistent/drex2ukr.chm"));
  }

  void objectListShowsTheConstructionAndItsReport() {
    QListView* list = ObjList();
    QVERIFY(list);
    QVERIFY(list->uniformItemSizes());
    QCOMPARE(list->model()->rowCount(), 0);
    QVERIFY(ReportBoxLines().isEmpty());
    auto* box = window_->findChild<QListWidget*>(QStringLiteral("reportBox"));
    QCOMPARE(box->palette().color(QPalette::Base), QColor(0xE4, 0xE4, 0xE4));
    QCOMPARE(box->editTriggers(), QAbstractItemView::NoEditTriggers);

    ThreePoints();
    QAbstractItemModel* model = list->model();
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("1. Точка (A)"));
    QCOMPARE(model->index(2, 0).data().toString(), QStringLiteral("3. Точка (C)"));
    QCOMPARE(model->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QVERIFY(model->flags(model->index(1, 0)) & Qt::ItemIsUserCheckable);
    QCOMPARE(list->currentIndex().row(), 0);
    QVERIFY(window_->CommandAction(tag::Change)->isEnabled());
    QCOMPARE(ReportBoxLines(), CoreReport());
    QCOMPARE(ReportBoxLines().first(), QStringLiteral("Вільна точка"));

    // A click on a line makes it current and shows its report; so does a key.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(model->index(2, 0)).center());
    QCOMPARE(program_->List.Current, 2);
    QCOMPARE(ReportBoxLines(), CoreReport());
    const QStringList third = ReportBoxLines();
    QTest::keyClick(list, Qt::Key_Up);
    QCOMPARE(program_->List.Current, 1);
    QVERIFY(ReportBoxLines() != third);
    QCOMPARE(ReportBoxLines(), CoreReport());
    // The window's own keys stay with the window while the list has the focus.
    program_->Doc.View.Zoom = 2;
    QTest::keyClick(list, Qt::Key_Return);
    QCOMPARE(program_->Doc.View.Zoom, 1.0);
    QCOMPARE(program_->List.Current, 1);
  }

  void uncheckingALineHidesItsObject() {
    ThreePoints();
    window_->SyncWithCore();
    program_->Modified = false;
    QVERIFY(InkNear(QPoint(200, 100)));
    QListView* list = ObjList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CheckBoxOf(1));
    QCOMPARE(int(program_->Doc[2].Visible), 0);
    QVERIFY(program_->Modified);
    QCOMPARE(list->model()->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QVERIFY(!InkNear(QPoint(200, 100)));
    QVERIFY(InkNear(QPoint(100, 100)));
    QCOMPARE(list->model()->index(1, 0).data().toString(), QStringLiteral("2. Точка (B)"));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CheckBoxOf(1));
    QCOMPARE(int(program_->Doc[2].Visible), 1);
    QVERIFY(InkNear(QPoint(200, 100)));
  }

  void undoAndRedoWalkTheHistoryFromTheKeyboard() {
    QAction* undo = window_->CommandAction(tag::Undo);
    QAction* redo = window_->CommandAction(tag::Redo);
    QCOMPARE(redo->shortcuts(),
             (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}));
    ThreePoints();
    QListView* list = ObjList();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, CheckBoxOf(1));
    QVERIFY(undo->isEnabled() && !redo->isEnabled());
    QCOMPARE(undo->statusTip(), QStringLiteral("Скасувати: приховування об'єкта B"));

    QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(list->model()->index(1, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QVERIFY(InkNear(QPoint(200, 100)));
    QVERIFY(redo->isEnabled());
    QCOMPARE(redo->toolTip(), QStringLiteral("Повторити: приховування об'єкта B"));
    QCOMPARE(undo->statusTip(), QStringLiteral("Скасувати: побудова об'єкта C"));
    QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(int(program_->Doc[2].Visible), 0);

    for (int k = 0; k < 4; ++k)
      QTest::keyClick(window_.get(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(list->model()->rowCount(), 0);
    QVERIFY(!undo->isEnabled());
    QCOMPARE(undo->statusTip(), QString::fromUtf8(FindCommand(tag::Undo)->Hint));
    QVERIFY(!program_->Modified);
    QTest::keyClick(window_.get(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(list->model()->rowCount(), 1);
    QVERIFY(program_->Modified);
  }

  void doubleClickAndPopupMenuOpenTheProperties() {
    ThreePoints();
    std::vector<int> opened;
    program_->ObjectPropertiesHook = [&opened](int n) {
      opened.push_back(n);
      return false;
    };
    QListView* list = ObjList();
    QAbstractItemModel* model = list->model();
    const QPoint second = list->visualRect(model->index(1, 0)).center();
    // A double click as the desktop delivers it: press, release, double click, release.
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, second);
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, second);
    QCOMPARE(opened, std::vector<int>{2});
    QCOMPARE(program_->List.Current, 1);

    // The right button opens the menu on the line under it and leaves the current line.
    auto* menu = window_->findChild<QMenu*>(QStringLiteral("PopMenu"));
    QVERIFY(menu);
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualRect(model->index(2, 0)).center());
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(program_->List.PopupItem, 2);
    QCOMPARE(program_->List.Current, 1);
    auto* properties = menu->findChild<QAction*>(QStringLiteral("PopProperties"));
    QVERIFY(properties && properties->isEnabled());
    QCOMPARE(properties->text(), QStringLiteral("Змінити"));
    QCOMPARE(menu->findChild<QAction*>(QStringLiteral("PopDelete"))->text(), QStringLiteral("Вилучити"));
    properties->trigger();
    menu->hide();
    QCOMPARE(opened, (std::vector<int>{2, 3}));

    // Below the last line there is no line: no menu.
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, QPoint(10, list->viewport()->height() - 5));
    QCOMPARE(program_->List.PopupItem, -1);
    QVERIFY(!menu->isVisible());
    // The menu key opens it on the current line.
    list->setFocus();
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(5, 5), list->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(list->viewport(), &key);
    QTRY_VERIFY(menu->isVisible());
    QCOMPARE(program_->List.PopupItem, 1);
    menu->hide();
  }

  void popupMenuDeletesTheObjectOfItsLine() {
    ThreePoints();
    QListView* list = ObjList();
    auto* menu = window_->findChild<QMenu*>(QStringLiteral("PopMenu"));
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, list->visualRect(list->model()->index(1, 0)).center());
    QTRY_VERIFY(menu->isVisible());
    auto* remove = menu->findChild<QAction*>(QStringLiteral("PopDelete"));
    QVERIFY(remove->isEnabled());
    // The deletion redraws, and lets events run, before it asks: answer once the box is there.
    QString asked;
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      answer.stop();
      asked = box->text();
      box->button(QMessageBox::Yes)->click();
    });
    answer.start(10);
    remove->trigger();
    menu->hide();
    QVERIFY(asked.startsWith(QStringLiteral("Вилучити виділені об'єкти (1)")));
    QCOMPARE(list->model()->rowCount(), 2);
    QCOMPARE(list->model()->index(1, 0).data().toString(), QStringLiteral("2. Точка (C)"));
    QVERIFY(!InkNear(QPoint(200, 100)));
    QCOMPARE(ReportBoxLines(), CoreReport());
  }

  void largeConstructionIsOneModelReset() {
    QListView* list = ObjList();
    QAbstractItemModel* model = list->model();
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(model, &QAbstractItemModel::rowsInserted);
    QSignalSpy changes(model, &QAbstractItemModel::dataChanged);
    GenerateMixedConstruction(program_->Doc, MaxObjects, 7);
    RefreshObjectList(*program_);
    window_->SyncWithCore();
    QCOMPARE(resets.count(), 1);
    QCOMPARE(inserts.count(), 0);
    QCOMPARE(changes.count(), 0);
    QCOMPARE(model->rowCount(), MaxObjects);
    QVERIFY(!list->indexWidget(model->index(0, 0)));
    QCOMPARE(model->index(MaxObjects - 1, 0).data().toString().left(6), QStringLiteral("10000."));
    // Nothing changed: no reset.
    window_->SyncWithCore();
    QCOMPARE(resets.count(), 1);

    // A rebuild with the same count keeps the scroll position; the core moving the current line
    // brings it into view.
    QScrollBar* bar = list->verticalScrollBar();
    QVERIFY(bar->maximum() > 1000);
    bar->setValue(bar->maximum() / 2);
    const int scrolled = bar->value();
    RefreshObjectList(*program_);
    window_->SyncWithCore();
    QCOMPARE(resets.count(), 2);
    QCOMPARE(bar->value(), scrolled);
    ObjListClick(*program_, MaxObjects - 1);
    window_->SyncWithCore();
    QCOMPARE(list->currentIndex().row(), MaxObjects - 1);
    QCOMPARE(bar->value(), bar->maximum());
  }

  void creationCommandsRunThePropertiesDialogOfTheWindow() {
    auto* dialog = window_->findChild<TFuncFrm*>();
    QVERIFY(dialog);
    // The command lets pending events run before it opens the dialog, so the press waits for it.
    const auto press = [dialog](const char* button) {
      auto* poll = new QTimer(dialog);
      QObject::connect(poll, &QTimer::timeout, dialog, [dialog, button, poll] {
        if (QApplication::activeModalWidget() != dialog) return;
        poll->stop();
        poll->deleteLater();
        dialog->findChild<QPushButton*>(QString::fromUtf8(button))->click();
      });
      poll->start(10);
    };
    press("BitBtn2");
    window_->CommandAction(101)->trigger();
    QCOMPARE(int(program_->Doc.ObjCount), 0);
    press("BitBtn1");
    window_->CommandAction(101)->trigger();
    QCOMPARE(int(program_->Doc.ObjCount), 1);
    QCOMPARE(program_->Doc[1].Kind, uint8_t(0));
    // The same dialog is used again for the next object.
    QCOMPARE(window_->findChildren<TFuncFrm*>().size(), 1);
  }

  // Every text a user reads in a form can be reached by a language file: its widget has a name
  // of its own in its form.
  void everyTextOfEveryFormIsNamed() {
    const std::vector<std::string> expected = {"Drex2dFrm", "MacroFrm",  "CalcFrm", "RotFrm",  "FuncFrm",
                                               "ProgrFrm",  "CalculFrm", "ModFrm",  "SetupFrm"};
    QCOMPARE(program_->Lang.Forms.size(), expected.size());
    for (std::size_t k = 0; k < expected.size(); ++k) {
      const TextForm& form = program_->Lang.Forms[k];
      QCOMPARE(form.Name, expected[k]);
      std::set<std::string> names;
      for (const TextComponent& c : form.Components)
        QVERIFY2(names.insert(c.Name).second, (form.Name + ": " + c.Name).c_str());
      QWidget* widget = k == 0 ? static_cast<QWidget*>(window_.get())
                               : window_->findChild<QWidget*>(QString::fromStdString(form.Name));
      QVERIFY2(widget, form.Name.c_str());
      const auto check = [&](QWidget* w, const QString& text) {
        if (text.size() <= 1 || w->window() != widget) return;
        // The buttons of a radio group are its items, reached through the group's name.
        if (w->parentWidget() && w->parentWidget()->property(RadioGroupProperty).toBool()) return;
        QVERIFY2(!w->objectName().isEmpty() && !w->objectName().startsWith(QStringLiteral("qt_")),
                 (form.Name + ": " + text.toStdString()).c_str());
      };
      for (QLabel* label : widget->findChildren<QLabel*>())
        check(label, label->text());
      for (QAbstractButton* button : widget->findChildren<QAbstractButton*>())
        check(button, button->text());
      for (QGroupBox* group : widget->findChildren<QGroupBox*>())
        check(group, group->title());
    }
  }

  // The English file shipped with the program translates every text of the template, and a
  // language shows at once in every form; the texts the program composed are composed again.
  void englishCoversTheTemplateAndShowsEverywhere() {
    const std::string dir = QDir::tempPath().toStdString() + "/drex2d_ui_lang";
    QDir().mkpath(QString::fromStdString(dir));
    const std::string ukrainian = dir + "/drex2ukr.lng";
    QVERIFY(WriteLanguageTemplate(*program_, ukrainian));
    const std::string english = std::string(DREX2D_DATA_DIR) + "/drex2eng.lng";
    IniFile uk, en;
    QVERIFY(uk.Load(ukrainian));
    QVERIFY(en.Load(english));
    QCOMPARE(en.Sections(), uk.Sections());
    for (const std::string& section : uk.Sections()) {
      std::vector<std::string> ukKeys = uk.Keys(section), enKeys = en.Keys(section);
      // A translation names its own help; the template has none to give.
      if (section == "INFO") enKeys.erase(std::remove(enKeys.begin(), enKeys.end(), "HelpFile"), enKeys.end());
      std::sort(ukKeys.begin(), ukKeys.end());
      std::sort(enKeys.begin(), enKeys.end());
      QVERIFY2(ukKeys == enKeys, section.c_str());
    }
    QCOMPARE(en.ReadString("INFO", "Language", ""), std::string("English"));

    program_->RecentFiles = {"/home/u/plan.d2d"};
    ThreePoints();
    const QString fileMenu = window_->findChild<QMenu*>(QStringLiteral("m_FileMenu"))->title();
    QVERIFY(ApplyLanguage(*program_, english));
    QCOMPARE(window_->findChild<QMenu*>(QStringLiteral("m_FileMenu"))->title(), QStringLiteral("&File"));
    QCOMPARE(window_->CommandAction(tag::ZoomIn)->statusTip(),
             QString::fromStdString(en.ReadString("Drex2dFrm", "m_ZoomIn.hint", "")));
    QCOMPARE(window_->CommandAction(tag::ZoomIn)->toolTip(),
             QString::fromStdString(en.ReadString("Drex2dFrm", "k_ZoomIn.hint", "")));
    QCOMPARE(window_->CommandAction(FirstRecentTag)->text(), QStringLiteral("&1 /home/u/plan.d2d"));
    QCOMPARE(window_->CommandAction(tag::ShowGMT)->text(), QString::fromStdString(program_->Msgs[44]));
    auto* setup = window_->findChild<QWidget*>(QStringLiteral("SetupFrm"));
    QCOMPARE(setup->windowTitle(), QString::fromStdString(en.ReadString("INFO", "SetupFrm", "")));
    QCOMPARE(setup->findChild<QPushButton*>(QStringLiteral("ApplyBtn"))->text(), QStringLiteral("&Apply"));
    auto* funcFrm = window_->findChild<QWidget*>(QStringLiteral("FuncFrm"));
    QCOMPARE(funcFrm->findChild<QPushButton*>(QStringLiteral("BitBtn2"))->text(),
             QString::fromStdString(en.ReadString("FuncFrm", "BitBtn2.caption", "")));
    // The object list shows the English kind names, the grid its English headers.
    QVERIFY(ObjList()->model()->index(0, 0).data().toString().contains(
        QString::fromStdString(program_->Kinds.KindName[0])));
    auto* grid = window_->findChild<QTableWidget*>(QStringLiteral("CalcGrid"));
    QCOMPARE(grid->horizontalHeaderItem(0)->text(), QString::fromStdString(program_->Msgs[47]));
    for (const std::string& stem : program_->Kinds.NameStem)
      QVERIFY2(stem.size() <= 10, stem.c_str());

    QVERIFY(ApplyLanguage(*program_, ukrainian));
    QCOMPARE(window_->findChild<QMenu*>(QStringLiteral("m_FileMenu"))->title(), fileMenu);
    QCOMPARE(setup->findChild<QPushButton*>(QStringLiteral("ApplyBtn"))->text(), QString::fromUtf8("&Застосувати"));
    QCOMPARE(program_->Msgs[14], std::string("Точка"));
    QDir(QString::fromStdString(dir)).removeRecursively();
  }

  // The tool bars go back to the rows the settings file keeps, and the right panel to its width.
  void layoutComesBackAsTheSettingsKeepIt() {
    window_->resize(1000, 700);
    QTest::qWait(20);
    program_->TakeLayout();
    WindowLayout& layout = program_->Layout;
    QCOMPARE(layout.ToolBars.size(), std::size_t(5));
    // The zoom bar goes first into the top row, the others keep their rows.
    int top = layout.ToolBars[0].Top;
    for (ToolBarPlace& bar : layout.ToolBars)
      if (bar.Name == "tb_Zoom")
        bar = {"tb_Zoom", 0, top};
      else if (bar.Top == top)
        bar.Left += 500;
    layout.RightPanelWidth = 260;
    layout.Width = 0;
    program_->ApplyLayout();
    QTest::qWait(20);
    program_->TakeLayout();
    std::map<std::string, ToolBarPlace> places;
    for (const ToolBarPlace& bar : layout.ToolBars)
      places[bar.Name] = bar;
    QCOMPARE(places["tb_Zoom"].Top, places["tb_File"].Top);
    QVERIFY(places["tb_Zoom"].Left < places["tb_File"].Left);
    QVERIFY(places["tb_Select"].Top > places["tb_File"].Top);
    QCOMPARE(layout.RightPanelWidth, 260);
    QVERIFY(layout.RightPanelVisible);
  }

  void titleFollowsTheDocumentName() {
    window_->SyncWithCore();
    QCOMPARE(window_->windowTitle(), QString::fromUtf8(program_->Title.c_str()));
  }

  // The preview draws every page it shows through the core's layout, at the printer's resolution,
  // and its choice of scale redraws the pages and is kept for the next printout.
  void printPreviewDrawsThePagesAndKeepsTheScale() {
    ThreePoints();
    std::vector<std::pair<double, bool>> layouts;
    PrintRequest request;
    request.FitPageText = "fit";
    request.TrueScaleText = "true";
    request.Layout = [&](double width, double height, double dpi, bool trueScale) {
      layouts.emplace_back(dpi, trueScale);
      return trueScale ? TrueScaleFrame(*program_, width, height, dpi) : FitFrame(*program_, width, height);
    };
    int drawn = 0;
    request.Draw = [&](Canvas& canvas, const PictureFrame& frame) {
      ++drawn;
      DrawPicture(*program_, canvas, frame);
    };
    QTimer::singleShot(200, [&] {
      auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
      QVERIFY(preview);
      auto* scale = preview->findChild<QComboBox*>(QStringLiteral("printScale"));
      QVERIFY(scale);
      QCOMPARE(scale->count(), 2);
      scale->setCurrentIndex(1);
      QTimer::singleShot(200, preview, &QDialog::reject);
    });
    QVERIFY(!platform_->PrintPicture(request));
    QVERIFY(request.TrueScale);
    QVERIFY(drawn >= 2);
    QVERIFY(!layouts.empty());
    QVERIFY(layouts.front().first >= 300);
    QVERIFY(!layouts.front().second);
    QVERIFY(layouts.back().second);
  }

  // A document dropped on the window opens; the about box names the version and opens the help.
  void droppedDocumentOpensAndAboutBoxShows() {
    ThreePoints();
    const QString path = QDir::tempPath() + QStringLiteral("/drex2d_dropped.d2d");
    QVERIFY(SaveDocument(*program_, path.toStdString()));
    QTimer::singleShot(0, [] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box);
      box->button(QMessageBox::Yes)->click();
    });
    window_->MenuClick(tag::NewFile);
    QCOMPARE(program_->Doc.ObjCount, 0);
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &drop);
    QTRY_COMPARE(program_->Doc.ObjCount, 3);
    QCOMPARE(QString::fromStdString(program_->DocFileName), path);

    QString shown;
    QTimer::singleShot(100, [&shown] {
      QWidget* about = QApplication::activeModalWidget();
      QVERIFY(about);
      for (QLabel* label : about->findChildren<QLabel*>())
        shown += label->text() + QLatin1Char('\n');
      QVERIFY(about->findChild<QPushButton*>(QStringLiteral("aboutHelp")));
      qobject_cast<QDialog*>(about)->reject();
    });
    window_->MenuClick(tag::About);
    QVERIFY(shown.contains(QStringLiteral("Версія ") + QString::fromLatin1(ProgramVersion())));
    QVERIFY(shown.contains(QStringLiteral("GNU GPL")));
  }
};

} // namespace drex

QTEST_MAIN(drex::MainFormTest)
#include "MainForm_test.moc"
