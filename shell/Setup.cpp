#include "shell/Setup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "dialogs/QtFormText.h"
#include "shell/QtLanguage.h"
#include "shell/setup_model.h"

namespace drex {
namespace {

constexpr const char* CheckCaptions[SetupCheckCount] = {
    "Зображати координатні осі",
    "Зображати координатну сітку",
    "Автоматично завантажувати останній робочий файл",
    "Виводити шлях до робочого файлу в головному вікні",
    "Виводити назви об'єктів",
    "Мітити точки латинськими літерами",
    "Згладжувати лінії та назви",
};

QSpinBox* SpinBox(QWidget* parent, const SetupValueInfo& info) {
  auto* box = new QSpinBox(parent);
  box->setObjectName(Q(info.Name));
  box->setRange(info.Min, info.Max);
  box->setSingleStep(info.Step);
  return box;
}

QLabel* Label(QWidget* parent, const char* name, const char* text, QWidget* buddy) {
  auto* label = new QLabel(Q(text), parent);
  label->setObjectName(Q(name));
  label->setBuddy(buddy);
  return label;
}

} // namespace

TSetupFrm::TSetupFrm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("SetupFrm"));
  setWindowTitle(Q("Налагодження"));
  setModal(true);

  auto* view = new QGroupBox(Q("Зображення"), this);
  view->setObjectName(QStringLiteral("GroupBox1"));
  auto* viewColumn = new QVBoxLayout(view);
  for (int k = 0; k < SetupCheckCount; ++k) {
    checks_[k] = new QCheckBox(Q(CheckCaptions[k]), view);
    checks_[k]->setObjectName(Q(SetupCheckNames[k]));
    viewColumn->addWidget(checks_[k]);
    connect(checks_[k], &QCheckBox::toggled, this, [this, k](bool on) {
      if (!filling_ && model_) model_->Checks[k] = on;
    });
  }

  auto* coords = new QGroupBox(Q("Система координат:"), this);
  coords->setObjectName(Q(SetupValues[valCoordSystem].Name));
  coords->setProperty(RadioGroupProperty, true);
  cartesian_ = new QRadioButton(Q("Декартові"), coords);
  polar_ = new QRadioButton(Q("Полярні"), coords);
  auto* coordRow = new QHBoxLayout(coords);
  coordRow->addWidget(cartesian_);
  coordRow->addWidget(polar_);
  coordRow->addStretch(1);
  connect(polar_, &QRadioButton::toggled, this, [this](bool on) {
    if (!filling_ && model_) model_->SetValue(valCoordSystem, on ? 1 : 0);
  });

  charAfterP_ = SpinBox(this, SetupValues[valCharAfterP]);
  connect(charAfterP_, qOverload<int>(&QSpinBox::valueChanged), this, [this](int value) {
    if (!filling_ && model_) model_->SetValue(valCharAfterP, value);
  });
  eValue_ = SpinBox(this, SetupValues[valEValue]);
  // Only the arrows change it, in steps of a hundred.
  if (auto* edit = eValue_->findChild<QLineEdit*>()) edit->setReadOnly(true);
  connect(eValue_, qOverload<int>(&QSpinBox::valueChanged), this, [this](int value) {
    if (!filling_ && model_) model_->SetValue(valEValue, value);
  });
  scales_ = new QComboBox(this);
  scales_->setObjectName(Q(SetupValues[valDisplayScale].Name));
  scales_->setToolTip(Q("Розмір точок, назв, підписів, маркерів і ліній на екрані"));
  for (const int scale : DisplayScales)
    scales_->addItem(QStringLiteral("%1 %").arg(scale), scale);
  connect(scales_, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
    if (!filling_ && model_ && index >= 0) model_->SetValue(valDisplayScale, scales_->itemData(index).toInt());
  });
  langs_ = new QComboBox(this);
  // The language names are shown as the files declare them; the name keeps them out of the walk.
  langs_->setObjectName(QStringLiteral("__Langs"));
  connect(langs_, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
    if (!filling_ && model_) model_->Language = index;
  });

  auto* form = new QFormLayout;
  form->addRow(Label(this, "Label1", "Кількість цифр у відповідях:", charAfterP_), charAfterP_);
  form->addRow(Label(this, "Label2", "Кількість точок розбиття відрізка інтегрування:", eValue_), eValue_);
  form->addRow(Label(this, "Label4", "Масштаб зображення:", scales_), scales_);
  form->addRow(Label(this, "Label3", "Мова інтерфейсу:", langs_), langs_);

  auto* apply = new QPushButton(Q("&Застосувати"), this);
  apply->setObjectName(QStringLiteral("ApplyBtn"));
  apply->setDefault(true);
  auto* cancel = new QPushButton(Q("Скасувати"), this);
  cancel->setObjectName(QStringLiteral("CancelBtn"));
  connect(apply, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(apply);
  buttons->addWidget(cancel);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(view);
  layout->addWidget(coords);
  layout->addLayout(form);
  layout->addLayout(buttons);
}

void TSetupFrm::Show(const SetupModel& model, const std::vector<std::string>& languages) {
  filling_ = true;
  for (int k = 0; k < SetupCheckCount; ++k)
    checks_[k]->setChecked(model.Checks[k]);
  (model.Values[valCoordSystem] == 1 ? polar_ : cartesian_)->setChecked(true);
  charAfterP_->setValue(model.Values[valCharAfterP]);
  eValue_->setValue(model.Values[valEValue]);
  scales_->setCurrentIndex(scales_->findData(model.Values[valDisplayScale]));
  langs_->clear();
  for (const std::string& name : languages)
    langs_->addItem(Q(name));
  langs_->setCurrentIndex(model.Language >= 0 && model.Language < langs_->count() ? model.Language : -1);
  filling_ = false;
}

bool TSetupFrm::Run(SetupModel& model, const std::vector<std::string>& languages) {
  model_ = &model;
  Show(model, languages);
  const bool ok = exec() == QDialog::Accepted;
  model_ = nullptr;
  return ok;
}

} // namespace drex
