#include "shell/program.h"

namespace drex {

Program::Program(Platform& platform) : Desktop(platform) {
  ApplyTexts();
  History.Reset(Doc);
}

void Program::ApplyTexts() { TakeKindTexts(Msgs, Kinds); }

int Program::AppendObject(int kind) {
  if (Doc.ObjCount >= MaxObjects) return 0;
  const int number = Doc.ObjCount + 1;
  Doc.ObjCount = static_cast<int16_t>(number);
  InitObject(Doc, kind, number, Naming(), MouseWorldX, MouseWorldY);
  return number;
}

void Program::ShowPrompt(const std::string& text) { InfoText = "  " + text; }

std::string Program::ObjectLimitMessage() const {
  // A language file cannot keep a trailing blank, so the blank before the number is added here.
  std::string text = Msgs[34];
  if (!text.empty() && text.back() != ' ') text += ' ';
  return text + std::to_string(MaxObjects) + ".";
}

void Program::ShowObjectLimitMessage() { Desktop.MessageBox(MsgType::Error, ObjectLimitMessage(), mbOK); }

CalcContext CalculationContext(Program& prog) {
  return CalcContext{prog.Calc, prog.Desktop, prog.Msgs, prog.Config.IntegrationSteps, prog.Calculus};
}

} // namespace drex
