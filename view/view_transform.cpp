#include "view/view_transform.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "kernel/construction.h"

namespace drex {

namespace {

/// Units per pixel below this mean the whole construction sits in one spot.
constexpr long double FitPointBoxTol = 0.00001L;
/// The box spans 1/FitMargin of the area along the tighter direction.
constexpr long double FitMargin = 1.1L;

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
  const double below = std::floor(value);
  const double fraction = value - below; // exact for values in the int range
  double rounded = below;
  if (fraction > 0.5) {
    rounded = below + 1;
  } else if (fraction == 0.5) {
    rounded = std::fmod(below, 2.0) == 0 ? below : below + 1;
  }
  return static_cast<int>(std::clamp(rounded, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
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

void ZoomEqual(TViewState& view) {
  view.Zoom = 1.0;
  view.OrgX = 0;
  view.OrgY = 0;
}

void FitView(TViewState& view, const Construction& doc, int width, int height) {
  long double minX = 0, maxX = 0, minY = 0, maxY = 0;
  const int count = std::clamp<int>(doc.ObjCount, 0, MaxObjects);
  for (int k = 1; k <= count; ++k) {
    const TGeomObject& o = doc[k];
    long double r = 0;
    if (o.Kind == okCircle) r = Distance({o.X1, o.Y1}, {o.X2, o.Y2});
    const long double x = o.X1;
    const long double y = o.Y1;
    if (k == 1) {
      minX = x - r;
      maxX = x + r;
      minY = y - r;
      maxY = y + r;
    } else {
      minX = std::min(minX, x - r);
      maxX = std::max(maxX, x + r);
      minY = std::min(minY, y - r);
      maxY = std::max(maxY, y + r);
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
