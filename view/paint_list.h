#pragma once
// A drawing recorded for painting later. The redraw works out what to draw once, on the calling
// thread, into a PaintList; the surface then paints it (Canvas::Paint), which a raster surface does
// in bands on all processor cores. The list is itself a canvas: it keeps the pen, brush and font
// as the calls leave them and asks its target surface for the widths of texts.

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "view/canvas.h"
#include "view/raster_canvas.h"

namespace drex {

enum class PaintOpKind : uint8_t {
  Pen,       ///< A colour, B width, Small style | mode << 4
  Brush,     ///< A colour, Small style
  Font,      ///< A index of the font
  Smooth,    ///< Small on
  FillRect,  ///< A..D left, top, right, bottom
  MoveTo,    ///< A, B
  LineTo,    ///< A, B
  Ellipse,   ///< A..D
  Rectangle, ///< A..D
  Polygon,   ///< A first point, B count
  Pixel,     ///< A, B, C colour
  Text,      ///< A, B, C index of the text
  Layer,     ///< Small the LayerUse, A the layer
  Key,       ///< A the key of what follows
};

struct PaintOp {
  PaintOpKind Kind;
  uint8_t Small;
  int32_t A, B, C, D;
};

class PaintList final : public Canvas {
public:
  /// Starts a new drawing for `target`: no calls yet, the target's size, pen, brush and font.
  void Begin(Canvas& target);

  int Width() const override { return width_; }
  int Height() const override { return height_; }
  void SetPen(const CanvasPen& pen) override;
  CanvasPen Pen() const override { return pen_; }
  void SetBrush(const CanvasBrush& brush) override;
  CanvasBrush Brush() const override { return brush_; }
  void SetFont(const CanvasFont& font) override;
  CanvasFont Font() const override { return font_; }
  void FillRect(int left, int top, int right, int bottom) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void Polygon(const std::vector<PixelPoint>& points) override;
  void SetPixel(int x, int y, int32_t color) override;
  void TextOut(int x, int y, const std::string& text) override;
  /// The target's width of the text in the list's current font and smoothing.
  int TextWidth(const std::string& text) override;
  void SetSmooth(bool on) override;

  /// What the calls from here on draw on, on a surface that keeps layers (Canvas::CanKeepLayers).
  void UseLayer(LayerUse use, int layer);
  /// The key of what the calls from here on draw into or over a layer: its place in the order of
  /// the whole drawing. Keys grow along the drawing; 0 is the background's.
  void SetKey(uint16_t key);
  /// Marks the layers this drawing builds with `stamp` (not 0), which the surface keeps.
  void StampLayers(uint32_t stamp) { stamp_ = stamp; }

  /// Lets `readers` threads paint the calls while they are recorded: from here on the target
  /// looks up each text as it comes and hears of layers before they are used.
  void StartStreaming(PaintTarget& target, int readers);
  /// Ends the recording: the readers get every call.
  void Finish();
  /// For a reader: how many calls may be read, more than `from`; or `from` when the drawing ended
  /// there. Waits for the recording when it has not got further.
  std::size_t Readable(std::size_t from);
  /// The runs the target found for the text of `op`, nullptr when the drawing was not streamed.
  const TextRuns* RunsOf(const PaintOp& op) const { return runs_[static_cast<std::size_t>(op.C)]; }
  bool Streamed() const { return streamTarget_ != nullptr; }

  const std::vector<PaintOp>& Ops() const { return ops_; }
  const CanvasFont& FontOf(const PaintOp& op) const { return fonts_[static_cast<std::size_t>(op.A)]; }
  const std::string& TextOf(const PaintOp& op) const { return texts_[static_cast<std::size_t>(op.C)]; }
  const PixelPoint* PointsOf(const PaintOp& op) const { return points_.data() + op.A; }
  int TextCount() const { return textCount_; }
  /// The pen, brush and font the drawing starts with.
  const CanvasPen& StartPen() const { return startPen_; }
  const CanvasBrush& StartBrush() const { return startBrush_; }
  const CanvasFont& StartFont() const { return startFont_; }
  /// Some call asks for smooth drawing.
  bool AnySmooth() const { return anySmooth_; }
  bool UsesLayers() const { return usesLayers_; }
  uint32_t LayerStamp() const { return stamp_; }

private:
  void Add(PaintOpKind kind, int32_t a = 0, int32_t b = 0, int32_t c = 0, int32_t d = 0, uint8_t small = 0) {
    if (streamTarget_ != nullptr) MakeRoom(ops_, 1);
    ops_.push_back(PaintOp{kind, small, a, b, c, d});
    if (streamTarget_ != nullptr && ops_.size() - published_.load(std::memory_order_relaxed) >= PublishEvery) Publish();
  }
  /// While streaming, a vector that must grow is grown only once every reader waits, since the
  /// readers read it in place.
  template <typename V> void MakeRoom(V& v, std::size_t more) {
    if (v.size() + more <= v.capacity()) return;
    HoldReaders();
    v.reserve(std::max<std::size_t>(2 * v.capacity(), v.size() + more));
    ReleaseReaders();
  }
  /// True when the text's pixels may touch the last shape kept in mark_.
  bool TouchesMark(int x, int y, const TextRuns& runs) const;
  void HoldReaders();
  void ReleaseReaders();
  void Publish();
  static constexpr std::size_t PublishEvery = 256;

  Canvas* target_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  CanvasPen pen_, startPen_;
  CanvasBrush brush_, startBrush_;
  CanvasFont font_, startFont_;
  bool fontRecorded_ = false; ///< fonts_ ends with font_
  bool penRecorded_ = false;  ///< some pen was recorded: pen_ is the drawing's
  bool brushRecorded_ = false;
  bool smooth_ = false; ///< smooth drawing asked for by the last call
  bool anySmooth_ = false;
  bool usesLayers_ = false;
  uint32_t stamp_ = 0;
  std::vector<PaintOp> ops_;
  std::vector<CanvasFont> fonts_;
  /// Texts 0..textCount_ - 1 are this drawing's; the strings beyond keep their room for the next.
  std::vector<std::string> texts_;
  int textCount_ = 0;
  std::vector<PixelPoint> points_;
  std::vector<const TextRuns*> runs_;
  /// The last ellipse and its pen and brush, while no other call has drawn since (Valid).
  struct Mark {
    bool Valid = false;
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    CanvasPen Pen;
    CanvasBrush Brush;
  } mark_;
  // Streaming: the calls below published_ may be read; readers wait on moreCalls_ and say on
  // parked_ that they do.
  PaintTarget* streamTarget_ = nullptr;
  std::atomic<std::size_t> published_{0};
  std::mutex mutex_;
  std::condition_variable moreCalls_;
  std::condition_variable readersWait_;
  int readers_ = 0;
  std::atomic<int> parked_{0};
  bool holding_ = false;
  bool finished_ = false;
};

/// Replays the calls of the list on `to` in order, from its start pen, brush and font on. A text
/// goes to text(x, y, op) and a layer or key call to layer(op). readable(i) tells how many calls
/// may be read once the first i are (i when there are no more).
template <typename TextFn, typename LayerFn, typename ReadableFn>
void ReplayList(const PaintList& list, Canvas& to, TextFn&& text, LayerFn&& layer, ReadableFn&& readable) {
  to.SetPen(list.StartPen());
  to.SetBrush(list.StartBrush());
  to.SetFont(list.StartFont());
  std::vector<PixelPoint> polygon;
  // The calls are read by their place: a streamed list may move them while this reader waits.
  const std::vector<PaintOp>& ops = list.Ops();
  for (std::size_t i = 0, end = readable(std::size_t{0}); i < end; end = ++i < end ? end : readable(i)) {
    const PaintOp& op = ops[i];
    switch (op.Kind) {
    case PaintOpKind::Pen:
      to.SetPen(CanvasPen{op.A, static_cast<PenStyle>(op.Small & 15), op.B, static_cast<PenMode>(op.Small >> 4)});
      break;
    case PaintOpKind::Brush:
      to.SetBrush(CanvasBrush{op.A, static_cast<BrushStyle>(op.Small)});
      break;
    case PaintOpKind::Font:
      to.SetFont(list.FontOf(op));
      break;
    case PaintOpKind::Smooth:
      to.SetSmooth(op.Small != 0);
      break;
    case PaintOpKind::FillRect:
      to.FillRect(op.A, op.B, op.C, op.D);
      break;
    case PaintOpKind::MoveTo:
      to.MoveTo(op.A, op.B);
      break;
    case PaintOpKind::LineTo:
      to.LineTo(op.A, op.B);
      break;
    case PaintOpKind::Ellipse:
      to.Ellipse(op.A, op.B, op.C, op.D);
      break;
    case PaintOpKind::Rectangle:
      to.Rectangle(op.A, op.B, op.C, op.D);
      break;
    case PaintOpKind::Polygon:
      polygon.assign(list.PointsOf(op), list.PointsOf(op) + op.B);
      to.Polygon(polygon);
      break;
    case PaintOpKind::Pixel:
      to.SetPixel(op.A, op.B, op.C);
      break;
    case PaintOpKind::Text:
      text(op.A, op.B, op);
      break;
    case PaintOpKind::Layer:
    case PaintOpKind::Key:
      layer(op);
      break;
    }
  }
}

} // namespace drex
