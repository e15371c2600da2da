#pragma once
// The pixel work of the canvas, done by hand on a 32-bit pixel buffer: lines of every width and
// dash pattern, ellipses, rectangles, polygons, pixels and texts from their kept runs of pixels,
// all clipped to the buffer, in copy or XOR mode. The glyphs of a text come from the subclass,
// which knows fonts.
//
// A recorded drawing (PaintList) is painted in horizontal bands, one per processor core: each band
// replays the whole drawing cut to its rows. Every primitive works out each pixel from its own
// coordinates alone, whatever rows it is cut to, so every pixel receives the same writes in the
// same order as in one pass over the whole picture, and the picture is the same.
//
// While a point is dragged, most of the picture does not change. A drawing may keep the objects
// that stay where they are in two retained layers (the curves under everything, the points over
// the rest) and paint only the moving ones over them each time. Each pixel of a layer remembers
// the key (the drawing order) of the last object that wrote it; a moving object then writes a
// pixel only where its key comes after the layer's, so the picture is the one the whole drawing
// in order would give. This holds for opaque writes, which all aliased drawing in copy mode is.

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
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

/// The pixels of a text in one font, kept to be copied in the font colour: horizontal runs of
/// set pixels relative to the text's top left corner.
struct TextRuns {
  struct Run {
    int16_t Y, X0, X1;
  };
  int Width = 0;  ///< advance of the text, pixels
  int Height = 0; ///< line height of the font, pixels
  std::vector<Run> Runs;
  /// The box the runs cover: columns Left..Right, rows Top..Bottom (empty without runs).
  int Left = 0, Top = 0, Right = -1, Bottom = -1;
};

/// How a layer of a recorded drawing is used (PaintList::UseLayer).
enum class LayerUse : uint8_t {
  Picture, ///< draw on the picture, no keys
  Build,   ///< forget the layer's keys in these rows and draw into the layer, storing the keys
  Restore, ///< copy the layer onto the picture
  Overlay, ///< copy onto the picture the layer's pixels that some object wrote
  Over,    ///< draw on the picture where the key comes after the layer's
};

/// How the raster code writes a pixel: copies the value, XORs it in, copies it and stores the key
/// of what is drawn in the layer's keys, or copies it only where that key comes after the layer's.
enum class WriteMode : uint8_t { Copy, Xor, Store, Test };

/// Retained layers of a drawing.
constexpr int LayerCount = 2;

class PaintWorkers;

/// The surface a drawing is streamed to, told on the recording thread what the calls will need.
class PaintTarget {
public:
  virtual ~PaintTarget() = default;
  /// The runs of text `index` of the drawing in `font`.
  virtual const TextRuns* RunsForText(int index, const std::string& text, const CanvasFont& font) = 0;
  /// The drawing is about to use retained layers.
  virtual void LayersNeeded() = 0;
};

/// A canvas over a buffer it does not own: `height` rows of `stride` pixels each, of which the
/// first `width` belong to the picture.
class RasterCanvas : public Canvas, private PaintTarget {
public:
  RasterCanvas(uint32_t* bits, int width, int height, int stride);
  ~RasterCanvas() override;
  RasterCanvas(const RasterCanvas&) = delete;
  RasterCanvas& operator=(const RasterCanvas&) = delete;

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
  /// The text's kept runs (TextRunsOf) in the font colour; nothing when there are none.
  void TextOut(int x, int y, const std::string& text) override;
  /// The advance of the text's kept runs, 0 when there are none.
  int TextWidth(const std::string& text) override;

  /// Starts the bands below the first on the drawing as it is recorded.
  void BeginPaint(PaintList& list) override;
  /// Paints the drawing in bands on the processor cores, with its retained layers.
  void Paint(const PaintList& list) override;
  bool CanKeepLayers() const override { return true; }
  uint32_t KeptLayers() const override { return layerStamp_; }

  /// The colour value at a pixel, or -1 outside the buffer.
  int32_t PixelColor(int x, int y) const;

  /// Bands a drawing is painted in at most (1 paints it in one pass on the calling thread); the
  /// start is one per processor core, up to MaxBands.
  void SetMaxBands(int bands);
  static constexpr int MaxBands = 4;
  /// Fewest rows of a band.
  static constexpr int MinBandRows = 16;

protected:
  /// Points the canvas at another buffer (after the owner reallocated it); the retained layers go
  /// when the size changes.
  void Attach(uint32_t* bits, int width, int height, int stride);
  /// The kept runs of a text in the current font, or nullptr for a text that paints nothing. A
  /// pointer returned stays valid until the end of the Paint that asked for it.
  virtual const TextRuns* TextRunsOf(const std::string& text);
  /// Changes whenever runs TextRunsOf handed out stop being kept.
  virtual uint64_t TextRunsGeneration() const;
  /// Paints the text of runs `r` with its top left corner at (x, y) in the font colour, on the
  /// brush colour when the brush is solid.
  void PaintTextRuns(int x, int y, const TextRuns& r);

private:
  /// The pixels and keys of one retained layer, of the buffer's size.
  struct Layer {
    std::vector<uint32_t> Pixels;
    std::vector<uint16_t> Keys;
  };
  /// The write mode of the pen's or the brush's pixels (xorPen: the pen is in XOR mode).
  WriteMode ModeFor(bool xorPen) const;
  /// Paints pixels x0..x1 of row y (already clipped) with `value` in mode `mode`.
  void Span(int y, int x0, int x1, uint32_t value, WriteMode mode);
  /// The row clip of a band.
  void ClipRows(int top, int bottom);
  /// Carries out a layer use in the clip rows.
  void UseLayer(LayerUse use, int layer);
  /// Paints the drawing's operations on this canvas, a band of the picture, with `texts` for its
  /// texts (or those the list found when it is null); `streamed`: reads the calls as they come.
  void ReplayBand(const PaintList& list, const std::vector<const TextRuns*>* texts, bool streamed);
  /// Makes the retained layers' buffers.
  void KeepLayers();
  /// Readies the bands for a drawing; returns their number.
  int SetUpBands();
  const TextRuns* RunsForText(int index, const std::string& text, const CanvasFont& font) override;
  void LayersNeeded() override;
  /// New band edges from the time each band took.
  void BalanceBands(const std::vector<double>& seconds);
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

  uint32_t* bits_;    ///< where pixels go: the picture or a layer
  uint32_t* picture_; ///< the picture's own buffer
  int width_;
  int height_;
  int stride_;
  /// Rows drawn: clipTop_ up to clipBottom_ (all of them but in a band).
  int clipTop_ = 0;
  int clipBottom_ = 0;
  /// Keys of the layer written or tested, and the key of what is drawn now.
  uint16_t* keys_ = nullptr;
  uint16_t key_ = 0;
  WriteMode keyMode_ = WriteMode::Copy; ///< Copy, or Store or Test with the keys
  /// The retained layers (a band uses those of the canvas it paints for) and their stamp.
  std::array<Layer, LayerCount> ownLayers_;
  std::array<Layer, LayerCount>* layers_ = &ownLayers_;
  uint32_t layerStamp_ = 0;
  /// The bands and the threads that paint them beside the caller.
  int maxBands_ = 1;
  std::vector<int> bandEdges_; ///< first row of each band, and the height at the end
  /// The time the rows of each slice took to paint, as the bands' times have shown it.
  std::vector<double> rowCost_;
  static constexpr int CostSliceRows = 4;
  std::vector<std::unique_ptr<RasterCanvas>> bands_;
  std::unique_ptr<PaintWorkers> workers_;
  std::vector<const TextRuns*> preparedTexts_;
  std::vector<double> bandSeconds_;
  /// The drawing being streamed to the bands, when BeginPaint started it.
  const PaintList* streamed_ = nullptr;
  int streamBands_ = 1;
  std::chrono::steady_clock::time_point streamStart_;
  std::function<void(int)> streamTask_;
  /// The text looked up for each text of the last drawing, in its font, and the runs found.
  struct KeptText {
    std::string Text;
    std::string Font;
    int Scale = 0;
    int32_t Halo = 0;
    const TextRuns* Runs = nullptr;
    bool Valid = false;
  };
  std::vector<KeptText> textMemo_;
  uint64_t textMemoGeneration_ = 0;
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
