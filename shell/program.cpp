#include "shell/program.h"

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

} // namespace drex
