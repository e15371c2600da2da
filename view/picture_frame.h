#pragma once
// What a picture made for a file, the clipboard or the printer shows, and the request that goes
// to the desktop to make it.

#include <functional>
#include <string>

#include "view/canvas.h"
#include "view/view_transform.h"

namespace drex {

/// The kinds of picture file.
enum class PictureFormat { Png, Svg, Pdf };

/// The part of the plane a picture shows: Width × Height pixels as the drawing counts them (the
/// marks, names and pens keep their screen sizes), seen with View, and how many units of the
/// device each of those pixels takes.
struct PictureFrame {
  int Width = 1;
  int Height = 1;
  TViewState View;
  double Scale = 1;
  /// The picture's size on the device, units; 0 for Width · Scale and Height · Scale.
  int DeviceWidth = 0;
  int DeviceHeight = 0;
};

/// Draws the picture of `frame` on a canvas of the frame's size.
using PictureDrawer = std::function<void(Canvas&, const PictureFrame&)>;

/// A picture for a file or the clipboard.
struct PictureRequest {
  PictureFormat Format = PictureFormat::Png;
  std::string Path; ///< UTF-8; unused for the clipboard
  std::string Title;
  PictureFrame Frame;
  PictureDrawer Draw;
};

/// A printout: the desktop lets the user choose the printer and the page, shows a preview, and
/// asks Layout for the frame of each page it draws (width × height device units at `dpi` units per
/// inch); TrueScale is the user's choice between fitting the page and one user unit per centimetre.
struct PrintRequest {
  std::string Title;
  /// The texts of the preview: its caption, the label of the scale and the two scales.
  std::string DialogTitle, ScaleLabel, FitPageText, TrueScaleText;
  bool TrueScale = false;
  std::function<PictureFrame(double width, double height, double dpi, bool trueScale)> Layout;
  PictureDrawer Draw;
};

} // namespace drex
