#pragma once
// The texts of the main window that the core shows itself (file dialogs, the names of undo steps,
// the messages of the expression grid and the macros), by the key a language file stores them
// under in the main window's section.

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

namespace drex {

class UiTexts {
public:
  /// Starts with the built-in texts.
  UiTexts();

  /// The text of `key` ("OpenDial.caption", "s_Edit.caption"); empty for an unknown key.
  const std::string& Get(const std::string& key) const;
  /// Replaces the text of a known key; an unknown key is ignored.
  void Set(const std::string& key, std::string text);
  /// Every key with its text, in the order a language file lists them.
  const std::vector<std::pair<std::string, std::string>>& Entries() const { return entries_; }

private:
  std::vector<std::pair<std::string, std::string>> entries_;
  std::unordered_map<std::string, std::size_t> index_;
};

/// The key of a named text of the main window: its name followed by ".caption".
std::string CaptionKey(const char* name);

} // namespace drex
