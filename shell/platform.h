#pragma once
// What the program asks of the desktop. The core calls these; the Qt layer implements them over
// the real desktop and the tests with a strict scripted double. No Qt types appear here.

#include <string>
#include <vector>

#include "view/picture_frame.h"

namespace drex {

enum class MsgType { Error, Warning, Information, Confirmation };

/// Buttons of a message box, combined as a bit set; the answer is one of them.
enum MsgButton : int { mbNone = 0, mbOK = 1, mbYes = 2, mbNo = 4, mbCancel = 8 };

/// The three timers of the main window.
enum class TimerId { Blic, TraectTime, Timer1, Settle };
constexpr int TimerCount = 4;

/// A file dialog's settings. Texts are UTF-8.
struct FileDialogRequest {
  std::string Filter;     ///< "caption|pattern|caption|pattern…"
  std::string DefaultExt; ///< without the dot
  std::string Title;
  std::string InitialDir;
  std::string FileName; ///< preset name
};

/// Where the program finds the files shipped with it and keeps the user's own (UTF-8 paths).
struct AppFolders {
  /// Folders holding the files shipped with the program (example macros, language files, help),
  /// only ever read; the first is searched first.
  std::vector<std::string> Shipped;
  /// The folder the settings file is written in.
  std::string Config;
  /// The folder the user's macros and language files are written under.
  std::string Data;
  /// The folder an unnamed document is offered to be saved in; empty for the working directory.
  std::string Documents;
};

/// The mouse cursors under their numbers: 0 is the drawing area's cross, 5..14 the program's own.
constexpr int CursorDefault = 0;
constexpr int TargetCur = 5;
constexpr int DragCur = 6;
constexpr int PutCur = 7;
constexpr int GetCur = 8;
constexpr int AttrCur = 9;
constexpr int NameCur = 10;
constexpr int DelCur = 11;
constexpr int HideCur = 12;
constexpr int HandCur = 13;
constexpr int ArrowCur = 14;

class Platform {
public:
  virtual ~Platform() = default;

  /// Shows a modal message box and returns the button pressed (one of `buttons`).
  virtual MsgButton MessageBox(MsgType type, const std::string& text, int buttons) = 0;
  /// Modal text input; returns false when cancelled. `value` holds the preset text and the answer.
  virtual bool InputBox(const std::string& caption, const std::string& prompt, std::string& value) = 0;
  /// Open and save dialogs; return the chosen path, or an empty text when cancelled.
  virtual std::string OpenDialog(const FileDialogRequest& request) = 0;
  virtual std::string SaveDialog(const FileDialogRequest& request) = 0;

  virtual void StartTimer(TimerId id, int intervalMs) = 0;
  virtual void StopTimer(TimerId id) = 0;
  virtual bool TimerRunning(TimerId id) const = 0;

  /// Lets the desktop run its pending events (repaints, clicks on a stop button).
  virtual void ProcessPendingEvents() = 0;

  /// The progress window of the long calculations: shown with a message, the stop button enabled
  /// or not, a gauge with a maximum and a position.
  virtual void ShowProgress(const std::string& message, bool stopEnabled) = 0;
  virtual void SetProgressRange(int maximum) = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual void HideProgress() = 0;
  /// True when the user pressed the progress window's stop button since it was shown.
  virtual bool StopRequested() const = 0;

  /// Sets the mouse cursor of the drawing area by its number.
  virtual void SetCursor(int cursorNo) = 0;
  /// Opens a file with its associated program; false when that failed.
  virtual bool OpenWithAssociatedProgram(const std::string& path) = 0;
  /// The screen's pixels per inch.
  virtual int ScreenPixelsPerInch() const = 0;
  /// The program's folders; a folder that does not exist yet is made by the command that needs it.
  virtual AppFolders Folders() const = 0;
  /// The language the desktop speaks to the user ("uk_UA", "en_GB"); empty when unknown.
  virtual std::string DesktopLanguage() const = 0;
  /// Writes the picture into the file the request names; false when it could not be written.
  virtual bool WritePicture(const PictureRequest& request) = 0;
  /// Puts the picture on the clipboard, as a bitmap and as a drawing.
  virtual void CopyPicture(const PictureRequest& request) = 0;
  /// Shows the print dialog with its preview and prints; false when nothing was printed.
  /// The user's choice of scale is left in request.TrueScale.
  virtual bool PrintPicture(PrintRequest& request) = 0;
};

} // namespace drex
