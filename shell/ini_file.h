#pragma once
// The program's INI files (settings, language files): sections in brackets and key=value lines.
// Sections and keys are found regardless of the letter case of their ASCII letters; of duplicate
// keys in a section (or duplicate sections) the first one wins; values are trimmed of blanks and
// tabs and kept as text, without quotes or escapes. Lines end in CRLF or LF. Writing a key changes
// only its own line (or adds one), so the rest of the file is kept as it was.

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace drex {

/// Largest INI file the program reads; a larger one counts as unreadable.
constexpr std::size_t MaxIniFileBytes = 4u << 20;

/// Longest value handed out; a longer one is cut (at a character boundary).
constexpr std::size_t MaxIniValueBytes = 4096;

/// How the file's bytes are decoded and encoded.
enum class IniEncoding {
  Utf8,   ///< UTF-8 without a byte-order mark
  Cp1251, ///< Windows-1251; characters it lacks are written as "?"
};

/// A text file read from outside as UTF-8: a UTF-8 byte-order mark is dropped and the rest kept;
/// text that is valid UTF-8 throughout is kept; anything else is taken as Windows-1251. Bytes 0 are
/// dropped.
std::string DecodeTextFile(const std::vector<uint8_t>& bytes);

class IniFile {
public:
  IniFile() = default;

  /// Parses `text` (UTF-8). Lines that are neither a section nor key=value are kept as they are
  /// and otherwise ignored; keys before the first section belong to no section and are never found.
  static IniFile Parse(const std::string& text);

  /// Reads and decodes (DecodeTextFile) the file at `path` (UTF-8). False, leaving the file empty,
  /// when it is missing, unreadable or larger than MaxIniFileBytes.
  bool Load(const std::string& path);

  /// Writes the file through a temporary file renamed over `path`; false when it could not be
  /// written (nothing at `path` changed then).
  bool Save(const std::string& path, IniEncoding encoding) const;

  /// The file's text as Save writes it (UTF-8), lines ended as the file ended its first line
  /// (CRLF for a new file).
  std::string Text() const;

  /// The value of (section, key), or `fallback` when there is no such key. At most
  /// MaxIniValueBytes long.
  std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
  /// The value as a decimal integer (optional sign; "0x" hexadecimal too), or `fallback` when the
  /// key is missing or its value is not a number that fits an int.
  int ReadInteger(const std::string& section, const std::string& key, int fallback) const;
  /// "1"/"0" (any integer: not 0 is true), "true"/"false" in any case; else `fallback`.
  bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;
  /// True when the section exists.
  bool HasSection(const std::string& section) const;
  /// True when (section, key) exists.
  bool HasKey(const std::string& section, const std::string& key) const;
  /// The keys of `section` in file order, the first of duplicates only (as written in the file).
  std::vector<std::string> Keys(const std::string& section) const;
  /// The sections in file order, the first of duplicates only.
  std::vector<std::string> Sections() const;

  /// Sets the first (section, key) to `value` in place, or adds the key at the end of the first
  /// such section, or adds the section at the end of the file. Line breaks in `value` become
  /// blanks; leading and trailing blanks are dropped, as they would be on reading.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  /// Written as "1" or "0".
  void WriteBool(const std::string& section, const std::string& key, bool value);

private:
  struct Line {
    std::string Text;        ///< the line as in the file, without its line end
    int Section = -1;        ///< index into sections_ of the section this line opens or belongs to
    bool IsKey = false;      ///< a key=value line
    std::size_t KeyEnd = 0;  ///< end of the trimmed key in Text, for a key line
    std::size_t ValueAt = 0; ///< start of the value in Text (after "="), for a key line
  };
  struct Section {
    std::string Name;        ///< as written in the file
    std::size_t Header = 0;  ///< line index of the "[...]" line
    std::size_t LastLine = 0; ///< line index after which a new key of this section is added
    std::unordered_map<std::string, std::size_t> Keys; ///< folded key -> line index of its first line
  };

  int FindSection(const std::string& section) const;
  const Line* FindLine(const std::string& section, const std::string& key) const;
  void Reindex();

  std::vector<Line> lines_;
  std::vector<Section> sections_;
  std::unordered_map<std::string, int> sectionIndex_; ///< folded name -> first section
  bool crlf_ = true;
};

} // namespace drex
