#include "shell/ini_file.h"

#include <cstdint>
#include <iterator>
#include <limits>
#include <utility>

#include "documents/file_io.h"
#include "kernel/cp1251.h"

namespace drex {

std::string AsciiLower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

/// The bounds of `text[begin, end)` without its leading and trailing blanks.
void TrimBounds(const std::string& text, std::size_t& begin, std::size_t& end) {
  while (begin < end && IsBlank(text[begin]))
    ++begin;
  while (end > begin && IsBlank(text[end - 1]))
    --end;
}

std::string Trimmed(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  TrimBounds(text, begin, end);
  return text.substr(begin, end - begin);
}

/// The lookup form of a section or key name given by the caller.
std::string LookupName(const std::string& name) { return AsciiLower(Trimmed(name)); }

bool HasLineBreak(const std::string& text) { return text.find_first_of("\r\n") != std::string::npos; }

/// True when "key=..." reads back as this key: `key` is trimmed already.
bool IsWritableKey(const std::string& key) {
  return !key.empty() && key[0] != ';' && key[0] != '#' && key[0] != '[' &&
         key.find_first_of("=\r\n") == std::string::npos;
}

/// `value` cut to at most MaxIniValueBytes without splitting a UTF-8 sequence.
std::string CutValue(const std::string& value) {
  if (value.size() <= MaxIniValueBytes) return value;
  std::size_t end = MaxIniValueBytes;
  // value[end] is the first byte dropped; while it continues a sequence, drop that sequence's
  // start too (a sequence has at most three continuation bytes).
  for (int k = 0; k < 3 && end > 0 && (static_cast<unsigned char>(value[end]) & 0xC0) == 0x80; ++k)
    --end;
  return value.substr(0, end);
}

/// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const std::string& s) {
  const std::size_t n = s.size();
  std::size_t i = 0;
  while (i < n) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
      ++i;
      continue;
    }
    std::size_t extra = 0;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
      extra = 1;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      extra = 2;
      if (b0 == 0xE0) lo = 0xA0;
      if (b0 == 0xED) hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      extra = 3;
      if (b0 == 0xF0) lo = 0x90;
      if (b0 == 0xF4) hi = 0x8F;
    } else {
      return false;
    }
    if (n - i <= extra) return false;
    const auto b1 = static_cast<unsigned char>(s[i + 1]);
    if (b1 < lo || b1 > hi) return false;
    for (std::size_t k = 2; k <= extra; ++k)
      if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
    i += extra + 1;
  }
  return true;
}

/// A decimal or "0x" hexadecimal integer with an optional sign and blanks around it.
bool ParseInt(const std::string& value, int& out) {
  std::size_t i = 0, end = value.size();
  TrimBounds(value, i, end);
  bool negative = false;
  if (i < end && (value[i] == '+' || value[i] == '-')) negative = value[i++] == '-';
  unsigned base = 10;
  if (end - i >= 2 && value[i] == '0' && (value[i + 1] == 'x' || value[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == end) return false;
  // One more than INT_MAX, the magnitude of INT_MIN.
  const std::uint64_t limit = static_cast<std::uint64_t>(std::numeric_limits<int>::max()) + 1;
  std::uint64_t magnitude = 0;
  for (; i < end; ++i) {
    const char c = value[i];
    unsigned digit = 0;
    if (c >= '0' && c <= '9')
      digit = static_cast<unsigned>(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f')
      digit = static_cast<unsigned>(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F')
      digit = static_cast<unsigned>(c - 'A' + 10);
    else
      return false;
    magnitude = magnitude * base + digit;
    if (magnitude > limit) return false;
  }
  if (negative) {
    out = magnitude == limit ? std::numeric_limits<int>::min() : -static_cast<int>(magnitude);
    return true;
  }
  if (magnitude == limit) return false;
  out = static_cast<int>(magnitude);
  return true;
}

/// UTF-16 text after its byte-order mark as UTF-8; a lone surrogate becomes U+FFFD, a last odd
/// byte is dropped, and so are code units 0.
std::string Utf16ToUtf8(const std::vector<uint8_t>& bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  const auto unit = [&](std::size_t i) -> uint32_t {
    return bigEndian ? (uint32_t{bytes[i]} << 8) | bytes[i + 1] : (uint32_t{bytes[i + 1]} << 8) | bytes[i];
  };
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    uint32_t cp = unit(i);
    if (cp == 0) continue;
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    AppendUtf8(out, static_cast<char32_t>(cp));
  }
  return out;
}

} // namespace

std::string DecodeTextFile(const std::vector<uint8_t>& bytes) {
  // Some editors save "Unicode" text as UTF-16 with a byte-order mark.
  if (bytes.size() >= 2 && ((bytes[0] == 0xFF && bytes[1] == 0xFE) || (bytes[0] == 0xFE && bytes[1] == 0xFF)))
    return Utf16ToUtf8(bytes, bytes[0] == 0xFE);
  const bool bom = bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF;
  std::string text;
  text.reserve(bytes.size());
  for (std::size_t i = bom ? 3 : 0; i < bytes.size(); ++i)
    if (bytes[i] != 0) text += static_cast<char>(bytes[i]);
  if (bom || IsValidUtf8(text)) return text;
  return Cp1251ToUtf8(text);
}

IniFile IniFile::Parse(const std::string& text) {
  IniFile ini;
  ini.blocks_.emplace_back();
  std::size_t at = 0;
  bool first = true;
  while (at < text.size()) {
    const std::size_t feed = text.find('\n', at);
    const std::size_t end = feed == std::string::npos ? text.size() : feed;
    if (first && feed != std::string::npos) ini.crlf_ = end > at && text[end - 1] == '\r';
    first = false;
    // Every CR before the line feed goes with the line end (and so does a CR ending the file):
    // a line's text never ends in CR, so that writing it and reading it again gives it back.
    std::size_t cut = end;
    while (cut > at && text[cut - 1] == '\r')
      --cut;
    ini.AddLine(text.substr(at, cut - at));
    at = feed == std::string::npos ? text.size() : feed + 1;
  }
  ini.SplitTail(ini.blocks_.back());
  return ini;
}

void IniFile::SplitTail(Block& block) {
  std::size_t keep = block.Body.size();
  while (keep > 0 && !block.Body[keep - 1].IsKey)
    --keep;
  block.Tail.insert(block.Tail.begin(), std::make_move_iterator(block.Body.begin() + static_cast<std::ptrdiff_t>(keep)),
                    std::make_move_iterator(block.Body.end()));
  block.Body.resize(keep);
}

int IniFile::AddSection(const std::string& name, std::string header) {
  const std::size_t blockIndex = blocks_.size();
  auto found = sectionIndex_.find(AsciiLower(name));
  int index = 0;
  if (found != sectionIndex_.end()) {
    index = found->second;
  } else {
    index = static_cast<int>(sections_.size());
    sections_.emplace_back();
    sections_.back().Name = name;
    sectionIndex_.emplace(AsciiLower(name), index);
  }
  sections_[static_cast<std::size_t>(index)].Blocks.push_back(blockIndex);
  blocks_.emplace_back();
  blocks_.back().Section = index;
  blocks_.back().Header = std::move(header);
  return index;
}

void IniFile::AddLine(std::string text) {
  std::size_t begin = 0, end = text.size();
  TrimBounds(text, begin, end);
  if (end - begin >= 2 && text[begin] == '[' && text[end - 1] == ']') {
    std::size_t nameAt = begin + 1, nameEnd = end - 1;
    TrimBounds(text, nameAt, nameEnd);
    SplitTail(blocks_.back());
    const std::string name = text.substr(nameAt, nameEnd - nameAt);
    AddSection(name, std::move(text));
    return;
  }
  Line line;
  const std::size_t eq = text.find('=', begin);
  if (begin < end && text[begin] != ';' && text[begin] != '#' && text[begin] != '[' && eq != std::string::npos) {
    std::size_t keyAt = begin, keyEnd = eq;
    TrimBounds(text, keyAt, keyEnd);
    if (keyAt < keyEnd) {
      std::size_t valueAt = eq + 1, valueEnd = end;
      TrimBounds(text, valueAt, valueEnd);
      // An empty value: a later write puts the value after "=" and one blank, if there is one.
      if (valueAt == valueEnd) valueAt = valueEnd = eq + 1 + (eq + 1 < text.size() && IsBlank(text[eq + 1]) ? 1 : 0);
      line.IsKey = true;
      line.KeyAt = keyAt;
      line.KeyEnd = keyEnd;
      line.ValueAt = valueAt;
      line.ValueEnd = valueEnd;
    }
  }
  line.Text = std::move(text);
  Block& block = blocks_.back();
  if (line.IsKey && block.Section >= 0) {
    Section& section = sections_[static_cast<std::size_t>(block.Section)];
    section.Keys.emplace(AsciiLower(line.Text.substr(line.KeyAt, line.KeyEnd - line.KeyAt)),
                         KeyPlace{blocks_.size() - 1, block.Body.size()});
  }
  block.Body.push_back(std::move(line));
}

bool IniFile::Load(const std::string& path) {
  *this = IniFile();
  std::vector<uint8_t> bytes;
  // One byte more than allowed tells a file that is too large from one that just fits.
  if (!ReadFileBytes(path, MaxIniFileBytes + 1, bytes) || bytes.size() > MaxIniFileBytes) return false;
  *this = Parse(DecodeTextFile(bytes));
  return true;
}

bool IniFile::Save(const std::string& path, IniEncoding encoding) const {
  std::string text = Text();
  if (encoding == IniEncoding::Cp1251) text = Utf8ToCp1251(text);
  return WriteFileReplacing(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string IniFile::Text() const {
  const char* eol = crlf_ ? "\r\n" : "\n";
  const std::size_t eolSize = crlf_ ? 2 : 1;
  std::size_t size = 0;
  for (const Block& block : blocks_) {
    if (block.Section >= 0) size += block.Header.size() + eolSize;
    for (const Line& line : block.Body)
      size += line.Text.size() + eolSize;
    for (const Line& line : block.Tail)
      size += line.Text.size() + eolSize;
  }
  std::string text;
  text.reserve(size);
  for (const Block& block : blocks_) {
    if (block.Section >= 0) text.append(block.Header).append(eol);
    for (const Line& line : block.Body)
      text.append(line.Text).append(eol);
    for (const Line& line : block.Tail)
      text.append(line.Text).append(eol);
  }
  return text;
}

int IniFile::FindSection(const std::string& section) const {
  const auto found = sectionIndex_.find(LookupName(section));
  return found == sectionIndex_.end() ? -1 : found->second;
}

const IniFile::Line* IniFile::FindLine(const std::string& section, const std::string& key) const {
  const int index = FindSection(section);
  if (index < 0) return nullptr;
  const Section& s = sections_[static_cast<std::size_t>(index)];
  const auto found = s.Keys.find(LookupName(key));
  if (found == s.Keys.end()) return nullptr;
  return &blocks_[found->second.Block].Body[found->second.Line];
}

std::string IniFile::ReadString(const std::string& section, const std::string& key, const std::string& fallback) const {
  const Line* line = FindLine(section, key);
  if (!line) return fallback;
  return CutValue(line->Text.substr(line->ValueAt, line->ValueEnd - line->ValueAt));
}

int IniFile::ReadInteger(const std::string& section, const std::string& key, int fallback) const {
  const Line* line = FindLine(section, key);
  int value = 0;
  if (!line || !ParseInt(CutValue(line->Text.substr(line->ValueAt, line->ValueEnd - line->ValueAt)), value))
    return fallback;
  return value;
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
  const Line* line = FindLine(section, key);
  if (!line) return fallback;
  const std::string value = CutValue(line->Text.substr(line->ValueAt, line->ValueEnd - line->ValueAt));
  int number = 0;
  if (ParseInt(value, number)) return number != 0;
  const std::string folded = AsciiLower(value);
  if (folded == "true") return true;
  if (folded == "false") return false;
  return fallback;
}

bool IniFile::HasSection(const std::string& section) const { return FindSection(section) >= 0; }

bool IniFile::HasKey(const std::string& section, const std::string& key) const {
  return FindLine(section, key) != nullptr;
}

std::vector<std::string> IniFile::Keys(const std::string& section) const {
  std::vector<std::string> keys;
  const int index = FindSection(section);
  if (index < 0) return keys;
  const Section& s = sections_[static_cast<std::size_t>(index)];
  for (std::size_t b : s.Blocks) {
    const std::vector<Line>& body = blocks_[b].Body;
    for (std::size_t i = 0; i < body.size(); ++i) {
      if (!body[i].IsKey) continue;
      std::string key = body[i].Text.substr(body[i].KeyAt, body[i].KeyEnd - body[i].KeyAt);
      const auto found = s.Keys.find(AsciiLower(key));
      if (found != s.Keys.end() && found->second.Block == b && found->second.Line == i) keys.push_back(std::move(key));
    }
  }
  return keys;
}

std::vector<std::string> IniFile::Sections() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const Section& s : sections_)
    names.push_back(s.Name);
  return names;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  const std::string name = Trimmed(section);
  const std::string k = Trimmed(key);
  if (HasLineBreak(name) || !IsWritableKey(k)) return;
  std::string v = value;
  for (char& c : v)
    if (c == '\r' || c == '\n') c = ' ';
  v = Trimmed(v);

  int index = FindSection(name);
  if (index < 0) index = AddSection(name, "[" + name + "]");
  Section& s = sections_[static_cast<std::size_t>(index)];
  const std::string folded = AsciiLower(k);
  const auto found = s.Keys.find(folded);
  if (found != s.Keys.end()) {
    Line& line = blocks_[found->second.Block].Body[found->second.Line];
    if (line.Text.compare(line.ValueAt, line.ValueEnd - line.ValueAt, v) == 0) return;
    line.Text.replace(line.ValueAt, std::string::npos, v);
    line.ValueEnd = line.Text.size();
    return;
  }
  // A new key goes after the last key of the section's first block, before the blank lines and
  // comments that end that block.
  const std::size_t blockIndex = s.Blocks.front();
  std::vector<Line>& body = blocks_[blockIndex].Body;
  Line line;
  line.Text = k + "=" + v;
  line.IsKey = true;
  line.KeyEnd = k.size();
  line.ValueAt = k.size() + 1;
  line.ValueEnd = line.Text.size();
  s.Keys.emplace(folded, KeyPlace{blockIndex, body.size()});
  body.push_back(std::move(line));
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

} // namespace drex
