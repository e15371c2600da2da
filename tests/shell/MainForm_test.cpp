// The main window's bindings: its menu items and tool buttons carry the commands of the table,
// the unbuilt ones are disabled, and its keys and mouse reach the core.

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <memory>

#include "dialogs/FuncMake.h"
#include "shell/MainForm.h"
#include "shell/QtPlatform.h"
#include "shell/commands.h"
#include "shell/program.h"

namespace drex {

class MainFormTest : public QObject {
  Q_OBJECT

private:
  std::unique_ptr<QtPlatform> platform_;
  std::unique_ptr<Program> program_;
  std::unique_ptr<TDrex2dFrm> window_;

  QString InfoText() const { return window_->findChild<QLabel*>(QStringLiteral("InfoText"))->text(); }

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
      // The abort command waits for an operation; every other one is enabled exactly when built.
      // (Qt counts a hidden action as disabled: the recent items are hidden while the list is empty.)
      const bool enabled = c.Tag == tag::Abort ? false : CommandAvailable(c.Tag);
      if (!recent) QVERIFY2(action->isEnabled() == enabled, c.MenuItem);
      QVERIFY2(!action->associatedObjects().isEmpty(), c.MenuItem);
    }
    QCOMPARE(window_->CommandAction(tag::ZoomIn)->shortcut(), QKeySequence(Qt::KeypadModifier | Qt::Key_Plus));
    QCOMPARE(window_->CommandAction(tag::Load)->shortcut(), QKeySequence(Qt::Key_F3));
    QCOMPARE(window_->CommandAction(tag::SaveAs)->shortcut(), QKeySequence(Qt::ALT | Qt::Key_F2));
    QVERIFY(!window_->CommandAction(tag::Setup)->isEnabled());
    QVERIFY(!window_->CommandAction(tag::Ugol)->isEnabled());
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

  void titleFollowsTheDocumentName() {
    window_->SyncWithCore();
    QCOMPARE(window_->windowTitle(), QString::fromUtf8(program_->Title.c_str()));
  }
};

} // namespace drex

QTEST_MAIN(drex::MainFormTest)
#include "MainForm_test.moc"
