#include "view/picture_export.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

#include "documents/document_file.h"
#include "shell/program.h"
#include "shell/setup_model.h"
#include "kernel/recalc.h"
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

/// The export commands and the format each writes.
struct ExportCommand {
  const char* Option;
  PictureFormat Format;
};
constexpr ExportCommand ExportCommands[] = {
    {"--export-png", PictureFormat::Png}, {"--export-svg", PictureFormat::Svg}, {"--export-pdf", PictureFormat::Pdf}};

const ExportCommand* FindExportCommand(const std::string& option) {
  for (const ExportCommand& command : ExportCommands)
    if (option == command.Option) return &command;
  return nullptr;
}

constexpr const char* ExportUsage = "usage: drex2d --export-png|--export-svg|--export-pdf OUT [--size WIDTHxHEIGHT] "
                                    "[--dpi N] [--fit] [--smooth] [--scale PERCENT] DOCUMENT.d2d";

} // namespace

int PixelsAtDpi(int side, int dpi) {
  if (dpi <= 0) return side;
  return static_cast<int>((static_cast<int64_t>(side) * dpi + ScreenDpi / 2) / ScreenDpi);
}

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
    requested = requested || FindExportCommand(a) != nullptr;
  if (!requested) return ExportParse::NotRequested;
  ExportOptions parsed;
  bool haveOut = false, haveDpi = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--fit" || a == "--smooth") {
      (a == "--fit" ? parsed.Fit : parsed.Smooth) = true;
      continue;
    }
    const ExportCommand* command = FindExportCommand(a);
    if (command != nullptr || a == "--size" || a == "--scale" || a == "--dpi") {
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
      } else if (a == "--dpi") {
        int dpi = 0;
        const auto result = std::from_chars(value.data(), value.data() + value.size(), dpi);
        if (result.ec != std::errc() || result.ptr != value.data() + value.size() || dpi < MinExportDpi ||
            dpi > MaxExportDpi) {
          error = "--dpi takes a whole number " + std::to_string(MinExportDpi) + ".." + std::to_string(MaxExportDpi) +
                  ", not \"" + value + "\"";
          return ExportParse::Invalid;
        }
        parsed.Dpi = dpi;
        haveDpi = true;
      } else if (haveOut) {
        error = "only one export can be made at a time";
        return ExportParse::Invalid;
      } else {
        parsed.Format = command->Format;
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
    error = ExportUsage;
    return ExportParse::Invalid;
  }
  if (haveDpi && parsed.Format != PictureFormat::Png) {
    error = "--dpi applies to --export-png only: SVG and PDF are drawn as lines and texts at any size";
    return ExportParse::Invalid;
  }
  if (std::max(PixelsAtDpi(parsed.Width, parsed.Dpi), PixelsAtDpi(parsed.Height, parsed.Dpi)) > MaxExportSide) {
    error = "--dpi " + std::to_string(parsed.Dpi) + " makes the picture larger than " + std::to_string(MaxExportSide) +
            " pixels a side";
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
  // Objects saved selected are drawn as any others: the picture has no window to select in.
  prog.Drawing.Clean = true;
  Redraw(prog, true);
  if (fit) {
    // The first drawing gave the graphs their extent, which the fit takes in.
    FitView(prog.Doc.View, prog.Doc, canvas.Width(), canvas.Height(), prog.UnitLength);
    Redraw(prog, true);
  }
  return result;
}

PictureFrame ScreenFrame(const Program& prog) {
  PictureFrame frame;
  frame.Width = std::max(1, prog.Area.Width);
  frame.Height = std::max(1, prog.Area.Height);
  frame.View = prog.Doc.View;
  return frame;
}

PictureFrame FitFrame(const Program& prog, double width, double height) {
  PictureFrame frame = ScreenFrame(prog);
  if (!(width >= 1 && height >= 1)) return frame;
  // The tighter direction decides the scale; along the other the picture shows more of the plane.
  frame.Scale = std::min(width / frame.Width, height / frame.Height);
  frame.Width = std::max(1, static_cast<int>(std::lround(width / frame.Scale)));
  frame.Height = std::max(1, static_cast<int>(std::lround(height / frame.Scale)));
  frame.DeviceWidth = static_cast<int>(std::lround(width));
  frame.DeviceHeight = static_cast<int>(std::lround(height));
  return frame;
}

PictureFrame TrueScaleFrame(const Program& prog, double width, double height, double dpi) {
  PictureFrame frame = ScreenFrame(prog);
  if (!(width >= 1 && height >= 1 && dpi > 0)) return frame;
  // The picture keeps the screen's pixel sizes for marks and names: ScreenDpi of its pixels an inch.
  frame.Scale = dpi / ScreenDpi;
  frame.Width = std::max(1, static_cast<int>(std::lround(width / frame.Scale)));
  frame.Height = std::max(1, static_cast<int>(std::lround(height / frame.Scale)));
  // One user unit, UnitLength internal units, a centimetre long.
  const double zoom = ScreenDpi / 2.54 / std::max(1, prog.UnitLength);
  const TViewState& view = prog.Doc.View;
  const auto offset = [&](int16_t org) {
    const double scaled = view.Zoom > 0 ? org * zoom / view.Zoom : 0;
    return static_cast<int16_t>(std::clamp<long>(std::lround(scaled), -MaxViewOffset, MaxViewOffset));
  };
  frame.View.OrgX = offset(view.OrgX);
  frame.View.OrgY = offset(view.OrgY);
  frame.View.Zoom = zoom;
  return frame;
}

void DrawPicture(Program& prog, Canvas& canvas, const PictureFrame& frame) {
  const ViewArea& area = prog.Area;
  const TViewState& view = prog.Doc.View;
  // A picture of the window's own area and view computes every object as the window did.
  const bool asWindow = frame.Width == area.Width && frame.Height == area.Height && frame.View.OrgX == view.OrgX &&
                        frame.View.OrgY == view.OrgY && frame.View.Zoom == view.Zoom;
  // Everything the redraw leaves behind that belongs to the window's picture.
  struct Kept {
    Program& prog;
    bool asWindow;
    Canvas* surface = prog.Surface;
    ViewArea area = prog.Area;
    TViewState view = prog.Doc.View;
    decltype(prog.Drawing.LabelRects) labels = prog.Drawing.LabelRects;
    double tickStep = prog.Drawing.TickStep;
    bool smoothAnySize = prog.Drawing.SmoothAnySize;
    bool smooth = prog.Config.SmoothDrawing;
    ~Kept() {
      prog.Surface = surface;
      prog.Doc.View = view;
      prog.Drawing.Clean = false;
      prog.Drawing.SmoothAnySize = smoothAnySize;
      prog.Config.SmoothDrawing = smooth;
      prog.Area = area;
      prog.Drawing.LabelRects = labels;
      prog.Drawing.TickStep = tickStep;
      if (asWindow) return;
      // The lines' ends and the graphs' extents were found for the picture: found again for the
      // window.
      if (surface != nullptr)
        Redraw(prog, true);
      else
        RecalcPass(prog.Doc, prog.Area, prog.UnitLength, prog.Op.StepPos);
    }
  } kept{prog, asWindow};
  prog.Surface = &canvas;
  prog.Doc.View = frame.View;
  prog.Drawing.Clean = true;
  prog.Drawing.SmoothAnySize = true;
  prog.Config.SmoothDrawing = true;
  Redraw(prog, true);
}

} // namespace drex
