#include "view/QtCanvas.h"

#include <QPainter>
#include <QString>

#include <algorithm>

namespace drex {

namespace {

/// Room around a text's box in its mask image for glyphs that reach past their advance.
constexpr int MaskMargin = 4;

QFont MakeFont(const std::string &name) {
  QFont font(QString::fromUtf8(name.c_str()));
  font.setStyleHint(QFont::TypeWriter, QFont::NoAntialias);
  return font;
}

} // namespace

QtCanvas::QtCanvas(int width, int height)
    : RasterCanvas(nullptr, 0, 0, 0), font_(MakeFont(Font().Name)), metrics_(font_) {
  Resize(width, height);
}

void QtCanvas::Resize(int width, int height) {
  image_ = QImage(std::max(1, width), std::max(1, height), QImage::Format_RGB32);
  image_.fill(QColor(Qt::white));
  Attach(reinterpret_cast<uint32_t *>(image_.bits()), image_.width(), image_.height(),
         static_cast<int>(image_.bytesPerLine() / 4));
}

void QtCanvas::SetFont(const CanvasFont &font) {
  if (font.Name != Font().Name) {
    font_ = MakeFont(font.Name);
    metrics_ = QFontMetrics(font_);
    masks_.clear();
  }
  RasterCanvas::SetFont(font);
}

const QtCanvas::TextMask &QtCanvas::MaskOf(const std::string &text) {
  const auto found = masks_.find(text);
  if (found != masks_.end()) return found->second;
  if (masks_.size() >= MaxKeptTexts) masks_.clear();

  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  TextMask mask;
  mask.Width = metrics_.horizontalAdvance(s);
  mask.Height = metrics_.height();
  const int w = std::min(mask.Width + 2 * MaskMargin, 1 << 14);
  const int h = mask.Height + 2 * MaskMargin;
  QImage scratch(w, h, QImage::Format_RGB32);
  scratch.fill(QColor(Qt::black));
  {
    QPainter p(&scratch);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(font_);
    p.setPen(QColor(Qt::white));
    p.drawText(MaskMargin, MaskMargin + metrics_.ascent(), s);
  }
  for (int y = 0; y < h; ++y) {
    const auto *row = reinterpret_cast<const QRgb *>(scratch.constScanLine(y));
    int x = 0;
    while (x < w) {
      if (qGreen(row[x]) < 128) {
        ++x;
        continue;
      }
      const int start = x;
      while (x < w && qGreen(row[x]) >= 128)
        ++x;
      mask.Runs.push_back(TextMask::Run{static_cast<int16_t>(y - MaskMargin), static_cast<int16_t>(start - MaskMargin),
                                        static_cast<int16_t>(x - 1 - MaskMargin)});
    }
  }
  return masks_.emplace(text, std::move(mask)).first->second;
}

void QtCanvas::TextOut(int x, int y, const std::string &text) {
  if (text.empty()) return;
  const TextMask &mask = MaskOf(text);
  if (Brush().Style == BrushStyle::Solid) FillRect(x, y, x + mask.Width, y + mask.Height);
  const uint32_t value = PixelOfColor(Font().Color);
  const int64_t width = image_.width(), height = image_.height();
  for (const TextMask::Run &run : mask.Runs) {
    const int64_t row = static_cast<int64_t>(y) + run.Y;
    if (row < 0 || row >= height) continue;
    const int64_t x0 = std::max<int64_t>(static_cast<int64_t>(x) + run.X0, 0);
    const int64_t x1 = std::min<int64_t>(static_cast<int64_t>(x) + run.X1, width - 1);
    if (x0 > x1) continue;
    auto *line = reinterpret_cast<uint32_t *>(image_.scanLine(static_cast<int>(row)));
    std::fill(line + x0, line + x1 + 1, value);
  }
}

int QtCanvas::TextWidth(const std::string &text) { return text.empty() ? 0 : MaskOf(text).Width; }

} // namespace drex
