#pragma once
// The command-line picture export: a document redrawn offscreen and written as a PNG file.

#include "view/picture_export.h"

namespace drex {

/// Loads options.Document, redraws it at options.Width × options.Height with its stored view and
/// writes options.OutPath as PNG. Messages go to the error stream. Returns the process exit code:
/// 0 on success, 1 when the document could not be loaded or the picture not written. Needs a
/// QGuiApplication (the offscreen platform will do); shows no window.
int ExportPicture(const ExportOptions& options);

} // namespace drex
