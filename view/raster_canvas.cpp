#include "view/raster_canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace drex {

namespace {

// Line positions far from the buffer need more than 64 bits for one product.
__extension__ using Wide = __int128;

constexpr uint32_t RgbMask = 0x00FFFFFFu;

// Tolerance of the ellipse row ends, so that exact half-pixel ends land symmetrically.
constexpr double EllipseEdgeTolerance = 1e-9;

// Below this many steps a line's error term products fit in 64 bits (2 · 2^30 · 2^31 < 2^63).
constexpr int64_t NarrowLineSteps = int64_t{1} << 30;

// Longest dash pattern at the widest pen: (9 + 6 + 3 + 6) · 5.
constexpr int MaxPatternLength = 24 * MaxPenWidth;

/// Ceiling and floor of a value well inside the int64 range (pixel coordinates of ints and
/// half-widths of int boxes), without a library call.
int64_t CeilToInt(double v) {
  const auto i = static_cast<int64_t>(v);
  return static_cast<double>(i) < v ? i + 1 : i;
}
int64_t FloorToInt(double v) {
  const auto i = static_cast<int64_t>(v);
  return static_cast<double>(i) > v ? i - 1 : i;
}

} // namespace

DashPattern DashPatternOf(PenStyle style) {
  switch (style) {
  case PenStyle::Solid:
    return DashPattern{{0, 0, 0, 0}, 0};
  case PenStyle::Dash:
    return DashPattern{{18, 6, 0, 0}, 2};
  case PenStyle::Dot:
    return DashPattern{{3, 3, 0, 0}, 2};
  case PenStyle::DashDot:
    return DashPattern{{9, 6, 3, 6}, 4};
  }
  return DashPattern{{0, 0, 0, 0}, 0};
}

RasterCanvas::RasterCanvas(uint32_t* bits, int width, int height, int stride)
    : bits_(bits), width_(std::max(0, width)), height_(std::max(0, height)), stride_(stride) {}

void RasterCanvas::Attach(uint32_t* bits, int width, int height, int stride) {
  bits_ = bits;
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  stride_ = stride;
}

void RasterCanvas::SetPen(const CanvasPen& pen) {
  pen_ = pen;
  pen_.Width = ClampPenWidth(pen.Width);
}

int32_t RasterCanvas::PixelColor(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
  return ColorOfPixel(Row(y)[x]);
}

void RasterCanvas::Span(int y, int x0, int x1, uint32_t value, bool xorMode) {
  uint32_t* row = Row(y);
  if (xorMode) {
    for (int x = x0; x <= x1; ++x)
      row[x] ^= value;
  } else {
    std::fill(row + x0, row + x1 + 1, value);
  }
}

void RasterCanvas::FillRect(int left, int top, int right, int bottom) {
  // The box may reach to the ends of the int range: the last column and row are worked out in
  // 64 bits, so that a right or bottom edge of INT_MIN does not wrap round.
  const int64_t x0 = std::max(left, 0);
  const int64_t x1 = std::min<int64_t>(right, width_) - 1;
  const int64_t y0 = std::max(top, 0);
  const int64_t y1 = std::min<int64_t>(bottom, height_) - 1;
  if (x0 > x1 || y0 > y1) return;
  const uint32_t value = PixelOfColor(brush_.Color);
  for (int64_t y = y0; y <= y1; ++y)
    Span(static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1), value, false);
}

void RasterCanvas::SetPixel(int x, int y, int32_t color) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Row(y)[x] = PixelOfColor(color);
}

void RasterCanvas::MoveTo(int x, int y) {
  curX_ = x;
  curY_ = y;
  dashPhase_ = 0;
}

void RasterCanvas::LineTo(int x, int y) {
  DrawLine(curX_, curY_, x, y);
  curX_ = x;
  curY_ = y;
}

struct LineWalk {
  int64_t First = 0, Last = 0; ///< steps on the buffer
  int64_t Major = 0;           ///< coordinate along the longer axis at step First
  int MajorSign = 1, MinorSign = 1;
  int64_t MinorStart = 0;                     ///< minor coordinate at step 0
  int64_t Offset = 0;                         ///< minor offset at step First
  int64_t Rest = 0, TwoRun = 0, TwoSteps = 0; ///< error term of the minor offset
  bool XMajor = true;
  int Lo = 0, Hi = 0; ///< the stroke across the minor axis: minor+Lo..minor+Hi
  int64_t MinorLimit = 0;
  uint32_t Value = 0;
  const bool* Mask = nullptr;
  int PatternLength = 0;
  int Phase = 0;
};

template <bool Dashed, bool XorMode, bool Thin> void RasterCanvas::LineSteps(const LineWalk& w) {
  if (!Thin && w.XMajor) {
    // A wide, mostly horizontal stroke is painted as parallel one-pixel lines, row after row,
    // which keeps the writes of each pass on neighbouring pixels.
    for (int k = w.Lo; k <= w.Hi; ++k) {
      int64_t q = w.Offset;
      int64_t rest = w.Rest;
      int64_t major = w.Major;
      int phase = w.Phase;
      for (int64_t i = w.First; i <= w.Last; ++i) {
        const int64_t row = w.MinorStart + w.MinorSign * q + k;
        if ((!Dashed || w.Mask[phase]) && row >= 0 && row < w.MinorLimit) {
          uint32_t* p = bits_ + static_cast<std::ptrdiff_t>(row) * stride_ + major;
          *p = XorMode ? (*p ^ w.Value) : w.Value;
        }
        if (Dashed && ++phase == w.PatternLength) phase = 0;
        major += w.MajorSign;
        rest += w.TwoRun;
        if (rest >= w.TwoSteps) {
          rest -= w.TwoSteps;
          ++q;
        }
      }
    }
    return;
  }
  int64_t q = w.Offset;
  int64_t rest = w.Rest;
  int64_t major = w.Major;
  int phase = w.Phase;
  for (int64_t i = w.First; i <= w.Last; ++i) {
    if (!Dashed || w.Mask[phase]) {
      const int64_t minor = w.MinorStart + w.MinorSign * q;
      if (Thin) {
        // A one-pixel stroke is on the buffer whenever its step is.
        uint32_t* p = w.XMajor ? bits_ + static_cast<std::ptrdiff_t>(minor) * stride_ + major
                               : bits_ + static_cast<std::ptrdiff_t>(major) * stride_ + minor;
        *p = XorMode ? (*p ^ w.Value) : w.Value;
      } else {
        const int64_t s0 = std::max<int64_t>(minor + w.Lo, 0);
        const int64_t s1 = std::min<int64_t>(minor + w.Hi, w.MinorLimit - 1);
        if (w.XMajor) {
          uint32_t* p = bits_ + static_cast<std::ptrdiff_t>(s0) * stride_ + major;
          for (int64_t s = s0; s <= s1; ++s, p += stride_)
            *p = XorMode ? (*p ^ w.Value) : w.Value;
        } else {
          uint32_t* p = bits_ + static_cast<std::ptrdiff_t>(major) * stride_;
          for (int64_t s = s0; s <= s1; ++s)
            p[s] = XorMode ? (p[s] ^ w.Value) : w.Value;
        }
      }
    }
    if (Dashed && ++phase == w.PatternLength) phase = 0;
    major += w.MajorSign;
    rest += w.TwoRun;
    if (rest >= w.TwoSteps) {
      rest -= w.TwoSteps;
      ++q;
    }
  }
}

void RasterCanvas::DrawLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  const int64_t dx = x1 - x0;
  const int64_t dy = y1 - y0;
  const int64_t adx = dx < 0 ? -dx : dx;
  const int64_t ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  // Step i = 0..steps-1 covers one pixel of the longer axis; the last pixel is left out.
  const int64_t steps = xMajor ? adx : ady;
  if (steps == 0) return;
  const int64_t minorRun = xMajor ? ady : adx;
  const int64_t majorStart = xMajor ? x0 : y0;
  const int64_t minorStart = xMajor ? y0 : x0;
  const int majorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int minorSign = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const int64_t majorLimit = xMajor ? width_ : height_;
  const int64_t minorLimit = xMajor ? height_ : width_;
  const int thick = pen_.Width;
  const int lo = -(thick / 2);
  const int hi = lo + thick - 1;
  const int64_t consumed = steps;

  // Steps whose pixel lies on the buffer along the longer axis.
  int64_t first = majorSign > 0 ? -majorStart : majorStart - (majorLimit - 1);
  int64_t last = majorSign > 0 ? majorLimit - 1 - majorStart : majorStart;
  first = std::max<int64_t>(first, 0);
  last = std::min<int64_t>(last, steps - 1);
  if (first > last) {
    dashPhase_ += consumed;
    return;
  }

  // The minor offset after i steps, rounded to the nearest pixel: q(i) = floor((2·i·run + steps) / (2·steps)).
  // Lines of ordinary length need no more than 64 bits for the product.
  const bool narrow = steps < NarrowLineSteps;
  const Wide twoSteps = static_cast<Wide>(2) * steps;
  auto offsetAt = [&](int64_t i) {
    if (narrow) return (2 * i * minorRun + steps) / (2 * steps);
    return static_cast<int64_t>((static_cast<Wide>(2) * i * minorRun + steps) / twoSteps);
  };
  // The stroke across the minor axis spans minor+lo..minor+hi; keep steps where it meets the buffer.
  const int64_t minorLo = -hi;
  const int64_t minorHi = minorLimit - 1 - lo;
  const int64_t qa = minorSign > 0 ? minorLo - minorStart : minorStart - minorHi;
  const int64_t qb = minorSign > 0 ? minorHi - minorStart : minorStart - minorLo;
  const int64_t qFirst = offsetAt(first), qLast = offsetAt(last);
  if (qFirst < qa || qFirst > qb || qLast < qa || qLast > qb) {
    // q(i) never decreases: the first step with q >= qa and the last with q <= qb.
    int64_t a = first, b = last + 1;
    while (a < b) {
      const int64_t m = a + (b - a) / 2;
      if (offsetAt(m) >= qa)
        b = m;
      else
        a = m + 1;
    }
    const int64_t newFirst = a;
    a = first - 1;
    b = last;
    while (a < b) {
      const int64_t m = b - (b - a) / 2;
      if (offsetAt(m) <= qb)
        a = m;
      else
        b = m - 1;
    }
    first = newFirst;
    last = a;
  }
  if (first > last) {
    dashPhase_ += consumed;
    return;
  }

  const DashPattern pattern = DashPatternOf(pen_.Style);
  std::array<bool, MaxPatternLength> mask{};
  int patternLength = 0;
  for (int r = 0; r < pattern.Count; ++r) {
    for (int k = 0; k < pattern.Runs[r] * thick; ++k)
      mask[static_cast<std::size_t>(patternLength++)] = (r % 2) == 0;
  }

  LineWalk w;
  w.First = first;
  w.Last = last;
  w.Major = majorStart + majorSign * first;
  w.MajorSign = majorSign;
  w.MinorSign = minorSign;
  w.MinorStart = minorStart;
  w.Offset = offsetAt(first);
  w.Rest = narrow ? (2 * first * minorRun + steps) % (2 * steps)
                  : static_cast<int64_t>((static_cast<Wide>(2) * first * minorRun + steps) % twoSteps);
  w.TwoRun = 2 * minorRun;
  w.TwoSteps = 2 * steps;
  w.XMajor = xMajor;
  w.Lo = lo;
  w.Hi = hi;
  w.MinorLimit = minorLimit;
  const bool xorMode = pen_.Mode == PenMode::Xor;
  w.Value = xorMode ? (PixelOfColor(pen_.Color) & RgbMask) : PixelOfColor(pen_.Color);
  w.Mask = mask.data();
  w.PatternLength = patternLength;
  w.Phase = patternLength > 0 ? static_cast<int>((dashPhase_ + first) % patternLength) : 0;
  dashPhase_ += consumed;

  const bool dashed = patternLength > 0;
  const bool thin = thick == 1;
  if (dashed) {
    if (xorMode)
      thin ? LineSteps<true, true, true>(w) : LineSteps<true, true, false>(w);
    else
      thin ? LineSteps<true, false, true>(w) : LineSteps<true, false, false>(w);
  } else {
    if (xorMode)
      thin ? LineSteps<false, true, true>(w) : LineSteps<false, true, false>(w);
    else
      thin ? LineSteps<false, false, true>(w) : LineSteps<false, false, false>(w);
  }
}

template <typename RowSpan>
void RasterCanvas::PaintShape(int64_t top, int64_t bottom, int ring, const RowSpan& rowSpan) {
  const bool xorMode = pen_.Mode == PenMode::Xor;
  const uint32_t penValue = xorMode ? (PixelOfColor(pen_.Color) & RgbMask) : PixelOfColor(pen_.Color);
  const uint32_t brushValue = xorMode ? (PixelOfColor(brush_.Color) & RgbMask) : PixelOfColor(brush_.Color);
  const bool fill = brush_.Style == BrushStyle::Solid;
  auto paint = [&](int y, int64_t a, int64_t b, uint32_t value) {
    a = std::max<int64_t>(a, 0);
    b = std::min<int64_t>(b, width_ - 1);
    if (a <= b) Span(y, static_cast<int>(a), static_cast<int>(b), value, xorMode);
  };
  const int64_t y0 = std::max<int64_t>(top, 0);
  const int64_t y1 = std::min<int64_t>(bottom, height_ - 1);
  if (y0 > y1) return;
  // Rows of the shape needed: those on the buffer and `ring` more above and below.
  const int64_t t0 = std::max<int64_t>(top, y0 - ring);
  const int64_t t1 = std::min<int64_t>(bottom, y1 + ring);
  spanScratch_.resize(static_cast<std::size_t>(t1 - t0 + 1));
  for (int64_t y = t0; y <= t1; ++y)
    spanScratch_[static_cast<std::size_t>(y - t0)] = rowSpan(y);
  auto span = [&](int64_t y) { return spanScratch_[static_cast<std::size_t>(y - t0)]; };
  for (int64_t y = y0; y <= y1; ++y) {
    const auto outer = span(y);
    if (outer.first > outer.second) continue;
    // The inside is what stays of the shape when it is worn down by `ring` pixels in the four
    // directions. The rows of a convex shape centred on one column are nested, so the narrowest of
    // the rows ring above and below bounds it.
    int64_t innerL = outer.first + ring;
    int64_t innerR = outer.second - ring;
    if (y - ring < top || y + ring > bottom) {
      innerL = 1;
      innerR = 0;
    } else {
      const auto above = span(y - ring);
      const auto below = span(y + ring);
      innerL = std::max({innerL, above.first, below.first});
      innerR = std::min({innerR, above.second, below.second});
    }
    const int row = static_cast<int>(y);
    if (innerL > innerR) {
      paint(row, outer.first, outer.second, penValue);
    } else {
      paint(row, outer.first, innerL - 1, penValue);
      paint(row, innerR + 1, outer.second, penValue);
      if (fill) paint(row, innerL, innerR, brushValue);
    }
  }
}

void RasterCanvas::Ellipse(int left, int top, int right, int bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (left == right || top == bottom) return;
  // A wider pen grows the shape by half its width, so the stroke sits across the box's edge.
  const int grow = pen_.Width / 2;
  const double l = static_cast<double>(left) - grow;
  const double r = static_cast<double>(right) + grow;
  const double t = static_cast<double>(top) - grow;
  const double b = static_cast<double>(bottom) + grow;
  const double semiX = (r - l) / 2;
  const double semiY = (b - t) / 2;
  const double cx = (l + r - 1) / 2;
  const double cy = (t + b) / 2;
  PaintShape(static_cast<int64_t>(top) - grow, static_cast<int64_t>(bottom) + grow - 1, pen_.Width,
             [&](int64_t y) -> std::pair<int64_t, int64_t> {
               const double ny = (static_cast<double>(y) + 0.5 - cy) / semiY;
               const double rest = 1 - ny * ny;
               if (rest < 0) return {1, 0};
               const double half = semiX * std::sqrt(rest);
               return {CeilToInt(cx - half - EllipseEdgeTolerance), FloorToInt(cx + half + EllipseEdgeTolerance)};
             });
}

void RasterCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (left == right || top == bottom) return;
  const int grow = pen_.Width / 2;
  const int64_t l = static_cast<int64_t>(left) - grow;
  const int64_t r = static_cast<int64_t>(right) + grow - 1;
  PaintShape(static_cast<int64_t>(top) - grow, static_cast<int64_t>(bottom) + grow - 1, pen_.Width, [l, r](int64_t) {
    return std::pair<int64_t, int64_t>{l, r};
  });
}

void RasterCanvas::Polygon(const std::vector<PixelPoint>& points) {
  const std::size_t n = points.size();
  if (n < 2) return;
  const bool xorMode = pen_.Mode == PenMode::Xor;
  if (brush_.Style == BrushStyle::Solid && n >= 3) {
    const uint32_t value = xorMode ? (PixelOfColor(brush_.Color) & RgbMask) : PixelOfColor(brush_.Color);
    int64_t minY = points[0].Y, maxY = points[0].Y;
    for (const PixelPoint& p : points) {
      minY = std::min<int64_t>(minY, p.Y);
      maxY = std::max<int64_t>(maxY, p.Y);
    }
    const int64_t y0 = std::max<int64_t>(minY, 0);
    const int64_t y1 = std::min<int64_t>(maxY, height_) - 1;
    for (int64_t y = y0; y <= y1; ++y) {
      // Pixel centres of this row inside the outline, by the even-odd rule.
      const double yc = static_cast<double>(y) + 0.5;
      crossScratch_.clear();
      for (std::size_t k = 0; k < n; ++k) {
        const PixelPoint& a = points[k];
        const PixelPoint& b = points[(k + 1) % n];
        const double ay = a.Y, by = b.Y;
        if ((ay <= yc && yc < by) || (by <= yc && yc < ay)) {
          crossScratch_.push_back(a.X + (yc - ay) * (static_cast<double>(b.X) - a.X) / (by - ay));
        }
      }
      std::sort(crossScratch_.begin(), crossScratch_.end());
      for (std::size_t k = 0; k + 1 < crossScratch_.size(); k += 2) {
        const double xa = std::max(std::ceil(crossScratch_[k] - 0.5), 0.0);
        const double xb = std::min(std::ceil(crossScratch_[k + 1] - 0.5) - 1, static_cast<double>(width_ - 1));
        if (xa <= xb) Span(static_cast<int>(y), static_cast<int>(xa), static_cast<int>(xb), value, xorMode);
      }
    }
  }
  const int64_t keepX = curX_, keepY = curY_, keepPhase = dashPhase_;
  dashPhase_ = 0;
  for (std::size_t k = 0; k < n; ++k) {
    const PixelPoint& a = points[k];
    const PixelPoint& b = points[(k + 1) % n];
    DrawLine(a.X, a.Y, b.X, b.Y);
  }
  curX_ = keepX;
  curY_ = keepY;
  dashPhase_ = keepPhase;
}

} // namespace drex
