#include "view/view_transform.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <climits>
#include <cmath>

#include "expr/polynomial.h"
#include "kernel/construction.h"

namespace drex {

namespace {

/// Units per pixel below this mean the whole construction sits in one spot.
constexpr long double FitPointBoxTol = 0.00001L;
/// The box spans 1/FitMargin of the area along the tighter direction.
constexpr long double FitMargin = 1.1L;
/// Samples of a polynomial's curve the box takes in, as many as its drawing has.
constexpr int CurveSamples = 101;

int16_t ClampOffset(long long value) {
  return static_cast<int16_t>(std::clamp<long long>(value, -MaxViewOffset, MaxViewOffset));
}

} // namespace

ViewArea MakeViewArea(int width, int height, const TViewState& view) {
  ViewArea area;
  area.Width = std::max(width, 0);
  area.Height = std::max(height, 0);
  area.CentreX = area.Width / 2;
  area.CentreY = area.Height / 2;
  const int w = area.Width;
  const int h = area.Height;
  area.VisibleCorners = {ScreenToWorld(view, area, 0, 0), ScreenToWorld(view, area, w, 0),
                         ScreenToWorld(view, area, w, h), ScreenToWorld(view, area, 0, h),
                         ScreenToWorld(view, area, 0, 0)};
  return area;
}

Point2 WorldToScreen(const TViewState& view, const ViewArea& area, Point2 world) {
  const double sx = world.x * view.Zoom + (static_cast<double>(view.OrgX) + area.CentreX);
  const double sy = area.CentreY - (world.y * view.Zoom + view.OrgY);
  return {sx, sy};
}

Point2 ScreenToWorld(const TViewState& view, const ViewArea& area, int px, int py) {
  // Pixel sums in double: the integers may be anything a mouse event or a caller passes.
  const double x = (static_cast<double>(px) - area.CentreX - view.OrgX) / view.Zoom;
  const double y = (static_cast<double>(area.CentreY) - py - view.OrgY) / view.Zoom;
  return {x, y};
}

int RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
  if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
#if defined(__SSE2__)
  // One conversion in the processor's rounding mode, to nearest with ties to even, which every
  // thread of the program keeps.
  return _mm_cvtsd_si32(_mm_set_sd(value));
#else
  return static_cast<int>(std::nearbyint(value));
#endif
}

bool ZoomIn(TViewState& view) {
  if (!(view.Zoom < ZoomInLimit)) return false;
  view.Zoom *= ZoomInFactor;
  return true;
}

bool ZoomOut(TViewState& view) {
  if (!(view.Zoom > ZoomOutLimit)) return false;
  view.Zoom *= ZoomOutFactor;
  return true;
}

bool ZoomAbout(TViewState& view, const ViewArea& area, int px, int py, bool in) {
  const Point2 fixed = ScreenToWorld(view, area, px, py);
  if (!(in ? ZoomIn(view) : ZoomOut(view))) return false;
  const auto offset = [](double v) {
    return ClampOffset(std::isfinite(v) ? RoundHalfEven(std::clamp(v, -1e9, 1e9)) : 0);
  };
  view.OrgX = offset(static_cast<double>(px) - area.CentreX - fixed.x * view.Zoom);
  view.OrgY = offset(static_cast<double>(area.CentreY) - py - fixed.y * view.Zoom);
  return true;
}

void ZoomEqual(TViewState& view) {
  view.Zoom = 1.0;
  view.OrgX = 0;
  view.OrgY = 0;
}

void FitView(TViewState& view, const Construction& doc, int width, int height, int unitLength) {
  long double minX = 0, maxX = 0, minY = 0, maxY = 0;
  const auto include = [&](bool first, long double x0, long double x1, long double y0, long double y1) {
    minX = first ? x0 : std::min(minX, x0);
    maxX = first ? x1 : std::max(maxX, x1);
    minY = first ? y0 : std::min(minY, y0);
    maxY = first ? y1 : std::max(maxY, y1);
  };
  const double unit = unitLength > 0 ? unitLength : 1;
  const int count = std::clamp<int>(doc.ObjCount, 0, MaxObjects);
  for (int k = 1; k <= count; ++k) {
    const TGeomObject& o = doc[k];
    long double r = 0;
    if (o.Kind == okCircle) r = Distance({o.X1, o.Y1}, {o.X2, o.Y2});
    const long double x = o.X1;
    const long double y = o.Y1;
    include(k == 1, x - r, x + r, y - r, y + r);
    if (!o.Defined) continue;
    if (o.Kind == okPolynomial) {
      // The curve as drawn: its samples between the smallest and the largest node.
      const int nodes = std::clamp<int>(o.RefCount, 0, MaxPolynomialNodes);
      const double a = o.ExtA(), b = o.ExtB();
      for (int i = 0; i < CurveSamples && nodes > 0; ++i) {
        const double t = a + i * (b - a) / (CurveSamples - 1);
        const double v = EvalPolynomial(nodes, &o.Param[6], t);
        if (std::isfinite(t) && std::isfinite(v)) include(false, t * unit, t * unit, v * unit, v * unit);
      }
    } else if (o.Kind == okFunction) {
      // The extent of the samples the last drawing computed (largest before smallest).
      const double xMax = o.ExtA(), xMin = o.ExtB(), yMax = o.ExtC(), yMin = o.ExtD();
      if (std::isfinite(xMax) && std::isfinite(xMin) && std::isfinite(yMax) && std::isfinite(yMin) && xMin <= xMax &&
          yMin <= yMax)
        include(false, xMin * unit, xMax * unit, yMin * unit, yMax * unit);
    }
  }

  long double f = 1;
  if (width > 0 && height > 0) {
    f = std::max(std::fabs(maxX - minX) / width, std::fabs(maxY - minY) / height);
    // A non-finite or NaN coordinate makes the box meaningless: one unit per pixel then.
    if (!std::isfinite(f)) f = 1;
  }
  if (std::fabs(f) < FitPointBoxTol) f = 1;

  double zoom = static_cast<double>(1 / (FitMargin * f));
  if (!(zoom >= MinFitZoom)) zoom = MinFitZoom;
  view.Zoom = zoom;
  const long double cx = (minX + maxX) / 2 * zoom;
  const long double cy = (minY + maxY) / 2 * zoom;
  const auto offset = [](long double centre) {
    if (!std::isfinite(centre)) return 0;
    return -RoundHalfEven(static_cast<double>(std::clamp<long double>(centre, -1e9L, 1e9L)));
  };
  view.OrgX = ClampOffset(offset(cx));
  view.OrgY = ClampOffset(offset(cy));
}

void PanView(TViewState& view, int dX, int dY) {
  view.OrgX = ClampOffset(static_cast<long long>(view.OrgX) + dX);
  view.OrgY = ClampOffset(static_cast<long long>(view.OrgY) - dY);
}

} // namespace drex
