#include "view/raster_canvas.h"

#include "view/paint_list.h"
#include "view/paint_workers.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <type_traits>

namespace drex {

namespace {

// Line positions far from the buffer need more than 64 bits for one product.
__extension__ using Wide = __int128;

constexpr uint32_t RgbMask = 0x00FFFFFFu;

// Tolerance of the ellipse row ends, so that exact half-pixel ends land symmetrically.
constexpr double EllipseEdgeTolerance = 1e-9;

// Below this many steps a line's error term products fit in 64 bits (2 · 2^30 · 2^31 < 2^63).
constexpr int64_t NarrowLineSteps = int64_t{1} << 30;

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

/// Where pixels are written: the buffer, and for the keyed modes the keys beside it (same index)
/// and the key of what is drawn.
struct PixelSink {
  uint32_t* Bits;
  uint16_t* Keys;
  uint16_t Key;
};

template <WriteMode M> using ModeTag = std::integral_constant<WriteMode, M>;

/// Calls f with the tag of the mode, so that each mode has its own loops.
template <typename F> void WithMode(WriteMode mode, F&& f) {
  switch (mode) {
  case WriteMode::Copy:
    f(ModeTag<WriteMode::Copy>{});
    return;
  case WriteMode::Xor:
    f(ModeTag<WriteMode::Xor>{});
    return;
  case WriteMode::Store:
    f(ModeTag<WriteMode::Store>{});
    return;
  case WriteMode::Test:
    f(ModeTag<WriteMode::Test>{});
    return;
  }
}

template <WriteMode M> inline void Put(const PixelSink& sink, std::ptrdiff_t i, uint32_t value) {
  if constexpr (M == WriteMode::Copy) {
    sink.Bits[i] = value;
  } else if constexpr (M == WriteMode::Xor) {
    sink.Bits[i] ^= value;
  } else if constexpr (M == WriteMode::Store) {
    sink.Bits[i] = value;
    sink.Keys[i] = sink.Key;
  } else {
    if (sink.Key > sink.Keys[i]) sink.Bits[i] = value;
  }
}

/// Pixels i..j of one row.
template <WriteMode M> inline void PutRun(const PixelSink& sink, std::ptrdiff_t i, std::ptrdiff_t j, uint32_t value) {
  if constexpr (M == WriteMode::Copy) {
    std::fill(sink.Bits + i, sink.Bits + j + 1, value);
  } else if constexpr (M == WriteMode::Store) {
    std::fill(sink.Bits + i, sink.Bits + j + 1, value);
    std::fill(sink.Keys + i, sink.Keys + j + 1, sink.Key);
  } else if constexpr (M == WriteMode::Test) {
    // A select rather than a branch, so that the loop runs on whole vectors of pixels.
    uint32_t* const bits = sink.Bits;
    const uint16_t* const keys = sink.Keys;
    const uint16_t key = sink.Key;
    for (std::ptrdiff_t k = i; k <= j; ++k)
      bits[k] = key > keys[k] ? value : bits[k];
  } else {
    for (std::ptrdiff_t k = i; k <= j; ++k)
      Put<M>(sink, k, value);
  }
}

/// Paints `count` runs of a text whose top left corner is at buffer index `origin`, each held to
/// the columns lo..hi relative to that corner. Everything comes by value, so that the loop keeps
/// it in registers while it writes.
template <WriteMode M>
void PaintRuns(const PixelSink sink, const TextRuns::Run* runs, std::size_t count, std::ptrdiff_t origin,
               std::ptrdiff_t stride, int64_t lo, int64_t hi, uint32_t value) {
  for (std::size_t i = 0; i < count; ++i) {
    const TextRuns::Run run = runs[i];
    const std::ptrdiff_t at = origin + static_cast<std::ptrdiff_t>(run.Y) * stride;
    const int64_t x0 = std::max<int64_t>(run.X0, lo), x1 = std::min<int64_t>(run.X1, hi);
    // Runs of a glyph are a few pixels long: written one by one.
    for (int64_t k = x0; k <= x1; ++k)
      Put<M>(sink, at + static_cast<std::ptrdiff_t>(k), value);
  }
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
    : bits_(bits), picture_(bits), width_(std::max(0, width)), height_(std::max(0, height)), stride_(stride),
      clipBottom_(height_), maxBands_(std::min(PaintHelpersWanted(MaxBands - 1) + 1, MaxBands)) {}

RasterCanvas::~RasterCanvas() = default;

void RasterCanvas::Attach(uint32_t* bits, int width, int height, int stride) {
  const bool resized = std::max(0, width) != width_ || std::max(0, height) != height_ || stride != stride_;
  bits_ = picture_ = bits;
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  stride_ = stride;
  clipTop_ = 0;
  clipBottom_ = height_;
  keys_ = nullptr;
  keyMode_ = WriteMode::Copy;
  if (!resized) return;
  // The layers hold pictures of the old size; a buffer of the same size keeps them.
  for (Layer& layer : ownLayers_) {
    layer.Pixels.clear();
    layer.Keys.clear();
  }
  layerStamp_ = 0;
  bandEdges_.clear();
  rowCost_.clear();
}

void RasterCanvas::SetMaxBands(int bands) {
  maxBands_ = std::clamp(bands, 1, MaxBands);
  bandEdges_.clear();
  rowCost_.clear();
}

WriteMode RasterCanvas::ModeFor(bool xorPen) const { return xorPen ? WriteMode::Xor : keyMode_; }

void RasterCanvas::ClipRows(int top, int bottom) {
  clipTop_ = std::clamp(top, 0, height_);
  clipBottom_ = std::clamp(bottom, clipTop_, height_);
}

void RasterCanvas::SetPen(const CanvasPen& pen) {
  pen_ = pen;
  pen_.Width = ClampPenWidth(pen.Width);
}

int32_t RasterCanvas::PixelColor(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return -1;
  return ColorOfPixel(picture_[static_cast<std::ptrdiff_t>(y) * stride_ + x]);
}

void RasterCanvas::Span(int y, int x0, int x1, uint32_t value, WriteMode mode) {
  const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(y) * stride_;
  if (mode == WriteMode::Copy) {
    std::fill(bits_ + row + x0, bits_ + row + x1 + 1, value);
    return;
  }
  const PixelSink sink{bits_, keys_, key_};
  WithMode(mode, [&](auto tag) { PutRun<decltype(tag)::value>(sink, row + x0, row + x1, value); });
}

void RasterCanvas::FillRect(int left, int top, int right, int bottom) {
  // The box may reach to the ends of the int range: the last column and row are worked out in
  // 64 bits, so that a right or bottom edge of INT_MIN does not wrap round.
  const int64_t x0 = std::max(left, 0);
  const int64_t x1 = std::min<int64_t>(right, width_) - 1;
  const int64_t y0 = std::max(top, clipTop_);
  const int64_t y1 = std::min<int64_t>(bottom, clipBottom_) - 1;
  if (x0 > x1 || y0 > y1) return;
  const uint32_t value = PixelOfColor(brush_.Color);
  const WriteMode mode = ModeFor(false);
  for (int64_t y = y0; y <= y1; ++y)
    Span(static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1), value, mode);
}

void RasterCanvas::SetPixel(int x, int y, int32_t color) {
  if (x < 0 || y < clipTop_ || x >= width_ || y >= clipBottom_) return;
  Span(y, x, x, PixelOfColor(color), ModeFor(false));
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

namespace {

/// One line's steps: step i paints the pixel MajorStart + MajorSign·i along the longer axis and
/// MinorStart + MinorSign·q(i) across it, q(i) = floor((2·i·MinorRun + Steps) / (2·Steps)), widened by
/// Lo..Hi across the longer axis.
struct LineWalk {
  PixelSink Sink{nullptr, nullptr, 0};
  std::ptrdiff_t Stride = 0;
  int64_t Steps = 1, MinorRun = 0;
  bool Narrow = true; ///< the error term products fit in 64 bits
  int64_t MajorStart = 0, MinorStart = 0;
  int MajorSign = 1, MinorSign = 1;
  bool XMajor = true;
  uint32_t Value = 0;
  int Runs[4] = {0, 0, 0, 0}; ///< on, off, on, off run lengths of the pattern at this width
  int RunCount = 0;           ///< 0 for a solid pen
  int64_t PatternLength = 0;
  int64_t PhaseAtZero = 0; ///< position in the pattern of step 0
};

int64_t OffsetAt(const LineWalk& w, int64_t i) {
  if (w.Narrow) return (2 * i * w.MinorRun + w.Steps) / (2 * w.Steps);
  return static_cast<int64_t>((static_cast<Wide>(2) * i * w.MinorRun + w.Steps) / (static_cast<Wide>(2) * w.Steps));
}

/// The offset q(i) and the error term left over, from one division.
void OffsetAndRest(const LineWalk& w, int64_t i, int64_t& q, int64_t& rest) {
  if (w.Narrow) {
    const int64_t num = 2 * i * w.MinorRun + w.Steps;
    q = num / (2 * w.Steps);
    rest = num - q * (2 * w.Steps);
    return;
  }
  const Wide num = static_cast<Wide>(2) * i * w.MinorRun + w.Steps;
  const Wide den = static_cast<Wide>(2) * w.Steps;
  const Wide wq = num / den;
  q = static_cast<int64_t>(wq);
  rest = static_cast<int64_t>(num - wq * den);
}

/// KeepOffsets once the ends are known not to lie in qa..qb both.
void KeepOffsetsFrom(const LineWalk& w, int64_t qa, int64_t qb, int64_t& first, int64_t& last) {
  int64_t a = first, b = last + 1;
  while (a < b) {
    const int64_t m = a + (b - a) / 2;
    if (OffsetAt(w, m) >= qa)
      b = m;
    else
      a = m + 1;
  }
  const int64_t newFirst = a;
  a = first - 1;
  b = last;
  while (a < b) {
    const int64_t m = b - (b - a) / 2;
    if (OffsetAt(w, m) <= qb)
      a = m;
    else
      b = m - 1;
  }
  first = newFirst;
  last = a;
}

/// Among steps first..last, the run of steps whose offset lies in qa..qb (q never decreases);
/// first > last when there is none.
void KeepOffsets(const LineWalk& w, int64_t qa, int64_t qb, int64_t& first, int64_t& last) {
  if (first > last) return;
  if (OffsetAt(w, first) >= qa && OffsetAt(w, last) <= qb) return;
  KeepOffsetsFrom(w, qa, qb, first, last);
}
/// Where a one-pixel walk stands: the buffer index of its pixel and its error term.
struct WalkCursor {
  std::ptrdiff_t Index;
  int64_t Rest;
};

/// Moves a walk on by n steps, painting the `Across` pixels from each pixel it leaves onwards
/// along the row when Paint is set. When the minor axis steps on a fair share of the steps, whether
/// it does follows no pattern the branch predictor could learn, and the step is Masked instead.
template <bool Paint, WriteMode M, int Across, bool Masked>
void Advance(const LineWalk& w, WalkCursor& c, int64_t n, std::ptrdiff_t majorStep, std::ptrdiff_t minorStep,
             int64_t twoRun, int64_t twoSteps) {
  const PixelSink sink = w.Sink;
  const uint32_t value = w.Value;
  const std::ptrdiff_t diagonalStep = majorStep + minorStep;
  std::ptrdiff_t index = c.Index;
  int64_t rest = c.Rest;
  for (; n > 0; --n) {
    if (Paint) {
      for (int j = 0; j < Across; ++j)
        Put<M>(sink, index + j, value);
    }
    rest += twoRun;
    if (Masked) {
      // The carry is taken from the sign of the wrapped error term, without a branch and with a
      // short chain from one step's error term to the next.
      const int64_t wrapped = rest - twoSteps;
      const int64_t stay = wrapped >> 63; // all ones when there is no carry
      rest = wrapped + (twoSteps & stay);
      index += diagonalStep - (minorStep & stay);
    } else {
      index += majorStep;
      if (rest >= twoSteps) {
        rest -= twoSteps;
        index += minorStep;
      }
    }
  }
  c.Index = index;
  c.Rest = rest;
}

/// The pixels of steps first..last of the one-pixel line `k` pixels across from the walk's own,
/// and of the Across - 1 lines after it on a mostly vertical walk, all of them on the buffer.
/// Dashes are walked as whole runs, so the loop over the pixels of a run does nothing but step and
/// paint.
template <WriteMode M, int Across, bool Masked> void WalkRuns(const LineWalk& w, int k, int64_t first, int64_t last) {
  const int64_t major = w.MajorStart + w.MajorSign * first;
  int64_t q = 0, rest = 0;
  OffsetAndRest(w, first, q, rest);
  const int64_t minor = w.MinorStart + w.MinorSign * q + k;
  const int64_t x = w.XMajor ? major : minor;
  const int64_t y = w.XMajor ? minor : major;
  WalkCursor c{static_cast<std::ptrdiff_t>(y) * w.Stride + static_cast<std::ptrdiff_t>(x), rest};
  const std::ptrdiff_t majorStep = w.XMajor ? w.MajorSign : w.MajorSign * w.Stride;
  const std::ptrdiff_t minorStep = w.XMajor ? w.MinorSign * w.Stride : w.MinorSign;
  const int64_t twoRun = 2 * w.MinorRun, twoSteps = 2 * w.Steps;
  int64_t left = last - first + 1;
  if (w.RunCount == 0) {
    Advance<true, M, Across, Masked>(w, c, left, majorStep, minorStep, twoRun, twoSteps);
    return;
  }
  int64_t pos = (w.PhaseAtZero + first) % w.PatternLength;
  int r = 0;
  while (pos >= w.Runs[r]) {
    pos -= w.Runs[r];
    ++r;
  }
  while (left > 0) {
    const int64_t n = std::min<int64_t>(left, w.Runs[r] - pos);
    if (r % 2 == 0)
      Advance<true, M, Across, Masked>(w, c, n, majorStep, minorStep, twoRun, twoSteps);
    else
      Advance<false, M, Across, Masked>(w, c, n, majorStep, minorStep, twoRun, twoSteps);
    left -= n;
    pos = 0;
    if (++r == w.RunCount) r = 0;
  }
}

template <WriteMode M, int Across> void WalkParallel(const LineWalk& w, int k, int64_t first, int64_t last) {
  // Nearly straight or nearly diagonal walks step the minor axis in long regular runs.
  const int64_t run = w.MinorRun, steps = w.Steps;
  if (5 * run < steps || 5 * run > 4 * steps)
    WalkRuns<M, Across, false>(w, k, first, last);
  else
    WalkRuns<M, Across, true>(w, k, first, last);
}

template <WriteMode M> void WalkAcross(const LineWalk& w, int k, int across, int64_t first, int64_t last) {
  // Wider strokes are walked as bands of five lines and one of the rest.
  for (; across > 5; across -= 5, k += 5)
    WalkParallel<M, 5>(w, k, first, last);
  switch (across) {
  case 2:
    WalkParallel<M, 2>(w, k, first, last);
    return;
  case 3:
    WalkParallel<M, 3>(w, k, first, last);
    return;
  case 4:
    WalkParallel<M, 4>(w, k, first, last);
    return;
  case 5:
    WalkParallel<M, 5>(w, k, first, last);
    return;
  default:
    WalkParallel<M, 1>(w, k, first, last);
    return;
  }
}

/// Paints the stroke lo..hi across the walk over steps first..last: step ranges[k - lo] holds the
/// steps where line k is on the buffer. A wide, mostly vertical stroke paints each row's pixels
/// together where all its lines are on the buffer, so that each row is visited once; otherwise
/// the lines are walked one after the other, which keeps each pass along a row.
template <WriteMode M> void WalkStroke(const LineWalk& w, int lo, int hi, const int64_t (*ranges)[2]) {
  int64_t common0 = INT64_MIN, common1 = INT64_MAX;
  for (int k = lo; k <= hi; ++k) {
    common0 = std::max(common0, ranges[k - lo][0]);
    common1 = std::min(common1, ranges[k - lo][1]);
  }
  if (w.XMajor || lo == hi || common0 > common1) {
    for (int k = lo; k <= hi; ++k) {
      if (ranges[k - lo][0] <= ranges[k - lo][1]) WalkParallel<M, 1>(w, k, ranges[k - lo][0], ranges[k - lo][1]);
    }
    return;
  }
  WalkAcross<M>(w, lo, hi - lo + 1, common0, common1);
  for (int k = lo; k <= hi; ++k) {
    const int64_t a = ranges[k - lo][0], b = ranges[k - lo][1];
    if (a <= common0 - 1) WalkParallel<M, 1>(w, k, a, common0 - 1);
    if (common1 + 1 <= b) WalkParallel<M, 1>(w, k, common1 + 1, b);
  }
}

} // namespace

void RasterCanvas::DrawLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1) {
  const int64_t dx = x1 - x0;
  const int64_t dy = y1 - y0;
  const int64_t adx = dx < 0 ? -dx : dx;
  const int64_t ady = dy < 0 ? -dy : dy;
  const bool xMajor = adx >= ady;
  // Step i = 0..steps-1 covers one pixel of the longer axis; the last pixel is left out.
  const int64_t steps = xMajor ? adx : ady;
  if (steps == 0) return;
  const int64_t phaseAtZero = dashPhase_;
  dashPhase_ += steps;
  // No row of the stroke, however it lies, in the rows drawn: the line leaves no pixel here.
  const int64_t reach = pen_.Width;
  if (std::max(y0, y1) + reach < clipTop_ || std::min(y0, y1) - reach >= clipBottom_) return;
  LineWalk w;
  w.Sink = PixelSink{bits_, keys_, key_};
  w.Stride = stride_;
  w.Steps = steps;
  w.MinorRun = xMajor ? ady : adx;
  w.Narrow = steps < NarrowLineSteps;
  w.MajorStart = xMajor ? x0 : y0;
  w.MinorStart = xMajor ? y0 : x0;
  w.MajorSign = (xMajor ? dx : dy) < 0 ? -1 : 1;
  w.MinorSign = (xMajor ? dy : dx) < 0 ? -1 : 1;
  w.XMajor = xMajor;
  // The pixels drawn: columns 0..width - 1, rows of the clip.
  const int64_t majorLo = xMajor ? 0 : clipTop_, majorHi = xMajor ? width_ - 1 : clipBottom_ - 1;
  const int64_t minorLo = xMajor ? clipTop_ : 0, minorHi = xMajor ? clipBottom_ - 1 : width_ - 1;
  const int thick = pen_.Width;
  const int lo = -(thick / 2);
  const int hi = lo + thick - 1;

  // Steps whose pixel lies on the buffer along the longer axis.
  int64_t first = w.MajorSign > 0 ? majorLo - w.MajorStart : w.MajorStart - majorHi;
  int64_t last = w.MajorSign > 0 ? majorHi - w.MajorStart : w.MajorStart - majorLo;
  first = std::max<int64_t>(first, 0);
  last = std::min<int64_t>(last, steps - 1);
  // The offset range in which the parallel line k lies on the buffer across the longer axis.
  auto offsetsOnBuffer = [&](int k, int64_t& qa, int64_t& qb) {
    if (w.MinorSign > 0) {
      qa = minorLo - w.MinorStart - k;
      qb = minorHi - w.MinorStart - k;
    } else {
      qa = w.MinorStart + k - minorHi;
      qb = w.MinorStart + k - minorLo;
    }
  };
  // Keep the steps where some part of the stroke meets the buffer.
  int64_t qa = 0, qb = 0, qc = 0, qd = 0;
  offsetsOnBuffer(w.MinorSign > 0 ? hi : lo, qa, qb);
  offsetsOnBuffer(w.MinorSign > 0 ? lo : hi, qc, qd);
  KeepOffsets(w, qa, qd, first, last);
  if (first > last) return;

  const bool xorMode = pen_.Mode == PenMode::Xor;
  const WriteMode mode = ModeFor(xorMode);
  w.Value = xorMode ? (PixelOfColor(pen_.Color) & RgbMask) : PixelOfColor(pen_.Color);
  const DashPattern pattern = DashPatternOf(pen_.Style);
  w.RunCount = pattern.Count;
  for (int r = 0; r < pattern.Count; ++r) {
    w.Runs[r] = pattern.Runs[r] * thick;
    w.PatternLength += w.Runs[r];
  }
  if (w.PatternLength == 0) w.RunCount = 0;
  if (w.RunCount > 0) w.PhaseAtZero = phaseAtZero % w.PatternLength;

  // Lines of the stroke whose ends are both on the buffer are on it throughout; only the others
  // search for their ends.
  const int64_t qFirst = OffsetAt(w, first), qLast = OffsetAt(w, last);
  int64_t ranges[MaxPenWidth][2];
  for (int k = lo; k <= hi; ++k) {
    int64_t& a = ranges[k - lo][0];
    int64_t& b = ranges[k - lo][1];
    a = first;
    b = last;
    offsetsOnBuffer(k, qa, qb);
    if (qFirst < qa || qLast > qb) KeepOffsetsFrom(w, qa, qb, a, b);
  }
  WithMode(mode, [&](auto tag) { WalkStroke<decltype(tag)::value>(w, lo, hi, ranges); });
}

namespace {

/// Half widths of `count` rows of an ellipse from row `first` on: semiX·√(1 − ny²) with
/// ny = (y + ½ − cy) / semiY, NaN where ny² > 1. Two rows at a time where the processor has packed
/// double arithmetic, whose division and square root round exactly as the single ones do.
void EllipseHalves(int64_t first, std::size_t count, double cy, double semiX, double semiY, double* halves) {
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128d half = _mm_set1_pd(0.5), one = _mm_set1_pd(1.0);
  const __m128d centre = _mm_set1_pd(cy), sx = _mm_set1_pd(semiX), sy = _mm_set1_pd(semiY);
  for (; i + 1 < count; i += 2) {
    const int64_t y = first + static_cast<int64_t>(i);
    const __m128d rows = _mm_set_pd(static_cast<double>(y + 1), static_cast<double>(y));
    const __m128d ny = _mm_div_pd(_mm_sub_pd(_mm_add_pd(rows, half), centre), sy);
    const __m128d rest = _mm_sub_pd(one, _mm_mul_pd(ny, ny));
    _mm_storeu_pd(halves + i, _mm_mul_pd(sx, _mm_sqrt_pd(rest)));
  }
#endif
  for (; i < count; ++i) {
    const double ny = (static_cast<double>(first + static_cast<int64_t>(i)) + 0.5 - cy) / semiY;
    const double rest = 1 - ny * ny;
    halves[i] = rest < 0 ? std::numeric_limits<double>::quiet_NaN() : semiX * std::sqrt(rest);
  }
}

/// Paints pixels a..b of a row, held to 0..width-1. Most runs of a shape's outline are a few
/// pixels long, so those are written one by one rather than through a vector fill.
template <WriteMode M>
inline void PaintRun(const PixelSink& sink, std::ptrdiff_t row, int64_t a, int64_t b, int64_t width, uint32_t value) {
  a = std::max<int64_t>(a, 0);
  b = std::min<int64_t>(b, width - 1);
  if (a > b) return;
  if (b - a < 8) {
    for (int64_t x = a; x <= b; ++x)
      Put<M>(sink, row + x, value);
  } else {
    PutRun<M>(sink, row + a, row + b, value);
  }
}

} // namespace

template <typename RowSpans>
void RasterCanvas::PaintShape(int64_t top, int64_t bottom, int ring, const RowSpans& rowSpans, int64_t from, int64_t to,
                              int64_t mirror) {
  const bool xorMode = pen_.Mode == PenMode::Xor;
  const uint32_t penValue = xorMode ? (PixelOfColor(pen_.Color) & RgbMask) : PixelOfColor(pen_.Color);
  const uint32_t brushValue = xorMode ? (PixelOfColor(brush_.Color) & RgbMask) : PixelOfColor(brush_.Color);
  const bool fill = brush_.Style == BrushStyle::Solid;
  const int64_t y0 = std::max<int64_t>({top, from, clipTop_});
  const int64_t y1 = std::min<int64_t>({bottom, to, clipBottom_ - 1});
  if (y0 > y1) return;
  // Rows of the shape needed: those on the buffer and `ring` more above and below.
  const int64_t t0 = std::max<int64_t>(top, y0 - ring);
  const int64_t t1 = std::min<int64_t>(bottom, y1 + ring);
  spanScratch_.resize(static_cast<std::size_t>(t1 - t0 + 1));
  std::pair<int64_t, int64_t>* spans = spanScratch_.data() - t0;
  if (mirror == NoMirror) {
    rowSpans(t0, t1, spans);
  } else {
    // Row mirror − y is row y reflected about the shape's middle and covers the same pixels: the
    // rows down to the middle are worked out, and of those below it the ones whose reflection is
    // among them are copied.
    const int64_t middle = mirror >= 0 ? mirror / 2 : -((1 - mirror) / 2);
    const int64_t upperLast = std::min(t1, middle);
    if (t0 <= upperLast) rowSpans(t0, upperLast, spans);
    const int64_t copyFirst = std::max(t0, middle + 1), copyLast = std::min(t1, mirror - t0);
    for (int64_t y = copyFirst; y <= copyLast; ++y)
      spans[y] = spans[mirror - y];
    const int64_t lowerFirst = std::max({t0, middle + 1, copyLast + 1});
    if (lowerFirst <= t1) rowSpans(lowerFirst, t1, spans);
  }
  const int64_t width = width_;
  const PixelSink sink{bits_, keys_, key_};
  WithMode(ModeFor(xorMode), [&](auto tag) {
    constexpr WriteMode M = decltype(tag)::value;
    std::ptrdiff_t row = static_cast<std::ptrdiff_t>(y0) * stride_;
    for (int64_t y = y0; y <= y1; ++y, row += stride_) {
      const auto outer = spans[y];
      if (outer.first > outer.second) continue;
      // The inside is what stays of the shape when it is worn down by `ring` pixels in the four
      // directions. The rows of a convex shape centred on one column are nested, so the narrowest
      // of the rows ring above and below bounds it.
      int64_t innerL = 1;
      int64_t innerR = 0;
      if (y - ring >= top && y + ring <= bottom) {
        const auto above = spans[y - ring];
        const auto below = spans[y + ring];
        innerL = std::max({outer.first + ring, above.first, below.first});
        innerR = std::min({outer.second - ring, above.second, below.second});
      }
      if (innerL > innerR) {
        PaintRun<M>(sink, row, outer.first, outer.second, width, penValue);
      } else {
        PaintRun<M>(sink, row, outer.first, innerL - 1, width, penValue);
        PaintRun<M>(sink, row, innerR + 1, outer.second, width, penValue);
        if (fill) PaintRun<M>(sink, row, innerL, innerR, width, brushValue);
      }
    }
  });
}

void RasterCanvas::Ellipse(int left, int top, int right, int bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (left == right || top == bottom) return;
  // A wider pen grows the shape by half its width, so the stroke sits across the box's edge.
  const int grow = pen_.Width / 2;
  if (static_cast<int64_t>(bottom) + grow <= clipTop_ || static_cast<int64_t>(top) - grow >= clipBottom_) return;
  const double l = static_cast<double>(left) - grow;
  const double r = static_cast<double>(right) + grow;
  const double t = static_cast<double>(top) - grow;
  const double b = static_cast<double>(bottom) + grow;
  const double semiX = (r - l) / 2;
  const double semiY = (b - t) / 2;
  const double cx = (l + r - 1) / 2;
  const double cy = (t + b) / 2;
  const int64_t shapeTop = static_cast<int64_t>(top) - grow;
  const int64_t shapeBottom = static_cast<int64_t>(bottom) + grow - 1;
  // The rows are symmetric about cy: y + ½ − cy of row shapeTop + shapeBottom − y is the
  // negative of row y's, exactly, as both are small multiples of ½.
  const int64_t mirror = shapeTop + shapeBottom;
  auto rowSpan = [&](int64_t first, int64_t last, std::pair<int64_t, int64_t>* spans) {
    const std::size_t count = static_cast<std::size_t>(last - first + 1);
    halfScratch_.resize(count);
    double* halves = halfScratch_.data();
    EllipseHalves(first, count, cy, semiX, semiY, halves);
    for (std::size_t i = 0; i < count; ++i) {
      const double half = halves[i];
      // Rows beyond the ends of the ellipse have no half width (NaN) and are empty.
      spans[first + static_cast<int64_t>(i)] =
          half >= 0 ? std::pair<int64_t, int64_t>{CeilToInt(cx - half - EllipseEdgeTolerance),
                                                  FloorToInt(cx + half + EllipseEdgeTolerance)}
                    : std::pair<int64_t, int64_t>{1, 0};
    }
  };
  if (semiX != semiY || width_ == 0) {
    PaintShape(shapeTop, shapeBottom, pen_.Width, rowSpan, shapeTop, shapeBottom, mirror);
    return;
  }
  // A circle: pixel (x, y) lies in it when (x − cx, y + ½ − cy) is within the radius. Rows whose
  // pixels on the buffer all lie farther out than the radius paint nothing; rows whose pixels on
  // the buffer all lie deeper inside than the outline paint only the inside. Both kinds are found
  // with a margin of two pixels, which leaves the rounding of the row ends out of the question,
  // so only the rows in between are worked out pixel by pixel. For a circle far larger than the
  // buffer that is the few rows where its outline crosses.
  const double nearX = cx < 0 ? -cx : (cx > width_ - 1 ? cx - (width_ - 1) : 0.0);
  const double farX = std::max(cx < 0 ? -cx : cx, std::fabs(cx - (width_ - 1)));
  const double outerReach = semiX + 2;
  if (nearX >= outerReach) return;
  // Rows whose centre line is within `reach` of cy: y + ½ − cy in [−reach, reach].
  auto firstRow = [&](double reach) { return FloorToInt(cy - reach - 0.5) - 1; };
  auto lastRow = [&](double reach) { return CeilToInt(cy + reach - 0.5) + 1; };
  const double outerRows = std::sqrt((outerReach - nearX) * (outerReach + nearX));
  const int64_t outerFirst = std::max(firstRow(outerRows), shapeTop);
  const int64_t outerLast = std::min(lastRow(outerRows), shapeBottom);
  const double innerReach = semiX - pen_.Width - 2;
  if (innerReach <= farX) {
    PaintShape(shapeTop, shapeBottom, pen_.Width, rowSpan, outerFirst, outerLast, mirror);
    return;
  }
  const double innerRows = std::sqrt((innerReach - farX) * (innerReach + farX));
  // The deep rows, narrowed by one for safety; every pixel of them on the buffer is inside.
  const int64_t innerFirst = CeilToInt(cy - innerRows - 0.5) + 1;
  const int64_t innerLast = FloorToInt(cy + innerRows - 0.5) - 1;
  if (innerFirst > innerLast) {
    PaintShape(shapeTop, shapeBottom, pen_.Width, rowSpan, outerFirst, outerLast, mirror);
    return;
  }
  PaintShape(shapeTop, shapeBottom, pen_.Width, rowSpan, outerFirst, innerFirst - 1, mirror);
  PaintShape(shapeTop, shapeBottom, pen_.Width, rowSpan, innerLast + 1, outerLast, mirror);
  if (brush_.Style == BrushStyle::Solid) {
    const bool xorMode = pen_.Mode == PenMode::Xor;
    const uint32_t brushValue = xorMode ? (PixelOfColor(brush_.Color) & RgbMask) : PixelOfColor(brush_.Color);
    const int64_t y0 = std::max<int64_t>(innerFirst, clipTop_);
    const int64_t y1 = std::min<int64_t>(innerLast, clipBottom_ - 1);
    for (int64_t y = y0; y <= y1; ++y)
      Span(static_cast<int>(y), 0, width_ - 1, brushValue, ModeFor(xorMode));
  }
}

void RasterCanvas::Rectangle(int left, int top, int right, int bottom) {
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (left == right || top == bottom) return;
  const int grow = pen_.Width / 2;
  const int64_t l = static_cast<int64_t>(left) - grow;
  const int64_t r = static_cast<int64_t>(right) + grow - 1;
  const int64_t shapeTop = static_cast<int64_t>(top) - grow;
  const int64_t shapeBottom = static_cast<int64_t>(bottom) + grow - 1;
  PaintShape(
      shapeTop, shapeBottom, pen_.Width,
      [l, r](int64_t first, int64_t last, std::pair<int64_t, int64_t>* spans) {
        for (int64_t y = first; y <= last; ++y)
          spans[y] = {l, r};
      },
      shapeTop, shapeBottom);
}

void RasterCanvas::Polygon(const std::vector<PixelPoint>& points) {
  const std::size_t n = points.size();
  if (n < 2) return;
  const bool xorMode = pen_.Mode == PenMode::Xor;
  const WriteMode mode = ModeFor(xorMode);
  if (brush_.Style == BrushStyle::Solid && n >= 3) {
    const uint32_t value = xorMode ? (PixelOfColor(brush_.Color) & RgbMask) : PixelOfColor(brush_.Color);
    // The edges that cross some pixel centre line, each kept with its first point as given, so
    // that the crossings are worked out exactly as from the points themselves.
    edgeScratch_.clear();
    int64_t minY = points[0].Y, maxY = points[0].Y;
    for (std::size_t k = 0; k < n; ++k) {
      const PixelPoint& a = points[k];
      const PixelPoint& b = points[k + 1 == n ? 0 : k + 1];
      minY = std::min<int64_t>(minY, a.Y);
      maxY = std::max<int64_t>(maxY, a.Y);
      if (a.Y == b.Y) continue;
      // Row y's centre line y + ½ meets the edge when its lower end is at or above y and its
      // upper end below y + 1.
      edgeScratch_.push_back(FillEdge{static_cast<double>(a.X), static_cast<double>(a.Y),
                                      static_cast<double>(b.X) - a.X, static_cast<double>(b.Y) - a.Y,
                                      std::min(a.Y, b.Y), std::max(a.Y, b.Y)});
    }
    const int64_t y0 = std::max<int64_t>(minY, clipTop_);
    const int64_t y1 = std::min<int64_t>(maxY, clipBottom_) - 1;
    for (int64_t y = y0; y <= y1; ++y) {
      // Pixel centres of this row inside the outline, by the even-odd rule.
      const double yc = static_cast<double>(y) + 0.5;
      crossScratch_.clear();
      for (const FillEdge& e : edgeScratch_) {
        if (e.Low <= y && y < e.High) {
          const double x = e.AX + (yc - e.AY) * e.DX / e.DY;
          // Kept in order as they come; a row meets few edges.
          crossScratch_.push_back(x);
          for (std::size_t k = crossScratch_.size() - 1; k > 0 && crossScratch_[k - 1] > x; --k)
            std::swap(crossScratch_[k - 1], crossScratch_[k]);
        }
      }
      for (std::size_t k = 0; k + 1 < crossScratch_.size(); k += 2) {
        // The first pixel whose centre is at or right of the crossing, up to the last left of the next.
        const int64_t xa = std::max<int64_t>(CeilToInt(crossScratch_[k] - 0.5), 0);
        const int64_t xb = std::min<int64_t>(CeilToInt(crossScratch_[k + 1] - 0.5) - 1, width_ - 1);
        if (xa <= xb) Span(static_cast<int>(y), static_cast<int>(xa), static_cast<int>(xb), value, mode);
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

namespace drex {

const TextRuns* RasterCanvas::TextRunsOf(const std::string&) { return nullptr; }

uint64_t RasterCanvas::TextRunsGeneration() const { return 0; }

void RasterCanvas::TextOut(int x, int y, const std::string& text) {
  if (const TextRuns* runs = TextRunsOf(text)) PaintTextRuns(x, y, *runs);
}

int RasterCanvas::TextWidth(const std::string& text) {
  const TextRuns* runs = TextRunsOf(text);
  return runs != nullptr ? runs->Width : 0;
}

void RasterCanvas::PaintTextRuns(int x, int y, const TextRuns& r) {
  if (brush_.Style == BrushStyle::Solid) {
    const auto end = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
    FillRect(x, y, end(static_cast<int64_t>(x) + r.Width), end(static_cast<int64_t>(y) + r.Height));
  }
  const uint32_t value = PixelOfColor(font_.Color);
  const int64_t left = static_cast<int64_t>(x) + r.Left, right = static_cast<int64_t>(x) + r.Right;
  const int64_t top = static_cast<int64_t>(y) + r.Top, bottom = static_cast<int64_t>(y) + r.Bottom;
  if (left > right || right < 0 || left >= width_ || bottom < clipTop_ || top >= clipBottom_) return;
  // The runs come row by row: those of the rows drawn are found by their row alone.
  const int64_t firstRow = std::max<int64_t>(top, clipTop_) - y,
                lastRow = std::min<int64_t>(bottom, clipBottom_ - 1) - y;
  const auto first = std::lower_bound(r.Runs.begin(), r.Runs.end(), firstRow,
                                      [](const TextRuns::Run& run, int64_t row) { return run.Y < row; });
  const PixelSink sink{bits_, keys_, key_};
  const std::ptrdiff_t origin = static_cast<std::ptrdiff_t>(y) * stride_ + x;
  const auto stop =
      std::upper_bound(first, r.Runs.end(), lastRow, [](int64_t row, const TextRuns::Run& run) { return row < run.Y; });
  const TextRuns::Run* runs = r.Runs.data() + (first - r.Runs.begin());
  WithMode(ModeFor(false), [&](auto tag) {
    PaintRuns<decltype(tag)::value>(sink, runs, static_cast<std::size_t>(stop - first), origin, stride_,
                                    -static_cast<int64_t>(x), static_cast<int64_t>(width_) - 1 - x, value);
  });
}

void RasterCanvas::UseLayer(LayerUse use, int index) {
  Layer* layer = index >= 0 && index < LayerCount ? &(*layers_)[static_cast<std::size_t>(index)] : nullptr;
  const std::size_t size = static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_);
  if (layer != nullptr && (layer->Pixels.size() != size || layer->Keys.size() != size)) layer = nullptr;
  bits_ = picture_;
  keys_ = nullptr;
  keyMode_ = WriteMode::Copy;
  if (layer == nullptr || use == LayerUse::Picture) return;
  const std::size_t first = static_cast<std::size_t>(clipTop_) * static_cast<std::size_t>(stride_);
  const std::size_t last = static_cast<std::size_t>(clipBottom_) * static_cast<std::size_t>(stride_);
  switch (use) {
  case LayerUse::Picture:
    return;
  case LayerUse::Build:
    std::fill(layer->Keys.begin() + static_cast<std::ptrdiff_t>(first),
              layer->Keys.begin() + static_cast<std::ptrdiff_t>(last), uint16_t{0});
    bits_ = layer->Pixels.data();
    keys_ = layer->Keys.data();
    keyMode_ = WriteMode::Store;
    return;
  case LayerUse::Restore:
    std::copy(layer->Pixels.begin() + static_cast<std::ptrdiff_t>(first),
              layer->Pixels.begin() + static_cast<std::ptrdiff_t>(last), picture_ + first);
    return;
  case LayerUse::Overlay: {
    // The layer's buffers are its own: the picture shares no memory with them, which lets the loop
    // run on whole vectors of pixels.
    const int width = width_;
    for (int y = clipTop_; y < clipBottom_; ++y) {
      const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(stride_);
      const uint16_t* __restrict keys = layer->Keys.data() + row;
      const uint32_t* __restrict pixels = layer->Pixels.data() + row;
      uint32_t* __restrict out = picture_ + row;
      for (int x = 0; x < width; ++x)
        out[x] = keys[x] != 0 ? pixels[x] : out[x];
    }
    return;
  }
  case LayerUse::Over:
    keys_ = layer->Keys.data();
    keyMode_ = WriteMode::Test;
    return;
  }
}

void RasterCanvas::ReplayBand(const PaintList& list, const std::vector<const TextRuns*>* texts, bool streamed) {
  UseLayer(LayerUse::Picture, 0);
  key_ = 0;
  PaintList& source = const_cast<PaintList&>(list);
  ReplayList(
      list, *this,
      [&](int x, int y, const PaintOp& op) {
        const TextRuns* runs = texts != nullptr ? (*texts)[static_cast<std::size_t>(op.C)] : list.RunsOf(op);
        if (runs != nullptr) PaintTextRuns(x, y, *runs);
      },
      [&](const PaintOp& op) {
        if (op.Kind == PaintOpKind::Key)
          key_ = static_cast<uint16_t>(op.A);
        else
          UseLayer(static_cast<LayerUse>(op.Small), op.A);
      },
      [&](std::size_t from) { return streamed ? source.Readable(from) : list.Ops().size(); });
  UseLayer(LayerUse::Picture, 0);
}

void RasterCanvas::KeepLayers() {
  const std::size_t size = static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height_);
  for (Layer& layer : ownLayers_) {
    layer.Pixels.resize(size);
    layer.Keys.resize(size);
  }
}

void RasterCanvas::LayersNeeded() { KeepLayers(); }

const TextRuns* RasterCanvas::RunsForText(int index, const std::string& text, const CanvasFont& font) {
  // A drawing mostly repeats the texts of the one before in the same places: those are taken
  // from the last one's lookups while the runs it found are still kept.
  const uint64_t generation = TextRunsGeneration();
  if (generation != textMemoGeneration_) {
    textMemo_.clear();
    textMemoGeneration_ = generation;
  }
  if (index < 0) return nullptr;
  if (textMemo_.size() <= static_cast<std::size_t>(index)) textMemo_.resize(static_cast<std::size_t>(index) + 1);
  KeptText& kept = textMemo_[static_cast<std::size_t>(index)];
  if (kept.Valid && kept.Text == text && kept.Font == font.Name && kept.Scale == font.Scale && kept.Halo == font.Halo)
    return kept.Runs;
  SetFont(font);
  const TextRuns* runs = TextRunsOf(text);
  // Looking up may have started the kept runs afresh.
  if (TextRunsGeneration() != textMemoGeneration_) {
    textMemo_.clear();
    textMemoGeneration_ = TextRunsGeneration();
    textMemo_.resize(static_cast<std::size_t>(index) + 1);
  }
  textMemo_[static_cast<std::size_t>(index)] = KeptText{text, font.Name, font.Scale, font.Halo, runs, true};
  return runs;
}

int RasterCanvas::SetUpBands() {
  const int bands = std::clamp(height_ / MinBandRows, 1, maxBands_);
  if (static_cast<int>(bandEdges_.size()) != bands + 1) {
    bandEdges_.resize(static_cast<std::size_t>(bands) + 1);
    for (int b = 0; b <= bands; ++b)
      bandEdges_[static_cast<std::size_t>(b)] = static_cast<int>(static_cast<int64_t>(height_) * b / bands);
  }
  while (static_cast<int>(bands_.size()) < bands)
    bands_.push_back(std::make_unique<RasterCanvas>(nullptr, 0, 0, 0));
  for (int b = 0; b < bands; ++b) {
    RasterCanvas& band = *bands_[static_cast<std::size_t>(b)];
    band.Attach(picture_, width_, height_, stride_);
    band.layers_ = layers_;
    band.ClipRows(bandEdges_[static_cast<std::size_t>(b)], bandEdges_[static_cast<std::size_t>(b) + 1]);
    band.curX_ = curX_;
    band.curY_ = curY_;
    band.dashPhase_ = dashPhase_;
  }
  bandSeconds_.assign(static_cast<std::size_t>(bands), 0.0);
  if (bands > 1 && (workers_ == nullptr || workers_->Helpers() < bands - 1))
    workers_ = std::make_unique<PaintWorkers>(maxBands_ - 1);
  return bands;
}

void RasterCanvas::BeginPaint(PaintList& list) {
  // The other bands start painting what is recorded while the calling thread records the rest
  // and looks up the texts; it paints the first band once the drawing is done.
  streamBands_ = SetUpBands();
  streamed_ = &list;
  streamStart_ = std::chrono::steady_clock::now();
  list.StartStreaming(*this, streamBands_ - 1);
  if (streamBands_ == 1) return;
  streamTask_ = [this, &list](int b) {
    const auto start = std::chrono::steady_clock::now();
    bands_[static_cast<std::size_t>(b)]->ReplayBand(list, nullptr, true);
    bandSeconds_[static_cast<std::size_t>(b)] =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  };
  workers_->Start(streamBands_, streamTask_);
}

void RasterCanvas::Paint(const PaintList& list) {
  if (list.UsesLayers()) KeepLayers();
  int bands = 0;
  if (streamed_ == &list) {
    streamed_ = nullptr;
    bands = streamBands_;
    PaintList& source = const_cast<PaintList&>(list);
    source.Finish();
    // The first band's cost includes the recording it waited for, so that the bands end together.
    const auto start = std::chrono::steady_clock::now();
    const double recording = std::chrono::duration<double>(start - streamStart_).count();
    std::exception_ptr failure;
    try {
      bands_.front()->ReplayBand(list, nullptr, false);
    } catch (...) {
      failure = std::current_exception();
    }
    bandSeconds_[0] =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() + (bands > 1 ? recording : 0);
    if (bands > 1) {
      try {
        workers_->Wait();
      } catch (...) {
        if (!failure) failure = std::current_exception();
      }
    }
    if (failure) std::rethrow_exception(failure);
  } else {
    // A drawing recorded without BeginPaint: its texts are looked up first.
    preparedTexts_.assign(static_cast<std::size_t>(list.TextCount()), nullptr);
    const CanvasFont* font = &list.StartFont();
    for (const PaintOp& op : list.Ops()) {
      if (op.Kind == PaintOpKind::Font)
        font = &list.FontOf(op);
      else if (op.Kind == PaintOpKind::Text)
        preparedTexts_[static_cast<std::size_t>(op.C)] = RunsForText(op.C, list.TextOf(op), *font);
    }
    bands = SetUpBands();
    const std::function<void(int)> task = [&](int b) {
      const auto start = std::chrono::steady_clock::now();
      bands_[static_cast<std::size_t>(b)]->ReplayBand(list, &preparedTexts_, false);
      bandSeconds_[static_cast<std::size_t>(b)] =
          std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    if (bands == 1)
      task(0);
    else
      workers_->Run(bands, task);
  }
  if (bands > 1) BalanceBands(bandSeconds_);
  const RasterCanvas& first = *bands_.front();
  curX_ = first.curX_;
  curY_ = first.curY_;
  dashPhase_ = first.dashPhase_;
  SetPen(list.Pen());
  SetBrush(list.Brush());
  SetFont(list.Font());
  if (list.LayerStamp() != 0) layerStamp_ = list.LayerStamp();
}

void RasterCanvas::BalanceBands(const std::vector<double>& seconds) {
  const int n = static_cast<int>(seconds.size());
  if (n < 2 || static_cast<int>(bandEdges_.size()) != n + 1 || height_ <= 0) return;
  // The cost of the picture's rows, kept per slice of CostSliceRows rows: each band's time is
  // shared among its slices in the proportions they had, so the profile learns where the work
  // lies as the edges move, and a few busy rows end up split between two bands.
  const int slices = (height_ + CostSliceRows - 1) / CostSliceRows;
  if (static_cast<int>(rowCost_.size()) != slices) rowCost_.assign(static_cast<std::size_t>(slices), 1.0);
  auto sliceRows = [&](int s, int top, int bottom) {
    const int a = std::max(top, s * CostSliceRows), b = std::min(bottom, (s + 1) * CostSliceRows);
    return std::max(0, b - a);
  };
  for (int b = 0; b < n; ++b) {
    const int top = bandEdges_[static_cast<std::size_t>(b)], bottom = bandEdges_[static_cast<std::size_t>(b) + 1];
    double before = 0;
    for (int s = top / CostSliceRows; s < slices && s * CostSliceRows < bottom; ++s)
      before += rowCost_[static_cast<std::size_t>(s)] * sliceRows(s, top, bottom) / CostSliceRows;
    const double scale = before > 0 ? seconds[static_cast<std::size_t>(b)] / before : 0;
    for (int s = top / CostSliceRows; s < slices && s * CostSliceRows < bottom; ++s) {
      // A slice shared by two bands takes the part of each that lies in it.
      const double part = static_cast<double>(sliceRows(s, top, bottom)) / CostSliceRows;
      double& cost = rowCost_[static_cast<std::size_t>(s)];
      cost = cost * (1 - part) + cost * scale * part;
      cost = std::max(cost, 1e-9);
    }
  }
  double total = 0;
  for (double c : rowCost_)
    total += c;
  std::vector<int> edges(bandEdges_);
  int s = 0;
  double before = 0;
  for (int k = 1; k < n; ++k) {
    const double want = total * k / n;
    while (s < slices - 1 && before + rowCost_[static_cast<std::size_t>(s)] < want)
      before += rowCost_[static_cast<std::size_t>(s++)];
    const double share = std::clamp((want - before) / rowCost_[static_cast<std::size_t>(s)], 0.0, 1.0);
    edges[static_cast<std::size_t>(k)] = static_cast<int>(std::lround((s + share) * CostSliceRows));
  }
  for (int k = 1; k < n; ++k) {
    const int low = edges[static_cast<std::size_t>(k) - 1] + MinBandRows;
    const int high = height_ - (n - k) * MinBandRows;
    edges[static_cast<std::size_t>(k)] = std::clamp(edges[static_cast<std::size_t>(k)], low, std::max(low, high));
  }
  bandEdges_ = edges;
}

} // namespace drex
