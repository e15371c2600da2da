// The transformation dialog's bindings: its controls and texts, typing and leaving a box, the
// lists refilled on activation, "Виконати" applying the model and keeping the dialog open, and
// "Закрити" hiding it.

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <memory>

#include "dialogs/Modify.h"
#include "shell/program.h"
#include "support/scripted_platform.h"

namespace drex {

class ModifyTest : public QObject {
  Q_OBJECT

private:
  std::unique_ptr<ScriptedPlatform> desk_;
  std::unique_ptr<Program> prog_;
  std::unique_ptr<TModFrm> form_;
  int applied_ = 0;

  template <typename T> T* Child(const char* name) const {
    T* child = form_->findChild<T*>(QString::fromUtf8(name));
    if (!child) qWarning("no control %s", name);
    return child;
  }
  QComboBox* Box(const char* name) const { return Child<QComboBox>(name); }
  void TypeInto(const char* box, const char* text) {
    QComboBox* combo = Box(box);
    combo->setFocus(Qt::TabFocusReason);
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), QString::fromUtf8(text));
  }
  int Point(double x, double y) {
    const int n = prog_->AppendObject(okPoint);
    prog_->Doc[n].X1 = x;
    prog_->Doc[n].Y1 = y;
    return n;
  }

private Q_SLOTS:
  void init() {
    desk_ = std::make_unique<ScriptedPlatform>();
    prog_ = std::make_unique<Program>(*desk_);
    applied_ = 0;
    form_ = std::make_unique<TModFrm>(*prog_, [this] { ++applied_; });
  }
  void cleanup() {
    form_.reset();
    prog_.reset();
    desk_.reset();
  }

  void showsItsControlsAndAppliesTheCurrentPage() {
    const int a = Point(10, 20);
    Point(0, 0);
    form_->ShowForm();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QCOMPARE(form_->windowTitle(), QStringLiteral("Перетворення об'єктів"));
    QVERIFY(!form_->isModal());
    auto* pages = Child<QTabWidget>("PC");
    QCOMPARE(pages->currentIndex(), 2);
    QCOMPARE(pages->tabText(0), QStringLiteral("Паралельне перенесення"));
    QVERIFY(Child<QWidget>("TabSheet1") && Child<QWidget>("TabSheet2") && Child<QWidget>("TabSheet3"));
    QCOMPARE(Box("ZoomTx")->currentText(), QStringLiteral("1"));
    QCOMPARE(Child<QPushButton>("OkButton")->text(), QStringLiteral("Виконати"));
    QCOMPARE(Child<QCheckBox>("MakeNew")->text(), QStringLiteral("Створити результуючий об'єкт"));
    QCOMPARE(Box("o1")->count(), 2);
    QCOMPARE(Box("c1")->count(), 2);

    pages->setCurrentIndex(0);
    Box("o1")->setCurrentIndex(0);
    TypeInto("PsX", "1/0");
    QVERIFY(!Child<QPushButton>("OkButton")->isEnabled());
    TypeInto("PsX", "1/4");
    QVERIFY(Child<QPushButton>("OkButton")->isEnabled());
    Box("PsY")->setFocus(Qt::TabFocusReason);
    QCOMPARE(Box("PsX")->currentText(), QStringLiteral("0.25"));
    QCOMPARE(Box("PsX")->itemText(0), QStringLiteral("1/4"));

    QTest::mouseClick(Child<QPushButton>("OkButton"), Qt::LeftButton);
    QCOMPARE(prog_->Doc[a].X1, 10 + 0.25 * prog_->UnitLength);
    QCOMPARE(applied_, 1);
    QVERIFY(form_->isVisible());

    // A new object is offered when the dialog becomes active again.
    Point(5, 5);
    form_->hide();
    form_->ShowForm();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QCOMPARE(Box("o1")->count(), 3);
    QCOMPARE(Box("o1")->currentIndex(), 0);

    QTest::mouseClick(Child<QPushButton>("BitBtn1"), Qt::LeftButton);
    QVERIFY(!form_->isVisible());
  }
};

} // namespace drex

QTEST_MAIN(drex::ModifyTest)
#include "Modify_test.moc"
