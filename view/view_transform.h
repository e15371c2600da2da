#pragma once
// World coordinates (internal units, y up) and pixels of the drawing area.

#include <array>
#include <cstdint>

#include "kernel/math2d.h"

namespace drex {

class Construction;

/// Where the world origin sits on the screen and how many pixels an internal unit takes.
struct TViewState {
  int16_t OrgX = 0;  ///< pixels right of the drawing area's centre
  int16_t OrgY = 0;  ///< pixels above the drawing area's centre
  double Zoom = 1.0; ///< pixels per internal unit
};

/// Offsets that pans and fits keep OrgX and OrgY within, so that every view can be saved.
constexpr int MaxViewOffset = 9999;

/// ZoomIn enlarges only while Zoom is below this.
constexpr double ZoomInLimit = 45;
/// ZoomOut shrinks only while Zoom is above this.
constexpr double ZoomOutLimit = 0.001;
constexpr double ZoomInFactor = 1.1;
constexpr double ZoomOutFactor = 0.9;

/// The smallest Zoom FitView chooses: a far-flung construction is shown at this scale rather than
/// at one that a saved document could not carry.
constexpr double MinFitZoom = 1e-6;

/// The drawing area as seen by the last redraw.
struct ViewArea {
  int Width = 0;
  int Height = 0;
  int CentreX = 0; ///< Width div 2
  int CentreY = 0; ///< Height div 2
  /// The world images of the pixel corners (0, 0), (W, 0), (W, H), (0, H) and (0, 0) again, so
  /// that the pairs 1-2, 2-3, 3-4, 4-5 are the top, right, bottom and left edges.
  std::array<Point2, 5> VisibleCorners{};
};

/// The area geometry for a drawing area of width × height pixels seen with `view` (a negative size
/// counts as 0).
ViewArea MakeViewArea(int width, int height, const TViewState& view);

/// Screen position of a world point, not rounded: (x·Zoom + OrgX + CentreX,
/// CentreY − (y·Zoom + OrgY)).
Point2 WorldToScreen(const TViewState& view, const ViewArea& area, Point2 world);

/// World point of a pixel: ((px − CentreX − OrgX)/Zoom, (CentreY − py − OrgY)/Zoom).
Point2 ScreenToWorld(const TViewState& view, const ViewArea& area, int px, int py);

/// The nearest integer, halves going to the even neighbour; values beyond the int range are
/// clamped to it and NaN gives 0.
int RoundHalfEven(double value);

/// Multiplies Zoom by ZoomInFactor when it is below ZoomInLimit; true when it changed.
bool ZoomIn(TViewState& view);

/// Multiplies Zoom by ZoomOutFactor when it is above ZoomOutLimit; true when it changed.
bool ZoomOut(TViewState& view);

/// One zoom step in (ZoomIn) or out (ZoomOut) about pixel (px, py) of `area`: the world point under
/// that pixel stays under it, to the whole pixels the offsets hold and while they stay within
/// ±MaxViewOffset. False when the zoom is at its limit and nothing changed.
bool ZoomAbout(TViewState& view, const ViewArea& area, int px, int py, bool in);

/// One internal unit per pixel with the world origin at the centre of the area.
void ZoomEqual(TViewState& view);

/// Centres the box around all objects of `doc` (a circle widened by its radius, every other object
/// by the point X1, Y1, polynomials and function graphs also by their drawn curve, with
/// `unitLength` internal units per user unit) in a width × height area, spanning 1/1.1 of it along
/// the tighter direction.
/// Falls back to one internal unit per pixel when the area is empty or the box is a point; the
/// offsets are clamped to ±MaxViewOffset and Zoom to at least MinFitZoom.
void FitView(TViewState& view, const Construction& doc, int width, int height, int unitLength);

/// Moves the world origin dX pixels right and dY pixels down on the screen (OrgX + dX,
/// OrgY − dY), each offset clamped to ±MaxViewOffset.
void PanView(TViewState& view, int dX, int dY);

} // namespace drex
