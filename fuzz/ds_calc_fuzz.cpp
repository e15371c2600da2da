// Feeds arbitrary bytes to the evaluator as a formula, directly and with a variable substituted,
// and checks that the cached path and the rewriting reference agree on every text.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "expr/DS_Calc.h"

namespace {

bool SameOutcome(drex::DS_Calc& fast, drex::DS_Calc& reference, const std::string& text) {
  const long double a = fast.EvaluateExpression(text);
  const long double b = reference.EvaluateByRewriting(text);
  if (fast.CalcError != reference.CalcError) return false;
  if (fast.CalcError != 0) return a == 0 && b == 0;
  // The 80 significant bits of the x87 format; the padding bytes are unspecified.
  constexpr std::size_t Significant = sizeof(long double) < 10 ? sizeof(long double) : 10;
  return std::isfinite(a) && std::memcmp(&a, &b, Significant) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One evaluator kept across inputs, so that its cache meets many shapes; one fresh per input.
  static drex::DS_Calc fast;
  drex::DS_Calc reference;
  if (size == 0) return 0;
  // The first byte chooses the variable and its value; the rest is the formula.
  const char letter = static_cast<char>("XTFYZ"[data[0] % 5]);
  static const long double Values[] = {0.01L, -0.5L, 3, -1234567890.5L, 0, 1e40L, -1e60L, 1.0L / 3};
  const long double value = Values[(data[0] / 5) % 8];
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

  if (!SameOutcome(fast, reference, text)) std::abort();
  const std::string substituted = drex::SubstituteVariable(text, letter, value);
  if (!SameOutcome(fast, reference, substituted)) std::abort();
  // A second variable substituted into the first result, as the calculation dialog does.
  if (!SameOutcome(fast, reference, drex::SubstituteVariable(substituted, 'y', -value))) std::abort();
  return 0;
}
