#pragma once
// Creating, naming and describing the objects of a construction.

#include <array>
#include <string>
#include <unordered_map>
#include <unordered_set>

#include "kernel/construction.h"
#include "kernel/geom_object.h"

namespace drex {

class MsgTable;

/// Longest kind name kept in KindTexts.
constexpr int KindNameCapacity = 25;
/// Longest object name.
constexpr int NameCapacity = 20;
/// Longest stem of default names: a stem and the number of any object of a full table fit a name.
constexpr int NameStemCapacity = NameCapacity - 5;

/// The kind names and default-name stems, copied from the message table whenever the settings or
/// a language are applied. UTF-8.
struct KindTexts {
  std::array<std::string, KindCount> KindName;
  std::array<std::string, KindCount> NameStem;
};

/// Copies the kind names (entries 14..27, cut to 25 characters) and the stems (154..167, cut to
/// NameStemCapacity characters).
void TakeKindTexts(const MsgTable& msgs, KindTexts& texts);

/// What a new object's default name depends on.
struct NamingRules {
  const KindTexts& Texts;
  bool DotsOneLetter; ///< points get the first free letter "A".."Z" first
};

/// The first free name of the kind as Windows-1251 bytes (not yet cut to 20 characters): a free
/// letter A..Z for points when DotsOneLetter is on, else the stem followed by the smallest free
/// number. Names are compared exactly, case included.
std::string DefaultName(const Construction& c, int kind, const NamingRules& rules);

/// Default names for many new objects at once: the table is read once, and every name given is
/// taken, so a batch gets the names that DefaultName would give one object after another without
/// a pass over the table per object.
class NameAllocator {
public:
  NameAllocator(const Construction& c, const NamingRules& rules);
  /// The next free name of `kind` (Windows-1251), which from now on counts as taken.
  std::string Next(int kind);

private:
  struct Stem {
    std::unordered_set<long long> Taken;
    long long Candidate = 1; ///< no smaller number is free
  };
  const KindTexts& texts_;
  bool dotsOneLetter_;
  std::array<bool, 26> lettersUsed_{};
  std::unordered_map<std::string, Stem> stems_;
};

/// Prepares slot `number` for a new object of `kind` (ObjCount already raised by the caller):
/// zeroed record, default name, black solid pen of width 1, shown, defined, the kind's initial
/// RefCount, (X1, Y1) = the given mouse position; a function graph gets the interval -5..5 and the
/// formulas "x" and "t".
void InitObject(Construction& c, int kind, int number, const NamingRules& rules, double mouseX, double mouseY);
/// The same with the name given (Windows-1251).
void InitObject(Construction& c, int kind, int number, const std::string& name, double mouseX, double mouseY);

/// The initial RefCount of a kind: the number of references it is made with, or for polylines
/// and polynomials the most a tool accepts.
int InitialRefCount(int kind);

/// True when the name is not empty and holds neither "(" nor ")".
bool IsValidObjectName(const std::string& name);

/// The number of the last object 1..ObjCount whose name is exactly `name` (Windows-1251), 0 if none.
int FindObjectByName(const Construction& c, const std::string& name);

/// The kind name, followed by " (" + name + ")" when the object has a name. UTF-8.
std::string ObjectCaption(const Construction& c, int number, const KindTexts& texts);

} // namespace drex
