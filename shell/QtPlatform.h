#pragma once
// The desktop port over Qt: message boxes, input box, file dialogs, timers, progress window.

#include <QCursor>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <array>
#include <functional>
#include <map>

#include "shell/d2consts.h"
#include "shell/language.h"
#include "shell/platform.h"

class QWidget;

namespace drex {

class TProgrFrm;

class QtPlatform : public QObject, public Platform {
  Q_OBJECT
public:
  QtPlatform();
  ~QtPlatform() override;

  /// The window that owns the dialogs and the widget whose cursor SetCursor changes.
  void SetWindows(QWidget* mainWindow, QWidget* drawingArea);
  /// What runs when a timer fires.
  void SetTimerHandler(TimerId id, std::function<void()> handler);
  /// The message texts the platform's own questions use (the progress window's stop question);
  /// the built-in texts until this is called. `texts` must outlive the platform's use of it.
  void SetMessages(const MsgTable& texts) { texts_ = &texts; }
  /// The progress window, made on first use.
  TProgrFrm* ProgressForm();
  /// The captions of message boxes and their buttons.
  void SetLanguage(const LanguageState& language) { language_ = &language; }
  /// Registers a cursor under its number; SetCursor shows it on the drawing area.
  void RegisterCursor(int cursorNo, const QCursor& cursor);

  MsgButton MessageBox(MsgType type, const std::string& text, int buttons) override;
  bool InputBox(const std::string& caption, const std::string& prompt, std::string& value) override;
  std::string OpenDialog(const FileDialogRequest& request) override;
  std::string SaveDialog(const FileDialogRequest& request) override;
  void StartTimer(TimerId id, int intervalMs) override;
  void StopTimer(TimerId id) override;
  bool TimerRunning(TimerId id) const override;
  void ProcessPendingEvents() override;
  void ShowProgress(const std::string& message, bool stopEnabled) override;
  void SetProgressRange(int maximum) override;
  void SetProgressPosition(int position) override;
  void HideProgress() override;
  bool StopRequested() const override;
  void SetCursor(int cursorNo) override;
  bool OpenWithAssociatedProgram(const std::string& path) override;
  int ScreenPixelsPerInch() const override;
  bool WritePicture(const PictureRequest& request) override;
  void CopyPicture(const PictureRequest& request) override;
  bool PrintPicture(PrintRequest& request) override;
  AppFolders Folders() const override;
  std::string DesktopLanguage() const override;

private:
  QTimer& TimerOf(TimerId id) { return timers_[static_cast<std::size_t>(id)]; }
  const QTimer& TimerOf(TimerId id) const { return timers_[static_cast<std::size_t>(id)]; }

  QPointer<QWidget> mainWindow_;
  QPointer<QWidget> drawingArea_;
  std::array<QTimer, TimerCount> timers_;
  std::array<std::function<void()>, TimerCount> handlers_;
  std::map<int, QCursor> cursors_;
  /// Asks whether to stop the calculation; on Yes sets the stop request and hides the window.
  void StopClicked();

  MsgTable builtInTexts_;
  const MsgTable* texts_ = &builtInTexts_;
  const LanguageState* language_ = nullptr;
  /// Owned by the main window once it has one; the pointer clears itself when that deletes it.
  QPointer<TProgrFrm> progress_;
  bool stopRequested_ = false;
};

} // namespace drex
