#pragma once
// Record and file strings are Windows-1251 bytes; every other string is UTF-8. These two
// conversions are the only bridge, used where a name is shown or typed and where a file is read
// or written.

#include <string>

namespace drex {

/// Windows-1251 bytes to UTF-8. Every byte has a character, so this never fails.
std::string Cp1251ToUtf8(const std::string& bytes);

/// Appends code point `cp` (at most U+10FFFF) to `out` as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

/// UTF-8 to Windows-1251 bytes. A character Windows-1251 cannot hold, and a byte that is not part
/// of valid UTF-8, becomes '?'.
std::string Utf8ToCp1251(const std::string& utf8);

/// The number of characters of UTF-8 `utf8`.
int CharCount(const std::string& utf8);

/// `utf8` cut to at most `capacity` characters.
std::string CutToChars(const std::string& utf8, int capacity);

/// True when every character of `utf8` has a Windows-1251 byte (and the text is valid UTF-8).
bool FitsCp1251(const std::string& utf8);

} // namespace drex
