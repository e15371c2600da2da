#pragma once
// The hand-written raster code over a buffer the test owns, for reading pixels back. Text is not
// painted; its width is 8 pixels a byte.

#include <string>
#include <vector>

#include "view/raster_canvas.h"

namespace drex {

class BufferCanvas : public RasterCanvas {
public:
  BufferCanvas(int width, int height)
      : RasterCanvas(nullptr, 0, 0, 0), pixels_(static_cast<std::size_t>(width) * height, PixelOfColor(ColorWhite)) {
    Attach(pixels_.data(), width, height, width);
  }
  void TextOut(int, int, const std::string&) override {}
  int TextWidth(const std::string& text) override { return 8 * static_cast<int>(text.size()); }

  const std::vector<uint32_t>& Pixels() const { return pixels_; }
  /// Number of pixels of the colour.
  int CountOf(int32_t color) const {
    int n = 0;
    for (uint32_t p : pixels_)
      n += ColorOfPixel(p) == color;
    return n;
  }
  /// Rows as text, '#' for black, '.' for white and '+' for anything else; for failure messages.
  std::string Picture() const {
    std::string s;
    for (int y = 0; y < Height(); ++y) {
      for (int x = 0; x < Width(); ++x) {
        const int32_t c = PixelColor(x, y);
        s += c == ColorBlack ? '#' : c == ColorWhite ? '.' : '+';
      }
      s += '\n';
    }
    return s;
  }

private:
  std::vector<uint32_t> pixels_;
};

} // namespace drex
