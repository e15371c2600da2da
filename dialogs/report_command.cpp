#include "dialogs/report_command.h"

#include <charconv>
#include <cstdint>

#include "dialogs/object_list.h"
#include "shell/program.h"
#include "view/picture_export.h"
#include "view/raster_canvas.h"

namespace drex {
namespace {

constexpr const char* ReportUsage = "usage: drex2d --report DOCUMENT.d2d [--digits N] [--polar]";

/// The picture the report's redraw paints into; text is not painted, as nothing reported
/// depends on it.
class ReportCanvas : public RasterCanvas {
public:
  ReportCanvas(int width, int height)
      : RasterCanvas(nullptr, 0, 0, 0), pixels_(static_cast<std::size_t>(width) * height, PixelOfColor(ColorWhite)) {
    Attach(pixels_.data(), width, height, width);
  }
  void TextOut(int, int, const std::string&) override {}
  int TextWidth(const std::string& text) override { return 8 * static_cast<int>(text.size()); }

private:
  std::vector<uint32_t> pixels_;
};

void AppendLine(std::string& out, const char* indent, const std::string& text) {
  out += indent;
  for (const char ch : text)
    out += static_cast<unsigned char>(ch) < 0x20 || ch == '\x7f' ? ' ' : ch;
  out += '\n';
}

bool ParseDigits(const std::string& text, int& digits) {
  int value = 0;
  const char* last = text.data() + text.size();
  const auto result = std::from_chars(text.data(), last, value);
  if (result.ec != std::errc() || result.ptr != last || value < 0 || value > MaxReportDigits) return false;
  digits = value;
  return true;
}

} // namespace

ReportParse ParseReportOptions(const std::vector<std::string>& args, ReportOptions& options, std::string& error) {
  bool requested = false;
  for (const std::string& a : args)
    requested = requested || a == "--report";
  if (!requested) return ReportParse::NotRequested;
  ReportOptions parsed;
  bool haveDocument = false, haveDigits = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--polar") {
      parsed.Polar = true;
    } else if (a == "--report" || a == "--digits") {
      if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0) {
        error = a + (a == "--report" ? " needs a document" : " needs a number");
        return ReportParse::Invalid;
      }
      const std::string& value = args[++i];
      bool& seen = a == "--report" ? haveDocument : haveDigits;
      if (seen) {
        error = a + " given twice";
        return ReportParse::Invalid;
      }
      seen = true;
      if (a == "--report") {
        parsed.Document = value;
      } else if (!ParseDigits(value, parsed.Digits)) {
        error = "--digits takes a whole number 0.." + std::to_string(MaxReportDigits) + ", not \"" + value + "\"";
        return ReportParse::Invalid;
      }
    } else if (!a.empty() && a[0] == '-') {
      error = "unknown option " + a;
      return ReportParse::Invalid;
    } else {
      error = "unexpected argument \"" + a + "\"; " + ReportUsage;
      return ReportParse::Invalid;
    }
  }
  if (parsed.Document.empty()) {
    error = ReportUsage;
    return ReportParse::Invalid;
  }
  options = parsed;
  return ReportParse::Ok;
}

std::string ConstructionReport(const Program& prog) {
  std::string out;
  const ReportFormat format = ReportFormatOf(prog);
  for (int n = 1; n <= prog.Doc.ObjCount; ++n) {
    AppendLine(out, "", ObjectListLine(prog.Doc, prog.Kinds, n));
    for (const std::string& line : ObjectReport(prog.Doc, prog.Msgs, n, format))
      AppendLine(out, "  ", line);
  }
  return out;
}

int RunReportCommand(const ReportOptions& options, std::FILE* out, std::FILE* err) {
  ConsolePlatform platform(err);
  Program prog(platform);
  prog.UnitLength = UnitLengthForScreen(platform.ScreenPixelsPerInch());
  prog.Config.AnswerDigits = options.Digits;
  prog.Config.CoordSystem = options.Polar ? 1 : 0;
  ReportCanvas canvas(DefaultExportWidth, DefaultExportHeight);
  const int loaded = RenderDocument(prog, canvas, options.Document);
  prog.Surface = nullptr;
  if (loaded < 0) return 1;
  const std::string text = ConstructionReport(prog);
  if (std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fflush(out) != 0) {
    if (err != nullptr) std::fprintf(err, "drex2d: cannot write the report\n");
    return 1;
  }
  return 0;
}

} // namespace drex
