#include "shell/MainForm.h"

#include <QFrame>

#include "shell/program.h"

namespace drex {

TDrex2dFrm::TDrex2dFrm(Program& program, QWidget* parent) : QMainWindow(parent), program_(program) {
  setWindowTitle(QStringLiteral("DREX-2D"));
  auto* place = new QFrame(this);
  place->setObjectName(QStringLiteral("Place"));
  place->setAutoFillBackground(true);
  QPalette pal = place->palette();
  pal.setColor(QPalette::Window, Qt::white);
  place->setPalette(pal);
  place->setCursor(Qt::CrossCursor);
  setCentralWidget(place);
  resize(800, 600);
}

} // namespace drex
