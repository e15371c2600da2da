#include "support/scripted_platform.h"

#include <gtest/gtest.h>

namespace drex {

ScriptedPlatform::~ScriptedPlatform() {
  if (!verified_) VerifyDone();
}

void ScriptedPlatform::ExpectMessage(const std::string& text, int buttons, MsgButton answer) {
  script_.push_back({Kind::Message, text, buttons, answer, true});
}

void ScriptedPlatform::ExpectMessagePrefix(const std::string& prefix, int buttons, MsgButton answer) {
  script_.push_back({Kind::MessagePrefix, prefix, buttons, answer, true});
}

void ScriptedPlatform::ExpectInput(const std::string& answer, bool ok) {
  script_.push_back({Kind::Input, answer, 0, mbNone, ok});
}

void ScriptedPlatform::ExpectOpenDialog(const std::string& path) {
  script_.push_back({Kind::Open, path, 0, mbNone, true});
}
void ScriptedPlatform::ExpectSaveDialog(const std::string& path) {
  script_.push_back({Kind::Save, path, 0, mbNone, true});
}

void ScriptedPlatform::VerifyDone() {
  verified_ = true;
  for (const Step& s : script_)
    ADD_FAILURE() << "scripted request never came: " << s.text;
  script_.clear();
}

ScriptedPlatform::Step ScriptedPlatform::Pop(Kind kind, const std::string& what) {
  if (script_.empty()) {
    ADD_FAILURE() << "unexpected request: " << what;
    return {kind, {}, 0, mbNone, false};
  }
  Step s = script_.front();
  script_.pop_front();
  const bool sameKind = s.kind == kind || (s.kind == Kind::MessagePrefix && kind == Kind::Message);
  if (!sameKind) ADD_FAILURE() << "request out of order: got " << what << ", expected " << s.text;
  return s;
}

MsgButton ScriptedPlatform::MessageBox(MsgType, const std::string& text, int buttons) {
  Messages.push_back(text);
  Step s = Pop(Kind::Message, "message \"" + text + "\"");
  if (s.kind == Kind::Message) {
    EXPECT_EQ(s.text, text);
  } else if (s.kind == Kind::MessagePrefix) {
    EXPECT_EQ(text.compare(0, s.text.size(), s.text), 0)
        << "message \"" << text << "\" lacks prefix \"" << s.text << "\"";
  }
  if (s.kind == Kind::Message || s.kind == Kind::MessagePrefix) {
    EXPECT_EQ(s.buttons, buttons) << "buttons of \"" << text << "\"";
    return s.answer;
  }
  return (buttons & mbCancel) ? mbCancel : (buttons & mbNo) ? mbNo : mbOK;
}

bool ScriptedPlatform::InputBox(const std::string&, const std::string& prompt, std::string& value) {
  Step s = Pop(Kind::Input, "input box \"" + prompt + "\"");
  if (s.kind != Kind::Input || !s.ok) return false;
  value = s.text;
  return true;
}

std::string ScriptedPlatform::OpenDialog(const FileDialogRequest& request) {
  Dialogs.push_back(request);
  Step s = Pop(Kind::Open, "open dialog \"" + request.Title + "\"");
  return s.kind == Kind::Open ? s.text : std::string();
}

std::string ScriptedPlatform::SaveDialog(const FileDialogRequest& request) {
  Dialogs.push_back(request);
  Step s = Pop(Kind::Save, "save dialog \"" + request.Title + "\"");
  return s.kind == Kind::Save ? s.text : std::string();
}

void ScriptedPlatform::StartTimer(TimerId id, int intervalMs) { Timers[id] = intervalMs; }
void ScriptedPlatform::StopTimer(TimerId id) { Timers.erase(id); }
bool ScriptedPlatform::TimerRunning(TimerId id) const { return Timers.count(id) != 0; }

void ScriptedPlatform::ShowProgress(const std::string& message, bool) {
  ProgressMessages.push_back(message);
  ProgressVisible = true;
}

bool ScriptedPlatform::OpenWithAssociatedProgram(const std::string& path) {
  OpenedFiles.push_back(path);
  return OpenFileResult;
}

} // namespace drex
