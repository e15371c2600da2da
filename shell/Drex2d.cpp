// The program's main block: command line, the desktop port and the main window.

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QProxyStyle>

#include <clocale>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dialogs/report_command.h"
#include "shell/MainForm.h"
#include "shell/QtPlatform.h"
#include "shell/program.h"
#include "shell/language.h"
#include "shell/startup.h"
#include "view/QtPictureExport.h"

namespace {

std::string S(const QString& text) { return text.toUtf8().toStdString(); }

// Tool tips appear at once (Qt keeps them about ten seconds).
class HintStyle : public QProxyStyle {
public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == QStyle::SH_ToolTip_WakeUpDelay) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

} // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0) {
      std::printf("Usage: drex2d [DOCUMENT.d2d]\n"
                  "       drex2d --export-png OUT.png [--size WIDTHxHEIGHT] [--fit] [--smooth]\n"
                  "                           [--scale PERCENT] DOCUMENT.d2d\n"
                  "       drex2d --report DOCUMENT.d2d [--digits N] [--polar]\n"
                  "Interactive dynamic geometry and function plotting.\n\n"
                  "  --help        show this text and exit\n"
                  "  --version     show the version and exit\n"
                  "  --export-png  draw the document with its stored view into a PNG file\n"
                  "                (default size 800x600) and exit, without a window; --fit\n"
                  "                shows every object instead, --smooth draws antialiased,\n"
                  "                --scale 100|125|150|200|300 sizes marks, names and lines\n"
                  "  --report      write the object list of the document with the report on\n"
                  "                every object to the standard output and exit, without a\n"
                  "                window; --digits N gives the significant digits (0..12,\n"
                  "                default 2), --polar shows points in polar coordinates\n");
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("DREX-2D %s\n", DREX2D_VERSION);
      return 0;
    }
  }
  const std::vector<std::string> args(argv + 1, argv + argc);
  drex::ReportOptions reportOptions;
  std::string reportError;
  switch (drex::ParseReportOptions(args, reportOptions, reportError)) {
  case drex::ReportParse::Invalid:
    std::fprintf(stderr, "drex2d: %s\n", reportError.c_str());
    return 2;
  case drex::ReportParse::Ok:
    std::setlocale(LC_NUMERIC, "C");
    return drex::RunReportCommand(reportOptions, stdout, stderr);
  case drex::ReportParse::NotRequested:
    break;
  }
  drex::ExportOptions exportOptions;
  std::string exportError;
  switch (drex::ParseExportOptions(args, exportOptions, exportError)) {
  case drex::ExportParse::Invalid:
    std::fprintf(stderr, "drex2d: %s\n", exportError.c_str());
    return 2;
  case drex::ExportParse::Ok: {
    // The export needs fonts but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication exportApp(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    return drex::ExportPicture(exportOptions);
  }
  case drex::ExportParse::NotRequested:
    break;
  }
  QApplication app(argc, argv);
  // The toolkit has taken its own options ("-platform offscreen", "-style ...") out of argv; the
  // first argument left names the start document.
  const std::string document = argc > 1 ? std::string(argv[1]) : std::string();
  QApplication::setApplicationName(QStringLiteral("DREX-2D"));
  QApplication::setStyle(new HintStyle);
  // Numbers are read and written with "." whatever the desktop's language.
  std::setlocale(LC_NUMERIC, "C");

  drex::QtPlatform platform;
  drex::Program program(platform);
  platform.SetMessages(program.Msgs);
  // The working directory changes to the program's folder below, so a relative path from the
  // command line is made absolute against the directory the program was started in.
  program.StartDocument = drex::AbsoluteStartPath(document, S(QDir::currentPath()));
  program.UnitLength = drex::UnitLengthForScreen(platform.ScreenPixelsPerInch());
  std::string error;
  if (!drex::PrepareProgramFolder(program, S(QCoreApplication::applicationDirPath()), error)) {
    std::fprintf(stderr, "drex2d: %s\n", error.c_str());
    return 1;
  }
  drex::TDrex2dFrm window(program, platform);
  // The built-in texts become the template translators start from; the languages are offered.
  drex::PrepareLanguages(program);
  window.show();
  window.StartStartupTimer();
  return app.exec();
}
