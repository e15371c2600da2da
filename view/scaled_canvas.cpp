#include "view/scaled_canvas.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace drex {

namespace {

/// `value` to the nearest int, held to the int range.
int Saturated(double value) {
  if (!(value > INT_MIN)) return INT_MIN;
  if (!(value < INT_MAX)) return INT_MAX;
  return static_cast<int>(std::lround(value));
}

} // namespace

ScaledCanvas::ScaledCanvas(Canvas& inner, int width, int height, double scale)
    : inner_(inner), width_(width), height_(height), scale_(scale > 0 ? scale : 1) {
  pen_ = inner.Pen();
  font_ = inner.Font();
}

int ScaledCanvas::Edge(int v) const { return Saturated(v * scale_); }

int ScaledCanvas::Centre(int v) const { return Saturated((v + 0.5) * scale_ - 0.5); }

void ScaledCanvas::SetPen(const CanvasPen& pen) {
  pen_ = pen;
  CanvasPen scaled = pen;
  scaled.Width = std::max(1, Saturated(ClampPenWidth(pen.Width) * scale_));
  inner_.SetPen(scaled);
}

void ScaledCanvas::SetFont(const CanvasFont& font) {
  font_ = font;
  CanvasFont scaled = font;
  scaled.Scale = std::max(1, Saturated(font.Scale * scale_));
  inner_.SetFont(scaled);
}

void ScaledCanvas::FillRect(int left, int top, int right, int bottom) {
  inner_.FillRect(Edge(left), Edge(top), Edge(right), Edge(bottom));
}

void ScaledCanvas::MoveTo(int x, int y) { inner_.MoveTo(Centre(x), Centre(y)); }

void ScaledCanvas::LineTo(int x, int y) { inner_.LineTo(Centre(x), Centre(y)); }

void ScaledCanvas::Ellipse(int left, int top, int right, int bottom) {
  inner_.Ellipse(Edge(left), Edge(top), Edge(right), Edge(bottom));
}

void ScaledCanvas::Rectangle(int left, int top, int right, int bottom) {
  inner_.Rectangle(Edge(left), Edge(top), Edge(right), Edge(bottom));
}

void ScaledCanvas::Polygon(const std::vector<PixelPoint>& points) {
  std::vector<PixelPoint> scaled;
  scaled.reserve(points.size());
  for (const PixelPoint& p : points)
    scaled.push_back({Centre(p.X), Centre(p.Y)});
  inner_.Polygon(scaled);
}

void ScaledCanvas::SetPixel(int x, int y, int32_t color) {
  // A pixel becomes the block of inner pixels it covers.
  const CanvasBrush brush = inner_.Brush();
  inner_.SetBrushColor(color);
  inner_.FillRect(Edge(x), Edge(y), std::max(Edge(x) + 1, Edge(x + 1)), std::max(Edge(y) + 1, Edge(y + 1)));
  inner_.SetBrush(brush);
}

void ScaledCanvas::TextOut(int x, int y, const std::string& text) { inner_.TextOut(Edge(x), Edge(y), text); }

int ScaledCanvas::TextWidth(const std::string& text) {
  return static_cast<int>(std::lround(inner_.TextWidth(text) / scale_));
}

} // namespace drex
