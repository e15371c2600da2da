#include "calc/Rotate.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "calc/rotation_model.h"
#include "dialogs/QtFormText.h"
#include "view/QtCanvas.h"

namespace drex {

TRotFrm::TRotFrm(QWidget* parent)
    : QDialog(parent), canvas_(std::make_unique<QtCanvas>(RotationPictureSize, RotationPictureSize)) {
  setObjectName(QStringLiteral("RotFrm"));
  // The fourth letter of the caption is a Latin o, and the caption ends with a blank.
  setWindowTitle(QStringLiteral("Тілo обертання "));
  setModal(true);

  rotImage_ = new QLabel(this);
  rotImage_->setObjectName(QStringLiteral("RotImage"));
  rotImage_->setFixedSize(RotationPictureSize, RotationPictureSize);

  auto* curveLabel = new QLabel(QStringLiteral("Твірна:"), this);
  curveLabel->setObjectName(QStringLiteral("Label1"));
  curveName_ = new QComboBox(this);
  curveName_->setObjectName(QStringLiteral("CurveName"));
  curveLabel->setBuddy(curveName_);

  auto* axisBox = new QGroupBox(QStringLiteral("Вісь обертання:"), this);
  axisBox->setObjectName(QStringLiteral("RotType"));
  axisBox->setProperty(RadioGroupProperty, true);
  ox_ = new QRadioButton(QStringLiteral("Ox"), axisBox);
  oy_ = new QRadioButton(QStringLiteral("Oy"), axisBox);
  rotType_ = new QButtonGroup(this);
  rotType_->addButton(ox_, static_cast<int>(RotationAxis::Ox));
  rotType_->addButton(oy_, static_cast<int>(RotationAxis::Oy));
  ox_->setChecked(true);
  auto* axisLayout = new QVBoxLayout(axisBox);
  axisLayout->addWidget(ox_);
  axisLayout->addWidget(oy_);

  auto* resultBox = new QGroupBox(QStringLiteral("Характеристики:"), this);
  resultBox->setObjectName(QStringLiteral("GroupBox1"));
  sLabel_ = new QLabel(resultBox);
  sLabel_->setObjectName(QStringLiteral("Slabel"));
  vLabel_ = new QLabel(resultBox);
  vLabel_->setObjectName(QStringLiteral("VLabel"));
  sLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  vLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* resultLayout = new QVBoxLayout(resultBox);
  auto* areaLabel = new QLabel(QStringLiteral("Площа (кв.од.):"), resultBox);
  areaLabel->setObjectName(QStringLiteral("Label2"));
  auto* volumeLabel = new QLabel(QStringLiteral("Об'єм (куб.од.):"), resultBox);
  volumeLabel->setObjectName(QStringLiteral("Label3"));
  resultLayout->addWidget(areaLabel);
  resultLayout->addWidget(sLabel_);
  resultLayout->addWidget(volumeLabel);
  resultLayout->addWidget(vLabel_);

  close_ = new QPushButton(QStringLiteral("Закрити"), this);
  close_->setObjectName(QStringLiteral("CloseBtn"));

  auto* side = new QVBoxLayout;
  side->addWidget(curveLabel);
  side->addWidget(curveName_);
  side->addWidget(axisBox);
  side->addWidget(resultBox);
  side->addStretch(1);
  side->addWidget(close_);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(rotImage_);
  layout->addLayout(side);

  connect(curveName_, &QComboBox::currentIndexChanged, this, &TRotFrm::CurveChanged);
  connect(rotType_, &QButtonGroup::idClicked, this, &TRotFrm::AxisClicked);
  connect(close_, &QPushButton::clicked, this, &QDialog::accept);
}

TRotFrm::~TRotFrm() = default;

void TRotFrm::Run(RotationModel& model) {
  model_ = &model;
  Fill();
  ShowResult();
  exec();
  model_ = nullptr;
}

void TRotFrm::Fill() {
  filling_ = true;
  curveName_->clear();
  for (const RotationCandidate& c : model_->Candidates())
    curveName_->addItem(Q(c.Name));
  curveName_->setCurrentIndex(model_->Selected());
  (model_->Axis() == RotationAxis::Ox ? ox_ : oy_)->setChecked(true);
  filling_ = false;
}

void TRotFrm::ShowResult() {
  model_->DrawPicture(*canvas_, RotationPictureSize, RotationPictureSize);
  // A copy: a pixmap sharing the canvas's image would make the canvas's next text detach it from
  // the pixels the canvas paints into.
  rotImage_->setPixmap(QPixmap::fromImage(canvas_->Image().copy()));
  sLabel_->setText(Q(model_->SurfaceText()));
  vLabel_->setText(Q(model_->VolumeText()));
}

void TRotFrm::Busy(bool busy) {
  curveName_->setEnabled(!busy);
  ox_->setEnabled(!busy);
  oy_->setEnabled(!busy);
  close_->setEnabled(!busy);
}

void TRotFrm::CurveChanged(int index) {
  if (filling_ || model_ == nullptr || index < 0) return;
  Busy(true);
  model_->Select(index);
  Busy(false);
  ShowResult();
}

void TRotFrm::AxisClicked(int id) {
  if (filling_ || model_ == nullptr) return;
  Busy(true);
  model_->SetAxis(id == static_cast<int>(RotationAxis::Oy) ? RotationAxis::Oy : RotationAxis::Ox);
  Busy(false);
  ShowResult();
}

} // namespace drex
