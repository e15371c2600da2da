#include "shell/program.h"

#include <filesystem>
#include <system_error>

namespace drex {

Program::Program(Platform& platform) : Desktop(platform) { ApplyTexts(); }

void Program::ApplyTexts() { TakeKindTexts(Msgs, Kinds); }

int Program::AppendObject(int kind) {
  if (Doc.ObjCount >= MaxObjects) return 0;
  const int number = Doc.ObjCount + 1;
  Doc.ObjCount = static_cast<int16_t>(number);
  InitObject(Doc, kind, number, Naming(), MouseWorldX, MouseWorldY);
  return number;
}

void Program::ShowPrompt(const std::string& text) { InfoText = "  " + text; }

void Program::SetDocName(const std::string& name) {
  std::error_code ec;
  const std::filesystem::path full = std::filesystem::absolute(std::filesystem::u8path(name), ec);
  DocFileName = ec ? name : full.lexically_normal().u8string();
  Caption = Config.DrawFName ? DocFileName + " - " + BaseTitle : BaseTitle;
}

bool Program::DocumentUnnamed() const {
  return std::filesystem::u8path(DocFileName).filename().u8string() == UnnamedDocument;
}

std::string Program::ObjectLimitMessage() const { return Msgs[34] + std::to_string(MaxObjects) + "."; }

void Program::ShowObjectLimitMessage() { Desktop.MessageBox(MsgType::Error, ObjectLimitMessage(), mbOK); }

} // namespace drex
