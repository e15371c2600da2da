#include "view/picture_commands.h"

#include <algorithm>

#include "documents/document_file.h"
#include "shell/program.h"
#include "view/picture_export.h"

namespace drex {

namespace {

/// The picture's title: the document's file name.
std::string TitleOf(const Program& prog) { return FileNamePart(prog.DocFileName); }

/// The document's path with `ext` in place of its extension.
std::string PathWithExtension(const std::string& path, const char* ext) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.rfind('.');
  const bool hasExt = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  return (hasExt ? path.substr(0, dot) : path) + "." + ext;
}

PictureRequest RequestFor(Program& prog, PictureFormat format, const PictureFrame& frame) {
  PictureRequest request;
  request.Format = format;
  request.Title = TitleOf(prog);
  request.Frame = frame;
  request.Draw = [&prog](Canvas& canvas, const PictureFrame& f) { DrawPicture(prog, canvas, f); };
  return request;
}

} // namespace

std::string PictureText(const Program& prog, const char* name) { return prog.Texts.Get(CaptionKey(name)); }

int PngExportModel::OutWidth() const { return ByDpi ? PixelsAtDpi(AreaWidth, Dpi) : Width; }
int PngExportModel::OutHeight() const { return ByDpi ? PixelsAtDpi(AreaHeight, Dpi) : Height; }

std::string PngExportModel::Problem(const Program& prog) const {
  if (ByDpi && (Dpi < MinExportDpi || Dpi > MaxExportDpi))
    return FormatMsg(PictureText(prog, "p_BadDpi"), {std::to_string(MinExportDpi), std::to_string(MaxExportDpi)});
  const int w = OutWidth(), h = OutHeight();
  if (w < 1 || h < 1 || w > MaxExportSide || h > MaxExportSide)
    return FormatMsg(PictureText(prog, "p_TooLarge"), {std::to_string(MaxExportSide)});
  return {};
}

std::string PngExportModel::ResultText(const Program& prog) const {
  return FormatMsg(PictureText(prog, "p_Result"), {std::to_string(OutWidth()), std::to_string(OutHeight())});
}

bool ExportPictureCommand(Program& prog, PictureFormat format) {
  const char* title = "p_PngTitle";
  const char* filter = "p_PngFilter";
  const char* ext = "png";
  if (format == PictureFormat::Svg) {
    title = "p_SvgTitle";
    filter = "p_SvgFilter";
    ext = "svg";
  } else if (format == PictureFormat::Pdf) {
    title = "p_PdfTitle";
    filter = "p_PdfFilter";
    ext = "pdf";
  }
  PictureFrame frame = ScreenFrame(prog);
  if (format == PictureFormat::Png) {
    PngExportModel& png = prog.PngExport;
    png.AreaWidth = frame.Width;
    png.AreaHeight = frame.Height;
    // The first export offers the drawing area's size.
    if (png.Width < 1 || png.Height < 1) {
      png.Width = frame.Width;
      png.Height = frame.Height;
    }
    if (!prog.PngExportForm || !prog.PngExportForm(png)) return false;
    if (!png.Problem(prog).empty()) return false;
    frame = FitFrame(prog, png.OutWidth(), png.OutHeight());
  }
  FileDialogRequest dialog;
  dialog.Title = PictureText(prog, title);
  dialog.Filter = PictureText(prog, filter);
  dialog.DefaultExt = ext;
  dialog.FileName = PathWithExtension(prog.DocFileName, ext);
  const std::string path = prog.Desktop.SaveDialog(dialog);
  if (path.empty()) return false;
  PictureRequest request = RequestFor(prog, format, frame);
  request.Path = path;
  if (prog.Desktop.WritePicture(request)) return true;
  prog.Desktop.MessageBox(MsgType::Error, PictureText(prog, "p_WriteError") + " " + path, mbOK);
  return false;
}

void CopyPictureCommand(Program& prog) {
  prog.Desktop.CopyPicture(RequestFor(prog, PictureFormat::Png, ScreenFrame(prog)));
}

bool PrintCommand(Program& prog) {
  PrintRequest request;
  request.Title = TitleOf(prog);
  request.TrueScale = prog.PrintTrueScale;
  request.DialogTitle = PictureText(prog, "p_PrintTitle");
  request.ScaleLabel = PictureText(prog, "p_PrintScale");
  request.FitPageText = PictureText(prog, "p_FitPage");
  request.TrueScaleText = PictureText(prog, "p_TrueScale");
  request.Layout = [&prog](double width, double height, double dpi, bool trueScale) {
    return trueScale ? TrueScaleFrame(prog, width, height, dpi) : FitFrame(prog, width, height);
  };
  request.Draw = [&prog](Canvas& canvas, const PictureFrame& f) { DrawPicture(prog, canvas, f); };
  const bool printed = prog.Desktop.PrintPicture(request);
  prog.PrintTrueScale = request.TrueScale;
  return printed;
}

} // namespace drex
