#include "shell/setup_model.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "documents/document_commands.h"
#include "documents/document_file.h"
#include "shell/commands.h"
#include "shell/ini_file.h"
#include "shell/program.h"
#include "support/recording_canvas.h"
#include "support/scripted_platform.h"
#include "view/redraw.h"

namespace drex {
namespace {

namespace fs = std::filesystem;

class SettingsTest : public ::testing::Test {
protected:
  SettingsTest() {
    dir = fs::temp_directory_path() /
          ("drex2d_settings_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir / "shipped");
    Folders(desk);
    fs::current_path(fs::temp_directory_path());
    Prepare(prog);
  }
  ~SettingsTest() override { fs::remove_all(dir); }

  void Folders(ScriptedPlatform& d) {
    d.FoldersAnswer.Config = (dir / "config").string();
    d.FoldersAnswer.Data = (dir / "data").string();
    d.FoldersAnswer.Shipped = {(dir / "shipped").string()};
  }
  void Prepare(Program& p) {
    p.Surface = &canvas;
    InstallShellHooks(p);
    p.Layout.ToolBars = {{"tb_File", 0, 0}, {"tb_Make", 200, 0}, {"tb_Zoom", 0, 40}};
    p.Layout.ScreenWidth = 1280;
    p.Layout.ScreenHeight = 1024;
    PrepareLanguages(p);
  }
  std::string SettingsFile() const { return (dir / "config" / SettingsFileName).string(); }
  void WriteSettingsText(const std::string& text) {
    fs::create_directories(dir / "config");
    std::ofstream(SettingsFile(), std::ios::binary) << text;
  }
  std::string SavedDocument(Program& p, const char* name) {
    const int point = p.AppendObject(0);
    p.Doc[point].X1 = 10;
    const std::string path = (dir / name).string();
    EXPECT_TRUE(SaveDocument(p, path));
    p.Doc.ObjCount = 0;
    return path;
  }

  ScriptedPlatform desk;
  Program prog{desk};
  RecordingCanvas canvas{400, 300};
  fs::path dir;
};

TEST_F(SettingsTest, FirstRunTakesTheDefaultsAndExitWritesEveryKeyInOrder) {
  ReadSettings(prog);
  EXPECT_EQ(prog.Config.AnswerDigits, 2);
  EXPECT_EQ(prog.Config.IntegrationSteps, 200);
  EXPECT_EQ(prog.Config.CoordSystem, 0);
  EXPECT_TRUE(prog.Config.DrawGrid && prog.Config.IsOsi && prog.Config.IsReadLast && prog.Config.DrawFName &&
              prog.Config.PutObjName && prog.Config.DotsOneLetter);
  EXPECT_TRUE(prog.Config.LangFile.empty()) << "a Ukrainian desktop keeps the built-in texts";
  EXPECT_EQ(fs::path(prog.DocFileName).filename(), NoNameDocument);
  EXPECT_EQ(prog.Doc.ObjCount, 0);

  prog.RecentFiles = {"/a/one.d2d", "/b/two.d2d"};
  WriteSettings(prog);
  IniFile file;
  ASSERT_TRUE(file.Load(SettingsFile())) << "the configuration folder is made when missing";
  EXPECT_EQ(file.Keys("Window"),
            (std::vector<std::string>{"RightPanelWidth", "WorkFile", "LangFile", "ColLastFiles", "LastFile 1",
                                      "LastFile 2", "RightPanelVisible", "tb_File.Left", "tb_File.Top", "tb_Make.Left",
                                      "tb_Make.Top", "tb_Zoom.Left", "tb_Zoom.Top", "Maximized"}));
  EXPECT_EQ(file.Keys("Checks"), (std::vector<std::string>{"IsOsi", "DrawGrid", "IsReadLast", "DrawFName", "PutObjName",
                                                           "DotsOneLetter", "SmoothDrawing"}));
  EXPECT_EQ(file.Keys("Values"), (std::vector<std::string>{"CoordSystem", "EValue", "CharAfterP", "DisplayScale"}));
  EXPECT_EQ(file.ReadString("Checks", "DrawGrid", ""), "1");
  EXPECT_EQ(file.ReadString("Window", "LastFile 2", ""), "/b/two.d2d");
}

TEST_F(SettingsTest, WhatIsWrittenAtExitComesBackAtTheNextStart) {
  const std::string doc = SavedDocument(prog, "last.d2d");
  ReadSettings(prog);
  prog.Setup.Checks[chkDrawGrid] = false;
  prog.Setup.SetValue(valCharAfterP, 5);
  prog.Setup.SetValue(valCoordSystem, 1);
  prog.Setup.SetValue(valEValue, 700);
  prog.Setup.SetValue(valDisplayScale, 200);
  prog.Setup.Checks[chkSmoothDrawing] = false;
  ApplySetup(prog);
  ASSERT_TRUE(OpenDocumentPath(prog, doc));
  prog.RecentFiles = {doc, "/x/older.d2d"};
  prog.Layout.RightPanelWidth = 300;
  prog.Layout.RightPanelVisible = false;
  prog.Layout.ToolBars[2] = {"tb_Zoom", 350, 0};
  prog.Layout.Left = 40;
  prog.Layout.Top = 30;
  prog.Layout.Width = 900;
  prog.Layout.Height = 700;
  // A line of the user's own survives.
  WriteSettingsText("; my notes\r\n[Mine]\r\nKey=kept\r\n");
  WriteSettings(prog);

  ScriptedPlatform desk2;
  Folders(desk2);
  Program next{desk2};
  Prepare(next);
  ReadSettings(next);
  EXPECT_FALSE(next.Config.DrawGrid);
  EXPECT_EQ(next.Config.AnswerDigits, 5);
  EXPECT_EQ(next.Config.CoordSystem, 1);
  EXPECT_EQ(next.Config.IntegrationSteps, 700);
  EXPECT_EQ(next.Config.DisplayScale, 200);
  EXPECT_FALSE(next.Config.SmoothDrawing);
  EXPECT_EQ(next.DocFileName, doc) << "the last document opens again";
  EXPECT_EQ(next.Doc.ObjCount, 1);
  EXPECT_EQ(next.RecentFiles, (std::vector<std::string>{doc, "/x/older.d2d"}));
  EXPECT_EQ(next.Layout.RightPanelWidth, 300);
  EXPECT_FALSE(next.Layout.RightPanelVisible);
  EXPECT_EQ(next.Layout.ToolBars[2].Left, 350);
  EXPECT_EQ(next.Layout.ToolBars[2].Top, 0);
  EXPECT_EQ(next.Layout.Width, 900);
  EXPECT_EQ(next.Layout.Left, 40);
  IniFile file;
  ASSERT_TRUE(file.Load(SettingsFile()));
  EXPECT_EQ(file.ReadString("Mine", "Key", ""), "kept");
}

TEST_F(SettingsTest, DamagedValuesAreHeldToTheirRanges) {
  const std::string longPath(5000, 'x');
  WriteSettingsText("[Window]\nRightPanelWidth=99999999\nColLastFiles=99\nLastFile 1=/a.d2d\nLastFile 2=\n"
                    "LastFile 3=/a.d2d\nLastFile 4=/" +
                    longPath +
                    "\nLastFile 5=/b.d2d\nLastFile 6=/c.d2d\n"
                    "LastFile 7=/d.d2d\ntb_File.Left=-500\ntb_File.Top=123456789012\nWidth=100000\nHeight=5\n"
                    "Left=-40\nTop=99999\nWorkFile=" +
                    longPath +
                    "\nLangFile=../../etc/passwd\n"
                    "[Checks]\nDrawGrid=maybe\nIsOsi=0\n[Values]\nCharAfterP=50\nEValue=150\nCoordSystem=-3\n"
                    "DisplayScale=180\n");
  ReadSettings(prog);
  EXPECT_EQ(prog.RecentFiles, (std::vector<std::string>{"/a.d2d", "/b.d2d"}))
      << "five entries at most; empty, repeated and overlong ones skipped";
  EXPECT_EQ(prog.Config.AnswerDigits, 12);
  EXPECT_EQ(prog.Config.IntegrationSteps, 200) << "held to the steps of a hundred";
  EXPECT_EQ(prog.Config.CoordSystem, 0);
  EXPECT_EQ(prog.Config.DisplayScale, 200) << "held to the nearest offered scale";
  EXPECT_TRUE(prog.Config.DrawGrid) << "an unreadable value keeps the default";
  EXPECT_FALSE(prog.Config.IsOsi);
  EXPECT_TRUE(prog.Config.LangFile.empty()) << "a language file that is not offered is not taken";
  const WindowLayout& layout = prog.Layout;
  EXPECT_LE(layout.RightPanelWidth, 1280 * 2 / 3);
  EXPECT_EQ(layout.ToolBars[0].Left, 0);
  EXPECT_EQ(layout.ToolBars[0].Top, 0) << "a number too large for an int keeps the design place";
  EXPECT_EQ(layout.Width, 1280);
  EXPECT_EQ(layout.Height, MinWindowHeight);
  EXPECT_EQ(layout.Left, 0);
  EXPECT_EQ(layout.Top, 1024 - MinWindowHeight);
  EXPECT_EQ(fs::path(prog.DocFileName).filename(), NoNameDocument);

  // A file too large to be a settings file is refused as a whole.
  WriteSettingsText("[Values]\nCharAfterP=7\n" + std::string(MaxIniFileBytes, ';'));
  desk.ExpectMessage(prog.Msgs[59], mbOK, mbOK);
  ReadSettings(prog);
  EXPECT_EQ(prog.Config.AnswerDigits, 12) << "what was set stays";
}

TEST_F(SettingsTest, UntilChosenTheDisplayScaleFollowsTheScreen) {
  EXPECT_EQ(DisplayScaleForRatio(1), 100);
  EXPECT_EQ(DisplayScaleForRatio(0.5), 100);
  EXPECT_EQ(DisplayScaleForRatio(1.25), 125);
  EXPECT_EQ(DisplayScaleForRatio(1.75), 150);
  EXPECT_EQ(DisplayScaleForRatio(2), 200);
  EXPECT_EQ(DisplayScaleForRatio(4), 300);
  prog.Layout.ScreenPixelRatio = 2;
  ReadSettings(prog);
  EXPECT_EQ(prog.Config.DisplayScale, 200);
  EXPECT_TRUE(prog.Config.SmoothDrawing);
  // Once stored, the choice holds on any screen.
  prog.Setup.SetValue(valDisplayScale, 125);
  WriteSettings(prog);
  ScriptedPlatform desk2;
  Folders(desk2);
  Program next{desk2};
  Prepare(next);
  next.Layout.ScreenPixelRatio = 3;
  ReadSettings(next);
  EXPECT_EQ(next.Config.DisplayScale, 125);
}

TEST_F(SettingsTest, StartDocumentRules) {
  const std::string last = SavedDocument(prog, "last.d2d");
  const std::string argument = SavedDocument(prog, "argument.d2d");
  const auto start = [&](const std::string& workFile, bool readLast, const std::string& startDocument) {
    WriteSettingsText("[Window]\nWorkFile=" + workFile + "\n[Checks]\nIsReadLast=" + (readLast ? "1" : "0") + "\n");
    ScriptedPlatform d;
    Folders(d);
    Program p{d};
    Prepare(p);
    p.StartDocument = startDocument;
    ReadSettings(p);
    return p.Doc.ObjCount == 1 ? p.DocFileName : fs::path(p.DocFileName).filename().string();
  };
  EXPECT_EQ(start(last, true, ""), last);
  EXPECT_EQ(start(last, false, ""), NoNameDocument);
  EXPECT_EQ(start(last, false, argument), argument) << "the command line wins even with the setting off";
  EXPECT_EQ(start(last, true, argument), argument);
  EXPECT_EQ(start((dir / "NoName.d2d").string(), true, ""), NoNameDocument) << "never loaded at start";
  EXPECT_EQ(start("", true, ""), NoNameDocument);
}

TEST_F(SettingsTest, CancelKeepsTheControlsForTheNextStartOnly) {
  ReadSettings(prog);
  prog.SetupForm = [this] {
    prog.Setup.Checks[chkDrawGrid] = false; // the user unchecks the grid, then presses Cancel
    return false;
  };
  EXPECT_EQ(MenuClick(prog, tag::Setup), MenuResult::Done);
  EXPECT_TRUE(prog.Config.DrawGrid) << "nothing applied in this run";
  WriteSettings(prog);
  ScriptedPlatform d;
  Folders(d);
  Program next{d};
  Prepare(next);
  ReadSettings(next);
  EXPECT_FALSE(next.Config.DrawGrid);

  // "&Застосувати" applies at once, the title follows DrawFName.
  prog.SetupForm = [this] {
    prog.Setup.Checks[chkDrawFName] = false;
    prog.Setup.SetValue(valCharAfterP, 4);
    return true;
  };
  MenuClick(prog, tag::Setup);
  EXPECT_FALSE(prog.Config.DrawGrid);
  EXPECT_EQ(prog.Config.AnswerDigits, 4);
  EXPECT_EQ(prog.Title, prog.BaseTitle);
}

TEST_F(SettingsTest, FirstStartSpeaksTheDesktopsLanguage) {
  std::ofstream(dir / "shipped" / "drex2eng.lng")
      << "[INFO]\nLanguage=English\nAppName=DREX-2D\nLocale=en\n[InternalResources]\nr15=Point\n";
  ScriptedPlatform d;
  Folders(d);
  d.DesktopLanguageAnswer = "en_GB";
  Program p{d};
  Prepare(p);
  ReadSettings(p);
  EXPECT_EQ(p.Config.LangFile, "drex2eng.lng");
  EXPECT_EQ(p.Msgs[14], "Point");
  EXPECT_EQ(p.Kinds.KindName[0], "Point");
  EXPECT_EQ(p.Lang.Locale, "en");

  // A later start keeps what the settings say, whatever the desktop speaks.
  p.Setup.Language = FindLanguageFile(p.Lang, "drex2ukr.lng");
  ApplySetup(p);
  EXPECT_EQ(p.Msgs[14], "Точка");
  WriteSettings(p);
  Program again{d};
  Prepare(again);
  ReadSettings(again);
  EXPECT_EQ(again.Config.LangFile, "drex2ukr.lng");
  EXPECT_EQ(again.Msgs[14], "Точка");

  for (const char* uk : {"uk", "uk_UA", "uk-UA", "uk_UA.UTF-8", "UK"})
    EXPECT_FALSE(PrefersEnglish(uk)) << uk;
  for (const char* other : {"en_US", "de", "ru_UA", "ukr", "C"})
    EXPECT_TRUE(PrefersEnglish(other)) << other;
  EXPECT_FALSE(PrefersEnglish("")) << "an unknown desktop language keeps the built-in texts";
}

TEST_F(SettingsTest, ASettingsFileThatCannotBeWrittenIsReportedAndNothingElseHappens) {
  // A file stands where the configuration folder should be.
  std::ofstream(dir / "config") << "not a folder";
  prog.RecentFiles = {"/a.d2d"};
  desk.ExpectMessage(prog.Msgs[60], mbOK, mbOK);
  WriteSettings(prog);
  EXPECT_TRUE(fs::is_regular_file(dir / "config"));
  // Without a configuration folder at all, the same message.
  desk.FoldersAnswer.Config.clear();
  desk.ExpectMessage(prog.Msgs[60], mbOK, mbOK);
  WriteSettings(prog);
}

} // namespace
} // namespace drex
