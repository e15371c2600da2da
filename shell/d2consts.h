#pragma once
// The built-in texts the program shows to the user, referred to by number.

#include <array>
#include <cstddef>
#include <initializer_list>
#include <string>

namespace drex {

/// Number of entries of the message table.
constexpr int MsgCount = 168;

/// The built-in Ukrainian value of entry `index` (UTF-8); empty for an index outside 0..167.
const char* BuiltInMessage(int index);

/// The 168 texts the code shows, by number. Starts with the built-in values; a language file
/// replaces entries in place. Texts are UTF-8.
class MsgTable {
public:
  MsgTable();

  /// Entry `index`; an empty text for an index outside 0..167.
  const std::string& operator[](int index) const;

  /// Replaces entry `index`; an index outside 0..167 is ignored.
  void Set(int index, std::string text);

  /// Puts every entry back to its built-in value.
  void Reset();

private:
  std::array<std::string, MsgCount> texts_;
};

/// Replaces each "%s" of `pattern`, in order, by the next of `args`; a "%s" without an argument
/// left becomes empty text.
std::string FormatMsg(const std::string& pattern, std::initializer_list<std::string> args);

} // namespace drex
