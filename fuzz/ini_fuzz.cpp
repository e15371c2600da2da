// Feeds arbitrary bytes to the INI reader and writer. The bytes are decoded and parsed; keys named
// by pieces of the input are read and written. The text written must parse again to the same
// sections and keys, give back every value written, and come out unchanged when written again.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "shell/ini_file.h"

namespace {

// Values are trimmed, so no value read from a file starts with a blank.
const std::string Missing = " missing";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trimmed(const std::string& s) {
  std::size_t begin = 0, end = s.size();
  while (begin < end && IsBlank(s[begin]))
    ++begin;
  while (end > begin && IsBlank(s[end - 1]))
    --end;
  return s.substr(begin, end - begin);
}

std::string Folded(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// What a write may store, by the rules the reader applies to a line.
bool Writable(const std::string& section, const std::string& key) {
  const std::string k = Trimmed(key);
  return section.find_first_of("\r\n") == std::string::npos && !k.empty() && k[0] != ';' && k[0] != '#' &&
         k[0] != '[' && k.find_first_of("=\r\n") == std::string::npos;
}

std::string Cleaned(std::string value) {
  for (char& c : value)
    if (c == '\r' || c == '\n') c = ' ';
  return Trimmed(value);
}

// `got` is `value` as ReadString hands it out: whole, or cut short of MaxIniValueBytes by less than
// one character.
bool ReadsAs(const std::string& got, const std::string& value) {
  if (value.size() <= drex::MaxIniValueBytes) return got == value;
  return got.size() <= drex::MaxIniValueBytes && got.size() + 3 >= drex::MaxIniValueBytes &&
         value.compare(0, got.size(), got) == 0;
}

// Names the broken check before aborting, for the crash report.
#define CHECK(ok)                                                                                                      \
  do {                                                                                                                 \
    if (!(ok)) {                                                                                                       \
      std::fprintf(stderr, "ini_fuzz.cpp:%d: %s\n", __LINE__, #ok);                                                    \
      std::abort();                                                                                                    \
    }                                                                                                                  \
  } while (false)

// Reads (section, key) every way there is and checks that the answers agree.
void ReadAll(const drex::IniFile& ini, const std::string& section, const std::string& key) {
  const bool has = ini.HasKey(section, key);
  const std::string value = ini.ReadString(section, key, Missing);
  CHECK(has == (value != Missing));
  CHECK(value.size() <= drex::MaxIniValueBytes || !has);
  if (has) CHECK(ini.HasSection(section));
  const int number = ini.ReadInteger(section, key, 1);
  if (number != 1) CHECK(ini.ReadInteger(section, key, 2) == number && has);
  const bool truth = ini.ReadBool(section, key, true);
  if (!truth) CHECK(!ini.ReadBool(section, key, false) && has);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  const std::string text = drex::DecodeTextFile(bytes);
  CHECK(text.find('\0') == std::string::npos);
  // Without a byte-order mark the result is UTF-8 and so decodes to itself (unless it starts with
  // one of its own, made of bytes that NUL bytes kept apart).
  const bool bom = size >= 3 && data[0] == 0xEF && data[1] == 0xBB && data[2] == 0xBF;
  if (!bom && text.compare(0, 3, "\xEF\xBB\xBF") != 0)
    CHECK(drex::DecodeTextFile(std::vector<uint8_t>(text.begin(), text.end())) == text);

  drex::IniFile ini = drex::IniFile::Parse(text);

  // Names and values: the pieces of the text between line ends, brackets and "=".
  std::vector<std::string> pieces;
  std::size_t at = 0;
  while (at <= text.size() && pieces.size() < 48) {
    const std::size_t end = std::min(text.find_first_of("\r\n[]=", at), text.size());
    pieces.push_back(text.substr(at, end - at));
    at = end + 1;
  }
  const auto piece = [&](std::size_t k) { return pieces[k % pieces.size()]; };

  for (const std::string& section : ini.Sections()) {
    CHECK(ini.HasSection(section));
    for (const std::string& key : ini.Keys(section)) {
      CHECK(ini.HasKey(section, key));
      ReadAll(ini, section, key);
    }
  }
  for (std::size_t k = 0; k < pieces.size(); ++k) {
    const std::string section = piece(k), key = piece(k + 1);
    ReadAll(ini, section, key);
    // Writing the value a key has changes nothing (a CR inside a value would be written as a blank).
    const std::string value = ini.ReadString(section, key, Missing);
    if (value != Missing && value.size() < drex::MaxIniValueBytes && Cleaned(value) == value) {
      const std::string before = ini.Text();
      ini.WriteString(section, key, value);
      CHECK(ini.Text() == before);
    }
  }

  // Writes, the last one to a key counting; keyed by the names as the reader folds them.
  std::map<std::pair<std::string, std::string>, std::pair<std::pair<std::string, std::string>, std::string>> written;
  for (std::size_t k = 0; k < pieces.size() && k < 36; k += 3) {
    const std::string section = piece(k), key = piece(k + 1);
    std::string value = piece(k + 2);
    if (k % 2 == 1) value += "\r\n" + piece(k + 3);
    const std::string before = ini.Text();
    if (k % 9 == 6) {
      const int number = static_cast<int>(value.size() * 2654435761u);
      ini.WriteInteger(section, key, number);
      value = std::to_string(number);
    } else {
      ini.WriteString(section, key, value);
    }
    if (!Writable(section, key)) {
      CHECK(ini.Text() == before);
      continue;
    }
    value = Cleaned(value);
    CHECK(ReadsAs(ini.ReadString(section, key, Missing), value));
    written[{Folded(Trimmed(section)), Folded(Trimmed(key))}] = {{section, key}, value};
  }

  const std::string out = ini.Text();
  const drex::IniFile again = drex::IniFile::Parse(out);
  for (const auto& entry : written) {
    const std::string& section = entry.second.first.first;
    const std::string& key = entry.second.first.second;
    CHECK(ReadsAs(ini.ReadString(section, key, Missing), entry.second.second));
    CHECK(ReadsAs(again.ReadString(section, key, Missing), entry.second.second));
  }
  CHECK(again.Text() == out);
  const std::vector<std::string> sections = ini.Sections();
  CHECK(again.Sections() == sections);
  for (const std::string& section : sections)
    CHECK(again.Keys(section) == ini.Keys(section));
  return 0;
}
