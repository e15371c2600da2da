#include "view/QtPainterCanvas.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QPen>
#include <QString>

#include <algorithm>

#include "view/raster_canvas.h"

namespace drex {

namespace {

QColor QColorOf(int32_t color) { return QColor::fromRgb(PixelOfColor(color)); }

/// The centre of pixel (x, y).
QPointF Centre(int x, int y) { return QPointF(x + 0.5, y + 0.5); }

/// The outline through the centres of the pixels [left, right) × [top, bottom) covers.
QRectF OutlineRect(int left, int top, int right, int bottom) {
  return QRectF(QPointF(left + 0.5, top + 0.5), QPointF(right - 0.5, bottom - 0.5)).normalized();
}

QPen QPenOf(const CanvasPen& pen) {
  QPen q(QColorOf(pen.Color));
  q.setWidthF(ClampPenWidth(pen.Width));
  q.setCapStyle(Qt::RoundCap);
  q.setJoinStyle(Qt::RoundJoin);
  const DashPattern pattern = DashPatternOf(pen.Style);
  if (pattern.Count > 0) {
    // The raster canvas's runs are pixels at width 1 and stretch with the width, as Qt's do; a
    // round cap adds half a width at each end of a dash, which the gaps give back.
    q.setCapStyle(Qt::FlatCap);
    QList<qreal> runs;
    for (int k = 0; k < pattern.Count; ++k)
      runs << std::max(1, pattern.Runs[k]);
    q.setDashPattern(runs);
  }
  return q;
}

} // namespace

QFont PictureQFont(const CanvasFont& font) {
  QFont q(QString::fromUtf8(font.Name.c_str()));
  q.setStyleHint(font.Name == CanvasFont{}.Name ? QFont::TypeWriter : QFont::SansSerif, QFont::PreferAntialias);
  // The size the screen gives the face, in pixels, so that every device draws the same picture.
  const int pixels = std::max(1, QFontInfo(q).pixelSize());
  const int scale = std::clamp(font.Scale, 10, 1000);
  q.setPixelSize(std::max(1, (pixels * scale + 50) / 100));
  return q;
}

PainterCanvas::PainterCanvas(QPainter* painter, int width, int height)
    : painter_(painter), width_(std::max(1, width)), height_(std::max(1, height)), qfont_(PictureQFont(font_)),
      metrics_(qfont_) {
  if (painter_ != nullptr) {
    painter_->setRenderHint(QPainter::Antialiasing, true);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
    painter_->setClipRect(QRectF(0, 0, width_, height_), Qt::IntersectClip);
  }
}

PainterCanvas::~PainterCanvas() { Flush(); }

void PainterCanvas::SetPen(const CanvasPen& pen) {
  Flush();
  pen_ = pen;
}

void PainterCanvas::SetFont(const CanvasFont& font) {
  const bool sameFace = font.Name == font_.Name && font.Scale == font_.Scale;
  font_ = font;
  if (sameFace) return;
  qfont_ = PictureQFont(font_);
  metrics_ = QFontMetrics(qfont_);
}

QPainter* PainterCanvas::Ready(bool outline, bool fill) {
  if (painter_ == nullptr || (outline && pen_.Mode == PenMode::Xor)) return nullptr;
  painter_->setPen(outline ? QPenOf(pen_) : QPen(Qt::NoPen));
  painter_->setBrush(fill && brush_.Style == BrushStyle::Solid ? QBrush(QColorOf(brush_.Color)) : QBrush(Qt::NoBrush));
  return painter_;
}

void PainterCanvas::Flush() {
  if (run_.size() >= 2) {
    if (QPainter* p = Ready(true, false)) p->drawPolyline(run_);
  }
  run_.clear();
}

void PainterCanvas::FillRect(int left, int top, int right, int bottom) {
  Flush();
  if (painter_ == nullptr || right <= left || bottom <= top) return;
  painter_->fillRect(QRectF(left, top, right - left, bottom - top), QColorOf(brush_.Color));
}

void PainterCanvas::MoveTo(int x, int y) {
  Flush();
  at_ = {x, y};
}

void PainterCanvas::LineTo(int x, int y) {
  if (run_.isEmpty()) run_ << Centre(at_.X, at_.Y);
  run_ << Centre(x, y);
  at_ = {x, y};
}

void PainterCanvas::Ellipse(int left, int top, int right, int bottom) {
  Flush();
  if (QPainter* p = Ready(true, true)) p->drawEllipse(OutlineRect(left, top, right, bottom));
}

void PainterCanvas::Rectangle(int left, int top, int right, int bottom) {
  Flush();
  if (QPainter* p = Ready(true, true)) p->drawRect(OutlineRect(left, top, right, bottom));
}

void PainterCanvas::Polygon(const std::vector<PixelPoint>& points) {
  Flush();
  if (points.size() < 2) return;
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(points.size()));
  for (const PixelPoint& point : points)
    polygon << Centre(point.X, point.Y);
  if (QPainter* p = Ready(true, true)) p->drawPolygon(polygon, Qt::OddEvenFill);
}

void PainterCanvas::SetPixel(int x, int y, int32_t color) {
  Flush();
  if (painter_ != nullptr) painter_->fillRect(QRectF(x, y, 1, 1), QColorOf(color));
}

void PainterCanvas::TextOut(int x, int y, const std::string& text) {
  Flush();
  if (painter_ == nullptr || text.empty()) return;
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  if (brush_.Style == BrushStyle::Solid)
    painter_->fillRect(QRectF(x, y, metrics_.horizontalAdvance(s), metrics_.height()), QColorOf(brush_.Color));
  painter_->setFont(qfont_);
  painter_->setPen(QColorOf(font_.Color));
  painter_->drawText(QPointF(x, y + metrics_.ascent()), s);
}

int PainterCanvas::TextWidth(const std::string& text) {
  return metrics_.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

} // namespace drex
