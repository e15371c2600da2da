#pragma once
// A desktop for benchmarks: shows nothing, answers every question with the same button, has no
// events to run.

#include <string>

#include "shell/platform.h"

namespace drex {

class QuietPlatform : public Platform {
public:
  MsgButton MessageBox(MsgType, const std::string& text, int) override {
    LastMessage = text;
    return Answer;
  }
  bool InputBox(const std::string&, const std::string&, std::string&) override { return false; }
  std::string OpenDialog(const FileDialogRequest&) override { return {}; }
  std::string SaveDialog(const FileDialogRequest&) override { return {}; }
  void StartTimer(TimerId, int) override {}
  void StopTimer(TimerId) override {}
  bool TimerRunning(TimerId) const override { return false; }
  void ProcessPendingEvents() override {}
  void ShowProgress(const std::string&, bool) override {}
  void SetProgressRange(int) override {}
  void SetProgressPosition(int) override {}
  void HideProgress() override {}
  bool StopRequested() const override { return false; }
  void SetCursor(int) override {}
  bool OpenWithAssociatedProgram(const std::string&) override { return false; }
  int ScreenPixelsPerInch() const override { return 96; }
  bool WritePicture(const PictureRequest&) override { return false; }
  void CopyPicture(const PictureRequest&) override {}
  bool PrintPicture(PrintRequest&) override { return false; }
  AppFolders Folders() const override { return FoldersAnswer; }
  std::string DesktopLanguage() const override { return "uk_UA"; }

  MsgButton Answer = mbNone; ///< the button every message box returns
  std::string LastMessage;   ///< the text of the last message box, to report a failed step
  AppFolders FoldersAnswer;  ///< what Folders returns
};

} // namespace drex
