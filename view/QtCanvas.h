#pragma once
// The canvas of the drawing area over a retained QImage. Lines, shapes and pixels are painted by
// the raster code straight into the image's pixels. A text is rendered once with QPainter into a
// mask of its pixels and kept; every later drawing of the same text copies the mask in the font
// colour, so the thousands of names of a large construction cost little per redraw.
//
// With smoothing on, lines and outlines drawn in copy mode are cut to the picture and stroked
// antialiased by the smooth pixel walk (view/smooth_raster), circles are covered by it too, and
// fills of polygons and of ellipses that are not circles go through a QPainter opened on the same
// image when needed. Consecutive MoveTo/LineTo calls are gathered and stroked as one outline when
// anything else happens, so that a dash pattern runs on across the vertices and a curve made of
// many short segments has clean joins. Every writer uses the same pixels; what is gathered is
// painted before any other write, so the order of the drawing is kept. Rectangles, whose sides
// run along the pixels' edges, stay aliased. Texts are then kept as masks of their glyph coverage
// (and of a halo around it) and blended into the picture.

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "view/raster_canvas.h"
#include "view/smooth_raster.h"

namespace drex {

/// One stretch of a smooth outline inside the picture: Count points from First on.
struct OutlinePiece {
  double Offset;     ///< length of the outline before the piece's first point, pixels
  std::size_t First; ///< index of its first point
  std::size_t Count;
  bool Closed; ///< the whole outline of a closed shape: the last point joins the first
};

class QtCanvas : public RasterCanvas {
public:
  /// A white picture of width × height pixels (at least 1 × 1).
  QtCanvas(int width, int height);
  QtCanvas(const QtCanvas&) = delete;
  QtCanvas& operator=(const QtCanvas&) = delete;
  ~QtCanvas() override;

  /// Changes the size; the new picture is white.
  void Resize(int width, int height);
  /// The picture with everything drawn so far. A copy taken of it keeps its pixels: the canvas
  /// paints into a picture of its own from then on.
  const QImage& Image() const;
  /// The colour value at a pixel with everything drawn so far, or -1 outside the picture.
  int32_t PixelColor(int x, int y) const;

  void SetPen(const CanvasPen& pen) override;
  void SetFont(const CanvasFont& font) override;
  void FillRect(int left, int top, int right, int bottom) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Polygon(const std::vector<PixelPoint>& points) override;
  void SetPixel(int x, int y, int32_t color) override;
  void TextOut(int x, int y, const std::string& text) override;
  int TextWidth(const std::string& text) override;
  void SetSmooth(bool on) override;
  bool Smooth() const { return smooth_; }
  /// An aliased drawing in bands on all cores (RasterCanvas::Paint); a smooth one in order.
  void BeginPaint(PaintList& list) override;
  void Paint(const PaintList& list) override;

  /// Texts whose masks are kept; beyond it the store starts afresh.
  static constexpr std::size_t MaxKeptTexts = 32768;
  /// Font sizes are held to this range of percent.
  static constexpr int MinFontScale = 10;
  static constexpr int MaxFontScale = 4000;

private:
  /// One text at the top left corner (0, 0). Aliased: the runs of set pixels. Smooth: the
  /// coverage (0..255) of the glyphs and of their halo over the box, rows one after the other.
  struct TextMask : TextRuns {
    std::vector<uint8_t> Glyph;
    std::vector<uint8_t> Halo; ///< empty without a halo
  };
  /// The masks of one font, size, smoothing and halo, by text.
  using TextStore = std::unordered_map<std::string, TextMask>;

  /// Smooth drawing applies: smoothing is on and the pen copies.
  bool Smoothed() const;
  /// Makes sure no copy of the picture shares its pixels before the canvas writes them.
  void Own();
  /// Points the raster code at the image's pixels.
  void AttachImage();
  /// Strokes the gathered lines; done before anything else writes the picture.
  void Flush() const;
  /// The painter, open on the picture.
  QPainter& Painter() const;
  /// The picture's pixels for the smooth pixel walk.
  PixelBuffer Buffer() const;
  /// Strokes the outline pieces made so far with the pen.
  void Stroke() const;
  /// Fills the polygon with the brush colour.
  void FillSmooth(std::vector<QPointF>& points, Qt::FillRule rule) const;
  /// Takes the font, the masks and the metrics of the current font, size and smoothing.
  void ChooseFont();
  const TextMask& MaskOf(const std::string& text);
  const TextRuns* TextRunsOf(const std::string& text) override;
  uint64_t TextRunsGeneration() const override { return storeGeneration_; }
  /// Starts the masks afresh.
  void ForgetMasks();
  /// Strokes what is gathered, owns the pixels and closes the painter, before bands paint.
  void ReadyForBands();
  void RenderAliased(const QString& s, TextMask& mask) const;
  void RenderSmooth(const QString& s, bool halo, TextMask& mask) const;
  int HaloRadius() const;

  mutable QImage image_;
  /// Declared after the image, so that it is closed before the image goes.
  mutable QPainter painter_;
  bool smooth_ = false;
  /// The current position, as MoveTo and LineTo left it.
  PixelPoint at_;
  /// The gathered lines: their points, and where each one begins.
  mutable std::vector<PixelPoint> runPoints_;
  mutable std::vector<std::size_t> runStarts_;
  /// The outline pieces waiting for Stroke, and scratch point lists.
  mutable std::vector<QPointF> points_;
  mutable std::vector<OutlinePiece> pieces_;
  mutable std::vector<QPointF> centres_;
  mutable std::vector<Point2> outline_;
  std::vector<QPointF> fill_;

  QFont font_;
  QFontMetrics metrics_;
  std::string fontName_;
  int fontScale_ = 100;
  char fontKind_ = 'a'; ///< aliased, smooth, or smooth with a halo
  std::string storeKey_;
  std::unordered_map<std::string, TextStore> stores_;
  TextStore* masks_ = nullptr;
  std::size_t keptTexts_ = 0;
  /// Set while a drawing is painted: the masks handed out must stay, so the store is not started
  /// afresh until the next drawing.
  bool keepMasks_ = false;
  /// Texts of the last drawing painted.
  std::size_t lastTexts_ = 0;
  /// Grows each time the masks are started afresh.
  uint64_t storeGeneration_ = 1;
};

} // namespace drex
