// Feeds arbitrary bytes to the dynamic-expression evaluator as a formula stored in a document,
// over a small construction with points, lines and an undefined point, and checks that the value
// is a number text or "???" and that the index-free path gives the same text.

#include <cstdint>
#include <cstdlib>
#include <string>

#include "../bench/quiet_platform.h"
#include "calc/dyn_expr.h"
#include "kernel/construction.h"
#include "kernel/cp1251.h"
#include "shell/program.h"
#include "view/redraw.h"

namespace {

drex::Program& Fixture() {
  static drex::QuietPlatform desk;
  static drex::Program prog(desk);
  static bool built = false;
  if (!built) {
    built = true;
    const auto point = [](double x, double y) {
      prog.MouseWorldX = x;
      prog.MouseWorldY = y;
      return prog.AppendObject(drex::okPoint);
    };
    const int a = point(0, 0), b = point(100, 0), c = point(100, 100);
    const int line = prog.AppendObject(drex::okLine);
    prog.Doc[line].Refs[1] = static_cast<int16_t>(a);
    prog.Doc[line].Refs[2] = static_cast<int16_t>(b);
    prog.Doc[line].RefCount = 2;
    prog.Doc[line].Name.Assign("L");
    const int twin = prog.AppendObject(drex::okParallel);
    prog.Doc[twin].Refs[1] = static_cast<int16_t>(c);
    prog.Doc[twin].Refs[2] = static_cast<int16_t>(line);
    prog.Doc[twin].RefCount = 2;
    const int none = prog.AppendObject(drex::okIntersection);
    prog.Doc[none].Refs[0] = drex::isTwoLines;
    prog.Doc[none].Refs[1] = static_cast<int16_t>(line);
    prog.Doc[none].Refs[2] = static_cast<int16_t>(twin);
    prog.Doc[none].RefCount = 2;
    prog.Doc[none].Name.Assign("U");
    drex::Redraw(prog, true);
  }
  return prog;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  drex::Program& prog = Fixture();
  const std::string stored(reinterpret_cast<const char*>(data), size);
  drex::ObjectNameIndex names;
  drex::WantCallNames(names, stored);
  names.Build(prog.Doc);
  const std::string value = drex::EvaluateStoredDynExpr(prog, names, stored);
  if (value.empty()) std::abort();
  if (value == "???" && prog.ExprCalc.CalcError == 0) std::abort();
  if (value != "???" && prog.ExprCalc.CalcError != 0) std::abort();
  // Typed, the same text (as the dialog checks it) gives the same value when it is one the
  // dialog could have stored.
  if (size <= drex::MaxDynExprLength && drex::Utf8ToCp1251(drex::Cp1251ToUtf8(stored)) == stored &&
      drex::EvaluateDynExpr(prog, drex::Cp1251ToUtf8(stored)) != value)
    std::abort();
  return 0;
}
