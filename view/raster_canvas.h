#pragma once
// The pixel work of the canvas, done by hand on a 32-bit pixel buffer: lines of every width and
// dash pattern, ellipses, rectangles, polygons, pixels, all clipped to the buffer, in copy or XOR
// mode. Text is left to the subclass, which knows fonts.

#include <cstdint>
#include <utility>
#include <vector>

#include "view/canvas.h"

namespace drex {

/// Buffer pixel (0xFFRRGGBB) of a colour value red + 256·green + 65536·blue.
constexpr uint32_t PixelOfColor(int32_t color) {
  const auto c = static_cast<uint32_t>(color);
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

/// Colour value of a buffer pixel (alpha ignored).
constexpr int32_t ColorOfPixel(uint32_t pixel) {
  return static_cast<int32_t>(((pixel >> 16) & 0xFFu) | (pixel & 0xFF00u) | ((pixel & 0xFFu) << 16));
}

/// On/off run lengths of a dash pattern at width 1, in pixels along the line's longer axis; wider
/// pens stretch them by their width.
struct DashPattern {
  int Runs[4];
  int Count;
};

/// The runs of each pen style; solid has none.
DashPattern DashPatternOf(PenStyle style);

/// A canvas over a buffer it does not own: `height` rows of `stride` pixels each, of which the
/// first `width` belong to the picture.
class RasterCanvas : public Canvas {
public:
  RasterCanvas(uint32_t* bits, int width, int height, int stride);

  int Width() const override { return width_; }
  int Height() const override { return height_; }

  void SetPen(const CanvasPen& pen) override;
  CanvasPen Pen() const override { return pen_; }
  void SetBrush(const CanvasBrush& brush) override { brush_ = brush; }
  CanvasBrush Brush() const override { return brush_; }
  void SetFont(const CanvasFont& font) override { font_ = font; }
  CanvasFont Font() const override { return font_; }

  void FillRect(int left, int top, int right, int bottom) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Polygon(const std::vector<PixelPoint>& points) override;
  void SetPixel(int x, int y, int32_t color) override;

  /// The colour value at a pixel, or -1 outside the buffer.
  int32_t PixelColor(int x, int y) const;

protected:
  /// Points the canvas at another buffer (after the owner reallocated it).
  void Attach(uint32_t* bits, int width, int height, int stride);

private:
  uint32_t* Row(int y) const { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }
  /// Paints pixels x0..x1 of row y (already clipped) with `value`, by copy or XOR.
  void Span(int y, int x0, int x1, uint32_t value, bool xorMode);
  /// The pixels of one line from (x0, y0) to (x1, y1), the last excluded, continuing the pattern.
  void DrawLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1);
  /// Fills and outlines rows from..to of a convex shape whose rows top..bottom cover pixels
  /// spans[y].first..spans[y].second, which rowSpans(a, b, spans) sets for rows a..b (first >
  /// second when a row is empty); the outline is `ring` pixels thick. With `mirror` set, rows y and
  /// mirror − y cover the same pixels.
  template <typename RowSpans>
  void PaintShape(int64_t top, int64_t bottom, int ring, const RowSpans& rowSpans, int64_t from, int64_t to,
                  int64_t mirror = NoMirror);
  static constexpr int64_t NoMirror = INT64_MIN;

  uint32_t* bits_;
  int width_;
  int height_;
  int stride_;
  CanvasPen pen_;
  CanvasBrush brush_;
  CanvasFont font_;
  int64_t curX_ = 0;
  int64_t curY_ = 0;
  int64_t dashPhase_ = 0; ///< pixels of the pattern used since the last MoveTo
  /// One edge of a filled polygon: first point (AX, AY), run (DX, DY), rows Low..High-1 crossed.
  struct FillEdge {
    double AX, AY, DX, DY;
    int Low, High;
  };
  std::vector<double> crossScratch_;
  std::vector<FillEdge> edgeScratch_;
  std::vector<double> halfScratch_;
  std::vector<std::pair<int64_t, int64_t>> spanScratch_;
};

} // namespace drex
