#pragma once
// The canvas of the drawing area over a retained QImage. Lines, shapes and pixels are painted by
// the raster code straight into the image's pixels; only text goes through QPainter.

#include <QFont>
#include <QImage>

#include <memory>

#include "view/raster_canvas.h"

class QPainter;

namespace drex {

class QtCanvas : public RasterCanvas {
public:
  /// A white picture of width × height pixels (at least 1 × 1).
  QtCanvas(int width, int height);
  ~QtCanvas() override;
  QtCanvas(const QtCanvas &) = delete;
  QtCanvas &operator=(const QtCanvas &) = delete;

  /// Changes the size; the new picture is white.
  void Resize(int width, int height);
  /// The picture with everything drawn so far.
  const QImage &Image();

  void SetFont(const CanvasFont &font) override;
  void TextOut(int x, int y, const std::string &text) override;
  int TextWidth(const std::string &text) override;

private:
  QPainter &TextPainter();
  void EndPainting();

  QImage image_;
  QFont font_;
  std::unique_ptr<QPainter> painter_;
};

} // namespace drex
