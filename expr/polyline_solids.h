#pragma once
// Surface areas and volumes of the solids a polyline sweeps when it turns about an axis.

namespace drex {

/// The four measures of a solid of revolution, in user units. A measure that cannot be computed
/// has its Known flag cleared and the value 0: the curve cannot be evaluated somewhere on its
/// interval, a sum does not fit a double, or the parts of the curve on the two sides of the axis
/// would cancel each other in the sum.
struct SolidValues {
  double SurfaceOx = 0; ///< surface area swept about the x-axis
  double VolumeOx = 0;  ///< volume swept about the x-axis
  double SurfaceOy = 0; ///< surface area swept about the y-axis
  double VolumeOy = 0;  ///< volume swept about the y-axis
  bool SurfaceOxKnown = true;
  bool VolumeOxKnown = true;
  bool SurfaceOyKnown = true;
  bool VolumeOyKnown = true;

  /// True when all four measures are known.
  bool AllKnown() const { return SurfaceOxKnown && VolumeOxKnown && SurfaceOyKnown && VolumeOyKnown; }
};

/// True when a volume summed from the parts of a curve on the two sides of the axis of rotation
/// (`positive` from the part on the positive side, `negative` from the other) would let them
/// cancel: both parts count and their signs differ. The solid they sweep is then the union of the
/// two parts turned onto one side, which the plain sum does not give.
bool SidesCancel(long double positive, long double negative);

/// The solids of the polyline through the n vertices (xs[i], ys[i]) in order, in user units.
/// Segments are first split where they cross an axis, so no piece has its ends on opposite sides
/// of one; then each piece adds its frustum. An open polyline gives the solid between the curve
/// and the axis, a closed one the solid swept by its interior. A volume to which pieces on both
/// sides of its axis contribute with opposite signs (a closed polyline across the axis) cannot be
/// computed: its Known flag is cleared. Fewer than 2 vertices give zeros. The split list grows as
/// far as the crossings need.
SolidValues PolylineSolids(const double* xs, const double* ys, int n);

} // namespace drex
