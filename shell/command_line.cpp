#include "shell/command_line.h"

#include <algorithm>

namespace drex {

namespace {

/// The toolkit's options that take a value, and those that stand alone. The toolkit reads them
/// with one or two leading dashes.
constexpr const char* ToolkitValueOptions[] = {
    "platform", "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry", "qwindowicon", "qwindowtitle",
    "display",  "geometry",           "style",         "stylesheet", "session"};
constexpr const char* ToolkitFlags[] = {"reverse", "nograb", "dograb", "sync", "widgetcount"};

/// The option's name without its one or two leading dashes, or empty when it is no option.
std::string OptionName(const std::string& arg) {
  if (arg.size() < 2 || arg[0] != '-') return {};
  return arg.substr(arg[1] == '-' ? 2 : 1);
}

template <std::size_t N> bool Listed(const char* const (&names)[N], const std::string& name) {
  return std::any_of(std::begin(names), std::end(names), [&](const char* n) { return name == n; });
}

bool IsAny(const std::vector<std::string>& args, const char* a, const char* b) {
  return std::any_of(args.begin(), args.end(), [&](const std::string& s) { return s == a || s == b; });
}

CommandLine Invalid(std::string error) {
  CommandLine line;
  line.Mode = RunMode::Invalid;
  line.Error = std::move(error);
  return line;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  if (IsAny(args, "--help", "-h")) {
    line.Mode = RunMode::Help;
    return line;
  }
  if (IsAny(args, "--version", "-v")) {
    line.Mode = RunMode::Version;
    return line;
  }
  std::string error;
  switch (ParseReportOptions(args, line.Report, error)) {
  case ReportParse::Invalid:
    return Invalid(error);
  case ReportParse::Ok:
    line.Mode = RunMode::Report;
    return line;
  case ReportParse::NotRequested:
    break;
  }
  switch (ParseExportOptions(args, line.Export, error)) {
  case ExportParse::Invalid:
    return Invalid(error);
  case ExportParse::Ok:
    line.Mode = RunMode::Export;
    return line;
  case ExportParse::NotRequested:
    break;
  }
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const std::string name = OptionName(a);
    if (name.empty()) {
      if (!line.Document.empty()) return Invalid("only one document can be opened, not \"" + a + "\" as well");
      line.Document = a;
    } else if (Listed(ToolkitValueOptions, name)) {
      if (i + 1 >= args.size()) return Invalid(a + " needs a value");
      line.ToolkitArgs.push_back(a);
      line.ToolkitArgs.push_back(args[++i]);
    } else if (Listed(ToolkitFlags, name)) {
      line.ToolkitArgs.push_back(a);
    } else {
      return Invalid("unknown option " + a);
    }
  }
  return line;
}

std::string UsageText() {
  return "Usage: drex2d [DOCUMENT.d2d]\n"
         "       drex2d --export-png OUT.png [--size WIDTHxHEIGHT] [--dpi N] [--fit] [--smooth]\n"
         "                           [--scale PERCENT] DOCUMENT.d2d\n"
         "       drex2d --export-svg OUT.svg [--size WIDTHxHEIGHT] [--fit] [--scale PERCENT] DOCUMENT.d2d\n"
         "       drex2d --export-pdf OUT.pdf [--size WIDTHxHEIGHT] [--fit] [--scale PERCENT] DOCUMENT.d2d\n"
         "       drex2d --report DOCUMENT.d2d [--digits N] [--polar]\n"
         "Interactive dynamic geometry and function plotting.\n\n"
         "  -h, --help     show this text and exit\n"
         "  -v, --version  show the version and exit\n"
         "  --export-png   draw the document with its stored view into a PNG file\n"
         "                 (default size 800x600) and exit, without a window; --dpi N\n"
         "                 draws that picture at N dots per inch (96 is the screen's,\n"
         "                 24..1200), --fit shows every object instead, --smooth draws\n"
         "                 antialiased, --scale 100|125|150|200|300 sizes marks, names\n"
         "                 and lines\n"
         "  --export-svg   the same as an SVG drawing: lines, circles, curves and texts\n"
         "  --export-pdf   the same as a one-page PDF drawing\n"
         "  --report       write the object list of the document with the report on\n"
         "                 every object to the standard output and exit, without a\n"
         "                 window; --digits N gives the significant digits (0..12,\n"
         "                 default 2), --polar shows points in polar coordinates\n\n"
         "Exit status: 0 done, 1 failed (a file could not be read or written, no\n"
         "display for the window), 2 a malformed command line.\n";
}

bool WindowCanOpen(const CommandLine& line, const char* qpaPlatform, const char* x11Display,
                   const char* waylandDisplay) {
  const auto set = [](const char* value) { return value != nullptr && *value != '\0'; };
  if (set(qpaPlatform) || set(x11Display) || set(waylandDisplay)) return true;
  for (const std::string& a : line.ToolkitArgs)
    if (OptionName(a) == "platform") return true;
  return false;
}

} // namespace drex
