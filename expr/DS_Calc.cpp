#include "expr/DS_Calc.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>
#include <system_error>

namespace drex {
namespace {

constexpr long double HalfPi = 1.5707963267948966L;
/// A divisor below this in absolute value is refused with code -2 (exactly this value is allowed).
constexpr long double MinDivisor = 0.0001L;
/// A negative base takes an exponent whose fractional part is below this, as an integer power.
constexpr long double IntegerExponentTolerance = 0.000001L;
/// Shapes longer than this are evaluated without being cached.
constexpr std::size_t MaxCachedShapeLength = 512;
/// The cache is emptied when it reaches this many shapes.
constexpr std::size_t MaxCacheEntries = 256;

constexpr int NumberFieldWidth = 20;
constexpr int NumberDecimals = 10;
constexpr std::size_t MaxNumberTextLength = 60;
/// Inserted for a value without a number text: it evaluates to code -1 wherever it stands, and its
/// letters form a function name, so a later substitution passes over them.
constexpr std::string_view UncomputableText = "(LN(0))";

struct FunctionName {
  std::string_view Name;
  std::string_view Replacement;
};

// Searched in this order, so that longer names are replaced before the shorter names they contain.
constexpr FunctionName FunctionNameTable[] = {
    {"ATG", "a"},
    {"ACTG", "b"},
    {"ASIN", "c"},
    {"ACOS", "d"},
    {"LG", "e"},
    {"SIN", "f"},
    {"COS", "g"},
    {"CTG", "h"},
    {"TG", "i"},
    {"EXP", "j"},
    {"FRAC", "k"},
    {"INT", "l"},
    {"LN", "m"},
    {"SQRT", "n"},
    {"SQR", "o"},
    {"ABS", "p"},
    // PI becomes a parenthesised number, so that it never joins a neighbouring digit or point.
    {"PI", "(3.1415926)"}};

enum StepKind : uint8_t { StepNegate, StepPower, StepFunction, StepMultiply, StepDivide, StepAdd, StepSubtract };

bool IsOperand(char ch) { return ch >= 'A' && ch <= 'Z'; }
bool IsFunctionLetter(char ch) { return ch >= 'a' && ch <= 'p'; }
bool IsDigit(char ch) { return ch >= '0' && ch <= '9'; }
char ToUpperAscii(char ch) { return (ch >= 'a' && ch <= 'z') ? static_cast<char>(ch - 'a' + 'A') : ch; }

// The first pass over an input text counts "(", ")" and letters in three 21-bit lanes of one
// 64-bit sum, flushed before a lane can overflow, and gathers the letters and any forbidden byte
// in one mask.
constexpr int LaneBits = 21;
constexpr uint64_t LaneMask = (uint64_t{1} << LaneBits) - 1;
constexpr std::size_t LaneChunk = std::size_t{1} << 20;
constexpr uint64_t OpenCount = 1;
constexpr uint64_t CloseCount = uint64_t{1} << LaneBits;
constexpr uint64_t LetterCount = uint64_t{1} << (2 * LaneBits);
constexpr uint32_t ForbiddenBit = uint32_t{1} << 31;

/// What the first pass does with each byte.
struct ByteTable {
  char Upper[256];      // the byte written to the working text
  uint64_t Counts[256]; // its lane increment
  uint32_t Mask[256];   // the letter's bit among A..Z, or ForbiddenBit for a byte no name can use
  constexpr ByteTable() : Upper(), Counts(), Mask() {
    for (int c = 0; c < 256; ++c) {
      Upper[c] = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
      const bool allowed = (c >= '0' && c <= '9') || c == '*' || c == '+' || c == '-' || c == '.' || c == '/' ||
                           c == '^' || c == '(' || c == ')' || c == ' ';
      if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
        Counts[c] = LetterCount;
        Mask[c] = uint32_t{1} << (Upper[c] - 'A');
      } else if (!allowed) {
        Mask[c] = ForbiddenBit;
      }
      if (c == '(') Counts[c] = OpenCount;
      if (c == ')') Counts[c] = CloseCount;
    }
  }
  bool IsLetter(char ch) const { return Counts[static_cast<unsigned char>(ch)] == LetterCount; }
};
constexpr ByteTable Bytes;

// With a 64-bit significand, every integer below 10^19 and every power of ten up to 10^27 is exact.
constexpr bool ExactQuotients = std::numeric_limits<long double>::digits >= 64;
constexpr int MaxExactDecimals = 27;
struct PowersOfTen {
  long double Values[MaxExactDecimals + 1];
  constexpr PowersOfTen() : Values() {
    long double p = 1;
    for (int i = 0; i <= MaxExactDecimals; ++i) {
      Values[i] = p;
      p *= 10;
    }
  }
};
constexpr PowersOfTen Pow10;

/// Takes the longest run of digits and points that starts at `first` and converts it; returns the
/// end of the run. `valid` is false when the run is not a decimal number (no digit, more than one
/// point, or out of range). Up to 19 significant digits and 27 decimals the quotient of two exact
/// values is correctly rounded, as from_chars is, so both routes give the same bits.
const char* ScanNumber(const char* first, const char* last, long double& value, bool& valid) {
  uint64_t mantissa = 0;
  int significant = 0;
  int digits = 0;
  int decimals = 0;
  int points = 0;
  const char* p = first;
  for (;;) {
    for (; p != last; ++p) {
      const unsigned d = static_cast<unsigned>(static_cast<unsigned char>(*p)) - '0';
      if (d > 9) break;
      ++digits;
      if (points > 0) ++decimals;
      if (significant == 0 && d == 0) continue;
      if (++significant <= 19) mantissa = mantissa * 10 + d;
    }
    if (p == last || *p != '.') break;
    ++points;
    ++p;
  }
  valid = points <= 1 && digits > 0;
  if (!valid) return p;
  if (ExactQuotients && significant <= 19 && decimals <= MaxExactDecimals) {
    value = static_cast<long double>(mantissa) / Pow10.Values[decimals];
    return p;
  }
  long double parsed = 0;
  const auto res = std::from_chars(first, p, parsed, std::chars_format::fixed);
  valid = res.ec == std::errc() && res.ptr == p && std::isfinite(parsed);
  if (valid) value = parsed;
  return p;
}

int ComputePower(long double v, long double u, long double& result) {
  long double r = 0;
  if (v > 0) {
    r = std::exp(u * std::log(v));
  } else if (v < 0) {
    if (!(std::fabs(u - std::trunc(u)) < IntegerExponentTolerance)) return CalcMathError;
    r = std::exp(u * std::log(-v));
    if (std::fmod(std::round(u), 2.0L) != 0) r = -r;
  }
  if (!std::isfinite(r)) return CalcMathError;
  result = r;
  return CalcOk;
}

int ComputeFunction(int index, long double u, long double& result) {
  long double r = 0;
  switch (index) {
  case 0: // ATG
    r = std::atan(u);
    break;
  case 1: // ACTG
    r = HalfPi - std::atan(u);
    break;
  case 2: { // ASIN, through the arctangent: the division fails at +-1
    const long double d = 1 - u * u;
    if (d < 0) return CalcMathError;
    const long double s = std::sqrt(d);
    if (s == 0) return CalcMathError;
    r = std::atan(u / s);
    break;
  }
  case 3: { // ACOS, through the arctangent: negative u gives a value between -pi/2 and 0
    const long double d = 1 - u * u;
    if (d < 0 || u == 0) return CalcMathError;
    r = std::atan(std::sqrt(d) / u);
    break;
  }
  case 4: // LG
    if (u <= 0) return CalcMathError;
    r = std::log(u) / std::log(10.0L);
    break;
  case 5: // SIN
    r = std::sin(u);
    break;
  case 6: // COS
    r = std::cos(u);
    break;
  case 7: { // CTG
    const long double s = std::sin(u);
    if (s == 0) return CalcMathError;
    r = std::cos(u) / s;
    break;
  }
  case 8: { // TG
    const long double c = std::cos(u);
    if (c == 0) return CalcMathError;
    r = std::sin(u) / c;
    break;
  }
  case 9: // EXP
    r = std::exp(u);
    break;
  case 10: // FRAC keeps the sign
    r = u - std::trunc(u);
    break;
  case 11: // INT truncates toward zero
    r = std::trunc(u);
    break;
  case 12: // LN
    if (u <= 0) return CalcMathError;
    r = std::log(u);
    break;
  case 13: // SQRT
    if (u < 0) return CalcMathError;
    r = std::sqrt(u);
    break;
  case 14: // SQR
    r = u * u;
    break;
  case 15: // ABS
    r = std::fabs(u);
    break;
  default:
    return CalcMathError;
  }
  if (!std::isfinite(r)) return CalcMathError;
  result = r;
  return CalcOk;
}

// An overflow of the four operations is reported as code -1 rather than returned as infinity.
int ComputeBinary(int kind, long double v, long double u, long double& result) {
  long double r = 0;
  switch (kind) {
  case StepMultiply:
    r = v * u;
    break;
  case StepDivide:
    if (std::fabs(u) < MinDivisor) return CalcNearZeroDivisor;
    r = v / u;
    break;
  case StepAdd:
    r = v + u;
    break;
  default:
    r = v - u;
    break;
  }
  if (!std::isfinite(r)) return CalcMathError;
  result = r;
  return CalcOk;
}

/// Performs each operation at once on the registers.
class ComputingSink {
public:
  explicit ComputingSink(long double* registers) : registers_(registers) {}
  void Negate(int slot) { registers_[slot] = -registers_[slot]; }
  int Power(int left, int right) { return ComputePower(registers_[left], registers_[right], registers_[right]); }
  int Function(int index, int slot) { return ComputeFunction(index, registers_[slot], registers_[slot]); }
  int Binary(int kind, int left, int right) {
    return ComputeBinary(kind, registers_[left], registers_[right], registers_[left]);
  }

private:
  long double* registers_;
};

/// Writes each operation down, to be performed later on any registers.
class RecordingSink {
public:
  explicit RecordingSink(std::vector<DS_Calc::Step>& steps) : steps_(steps) {}
  void Negate(int slot) { Add(StepNegate, slot, 0); }
  int Power(int left, int right) { return Add(StepPower, left, right); }
  int Function(int index, int slot) { return Add(StepFunction, slot, index); }
  int Binary(int kind, int left, int right) { return Add(kind, left, right); }

private:
  int Add(int kind, int left, int right) {
    steps_.push_back({static_cast<uint8_t>(kind), static_cast<uint8_t>(left), static_cast<uint8_t>(right)});
    return CalcOk;
  }
  std::vector<DS_Calc::Step>& steps_;
};

int RunStep(const DS_Calc::Step& step, long double* registers) {
  switch (step.Kind) {
  case StepNegate:
    registers[step.Left] = -registers[step.Left];
    return CalcOk;
  case StepPower:
    return ComputePower(registers[step.Left], registers[step.Right], registers[step.Right]);
  case StepFunction:
    return ComputeFunction(step.Right, registers[step.Left], registers[step.Left]);
  default:
    return ComputeBinary(step.Kind, registers[step.Left], registers[step.Right], registers[step.Left]);
  }
}

/// A "-" directly before an operand, at the start or after a non-operand, negates that operand.
template <class Sink> void UnaryMinusPass(std::string& s, Sink& sink) {
  if (s.size() < 2) return;
  for (std::size_t i = s.size() - 1; i-- > 0;) {
    if (s[i] == '-' && IsOperand(s[i + 1]) && (i == 0 || !IsOperand(s[i - 1]))) {
      sink.Negate(s[i + 1] - 'A');
      s.erase(i, 1);
    }
  }
}

/// Reduces the leftmost binary operator among `ops` until none is left; the result goes to the
/// left operand's register.
template <class Sink> int BinaryLevel(std::string& s, Sink& sink, const char* ops) {
  for (;;) {
    const std::size_t p = s.find_first_of(ops);
    if (p == std::string::npos) return CalcOk;
    if (p == 0 || p + 1 == s.size() || !IsOperand(s[p - 1]) || !IsOperand(s[p + 1])) return CalcMalformed;
    int kind = StepSubtract;
    switch (s[p]) {
    case '*':
      kind = StepMultiply;
      break;
    case '/':
      kind = StepDivide;
      break;
    case '+':
      kind = StepAdd;
      break;
    default:
      break;
    }
    if (const int code = sink.Binary(kind, s[p - 1] - 'A', s[p + 1] - 'A')) return code;
    s.erase(p, 2);
  }
}

/// Reduces a parenthesis-free segment to one operand letter, or returns the code that stops it.
template <class Sink> int ReduceSegment(std::string& s, Sink& sink) {
  UnaryMinusPass(s, sink);

  // Powers, leftmost first: a^b^c is (a^b)^c; the result goes to the right operand's register.
  for (;;) {
    const std::size_t p = s.find('^');
    if (p == std::string::npos) break;
    if (p == 0 || p + 1 == s.size() || !IsOperand(s[p - 1]) || !IsOperand(s[p + 1])) return CalcMalformed;
    if (const int code = sink.Power(s[p - 1] - 'A', s[p + 1] - 'A')) return code;
    s.erase(p - 1, 2);
  }

  // Functions take the single operand that follows them once the powers are done.
  for (;;) {
    std::size_t p = 0;
    while (p < s.size() && !IsFunctionLetter(s[p]))
      ++p;
    if (p == s.size()) break;
    if (p + 1 == s.size() || !IsOperand(s[p + 1])) return CalcMalformed;
    if (const int code = sink.Function(s[p] - 'a', s[p + 1] - 'A')) return code;
    s.erase(p, 1);
  }

  s.erase(0, s.find_first_not_of('+'));

  // Runs of signs collapse from the right: "--" is "+", "+-" and "-+" are "-".
  if (s.size() >= 2) {
    for (std::size_t i = s.size() - 1; i-- > 0;) {
      const char a = s[i];
      const char b = s[i + 1];
      if ((a == '+' || a == '-') && (b == '+' || b == '-')) {
        s[i] = (a == b) ? '+' : '-';
        s.erase(i + 1, 1);
      }
    }
  }

  UnaryMinusPass(s, sink);
  if (const int code = BinaryLevel(s, sink, "*/")) return code;
  if (const int code = BinaryLevel(s, sink, "+-")) return code;

  if (s.empty()) return CalcMalformed;
  if (s.size() > 1) return CalcForbidden;
  return CalcOk;
}

/// Reduces the innermost groups first until one operand is left; `result` is its register.
template <class Sink> int ReduceGroups(std::string& text, std::string& segment, Sink& sink, int& result) {
  for (;;) {
    const std::size_t close = text.find(')');
    if (close == std::string::npos) break;
    const std::size_t open = text.rfind('(', close);
    if (open == std::string::npos) return CalcUnbalanced;
    segment.assign(text, open + 1, close - open - 1);
    if (const int code = ReduceSegment(segment, sink)) return code;
    text[close] = segment[0];
    text.erase(open, close - open);
  }
  // Parentheses in the wrong order, as in 2)+(3, leave more than one operand or an operator behind.
  if (text.size() != 1 || !IsOperand(text[0])) return CalcUnbalanced;
  result = text[0] - 'A';
  return CalcOk;
}

bool StartsFunctionName(char upper) {
  switch (upper) {
  case 'A':
  case 'C':
  case 'E':
  case 'F':
  case 'I':
  case 'L':
  case 'P':
  case 'S':
  case 'T':
    return true;
  default:
    return false;
  }
}

/// Length of the first entry of the name table that begins at `pos` (any case), or 0.
int MatchFunctionName(const std::string& text, std::size_t pos) {
  const char first = ToUpperAscii(text[pos]);
  if (!StartsFunctionName(first)) return 0;
  for (const FunctionName& entry : FunctionNameTable) {
    const std::size_t n = entry.Name.size();
    if (entry.Name[0] != first || text.size() - pos < n) continue;
    std::size_t k = 1;
    while (k < n && ToUpperAscii(text[pos + k]) == entry.Name[k])
      ++k;
    if (k == n) return static_cast<int>(n);
  }
  return 0;
}

__extension__ typedef unsigned __int128 UInt128;

/// Writes |value| < 2^30 with 10 decimals, rounded to nearest with ties to even on the exact binary
/// value, as to_chars does; returns the length.
std::size_t FormatSmallFixed10(long double value, char* buf) {
  // |value| = mantissa / 2^shift exactly.
  uint64_t mantissa = 0;
  int shift = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  if constexpr (std::numeric_limits<long double>::digits == 64 && sizeof(long double) >= 10) {
    // The x87 extended format: a 64-bit significand with its integer bit, then sign and exponent.
    unsigned char bytes[sizeof(long double)];
    std::memcpy(bytes, &value, sizeof value);
    std::memcpy(&mantissa, bytes, 8);
    const int biased = (bytes[8] | (bytes[9] << 8)) & 0x7fff;
    shift = 16383 + 63 - (biased == 0 ? 1 : biased);
  } else
#endif
  {
    int exponent = 0;
    const long double fraction = std::frexp(std::fabs(value), &exponent);
    mantissa = static_cast<uint64_t>(std::ldexp(fraction, 64));
    shift = 64 - exponent;
  }
  uint64_t scaled = 0; // round(|value| * 10^10)
  if (mantissa != 0 && shift < 128) {
    const UInt128 product = static_cast<UInt128>(mantissa) * 10000000000ull;
    UInt128 q = product >> shift;
    const UInt128 rest = product - (q << shift);
    const UInt128 half = static_cast<UInt128>(1) << (shift - 1);
    if (rest > half || (rest == half && (q & 1) != 0)) ++q;
    scaled = static_cast<uint64_t>(q);
  }
  uint64_t whole = scaled / 10000000000ull;
  uint64_t decimals = scaled % 10000000000ull;
  char digits[24];
  int n = 0;
  do {
    digits[n++] = static_cast<char>('0' + whole % 10);
    whole /= 10;
  } while (whole != 0);
  std::size_t length = 0;
  if (std::signbit(value)) buf[length++] = '-';
  while (n > 0)
    buf[length++] = digits[--n];
  buf[length++] = '.';
  for (int k = NumberDecimals - 1; k >= 0; --k) {
    buf[length + static_cast<std::size_t>(k)] = static_cast<char>('0' + decimals % 10);
    decimals /= 10;
  }
  return length + NumberDecimals;
}

/// Writes the number text of `value` (parentheses included) into `buf`, which holds at least
/// NumberTextCapacity characters; returns its length.
constexpr std::size_t NumberTextCapacity = 128;
std::size_t WriteNumberText(long double value, char* buf) {
  char digits[96];
  std::size_t length = 0;
  if (std::isfinite(value) && std::fabs(value) < 1073741824.0L) {
    length = FormatSmallFixed10(value, digits);
  } else if (std::isfinite(value)) {
    const auto res = std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed, NumberDecimals);
    length = res.ec == std::errc() ? static_cast<std::size_t>(res.ptr - digits) : sizeof digits;
  } else {
    length = sizeof digits;
  }
  if (length > MaxNumberTextLength) {
    UncomputableText.copy(buf, UncomputableText.size());
    return UncomputableText.size();
  }
  std::size_t out = 0;
  buf[out++] = '(';
  for (std::size_t k = length; k < static_cast<std::size_t>(NumberFieldWidth); ++k)
    buf[out++] = ' ';
  for (std::size_t k = 0; k < length; ++k)
    buf[out++] = digits[k];
  buf[out++] = ')';
  return out;
}

constexpr std::size_t FunctionNameCount = sizeof FunctionNameTable / sizeof FunctionNameTable[0];

/// For each name of the table, the mask of its capital letters.
struct NameLetterMasks {
  uint32_t Values[FunctionNameCount];
  constexpr NameLetterMasks() : Values() {
    for (std::size_t e = 0; e < FunctionNameCount; ++e)
      for (const char ch : FunctionNameTable[e].Name)
        Values[e] |= 1u << (ch - 'A');
  }
};
constexpr NameLetterMasks NameLetters;

struct FirstPass {
  char* End;               // one past the closing parenthesis written
  long long Depth;         // "(" minus ")"
  uint32_t Letters;        // which capital letters occur, to skip names that cannot
  std::size_t LetterCount; // how many letters
  bool Forbidden;          // a byte that no name replacement can make allowed
};

/// Encloses the text in parentheses, drops blanks, counts parentheses, goes to upper case and
/// notes what the character check needs. Written without branches: a blank is stored and then
/// overwritten by the next byte. `out` holds at least last - first + 2 bytes.
FirstPass CopyForRewriting(const char* first, const char* last, char* out) {
  *out++ = '(';
  long long depth = 0;
  std::size_t letterCount = 0;
  uint32_t mask = 0;
  while (first != last) {
    const char* chunkEnd = static_cast<std::size_t>(last - first) > LaneChunk ? first + LaneChunk : last;
    uint64_t lanes = 0;
    for (; first != chunkEnd; ++first) {
      const unsigned char c = static_cast<unsigned char>(*first);
      *out = Bytes.Upper[c];
      out += c != ' ';
      lanes += Bytes.Counts[c];
      mask |= Bytes.Mask[c];
    }
    depth += static_cast<long long>(lanes & LaneMask) - static_cast<long long>((lanes >> LaneBits) & LaneMask);
    letterCount += static_cast<std::size_t>((lanes >> (2 * LaneBits)) & LaneMask);
  }
  *out++ = ')';
  return {out, depth, mask & ~ForbiddenBit, letterCount, (mask & ForbiddenBit) != 0};
}

} // namespace

int DS_Calc::Prepare(const std::string& text) {
  // Enclose, drop blanks, count parentheses and go to upper case, into a buffer that only grows
  // (so no call pays for clearing memory). The registers are not cleared: those beyond the
  // literals of the text are never read.
  if (scratch_.size() < text.size() + 2) scratch_.resize(text.size() + 2);
  const FirstPass first = CopyForRewriting(text.data(), text.data() + text.size(), &scratch_[0]);
  work_.assign(scratch_.data(), static_cast<std::size_t>(first.End - scratch_.data()));
  std::size_t letterCount = first.LetterCount;
  if (work_.size() > MaxWorkingLength + 2) return CalcForbidden;
  if (first.Depth != 0) return CalcUnbalanced;

  // Function names become their letters. The inserted text holds no capital letter, so replacing
  // every occurrence from left to right is the same as replacing the first one again and again.
  if (letterCount != 0) {
    for (std::size_t e = 0; e < FunctionNameCount; ++e) {
      const FunctionName& entry = FunctionNameTable[e];
      if ((NameLetters.Values[e] & ~first.Letters) != 0) continue;
      std::size_t pos = work_.find(entry.Name.data(), 0, entry.Name.size());
      if (pos == std::string::npos) continue;
      segment_.clear();
      std::size_t from = 0;
      while (pos != std::string::npos) {
        segment_.append(work_, from, pos - from);
        segment_.append(entry.Replacement.data(), entry.Replacement.size());
        letterCount -= entry.Name.size();
        from = pos + entry.Name.size();
        pos = work_.find(entry.Name.data(), from, entry.Name.size());
      }
      segment_.append(work_, from, std::string::npos);
      work_.swap(segment_);
    }
  }
  // Any capital letter left (an unsubstituted variable) or any other sign is refused.
  if (first.Forbidden || letterCount != 0) return CalcForbidden;

  // Every run of digits and points goes to the next register and is replaced by its letter.
  const std::size_t n = work_.size();
  const char* w = work_.data();
  if (scratch_.size() < n) scratch_.resize(n);
  char* shape = &scratch_[0];
  std::size_t shapeLength = 0;
  int count = 0;
  for (std::size_t i = 0; i < n;) {
    if (!IsDigit(w[i]) && w[i] != '.') {
      shape[shapeLength++] = w[i++];
      continue;
    }
    long double value = 0;
    bool valid = false;
    const std::size_t j = static_cast<std::size_t>(ScanNumber(w + i, w + n, value, valid) - w);
    if (!valid) return CalcBadNumber;
    if (count == OperandRegisterCount) return CalcMalformed;
    OperandRegisters_[static_cast<std::size_t>(count)] = value;
    shape[shapeLength++] = static_cast<char>('A' + count);
    ++count;
    i = j;
  }
  shape_.assign(shape, shapeLength);

  // Two operands side by side: the end of one (a register or a closing group) directly before the
  // start of another (a register, a function or an opening group), as in 2sin(1), (2)sin(1), 2(3)
  // or (2)(3); or "()". Such a text is refused here, before anything is computed, so that no
  // error of a value in it can come first.
  for (std::size_t i = 0; i + 1 < shape_.size(); ++i) {
    const char a = shape_[i];
    const char b = shape_[i + 1];
    const bool endsOperand = IsOperand(a) || a == ')';
    const bool startsOperand = IsOperand(b) || IsFunctionLetter(b) || b == '(';
    if ((endsOperand && startsOperand) || (a == '(' && b == ')')) return CalcForbidden;
  }
  return CalcOk;
}

long double DS_Calc::EvaluateByRewriting(const std::string& text) {
  CalcError = Prepare(text);
  if (CalcError != CalcOk) return 0;
  return RewriteShape();
}

long double DS_Calc::RewriteShape() {
  work_ = shape_;
  ComputingSink sink(OperandRegisters_.data());
  int result = 0;
  CalcError = ReduceGroups(work_, segment_, sink, result);
  if (CalcError != CalcOk) return 0;
  return OperandRegisters_[static_cast<std::size_t>(result)];
}

long double DS_Calc::EvaluateExpression(const std::string& text) {
  CalcError = Prepare(text);
  if (CalcError != CalcOk) return 0;
  if (shape_.size() > MaxCachedShapeLength) return RewriteShape();

  // The operations the rewriting performs depend only on the shape of the text, never on the
  // values, so the order recorded once for a shape serves every text of that shape.
  // A sampler evaluates one formula many times in a row, so the last shape is tried first.
  if (last_.Steps == nullptr || *last_.Shape != shape_) {
    auto it = cache_.find(shape_);
    if (it == cache_.end()) {
      if (cache_.size() >= MaxCacheEntries) ClearCache();
      Program program;
      RecordingSink sink(program.Steps);
      work_ = shape_;
      program.EndCode = ReduceGroups(work_, segment_, sink, program.ResultRegister);
      it = cache_.emplace(shape_, std::move(program)).first;
    }
    last_.Shape = &it->first;
    last_.Steps = &it->second;
  }
  const Program& program = *last_.Steps;
  for (const Step& step : program.Steps) {
    if (const int code = RunStep(step, OperandRegisters_.data())) {
      CalcError = code;
      return 0;
    }
  }
  CalcError = program.EndCode;
  if (CalcError != CalcOk) return 0;
  return OperandRegisters_[static_cast<std::size_t>(program.ResultRegister)];
}

std::string VariableNumberText(long double value) {
  char buf[NumberTextCapacity];
  return std::string(buf, WriteNumberText(value, buf));
}

std::string SubstituteVariable(const std::string& text, char letter, long double value) {
  const char wanted = ToUpperAscii(letter);
  const std::size_t n = text.size();
  std::size_t candidates = 0; // places the letter stands, inside names or not
  for (const char ch : text)
    candidates += ToUpperAscii(ch) == wanted;
  if (candidates == 0) return text;

  char number[NumberTextCapacity];
  const std::size_t numberLength = WriteNumberText(value, number);
  std::string result(n + candidates * numberLength, '\0');
  char* out = &result[0];
  const char* in = text.data();
  for (std::size_t i = 0; i < n;) {
    // Bytes other than letters are copied as they are; only at a letter can a name begin.
    const char ch = in[i];
    if (!Bytes.IsLetter(ch) && ch != wanted) {
      *out++ = ch;
      ++i;
      continue;
    }
    if (const int nameLength = MatchFunctionName(text, i)) {
      std::memcpy(out, in + i, static_cast<std::size_t>(nameLength));
      out += nameLength;
      i += static_cast<std::size_t>(nameLength);
    } else if (ToUpperAscii(in[i]) == wanted) {
      std::memcpy(out, number, numberLength);
      out += numberLength;
      ++i;
    } else {
      *out++ = in[i++];
    }
  }
  result.resize(static_cast<std::size_t>(out - result.data()));
  return result;
}

} // namespace drex
