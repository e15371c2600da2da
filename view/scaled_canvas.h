#pragma once
// A canvas that draws on another one a number of times larger: coordinates, pens, texts and
// marks grow alike. A picture for a file is drawn through it at a resolution finer than the
// screen's by the fast raster code, and looks like the window's picture, only sharper.

#include "view/canvas.h"

namespace drex {

class ScaledCanvas : public Canvas {
public:
  /// A canvas of width × height pixels over `inner`, each of its pixels `scale` (> 0) of
  /// inner's.
  ScaledCanvas(Canvas& inner, int width, int height, double scale);

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetPen(const CanvasPen& pen) override;
  CanvasPen Pen() const override { return pen_; }
  void SetBrush(const CanvasBrush& brush) override { inner_.SetBrush(brush); }
  CanvasBrush Brush() const override { return inner_.Brush(); }
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
  void SetSmooth(bool on) override { inner_.SetSmooth(on); }

private:
  /// An edge of pixels (left or top of a box) on the inner canvas.
  int Edge(int v) const;
  /// The inner pixel whose centre lies nearest the centre of pixel v.
  int Centre(int v) const;

  Canvas& inner_;
  int width_;
  int height_;
  double scale_;
  CanvasPen pen_;
  CanvasFont font_;
};

} // namespace drex
