// Feeds arbitrary bytes to the macro parser. A macro it accepts must be written back byte for
// byte and must parse again; it is then applied to a table, one new object per source record
// standing for its pick, and the table is recalculated, as the program does after applying.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "documents/macro_commands.h"
#include "documents/macro_file.h"
#include "kernel/recalc.h"
#include "shell/d2consts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static drex::Construction doc;
  static const drex::MsgTable msgs;
  static drex::KindTexts texts = [] {
    drex::KindTexts t;
    drex::TakeKindTexts(msgs, t);
    return t;
  }();
  drex::Macro macro;
  if (drex::ParseMacro(data, size, macro) != drex::MacroCheck::Ok) return 0;

  const std::vector<uint8_t> bytes = drex::SerializeMacro(macro);
  if (bytes.size() != size || !std::equal(bytes.begin(), bytes.end(), data)) std::abort();
  drex::Macro again;
  if (drex::ParseMacro(bytes.data(), bytes.size(), again) != drex::MacroCheck::Ok) std::abort();

  const drex::NamingRules rules{texts, false};
  doc.ObjCount = 0;
  std::vector<int16_t> map(static_cast<std::size_t>(macro.N()) + 1, 0);
  for (int k = 1; k <= macro.N(); ++k) {
    const drex::MacroRecord& r = macro.Records[static_cast<std::size_t>(k - 1)];
    if (r.Role != drex::mrSource) continue;
    const int n = ++doc.ObjCount;
    drex::InitObject(doc, r.Kind, n, "s", 10.0 * k, 7.0 * (k % 5));
    map[static_cast<std::size_t>(k)] = static_cast<int16_t>(n);
  }
  if (!drex::CreateMacroObjects(doc, macro, map, rules, 1, 2)) std::abort();
  drex::RecalcPass(doc, drex::MakeViewArea(800, 600, doc.View), 48, 0);
  return 0;
}
