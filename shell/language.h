#pragma once
// Language files: every text the program shows can be replaced by key from an INI file. The walk
// over all texts has two modes: reading a language file over the texts in use, and writing the
// built-in texts as the template "drex2ukr.lng" translators start from.

#include <array>
#include <string>
#include <vector>

namespace drex {

class IniFile;
class Program;

/// The program's title; a language file is offered only when its "AppName" equals it.
constexpr const char* AppTitle = "DREX-2D";
/// The template written at every start.
constexpr const char* TemplateLanguageFile = "drex2ukr.lng";
/// The name of the main window, the section of its texts.
constexpr const char* MainFormName = "Drex2dFrm";
/// Number of message-box button captions: Yes, No, OK, Cancel, Abort, Retry, Ignore, All, No to
/// all, Yes to all, Help.
constexpr int ButtonCaptionCount = 11;
/// Number of message-box captions: warning, error, information, confirmation, other.
constexpr int DialogCaptionCount = 5;

/// The texts of one component of a form, as its class has them. A text the class lacks is not
/// translated; items are the lines of a list, combo box or radio group.
struct TextComponent {
  std::string Name;
  bool HasCaption = false;
  bool HasHint = false;
  bool HasFilter = false; ///< a file dialog: Caption is its title
  std::string Caption;
  std::string Hint;
  std::string Filter;
  std::vector<std::string> Items;
};

/// A form's caption and the texts of its components, in the form's order.
struct TextForm {
  std::string Name;
  std::string Caption;
  std::vector<TextComponent> Components;
};

/// The texts a language replaces besides the message table and the main window's own texts, and
/// the language files found at start.
struct LanguageState {
  std::array<std::string, ButtonCaptionCount> ButtonCaptions;
  std::array<std::string, DialogCaptionCount> DialogCaptions;
  /// The forms' texts as designed, in creation order; each language applied translates them in
  /// place, so a second language keeps the first one's texts where it has none.
  std::vector<TextForm> Forms;
  /// The usable language files: name (without folder), full path and the language they declare.
  std::vector<std::string> Files, Paths, Names;
  /// The desktop locale the language declares ("en", "uk"; "INFO" key "Locale"), for the
  /// toolkit's own dialogs; empty when the file does not say.
  std::string Locale = "uk";

  LanguageState();
};

/// Read the file's texts over the texts in use, or write the texts in use into the file.
enum class TextMode { Read, Write };

/// A text of more than one character whose key has no "__": in read mode the file's value (the
/// text itself when the key is missing), in write mode written under (section, key) and returned.
/// Any other text comes back unchanged and is neither read nor written.
std::string TranslateText(TextMode mode, IniFile& file, const std::string& section, const std::string& key,
                          const std::string& text);

/// The walk over every text of the program: "INFO", the message boxes' texts ("Msg"), each form
/// (its caption in "INFO", its components in its own section; the main window's section also holds
/// the texts the core shows itself) and the message table ("InternalResources").
void WalkTexts(Program& prog, IniFile& file, TextMode mode);

/// Reads the language file at `path` over the texts in use, then rebuilds the tables copied from
/// the message table and calls the program's AfterLanguageChange. A missing or unreadable file
/// changes nothing; false then.
bool ApplyLanguage(Program& prog, const std::string& path);

/// Writes the built-in texts as a complete language file to `path` (Windows-1251); false when it
/// could not be written.
bool WriteLanguageTemplate(Program& prog, const std::string& path);

/// Fills the lists of language files from the "*.lng" files of the user's data folder and of the
/// folders shipped with the program (the user's first; of equal names the first found counts):
/// those whose "INFO" "AppName" is exactly AppTitle and whose "Language" is not empty, in order of
/// file name within each folder.
void ScanLanguageFiles(Program& prog);

/// Writes the template into the user's data folder, then scans the language files, so that the
/// built-in language is offered from the very first run. A template that cannot be written is
/// skipped silently.
void PrepareLanguages(Program& prog);

/// The index in the lists of the file named `fileName` (letter case ignored), -1 for none.
int FindLanguageFile(const LanguageState& lang, const std::string& fileName);

/// A help file name a language file may give: a plain file name (no folder, not hidden) with a
/// help file's extension.
bool IsHelpFileName(const std::string& name);

/// The help of the built-in language.
constexpr const char* BuiltInHelpFile = "drex2ukr.chm";

} // namespace drex
