// The dynamic-expression dialog's bindings: typing reaches the model, "Виконати" is enabled and the
// text black exactly while the model accepts it, the keypad edits the box, and Esc cancels.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "calc/calcbox.h"
#include "calc/expr_dialog_model.h"
#include "shell/program.h"
#include "support/construction_builder.h"
#include "support/scripted_platform.h"

namespace drex {

class CalcboxTest : public QObject {
  Q_OBJECT

private:
  std::unique_ptr<ScriptedPlatform> desk_;
  std::unique_ptr<Program> prog_;
  std::unique_ptr<TCalcFrm> form_;
  std::vector<std::string> history_;

  template <typename T> T* Child(const char* name) const {
    T* child = form_->findChild<T*>(QString::fromUtf8(name));
    if (!child) qWarning("no control %s", name);
    return child;
  }
  QLineEdit* Edit() const { return Child<QComboBox>("CalcStr")->lineEdit(); }
  QPushButton* Ok() const { return Child<QPushButton>("ToCalc"); }
  bool IsRed() const { return Edit()->palette().color(QPalette::Text) == QColor(255, 0, 0); }
  QToolButton* Key(const char* caption) const {
    for (QToolButton* key : Child<QWidget>("Keypad")->findChildren<QToolButton*>())
      if (key->text() == QString::fromUtf8(caption)) return key;
    qWarning("no key %s", caption);
    return nullptr;
  }

  // Runs `steps` once the next Run has shown the dialog; a dialog still open afterwards is
  // cancelled, so that a failed check ends the case instead of leaving it waiting.
  void WhenShown(std::function<void()> steps) {
    QTimer::singleShot(0, form_.get(), [this, steps] {
      if (!QTest::qWaitForWindowActive(form_.get())) qWarning("the dialog did not become active");
      steps();
      if (form_->isVisible()) form_->reject();
    });
  }

private Q_SLOTS:
  void init() {
    desk_ = std::make_unique<ScriptedPlatform>();
    prog_ = std::make_unique<Program>(*desk_);
    ConstructionBuilder b(prog_->Doc);
    b.Point(0, 0);
    b.Point(prog_->UnitLength, 0);
    prog_->Doc[1].Name.Assign("A");
    prog_->Doc[2].Name.Assign("B");
    form_ = std::make_unique<TCalcFrm>();
    history_ = {"AREA(A,B,C)"};
  }

  void cleanup() {
    form_.reset();
    prog_.reset();
    desk_.reset();
  }

  void typingKeepsOkInStepWithTheModel() {
    DynExprDialogModel model(*prog_, history_);
    WhenShown([&] {
      QCOMPARE(form_->windowTitle(), QStringLiteral("Задання динамічного виразу:"));
      QVERIFY(form_->isModal());
      QCOMPARE(Child<QComboBox>("CalcStr")->count(), 1);
      QVERIFY(!Ok()->isEnabled()); // nothing typed yet
      QVERIFY(IsRed());
      QTest::keyClicks(Edit(), QStringLiteral("2*"));
      QVERIFY(!Ok()->isEnabled());
      QVERIFY(IsRed());
      // Enter does not close the dialog while the text is refused.
      QTest::keyClick(Edit(), Qt::Key_Return);
      QVERIFY(form_->isVisible());
      QTest::mouseClick(Key("Len("), Qt::LeftButton);
      QTest::keyClicks(Edit(), QStringLiteral("a,b)"));
      QVERIFY(Ok()->isEnabled());
      QVERIFY(!IsRed());
      QTest::keyClicks(Child<QLineEdit>("DName"), QStringLiteral("AB"));
      QTest::mouseClick(Ok(), Qt::LeftButton);
      QVERIFY(!form_->isVisible());
    });
    QVERIFY(form_->Run(model));
    QCOMPARE(QString::fromStdString(model.Text()), QStringLiteral("2*Len(a,b)"));
    QCOMPARE(QString::fromStdString(model.Name), QStringLiteral("AB"));
    QCOMPARE(history_, (std::vector<std::string>{"2*Len(a,b)", "AREA(A,B,C)"}));
  }

  void editingShowsTheTextAndEscapeCancels() {
    DynExprDialogModel model(*prog_, history_, "LEN(A,B)", "d");
    WhenShown([&] {
      QCOMPARE(Edit()->text(), QStringLiteral("LEN(A,B)"));
      QCOMPARE(Child<QLineEdit>("DName")->text(), QStringLiteral("d"));
      QVERIFY(Ok()->isEnabled());
      QTest::keyClick(Edit(), Qt::Key_End);
      QTest::mouseClick(Key("BS"), Qt::LeftButton);
      QCOMPARE(Edit()->text(), QStringLiteral("LEN(A,B"));
      QVERIFY(!Ok()->isEnabled());
      QTest::keyClick(Edit(), Qt::Key_Escape);
      QVERIFY(!form_->isVisible());
    });
    QVERIFY(!form_->Run(model));
    QCOMPARE(history_, std::vector<std::string>{"AREA(A,B,C)"});
  }
};

} // namespace drex

QTEST_MAIN(drex::CalcboxTest)
#include "calcbox_test.moc"
