#include "dialogs/report_command.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "calc/dyn_expr.h"
#include "dialogs/object_list.h"
#include "kernel/cp1251.h"
#include "shell/command_table.h"
#include "shell/program.h"
#include "view/redraw.h"
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

/// The caption of a measuring command without its access key ("Кут", "Відстань").
std::string MeasureTypeCaption(int tag) {
  std::string caption;
  for (const CommandInfo& c : CommandTable)
    if (c.Tag == tag) caption = c.Caption;
  caption.erase(std::remove(caption.begin(), caption.end(), '&'), caption.end());
  return caption;
}

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
  // The measurements with the points they are taken at and the value the drawing shows.
  const int measures = std::min<int>(prog.Doc.MeasureCount, MaxMeasurements);
  for (int i = 1; i <= measures; ++i) {
    const Measurement& m = prog.Doc.Measurements[static_cast<std::size_t>(i - 1)];
    std::string line = m.Type == 0 ? MeasureTypeCaption(tag::Ugol) : MeasureTypeCaption(tag::Distance);
    const int points = m.Type == 0 ? 3 : 2;
    for (int k = 0; k < points; ++k) {
      const int n = m.Objects[static_cast<std::size_t>(k)];
      line += (k == 0 ? " " : ", ") + (n >= 1 && n <= prog.Doc.ObjCount ? Cp1251ToUtf8(prog.Doc[n].Name.Bytes()) : "?");
    }
    const std::string value = MeasurementText(prog, i);
    AppendLine(out, "", line + ": " + (value.empty() ? "???" : value));
  }
  // The dynamic expressions with the values of the last refresh.
  const DynExprGrid& grid = prog.ExprGrid;
  for (std::size_t r = 0; r < grid.Values.size() && r < grid.Captions.size(); ++r) {
    const TDynExpr& e = prog.Doc.DynExprs[r];
    std::string line = grid.Captions[r];
    if (e.DisplayName.Len > 0) line += " (" + Cp1251ToUtf8(e.Text.Bytes()) + ")";
    AppendLine(out, "", line + " = " + grid.Values[r]);
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
  RefreshDynExprs(prog);
  const std::string text = ConstructionReport(prog);
  if (std::fwrite(text.data(), 1, text.size(), out) != text.size() || std::fflush(out) != 0) {
    if (err != nullptr) std::fprintf(err, "drex2d: cannot write the report\n");
    return 1;
  }
  return 0;
}

} // namespace drex
