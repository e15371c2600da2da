#pragma once
// World coordinates (internal units, y up) and pixels of the drawing area.

#include <cstdint>

namespace drex {

/// Where the world origin sits on the screen and how many pixels an internal unit takes.
struct TViewState {
  int16_t OrgX = 0; ///< pixels right of the drawing area's centre
  int16_t OrgY = 0; ///< pixels above the drawing area's centre
  double Zoom = 1.0; ///< pixels per internal unit
};

} // namespace drex
