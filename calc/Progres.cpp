#include "calc/Progres.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace drex {

namespace {

constexpr int WindowWidth = 306;
constexpr int WindowHeight = 109;

} // namespace

TProgrFrm::TProgrFrm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("ProgrFrm"));
  setWindowTitle(QStringLiteral("Обробка..."));
  setFixedSize(WindowWidth, WindowHeight);

  auto* panel = new QFrame(this);
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
  message_ = new QLabel(panel);
  message_->setObjectName(QStringLiteral("label_MSG"));
  message_->setAlignment(Qt::AlignCenter);
  message_->setWordWrap(true);
  bar_ = new QProgressBar(panel);
  bar_->setObjectName(QStringLiteral("ProgrBar"));
  bar_->setRange(1, 1);
  bar_->setTextVisible(false);
  stop_ = new QPushButton(QStringLiteral("Припинити"), panel);
  stop_->setObjectName(QStringLiteral("StopBtn"));

  auto* inner = new QVBoxLayout(panel);
  inner->addWidget(message_);
  inner->addWidget(bar_);
  inner->addWidget(stop_, 0, Qt::AlignHCenter);
  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(0, 0, 0, 0);
  outer->addWidget(panel);

  connect(stop_, &QPushButton::clicked, this, [this] {
    if (StopClicked) StopClicked();
  });
}

void TProgrFrm::SetMessage(bool stopEnabled, const QString& text) {
  message_->setText(text);
  stop_->setEnabled(stopEnabled);
}

void TProgrFrm::SetRange(int maximum) { bar_->setRange(1, maximum < 1 ? 1 : maximum); }

void TProgrFrm::SetPosition(int position) { bar_->setValue(position); }

void TProgrFrm::ShowCentred() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(WindowWidth / 2, WindowHeight / 2));
  }
  show();
}

} // namespace drex
