#include "view/QtCanvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <QString>

#include <algorithm>

namespace drex {

namespace {

QColor QColorOf(int32_t color) { return QColor::fromRgb(PixelOfColor(color)); }

QFont MakeFont(const std::string &name) {
  QFont font(QString::fromUtf8(name.c_str()));
  font.setStyleHint(QFont::TypeWriter, QFont::NoAntialias);
  return font;
}

} // namespace

QtCanvas::QtCanvas(int width, int height) : RasterCanvas(nullptr, 0, 0, 0), font_(MakeFont(Font().Name)) {
  Resize(width, height);
}

QtCanvas::~QtCanvas() { EndPainting(); }

void QtCanvas::Resize(int width, int height) {
  EndPainting();
  image_ = QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
  image_.fill(QColor(Qt::white));
  Attach(reinterpret_cast<uint32_t *>(image_.bits()), image_.width(), image_.height(),
         static_cast<int>(image_.bytesPerLine() / 4));
}

const QImage &QtCanvas::Image() {
  EndPainting();
  return image_;
}

void QtCanvas::EndPainting() {
  if (painter_) {
    painter_->end();
    painter_.reset();
  }
}

QPainter &QtCanvas::TextPainter() {
  if (!painter_) {
    // The painter writes into the same pixels the raster code does; both paint at once, in order.
    painter_ = std::make_unique<QPainter>(&image_);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, false);
    painter_->setFont(font_);
  }
  return *painter_;
}

void QtCanvas::SetFont(const CanvasFont &font) {
  if (font.Name != Font().Name) {
    font_ = MakeFont(font.Name);
    if (painter_) painter_->setFont(font_);
  }
  RasterCanvas::SetFont(font);
}

void QtCanvas::TextOut(int x, int y, const std::string &text) {
  if (text.empty()) return;
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  QPainter &p = TextPainter();
  const QFontMetrics metrics(font_);
  if (Brush().Style == BrushStyle::Solid) {
    FillRect(x, y, x + metrics.horizontalAdvance(s), y + metrics.height());
  }
  p.setPen(QColorOf(Font().Color));
  p.drawText(x, y + metrics.ascent(), s);
}

int QtCanvas::TextWidth(const std::string &text) {
  const QFontMetrics metrics(font_);
  return metrics.horizontalAdvance(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

} // namespace drex
