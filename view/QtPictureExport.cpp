#include "view/QtPictureExport.h"

#include <QImage>
#include <QString>

#include <cstdio>

#include "shell/program.h"
#include "view/QtCanvas.h"

namespace drex {

int ExportPicture(const ExportOptions& options) {
  ConsolePlatform platform(stderr);
  Program prog(platform);
  prog.UnitLength = UnitLengthForScreen(platform.ScreenPixelsPerInch());
  // Scripts get the same pixels as ever unless they ask for the smooth or scaled picture.
  prog.Config.SmoothDrawing = options.Smooth;
  prog.Config.DisplayScale = options.Scale;
  QtCanvas canvas(options.Width, options.Height);
  if (RenderDocument(prog, canvas, options.Document, options.Fit) < 0) return 1;
  if (!canvas.Image().save(QString::fromUtf8(options.OutPath.c_str()), "PNG")) {
    std::fprintf(stderr, "drex2d: cannot write %s\n", options.OutPath.c_str());
    return 1;
  }
  return 0;
}

} // namespace drex
