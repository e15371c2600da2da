#include "expr/polyline_solids.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "kernel/math2d.h"

namespace drex {

namespace {

constexpr long double Pi = 3.14159265358979323846264338327950288L;
// A crossing closer than this to an end of its segment is that end and splits nothing.
constexpr double CrossingEndTolerance = 0.0001;
// A side's part of a volume smaller than this share of the other side's is rounding, not a part.
constexpr long double SideTolerance = 1e-9L;

// Appends to `out` the axis crossings strictly inside the segment p -> q, nearest to p first.
void AppendAxisCrossings(Point2 p, Point2 q, std::vector<Point2>& out) {
  const double length = Distance(p, q);
  const PointResult candidates[2] = {IntersectLines(p, q, {-10, 0}, {10, 0}), IntersectLines(p, q, {0, -10}, {0, 10})};
  Point2 found[2];
  double along[2];
  int count = 0;
  for (const PointResult& c : candidates) {
    if (c.Failed || !InBox(p, q, c.Point)) continue;
    const double d = Distance(p, c.Point);
    if (std::fabs(d) < CrossingEndTolerance || std::fabs(d - length) < CrossingEndTolerance) continue;
    found[count] = c.Point;
    along[count] = d;
    ++count;
  }
  if (count == 2 && along[1] < along[0]) {
    out.push_back(found[1]);
    out.push_back(found[0]);
  } else {
    for (int i = 0; i < count; ++i)
      out.push_back(found[i]);
  }
}

} // namespace

bool SidesCancel(long double positive, long double negative) {
  if (!(positive * negative < 0)) return false;
  const long double small = std::min(std::fabs(positive), std::fabs(negative));
  const long double large = std::max(std::fabs(positive), std::fabs(negative));
  return small > SideTolerance * large;
}

SolidValues PolylineSolids(const double* xs, const double* ys, int n) {
  SolidValues result;
  if (n < 2 || xs == nullptr || ys == nullptr) return result;

  std::vector<Point2> pts;
  pts.reserve(static_cast<std::size_t>(n) * 3);
  for (int i = 0; i < n; ++i) {
    const Point2 p{xs[i], ys[i]};
    pts.push_back(p);
    if (i + 1 < n) AppendAxisCrossings(p, {xs[i + 1], ys[i + 1]}, pts);
  }

  // After the split every piece lies on one side of each axis (or on it), so the sign of the sum
  // of its ends' coordinates tells the side.
  long double surfaceOx = 0, surfaceOy = 0;
  long double volumeOx[2] = {0, 0}, volumeOy[2] = {0, 0}; // [0] positive side, [1] negative side
  for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
    const long double x1 = pts[i].x, y1 = pts[i].y;
    const long double x2 = pts[i + 1].x, y2 = pts[i + 1].y;
    const long double s = std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
    surfaceOx += Pi * std::fabs(y1 + y2) * s;
    surfaceOy += Pi * std::fabs(x1 + x2) * s;
    volumeOx[y1 + y2 < 0 ? 1 : 0] += (y1 * y1 + y1 * y2 + y2 * y2) * (x2 - x1);
    volumeOy[x1 + x2 < 0 ? 1 : 0] += (x1 * x1 + x1 * x2 + x2 * x2) * (y2 - y1);
  }
  result.SurfaceOx = static_cast<double>(surfaceOx);
  result.SurfaceOy = static_cast<double>(surfaceOy);
  result.VolumeOxKnown = !SidesCancel(volumeOx[0], volumeOx[1]);
  result.VolumeOyKnown = !SidesCancel(volumeOy[0], volumeOy[1]);
  if (result.VolumeOxKnown) result.VolumeOx = static_cast<double>(std::fabs((volumeOx[0] + volumeOx[1]) * Pi / 3));
  if (result.VolumeOyKnown) result.VolumeOy = static_cast<double>(std::fabs((volumeOy[0] + volumeOy[1]) * Pi / 3));
  return result;
}

} // namespace drex
