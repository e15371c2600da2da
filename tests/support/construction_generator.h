#pragma once
// Large constructions for tests and benchmarks, the same for the same seed on every machine.

#include <cstdint>
#include <vector>

#include "kernel/construction.h"

namespace drex {

/// Replaces the objects of `c` by `count` objects (at most MaxObjects) mixing every kind: free
/// points, midpoints, points on lines, circles and polylines, intersections of two lines, of a
/// line and a circle and of two circles (each with its twin), points symmetric in a point and in
/// a line, the five kinds of line, tangent pairs, circles, polylines of 3 to 6 vertices (some
/// closed, some of those filled), a few interpolation polynomials and function graphs. Free points
/// lie within ±300 internal units of the origin. Most objects are constructible at zoom 1; some
/// (tangents from inside a circle, circles that miss) are not. The view is left as it is.
void GenerateMixedConstruction(Construction& c, int count, uint32_t seed);

/// Replaces the objects of `c` by a chain of `count` objects (at least 2): object 1 is a fixed
/// point, object 2 a free point, and every further object the midpoint of the object before it
/// and object 1.
void GenerateMidpointChain(Construction& c, int count);

/// Copies the objects and the view of `from` into `to` numbered backwards, a pair of
/// intersections or tangents kept together and in its order: the last object of `from` comes
/// first, so that nearly every reference names a larger number, as references changed in the
/// properties dialog can leave a construction. Returns, for each number of `to`, the object's
/// number in `from` (entry 0 is 0).
std::vector<int> CopyNumberedBackwards(const Construction& from, Construction& to);

/// Moves every free point (kind 0) by (dx, dy), as a drag of all of them would.
void MoveFreePoints(Construction& c, double dx, double dy);

} // namespace drex
