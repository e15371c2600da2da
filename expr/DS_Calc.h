#pragma once
// The formula evaluator. A formula reaches it with every variable already replaced by a number
// (SubstituteVariable); EvaluateExpression rewrites a working copy of the text step by step until
// one operand is left, and reports what went wrong through CalcError.
//
// The rewriting order decides values users see: a unary minus binds tighter than every operator
// (-2^2 is 4), powers go before functions (sin(2)^2 is the sine of 4), powers associate to the left
// (2^3^2 is 64), and two operands side by side are refused.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace drex {

/// Outcomes left in DS_Calc::CalcError. Positive: the text is wrong; negative: the text is right
/// but cannot be evaluated at this point.
enum CalcCode : int {
  CalcOk = 0,
  CalcMalformed = 1,       ///< an operator or function lacks an operand, more than 26 numbers, nothing left
  CalcForbidden = 2,       ///< a character outside the allowed set, operands side by side, "()"
  CalcUnbalanced = 3,      ///< the counts of "(" and ")" differ, or their order leaves them unpaired: 2)+(3
  CalcBadNumber = 4,       ///< a run of digits and points is not a decimal number
  CalcMathError = -1,      ///< a function or power undefined for its argument, or an overflow
  CalcNearZeroDivisor = -2 ///< the divisor of "/" is below 0.0001 in absolute value
};

/// Number of operand registers, "A" to "Z": at most this many numeric literals per text.
constexpr int OperandRegisterCount = 26;
/// Working texts longer than this (blanks removed) are refused with code 2 so that the quadratic
/// rewriting stays bounded in time.
constexpr std::size_t MaxWorkingLength = 65536;

/// The evaluator. Holds its registers, its working text and a cache of rewriting orders; one object
/// per caller, not shared between threads.
class DS_Calc {
public:
  /// Evaluates a number-only expression text; sets CalcError (0 ok, >0 malformed, <0 not computable);
  /// returns 0 on error. The value and code are exactly those of EvaluateByRewriting.
  long double EvaluateExpression(const std::string& text);

  /// The same evaluation done by rewriting the text and computing as it goes, without the cache.
  /// Kept as the reference the cached path is checked against.
  long double EvaluateByRewriting(const std::string& text);

  /// Forgets every cached rewriting order (for tests and measurements).
  void ClearCache() {
    cache_.clear();
    last_ = LastEntry();
  }
  /// Number of distinct expression shapes held in the cache.
  std::size_t CacheSize() const { return cache_.size(); }

  /// Outcome of the last evaluation (a CalcCode value).
  int CalcError = 0;

  /// One step of a recorded rewriting: an operation on one or two registers.
  struct Step {
    uint8_t Kind;  ///< which operation: negation, power, function or one of the four operations
    uint8_t Left;  ///< register of the left operand (or the only one)
    uint8_t Right; ///< register of the right operand, or the function number
  };
  /// The rewriting order of one expression shape: the steps in the order the rewriting performs
  /// them, then the code the rewriting ends with (0 or a positive code) and the result register.
  struct Program {
    std::vector<Step> Steps;
    int EndCode = 0;
    int ResultRegister = 0;
  };

private:
  /// Rewrites the text up to the shape: registers filled, shape_ set; returns the code that stops it.
  int Prepare(const std::string& text);
  /// Rewrites shape_ to one operand, computing as it goes; sets CalcError.
  long double RewriteShape();

  std::array<long double, OperandRegisterCount> OperandRegisters_{};
  std::string shape_;   // the text after literals became register letters
  std::string work_;    // the working text being rewritten
  std::string segment_; // the parenthesis-free segment being reduced
  std::string scratch_; // room for the first pass and the shape, grown as needed
  /// The entry of cache_ used last, or none. A copied or moved evaluator starts without one, since
  /// the entry belongs to the other object's cache.
  struct LastEntry {
    const std::string* Shape = nullptr;
    const Program* Steps = nullptr;
    LastEntry() = default;
    LastEntry(const LastEntry&) {}
    LastEntry& operator=(const LastEntry&) {
      Shape = nullptr;
      Steps = nullptr;
      return *this;
    }
  };

  std::unordered_map<std::string, Program> cache_;
  LastEntry last_;
};

/// Copy of `text` with the variable `letter` (case-insensitive, outside function names) replaced by
/// the value's number text: fixed-point with 10 decimals, right-aligned in 20 characters, always
/// enclosed in "(" and ")" so that it never joins a neighbouring digit, point or number. A value that
/// is not finite or needs more than 60 characters is replaced by a text that evaluates to code -1.
std::string SubstituteVariable(const std::string& text, char letter, long double value);

/// The number text SubstituteVariable inserts for `value`, parentheses included.
std::string VariableNumberText(long double value);

} // namespace drex
