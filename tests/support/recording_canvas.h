#pragma once
// A canvas for tests that paints nothing and remembers every drawing call together with the pen,
// brush and font in force, so a test can ask "was there a dashed width-2 line from (10,20) to
// (30,40)?".

#include <string>
#include <vector>

#include "view/canvas.h"

namespace drex {

enum class CanvasOp { FillRect, MoveTo, LineTo, Ellipse, Rectangle, Polygon, SetPixel, TextOut };

/// One recorded call.
struct CanvasCall {
  CanvasOp Op = CanvasOp::MoveTo;
  /// FillRect, Ellipse, Rectangle: left, top, right, bottom. MoveTo, SetPixel, TextOut: x, y.
  /// LineTo: from x, from y (the position before the call), to x, to y.
  int A = 0, B = 0, C = 0, D = 0;
  std::vector<PixelPoint> Points; ///< Polygon
  int32_t Color = 0;              ///< SetPixel
  std::string Text;               ///< TextOut
  CanvasPen Pen;
  CanvasBrush Brush;
  CanvasFont Font;
  bool Smooth = false; ///< smooth drawing was asked for
};

/// Text of one call, e.g. "LineTo (10,20)-(30,40) pen 0x0000FF dash w2 copy brush 0xFFFFFF solid".
std::string DescribeCall(const CanvasCall& call);

class RecordingCanvas : public Canvas {
public:
  RecordingCanvas(int width, int height) : width_(width), height_(height) {}

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetPen(const CanvasPen& pen) override { pen_ = pen; }
  CanvasPen Pen() const override { return pen_; }
  void SetBrush(const CanvasBrush& brush) override { brush_ = brush; }
  CanvasBrush Brush() const override { return brush_; }
  void SetFont(const CanvasFont& font) override { font_ = font; }
  CanvasFont Font() const override { return font_; }
  void SetSmooth(bool on) override { smooth_ = on; }

  void FillRect(int left, int top, int right, int bottom) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Polygon(const std::vector<PixelPoint>& points) override;
  void SetPixel(int x, int y, int32_t color) override;
  void TextOut(int x, int y, const std::string& text) override;
  /// CharWidth pixels per character (UTF-8 code point).
  int TextWidth(const std::string& text) override;

  /// Changes the size, as a resized drawing area would.
  void Resize(int width, int height) {
    width_ = width;
    height_ = height;
  }
  void Clear() { Calls.clear(); }

  /// Calls of one operation, in order.
  std::vector<CanvasCall> Of(CanvasOp op) const;
  /// The first LineTo from (x0, y0) to (x1, y1), or nullptr.
  const CanvasCall* FindLine(int x0, int y0, int x1, int y1) const;
  /// The first call of `op` whose A..D are the four values, or nullptr.
  const CanvasCall* Find(CanvasOp op, int a, int b, int c, int d) const;
  /// The first TextOut of `text`, or nullptr.
  const CanvasCall* FindText(const std::string& text) const;
  /// Position of a call in Calls (for order checks), or -1.
  int IndexOf(const CanvasCall* call) const;
  /// Every call, one per line.
  std::string Log() const;

  std::vector<CanvasCall> Calls;
  int CharWidth = 8;

private:
  CanvasCall Make(CanvasOp op, int a, int b, int c, int d) const;

  int width_;
  int height_;
  CanvasPen pen_;
  CanvasBrush brush_;
  CanvasFont font_;
  bool smooth_ = false;
  int curX_ = 0;
  int curY_ = 0;
};

} // namespace drex
