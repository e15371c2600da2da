#include "view/QtCanvas.h"

#include "view/paint_list.h"
#include "view/smooth_raster.h"

#include <QString>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace drex {

namespace {

/// Room around a text's box in its mask image for glyphs that reach past their advance, at the
/// font's usual size.
constexpr int MaskMargin = 4;

/// Bytes of one cache line; the picture's rows are padded to a multiple of it and one more.
constexpr qsizetype RowPadding = 64;

/// Widest mask image of a text, pixels.
constexpr int MaxMaskWidth = 1 << 14;

constexpr double Pi = 3.14159265358979323846;

/// Farthest a smooth ellipse's chords stray from the curve, pixels.
constexpr double CurveTolerance = 1.0 / 32;

/// Most points of one visible piece of a smooth ellipse.
constexpr int MaxArcPoints = 1 << 16;

void FreeBuffer(void* data) { std::free(data); }

/// An image of width × height pixels over a buffer of padded rows, not yet filled.
QImage NewPicture(int width, int height) {
  // Each row is one cache line longer than its pixels need. With rows of a power of two bytes,
  // as 1024 pixels are, the pixels of one column all fall into the same few cache sets, and a
  // steep line or the side of a circle, which visits one pixel per row, keeps evicting itself.
  const qsizetype stride = (static_cast<qsizetype>(width) * 4 + RowPadding - 1) / RowPadding * RowPadding + RowPadding;
  void* data = std::malloc(static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
  if (data == nullptr) throw std::bad_alloc();
  // The image owns the buffer from here on and frees it when its last copy goes.
  return QImage(static_cast<uchar*>(data), width, height, stride, QImage::Format_RGB32, FreeBuffer, data);
}

int HeldScale(int scale) { return std::clamp(scale, QtCanvas::MinFontScale, QtCanvas::MaxFontScale); }

QFont MakeFont(const std::string& name, int scale, bool smooth) {
  QFont font(QString::fromUtf8(name.c_str()));
  // Where the face is missing, the nearest of its kind: a typewriter face for the picture's usual
  // one, a sans-serif face for any other.
  const QFont::StyleHint kind = name == CanvasFont{}.Name ? QFont::TypeWriter : QFont::SansSerif;
  font.setStyleHint(kind, smooth ? QFont::PreferAntialias : QFont::NoAntialias);
  if (scale != 100) {
    if (font.pointSizeF() > 0)
      font.setPointSizeF(font.pointSizeF() * scale / 100);
    else if (font.pixelSize() > 0)
      font.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize() * scale / 100.0))));
  }
  return font;
}

QColor QColorOf(int32_t color) { return QColor::fromRgb(PixelOfColor(color)); }

/// The region smooth drawing is cut to: the picture and a margin wide enough that the pen's caps
/// and joins at the cuts stay outside the picture. Coordinates are those of pixel centres
/// (pixel (x, y) is the point (x + ½, y + ½)).
struct Window {
  double X0, Y0, X1, Y1;
  bool Contains(QPointF p) const { return p.x() >= X0 && p.x() <= X1 && p.y() >= Y0 && p.y() <= Y1; }
};

Window WindowOf(int width, int height, int penWidth) {
  // Beyond the outermost pixel centres.
  const double margin = 2.0 * penWidth + 4;
  return Window{0.5 - margin, 0.5 - margin, width - 0.5 + margin, height - 0.5 + margin};
}

QPointF CentreOf(PixelPoint p) { return QPointF(p.X + 0.5, p.Y + 0.5); }

/// The part t0..t1 (0 ≤ t0 ≤ t1 ≤ 1) of the segment a + t·(b − a) in the window; false when no
/// part is.
bool ClipSegment(const Window& w, QPointF a, QPointF b, double& t0, double& t1) {
  t0 = 0;
  t1 = 1;
  const double dx = b.x() - a.x(), dy = b.y() - a.y();
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x() - w.X0, w.X1 - a.x(), a.y() - w.Y0, w.Y1 - a.y()};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double r = q[i] / p[i];
    if (p[i] < 0) {
      if (r > t1) return false;
      t0 = std::max(t0, r);
    } else {
      if (r < t0) return false;
      t1 = std::min(t1, r);
    }
  }
  return true;
}

/// Appends the pieces of the outline through points[0..n) (closed: and back to the first) that
/// lie in the window, each with the length of the outline before it, so that a dash pattern cut
/// by the picture's edge carries on where the outline comes back.
void CutOutline(const Window& w, const QPointF* points, std::size_t n, bool closed, std::vector<QPointF>& out,
                std::vector<OutlinePiece>& pieces) {
  if (n < 2) return;
  const std::size_t firstPiece = pieces.size();
  const std::size_t segments = closed ? n : n - 1;
  double along = 0;
  bool open = false; // the last piece ends at this segment's first point
  bool cut = false;
  for (std::size_t k = 0; k < segments; ++k) {
    const QPointF a = points[k], b = points[k + 1 == n ? 0 : k + 1];
    const double length = std::hypot(b.x() - a.x(), b.y() - a.y());
    if (length == 0) continue;
    double t0 = 0, t1 = 1;
    if (!ClipSegment(w, a, b, t0, t1)) {
      open = false;
      cut = true;
      along += length;
      continue;
    }
    if (!open || t0 > 0) {
      cut = cut || t0 > 0;
      pieces.push_back(OutlinePiece{along + t0 * length, out.size(), 1, false});
      out.push_back(t0 > 0 ? a + (b - a) * t0 : a);
    }
    out.push_back(t1 < 1 ? a + (b - a) * t1 : b);
    ++pieces.back().Count;
    open = t1 >= 1;
    cut = cut || !open;
    along += length;
  }
  if (!closed || pieces.size() == firstPiece) return;
  OutlinePiece& first = pieces[firstPiece];
  if (!cut) {
    // Whole: the last point is the first again, and the path closes onto it.
    out.pop_back();
    --first.Count;
    first.Closed = true;
    return;
  }
  // Cut, but through the first point inside the window: the last piece runs on into the first.
  if (open && pieces.size() - firstPiece >= 2 && first.Offset == 0 && out[first.First] == points[0]) {
    OutlinePiece& last = pieces.back();
    for (std::size_t k = 1; k < first.Count; ++k) {
      const QPointF p = out[first.First + k];
      out.push_back(p);
    }
    last.Count += first.Count - 1;
    first.Count = 0;
  }
}

/// Sutherland–Hodgman: the polygon cut to the window. Inside the window it covers what the polygon
/// covers, by the even-odd rule as by the winding rule; what it adds lies on the window's edges.
void ClipPolygon(const Window& w, std::vector<QPointF>& points, std::vector<QPointF>& scratch) {
  auto clipTo = [&](auto inside, auto cross) {
    scratch.clear();
    const std::size_t n = points.size();
    for (std::size_t k = 0; k < n; ++k) {
      const QPointF a = points[k], b = points[k + 1 == n ? 0 : k + 1];
      const bool ina = inside(a), inb = inside(b);
      if (ina) scratch.push_back(a);
      if (ina != inb) scratch.push_back(cross(a, b));
    }
    points.swap(scratch);
  };
  auto atX = [](QPointF a, QPointF b, double x) {
    return QPointF(x, a.y() + (b.y() - a.y()) * (x - a.x()) / (b.x() - a.x()));
  };
  auto atY = [](QPointF a, QPointF b, double y) {
    return QPointF(a.x() + (b.x() - a.x()) * (y - a.y()) / (b.y() - a.y()), y);
  };
  clipTo([&](QPointF p) { return p.x() >= w.X0; }, [&](QPointF a, QPointF b) { return atX(a, b, w.X0); });
  clipTo([&](QPointF p) { return p.x() <= w.X1; }, [&](QPointF a, QPointF b) { return atX(a, b, w.X1); });
  clipTo([&](QPointF p) { return p.y() >= w.Y0; }, [&](QPointF a, QPointF b) { return atY(a, b, w.Y0); });
  clipTo([&](QPointF p) { return p.y() <= w.Y1; }, [&](QPointF a, QPointF b) { return atY(a, b, w.Y1); });
}

/// An ellipse about (Cx, Cy) with semi-axes A, B, walked from its rightmost point upwards.
struct EllipseShape {
  double Cx, Cy, A, B;
  QPointF At(double t) const { return QPointF(Cx + A * std::cos(t), Cy - B * std::sin(t)); }
  bool Holds(QPointF p) const {
    const double u = A > 0 ? (p.x() - Cx) / A : (p.x() == Cx ? 0 : 2);
    const double v = B > 0 ? (p.y() - Cy) / B : (p.y() == Cy ? 0 : 2);
    return u * u + v * v <= 1;
  }
};

/// The step of the parameter whose chords stay within CurveTolerance of the ellipse.
double EllipseStep(const EllipseShape& e) { return std::sqrt(8 * CurveTolerance / std::max({e.A, e.B, 1.0})); }

/// Length of the ellipse from its start to the parameter t.
double EllipseLength(const EllipseShape& e, double t) {
  if (e.A == e.B) return e.A * t;
  // Five-point Gauss–Legendre over pieces of at most π/16 of the parameter.
  static const double Nodes[5] = {0.0, -0.5384693101056831, 0.5384693101056831, -0.9061798459386640,
                                  0.9061798459386640};
  static const double Weights[5] = {0.5688888888888889, 0.4786286704993665, 0.4786286704993665, 0.2369268850561891,
                                    0.2369268850561891};
  const int pieces = std::max(1, static_cast<int>(std::ceil(t / (Pi / 16))));
  const double half = t / pieces / 2;
  double sum = 0;
  for (int i = 0; i < pieces; ++i) {
    const double middle = (2 * i + 1) * half;
    for (int j = 0; j < 5; ++j) {
      const double s = middle + half * Nodes[j];
      sum += Weights[j] * std::hypot(e.A * std::sin(s), e.B * std::cos(s));
    }
  }
  return sum * half;
}

/// The outline pieces of the ellipse's part in the window and, when `fill` is given, the convex
/// polygon of its inside in the window. A shape far larger than the picture is worked out only
/// where it crosses the picture, with chords as short as its curvature asks for there.
void CutEllipse(const EllipseShape& e, const Window& w, std::vector<QPointF>& out, std::vector<OutlinePiece>& pieces,
                std::vector<QPointF>* fill) {
  const double step = EllipseStep(e);
  auto sample = [&](double t0, double t1, bool closed) {
    const int n = std::clamp(static_cast<int>(std::ceil((t1 - t0) / step)), closed ? 8 : 1, MaxArcPoints);
    const int total = closed ? n : n + 1;
    auto at = [&](int k) { return t0 + (t1 - t0) * k / n; };
    if (fill != nullptr) {
      for (int k = 0; k < total; ++k)
        fill->push_back(e.At(at(k)));
    }
    pieces.push_back(OutlinePiece{closed ? 0.0 : EllipseLength(e, std::fmod(t0, 2 * Pi)), out.size(),
                                  static_cast<std::size_t>(total), closed});
    for (int k = 0; k < total; ++k)
      out.push_back(e.At(at(k)));
  };
  if (e.Cx - e.A >= w.X0 && e.Cx + e.A <= w.X1 && e.Cy - e.B >= w.Y0 && e.Cy + e.B <= w.Y1) {
    sample(0, 2 * Pi, true);
    return;
  }
  // Parameters where the ellipse meets the lines of the window's edges.
  double cuts[8];
  int count = 0;
  for (double x : {w.X0, w.X1}) {
    const double c = e.A > 0 ? (x - e.Cx) / e.A : 2;
    if (c > -1 && c < 1) {
      const double t = std::acos(c);
      cuts[count++] = t;
      cuts[count++] = 2 * Pi - t;
    }
  }
  for (double y : {w.Y0, w.Y1}) {
    const double s = e.B > 0 ? (e.Cy - y) / e.B : 2;
    if (s > -1 && s < 1) {
      const double t = std::asin(s);
      cuts[count++] = t < 0 ? t + 2 * Pi : t;
      cuts[count++] = Pi - t;
    }
  }
  for (int i = 1; i < count; ++i) {
    for (int k = i; k > 0 && cuts[k - 1] > cuts[k]; --k)
      std::swap(cuts[k - 1], cuts[k]);
  }
  auto corners = [&] {
    if (fill == nullptr) return;
    for (QPointF corner : {QPointF(w.X0, w.Y0), QPointF(w.X1, w.Y0), QPointF(w.X1, w.Y1), QPointF(w.X0, w.Y1)}) {
      if (e.Holds(corner)) fill->push_back(corner);
    }
  };
  if (count == 0) {
    // Wholly outside the window, or round it.
    corners();
    return;
  }
  // Arcs between consecutive cuts lie wholly in or wholly out of the window; neighbouring arcs in
  // it make one piece. The walk starts after an arc out of it.
  auto arcStart = [&](int i) { return cuts[i % count] + 2 * Pi * (i / count); };
  auto visible = [&](int i) {
    const double t0 = arcStart(i), t1 = arcStart(i + 1);
    return t1 > t0 && w.Contains(e.At((t0 + t1) / 2));
  };
  int from = 0;
  while (from < count && visible(from))
    ++from;
  if (from == count) {
    sample(0, 2 * Pi, true);
    return;
  }
  for (int i = from + 1; i <= from + count;) {
    if (!visible(i)) {
      ++i;
      continue;
    }
    int j = i;
    while (j < from + count && visible(j))
      ++j;
    const double t0 = arcStart(i), t1 = arcStart(j);
    if (t0 < 2 * Pi && t1 > 2 * Pi) {
      // The dash pattern of the whole ellipse starts at its rightmost point; a piece across it
      // starts the pattern afresh there too.
      sample(t0, 2 * Pi, false);
      sample(2 * Pi, t1, false);
    } else {
      sample(t0, t1, false);
    }
    i = j;
  }
  if (fill == nullptr) return;
  corners();
  // The inside of the window and of the ellipse is convex and all these points lie on its edge:
  // their order round it is their order round the middle of them.
  if (fill->size() < 3) return;
  QPointF middle(0, 0);
  for (QPointF p : *fill)
    middle += p;
  middle /= static_cast<double>(fill->size());
  std::sort(fill->begin(), fill->end(), [middle](QPointF p, QPointF q) {
    return std::atan2(p.y() - middle.y(), p.x() - middle.x()) < std::atan2(q.y() - middle.y(), q.x() - middle.x());
  });
}

} // namespace

QtCanvas::QtCanvas(int width, int height)
    : RasterCanvas(nullptr, 0, 0, 0), font_(MakeFont(Font().Name, 100, false)), metrics_(font_) {
  ChooseFont();
  Resize(width, height);
}

QtCanvas::~QtCanvas() {
  if (painter_.isActive()) painter_.end();
}

void QtCanvas::Resize(int width, int height) {
  // What was gathered would go onto the old picture, which nobody sees any more.
  runPoints_.clear();
  runStarts_.clear();
  if (painter_.isActive()) painter_.end();
  image_ = NewPicture(std::max(1, width), std::max(1, height));
  image_.fill(QColor(Qt::white));
  AttachImage();
}

void QtCanvas::AttachImage() {
  // The pixels are asked for first: were the image shared, that would give it other rows.
  auto* bits = reinterpret_cast<uint32_t*>(image_.bits());
  Attach(bits, image_.width(), image_.height(), static_cast<int>(image_.bytesPerLine() / 4));
}

void QtCanvas::Own() {
  if (image_.isDetached()) return;
  // A copy handed out shares the pixels: the canvas goes on in a picture of its own, so that the
  // copy keeps what it showed and the raster code's rows stay those of the canvas's image.
  if (painter_.isActive()) painter_.end();
  QImage own = NewPicture(image_.width(), image_.height());
  for (int y = 0; y < image_.height(); ++y)
    std::memcpy(own.scanLine(y), image_.constScanLine(y), static_cast<std::size_t>(image_.width()) * 4);
  image_ = std::move(own);
  AttachImage();
}

const QImage& QtCanvas::Image() const {
  Flush();
  // The painter is closed before the picture is handed out, so that a copy of it is not painted
  // on afterwards.
  if (painter_.isActive()) painter_.end();
  return image_;
}

int32_t QtCanvas::PixelColor(int x, int y) const {
  Flush();
  return RasterCanvas::PixelColor(x, y);
}

QPainter& QtCanvas::Painter() const {
  if (!painter_.isActive()) {
    painter_.begin(&image_);
    painter_.setRenderHint(QPainter::Antialiasing, true);
  }
  return painter_;
}

bool QtCanvas::Smoothed() const { return smooth_ && Pen().Mode == PenMode::Copy; }

void QtCanvas::SetSmooth(bool on) {
  if (on == smooth_) return;
  Flush();
  if (painter_.isActive()) painter_.end();
  smooth_ = on;
  ChooseFont();
}

void QtCanvas::SetPen(const CanvasPen& pen) {
  const CanvasPen now = Pen();
  // The gathered lines are stroked with the pen they were drawn with.
  if (pen.Color != now.Color || pen.Style != now.Style || ClampPenWidth(pen.Width) != now.Width || pen.Mode != now.Mode)
    Flush();
  RasterCanvas::SetPen(pen);
}

void QtCanvas::FillRect(int left, int top, int right, int bottom) {
  Flush();
  Own();
  RasterCanvas::FillRect(left, top, right, bottom);
}

void QtCanvas::SetPixel(int x, int y, int32_t color) {
  Flush();
  Own();
  RasterCanvas::SetPixel(x, y, color);
}

void QtCanvas::MoveTo(int x, int y) {
  RasterCanvas::MoveTo(x, y);
  at_ = PixelPoint{x, y};
  if (!Smoothed()) return;
  // A line of one point so far draws nothing and is replaced.
  if (!runStarts_.empty() && runStarts_.back() + 1 == runPoints_.size()) {
    runPoints_.back() = at_;
    return;
  }
  runStarts_.push_back(runPoints_.size());
  runPoints_.push_back(at_);
}

void QtCanvas::LineTo(int x, int y) {
  if (!Smoothed()) {
    Flush();
    Own();
    RasterCanvas::LineTo(x, y);
    at_ = PixelPoint{x, y};
    return;
  }
  Own();
  // After a flush, or after a MoveTo made while the pen drew aliased, the line starts afresh here.
  if (runPoints_.empty() || runPoints_.back().X != at_.X || runPoints_.back().Y != at_.Y) {
    runStarts_.push_back(runPoints_.size());
    runPoints_.push_back(at_);
  }
  at_ = PixelPoint{x, y};
  runPoints_.push_back(at_);
  // The raster code's position follows, for a pen that draws aliased from here.
  RasterCanvas::MoveTo(x, y);
}

PixelBuffer QtCanvas::Buffer() const {
  // Whatever is gathered was drawn after the canvas made sure it owns its pixels (Own), and a copy
  // of the picture is only handed out after a flush: the image is not shared here.
  if (!image_.isDetached()) return {};
  return PixelBuffer{reinterpret_cast<uint32_t*>(image_.bits()), image_.width(), image_.height(),
                     static_cast<std::ptrdiff_t>(image_.bytesPerLine() / 4)};
}

void QtCanvas::Stroke() const {
  if (pieces_.empty()) return;
  // The painter and the pixel walk below write the same pixels: what the painter holds goes first.
  if (painter_.isActive()) painter_.end();
  const PixelBuffer buffer = Buffer();
  const SmoothPen pen = SmoothPenOf(Pen());
  for (const OutlinePiece& piece : pieces_) {
    if (piece.Count < 2) continue;
    outline_.clear();
    for (std::size_t k = 0; k < piece.Count; ++k) {
      const QPointF p = points_[piece.First + k];
      outline_.push_back(Point2{p.x(), p.y()});
    }
    StrokeSmooth(buffer, outline_.data(), outline_.size(), piece.Closed, piece.Offset, pen);
  }
  points_.clear();
  pieces_.clear();
}

void QtCanvas::Flush() const {
  if (runStarts_.empty()) return;
  const Window w = WindowOf(Width(), Height(), Pen().Width);
  for (std::size_t r = 0; r < runStarts_.size(); ++r) {
    const std::size_t begin = runStarts_[r];
    const std::size_t end = r + 1 < runStarts_.size() ? runStarts_[r + 1] : runPoints_.size();
    centres_.clear();
    for (std::size_t k = begin; k < end; ++k)
      centres_.push_back(CentreOf(runPoints_[k]));
    CutOutline(w, centres_.data(), centres_.size(), false, points_, pieces_);
  }
  runPoints_.clear();
  runStarts_.clear();
  Stroke();
}

void QtCanvas::FillSmooth(std::vector<QPointF>& points, Qt::FillRule rule) const {
  if (points.size() < 3) return;
  const Window w = WindowOf(Width(), Height(), Pen().Width);
  for (QPointF p : points) {
    if (!w.Contains(p)) {
      ClipPolygon(w, points, centres_);
      break;
    }
  }
  if (points.size() < 3) return;
  QPainter& painter = Painter();
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColorOf(Brush().Color));
  painter.drawPolygon(points.data(), static_cast<int>(points.size()), rule);
}

void QtCanvas::Ellipse(int left, int top, int right, int bottom) {
  Flush();
  Own();
  if (!Smoothed()) {
    RasterCanvas::Ellipse(left, top, right, bottom);
    return;
  }
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (left == right || top == bottom) return;
  // Through the centres of the box's outer pixels, where the aliased ring lies.
  const EllipseShape e{(static_cast<double>(left) + right) / 2, (static_cast<double>(top) + bottom) / 2,
                       (static_cast<double>(right) - left - 1) / 2, (static_cast<double>(bottom) - top - 1) / 2};
  const bool solid = Brush().Style == BrushStyle::Solid;
  if (e.A == e.B) {
    // Circles, which point marks and circle objects all are, by the coverage of each pixel (a box
    // of one pixel: a dot of the pen's width).
    if (painter_.isActive()) painter_.end();
    CircleSmooth(Buffer(), e.Cx, e.Cy, e.A, SmoothPenOf(Pen()), solid, PixelOfColor(Brush().Color));
    return;
  }
  fill_.clear();
  CutEllipse(e, WindowOf(Width(), Height(), Pen().Width), points_, pieces_, solid ? &fill_ : nullptr);
  if (solid) FillSmooth(fill_, Qt::WindingFill);
  Stroke();
}

void QtCanvas::Rectangle(int left, int top, int right, int bottom) {
  // Its sides run along the pixels' edges: the aliased rectangle is already the exact one.
  Flush();
  Own();
  RasterCanvas::Rectangle(left, top, right, bottom);
}

void QtCanvas::Polygon(const std::vector<PixelPoint>& points) {
  Flush();
  Own();
  if (!Smoothed()) {
    RasterCanvas::Polygon(points);
    return;
  }
  if (points.size() < 2) return;
  if (Brush().Style == BrushStyle::Solid && points.size() >= 3) {
    fill_.clear();
    for (PixelPoint p : points)
      fill_.push_back(CentreOf(p));
    FillSmooth(fill_, Qt::OddEvenFill);
  }
  centres_.clear();
  for (PixelPoint p : points)
    centres_.push_back(CentreOf(p));
  CutOutline(WindowOf(Width(), Height(), Pen().Width), centres_.data(), centres_.size(), true, points_, pieces_);
  Stroke();
}

void QtCanvas::SetFont(const CanvasFont& font) {
  RasterCanvas::SetFont(font);
  ChooseFont();
}

void QtCanvas::ChooseFont() {
  const CanvasFont& f = Font();
  const int scale = HeldScale(f.Scale);
  // Aliased texts have no halo; smooth ones keep apart the masks with and without one.
  const char kind = !smooth_ ? 'a' : f.Halo >= 0 ? 'h' : 's';
  if (masks_ != nullptr && f.Name == fontName_ && scale == fontScale_ && kind == fontKind_) return;
  fontName_ = f.Name;
  fontScale_ = scale;
  fontKind_ = kind;
  font_ = MakeFont(f.Name, scale, smooth_);
  metrics_ = QFontMetrics(font_);
  storeKey_ = f.Name;
  storeKey_ += '\n';
  storeKey_ += std::to_string(scale);
  storeKey_ += kind;
  masks_ = &stores_[storeKey_];
}

int QtCanvas::HaloRadius() const { return std::max(1, (fontScale_ + 50) / 100); }

void QtCanvas::RenderAliased(const QString& s, TextMask& mask) const {
  const int margin = MaskMargin * std::max(fontScale_, 100) / 100;
  const int w = std::min(mask.Width + 2 * margin, MaxMaskWidth);
  const int h = mask.Height + 2 * margin;
  QImage scratch(w, h, QImage::Format_RGB32);
  scratch.fill(QColor(Qt::black));
  {
    QPainter p(&scratch);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(font_);
    p.setPen(QColor(Qt::white));
    p.drawText(margin, margin + metrics_.ascent(), s);
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
      mask.Runs.push_back(TextMask::Run{static_cast<int16_t>(y - margin), static_cast<int16_t>(start - margin),
                                        static_cast<int16_t>(x - 1 - margin)});
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
}

void QtCanvas::RenderSmooth(const QString& s, bool halo, TextMask& mask) const {
  const int radius = halo ? HaloRadius() : 0;
  const int margin = MaskMargin * std::max(fontScale_, 100) / 100 + radius;
  const int w = std::min(mask.Width + 2 * margin, MaxMaskWidth);
  const int h = mask.Height + 2 * margin;
  // Drawn onto transparent pixels, the glyphs' coverage is their alpha, without colour fringes.
  QImage scratch(w, h, QImage::Format_ARGB32_Premultiplied);
  scratch.fill(Qt::transparent);
  {
    QPainter p(&scratch);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.setFont(font_);
    p.setPen(QColor(Qt::black));
    p.drawText(margin, margin + metrics_.ascent(), s);
  }
  int x0 = w, x1 = -1, y0 = h, y1 = -1;
  for (int y = 0; y < h; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      if (qAlpha(row[x]) == 0) continue;
      x0 = std::min(x0, x);
      x1 = std::max(x1, x);
      y0 = std::min(y0, y);
      y1 = std::max(y1, y);
    }
  }
  if (x1 < 0) return;
  // The box takes in the halo around the glyphs; the margin leaves room for it.
  x0 = std::max(0, x0 - radius);
  y0 = std::max(0, y0 - radius);
  x1 = std::min(w - 1, x1 + radius);
  y1 = std::min(h - 1, y1 + radius);
  const int bw = x1 - x0 + 1, bh = y1 - y0 + 1;
  mask.Left = x0 - margin;
  mask.Right = x1 - margin;
  mask.Top = y0 - margin;
  mask.Bottom = y1 - margin;
  mask.Glyph.resize(static_cast<std::size_t>(bw) * static_cast<std::size_t>(bh));
  for (int y = 0; y < bh; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y0 + y));
    for (int x = 0; x < bw; ++x)
      mask.Glyph[static_cast<std::size_t>(y) * bw + x] = static_cast<uint8_t>(qAlpha(row[x0 + x]));
  }
  if (radius == 0) return;
  // The halo is the coverage spread over a disc of the radius: the greatest coverage within
  // `reach[d]` pixels along the row, d rows away. Spreads along the rows by 0..radius pixels are
  // made one from the other.
  std::vector<int> reach(static_cast<std::size_t>(radius) + 1);
  for (int d = 0; d <= radius; ++d)
    reach[d] = static_cast<int>(std::sqrt(static_cast<double>(radius * radius + radius - d * d)));
  const std::size_t area = mask.Glyph.size();
  std::vector<uint8_t> spread(area * (static_cast<std::size_t>(radius) + 1));
  std::copy(mask.Glyph.begin(), mask.Glyph.end(), spread.begin());
  for (int k = 1; k <= radius; ++k) {
    const uint8_t* from = spread.data() + area * static_cast<std::size_t>(k - 1);
    uint8_t* to = spread.data() + area * static_cast<std::size_t>(k);
    for (int y = 0; y < bh; ++y) {
      const uint8_t* f = from + static_cast<std::size_t>(y) * bw;
      uint8_t* t = to + static_cast<std::size_t>(y) * bw;
      for (int x = 0; x < bw; ++x)
        t[x] = std::max({f[x], x > 0 ? f[x - 1] : uint8_t{0}, x + 1 < bw ? f[x + 1] : uint8_t{0}});
    }
  }
  mask.Halo.assign(area, 0);
  for (int y = 0; y < bh; ++y) {
    uint8_t* t = mask.Halo.data() + static_cast<std::size_t>(y) * bw;
    for (int d = -radius; d <= radius; ++d) {
      if (y + d < 0 || y + d >= bh) continue;
      const uint8_t* f =
          spread.data() + area * static_cast<std::size_t>(reach[std::abs(d)]) + static_cast<std::size_t>(y + d) * bw;
      for (int x = 0; x < bw; ++x)
        t[x] = std::max(t[x], f[x]);
    }
  }
}

const QtCanvas::TextMask& QtCanvas::MaskOf(const std::string& text) {
  const auto found = masks_->find(text);
  if (found != masks_->end()) return found->second;
  if (keptTexts_ >= MaxKeptTexts && !keepMasks_) ForgetMasks();
  const QString s = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  TextMask mask;
  mask.Width = metrics_.horizontalAdvance(s);
  mask.Height = metrics_.height();
  if (fontKind_ == 'a')
    RenderAliased(s, mask);
  else
    RenderSmooth(s, fontKind_ == 'h', mask);
  ++keptTexts_;
  return masks_->emplace(text, std::move(mask)).first->second;
}

void QtCanvas::TextOut(int x, int y, const std::string& text) {
  if (text.empty()) return;
  Flush();
  Own();
  const TextMask& mask = MaskOf(text);
  if (mask.Glyph.empty()) {
    PaintTextRuns(x, y, mask);
    return;
  }
  if (Brush().Style == BrushStyle::Solid) FillRect(x, y, x + mask.Width, y + mask.Height);
  const uint32_t value = PixelOfColor(Font().Color);
  const int64_t width = image_.width(), height = image_.height();
  const int64_t left = static_cast<int64_t>(x) + mask.Left, right = static_cast<int64_t>(x) + mask.Right;
  const int64_t top = static_cast<int64_t>(y) + mask.Top, bottom = static_cast<int64_t>(y) + mask.Bottom;
  if (left > right || right < 0 || left >= width || bottom < 0 || top >= height) return;
  // Written through the buffer pointer: the image's own row access checks for sharing each time.
  auto* bits = reinterpret_cast<uint32_t*>(image_.bits());
  const qsizetype stride = image_.bytesPerLine() / 4;
  // Coverage blended into the picture, the halo first, over the part of the box in the picture.
  const uint32_t halo = PixelOfColor(Font().Halo);
  const bool withHalo = !mask.Halo.empty();
  const int64_t boxWidth = mask.Right - mask.Left + 1;
  const int64_t y0 = std::max<int64_t>(top, 0), y1 = std::min<int64_t>(bottom, height - 1);
  const int64_t x0 = std::max<int64_t>(left, 0), x1 = std::min<int64_t>(right, width - 1);
  for (int64_t row = y0; row <= y1; ++row) {
    uint32_t* line = bits + static_cast<qsizetype>(row) * stride;
    const int64_t at = (row - top) * boxWidth - left;
    for (int64_t k = x0; k <= x1; ++k) {
      const auto i = static_cast<std::size_t>(at + k);
      uint32_t pixel = line[k];
      if (withHalo && mask.Halo[i] != 0) pixel = BlendPixel(pixel, halo, mask.Halo[i]);
      if (mask.Glyph[i] != 0) pixel = BlendPixel(pixel, value, mask.Glyph[i]);
      line[k] = pixel;
    }
  }
}

int QtCanvas::TextWidth(const std::string& text) { return text.empty() ? 0 : MaskOf(text).Width; }

void QtCanvas::ForgetMasks() {
  stores_.clear();
  masks_ = &stores_[storeKey_];
  keptTexts_ = 0;
  ++storeGeneration_;
}

const TextRuns* QtCanvas::TextRunsOf(const std::string& text) {
  if (text.empty()) return nullptr;
  const TextMask& mask = MaskOf(text);
  return mask.Glyph.empty() ? &mask : nullptr;
}

void QtCanvas::ReadyForBands() {
  // The bands write the image's pixels directly: nothing gathered or open on it may come after.
  Flush();
  Own();
  if (painter_.isActive()) painter_.end();
}

void QtCanvas::BeginPaint(PaintList& list) {
  if (smooth_) return;
  ReadyForBands();
  // Room for as many texts again as the last drawing had, so that no mask a band uses goes while
  // the drawing is painted.
  if (keptTexts_ + 2 * lastTexts_ > MaxKeptTexts) ForgetMasks();
  keepMasks_ = true;
  RasterCanvas::BeginPaint(list);
}

void QtCanvas::Paint(const PaintList& list) {
  if (!list.Streamed() && (list.AnySmooth() || smooth_)) {
    Canvas::Paint(list);
    return;
  }
  ReadyForBands();
  if (!list.Streamed() && keptTexts_ + static_cast<std::size_t>(list.TextCount()) > MaxKeptTexts) ForgetMasks();
  keepMasks_ = true;
  lastTexts_ = static_cast<std::size_t>(list.TextCount());
  try {
    RasterCanvas::Paint(list);
  } catch (...) {
    keepMasks_ = false;
    throw;
  }
  keepMasks_ = false;
}

} // namespace drex
