// The solid-of-revolution form's bindings: it lists the model's candidates, a change of curve or
// axis reaches the model, and the picture and texts are the model's.

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

#include "calc/Rotate.h"
#include "calc/rotation_model.h"
#include "kernel/cp1251.h"
#include "shell/program.h"
#include "support/construction_builder.h"
#include "support/scripted_platform.h"

namespace drex {

class RotateTest : public QObject {
  Q_OBJECT

private:
  std::unique_ptr<ScriptedPlatform> desk_;
  std::unique_ptr<Program> prog_;
  std::unique_ptr<TRotFrm> form_;

  template <typename T> T* Child(const char* name) const {
    T* child = form_->findChild<T*>(QString::fromUtf8(name));
    if (!child) qWarning("no control %s", name);
    return child;
  }
  QString Text(const char* label) const { return Child<QLabel>(label)->text(); }

  // Runs `steps` once the next Run has shown the dialog, then closes it.
  void WhenShown(std::function<void()> steps) {
    QTimer::singleShot(0, form_.get(), [this, steps] {
      steps();
      if (form_->isVisible()) form_->reject();
    });
  }

private Q_SLOTS:
  void init() {
    desk_ = std::make_unique<ScriptedPlatform>();
    prog_ = std::make_unique<Program>(*desk_);
    form_ = std::make_unique<TRotFrm>();
    ConstructionBuilder b(prog_->Doc);
    const int one = b.Graph("1");
    prog_->Doc[one].X1 = 0;
    prog_->Doc[one].Y1 = 1;
    prog_->Doc[one].Name.Assign(Utf8ToCp1251("Пряма"));
    const int three = b.Graph("3");
    prog_->Doc[three].X1 = 0;
    prog_->Doc[three].Y1 = 1;
  }
  void cleanup() {
    form_.reset();
    prog_.reset();
    desk_.reset();
  }

  void showsTheModelAndForwardsTheChoices() {
    RotationModel model(*prog_);
    model.Select(0);
    bool ran = false;
    WhenShown([&] {
      ran = true;
      QCOMPARE(form_->windowTitle(), QString::fromUtf8("Тіл\x6f обертання "));
      auto* curves = Child<QComboBox>("CurveName");
      QCOMPARE(curves->count(), 2);
      QCOMPARE(curves->itemText(0), QString::fromUtf8("Пряма"));
      QCOMPARE(curves->currentIndex(), 0);
      QCOMPARE(Text("Slabel"), QStringLiteral("6.3"));
      QCOMPARE(Text("VLabel"), QStringLiteral("3.1"));
      QVERIFY(!Child<QLabel>("RotImage")->pixmap().isNull());
      QCOMPARE(Child<QLabel>("RotImage")->pixmap().width(), RotationPictureSize);

      curves->setCurrentIndex(1);
      QCOMPARE(model.Selected(), 1);
      QCOMPARE(Text("VLabel"), QStringLiteral("28"));

      QRadioButton* oy = nullptr;
      for (QRadioButton* r : form_->findChildren<QRadioButton*>())
        if (r->text() == QStringLiteral("Oy")) oy = r;
      QVERIFY(oy != nullptr);
      oy->click();
      QCOMPARE(model.Axis(), RotationAxis::Oy);
      QCOMPARE(Text("Slabel"), QStringLiteral("3.1"));
      QCOMPARE(Text("VLabel"), QStringLiteral("9.4"));
      QVERIFY(curves->isEnabled());

      form_->findChild<QPushButton*>(QStringLiteral("CloseBtn"))->click();
      QVERIFY(!form_->isVisible());
    });
    form_->Run(model);
    QVERIFY(ran);
  }
};

} // namespace drex

QTEST_MAIN(drex::RotateTest)
#include "Rotate_test.moc"
