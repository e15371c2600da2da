#include "shell/ini_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "documents/document_bytes.h"
#include "documents/document_test_support.h"
#include "kernel/cp1251.h"

namespace drex {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Bytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// A language file as a translator might leave it: comments, blank lines, odd spacing, a line
// without "=", a duplicate key and a section given twice.
const std::string HandMade = "; Language file\r\n"
                             "Version=3\r\n"
                             "\r\n"
                             "[Main]\r\n"
                             "  Title =  Drawing board \r\n"
                             "Quote=\"a, b\" ; not a comment\r\n"
                             "Tabs\t=\tx=y\t\r\n"
                             "title=second\r\n"
                             "just words\r\n"
                             "# hash comment\r\n"
                             "\r\n"
                             " [ Menu ] \r\n"
                             "File=&File\r\n"
                             "[main]\r\n"
                             "Extra=from the second block\r\n"
                             "Title=third\r\n";

TEST(IniLookup, SectionsAndKeysIgnoreAsciiCaseAndBlanks) {
  const IniFile ini = IniFile::Parse(HandMade);
  EXPECT_EQ(ini.ReadString("MAIN", "title", "-"), "Drawing board");
  EXPECT_EQ(ini.ReadString("main", "TITLE", "-"), "Drawing board");
  EXPECT_EQ(ini.ReadString(" Main ", " Title\t", "-"), "Drawing board");
  EXPECT_EQ(ini.ReadString("menu", "FILE", "-"), "&File");
  // Only ASCII letters fold: Cyrillic capitals are other names.
  const IniFile cyr = IniFile::Parse("[Меню]\nКлюч=1\n");
  EXPECT_TRUE(cyr.HasKey("Меню", "Ключ"));
  EXPECT_FALSE(cyr.HasSection("меню"));
  EXPECT_FALSE(cyr.HasKey("Меню", "ключ"));
}

TEST(IniLookup, LineSyntax) {
  const IniFile ini = IniFile::Parse(HandMade);
  // Values are kept as written inside their blanks: no quotes stripped, no comment cut, no split.
  EXPECT_EQ(ini.ReadString("Main", "Quote", "-"), "\"a, b\" ; not a comment");
  EXPECT_EQ(ini.ReadString("Main", "Tabs", "-"), "x=y");
  EXPECT_FALSE(ini.HasKey("Main", "just words"));
  EXPECT_FALSE(ini.HasKey("Main", "# hash comment"));
  EXPECT_TRUE(ini.HasSection("Menu"));
  // A key before the first section belongs to none.
  EXPECT_FALSE(ini.HasKey("", "Version"));

  const IniFile odd = IniFile::Parse("[Open\n"
                                     "[S]\n"
                                     ";k=1\n"
                                     "#k=2\n"
                                     "  ;k=3\n"
                                     "=empty key\n"
                                     "[x=1\n"
                                     "k=\n"
                                     "[]\n"
                                     "e=in nameless\n");
  EXPECT_FALSE(odd.HasSection("Open"));
  EXPECT_FALSE(odd.HasSection("[Open"));
  EXPECT_EQ(odd.Keys("S"), std::vector<std::string>{"k"});
  EXPECT_EQ(odd.ReadString("S", "k", "-"), "");
  EXPECT_EQ(odd.ReadString("", "e", "-"), "in nameless");
  EXPECT_EQ(odd.Sections(), (std::vector<std::string>{"S", ""}));
}

TEST(IniLookup, FirstDuplicateWinsOverTheWholeFile) {
  const IniFile ini = IniFile::Parse(HandMade);
  // "title" later in the first block and "Title" in the second block lose to the first one.
  EXPECT_EQ(ini.ReadString("Main", "Title", "-"), "Drawing board");
  // A key only in the second block of a section is found.
  EXPECT_EQ(ini.ReadString("Main", "Extra", "-"), "from the second block");
  EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"Main", "Menu"}));
  EXPECT_EQ(ini.Keys("main"), (std::vector<std::string>{"Title", "Quote", "Tabs", "Extra"}));
  EXPECT_TRUE(ini.Keys("nothing").empty());
}

TEST(IniWrite, ChangesOnlyTheFirstOccurrenceAndKeepsEverythingElse) {
  IniFile ini = IniFile::Parse(HandMade);
  ini.WriteString("MAIN", "TITLE", "New title");
  std::string expected = HandMade;
  expected.replace(expected.find("  Title =  Drawing board "), 25, "  Title =  New title");
  EXPECT_EQ(ini.Text(), expected);
  EXPECT_EQ(ini.ReadString("main", "title", "-"), "New title");

  // A key found in a later block of the section is changed there.
  ini.WriteInteger("Main", "extra", -5);
  expected.replace(expected.find("Extra=from the second block"), 27, "Extra=-5");
  EXPECT_EQ(ini.Text(), expected);

  // Writing the value a line already has keeps the line as it is, spacing included.
  ini.WriteString("Main", "Tabs", "  x=y ");
  ini.WriteString("Main", "Quote", "\"a, b\" ; not a comment");
  EXPECT_EQ(ini.Text(), expected);
}

TEST(IniWrite, NewKeysAndSections) {
  IniFile ini = IniFile::Parse("[A]\nx=1\n\n; about B\n[B]\n[a]\ny=2\n");
  // After the last key of the first block, ahead of the blank line and the comment.
  ini.WriteString("a", "z", "3");
  ini.WriteBool("a", "w", true);
  // A section without keys gets them after its header; the other block of "a" is not touched.
  ini.WriteBool("B", "b", false);
  ini.WriteString("C", "c", "new");
  EXPECT_EQ(ini.Text(), "[A]\nx=1\nz=3\nw=1\n\n; about B\n[B]\nb=0\n[a]\ny=2\n[C]\nc=new\n");
  EXPECT_EQ(ini.Keys("A"), (std::vector<std::string>{"x", "z", "w", "y"}));
  EXPECT_EQ(ini.Sections(), (std::vector<std::string>{"A", "B", "C"}));

  // An empty value is filled in after "=" and the blank after it.
  IniFile empty = IniFile::Parse("[S]\nk = \nj=\n");
  empty.WriteString("S", "k", "v");
  empty.WriteString("S", "j", "w");
  EXPECT_EQ(empty.Text(), "[S]\nk = v\nj=w\n");
}

TEST(IniWrite, ValuesAndNamesThatWouldNotReadBack) {
  IniFile ini;
  ini.WriteString(" S ", " k ", "  two\r\nlines\n ");
  EXPECT_EQ(ini.ReadString("S", "k", "-"), "two  lines");
  const std::string before = ini.Text();
  EXPECT_EQ(before, "[S]\r\nk=two  lines\r\n");
  for (const char* key : {"", "  ", "a=b", ";c", "#c", "[c", "a\nb", "a\rb"})
    ini.WriteString("S", key, "v");
  ini.WriteString("S\nT", "k", "v");
  EXPECT_EQ(ini.Text(), before);
  // Whatever was written reads back the same from the text.
  ini.WriteString("S", "k]", "[v]");
  ini.WriteString("a]b", "k", "=");
  const IniFile again = IniFile::Parse(ini.Text());
  EXPECT_EQ(again.ReadString("S", "k]", "-"), "[v]");
  EXPECT_EQ(again.ReadString("a]b", "k", "-"), "=");
  EXPECT_EQ(again.Text(), ini.Text());
}

TEST(IniLineEnds, SavedAsTheFileEndedItsFirstLine) {
  IniFile lf = IniFile::Parse("[S]\nk=1\n");
  lf.WriteString("S", "j", "2");
  EXPECT_EQ(lf.Text(), "[S]\nk=1\nj=2\n");

  IniFile crlf = IniFile::Parse("[S]\r\nk=1\r\n");
  crlf.WriteString("S", "j", "2");
  EXPECT_EQ(crlf.Text(), "[S]\r\nk=1\r\nj=2\r\n");

  // Missing final line end, and a CR alone at the very end: the last line is ended on saving.
  EXPECT_EQ(IniFile::Parse("[S]\nk=1").Text(), "[S]\nk=1\n");
  const IniFile cr = IniFile::Parse("[S]\r\nk=1\r");
  EXPECT_EQ(cr.ReadString("S", "k", "-"), "1");
  EXPECT_EQ(cr.Text(), "[S]\r\nk=1\r\n");
  // A CR inside a line is text; extra CRs before a line feed are line end.
  const IniFile inner = IniFile::Parse("[S]\nk=a\rb\r\r\n");
  EXPECT_EQ(inner.ReadString("S", "k", "-"), "a\rb");
  EXPECT_EQ(inner.Text(), "[S]\nk=a\rb\n");

  IniFile fresh;
  fresh.WriteString("S", "k", "v");
  EXPECT_EQ(fresh.Text(), "[S]\r\nk=v\r\n");
  EXPECT_EQ(IniFile::Parse("k=v").Text(), "k=v\r\n");
  EXPECT_EQ(IniFile().Text(), "");
}

TEST(IniEncoding, DecodeTextFile) {
  // Byte-order mark dropped; valid UTF-8 kept; NUL bytes dropped.
  EXPECT_EQ(DecodeTextFile(Bytes("\xEF\xBB\xBF[S]\nk=\xD0\xB0")), "[S]\nk=\xD0\xB0");
  EXPECT_EQ(DecodeTextFile(Bytes("a\xE2\x82\xAC\xF0\x9F\x98\x80z")), "a\xE2\x82\xAC\xF0\x9F\x98\x80z");
  EXPECT_EQ(DecodeTextFile(Bytes(std::string("a\0b\0", 4))), "ab");
  EXPECT_EQ(DecodeTextFile({}), "");
  // Windows-1251: "Файл" and a lone byte of it in otherwise ASCII text.
  EXPECT_EQ(DecodeTextFile(Bytes("\xD4\xE0\xE9\xEB")), "Файл");
  EXPECT_EQ(DecodeTextFile(Bytes("k=\xB9 5")), "k=№ 5");
  // Not UTF-8: overlong forms, surrogates, beyond U+10FFFF, a cut sequence, a stray continuation.
  EXPECT_EQ(DecodeTextFile(Bytes("\xC0\xAF")), "АЇ");
  EXPECT_EQ(DecodeTextFile(Bytes("\xE0\x80\xAF")), Cp1251ToUtf8("\xE0\x80\xAF"));
  EXPECT_EQ(DecodeTextFile(Bytes("\xED\xA0\x80")), Cp1251ToUtf8("\xED\xA0\x80"));
  EXPECT_EQ(DecodeTextFile(Bytes("\xF4\x90\x80\x80")), Cp1251ToUtf8("\xF4\x90\x80\x80"));
  EXPECT_EQ(DecodeTextFile(Bytes("ab\xD0")), "ab\xD0\xA0");
  EXPECT_EQ(DecodeTextFile(Bytes("\x80")), "\xD0\x82");
  // The largest code point and the last before the surrogates are still UTF-8.
  EXPECT_EQ(DecodeTextFile(Bytes("\xF4\x8F\xBF\xBF\xED\x9F\xBF")), "\xF4\x8F\xBF\xBF\xED\x9F\xBF");
  // UTF-16 with its mark, either byte order: "Фx" and a pair of surrogates; a lone surrogate and
  // an odd last byte.
  EXPECT_EQ(DecodeTextFile(Bytes(std::string("\xFF\xFE\x24\x04x\0\x3D\xD8\x00\xDE", 10))), "\xD0\xA4x\xF0\x9F\x98\x80");
  EXPECT_EQ(DecodeTextFile(Bytes(std::string("\xFE\xFF\x04\x24\0x\xD8\x3D\xDE\x00", 10))), "\xD0\xA4x\xF0\x9F\x98\x80");
  EXPECT_EQ(DecodeTextFile(Bytes(std::string("\xFF\xFE\x00\xD8k\0\0\0z", 9))), "\xEF\xBF\xBDk");
}

class IniFiles : public ::testing::Test {
protected:
  IniFiles() : dir(testdoc::MakeScratchFolder()) {}
  ~IniFiles() override {
    std::error_code ec;
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir, ec);
  }
  std::string Path(const std::string& name) const { return (dir / name).u8string(); }
  fs::path dir;
};

TEST_F(IniFiles, Cp1251SaveAndLoadRoundTrip) {
  IniFile ini;
  ini.WriteString("Меню", "Файл", "Открыть… €");
  ini.WriteString("Меню", "Greek", "αβ");
  const std::string path = Path("lang.ini");
  ASSERT_TRUE(ini.Save(path, IniEncoding::Cp1251));
  EXPECT_EQ(testdoc::ReadFile(path), Bytes("[\xCC\xE5\xED\xFE]\r\n\xD4\xE0\xE9\xEB=\xCE\xF2\xEA\xF0\xFB\xF2\xFC\x85 "
                                           "\x88\r\nGreek=??\r\n"));
  IniFile back;
  ASSERT_TRUE(back.Load(path));
  EXPECT_EQ(back.ReadString("Меню", "Файл", "-"), "Открыть… €");
  EXPECT_EQ(back.ReadString("Меню", "Greek", "-"), "??");

  ASSERT_TRUE(ini.Save(path, IniEncoding::Utf8));
  EXPECT_EQ(testdoc::ReadFile(path), Bytes(ini.Text()));
  ASSERT_TRUE(back.Load(path));
  EXPECT_EQ(back.ReadString("Меню", "Greek", "-"), "αβ");
}

TEST_F(IniFiles, LoadEditSaveKeepsTheRestByteForByte) {
  const std::string path = Path("settings.ini");
  testdoc::WriteFile(path, Bytes("\xEF\xBB\xBF" + HandMade));
  IniFile ini;
  ASSERT_TRUE(ini.Load(path));
  ini.WriteString("Menu", "File", "&Datei");
  ASSERT_TRUE(ini.Save(path, IniEncoding::Utf8));
  std::string expected = HandMade;
  expected.replace(expected.find("File=&File"), 10, "File=&Datei");
  EXPECT_EQ(testdoc::ReadFile(path), Bytes(expected));
}

TEST_F(IniFiles, LoadRefusesMissingAndOversizedFiles) {
  IniFile ini = IniFile::Parse("[S]\nk=1\n");
  EXPECT_FALSE(ini.Load(Path("missing.ini")));
  EXPECT_FALSE(ini.HasSection("S"));
  EXPECT_EQ(ini.Text(), "");
  EXPECT_FALSE(ini.Load(dir.u8string()));

  std::string big = "[S]\nk=1\n;";
  big.resize(MaxIniFileBytes, 'x');
  testdoc::WriteFile(Path("big.ini"), Bytes(big));
  EXPECT_TRUE(ini.Load(Path("big.ini")));
  EXPECT_EQ(ini.ReadInteger("S", "k", 0), 1);
  big += 'x';
  testdoc::WriteFile(Path("big.ini"), Bytes(big));
  EXPECT_FALSE(ini.Load(Path("big.ini")));
  EXPECT_FALSE(ini.HasKey("S", "k"));
}

TEST_F(IniFiles, FailedSaveLeavesTheTargetIntact) {
  IniFile ini;
  ini.WriteString("S", "k", "new");
  EXPECT_FALSE(ini.Save(Path("no folder/x.ini"), IniEncoding::Utf8));
  testdoc::WriteFile(Path("file"), {'a'});
  EXPECT_FALSE(ini.Save(Path("file/x.ini"), IniEncoding::Utf8));
  // A folder in the way of the target stays a folder, and no temporary file is left behind.
  fs::create_directories(dir / "taken" / "inside");
  EXPECT_FALSE(ini.Save(Path("taken"), IniEncoding::Utf8));
  EXPECT_TRUE(fs::is_directory(dir / "taken" / "inside"));
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir))
    names.push_back(entry.path().filename().u8string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"file", "taken"}));
}

TEST_F(IniFiles, SaveIntoALockedFolderFails) {
  IniFile ini;
  ini.WriteString("S", "k", "new");
  const fs::path locked = dir / "locked";
  fs::create_directories(locked);
  const std::string target = (locked / "x.ini").u8string();
  testdoc::WriteFile(target, Bytes("[S]\nk=old\n"));
  fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
  if (::access(locked.c_str(), W_OK) == 0) GTEST_SKIP() << "this user may write into any folder";
  EXPECT_FALSE(ini.Save(target, IniEncoding::Utf8));
  EXPECT_EQ(testdoc::ReadFile(target), Bytes("[S]\nk=old\n"));
}

TEST(IniNumbers, Integers) {
  const int Min = -2147483647 - 1;
  const std::vector<std::pair<std::string, int>> good = {{" 42 ", 42},
                                                         {"+7", 7},
                                                         {"-0", 0},
                                                         {"2147483647", 2147483647},
                                                         {"-2147483648", Min},
                                                         {"0x7fffffff", 2147483647},
                                                         {"-0X80000000", Min},
                                                         {"0xFfA", 0xFFA},
                                                         {"007", 7}};
  for (const auto& [text, value] : good)
    EXPECT_EQ(IniFile::Parse("[N]\nk=" + text + "\n").ReadInteger("N", "k", -99), value) << text;
  for (const char* bad : {"2147483648", "-2147483649", "0x80000000", "99999999999999999999999", "12abc", "0x", "",
                          "- 5", "1.5", "+", "1 2", "0x-1"})
    EXPECT_EQ(IniFile::Parse(std::string("[N]\nk=") + bad + "\n").ReadInteger("N", "k", -99), -99) << bad;
  EXPECT_EQ(IniFile().ReadInteger("N", "k", -99), -99);

  IniFile out;
  out.WriteInteger("N", "min", Min);
  EXPECT_EQ(out.ReadString("N", "min", ""), "-2147483648");
  EXPECT_EQ(out.ReadInteger("N", "min", 0), Min);
}

TEST(IniNumbers, Booleans) {
  const IniFile ini = IniFile::Parse("[B]\na=1\nb=0\nc=TRUE\nd=False\ne=-3\nf=yes\ng=\nh=0x0\ni=true1\n");
  EXPECT_TRUE(ini.ReadBool("B", "a", false));
  EXPECT_FALSE(ini.ReadBool("B", "b", true));
  EXPECT_TRUE(ini.ReadBool("B", "c", false));
  EXPECT_FALSE(ini.ReadBool("B", "d", true));
  EXPECT_TRUE(ini.ReadBool("B", "e", false));
  EXPECT_FALSE(ini.ReadBool("B", "h", true));
  for (const char* key : {"f", "g", "i", "missing"}) {
    EXPECT_TRUE(ini.ReadBool("B", key, true)) << key;
    EXPECT_FALSE(ini.ReadBool("B", key, false)) << key;
  }
}

TEST(IniValues, LongValuesAreCutAtACharacterBoundary) {
  const std::string ascii(MaxIniValueBytes + 10, 'a');
  const std::string cyrillic = std::string(MaxIniValueBytes - 1, 'a') + "яя";
  const std::string emoji = std::string(MaxIniValueBytes - 2, 'a') + "\xF0\x9F\x98\x80";
  const std::string exact = std::string(MaxIniValueBytes - 2, 'a') + "я";
  IniFile ini;
  ini.WriteString("S", "ascii", ascii);
  ini.WriteString("S", "cyrillic", cyrillic);
  ini.WriteString("S", "emoji", emoji);
  ini.WriteString("S", "exact", exact);
  EXPECT_EQ(ini.ReadString("S", "ascii", ""), ascii.substr(0, MaxIniValueBytes));
  EXPECT_EQ(ini.ReadString("S", "cyrillic", ""), cyrillic.substr(0, MaxIniValueBytes - 1));
  EXPECT_EQ(ini.ReadString("S", "emoji", ""), emoji.substr(0, MaxIniValueBytes - 2));
  EXPECT_EQ(ini.ReadString("S", "exact", ""), exact);
  // The file keeps the whole value.
  EXPECT_NE(ini.Text().find(ascii), std::string::npos);
}

TEST(IniScale, ThousandsOfKeysWrittenOneByOne) {
  // Every key goes into the first of many sections: no write may move the lines after it.
  std::string text;
  for (int s = 0; s < 200; ++s)
    text += "[S" + std::to_string(s) + "]\nk=" + std::to_string(s) + "\n\n";
  IniFile ini = IniFile::Parse(text);
  constexpr int Count = 5000;
  for (int k = 0; k < Count; ++k) {
    ini.WriteInteger("S0", "key" + std::to_string(k), k);
    ini.WriteInteger("New", "key" + std::to_string(k), -k);
  }
  for (int k = 0; k < Count; k += 499) {
    EXPECT_EQ(ini.ReadInteger("s0", "KEY" + std::to_string(k), -1), k);
    EXPECT_EQ(ini.ReadInteger("new", "key" + std::to_string(k), 1), -k);
  }
  const std::vector<std::string> keys = ini.Keys("S0");
  ASSERT_EQ(keys.size(), std::size_t{Count + 1});
  EXPECT_EQ(keys[1], "key0");
  EXPECT_EQ(keys[Count], "key4999");
  const std::string out = ini.Text();
  EXPECT_EQ(out.rfind("[S0]\nk=0\nkey0=0\nkey1=1\n", 0), 0u);
  EXPECT_NE(out.find("key4999=4999\n\n[S1]\nk=1\n"), std::string::npos);
  EXPECT_EQ(out.substr(out.size() - 28), "key4998=-4998\nkey4999=-4999\n");
  EXPECT_EQ(IniFile::Parse(out).Text(), out);
}

} // namespace
} // namespace drex
