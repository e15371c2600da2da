#pragma once
// The main window: a thin Qt form over the core's Program.

#include <QMainWindow>

namespace drex {

class Program;

class TDrex2dFrm : public QMainWindow {
  Q_OBJECT
public:
  explicit TDrex2dFrm(Program& program, QWidget* parent = nullptr);

private:
  Program& program_;
};

} // namespace drex
