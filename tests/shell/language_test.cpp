#include "shell/language.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "kernel/cp1251.h"
#include "kernel/object_table.h"
#include "shell/ini_file.h"
#include "shell/program.h"
#include "shell/undo_command.h"
#include "support/scripted_platform.h"

namespace drex {
namespace {

namespace fs = std::filesystem;

/// The message table's entry of the first default-name stem.
constexpr int StemMsg = 154;

/// A program with a small form of every kind of text, in a folder of its own that stands for the
/// user's data folder, with a second one for the shipped files.
class LanguageTest : public ::testing::Test {
protected:
  LanguageTest() {
    dir = fs::temp_directory_path() /
          ("drex2d_lang_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir / "user");
    fs::create_directories(dir / "shipped");
    desk.FoldersAnswer.Data = (dir / "user").string();
    desk.FoldersAnswer.Config = (dir / "user").string();
    desk.FoldersAnswer.Shipped = {(dir / "shipped").string()};

    TextForm form;
    form.Name = MainFormName;
    form.Caption = "DREX-2D";
    form.Components.push_back(Component("m_ZoomIn", "Збільшити", "Збільшення зображення"));
    form.Components.push_back(Component("SpeedButton1", "+", "Плюс"));
    TextComponent langs = Component("__Langs", "", "Мова");
    langs.Items = {"Українська", "English"};
    form.Components.push_back(langs);
    TextComponent style = Component("StyleBox", "", "");
    style.Items = {"Суцільна", "", "Пунктирна"};
    form.Components.push_back(style);
    prog.Lang.Forms.push_back(form);
    TextForm setup;
    setup.Name = "SetupFrm";
    setup.Caption = "Налагодження";
    setup.Components.push_back(Component("ApplyBtn", "&Застосувати", ""));
    prog.Lang.Forms.push_back(setup);
  }
  ~LanguageTest() override { fs::remove_all(dir); }

  static TextComponent Component(const char* name, const char* caption, const char* hint) {
    TextComponent c;
    c.Name = name;
    c.HasCaption = *caption != '\0';
    c.HasHint = true;
    c.Caption = caption;
    c.Hint = hint;
    return c;
  }

  /// Writes `lines` (UTF-8) as a file of `folder`, in Windows-1251 when `cp1251`.
  std::string WriteFile(const char* folder, const char* name, const std::string& text, bool cp1251 = false) {
    const fs::path path = dir / folder / name;
    std::ofstream(path, std::ios::binary) << (cp1251 ? Utf8ToCp1251(text) : text);
    return path.string();
  }

  ScriptedPlatform desk;
  Program prog{desk};
  fs::path dir;
};

TEST_F(LanguageTest, TemplateHoldsEveryTranslatableTextAndNothingElse) {
  const std::string path = (dir / "user" / TemplateLanguageFile).string();
  ASSERT_TRUE(WriteLanguageTemplate(prog, path));
  std::ifstream in(path, std::ios::binary);
  const std::string raw((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(raw.find("Українська"), std::string::npos) << "the template is written in Windows-1251";
  EXPECT_NE(raw.find(Utf8ToCp1251("Українська")), std::string::npos);

  IniFile file;
  ASSERT_TRUE(file.Load(path));
  EXPECT_EQ(file.Sections(), (std::vector<std::string>{"INFO", "Msg", MainFormName, "SetupFrm", "InternalResources"}));
  EXPECT_EQ(file.ReadString("INFO", "Language", ""), "Українська");
  EXPECT_EQ(file.ReadString("INFO", "AppName", ""), "DREX-2D");
  EXPECT_EQ(file.ReadString("INFO", "SetupFrm", ""), "Налагодження");
  EXPECT_FALSE(file.HasKey("INFO", "HelpFile"));
  for (int n = 0; n <= 10; ++n)
    EXPECT_TRUE(file.HasKey("Msg", "Button" + std::to_string(n))) << n;
  EXPECT_EQ(file.ReadString("Msg", "Button2", ""), "Продовжити");
  for (int n = 0; n <= 3; ++n)
    EXPECT_TRUE(file.HasKey("Msg", "Caption" + std::to_string(n))) << n;
  EXPECT_FALSE(file.HasKey("Msg", "Caption4")) << "an empty caption is not written";

  const std::set<std::string> keys = [&] {
    const std::vector<std::string> k = file.Keys(MainFormName);
    return std::set<std::string>(k.begin(), k.end());
  }();
  EXPECT_TRUE(keys.count("m_ZoomIn.caption") && keys.count("m_ZoomIn.hint"));
  EXPECT_FALSE(keys.count("SpeedButton1.caption")) << "a one-character text is never written";
  EXPECT_TRUE(keys.count("SpeedButton1.hint"));
  for (const std::string& key : keys)
    EXPECT_EQ(key.find("__"), std::string::npos) << key;
  EXPECT_TRUE(keys.count("StyleBox.1") && keys.count("StyleBox.3"));
  EXPECT_FALSE(keys.count("StyleBox.2")) << "an empty item is not written";
  // The texts the core shows itself sit in the main window's section.
  EXPECT_EQ(file.ReadString(MainFormName, "OpenDial.caption", ""), "Завантаження об'єктів");
  EXPECT_EQ(file.ReadString(MainFormName, "s_MakeOne.caption", ""), "побудова об'єкта %s");

  int messages = 0;
  for (int n = 0; n < MsgCount; ++n) {
    const bool written = file.HasKey("InternalResources", "r" + std::to_string(n + 1));
    const std::string& text = prog.Msgs[n];
    EXPECT_EQ(written, text.size() > 1) << n;
    if (written) {
      ++messages;
      std::string stored = text;
      while (stored.back() == ' ')
        stored.pop_back(); // a value cannot keep a trailing blank
      EXPECT_EQ(file.ReadString("InternalResources", "r" + std::to_string(n + 1), ""), stored) << n;
      EXPECT_TRUE(FitsCp1251(text)) << "entry " << n << " cannot be written into the template";
    }
  }
  EXPECT_GT(messages, 140);
}

TEST_F(LanguageTest, ALanguageReplacesOnlyWhatItHasAndASecondOneGoesOverTheFirst) {
  const MsgTable before = prog.Msgs;
  const std::string only3 = WriteFile("user", "r3.lng", "[InternalResources]\r\nr3=Third message\r\n");
  ASSERT_TRUE(ApplyLanguage(prog, only3));
  for (int n = 0; n < MsgCount; ++n)
    EXPECT_EQ(prog.Msgs[n], n == 2 ? "Third message" : before[n]) << n;
  EXPECT_EQ(prog.Lang.ButtonCaptions[0], "Так");
  EXPECT_EQ(prog.Lang.Forms[0].Components[0].Caption, "Збільшити");

  // The file is Windows-1251, as translators' files usually are; keys are found in any case.
  const std::string first = WriteFile("user", "first.lng",
                                      "[info]\nFuncFrm=x\n[msg]\nbutton0=Yes\n[drex2dfrm]\nM_ZOOMIN.CAPTION=Zoom &in\n"
                                      "s_MakeOne.caption=making %s\n[InternalResources]\nr1=Один\nr2=Два\n",
                                      true);
  ASSERT_TRUE(ApplyLanguage(prog, first));
  const std::string second = WriteFile("user", "second.lng",
                                       "\xEF\xBB\xBF[InternalResources]\nr2=Zwei\n[SetupFrm]\nApplyBtn.caption=&Apply\n"
                                       "[Drex2dFrm]\nSpeedButton1.caption=Plus sign\n__Langs.1=Deutsch\n");
  ASSERT_TRUE(ApplyLanguage(prog, second));
  EXPECT_EQ(prog.Msgs[0], "Один") << "kept from the first language";
  EXPECT_EQ(prog.Msgs[1], "Zwei");
  EXPECT_EQ(prog.Msgs[2], "Third message");
  EXPECT_EQ(prog.Lang.ButtonCaptions[0], "Yes");
  EXPECT_EQ(prog.Lang.Forms[0].Components[0].Caption, "Zoom &in");
  EXPECT_EQ(prog.Lang.Forms[1].Components[0].Caption, "&Apply");
  EXPECT_EQ(prog.Lang.Forms[0].Components[1].Caption, "+") << "one-character texts are never read";
  EXPECT_EQ(prog.Lang.Forms[0].Components[2].Items[0], "Українська") << "\"__\" components are never read";
  EXPECT_EQ(StepText(prog, "s_MakeOne"), "making %s");

  // A missing file changes nothing.
  EXPECT_FALSE(ApplyLanguage(prog, (dir / "user" / "missing.lng").string()));
  EXPECT_EQ(prog.Msgs[1], "Zwei");
}

TEST_F(LanguageTest, TranslatedTextsAreFilledOnlyAtTheirPercentS) {
  const std::string path =
      WriteFile("user", "pct.lng", "[InternalResources]\nr12=%d objects, 100% named \"%s\" %n%x %s\nr35=At most\n");
  ASSERT_TRUE(ApplyLanguage(prog, path));
  EXPECT_EQ(FormatMsg(prog.Msgs[11], {"A", "B"}), "%d objects, 100% named \"A\" %n%x B");
  EXPECT_EQ(FormatMsg(prog.Msgs[11], {}), "%d objects, 100% named \"\" %n%x ");
  // The blank before the number, which a file cannot keep at the end of a value, is put back.
  EXPECT_EQ(prog.ObjectLimitMessage(), "At most 10000.");
}

TEST_F(LanguageTest, LongStemsStillGiveEveryObjectItsOwnName) {
  std::string text = "[InternalResources]\n";
  for (int kind = 0; kind < KindCount; ++kind)
    if (kind != okCircle) text += "r" + std::to_string(StemMsg + kind + 1) + "=interpolation polynomial of degree n\n";
  text += "r" + std::to_string(StemMsg + okCircle + 1) + "=коло\n";
  ASSERT_TRUE(ApplyLanguage(prog, WriteFile("user", "stems.lng", text)));
  std::set<std::string> names;
  for (int k = 0; k < 12; ++k) {
    const int n = prog.AppendObject(k % 2 ? okPolynomial : okLine);
    ASSERT_GT(n, 0);
    const std::string name = prog.Doc[n].Name.Bytes();
    EXPECT_LE(name.size(), static_cast<std::size_t>(NameCapacity));
    EXPECT_TRUE(names.insert(name).second) << "name given twice: " << name;
  }
  EXPECT_EQ(prog.Doc[1].Name.Bytes(), "interpolation p1");
  const int circle = prog.AppendObject(okCircle);
  EXPECT_EQ(Cp1251ToUtf8(prog.Doc[circle].Name.Bytes()), "коло1");
}

TEST_F(LanguageTest, OnlyFilesOfThisProgramAreOfferedAndTheUsersOwnComeFirst) {
  WriteFile("shipped", "drex2eng.lng", "[INFO]\nLanguage=English\nAppName=DREX-2D\n");
  WriteFile("shipped", "drex2fra.lng", "[INFO]\nLanguage=Français\nAppName=DREX-2D\n");
  WriteFile("shipped", "other.lng", "[INFO]\nLanguage=Other\nAppName=drex-2d\n");
  WriteFile("shipped", "nolang.lng", "[INFO]\nLanguage=\nAppName=DREX-2D\n");
  WriteFile("shipped", "notes.txt", "[INFO]\nLanguage=Notes\nAppName=DREX-2D\n");
  WriteFile("user", "DREX2ENG.LNG", "[INFO]\nLanguage=My English\nAppName=DREX-2D\n");
  fs::create_directories(dir / "user" / "folder.lng");

  PrepareLanguages(prog);
  // The template written at start is offered from the first run on.
  EXPECT_TRUE(fs::exists(dir / "user" / TemplateLanguageFile));
  EXPECT_EQ(prog.Lang.Names, (std::vector<std::string>{"My English", "Українська", "Français"}));
  EXPECT_EQ(prog.Lang.Paths[0], (dir / "user" / "DREX2ENG.LNG").string());
  EXPECT_EQ(FindLanguageFile(prog.Lang, "drex2eng.lng"), 0);
  EXPECT_EQ(FindLanguageFile(prog.Lang, "drex2ukr.LNG"), 1);
  EXPECT_EQ(FindLanguageFile(prog.Lang, "other.lng"), -1);

  // A data folder that cannot be written to skips the template and still offers the rest.
  desk.FoldersAnswer.Data = (dir / "user" / "folder.lng" / "\x01").string();
  std::ofstream(dir / "user" / "folder.lng" / "\x01") << "a file where the folder should be";
  PrepareLanguages(prog);
  EXPECT_EQ(prog.Lang.Names, (std::vector<std::string>{"English", "Français"}));
}

TEST_F(LanguageTest, EachLanguageOpensItsOwnHelp) {
  const fs::path english = dir / "english.lng";
  std::ofstream(english) << "[INFO]\nLanguage=English\nAppName=DREX-2D\nHelpFile=drex2eng.html\n";
  const std::string ukrainian = (dir / TemplateLanguageFile).string();
  ASSERT_TRUE(WriteLanguageTemplate(prog, ukrainian));
  ASSERT_TRUE(ApplyLanguage(prog, english.string()));
  EXPECT_EQ(prog.HelpFile, "drex2eng.html");
  // Back to the template, which names no help: the built-in help again, not the English one.
  ASSERT_TRUE(ApplyLanguage(prog, ukrainian));
  EXPECT_EQ(prog.HelpFile, "drex2ukr.chm");
}

TEST(HelpFileName, OnlyAPlainHelpFileNameIsTaken) {
  for (const char* good : {"drex2ukr.chm", "drex2eng.html", "Manual.PDF", "help.htm"})
    EXPECT_TRUE(IsHelpFileName(good)) << good;
  for (const char* bad :
       {"", "../drex2ukr.chm", "/usr/bin/sh", "help/x.chm", "sh", "x.exe", ".chm", "c:x.chm", "a\\b.chm", "a\nb.chm"})
    EXPECT_FALSE(IsHelpFileName(bad)) << bad;
}

} // namespace
} // namespace drex
