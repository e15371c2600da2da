#pragma once
// Which object lies under a pixel of the drawing area, and which objects a rubber band catches.
// Both work from the pixel positions the last redraw stored in every object.

#include "interaction/operation_state.h"
#include "kernel/construction.h"
#include "kernel/math2d.h"
#include "view/view_transform.h"

namespace drex {

/// Everything a hit test reads besides the table.
struct HitContext {
  const TViewState& View;
  const ViewArea& Area;
  int UnitLength;               ///< internal units per user unit
  bool ShowHidden;              ///< hidden objects take part too
  int Tolerance = HitTolerance; ///< pixels within which the cursor is on an object
};

/// The object under pixel (x, y), 0 for none. Objects 1..ObjCount are scanned in order; an object
/// takes part when it is defined and visible (or hidden objects are shown). The first point hit
/// wins over everything after it; among other objects a later hit replaces an earlier one. The
/// tolerance is ctx.Tolerance pixels, a distance of exactly that is a miss. Graphs are never hit.
int HitTest(const Construction& c, const HitContext& ctx, int x, int y);

/// Value at user-unit argument `t` of the interpolation polynomial `o` (its coefficients).
double PolynomialValue(const TGeomObject& o, double t);

/// An axis-parallel pixel rectangle given by the corner where the band started and the other one.
struct BandRect {
  Point2 Start;
  Point2 End;
};

/// True when the rubber band `band` catches object `n` (a defined, visible object): a point inside
/// it, a straight line crossing one of its sides inside it, a polyline with a vertex (other than
/// the last) inside or a segment crossing a side inside, a circle passing through it or lying
/// inside, a polynomial with one of its 101 samples inside. Borders count as inside. Graphs are
/// left to the caller, which asks the drawing's sampling.
bool BandCatches(const Construction& c, const HitContext& ctx, const BandRect& band, int n);

} // namespace drex
