#include "view/picture_export.h"

#include <charconv>

#include "documents/document_file.h"
#include "shell/program.h"
#include "shell/setup_model.h"
#include "view/redraw.h"

namespace drex {

namespace {

bool ParseSide(const char* first, const char* last, int& value) {
  const auto result = std::from_chars(first, last, value);
  return result.ec == std::errc() && result.ptr == last && value >= 1 && value <= MaxExportSide;
}

/// "100, 125, 150, 200, 300".
std::string OfferedScalesText() {
  std::string text;
  for (const int scale : DisplayScales)
    text += (text.empty() ? "" : ", ") + std::to_string(scale);
  return text;
}

/// One of the offered display scales, with or without a trailing "%".
bool ParseExportScale(std::string text, int& scale) {
  if (!text.empty() && text.back() == '%') text.pop_back();
  int value = 0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size() || text.empty()) return false;
  for (const int offered : DisplayScales) {
    if (value == offered) {
      scale = value;
      return true;
    }
  }
  return false;
}

} // namespace

bool ParseExportSize(const std::string& text, int& width, int& height) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string::npos || x == 0 || x + 1 >= text.size()) return false;
  int w = 0, h = 0;
  const char* s = text.data();
  if (!ParseSide(s, s + x, w) || !ParseSide(s + x + 1, s + text.size(), h)) return false;
  width = w;
  height = h;
  return true;
}

ExportParse ParseExportOptions(const std::vector<std::string>& args, ExportOptions& options, std::string& error) {
  bool requested = false;
  for (const std::string& a : args)
    requested = requested || a == "--export-png";
  if (!requested) return ExportParse::NotRequested;
  ExportOptions parsed;
  bool haveOut = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--fit" || a == "--smooth") {
      (a == "--fit" ? parsed.Fit : parsed.Smooth) = true;
      continue;
    }
    if (a == "--export-png" || a == "--size" || a == "--scale") {
      if (i + 1 >= args.size()) {
        error = a + " needs a value";
        return ExportParse::Invalid;
      }
      const std::string& value = args[++i];
      if (a == "--size") {
        if (!ParseExportSize(value, parsed.Width, parsed.Height)) {
          error = "--size takes WIDTHxHEIGHT, each 1.." + std::to_string(MaxExportSide) + ", not \"" + value + "\"";
          return ExportParse::Invalid;
        }
      } else if (a == "--scale") {
        if (!ParseExportScale(value, parsed.Scale)) {
          error = "--scale takes one of " + OfferedScalesText() + ", not \"" + value + "\"";
          return ExportParse::Invalid;
        }
      } else if (haveOut) {
        error = "--export-png given twice";
        return ExportParse::Invalid;
      } else {
        parsed.OutPath = value;
        haveOut = true;
      }
    } else if (!a.empty() && a[0] == '-') {
      error = "unknown option " + a;
      return ExportParse::Invalid;
    } else if (parsed.Document.empty()) {
      parsed.Document = a;
    } else {
      error = "only one document can be exported";
      return ExportParse::Invalid;
    }
  }
  if (parsed.OutPath.empty() || parsed.Document.empty()) {
    error = "usage: drex2d --export-png OUT.png [--size WIDTHxHEIGHT] [--fit] [--smooth] [--scale PERCENT] "
            "DOCUMENT.d2d";
    return ExportParse::Invalid;
  }
  options = parsed;
  return ExportParse::Ok;
}

MsgButton ConsolePlatform::MessageBox(MsgType, const std::string& text, int buttons) {
  messages_.push_back(text);
  if (out_ != nullptr) std::fprintf(out_, "drex2d: %s\n", text.c_str());
  for (MsgButton b : {mbOK, mbNo, mbCancel, mbYes}) {
    if ((buttons & b) != 0) return b;
  }
  return mbOK;
}

int RenderDocument(Program& prog, Canvas& canvas, const std::string& path, bool fit) {
  const int result = LoadDocument(prog, path);
  // The window refuses a damaged "NoName.d2d" silently, as it is the empty start document; asked
  // for by name on the command line, a refusal must say why.
  if (result == LoadInvalid && FileNamePart(path) == NoNameDocument)
    prog.Desktop.MessageBox(MsgType::Error, FormatMsg(prog.Msgs[30], {path}), mbOK);
  if (result < 0) return result;
  prog.Surface = &canvas;
  prog.Drawing.SmoothAnySize = true;
  Redraw(prog, true);
  if (fit) {
    // The first drawing gave the graphs their extent, which the fit takes in.
    FitView(prog.Doc.View, prog.Doc, canvas.Width(), canvas.Height(), prog.UnitLength);
    Redraw(prog, true);
  }
  return result;
}

} // namespace drex
