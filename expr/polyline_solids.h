#pragma once
// Surface areas and volumes of the solids a polyline sweeps when it turns about an axis.

namespace drex {

/// The four measures of a solid of revolution, in user units.
struct SolidValues {
  double SurfaceOx = 0; ///< surface area swept about the x-axis
  double VolumeOx = 0;  ///< volume swept about the x-axis
  double SurfaceOy = 0; ///< surface area swept about the y-axis
  double VolumeOy = 0;  ///< volume swept about the y-axis
};

/// The solids of the polyline through the n vertices (xs[i], ys[i]) in order, in user units.
/// Segments are first split where they cross an axis, so no piece has its ends on opposite sides
/// of one; then each piece adds its frustum. An open polyline gives the solid between the curve
/// and the axis, a closed one the solid swept by its interior. Fewer than 2 vertices give zeros.
/// The split list grows as far as the crossings need.
SolidValues PolylineSolids(const double* xs, const double* ys, int n);

} // namespace drex
