#pragma once
// Pictures for files, the clipboard and the printer, drawn through the QPainter canvas, and the
// command-line export of a document without a window.

#include <QByteArray>
#include <QImage>
#include <QPainter>

#include "view/picture_export.h"
#include "view/picture_frame.h"

namespace drex {

/// The frame's size on the device, units.
QSize DeviceSize(const PictureFrame& frame);

/// Draws the picture on `painter` (open on its device, origin at the picture's top left corner),
/// scaled by the frame's Scale.
void PaintPicture(QPainter& painter, const PictureFrame& frame, const PictureDrawer& draw);

/// The picture as a smooth bitmap of the frame's device size on white.
QImage PictureImage(const PictureFrame& frame, const PictureDrawer& draw);

/// The picture as an SVG drawing.
QByteArray PictureSvg(const PictureFrame& frame, const PictureDrawer& draw, const std::string& title);

/// Writes the request's file in its format; false when it could not be written.
bool WritePictureFile(const PictureRequest& request);

/// Loads options.Document and writes options.OutPath as PNG, SVG or PDF, with the document's
/// stored view (or the one that shows every object), at options.Width × options.Height. Messages
/// go to the error stream. Returns the process exit code: 0 on success, 1 when the document could
/// not be loaded or the file not written. Needs a QGuiApplication (the offscreen platform will
/// do); shows no window.
int ExportPicture(const ExportOptions& options);

} // namespace drex
