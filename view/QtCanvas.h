#pragma once
// The canvas of the drawing area over a retained QImage. Lines, shapes and pixels are painted by
// the raster code straight into the image's pixels. A text is rendered once with QPainter into a
// mask of its pixels and kept; every later drawing of the same text copies the mask in the font
// colour, so the thousands of names of a large construction cost little per redraw.

#include <QFont>
#include <QFontMetrics>
#include <QImage>

#include <string>
#include <unordered_map>
#include <vector>

#include "view/raster_canvas.h"

namespace drex {

class QtCanvas : public RasterCanvas {
public:
  /// A white picture of width × height pixels (at least 1 × 1).
  QtCanvas(int width, int height);
  QtCanvas(const QtCanvas&) = delete;
  QtCanvas& operator=(const QtCanvas&) = delete;

  /// Changes the size; the new picture is white.
  void Resize(int width, int height);
  /// The picture with everything drawn so far.
  const QImage& Image() const { return image_; }

  void SetFont(const CanvasFont& font) override;
  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;

  /// Texts whose masks are kept; beyond it the store starts afresh.
  static constexpr std::size_t MaxKeptTexts = 32768;

private:
  /// The pixels of one text at the top left corner (0, 0): horizontal runs of set pixels.
  struct TextMask {
    struct Run {
      int16_t Y, X0, X1;
    };
    int Width = 0;  ///< advance of the text, pixels
    int Height = 0; ///< line height of the font, pixels
    std::vector<Run> Runs;
    /// The box the runs cover: columns Left..Right, rows Top..Bottom (empty without runs).
    int Left = 0, Top = 0, Right = -1, Bottom = -1;
  };

  const TextMask& MaskOf(const std::string& text);

  QImage image_;
  QFont font_;
  QFontMetrics metrics_;
  std::unordered_map<std::string, TextMask> masks_;
};

} // namespace drex
