#include "view/QtPngExport.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "dialogs/QtFormText.h"
#include "shell/program.h"
#include "view/picture_export.h"

namespace drex {

namespace {

QSpinBox* Spin(int low, int high, QWidget* parent) {
  auto* spin = new QSpinBox(parent);
  spin->setRange(low, high);
  spin->setAccelerated(true);
  return spin;
}

} // namespace

TPngFrm::TPngFrm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("PngFrm"));
  auto* grid = new QGridLayout;
  bySize_ = new QRadioButton(this);
  bySize_->setObjectName(QStringLiteral("bySize"));
  byDpi_ = new QRadioButton(this);
  byDpi_->setObjectName(QStringLiteral("byDpi"));
  // Larger sides are refused by the model with its message; the spins let them be typed.
  width_ = Spin(1, 99999, this);
  width_->setObjectName(QStringLiteral("pngWidth"));
  height_ = Spin(1, 99999, this);
  height_->setObjectName(QStringLiteral("pngHeight"));
  dpi_ = Spin(1, 9999, this);
  dpi_->setObjectName(QStringLiteral("pngDpi"));
  grid->addWidget(bySize_, 0, 0);
  grid->addWidget(width_, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("×"), this), 0, 2);
  grid->addWidget(height_, 0, 3);
  grid->addWidget(byDpi_, 1, 0);
  grid->addWidget(dpi_, 1, 1);
  result_ = new QLabel(this);
  result_->setObjectName(QStringLiteral("pngResult"));
  result_->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  ok_ = buttons->button(QDialogButtonBox::Ok);
  cancel_ = buttons->button(QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* column = new QVBoxLayout(this);
  column->addLayout(grid);
  column->addWidget(result_);
  column->addWidget(buttons);
  for (QRadioButton* radio : {bySize_, byDpi_})
    connect(radio, &QRadioButton::toggled, this, [this] { Take(); });
  for (QSpinBox* spin : {width_, height_, dpi_})
    connect(spin, &QSpinBox::valueChanged, this, [this] { Take(); });
}

bool TPngFrm::Run(PngExportModel& model, const Program& prog) {
  model_ = &model;
  prog_ = &prog;
  {
    FillGuard filling(filling_);
    setWindowTitle(Q(PictureText(prog, "p_PngTitle")));
    bySize_->setText(Q(PictureText(prog, "p_BySize")));
    byDpi_->setText(Q(PictureText(prog, "p_ByDpi")));
    ok_->setText(Q(prog.Lang.ButtonCaptions[2]));
    cancel_->setText(Q(prog.Lang.ButtonCaptions[3]));
    (model.ByDpi ? byDpi_ : bySize_)->setChecked(true);
    width_->setValue(model.Width);
    height_->setValue(model.Height);
    dpi_->setValue(model.Dpi);
  }
  Take();
  const bool ok = exec() == QDialog::Accepted;
  model_ = nullptr;
  prog_ = nullptr;
  return ok;
}

void TPngFrm::Take() {
  if (filling_ || model_ == nullptr) return;
  model_->ByDpi = byDpi_->isChecked();
  model_->Width = width_->value();
  model_->Height = height_->value();
  model_->Dpi = dpi_->value();
  width_->setEnabled(!model_->ByDpi);
  height_->setEnabled(!model_->ByDpi);
  dpi_->setEnabled(model_->ByDpi);
  const std::string problem = model_->Problem(*prog_);
  result_->setText(Q(problem.empty() ? model_->ResultText(*prog_) : problem));
  ok_->setEnabled(problem.empty());
}

} // namespace drex
