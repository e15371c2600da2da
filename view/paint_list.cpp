#include "view/paint_list.h"

namespace drex {

namespace {

bool SamePen(const CanvasPen& a, const CanvasPen& b) {
  return a.Color == b.Color && a.Style == b.Style && a.Width == b.Width && a.Mode == b.Mode;
}

} // namespace

void Canvas::Paint(const PaintList& list) {
  ReplayList(
      list, *this, [&](int x, int y, const PaintOp& op) { TextOut(x, y, list.TextOf(op)); }, [](const PaintOp&) {},
      [&](std::size_t) { return list.Ops().size(); });
  SetPen(list.Pen());
  SetBrush(list.Brush());
  SetFont(list.Font());
}

void PaintList::Begin(Canvas& target) {
  target_ = &target;
  width_ = target.Width();
  height_ = target.Height();
  pen_ = startPen_ = target.Pen();
  brush_ = startBrush_ = target.Brush();
  font_ = startFont_ = target.Font();
  fontRecorded_ = false;
  mark_.Valid = false;
  penRecorded_ = false;
  brushRecorded_ = false;
  smooth_ = false;
  anySmooth_ = false;
  usesLayers_ = false;
  stamp_ = 0;
  ops_.clear();
  fonts_.clear();
  textCount_ = 0;
  points_.clear();
  runs_.clear();
  streamTarget_ = nullptr;
  published_ = 0;
  readers_ = 0;
  holding_ = false;
  finished_ = false;
}

void PaintList::StartStreaming(PaintTarget& target, int readers) {
  streamTarget_ = &target;
  readers_ = readers;
}

void PaintList::Publish() {
  published_.store(ops_.size());
  if (parked_.load() > 0) {
    std::lock_guard<std::mutex> lock(mutex_);
    moreCalls_.notify_all();
  }
}

void PaintList::Finish() {
  std::lock_guard<std::mutex> lock(mutex_);
  finished_ = true;
  published_.store(ops_.size());
  moreCalls_.notify_all();
}

std::size_t PaintList::Readable(std::size_t from) {
  const std::size_t now = published_.load();
  if (now > from) return now;
  std::unique_lock<std::mutex> lock(mutex_);
  parked_.fetch_add(1);
  readersWait_.notify_all();
  moreCalls_.wait(lock, [&] { return finished_ || (!holding_ && published_.load() > from); });
  parked_.fetch_sub(1);
  return finished_ ? ops_.size() : published_.load();
}

void PaintList::HoldReaders() {
  // Every reader has read all that was published and waits for more; none reads until released.
  std::unique_lock<std::mutex> lock(mutex_);
  holding_ = true;
  published_.store(ops_.size());
  moreCalls_.notify_all();
  readersWait_.wait(lock, [&] { return parked_.load() >= readers_; });
}

void PaintList::ReleaseReaders() {
  std::lock_guard<std::mutex> lock(mutex_);
  holding_ = false;
  moreCalls_.notify_all();
}

void PaintList::SetPen(const CanvasPen& pen) {
  // A pen or brush the drawing already has changes nothing and is left out.
  if (penRecorded_ && SamePen(pen, pen_)) return;
  penRecorded_ = true;
  pen_ = pen;
  Add(PaintOpKind::Pen, pen.Color, pen.Width, 0, 0,
      static_cast<uint8_t>(static_cast<unsigned>(pen.Style) | static_cast<unsigned>(pen.Mode) << 4));
}

void PaintList::SetBrush(const CanvasBrush& brush) {
  if (brushRecorded_ && brush.Color == brush_.Color && brush.Style == brush_.Style) return;
  brushRecorded_ = true;
  brush_ = brush;
  Add(PaintOpKind::Brush, brush.Color, 0, 0, 0, static_cast<uint8_t>(brush.Style));
}

void PaintList::SetFont(const CanvasFont& font) {
  if (streamTarget_ != nullptr) MakeRoom(fonts_, 1);
  const bool same = fontRecorded_ && font.Name == font_.Name && font.Color == font_.Color &&
                    font.Scale == font_.Scale && font.Halo == font_.Halo;
  font_ = font;
  if (!same) {
    fonts_.push_back(font);
    fontRecorded_ = true;
  }
  Add(PaintOpKind::Font, static_cast<int32_t>(fonts_.size() - 1));
}

void PaintList::FillRect(int left, int top, int right, int bottom) {
  mark_.Valid = false;
  Add(PaintOpKind::FillRect, left, top, right, bottom);
}

void PaintList::MoveTo(int x, int y) { Add(PaintOpKind::MoveTo, x, y); }

void PaintList::LineTo(int x, int y) {
  mark_.Valid = false;
  Add(PaintOpKind::LineTo, x, y);
}

void PaintList::Ellipse(int left, int top, int right, int bottom) {
  // The same opaque shape again, in the same pen and brush, over pixels nothing has written since
  // it was drawn: they already hold what it would write. Point marks piled on one spot, as a
  // construction converging to a point has them, cost one shape.
  if (mark_.Valid && mark_.Left == left && mark_.Top == top && mark_.Right == right && mark_.Bottom == bottom &&
      SamePen(mark_.Pen, pen_) && mark_.Brush.Color == brush_.Color && mark_.Brush.Style == brush_.Style)
    return;
  Add(PaintOpKind::Ellipse, left, top, right, bottom);
  // Only an aliased drawing streamed to a raster surface writes every pixel opaquely, without keys.
  mark_ = Mark{streamTarget_ != nullptr && !smooth_ && !usesLayers_ && pen_.Mode == PenMode::Copy,
               left,
               top,
               right,
               bottom,
               pen_,
               brush_};
}

void PaintList::Rectangle(int left, int top, int right, int bottom) {
  mark_.Valid = false;
  Add(PaintOpKind::Rectangle, left, top, right, bottom);
}

void PaintList::Polygon(const std::vector<PixelPoint>& points) {
  mark_.Valid = false;
  if (streamTarget_ != nullptr) MakeRoom(points_, points.size());
  Add(PaintOpKind::Polygon, static_cast<int32_t>(points_.size()), static_cast<int32_t>(points.size()));
  points_.insert(points_.end(), points.begin(), points.end());
}

void PaintList::SetPixel(int x, int y, int32_t color) {
  mark_.Valid = false;
  Add(PaintOpKind::Pixel, x, y, color);
}

void PaintList::TextOut(int x, int y, const std::string& text) {
  if (streamTarget_ != nullptr) MakeRoom(runs_, 1);
  const TextRuns* runs = streamTarget_ != nullptr ? streamTarget_->RunsForText(textCount_, text, font_) : nullptr;
  runs_.push_back(runs);
  if (mark_.Valid && (runs == nullptr || TouchesMark(x, y, *runs))) mark_.Valid = false;
  if (static_cast<std::size_t>(textCount_) < texts_.size())
    texts_[static_cast<std::size_t>(textCount_)] = text;
  else
    texts_.push_back(text);
  Add(PaintOpKind::Text, x, y, textCount_++);
}

int PaintList::TextWidth(const std::string& text) {
  if (target_ == nullptr) return 0;
  target_->SetSmooth(smooth_);
  target_->SetFont(font_);
  return target_->TextWidth(text);
}

void PaintList::SetSmooth(bool on) {
  mark_.Valid = false;
  smooth_ = on;
  anySmooth_ = anySmooth_ || on;
  Add(PaintOpKind::Smooth, 0, 0, 0, 0, on ? 1 : 0);
}

void PaintList::UseLayer(LayerUse use, int layer) {
  mark_.Valid = false;
  if (streamTarget_ != nullptr && !usesLayers_) streamTarget_->LayersNeeded();
  usesLayers_ = true;
  Add(PaintOpKind::Layer, layer, 0, 0, 0, static_cast<uint8_t>(use));
}

void PaintList::SetKey(uint16_t key) {
  mark_.Valid = false;
  Add(PaintOpKind::Key, key);
}

bool PaintList::TouchesMark(int x, int y, const TextRuns& runs) const {
  // The shape's box grown by its pen on every side, against the text's glyphs and, on a solid
  // brush, its background box.
  const int64_t grow = mark_.Pen.Width;
  const int64_t l = static_cast<int64_t>(mark_.Left) - grow, r = static_cast<int64_t>(mark_.Right) + grow;
  const int64_t t = static_cast<int64_t>(mark_.Top) - grow, b = static_cast<int64_t>(mark_.Bottom) + grow;
  auto meets = [&](int64_t x0, int64_t y0, int64_t x1, int64_t y1) { return x0 <= r && x1 >= l && y0 <= b && y1 >= t; };
  if (brush_.Style == BrushStyle::Solid &&
      meets(x, y, static_cast<int64_t>(x) + runs.Width, static_cast<int64_t>(y) + runs.Height))
    return true;
  return runs.Left <= runs.Right && meets(static_cast<int64_t>(x) + runs.Left, static_cast<int64_t>(y) + runs.Top,
                                          static_cast<int64_t>(x) + runs.Right, static_cast<int64_t>(y) + runs.Bottom);
}

} // namespace drex
