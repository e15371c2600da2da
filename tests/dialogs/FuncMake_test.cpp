// The properties dialog's bindings: it shows the page and the values of the model it runs, the
// user's edits reach the model, and "Застосувати" applies to the construction only once the
// model's checks pass. Each case runs the dialog from a real Program with a scripted desktop.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/FuncMake.h"
#include "dialogs/properties_model.h"
#include "kernel/cp1251.h"
#include "shell/commands.h"
#include "shell/program.h"
#include "support/construction_builder.h"
#include "support/recording_canvas.h"
#include "support/scripted_platform.h"
#include "view/redraw.h"

namespace drex {

namespace {

QString Q(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

} // namespace

class FuncMakeTest : public QObject {
  Q_OBJECT

private:
  std::unique_ptr<ScriptedPlatform> desk_;
  std::unique_ptr<Program> prog_;
  std::unique_ptr<RecordingCanvas> canvas_;
  std::unique_ptr<ConstructionBuilder> b_;
  std::unique_ptr<TFuncFrm> form_;

  template <typename T> T* Child(const char* name) const {
    T* child = form_->findChild<T*>(QString::fromUtf8(name));
    if (!child) qWarning("no control %s", name);
    return child;
  }
  QString Name(int n) const { return Q(Cp1251ToUtf8(prog_->Doc[n].Name.Bytes())); }

  // Runs `steps` on the dialog once the next Run has shown it. A dialog still open afterwards is
  // cancelled, so that a failed check ends the case instead of leaving it waiting.
  void WhenShown(std::function<void()> steps) {
    QTimer::singleShot(0, form_.get(), [this, steps] {
      if (!QTest::qWaitForWindowActive(form_.get())) qWarning("the dialog did not become active");
      steps();
      if (form_->isVisible()) form_->reject();
    });
  }

  // The pages shown: only the one of `kind`, which is the current one.
  void ExpectOnlyPage(int kind) {
    auto* sheets = Child<QTabWidget>("Sheets");
    QCOMPARE(sheets->count(), 14);
    for (int k = 0; k < sheets->count(); ++k)
      QVERIFY2(sheets->isTabVisible(k) == (k == kind), qPrintable(sheets->widget(k)->objectName()));
    QCOMPARE(sheets->currentIndex(), kind);
    QCOMPARE(sheets->currentWidget()->objectName(), QStringLiteral("TabSheet%1").arg(kind + 1));
  }

  static void Retype(QLineEdit* edit, const char* text) {
    edit->selectAll();
    QTest::keyClicks(edit, QString::fromUtf8(text));
  }

  bool IsRed(const char* field) const {
    return Child<QComboBox>(field)->lineEdit()->palette().color(QPalette::Text) == QColor(255, 0, 0);
  }

private Q_SLOTS:
  void init() {
    desk_ = std::make_unique<ScriptedPlatform>();
    prog_ = std::make_unique<Program>(*desk_);
    canvas_ = std::make_unique<RecordingCanvas>(800, 600);
    prog_->Surface = canvas_.get();
    InstallShellHooks(*prog_);
    b_ = std::make_unique<ConstructionBuilder>(prog_->Doc);
    form_ = std::make_unique<TFuncFrm>();
    prog_->PropertiesForm = [this](PropertiesModel& m) { return form_->Run(m); };
  }

  void cleanup() {
    form_.reset();
    b_.reset();
    prog_.reset();
    canvas_.reset();
    desk_.reset();
  }

  void pointPageShowsAndTakesItsValues() {
    const int p = b_->Point(150, -250);
    desk_->ExpectMessage(prog_->Msgs[10], mbOK, mbOK);
    WhenShown([&] {
      ExpectOnlyPage(okPoint);
      QCOMPARE(form_->windowTitle(), QStringLiteral("Конструювання об'єкта"));
      auto* name = Child<QLineEdit>("ObjName1");
      QCOMPARE(name->text(), Name(p));
      QCOMPARE(name->selectedText(), Name(p));
      QCOMPARE(form_->focusWidget(), name);
      QCOMPARE(Child<QLineEdit>("psX")->text(), QStringLiteral("1.5"));
      QCOMPARE(Child<QLineEdit>("psY")->text(), QStringLiteral("-2.5"));
      QCOMPARE(Child<QComboBox>("ColorBox")->count(), 16);
      QCOMPARE(Child<QComboBox>("ColorBox")->currentIndex(), 0);
      QVERIFY(Child<QPushButton>("BitBtn1")->isDefault());

      Child<QComboBox>("ColorBox")->setCurrentIndex(9);
      // The width and the line type exclude each other: the form shows what the model made of it.
      auto* style = Child<QComboBox>("StyleBox");
      auto* width = Child<QComboBox>("WidthBox");
      width->setCurrentIndex(2);
      style->setCurrentIndex(1);
      QCOMPARE(style->currentText(), QStringLiteral("Пунктирна"));
      QCOMPARE(width->currentIndex(), 0);
      Retype(Child<QLineEdit>("psX"), "3.25");

      // A bad name is refused with its message and the dialog stays open.
      Retype(name, "A(1)");
      QTest::mouseClick(Child<QPushButton>("BitBtn1"), Qt::LeftButton);
      QVERIFY(form_->isVisible());
      Retype(name, "Q");
      QTest::keyClick(name, Qt::Key_Return);
      QVERIFY(!form_->isVisible());
    });
    QVERIFY(OpenPropertiesDialog(*prog_, p));
    QCOMPARE(desk_->Messages, std::vector<std::string>{prog_->Msgs[10]});
    const TGeomObject& o = prog_->Doc[p];
    QCOMPARE(Name(p), QStringLiteral("Q"));
    QCOMPARE(o.X1, 325.0);
    QCOMPARE(o.Y1, -250.0);
    QCOMPARE(o.Color, ColorPalette[9].Value);
    QCOMPARE(o.PenStyle, PenStyleMap[1]);
    QCOMPARE(int(o.PenWidth), 1);
  }

  void midpointPageOffersItsCandidates() {
    const int a = b_->Point(0, 0), c = b_->Point(100, 0), d = b_->Point(0, 100);
    const int mid = b_->Midpoint(a, c);
    b_->Midpoint(mid, d); // built on the midpoint, so never offered for it
    WhenShown([&] {
      ExpectOnlyPage(okMidpoint);
      auto* first = Child<QComboBox>("cd1");
      auto* second = Child<QComboBox>("cd2");
      QVERIFY(!first->isEditable());
      QCOMPARE(Child<QLabel>("Label_cd1")->buddy(), first);
      const QStringList offered = {Name(a), Name(c), Name(d)};
      for (QComboBox* box : {first, second}) {
        QStringList items;
        for (int k = 0; k < box->count(); ++k)
          items << box->itemText(k);
        QCOMPARE(items, offered);
      }
      QCOMPARE(first->currentText(), Name(a));
      QCOMPARE(second->currentText(), Name(c));
      second->setCurrentIndex(2);
      QTest::mouseClick(Child<QPushButton>("BitBtn1"), Qt::LeftButton);
      QVERIFY(!form_->isVisible());
    });
    QVERIFY(OpenPropertiesDialog(*prog_, mid));
    QCOMPARE(prog_->Doc[mid].Ref(2), d);
    QVERIFY(desk_->Messages.empty());

    // A new midpoint has no parents yet: its lists show nothing, and cancelling drops it.
    const int count = prog_->Doc.ObjCount;
    WhenShown([&] {
      ExpectOnlyPage(okMidpoint);
      QCOMPARE(Child<QComboBox>("cd1")->currentIndex(), -1);
      QCOMPARE(Child<QComboBox>("cd1")->count(), 5);
      QTest::keyClick(Child<QComboBox>("cd1"), Qt::Key_Escape);
      QVERIFY(!form_->isVisible());
    });
    MenuClick(*prog_, 102);
    QCOMPARE(int(prog_->Doc.ObjCount), count);
  }

  void pointOnObjectKeepsItsHistoryAndCanBeFreed() {
    const int line = b_->Line(b_->Point(0, 0), b_->Point(200, 0));
    Redraw(*prog_, true);
    const int p = b_->PointOn(line, 100, 0);
    Redraw(*prog_, true);
    WhenShown([&] {
      ExpectOnlyPage(okPointOn);
      auto* attached = Child<QCheckBox>("IsAttached");
      QVERIFY(attached->isChecked());
      QCOMPARE(attached->text(), QStringLiteral("Прикріплена до об'єкта \"%1\"").arg(Name(line)));
      auto* x = Child<QComboBox>("psX2");
      QVERIFY(x->isEditable());
      QCOMPARE(x->currentText(), QStringLiteral("1"));
      // A coordinate goes into its history when the field is left.
      x->setFocus();
      Retype(x->lineEdit(), "2.5");
      Child<QComboBox>("psY2")->setFocus();
      QCOMPARE(x->count(), 1);
      QCOMPARE(x->itemText(0), QStringLiteral("2.5"));
      QCOMPARE(x->currentText(), QStringLiteral("2.5"));
      attached->click();
      QTest::mouseClick(Child<QPushButton>("BitBtn1"), Qt::LeftButton);
      QVERIFY(!form_->isVisible());
    });
    QVERIFY(OpenPropertiesDialog(*prog_, p));
    QCOMPARE(prog_->Doc[p].Kind, uint8_t(okPoint));
    QCOMPARE(prog_->Doc[p].X1, 250.0);
    QCOMPARE(prog_->PropertiesDlg.Histories[static_cast<std::size_t>(HistoryField::PsX2)],
             std::vector<std::string>{"2.5"});
  }

  void polylineGridFollowsTheModel() {
    const int a = b_->Point(0, 0), c = b_->Point(200, 0), e = b_->Point(0, 200);
    const int m = b_->Midpoint(a, c);
    const int poly = b_->Polyline({a, m, e});
    b_->Point(0, 0); // so that the polyline keeps its number when a vertex is added
    Redraw(*prog_, true);
    const int count = prog_->Doc.ObjCount;
    WhenShown([&] {
      ExpectOnlyPage(okPolyline);
      auto* grid = Child<QTableWidget>("LineGrid");
      QCOMPARE(grid->rowCount(), 3);
      QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("x"));
      QCOMPARE(grid->item(2, 0)->text(), QStringLiteral("3"));
      QCOMPARE(grid->item(1, 1)->text(), QStringLiteral("1"));
      // The midpoint's row cannot be typed into; a free point's can.
      QVERIFY(!(grid->item(1, 1)->flags() & Qt::ItemIsEditable));
      QVERIFY(grid->item(0, 2)->flags() & Qt::ItemIsEditable);
      QVERIFY(!Child<QCheckBox>("IsFilled")->isEnabled());
      QCOMPARE(Child<QToolButton>("LineButton3")->toolTip(), QStringLiteral("Очистити таблицю"));

      // Enter in the cell being edited keeps the text and moves to the y cell.
      grid->setFocus();
      grid->setCurrentCell(0, 1);
      grid->editItem(grid->item(0, 1));
      auto* editor = grid->viewport()->findChild<QLineEdit*>();
      QVERIFY(editor);
      Retype(editor, "7");
      QTest::keyClick(editor, Qt::Key_Return);
      QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("7"));
      QCOMPARE(grid->currentRow(), 0);
      QCOMPARE(grid->currentColumn(), 2);
      QVERIFY(form_->isVisible());
      // Enter on the last cell adds a numbered row and moves into it.
      grid->setCurrentCell(2, 2);
      QTest::keyClick(grid, Qt::Key_Return);
      QCOMPARE(grid->rowCount(), 4);
      QCOMPARE(grid->item(3, 0)->text(), QStringLiteral("4"));
      QCOMPARE(grid->currentRow(), 3);
      QCOMPARE(grid->currentColumn(), 1);

      // "+" makes an empty row at the current one, "-" takes it away again; rows are renumbered.
      grid->setCurrentCell(1, 1);
      QTest::mouseClick(Child<QToolButton>("LineButton1"), Qt::LeftButton);
      QCOMPARE(grid->rowCount(), 5);
      QCOMPARE(grid->item(1, 1)->text(), QString());
      QVERIFY(grid->item(1, 1)->flags() & Qt::ItemIsEditable);
      QCOMPARE(grid->item(2, 1)->text(), QStringLiteral("1"));
      QCOMPARE(grid->item(4, 0)->text(), QStringLiteral("5"));
      QTest::mouseClick(Child<QToolButton>("LineButton2"), Qt::LeftButton);
      QCOMPARE(grid->rowCount(), 4);
      QVERIFY(!(grid->item(1, 1)->flags() & Qt::ItemIsEditable));

      grid->item(3, 1)->setText(QStringLiteral("4"));
      grid->item(3, 2)->setText(QStringLiteral("-1"));
      Child<QCheckBox>("IsClosed")->click();
      QVERIFY(Child<QCheckBox>("IsFilled")->isEnabled());
      QVERIFY(!Child<QComboBox>("FillColor")->isEnabled());
      Child<QCheckBox>("IsFilled")->click();
      QVERIFY(Child<QComboBox>("FillColor")->isEnabled());
      QVERIFY(Child<QLabel>("LabelF")->isEnabled());
      Child<QComboBox>("FillColor")->setCurrentIndex(12);
      QTest::mouseClick(Child<QPushButton>("BitBtn1"), Qt::LeftButton);
      QVERIFY(!form_->isVisible());
    });
    QVERIFY(OpenPropertiesDialog(*prog_, poly));
    QVERIFY(desk_->Messages.empty());
    const TGeomObject& o = prog_->Doc[poly];
    QCOMPARE(int(prog_->Doc.ObjCount), count + 1);
    QCOMPARE(int(o.RefCount), 5);
    QCOMPARE(o.Ref(2), m);
    QCOMPARE(o.Ref(4), count + 1);
    QCOMPARE(o.Ref(5), a);
    QVERIFY(o.Filled());
    QCOMPARE(o.FillColor(), ColorPalette[12].Value);
    QCOMPARE(prog_->Doc[a].X1, 700.0);
    QCOMPARE(prog_->Doc[count + 1].Y1, -100.0);

    // Clearing empties every row of the table.
    WhenShown([&] {
      auto* grid = Child<QTableWidget>("LineGrid");
      QCOMPARE(grid->rowCount(), 4);
      QVERIFY(Child<QCheckBox>("IsClosed")->isChecked());
      QTest::mouseClick(Child<QToolButton>("LineButton3"), Qt::LeftButton);
      for (int r = 0; r < grid->rowCount(); ++r) {
        QCOMPARE(grid->item(r, 1)->text(), QString());
        QVERIFY(grid->item(r, 2)->flags() & Qt::ItemIsEditable);
      }
      QTest::mouseClick(Child<QPushButton>("BitBtn2"), Qt::LeftButton);
    });
    QVERIFY(!OpenPropertiesDialog(*prog_, poly));
  }

  void graphPageChecksAsItIsTyped() {
    WhenShown([&] {
      ExpectOnlyPage(okFunction);
      auto* f1 = Child<QComboBox>("f1");
      auto* ok = Child<QPushButton>("BitBtn1");
      QVERIFY(f1->isEditable());
      QCOMPARE(f1->currentText(), QStringLiteral("x"));
      QVERIFY(Child<QRadioButton>("FuncType0")->isChecked());
      QVERIFY(!Child<QWidget>("Panel1")->isVisible());
      QCOMPARE(Child<QLabel>("Label1")->text(), QStringLiteral("y(X)="));

      f1->setFocus();
      Retype(f1->lineEdit(), "sin(x");
      QVERIFY(IsRed("f1"));
      QVERIFY(!ok->isEnabled());
      QVERIFY(!IsRed("Left1"));
      // The keypad types into the focused field without taking the focus.
      auto* close = form_->findChild<QToolButton*>(QStringLiteral("SpeedButton35"));
      QCOMPARE(close->text(), QStringLiteral(")"));
      QTest::mouseClick(close, Qt::LeftButton);
      QCOMPARE(f1->currentText(), QStringLiteral("sin(x)"));
      QCOMPARE(form_->focusWidget(), f1);
      QVERIFY(!IsRed("f1"));
      QVERIFY(ok->isEnabled());

      // Leaving a field puts it in upper case and into its history; an interval becomes a number.
      auto* left = Child<QComboBox>("Left1");
      left->setFocus();
      QCOMPARE(f1->currentText(), QStringLiteral("SIN(X)"));
      QCOMPARE(f1->count(), 1);
      QCOMPARE(f1->itemText(0), QStringLiteral("SIN(X)"));
      Retype(left->lineEdit(), "-2*pi");
      Child<QComboBox>("Right1")->setFocus();
      QCOMPARE(left->currentText(), QStringLiteral("-6.2831852"));

      Child<QRadioButton>("FuncType1")->click();
      QVERIFY(Child<QWidget>("Panel1")->isVisible());
      QCOMPARE(Child<QLabel>("Label1")->text(), QStringLiteral("x(T)="));
      QCOMPARE(Child<QLabel>("LabelL1")->text(), QStringLiteral("від t="));
      QVERIFY(IsRed("f1")); // X is no variable of x(T)
      QVERIFY(!ok->isEnabled());
      Child<QRadioButton>("FuncType0")->click();
      QVERIFY(ok->isEnabled());
      QTest::mouseClick(ok, Qt::LeftButton);
      QVERIFY(!form_->isVisible());
    });
    MenuClick(*prog_, 114);
    QCOMPARE(int(prog_->Doc.ObjCount), 1);
    const TGeomObject& g = prog_->Doc[1];
    QCOMPARE(QString::fromStdString(g.Expr1.Bytes()), QStringLiteral("SIN(X)"));
    QCOMPARE(g.X1, -6.2831852);
    QCOMPARE(int(g.FuncType), 1);
    QVERIFY(desk_->Messages.empty());
  }
};

} // namespace drex

QTEST_MAIN(drex::FuncMakeTest)
#include "FuncMake_test.moc"
