#include "view/QtPictureExport.h"

#include <QBuffer>
#include <QFile>
#include <QPageSize>
#include <QPdfWriter>
#include <QString>
#include <QSvgGenerator>

#include <cmath>
#include <cstdio>
#include <vector>

#include "dialogs/QtFormText.h"
#include "documents/document_file.h"
#include "documents/file_io.h"
#include "shell/program.h"
#include "view/QtCanvas.h"
#include "view/QtPainterCanvas.h"
#include "view/redraw.h"
#include "view/scaled_canvas.h"

namespace drex {

namespace {

/// Writes an SVG drawing into `device`.
bool WriteSvg(QIODevice& device, const PictureFrame& frame, const PictureDrawer& draw, const std::string& title) {
  QSvgGenerator svg;
  svg.setOutputDevice(&device);
  svg.setSize(QSize(frame.Width, frame.Height));
  svg.setViewBox(QRect(0, 0, frame.Width, frame.Height));
  svg.setResolution(ScreenDpi);
  svg.setTitle(Q(title));
  svg.setDescription(QStringLiteral("DREX-2D"));
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  PictureFrame unscaled = frame;
  unscaled.Scale = 1;
  PaintPicture(painter, unscaled, draw);
  return painter.end();
}

/// Writes a one-page PDF drawing of the picture's size into `device`.
bool WritePdf(QIODevice& device, const PictureFrame& frame, const PictureDrawer& draw, const std::string& title) {
  QPdfWriter pdf(&device);
  pdf.setCreator(QStringLiteral("DREX-2D"));
  pdf.setTitle(Q(title));
  // A picture pixel is a pixel of the screen, ScreenDpi to the inch.
  pdf.setResolution(ScreenDpi);
  const QSizeF points(frame.Width * 72.0 / ScreenDpi, frame.Height * 72.0 / ScreenDpi);
  pdf.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  QPainter painter;
  if (!painter.begin(&pdf)) return false;
  PictureFrame unscaled = frame;
  unscaled.Scale = 1;
  PaintPicture(painter, unscaled, draw);
  return painter.end();
}

} // namespace

QSize DeviceSize(const PictureFrame& frame) {
  const int w = frame.DeviceWidth > 0 ? frame.DeviceWidth : static_cast<int>(std::lround(frame.Width * frame.Scale));
  const int h = frame.DeviceHeight > 0 ? frame.DeviceHeight : static_cast<int>(std::lround(frame.Height * frame.Scale));
  return QSize(std::max(1, w), std::max(1, h));
}

void PaintPicture(QPainter& painter, const PictureFrame& frame, const PictureDrawer& draw) {
  painter.save();
  painter.scale(frame.Scale, frame.Scale);
  {
    PainterCanvas canvas(&painter, frame.Width, frame.Height);
    draw(canvas, frame);
  }
  painter.restore();
}

QImage PictureImage(const PictureFrame& frame, const PictureDrawer& draw) {
  // The raster canvas draws a bitmap many times faster than a painter does, at any resolution
  // through the scaled canvas.
  const QSize size = DeviceSize(frame);
  QtCanvas canvas(size.width(), size.height());
  if (size == QSize(frame.Width, frame.Height)) {
    draw(canvas, frame);
  } else {
    const double scale =
        std::min(static_cast<double>(size.width()) / frame.Width, static_cast<double>(size.height()) / frame.Height);
    ScaledCanvas scaled(canvas, frame.Width, frame.Height, scale);
    draw(scaled, frame);
  }
  return canvas.Image();
}

QByteArray PictureSvg(const PictureFrame& frame, const PictureDrawer& draw, const std::string& title) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!WriteSvg(buffer, frame, draw, title)) return {};
  return bytes;
}

bool WritePictureFile(const PictureRequest& request) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  bool drawn = false;
  switch (request.Format) {
  case PictureFormat::Png: {
    const QImage image = PictureImage(request.Frame, request.Draw);
    drawn = !image.isNull() && image.save(&buffer, "PNG");
    break;
  }
  case PictureFormat::Svg:
    drawn = WriteSvg(buffer, request.Frame, request.Draw, request.Title);
    break;
  case PictureFormat::Pdf:
    drawn = WritePdf(buffer, request.Frame, request.Draw, request.Title);
    break;
  }
  // Written as documents are: whole or not at all, never over a file the user may not write or
  // over anything but a regular file.
  return drawn && WriteFileReplacing(request.Path, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

int ExportPicture(const ExportOptions& options) {
  ConsolePlatform platform(stderr);
  Program prog(platform);
  prog.UnitLength = UnitLengthForScreen(platform.ScreenPixelsPerInch());
  // Scripts get the same pixels as ever unless they ask for the smooth or scaled picture.
  prog.Config.SmoothDrawing = options.Smooth;
  prog.Config.DisplayScale = options.Scale;
  if (options.Format == PictureFormat::Png && options.Dpi == 0) {
    QtCanvas canvas(options.Width, options.Height);
    if (RenderDocument(prog, canvas, options.Document, options.Fit) < 0) return 1;
    if (!canvas.Image().save(Q(options.OutPath), "PNG")) {
      std::fprintf(stderr, "drex2d: cannot write %s\n", options.OutPath.c_str());
      return 1;
    }
    return 0;
  }
  // Measured first without drawing: the graphs' extents decide the view that shows everything.
  PainterCanvas measure(nullptr, options.Width, options.Height);
  if (RenderDocument(prog, measure, options.Document, options.Fit) < 0) return 1;
  prog.Surface = nullptr;
  PictureRequest request;
  request.Format = options.Format;
  request.Path = options.OutPath;
  request.Title = FileNamePart(options.Document);
  request.Frame.Width = options.Width;
  request.Frame.Height = options.Height;
  request.Frame.View = prog.Doc.View;
  request.Frame.Scale = options.Dpi > 0 ? static_cast<double>(options.Dpi) / ScreenDpi : 1;
  request.Frame.DeviceWidth = PixelsAtDpi(options.Width, options.Dpi);
  request.Frame.DeviceHeight = PixelsAtDpi(options.Height, options.Dpi);
  request.Draw = [&prog](Canvas& canvas, const PictureFrame& frame) { DrawPicture(prog, canvas, frame); };
  if (!WritePictureFile(request)) {
    std::fprintf(stderr, "drex2d: cannot write %s\n", options.OutPath.c_str());
    return 1;
  }
  return 0;
}

} // namespace drex
