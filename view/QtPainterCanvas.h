#pragma once
// A canvas that draws through a QPainter on any paint device: an SVG drawing, a PDF page, a
// printer's page or a picture at any resolution. Lines, circles, curves and fills stay vector
// shapes and texts stay texts; the device decides how they become pixels.
//
// Coordinates are the picture's pixels as the drawing counts them; the painter's own transform
// (set by the caller) maps them to the device. A pixel's centre is half a pixel in, so that an
// outline lies where the pixels of the raster canvas would be. Consecutive MoveTo/LineTo calls
// are gathered into one polyline, so that a dash pattern runs on across its vertices and a curve
// of many samples becomes one path. Drawing in XOR mode is skipped: it only ever paints the marks
// of the moment, which a picture for a file or the printer leaves out.

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygonF>

#include "view/canvas.h"

namespace drex {

/// The font of a canvas font at a fixed pixel size, the same on every device.
QFont PictureQFont(const CanvasFont& font);

class PainterCanvas : public Canvas {
public:
  /// A canvas of width × height picture pixels over `painter` (open on its device); with no
  /// painter, nothing is drawn and only texts are measured.
  PainterCanvas(QPainter* painter, int width, int height);
  PainterCanvas(const PainterCanvas&) = delete;
  PainterCanvas& operator=(const PainterCanvas&) = delete;
  /// Draws what is still gathered.
  ~PainterCanvas() override;

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetPen(const CanvasPen& pen) override;
  CanvasPen Pen() const override { return pen_; }
  void SetBrush(const CanvasBrush& brush) override { brush_ = brush; }
  CanvasBrush Brush() const override { return brush_; }
  void SetFont(const CanvasFont& font) override;
  CanvasFont Font() const override { return font_; }

  void FillRect(int left, int top, int right, int bottom) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Polygon(const std::vector<PixelPoint>& points) override;
  void SetPixel(int x, int y, int32_t color) override;
  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;

  /// Draws the gathered polyline.
  void Flush();

private:
  /// The painter ready for an outline with the pen and a fill with the brush; null when nothing
  /// is to be drawn (no painter, or an XOR pen).
  QPainter* Ready(bool outline, bool fill);

  QPainter* painter_;
  int width_;
  int height_;
  CanvasPen pen_;
  CanvasBrush brush_;
  CanvasFont font_;
  QFont qfont_;
  QFontMetrics metrics_;
  QPolygonF run_;
  PixelPoint at_;
};

} // namespace drex
