// The calculation dialog's bindings: it opens on the page asked for without blocking, typing and
// leaving a box reach the model and show what it made of them, Enter, a double click and the
// button calculate, the keypad edits the focused box, and Esc hides the dialog with its state kept.

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <string>
#include <vector>

#include "calc/calculat.h"
#include "shell/program.h"
#include "support/scripted_platform.h"

namespace drex {

class CalculatTest : public QObject {
  Q_OBJECT

private:
  std::unique_ptr<ScriptedPlatform> desk_;
  std::unique_ptr<Program> prog_;
  std::unique_ptr<TCalculFrm> form_;

  template <typename T> T* Child(const char* name) const {
    T* child = form_->findChild<T*>(QString::fromUtf8(name));
    if (!child) qWarning("no control %s", name);
    return child;
  }
  QComboBox* Box(const char* name) const { return Child<QComboBox>(name); }
  QString Result() const { return Child<QLineEdit>("ResultBox")->text(); }
  QToolButton* Key(const char* caption) const {
    for (QToolButton* key : Child<QWidget>("Keypad")->findChildren<QToolButton*>())
      if (key->text() == QString::fromUtf8(caption)) return key;
    qWarning("no key %s", caption);
    return nullptr;
  }
  bool IsRed(const char* box) const {
    return Box(box)->lineEdit()->palette().color(QPalette::Text) == QColor(255, 0, 0);
  }

  /// Gives `box` the focus and types `text` over its text.
  void TypeInto(const char* box, const char* text) {
    QComboBox* combo = Box(box);
    combo->setFocus(Qt::TabFocusReason);
    combo->lineEdit()->selectAll();
    QTest::keyClicks(combo->lineEdit(), QString::fromUtf8(text));
  }
  void Show(int page) {
    form_->ShowPage(page);
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  }

private Q_SLOTS:
  void init() {
    desk_ = std::make_unique<ScriptedPlatform>();
    prog_ = std::make_unique<Program>(*desk_);
    form_ = std::make_unique<TCalculFrm>(*prog_);
  }

  void cleanup() {
    form_.reset();
    prog_.reset();
    desk_.reset();
  }

  void opensOnThePageAskedForAndCalculatesByButtonEnterAndDoubleClick() {
    Show(IntegralPage);
    QCOMPARE(form_->windowTitle(), QStringLiteral("Обчислення"));
    QVERIFY(!form_->isModal());
    QCOMPARE(Child<QTabWidget>("CalcPages")->currentIndex(), 1);
    QCOMPARE(form_->focusWidget(), Box("CalcStrInt"));
    QCOMPARE(Box("B")->currentText(), QStringLiteral("10"));

    QTest::mouseClick(Child<QPushButton>("ToCalc"), Qt::LeftButton);
    QCOMPARE(Result(), QStringLiteral("50"));
    QCOMPARE(Box("CalcStrInt")->itemText(0), QStringLiteral("X"));

    TypeInto("CalcStrInt", "2*x");
    QTest::keyClick(Box("CalcStrInt"), Qt::Key_Return);
    QVERIFY(form_->isVisible());
    QCOMPARE(Result(), QStringLiteral("1e+02"));

    // Enter in a bound still holding an expression: the error box, the result stays.
    TypeInto("A", "pi");
    desk_->ExpectMessage(prog_->Msgs[2], mbOK, mbOK);
    QTest::keyClick(Box("A"), Qt::Key_Enter);
    QCOMPARE(Result(), QStringLiteral("1e+02"));
    QCOMPARE(desk_->Messages.size(), std::size_t(1));

    // Leaving the box puts the exact value there, and then a double click calculates.
    Box("B")->setFocus(Qt::TabFocusReason);
    QCOMPARE(Box("A")->currentText(), QStringLiteral("3.1415926"));
    QCOMPARE(Box("A")->count(), 1);
    QTest::mouseDClick(Box("B")->lineEdit(), Qt::LeftButton);
    QCOMPARE(Result(), QStringLiteral("90"));

    // A bound that does not evaluate turns red when left, and black when entered again.
    TypeInto("B", "1/0");
    Box("A")->setFocus(Qt::TabFocusReason);
    QVERIFY(IsRed("B"));
    Box("B")->setFocus(Qt::MouseFocusReason);
    QVERIFY(!IsRed("B"));
  }

  void dependencyTypeEnablesTheArgumentBoxes() {
    Show(ValuePage);
    QVERIFY(!Box("fx1")->isEnabled() && !Child<QLabel>("lx1")->isEnabled());
    Child<QRadioButton>("ftype2")->click();
    QVERIFY(Box("fx1")->isEnabled() && Box("fy1")->isEnabled() && Child<QLabel>("ly1")->isEnabled());
    QVERIFY(!Box("fz1")->isEnabled() && !Child<QLabel>("lz1")->isEnabled());
    TypeInto("CalcStr", "x*y");
    TypeInto("fx1", "2");
    TypeInto("fy1", "3");
    QTest::keyClick(Box("fy1"), Qt::Key_Return);
    QCOMPARE(Result(), QStringLiteral("6"));
  }

  void keypadEditsTheFocusedBoxWithoutTakingTheFocus() {
    Show(ValuePage);
    QComboBox* formula = Box("CalcStr");
    QCOMPARE(form_->focusWidget(), formula);
    formula->lineEdit()->selectAll();
    QVERIFY(Key("Sin(")->toolTip() == QStringLiteral("Синус"));
    QTest::mouseClick(Key("Sin("), Qt::LeftButton);
    QTest::mouseClick(Key("Pi"), Qt::LeftButton);
    QTest::mouseClick(Key(")"), Qt::LeftButton);
    QCOMPARE(formula->currentText(), QStringLiteral("Sin(Pi)"));
    QCOMPARE(formula->lineEdit()->cursorPosition(), 7);
    QCOMPARE(form_->focusWidget(), formula);
    QCOMPARE(QString::fromStdString(form_->Model().Text(CalculBox::CalcStr)), QStringLiteral("Sin(Pi)"));
    // The box takes 100 characters however they come.
    formula->lineEdit()->selectAll();
    QTest::keyClicks(formula->lineEdit(), QString(120, QLatin1Char('1')));
    QCOMPARE(formula->currentText().size(), 100);
    QCOMPARE(form_->Model().Text(CalculBox::CalcStr).size(), std::size_t(100));
  }

  void escapeHidesAndTheStateStays() {
    Show(IntegralPage);
    TypeInto("B", "21/2");
    QTest::mouseClick(Child<QPushButton>("ToCalc"), Qt::LeftButton);
    QCOMPARE(Result(), QStringLiteral("55"));
    QTest::keyClick(Box("CalcStrInt"), Qt::Key_Escape);
    QVERIFY(!form_->isVisible());
    Show(DerivativePage);
    QCOMPARE(Child<QTabWidget>("CalcPages")->currentIndex(), 2);
    QCOMPARE(Result(), QStringLiteral("55"));
    Child<QTabWidget>("CalcPages")->setCurrentIndex(1);
    QCOMPARE(form_->Model().Page(), IntegralPage);
    QCOMPARE(Box("B")->currentText(), QStringLiteral("10.5"));
    QCOMPARE(Box("B")->itemText(0), QStringLiteral("10.5"));
  }
};

} // namespace drex

QTEST_MAIN(drex::CalculatTest)
#include "calculat_test.moc"
