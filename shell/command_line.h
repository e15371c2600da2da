#pragma once
// The program's command line: what it asks for, read strictly, so that a mistyped option is an
// error rather than a document name.

#include <string>
#include <vector>

#include "dialogs/report_command.h"
#include "view/picture_export.h"

namespace drex {

/// What a start of the program does.
enum class RunMode {
  Window,  ///< the main window, with the document named, if any
  Help,    ///< the usage on the standard output
  Version, ///< the version on the standard output
  Report,  ///< the report of a document on the standard output, without a window
  Export,  ///< a picture file of a document, without a window
  Invalid, ///< a malformed command line: `Error` says why
};

/// Exit codes of the program.
constexpr int ExitOk = 0;
constexpr int ExitFailure = 1;
constexpr int ExitUsage = 2;

struct CommandLine {
  RunMode Mode = RunMode::Window;
  /// The document the window opens (Window), empty for none.
  std::string Document;
  /// The toolkit's own options ("-platform offscreen", "-style fusion") in their order, for the
  /// toolkit to read; only a window takes them.
  std::vector<std::string> ToolkitArgs;
  ReportOptions Report;
  ExportOptions Export;
  std::string Error;
};

/// Reads the arguments (without the program's name).
CommandLine ParseCommandLine(const std::vector<std::string>& args);

/// The text "--help" prints.
std::string UsageText();

/// True when a window can be shown: the toolkit is told which platform to use (the environment's
/// QT_QPA_PLATFORM or "-platform"), or an X11 or a Wayland display is named. Null stands for an
/// unset variable.
bool WindowCanOpen(const CommandLine& line, const char* qpaPlatform, const char* x11Display,
                   const char* waylandDisplay);

/// The line a start without a display prints before it gives up.
constexpr const char* NoDisplayMessage =
    "cannot open the window: no display (DISPLAY or WAYLAND_DISPLAY is not set); --report, --export-png, "
    "--export-svg and --export-pdf work without one";

} // namespace drex
