#include "view/smooth_raster.h"

#include <algorithm>
#include <cmath>

#include "view/raster_canvas.h"

namespace drex {
namespace {

/// Coverage 0..255 of a fraction, clamped.
inline uint32_t CoverageOf(double fraction) {
  if (!(fraction > 0)) return 0;
  if (fraction >= 1) return 255;
  return static_cast<uint32_t>(fraction * 255 + 0.5);
}

/// How much of the pixel `along` pixels into the outline the dash pattern lets through: 1 well
/// inside an "on" run, 0 well inside an "off" run, in between within half a pixel of a run's end.
double DashCover(const SmoothPen& pen, double along) {
  if (pen.Period <= 0) return 1;
  double u = along - std::floor(along / pen.Period) * pen.Period;
  double start = 0;
  for (int r = 0; r < pen.Count; ++r) {
    const double end = start + pen.Runs[r];
    if (u < end || r + 1 == pen.Count) {
      // The nearest run end, the pattern's own start counted from the end of its last run.
      const double nearest = std::min({u - start, end - u, u + pen.Period - end});
      return r % 2 == 0 ? std::min(1.0, 0.5 + nearest) : std::max(0.0, 0.5 - nearest);
    }
    start = end;
  }
  return 1;
}

/// Floor and ceiling held to the int range (so a far value cannot overflow the loop counters).
int FloorClamped(double v, int lo, int hi) {
  if (!(v > lo)) return lo;
  if (v >= hi) return hi;
  return static_cast<int>(std::floor(v));
}
int CeilClamped(double v, int lo, int hi) {
  if (!(v > lo)) return lo;
  if (v >= hi) return hi;
  return static_cast<int>(std::ceil(v));
}

/// One segment a–b of a stroke: pixels whose centres project into [0, length) along it (a little
/// beyond at an open end, with the end's edge antialiased), by their distance from its middle.
/// Where the previous segment `before`–a ends at a, the pixels neither segment reaches on the outer
/// side of the turn are covered by their distance from a: a round join that overlaps nothing.
void Segment(const PixelBuffer& buf, const Point2* before, Point2 a, Point2 b, bool openEnd, double offset,
             const SmoothPen& pen) {
  const bool openStart = before == nullptr;
  double bx = 0, by = 0, beforeLength = 0;
  if (before != nullptr) {
    beforeLength = std::hypot(a.x - before->x, a.y - before->y);
    if (beforeLength > 1e-9) {
      bx = (a.x - before->x) / beforeLength;
      by = (a.y - before->y) / beforeLength;
    }
  }
  const double dx = b.x - a.x, dy = b.y - a.y;
  const double length = std::hypot(dx, dy);
  if (!(length > 1e-9) || !std::isfinite(length)) return;
  const double ux = dx / length, uy = dy / length;
  const double hw = pen.HalfWidth;
  // Pixels whose centres lie farther from the middle line than this have no cover.
  const double reach = hw + 0.5;
  const bool steep = std::fabs(dy) > std::fabs(dx);
  // Walk the longer axis; across it, the pixels within reach of the middle line.
  const double majorA = steep ? a.y : a.x, majorB = steep ? b.y : b.x;
  const double minorA = steep ? a.x : a.y;
  const double slope = steep ? dx / dy : dy / dx; // minor per major
  const double cosine = steep ? std::fabs(uy) : std::fabs(ux);
  const double across = reach / cosine;
  const int majorSize = steep ? buf.Height : buf.Width;
  const int minorSize = steep ? buf.Width : buf.Height;
  const int m0 = FloorClamped(std::min(majorA, majorB) - reach - 0.5, 0, majorSize - 1);
  const int m1 = CeilClamped(std::max(majorA, majorB) + reach - 0.5, 0, majorSize - 1);
  const double tPerMinor = steep ? ux : uy;
  for (int m = m0; m <= m1; ++m) {
    const double centre = minorA + (m + 0.5 - majorA) * slope;
    const int n0 = FloorClamped(centre - across - 0.5, 0, minorSize - 1);
    const int n1 = CeilClamped(centre + across - 0.5, 0, minorSize - 1);
    // A column all of whose pixels lie along the segment's length, away from its ends: the
    // distance from the middle line steps by a constant from pixel to pixel, and the dash pattern
    // is read once, where the middle line crosses the column (so dashes end across the longer
    // axis, as the aliased ones do).
    const double tMiddle = (m + 0.5 - majorA) / (steep ? uy : ux);
    const double dash = DashCover(pen, offset + tMiddle);
    if (dash <= 0) continue;
    {
      const int xs = steep ? n0 : m, ys = steep ? m : n0;
      const double rx = xs + 0.5 - a.x, ry = ys + 0.5 - a.y;
      const double tFirst = rx * ux + ry * uy, tLast = tFirst + (n1 - n0) * tPerMinor;
      if (std::min(tFirst, tLast) >= 0 && std::max(tFirst, tLast) < length) {
        double cross = rx * uy - ry * ux;
        const double crossStep = steep ? uy : -ux;
        const std::ptrdiff_t step = steep ? 1 : buf.Stride;
        uint32_t* pixel = buf.Bits + static_cast<std::ptrdiff_t>(ys) * buf.Stride + xs;
        for (int n = n0; n <= n1; ++n, cross += crossStep, pixel += step) {
          const uint32_t c = CoverageOf((hw + 0.5 - std::fabs(cross)) * dash);
          if (c != 0) *pixel = BlendPixel(*pixel, pen.Ink, c);
        }
        continue;
      }
    }
    for (int n = n0; n <= n1; ++n) {
      const int x = steep ? n : m, y = steep ? m : n;
      const double rx = x + 0.5 - a.x, ry = y + 0.5 - a.y;
      const double t = rx * ux + ry * uy;
      double cover = hw + 0.5 - std::fabs(rx * uy - ry * ux);
      if (cover <= 0) continue;
      if (t < 0) {
        if (openStart) {
          cover = std::min(cover, t + 0.5);
        } else {
          // Beyond the previous segment's end too: the join's share.
          const double tb = (x + 0.5 - before->x) * bx + (y + 0.5 - before->y) * by;
          if (tb < beforeLength) continue;
          cover = hw + 0.5 - std::sqrt(rx * rx + ry * ry);
          if (cover <= 0) continue;
        }
      } else if (t >= length) {
        if (!openEnd) continue;
        cover = std::min(cover, length - t + 0.5);
      }
      const uint32_t c = CoverageOf(cover * dash);
      if (c == 0) continue;
      uint32_t& pixel = buf.Bits[static_cast<std::ptrdiff_t>(y) * buf.Stride + x];
      pixel = BlendPixel(pixel, pen.Ink, c);
    }
  }
}

} // namespace

SmoothPen SmoothPenOf(const CanvasPen& canvasPen) {
  SmoothPen pen;
  pen.Ink = PixelOfColor(canvasPen.Color);
  const int width = ClampPenWidth(canvasPen.Width);
  pen.HalfWidth = width / 2.0;
  const DashPattern dashes = DashPatternOf(canvasPen.Style);
  pen.Count = dashes.Count;
  for (int r = 0; r < dashes.Count; ++r) {
    pen.Runs[r] = static_cast<double>(dashes.Runs[r]) * width;
    pen.Period += pen.Runs[r];
  }
  return pen;
}

void StrokeSmooth(const PixelBuffer& buffer, const Point2* points, std::size_t count, bool closed, double offset,
                  const SmoothPen& pen) {
  if (count < 2 || buffer.Width <= 0 || buffer.Height <= 0) return;
  const std::size_t segments = closed ? count : count - 1;
  double along = offset;
  for (std::size_t k = 0; k < segments; ++k) {
    const Point2 a = points[k], b = points[(k + 1) % count];
    const Point2* before = k > 0 ? &points[k - 1] : (closed ? &points[count - 1] : nullptr);
    Segment(buffer, before, a, b, !closed && k + 1 == segments, along, pen);
    along += std::hypot(b.x - a.x, b.y - a.y);
  }
}

void CircleSmooth(const PixelBuffer& buf, double cx, double cy, double r, const SmoothPen& pen, bool fill,
                  uint32_t fillInk) {
  if (buf.Width <= 0 || buf.Height <= 0 || !(r >= 0) || !std::isfinite(r) || !std::isfinite(cx) || !std::isfinite(cy))
    return;
  const double hw = pen.HalfWidth;
  // Pixels farther from the ring's middle than half its width and half a pixel have no cover.
  const double outer = r + hw + 0.5, inner = r - hw - 0.5;
  const int y0 = FloorClamped(cy - outer - 0.5, 0, buf.Height - 1);
  const int y1 = CeilClamped(cy + outer - 0.5, 0, buf.Height - 1);
  for (int y = y0; y <= y1; ++y) {
    const double ry = y + 0.5 - cy;
    if (std::fabs(ry) >= outer) continue;
    const double xo = std::sqrt(outer * outer - ry * ry);
    const int xl = FloorClamped(cx - xo - 0.5, 0, buf.Width - 1);
    const int xr = CeilClamped(cx + xo - 0.5, 0, buf.Width - 1);
    // Pixels deeper inside than the ring reaches: the fill alone, at full cover.
    int il = xr + 1, ir = xr;
    if (std::fabs(ry) < inner) {
      const double xi = std::sqrt(inner * inner - ry * ry);
      il = std::max(xl, CeilClamped(cx - xi - 0.5, 0, buf.Width));
      ir = std::min(xr, FloorClamped(cx + xi - 0.5, -1, buf.Width - 1));
      if (il > ir) {
        il = xr + 1;
        ir = xr;
      }
    }
    uint32_t* row = buf.Bits + static_cast<std::ptrdiff_t>(y) * buf.Stride;
    if (fill && il <= ir) std::fill(row + il, row + ir + 1, fillInk);
    const auto edge = [&](int from, int to) {
      for (int x = from; x <= to; ++x) {
        const double rx = x + 0.5 - cx;
        const double d = std::sqrt(rx * rx + ry * ry);
        uint32_t& pixel = row[x];
        if (fill) {
          const uint32_t c = CoverageOf(r - d + 0.5);
          if (c > 0) pixel = BlendPixel(pixel, fillInk, c);
        }
        const uint32_t c = CoverageOf(hw + 0.5 - std::fabs(d - r));
        if (c > 0) pixel = BlendPixel(pixel, pen.Ink, c);
      }
    };
    edge(xl, std::min(xr, il - 1));
    edge(std::max(xl, ir + 1), xr);
  }
}

} // namespace drex
