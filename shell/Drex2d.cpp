// The program's main block: command line, the desktop port and the main window.

#include <QApplication>

#include <cstdio>
#include <cstring>

#include "shell/MainForm.h"
#include "shell/QtPlatform.h"
#include "shell/program.h"

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::printf("Usage: drex2d [DOCUMENT.d2d]\n"
                  "Interactive dynamic geometry and function plotting.\n\n"
                  "  --help     show this text and exit\n"
                  "  --version  show the version and exit\n");
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("DREX-2D %s\n", DREX2D_VERSION);
      return 0;
    }
  }
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("DREX-2D"));
  drex::QtPlatform platform;
  drex::Program program(platform);
  program.UnitLength = drex::UnitLengthForScreen(platform.ScreenPixelsPerInch());
  drex::TDrex2dFrm window(program);
  platform.SetWindows(&window, window.centralWidget());
  window.show();
  return app.exec();
}
