#pragma once
// The program's INI files (settings, language files): sections in brackets and key=value lines.
// Sections and keys are found regardless of the letter case of their ASCII letters; of duplicate
// keys in a section (or duplicate sections) the first one in the file wins; values are trimmed of
// blanks and tabs and kept as text, without quotes or escapes. Lines starting with ";" or "#" are
// comments. Lines end in CRLF or LF (a CR at the very end of the file ends its last line too).
// Writing a key changes only its own line (or adds one), so the rest of the file is kept byte for
// byte as it was; the time a write takes does not grow with the file.

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

/// `text` with its ASCII letters in lower case, as section and key names are compared; every other
/// byte (UTF-8 sequences included) is kept.
std::string AsciiLower(std::string text);

/// A text file read from outside as UTF-8: a UTF-8 byte-order mark is dropped and the rest kept;
/// text that is valid UTF-8 throughout is kept; text with a UTF-16 byte-order mark is converted;
/// anything else is taken as Windows-1251. Bytes 0 (UTF-16 units 0) are dropped.
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

  /// The file's text as Save writes it (UTF-8), every line ended as the file ended its first line
  /// (CRLF for a new file and for a first line without a line feed).
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
  /// blanks; leading and trailing blanks are dropped, as they would be on reading. Nothing is
  /// written for a key that could not be read back (empty, holding "=" or a line break, or
  /// starting with ";", "#" or "[") nor for a section name holding a line break.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  /// Written as "1" or "0".
  void WriteBool(const std::string& section, const std::string& key, bool value);

private:
  /// One line of the file, without its line end.
  struct Line {
    std::string Text;
    bool IsKey = false;    ///< a key=value line
    std::size_t KeyAt = 0; ///< the trimmed key is Text[KeyAt, KeyEnd), for a key line
    std::size_t KeyEnd = 0;
    std::size_t ValueAt = 0; ///< the trimmed value is Text[ValueAt, ValueEnd), for a key line
    std::size_t ValueEnd = 0;
  };
  /// A section header with the lines up to the next one; the lines before the first header make
  /// a block of no section. A block's lines are split after its last key line, so that a new key
  /// is appended to Body without moving any other line of the file.
  struct Block {
    int Section = -1;       ///< index into sections_, -1 for the lines before the first header
    std::string Header;     ///< the "[...]" line as in the file
    std::vector<Line> Body; ///< up to the last key line
    std::vector<Line> Tail; ///< blank, comment and other lines after the last key line
  };
  struct KeyPlace {
    std::size_t Block = 0;
    std::size_t Line = 0; ///< index into the block's Body
  };
  struct Section {
    std::string Name;                               ///< as written in its first header, trimmed
    std::vector<std::size_t> Blocks;                ///< its blocks in file order
    std::unordered_map<std::string, KeyPlace> Keys; ///< folded key -> its first line in the file
  };

  int FindSection(const std::string& section) const;
  const Line* FindLine(const std::string& section, const std::string& key) const;
  int AddSection(const std::string& name, std::string header);
  void AddLine(std::string text);
  static void SplitTail(Block& block);

  std::vector<Block> blocks_;
  std::vector<Section> sections_;
  std::unordered_map<std::string, int> sectionIndex_; ///< folded name -> index into sections_
  bool crlf_ = true;
};

} // namespace drex
