// The program's main block: command line, the desktop port and the main window.

#include <QApplication>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QProxyStyle>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dialogs/report_command.h"
#include "shell/MainForm.h"
#include "shell/about_box.h"
#include "shell/command_line.h"
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

/// The program's own icon in all its sizes; the theme's, should the program lack it.
QIcon ApplicationIcon() {
  QIcon icon;
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/icons/drex2d-%1.png").arg(size), QSize(size, size));
  return icon.isNull() ? QIcon::fromTheme(QStringLiteral("drex2d")) : icon;
}

} // namespace

int main(int argc, char** argv) {
  const drex::CommandLine line = drex::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  switch (line.Mode) {
  case drex::RunMode::Help:
    std::fputs(drex::UsageText().c_str(), stdout);
    return drex::ExitOk;
  case drex::RunMode::Version:
    std::printf("DREX-2D %s\n", drex::ProgramVersion());
    return drex::ExitOk;
  case drex::RunMode::Invalid:
    std::fprintf(stderr, "drex2d: %s\n\n%s", line.Error.c_str(), drex::UsageText().c_str());
    return drex::ExitUsage;
  case drex::RunMode::Report:
    std::setlocale(LC_NUMERIC, "C");
    return drex::RunReportCommand(line.Report, stdout, stderr);
  case drex::RunMode::Export: {
    // The export needs fonts but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    int exportArgc = 1;
    QGuiApplication exportApp(exportArgc, argv);
    std::setlocale(LC_NUMERIC, "C");
    return drex::ExportPicture(line.Export);
  }
  case drex::RunMode::Window:
    break;
  }
  if (!drex::WindowCanOpen(line, std::getenv("QT_QPA_PLATFORM"), std::getenv("DISPLAY"),
                           std::getenv("WAYLAND_DISPLAY"))) {
    std::fprintf(stderr, "drex2d: %s\n", drex::NoDisplayMessage);
    return drex::ExitFailure;
  }
  // The toolkit reads only its own options; the document was taken above.
  std::vector<char*> toolkitArgv{argv[0]};
  std::vector<std::string> toolkitArgs = line.ToolkitArgs;
  for (std::string& a : toolkitArgs)
    toolkitArgv.push_back(a.data());
  toolkitArgv.push_back(nullptr);
  int toolkitArgc = static_cast<int>(toolkitArgv.size()) - 1;
  QApplication app(toolkitArgc, toolkitArgv.data());
  const std::string& document = line.Document;
  QApplication::setApplicationName(QStringLiteral("DREX-2D"));
  QApplication::setApplicationVersion(QString::fromLatin1(drex::ProgramVersion()));
  // The desktop entry's name ties the window to its entry and icon in the task bar.
  QGuiApplication::setDesktopFileName(QStringLiteral("drex2d"));
  QGuiApplication::setWindowIcon(ApplicationIcon());
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
