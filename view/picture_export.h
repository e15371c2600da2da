#pragma once
// Rendering a document into a picture without a window: the command-line options of the export,
// a desktop port that writes its messages to the error stream, and the load-and-redraw step.

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "shell/platform.h"
#include "view/canvas.h"
#include "view/picture_frame.h"

namespace drex {

class Program;

/// Size of an exported picture when none is given, and the largest accepted side.
constexpr int DefaultExportWidth = 800;
constexpr int DefaultExportHeight = 600;
constexpr int MaxExportSide = 8192;
/// The resolution a picture's pixels have on the screen, and the range a PNG may be drawn at.
constexpr int ScreenDpi = 96;
constexpr int MinExportDpi = 24;
constexpr int MaxExportDpi = 1200;

/// The command "--export-png|--export-svg|--export-pdf OUT [--size WIDTHxHEIGHT] [--dpi N] [--fit]
/// [--smooth] [--scale PERCENT] DOCUMENT.d2d".
struct ExportOptions {
  PictureFormat Format = PictureFormat::Png;
  std::string OutPath;
  std::string Document;
  int Width = DefaultExportWidth;
  int Height = DefaultExportHeight;
  bool Fit = false;    ///< the view that shows every object instead of the stored one
  bool Smooth = false; ///< antialiased, as the window draws with smoothing on
  int Scale = 100;     ///< display scale, one of the offered percentages
  /// A PNG drawn at this many dots per inch: Width × Height screen pixels become that many
  /// times Dpi / ScreenDpi pixels, every line and text drawn finer. 0 draws the screen's pixels.
  int Dpi = 0;
};

/// The picture's pixels when a Width × Height picture is drawn at `dpi` (0: the screen's).
int PixelsAtDpi(int side, int dpi);

/// What the command line asks for.
enum class ExportParse {
  NotRequested, ///< no "--export-png", "--export-svg" or "--export-pdf": the program starts its window
  Ok,           ///< options filled in
  Invalid,      ///< an export with missing or malformed arguments; `error` says which
};

/// Reads the export options from the program's arguments (without the program name).
ExportParse ParseExportOptions(const std::vector<std::string>& args, ExportOptions& options, std::string& error);

/// Reads "WIDTHxHEIGHT", each side 1..MaxExportSide; false when malformed or out of range.
bool ParseExportSize(const std::string& text, int& width, int& height);

/// A desktop without a window: every message goes to `out` as one line and is answered with the
/// safest button offered (OK, else No, else Cancel; Yes only when it is the sole button); dialogs are cancelled, timers
/// only remembered.
class ConsolePlatform : public Platform {
public:
  explicit ConsolePlatform(std::FILE* out) : out_(out) {}

  MsgButton MessageBox(MsgType type, const std::string& text, int buttons) override;
  bool InputBox(const std::string&, const std::string&, std::string&) override { return false; }
  std::string OpenDialog(const FileDialogRequest&) override { return {}; }
  std::string SaveDialog(const FileDialogRequest&) override { return {}; }
  void StartTimer(TimerId id, int intervalMs) override { timers_[id] = intervalMs; }
  void StopTimer(TimerId id) override { timers_.erase(id); }
  bool TimerRunning(TimerId id) const override { return timers_.count(id) != 0; }
  void ProcessPendingEvents() override {}
  void ShowProgress(const std::string&, bool) override {}
  void SetProgressRange(int) override {}
  void SetProgressPosition(int) override {}
  void HideProgress() override {}
  bool StopRequested() const override { return false; }
  void SetCursor(int) override {}
  bool OpenWithAssociatedProgram(const std::string&) override { return false; }
  /// The usual desktop value, so that exported pictures have one scale everywhere.
  int ScreenPixelsPerInch() const override { return 96; }
  bool WritePicture(const PictureRequest&) override { return false; }
  void CopyPicture(const PictureRequest&) override {}
  bool PrintPicture(PrintRequest&) override { return false; }
  /// No folders: a console run writes no files of its own.
  AppFolders Folders() const override { return {}; }
  std::string DesktopLanguage() const override { return {}; }

  /// Texts of the messages written so far.
  const std::vector<std::string>& Messages() const { return messages_; }

private:
  std::FILE* out_;
  std::map<TimerId, int> timers_;
  std::vector<std::string> messages_;
};

/// Loads the document at `path` into `prog` and, when that succeeded, redraws it in full on
/// `canvas` with the view stored in the document, or with the view that shows every object when
/// `fit` is set, without selection handles; with smoothing on, the picture is smooth whatever the
/// construction's size. Returns
/// the load result (negative on failure; the program's message has then gone
/// to prog's desktop).
int RenderDocument(Program& prog, Canvas& canvas, const std::string& path, bool fit = false);

/// The drawing area's picture as the window shows it.
PictureFrame ScreenFrame(const Program& prog);
/// The drawing area's picture enlarged or reduced to fit `width` × `height` device units, and
/// widened along the looser side so that it fills them.
PictureFrame FitFrame(const Program& prog, double width, double height);
/// A page of `width` × `height` device units at `dpi` units per inch with one user unit per
/// centimetre, the point at the drawing area's centre at the page's centre.
PictureFrame TrueScaleFrame(const Program& prog, double width, double height, double dpi);

/// Draws the construction as `frame` shows it on `canvas` (of the frame's size), smooth, without
/// the marks of the moment, and leaves the window's picture, view and computed objects as they
/// were.
void DrawPicture(Program& prog, Canvas& canvas, const PictureFrame& frame);

} // namespace drex
