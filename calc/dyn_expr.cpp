#include "calc/dyn_expr.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "expr/DS_Calc.h"
#include "expr/format_answer.h"
#include "kernel/construction.h"
#include "kernel/cp1251.h"
#include "kernel/math2d.h"
#include "shell/program.h"

namespace drex {
namespace {

constexpr const char* NoValue = "???";
/// What a call that cannot be parsed turns the whole text into; never a valid formula.
constexpr const char* BadCall = "XXX";

uint8_t UpperByte(uint8_t b) {
  if (b >= 'a' && b <= 'z') return static_cast<uint8_t>(b - 32);
  if (b >= 0xE0) return static_cast<uint8_t>(b - 32);
  switch (b) {
  case 0x83:
    return 0x81; // ѓ
  case 0x90:
    return 0x80; // ђ
  case 0x9A:
    return 0x8A; // љ
  case 0x9C:
    return 0x8C; // њ
  case 0x9D:
    return 0x8D; // ќ
  case 0x9E:
    return 0x8E; // ћ
  case 0x9F:
    return 0x8F; // џ
  case 0xA2:
    return 0xA1; // ў
  case 0xB3:
    return 0xB2; // і
  case 0xB4:
    return 0xA5; // ґ
  case 0xB8:
    return 0xA8; // ё
  case 0xBA:
    return 0xAA; // є
  case 0xBC:
    return 0xA3; // ј
  case 0xBE:
    return 0xBD; // ѕ
  case 0xBF:
    return 0xAF; // ї
  default:
    return b;
  }
}

/// The three measurement calls, in the order their passes run.
enum class CallKind { Angle, Len, Area };
struct CallInfo {
  CallKind Kind;
  std::string_view Keyword;
};
constexpr CallInfo Calls[] = {{CallKind::Angle, "ANGLE("}, {CallKind::Len, "LEN("}, {CallKind::Area, "AREA("}};

/// The argument names of the call whose "(" ends just before `start`; false when the text ends
/// before its ")". `end` is set behind the ")".
bool ReadNames(const std::string& text, std::size_t start, std::vector<std::string_view>& names, std::size_t& end) {
  names.clear();
  std::size_t from = start;
  for (std::size_t i = start; i < text.size(); ++i) {
    if (text[i] != ',' && text[i] != ')') continue;
    names.emplace_back(text.data() + from, i - from);
    from = i + 1;
    if (text[i] == ')') {
      end = i + 1;
      return true;
    }
  }
  return false;
}

Point2 At(const TGeomObject& o) { return {o.X1, o.Y1}; }

/// The value of one call on the objects `args`; Failed for an undefined object or a value that
/// cannot be computed. `bad` is set when the arguments do not fit the call.
ValueResult CallValue(const Program& prog, CallKind kind, const std::vector<int>& args, bool& bad) {
  const Construction& c = prog.Doc;
  const double unit = prog.UnitLength > 0 ? prog.UnitLength : 1;
  const auto allOf = [&](bool (*test)(int)) {
    return std::all_of(args.begin(), args.end(), [&](int n) { return test(c[n].Kind); });
  };
  const auto point = [](int k) { return IsPointKind(k); };
  const auto line = [](int k) { return IsLineKind(k); };
  bad = false;
  ValueResult r;
  switch (kind) {
  case CallKind::Angle:
    if (args.size() == 3 && allOf(point)) {
      const TGeomObject &a = c[args[0]], &v = c[args[1]], &b = c[args[2]];
      r = OrientedAngle(At(v), At(a), At(v), At(b));
    } else if (args.size() == 2 && allOf(line)) {
      const TGeomObject &l1 = c[args[0]], &l2 = c[args[1]];
      r = OrientedAngle(At(l1), {l1.X2, l1.Y2}, At(l2), {l2.X2, l2.Y2});
    } else {
      bad = true;
      return r;
    }
    r.Value = std::fabs(r.Value);
    break;
  case CallKind::Len: {
    if (args.size() != 2) {
      bad = true;
      return r;
    }
    const TGeomObject &p = c[args[0]], &q = c[args[1]];
    if (IsPointKind(p.Kind) && IsPointKind(q.Kind)) {
      r.Value = Distance(At(p), At(q));
    } else if (IsPointKind(p.Kind) != IsPointKind(q.Kind) && (IsLineKind(p.Kind) || IsLineKind(q.Kind))) {
      const TGeomObject& pt = IsPointKind(p.Kind) ? p : q;
      const TGeomObject& ln = IsPointKind(p.Kind) ? q : p;
      const double dx = ln.X2 - ln.X1, dy = ln.Y2 - ln.Y1;
      if (std::fabs(dx) < 0.000000001 && std::fabs(dy) < 0.000000001)
        r.Value = Distance(At(pt), At(ln));
      else
        r.Value = (dy * (pt.X1 - ln.X1) - dx * (pt.Y1 - ln.Y1)) / std::sqrt(dx * dx + dy * dy);
    } else {
      bad = true;
      return r;
    }
    r.Value /= unit;
    break;
  }
  case CallKind::Area: {
    if (args.size() < 3 || !allOf(point)) {
      bad = true;
      return r;
    }
    double sum = 0;
    for (std::size_t i = 0; i < args.size(); ++i) {
      const TGeomObject& p = c[args[i]];
      const TGeomObject& q = c[args[(i + 1) % args.size()]];
      sum += (p.X1 / unit) * (q.Y1 / unit) - (q.X1 / unit) * (p.Y1 / unit);
    }
    r.Value = std::fabs(sum) / 2;
    break;
  }
  }
  for (int n : args)
    if (!c[n].Defined) r.Failed = true;
  if (!std::isfinite(r.Value)) r.Failed = true;
  return r;
}

/// Replaces every call of `call` in `text` by its value; false (text "XXX") when a call is bad.
bool RunPass(const Program& prog, const ObjectNameIndex& names, const CallInfo& call, std::string& text) {
  std::vector<std::string_view> argNames;
  std::vector<int> args;
  for (std::size_t at = text.find(call.Keyword); at != std::string::npos; at = text.find(call.Keyword, at)) {
    std::size_t end = 0;
    bool bad = !ReadNames(text, at + call.Keyword.size(), argNames, end);
    args.clear();
    for (std::size_t k = 0; k < argNames.size() && !bad; ++k) {
      const int n = argNames[k].empty() ? 0 : names.Find(argNames[k]);
      bad = n < 1 || n > prog.Doc.ObjCount;
      args.push_back(n);
    }
    ValueResult v;
    if (!bad) v = CallValue(prog, call.Kind, args, bad);
    if (bad) {
      text = BadCall;
      return false;
    }
    const std::string number = VariableNumberText(v.Failed ? NAN : static_cast<long double>(v.Value));
    text.replace(at, end - at, number);
    at += number.size();
  }
  return true;
}

/// A stored formula as it is evaluated: its first 255 bytes without blanks, in upper case.
std::string Normalized(const std::string& stored) {
  std::string text = stored.substr(0, MaxDynExprLength);
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return UpperCp1251(std::move(text));
}

} // namespace

std::string UpperCp1251(std::string bytes) {
  for (char& ch : bytes)
    ch = static_cast<char>(UpperByte(static_cast<uint8_t>(ch)));
  return bytes;
}

void ObjectNameIndex::Want(std::string_view upperName) {
  if (upperName.empty() || upperName.size() > 31) return;
  found_.emplace(std::string(upperName), 0);
  firstBytes_.set(static_cast<uint8_t>(upperName[0]));
  lengths_ |= uint32_t{1} << upperName.size();
}

void ObjectNameIndex::Clear() {
  found_.clear();
  firstBytes_.reset();
  lengths_ = 0;
}

void ObjectNameIndex::Build(const Construction& doc) {
  for (auto& entry : found_)
    entry.second = 0;
  if (found_.empty()) return;
  std::size_t left = found_.size();
  char upper[32];
  for (int n = 1; n <= doc.ObjCount && left > 0; ++n) {
    const ShortString<20>& name = doc[n].Name;
    const int len = std::min<int>(name.Len, 20);
    if (len == 0 || !(lengths_ & (uint32_t{1} << len)) || !firstBytes_.test(UpperByte(name.Chars[0]))) continue;
    for (int k = 0; k < len; ++k)
      upper[k] = static_cast<char>(UpperByte(name.Chars[static_cast<std::size_t>(k)]));
    const auto it = found_.find(std::string(upper, static_cast<std::size_t>(len)));
    if (it != found_.end() && it->second == 0) {
      it->second = n;
      --left;
    }
  }
}

int ObjectNameIndex::Find(std::string_view upperName) const {
  const auto it = found_.find(std::string(upperName));
  return it == found_.end() ? 0 : it->second;
}

std::string NormalizeDynExpr(const std::string& utf8) {
  std::string bytes = Utf8ToCp1251(utf8);
  bytes.erase(std::remove(bytes.begin(), bytes.end(), ' '), bytes.end());
  if (bytes.size() > static_cast<std::size_t>(MaxDynExprLength)) bytes.resize(MaxDynExprLength);
  return UpperCp1251(bytes);
}

void WantCallNames(ObjectNameIndex& index, const std::string& storedText) {
  // A document may hold a formula with blanks or small letters; it is evaluated as normalized.
  const std::string stored = Normalized(storedText);
  std::vector<std::string_view> names;
  for (const CallInfo& call : Calls)
    for (std::size_t at = stored.find(call.Keyword); at != std::string::npos;
         at = stored.find(call.Keyword, at + call.Keyword.size())) {
      std::size_t end = 0;
      ReadNames(stored, at + call.Keyword.size(), names, end);
      for (std::string_view name : names)
        index.Want(name);
    }
}

std::string EvaluateStoredDynExpr(Program& prog, const ObjectNameIndex& names, const std::string& stored) {
  std::string text = Normalized(stored);
  for (const CallInfo& call : Calls)
    if (!RunPass(prog, names, call, text)) break;
  DS_Calc& calc = prog.ExprCalc;
  const long double value = calc.EvaluateExpression(text);
  if (calc.CalcError != 0) return NoValue;
  return FormatAnswer(static_cast<double>(value), prog.Config.AnswerDigits);
}

std::string EvaluateDynExpr(Program& prog, const std::string& text) {
  const std::string stored = NormalizeDynExpr(text);
  ObjectNameIndex names;
  WantCallNames(names, stored);
  names.Build(prog.Doc);
  return EvaluateStoredDynExpr(prog, names, stored);
}

} // namespace drex
