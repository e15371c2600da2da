#include "view/QtCanvas.h"

#include <QPainter>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <new>

namespace drex {

namespace {

/// Room around a text's box in its mask image for glyphs that reach past their advance.
constexpr int MaskMargin = 4;

/// Bytes of one cache line; the picture's rows are padded to a multiple of it and one more.
constexpr qsizetype RowPadding = 64;

void FreeBuffer(void* data) { std::free(data); }

QFont MakeFont(const std::string& name) {
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
  const int w = std::max(1, width), h = std::max(1, height);
  // Each row is one cache line longer than its pixels need. With rows of a power of two bytes,
  // as 1024 pixels are, the pixels of one column all fall into the same few cache sets, and a
  // steep line or the side of a circle, which visits one pixel per row, keeps evicting itself.
  const qsizetype stride = (static_cast<qsizetype>(w) * 4 + RowPadding - 1) / RowPadding * RowPadding + RowPadding;
  void* data = std::malloc(static_cast<std::size_t>(stride) * static_cast<std::size_t>(h));
  if (data == nullptr) throw std::bad_alloc();
  // The image owns the buffer from here on and frees it when its last copy goes.
  image_ = QImage(static_cast<uchar*>(data), w, h, stride, QImage::Format_RGB32, FreeBuffer, data);
  image_.fill(QColor(Qt::white));
  Attach(reinterpret_cast<uint32_t*>(image_.bits()), image_.width(), image_.height(),
         static_cast<int>(image_.bytesPerLine() / 4));
}

void QtCanvas::SetFont(const CanvasFont& font) {
  if (font.Name != Font().Name) {
    font_ = MakeFont(font.Name);
    metrics_ = QFontMetrics(font_);
    masks_.clear();
  }
  RasterCanvas::SetFont(font);
}

const QtCanvas::TextMask& QtCanvas::MaskOf(const std::string& text) {
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
    const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
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
  for (const TextMask::Run& run : mask.Runs) {
    if (&run == mask.Runs.data()) {
      mask.Left = run.X0;
      mask.Right = run.X1;
      mask.Top = mask.Bottom = run.Y;
    }
    mask.Left = std::min<int>(mask.Left, run.X0);
    mask.Right = std::max<int>(mask.Right, run.X1);
    mask.Top = std::min<int>(mask.Top, run.Y);
    mask.Bottom = std::max<int>(mask.Bottom, run.Y);
  }
  return masks_.emplace(text, std::move(mask)).first->second;
}

void QtCanvas::TextOut(int x, int y, const std::string& text) {
  if (text.empty()) return;
  const TextMask& mask = MaskOf(text);
  if (Brush().Style == BrushStyle::Solid) FillRect(x, y, x + mask.Width, y + mask.Height);
  const uint32_t value = PixelOfColor(Font().Color);
  const int64_t width = image_.width(), height = image_.height();
  const int64_t left = static_cast<int64_t>(x) + mask.Left, right = static_cast<int64_t>(x) + mask.Right;
  const int64_t top = static_cast<int64_t>(y) + mask.Top, bottom = static_cast<int64_t>(y) + mask.Bottom;
  if (left > right || right < 0 || left >= width || bottom < 0 || top >= height) return;
  // Written through the buffer pointer: the image's own row access checks for sharing each time.
  auto* bits = reinterpret_cast<uint32_t*>(image_.bits());
  const qsizetype stride = image_.bytesPerLine() / 4;
  if (left >= 0 && right < width && top >= 0 && bottom < height) {
    // Wholly inside: runs of a glyph are a few pixels long and need no clipping.
    for (const TextMask::Run& run : mask.Runs) {
      uint32_t* line = bits + (static_cast<qsizetype>(y) + run.Y) * stride;
      for (qsizetype k = static_cast<qsizetype>(x) + run.X0, end = static_cast<qsizetype>(x) + run.X1; k <= end; ++k)
        line[k] = value;
    }
    return;
  }
  for (const TextMask::Run& run : mask.Runs) {
    const int64_t row = static_cast<int64_t>(y) + run.Y;
    if (row < 0 || row >= height) continue;
    const int64_t x0 = std::max<int64_t>(static_cast<int64_t>(x) + run.X0, 0);
    const int64_t x1 = std::min<int64_t>(static_cast<int64_t>(x) + run.X1, width - 1);
    if (x0 > x1) continue;
    uint32_t* line = bits + static_cast<qsizetype>(row) * stride;
    std::fill(line + x0, line + x1 + 1, value);
  }
}

int QtCanvas::TextWidth(const std::string& text) { return text.empty() ? 0 : MaskOf(text).Width; }

} // namespace drex
