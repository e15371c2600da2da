#pragma once
// Rendering a document into a picture without a window: the command-line options of the export,
// a desktop port that writes its messages to the error stream, and the load-and-redraw step.

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "shell/platform.h"
#include "view/canvas.h"

namespace drex {

class Program;

/// Size of an exported picture when none is given, and the largest accepted side.
constexpr int DefaultExportWidth = 800;
constexpr int DefaultExportHeight = 600;
constexpr int MaxExportSide = 8192;

/// The command "--export-png OUT.png [--size WIDTHxHEIGHT] [--fit] [--smooth] [--scale PERCENT]
/// DOCUMENT.d2d".
struct ExportOptions {
  std::string OutPath;
  std::string Document;
  int Width = DefaultExportWidth;
  int Height = DefaultExportHeight;
  bool Fit = false;    ///< the view that shows every object instead of the stored one
  bool Smooth = false; ///< antialiased, as the window draws with smoothing on
  int Scale = 100;     ///< display scale, one of the offered percentages
};

/// What the command line asks for.
enum class ExportParse {
  NotRequested, ///< no "--export-png": the program starts its window
  Ok,           ///< options filled in
  Invalid,      ///< "--export-png" with missing or malformed arguments; `error` says which
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
  void CopyPictureToClipboard() override {}
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
/// `fit` is set; with smoothing on, the picture is smooth whatever the construction's size. Returns
/// the load result (negative on failure; the program's message has then gone
/// to prog's desktop).
int RenderDocument(Program& prog, Canvas& canvas, const std::string& path, bool fit = false);

} // namespace drex
