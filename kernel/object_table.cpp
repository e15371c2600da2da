#include "kernel/object_table.h"

#include <string>
#include <unordered_set>

#include "kernel/cp1251.h"
#include "shell/d2consts.h"

namespace drex {
namespace {

constexpr int KindNameMsg = 14;
constexpr int NameStemMsg = 154;

std::string FirstFreeLetter(const Construction& c) {
  bool used[26] = {};
  for (int i = 1; i <= c.ObjCount; ++i) {
    const auto& name = c[i].Name;
    if (name.Len == 1 && name.Chars[0] >= 'A' && name.Chars[0] <= 'Z') used[name.Chars[0] - 'A'] = true;
  }
  for (int k = 0; k < 26; ++k)
    if (!used[k]) return std::string(1, static_cast<char>('A' + k));
  return {};
}

} // namespace

void TakeKindTexts(const MsgTable& msgs, KindTexts& texts) {
  for (int k = 0; k < KindCount; ++k) {
    texts.KindName[static_cast<std::size_t>(k)] = CutToChars(msgs[KindNameMsg + k], KindNameCapacity);
    // Room is left for the number of the largest table, so that every default name is stored whole
    // and names made from the same stem stay different.
    texts.NameStem[static_cast<std::size_t>(k)] = CutToChars(msgs[NameStemMsg + k], NameStemCapacity);
  }
}

namespace {

/// The number that follows `stem` in `name`, or -1 when the name is not the stem and a plain
/// decimal number without leading zeros.
long long StemNumber(const std::string& name, const std::string& stem) {
  if (name.size() <= stem.size() || name.compare(0, stem.size(), stem) != 0) return -1;
  const std::size_t digits = name.size() - stem.size();
  if (digits > 18 || name[stem.size()] == '0') return -1;
  long long n = 0;
  for (std::size_t k = stem.size(); k < name.size(); ++k) {
    const char ch = name[k];
    if (ch < '0' || ch > '9') return -1;
    n = n * 10 + (ch - '0');
  }
  return n;
}

} // namespace

std::string DefaultName(const Construction& c, int kind, const NamingRules& rules) {
  if (IsPointKind(kind) && rules.DotsOneLetter) {
    std::string letter = FirstFreeLetter(c);
    if (!letter.empty()) return letter;
  }
  const std::string stem = Utf8ToCp1251(rules.Texts.NameStem[static_cast<std::size_t>(kind)]);
  // The numbers already taken after this stem; the answer is the smallest one missing, found in
  // one pass over the table rather than one pass per candidate.
  std::unordered_set<long long> taken;
  for (int i = 1; i <= c.ObjCount; ++i) {
    const long long n = StemNumber(c[i].Name.Bytes(), stem);
    if (n >= 0) taken.insert(n);
  }
  long long n = 1;
  while (taken.count(n) != 0)
    ++n;
  return stem + std::to_string(n);
}

NameAllocator::NameAllocator(const Construction& c, const NamingRules& rules)
    : texts_(rules.Texts), dotsOneLetter_(rules.DotsOneLetter) {
  for (int k = 0; k < KindCount; ++k)
    stems_.emplace(Utf8ToCp1251(texts_.NameStem[static_cast<std::size_t>(k)]), Stem{});
  for (int i = 1; i <= c.ObjCount; ++i) {
    const std::string name = c[i].Name.Bytes();
    if (name.size() == 1 && name[0] >= 'A' && name[0] <= 'Z')
      lettersUsed_[static_cast<std::size_t>(name[0] - 'A')] = true;
    for (auto& [stem, numbers] : stems_) {
      const long long n = StemNumber(name, stem);
      if (n >= 0) numbers.Taken.insert(n);
    }
  }
}

std::string NameAllocator::Next(int kind) {
  if (IsPointKind(kind) && dotsOneLetter_)
    for (std::size_t k = 0; k < lettersUsed_.size(); ++k)
      if (!lettersUsed_[k]) {
        lettersUsed_[k] = true;
        return std::string(1, static_cast<char>('A' + k));
      }
  const std::string stem = Utf8ToCp1251(texts_.NameStem[static_cast<std::size_t>(kind)]);
  Stem& numbers = stems_[stem];
  while (numbers.Taken.count(numbers.Candidate) != 0)
    ++numbers.Candidate;
  numbers.Taken.insert(numbers.Candidate);
  return stem + std::to_string(numbers.Candidate);
}

int InitialRefCount(int kind) {
  switch (kind) {
  case okPointOn:
    return 1;
  case okMidpoint:
  case okIntersection:
  case okSymmetric:
  case okLine:
  case okParallel:
  case okPerpendicular:
  case okTangent:
  case okCircle:
    return 2;
  case okBisector:
    return 3;
  case okPolyline:
    return 500;
  case okPolynomial:
    return MaxPolynomialNodes;
  default:
    return 0;
  }
}

void InitObject(Construction& c, int kind, int number, const NamingRules& rules, double mouseX, double mouseY) {
  c[number] = TGeomObject{};
  InitObject(c, kind, number, DefaultName(c, kind, rules), mouseX, mouseY);
}

void InitObject(Construction& c, int kind, int number, const std::string& name, double mouseX, double mouseY) {
  TGeomObject& o = c[number];
  o = TGeomObject{};
  o.Kind = static_cast<uint8_t>(kind);
  o.Name.Assign(name);
  o.Color = 0;
  o.PenStyle = 0;
  o.PenWidth = 1;
  o.FuncType = 1;
  o.Visible = 1;
  o.Defined = 1;
  o.Selected = 0;
  o.RefCount = static_cast<int16_t>(InitialRefCount(kind));
  o.X1 = mouseX;
  o.Y1 = mouseY;
  if (kind == okFunction) {
    o.X1 = -5.0;
    o.Y1 = 5.0;
    o.X2 = -5.0;
    o.Y2 = 5.0;
    o.Expr1.Assign("x");
    o.Expr2.Assign("t");
  }
}

bool IsValidObjectName(const std::string& name) {
  return !name.empty() && name.find('(') == std::string::npos && name.find(')') == std::string::npos;
}

int FindObjectByName(const Construction& c, const std::string& name) {
  for (int i = c.ObjCount; i >= 1; --i)
    if (c[i].Name.Equals(name)) return i;
  return 0;
}

std::string ObjectCaption(const Construction& c, int number, const KindTexts& texts) {
  const TGeomObject& o = c[number];
  std::string caption = IsValidKind(o.Kind) ? texts.KindName[o.Kind] : std::string();
  if (o.Name.Len > 0) caption += " (" + Cp1251ToUtf8(o.Name.Bytes()) + ")";
  return caption;
}

} // namespace drex
