// The progress window: its controls, and the stop button that asks before it sets the stop
// request.

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "calc/Progres.h"
#include "shell/QtPlatform.h"

namespace drex {

class ProgresTest : public QObject {
  Q_OBJECT

  // Answers the next message box with `button` once it is shown; keeps the text it asked.
  void Answer(QMessageBox::StandardButton button) {
    QTimer::singleShot(0, this, [this, button] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) {
        qWarning("no question was asked");
        return;
      }
      asked_ = box->text();
      box->button(button)->click();
    });
  }
  QString asked_;

private Q_SLOTS:
  void showsTheMessageAndTheGauge() {
    TProgrFrm form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Обробка..."));
    QCOMPARE(form.size(), QSize(306, 109));
    QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(form.windowFlags() & Qt::WindowStaysOnTopHint);
    form.SetMessage(false, QStringLiteral("Обчислення площі ..."));
    form.SetRange(201);
    form.SetPosition(7);
    QCOMPARE(form.findChild<QLabel*>(QStringLiteral("label_MSG"))->text(), QStringLiteral("Обчислення площі ..."));
    auto* stop = form.findChild<QPushButton*>(QStringLiteral("StopBtn"));
    QCOMPARE(stop->text(), QStringLiteral("Припинити"));
    QVERIFY(!stop->isEnabled());
    auto* bar = form.findChild<QProgressBar*>(QStringLiteral("ProgrBar"));
    QCOMPARE(bar->minimum(), 1);
    QCOMPARE(bar->maximum(), 201);
    QCOMPARE(bar->value(), 7);
  }

  void stopAsksFirstAndOnlyYesStops() {
    QtPlatform platform;
    MsgTable texts;
    platform.SetMessages(texts);
    platform.ShowProgress("Обчислення ...", true);
    TProgrFrm* form = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* f = qobject_cast<TProgrFrm*>(w)) form = f;
    QVERIFY(form != nullptr);
    QVERIFY(form->isVisible());
    auto* stop = form->findChild<QPushButton*>(QStringLiteral("StopBtn"));
    QVERIFY(stop->isEnabled());

    Answer(QMessageBox::No);
    stop->click();
    QCOMPARE(asked_, QString::fromUtf8(texts[13].c_str()));
    QVERIFY(!platform.StopRequested());
    QVERIFY(form->isVisible());

    Answer(QMessageBox::Yes);
    stop->click();
    QVERIFY(platform.StopRequested());
    QVERIFY(!form->isVisible());

    // Showing the window again clears the request.
    platform.ShowProgress("Обчислення ...", false);
    QVERIFY(!platform.StopRequested());
    platform.HideProgress();
  }
};

} // namespace drex

QTEST_MAIN(drex::ProgresTest)
#include "Progres_test.moc"
