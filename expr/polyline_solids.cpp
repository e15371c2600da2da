#include "expr/polyline_solids.h"

#include <cmath>
#include <vector>

namespace drex {

namespace {

constexpr long double Pi = 3.14159265358979323846264338327950288L;
// A crossing closer than this to an end of its segment is that end and splits nothing.
constexpr double CrossingEndTolerance = 0.0001;

struct Vertex {
  double X;
  double Y;
};

struct Crossing {
  Vertex At;
  bool Found;
};

// The common point of the line through a, b and the line through c, d (Cramer's rule);
// not found when the determinant is exactly 0.
Crossing IntersectInfiniteLines(Vertex a, Vertex b, Vertex c, Vertex d) {
  const long double a1 = static_cast<long double>(b.Y) - a.Y;
  const long double b1 = static_cast<long double>(a.X) - b.X;
  const long double c1 = a1 * a.X + b1 * a.Y;
  const long double a2 = static_cast<long double>(d.Y) - c.Y;
  const long double b2 = static_cast<long double>(c.X) - d.X;
  const long double c2 = a2 * c.X + b2 * c.Y;
  const long double det = a1 * b2 - a2 * b1;
  if (det == 0.0L) return {{0, 0}, false};
  return {{static_cast<double>((b2 * c1 - b1 * c2) / det), static_cast<double>((a1 * c2 - a2 * c1) / det)}, true};
}

bool InBox(Vertex a, Vertex b, Vertex p) {
  return std::fmin(a.X, b.X) <= p.X && p.X <= std::fmax(a.X, b.X) && std::fmin(a.Y, b.Y) <= p.Y &&
         p.Y <= std::fmax(a.Y, b.Y);
}

double Distance(Vertex a, Vertex b) { return std::hypot(b.X - a.X, b.Y - a.Y); }

// Appends to `out` the axis crossings strictly inside the segment p -> q, nearest to p first.
void AppendAxisCrossings(Vertex p, Vertex q, std::vector<Vertex> &out) {
  const double length = Distance(p, q);
  const Crossing candidates[2] = {IntersectInfiniteLines(p, q, {-10, 0}, {10, 0}),
                                  IntersectInfiniteLines(p, q, {0, -10}, {0, 10})};
  Vertex found[2];
  double along[2];
  int count = 0;
  for (const Crossing &c : candidates) {
    if (!c.Found || !InBox(p, q, c.At)) continue;
    const double d = Distance(p, c.At);
    if (std::fabs(d) < CrossingEndTolerance || std::fabs(d - length) < CrossingEndTolerance) continue;
    found[count] = c.At;
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

SolidValues PolylineSolids(const double *xs, const double *ys, int n) {
  SolidValues result;
  if (n < 2 || xs == nullptr || ys == nullptr) return result;

  std::vector<Vertex> pts;
  pts.reserve(static_cast<std::size_t>(n) * 3);
  for (int i = 0; i < n; ++i) {
    const Vertex p{xs[i], ys[i]};
    pts.push_back(p);
    if (i + 1 < n) AppendAxisCrossings(p, {xs[i + 1], ys[i + 1]}, pts);
  }

  long double surfaceOx = 0, surfaceOy = 0, volumeOx = 0, volumeOy = 0;
  for (std::size_t i = 0; i + 1 < pts.size(); ++i) {
    const long double x1 = pts[i].X, y1 = pts[i].Y;
    const long double x2 = pts[i + 1].X, y2 = pts[i + 1].Y;
    const long double s = std::sqrt((x2 - x1) * (x2 - x1) + (y2 - y1) * (y2 - y1));
    surfaceOx += Pi * std::fabs(y1 + y2) * s;
    surfaceOy += Pi * std::fabs(x1 + x2) * s;
    volumeOx += (y1 * y1 + y1 * y2 + y2 * y2) * (x2 - x1);
    volumeOy += (x1 * x1 + x1 * x2 + x2 * x2) * (y2 - y1);
  }
  result.SurfaceOx = static_cast<double>(surfaceOx);
  result.SurfaceOy = static_cast<double>(surfaceOy);
  result.VolumeOx = static_cast<double>(std::fabs(volumeOx * Pi / 3));
  result.VolumeOy = static_cast<double>(std::fabs(volumeOy * Pi / 3));
  return result;
}

} // namespace drex
