#pragma once
// A strict desktop double for tests: every question the program asks must have been scripted,
// with its message text and buttons, in the order asked. An unexpected question, or a scripted
// one left unasked at the end, fails the test.

#include <functional>
#include <deque>
#include <map>
#include <string>
#include <vector>

#include "shell/platform.h"

namespace drex {

class ScriptedPlatform : public Platform {
public:
  ~ScriptedPlatform() override;

  /// Expects a message box whose text is `text` (exactly) with `buttons`, answered with `answer`.
  void ExpectMessage(const std::string& text, int buttons, MsgButton answer);
  /// Expects a message box whose text starts with `prefix`.
  void ExpectMessagePrefix(const std::string& prefix, int buttons, MsgButton answer);
  /// Expects an input box; `answer` is the typed text, or cancel when `ok` is false.
  void ExpectInput(const std::string& answer, bool ok = true);
  /// Expects an open or save dialog answered with `path` (empty = cancelled).
  void ExpectOpenDialog(const std::string& path);
  void ExpectSaveDialog(const std::string& path);

  /// Checks that nothing scripted is left; called by the destructor too.
  void VerifyDone();

  MsgButton MessageBox(MsgType type, const std::string& text, int buttons) override;
  bool InputBox(const std::string& caption, const std::string& prompt, std::string& value) override;
  std::string OpenDialog(const FileDialogRequest& request) override;
  std::string SaveDialog(const FileDialogRequest& request) override;
  void StartTimer(TimerId id, int intervalMs) override;
  void StopTimer(TimerId id) override;
  bool TimerRunning(TimerId id) const override;
  void ProcessPendingEvents() override {
    ++PendingEventCalls;
    if (PendingEvents) PendingEvents();
  }
  void ShowProgress(const std::string& message, bool stopEnabled) override;
  void SetProgressRange(int maximum) override { ProgressMaximum = maximum; }
  void SetProgressPosition(int position) override { ProgressPosition = position; }
  void HideProgress() override { ProgressVisible = false; }
  bool StopRequested() const override { return StopAnswer; }
  void SetCursor(int cursorNo) override { Cursor = cursorNo; }
  bool OpenWithAssociatedProgram(const std::string& path) override;
  int ScreenPixelsPerInch() const override { return PixelsPerInch; }
  bool WritePicture(const PictureRequest& request) override {
    Pictures.push_back(request);
    return WritePictureResult;
  }
  void CopyPicture(const PictureRequest& request) override { Copies.push_back(request); }
  bool PrintPicture(PrintRequest& request) override {
    Prints.push_back(request);
    request.TrueScale = PrintTrueScaleAnswer;
    return PrintResult;
  }
  AppFolders Folders() const override { return FoldersAnswer; }
  std::string DesktopLanguage() const override { return DesktopLanguageAnswer; }

  // What the program did, for assertions.
  std::vector<std::string> Messages; ///< texts of every message box shown
  std::vector<std::string> ProgressMessages;
  std::vector<FileDialogRequest> Dialogs;
  std::vector<std::string> OpenedFiles;
  int PendingEventCalls = 0;
  /// Runs as the events the desktop had queued (a release that came during a redraw).
  std::function<void()> PendingEvents;
  int ProgressMaximum = 0;
  int ProgressPosition = 0;
  bool ProgressVisible = false;
  bool StopAnswer = false;
  bool OpenFileResult = true;
  int Cursor = CursorDefault;
  int PixelsPerInch = 96;
  std::vector<PictureRequest> Pictures; ///< every picture file asked for
  std::vector<PictureRequest> Copies;   ///< every picture put on the clipboard
  std::vector<PrintRequest> Prints;     ///< every printout asked for
  bool WritePictureResult = true;
  bool PrintResult = true;
  bool PrintTrueScaleAnswer = false;           ///< the scale the user leaves chosen in the print dialog
  std::map<TimerId, int> Timers;               ///< running timers and their intervals
  AppFolders FoldersAnswer;                    ///< what Folders returns
  std::string DesktopLanguageAnswer = "uk_UA"; ///< what DesktopLanguage returns

private:
  enum class Kind { Message, MessagePrefix, Input, Open, Save };
  struct Step {
    Kind kind;
    std::string text;
    int buttons = 0;
    MsgButton answer = mbNone;
    bool ok = true;
  };
  Step Pop(Kind kind, const std::string& what);

  std::deque<Step> script_;
  bool verified_ = false;
};

} // namespace drex
