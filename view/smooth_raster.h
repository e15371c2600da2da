#pragma once
// Antialiased strokes and circles painted straight into a 32-bit pixel buffer. Each pixel takes
// the ink by its coverage, worked out from its centre's distance to the stroke: as fast as the
// aliased raster, where a general path filler costs tens of times more. Coordinates are those of
// pixel centres: pixel (x, y) is the point (x + ½, y + ½).

#include <cstddef>
#include <cstdint>

#include "kernel/math2d.h"
#include "view/canvas.h"

namespace drex {

/// `height` rows of `stride` pixels (0xFFRRGGBB), of which the first `width` are the picture.
struct PixelBuffer {
  uint32_t* Bits = nullptr;
  int Width = 0;
  int Height = 0;
  std::ptrdiff_t Stride = 0;
};

/// How a smooth stroke looks: its ink, its width and its dash runs in pixels along the stroke.
struct SmoothPen {
  uint32_t Ink = 0xFF000000u;
  double HalfWidth = 0.5;
  double Runs[4] = {0, 0, 0, 0}; ///< on, off, on, off; Count of them used
  int Count = 0;
  double Period = 0; ///< their sum, 0 for a solid pen
};

/// The smooth form of a canvas pen: its colour, width, and dash runs stretched by the width.
SmoothPen SmoothPenOf(const CanvasPen& pen);

/// A pixel moved towards `ink` by `coverage` (0..255): none at 0, the ink itself at 255. Red and
/// blue are blended together in one word, green in another.
inline uint32_t BlendPixel(uint32_t pixel, uint32_t ink, uint32_t coverage) {
  if (coverage >= 255) return ink;
  const uint32_t a = coverage + (coverage >> 7); // 0..255 onto 0..256
  const uint32_t rest = 256 - a;
  const uint32_t rb = (((ink & 0xFF00FFu) * a + (pixel & 0xFF00FFu) * rest) >> 8) & 0xFF00FFu;
  const uint32_t g = (((ink & 0xFF00u) * a + (pixel & 0xFF00u) * rest) >> 8) & 0xFF00u;
  return 0xFF000000u | rb | g;
}

/// Strokes the polyline through points[0..count−1], the last back to the first when `closed`.
/// `offset` is the length of the outline before the first point, where the dash pattern stands.
/// The open ends are cut square across, their edge antialiased; at the vertices the segments meet
/// without overlapping, so a curve of many short segments has no darker beads.
void StrokeSmooth(const PixelBuffer& buffer, const Point2* points, std::size_t count, bool closed, double offset,
                  const SmoothPen& pen);

/// A circle about (cx, cy) of radius r: its ring with `pen` (always solid, as the aliased ring is,
/// so that a picture keeps its look when it turns smooth), its inside (up to the ring's middle) in
/// `fillInk` when `fill` is set.
void CircleSmooth(const PixelBuffer& buffer, double cx, double cy, double r, const SmoothPen& pen, bool fill,
                  uint32_t fillInk);

} // namespace drex
