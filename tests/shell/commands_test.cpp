#include "shell/commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "documents/document_commands.h"
#include "documents/document_file.h"
#include "shell/program.h"
#include "support/recording_canvas.h"
#include "support/scripted_platform.h"
#include "view/redraw.h"

namespace drex {
namespace {

// Every command the main window has, by Tag.
const std::vector<int> AllTags = {0,   1,   2,   3,    4,    5,    6,    7,    8,    11,   12,   14,   15,   16,  17,
                                  18,  19,  20,  21,   22,   23,   25,   27,   28,   29,   30,   31,   32,   33,  34,
                                  35,  36,  37,  38,   41,   42,   43,   44,   49,   491,  492,  50,   51,   52,  101,
                                  102, 104, 105, 106,  107,  108,  109,  110,  111,  112,  113,  114,  301,  302, 303,
                                  304, 401, 402, 1001, 1002, 1003, 1004, 1005, 3001, 3002, 3003, 3005, 12000};

// The commands this build runs; every other one is shown disabled.
const std::set<int> BuiltTags = {29,  30,  0,   1,   2,    3,   4,   11,  12,  14,   15,   16,   17,   18,   19,
                                 20,  21,  22,  23,  25,   27,  28,  31,  32,  33,   34,   37,   3001, 3002, 3003,
                                 35,  36,  38,  301, 3005, 41,  42,  43,  44,  51,   101,  102,  104,  105,  106,
                                 107, 108, 109, 110, 111,  112, 113, 114, 492, 1001, 1002, 1003, 1004, 1005, 12000,
                                 302, 303, 304, 49,  491,  401, 402, 50,  52,  5,    6,    7,    8};

class ShellTest : public ::testing::Test {
protected:
  ShellTest() {
    prog.Surface = &canvas;
    InstallShellHooks(prog);
    Redraw(prog, true);
  }

  ScriptedPlatform desktop;
  Program prog{desktop};
  RecordingCanvas canvas{400, 300};
};

TEST(CommandTable, HoldsEveryCommandOnceWithItsNames) {
  std::vector<int> tags;
  std::set<std::string> names, buttons;
  std::set<int> buttonImages;
  for (const CommandInfo& c : CommandTable) {
    tags.push_back(c.Tag);
    EXPECT_TRUE(names.insert(c.MenuItem).second) << "menu item twice: " << c.MenuItem;
    const std::string name = c.MenuItem;
    EXPECT_TRUE(name.rfind("m_", 0) == 0 || name.rfind("file", 0) == 0 || name == "ShowAll") << name;
    const bool hasButton = *c.ToolButton != '\0';
    EXPECT_EQ(hasButton, c.ToolBar != ToolBarId::None) << name;
    if (hasButton) {
      EXPECT_EQ(std::string(c.ToolButton), "k_" + name.substr(2)) << "button named after its menu item";
      EXPECT_TRUE(buttons.insert(c.ToolButton).second);
      EXPECT_GE(c.Image, 0) << "a tool button needs a picture: " << name;
      EXPECT_TRUE(buttonImages.insert(c.Image).second) << "two buttons share picture " << c.Image;
    }
    EXPECT_LT(c.Image, ImageCount) << name;
    EXPECT_NE(*c.Hint, '\0') << "every command has a hint: " << name;
    const bool recent = c.Tag >= FirstRecentTag && c.Tag < FirstRecentTag + RecentItemCount;
    EXPECT_EQ(*c.Caption == '\0', recent) << "only recent items take their caption from the list: " << name;
  }
  std::vector<int> expected = AllTags;
  std::sort(tags.begin(), tags.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(tags, expected);
}

TEST(CommandTable, MenusAndToolBarsAreWellFormed) {
  std::set<MenuId> seen;
  for (const MenuInfo& m : MenuTable) {
    // A submenu hangs in a menu built before it.
    EXPECT_TRUE(m.Parent == m.Id || seen.count(m.Parent)) << m.Name;
    seen.insert(m.Id);
  }
  for (const CommandInfo& c : CommandTable)
    EXPECT_TRUE(seen.count(c.Menu)) << c.MenuItem;
  const std::vector<std::string> bars = {"tb_File", "tb_Make", "tb_Zoom", "tb_Select", "tb_Macro"};
  for (const std::string& bar : bars) {
    const auto found = std::find_if(std::begin(ToolBarTable), std::end(ToolBarTable),
                                    [&](const ToolBarInfo& t) { return bar == t.Name; });
    ASSERT_NE(found, std::end(ToolBarTable)) << bar;
  }
  // The menus the commands are found under, by their captions.
  const std::pair<MenuId, const char*> captions[] = {
      {MenuId::Object, "Об'єкт"},          {MenuId::FromScreen, "Створити з екрану"},
      {MenuId::ByParams, "Створити"},      {MenuId::Transform, "Перетворення"},
      {MenuId::View, "Зображення"},        {MenuId::DynCalc, "Динамічний вираз"},
      {MenuId::Macro, "Макроконструкція"},
  };
  for (const auto& [id, caption] : captions) {
    const auto found =
        std::find_if(std::begin(MenuTable), std::end(MenuTable), [id = id](const MenuInfo& m) { return m.Id == id; });
    ASSERT_NE(found, std::end(MenuTable));
    EXPECT_STREQ(found->Caption, caption);
  }
  EXPECT_EQ(FindCommand(tag::ShowGMT)->Menu, MenuId::View);
  EXPECT_EQ(FindCommand(tag::ObjParam)->Menu, MenuId::Transform);
  EXPECT_EQ(FindCommand(tag::MacroMake)->Menu, MenuId::Macro);
  EXPECT_EQ(FindCommand(tag::CalcFix)->Menu, MenuId::DynCalc);
  // The separator above Exit is the one that shows only with recent documents.
  EXPECT_STREQ(FindCommand(tag::Exit)->SeparatorBefore, "fileend");
}

TEST(CommandTable, KeysCaptionsAndHintsAsGiven) {
  struct Row {
    int Tag;
    const char* MenuItem;
    const char* Caption;
    const char* Shortcut;
  };
  const Row rows[] = {
      {0, "m_Exit", "Ви&хід", "Alt+X"},
      {1, "m_NewFile", "&Новий", ""},
      {2, "m_Load", "&Завантажити", "F3"},
      {3, "m_Save", "Зберегти", "F2"},
      {4, "m_SaveAs", "Зберегти як...", "Alt+F2"},
      {25, "m_ModeDel", "Вилучити", ""},
      {28, "m_Abort", "Припинити виконання операції", "Esc"},
      {41, "m_ZoomIn", "Збільшити", "Num++"},
      {42, "m_ZoomOut", "Зменшити", "Num+-"},
      {43, "m_ZoomFit", "Оптимальний", ""},
      {44, "m_ZoomEqu", "Відповідно до вимірювальних одиниць", ""},
      {49, "m_Animate", "Покрокове відображення", ""},
      {492, "ShowAll", "Зображати сховані об'єкти", ""},
      {50, "m_Setup", "Налагодження", "F9"},
      {51, "m_Help", "Розділи допомоги", "F1"},
      {52, "m_About", "Про програму", ""},
      {3001, "m_Calcul", "Значення &виразу", "F11"},
      {3002, "m_Integral", "&Інтеграл", ""},
      {3003, "m_Derivative", "&Похідна", ""},
      {301, "m_CalcRotate", "Площа поверхні та об'єм тіла обертання", ""},
      {33, "m_CalcMake", "Створити", ""},
      {37, "m_CalcEdit", "Змінити", ""},
      {34, "m_CalcDel", "Вилучити", ""},
      {35, "m_CalcFix", "Зафіксувати поточне значення", ""},
      {36, "m_CalcFixDel", "Вилучити останнє зафіксоване значення", ""},
      {31, "m_Ugol", "Кут", ""},
      {32, "m_Distance", "Відстань", ""},
      {3005, "m_MeasureDel", "Вилучити з екрану", ""},
      {302, "m_ObjParam", "Параметрично", ""},
      {303, "m_ObjMove", "Паралельне перенесення", ""},
      {304, "m_ObjRot", "Поворот", ""},
      {401, "m_MacroMake", "Створити", ""},
      {402, "m_MacroPut", "Встановити", ""},
      {27, "m_Change", "Змінити", ""},
      {12, "m_ScrMiddle", "Середня точка", ""},
      {12000, "m_Clipboard", "Область зображення у буфер", ""},
  };
  for (const Row& r : rows) {
    const CommandInfo* c = FindCommand(r.Tag);
    ASSERT_NE(c, nullptr) << r.Tag;
    EXPECT_STREQ(c->MenuItem, r.MenuItem);
    EXPECT_STREQ(c->Caption, r.Caption);
    EXPECT_STREQ(c->Shortcut, r.Shortcut) << r.MenuItem;
    EXPECT_EQ(FindCommandByName(r.MenuItem), c);
  }
  // The hints the prompts of operations start with.
  const MsgTable msgs;
  EXPECT_STREQ(FindCommand(11)->Hint, "Створення точки");
  EXPECT_STREQ(FindCommand(49)->Hint, "Вивести зображення покроково");
  EXPECT_STREQ(FindCommand(303)->Hint, "Паралельне перенесення об'єктів");
  EXPECT_STREQ(FindCommand(31)->Hint, "Обчислення кута за трьома точками");
  EXPECT_STREQ(FindCommand(32)->Hint, "Обчислення відстані між двома точками");
  EXPECT_STREQ(FindCommand(3005)->Hint, "Вилучити з екрану обчислене значення кута або відстані");
  EXPECT_EQ(FindCommand(491)->Caption, msgs[44]);
  EXPECT_EQ(FindCommand(491)->Hint, msgs[45]);
  EXPECT_EQ(FindCommand(491)->Image, ImageShowGMT);
  EXPECT_EQ(FindCommand(401)->Image, ImageMacroMake);
  EXPECT_TRUE(FindCommand(492)->Checkable);
  EXPECT_EQ(FindCommand(13), nullptr) << "a point on an object is made from the point tool";
  EXPECT_EQ(FindCommand(103), nullptr);
  EXPECT_EQ(FindCommandByName("m_Nothing"), nullptr);
}

TEST_F(ShellTest, ExactlyTheBuiltCommandsAreAvailable) {
  for (const CommandInfo& c : CommandTable)
    EXPECT_EQ(CommandAvailable(c.Tag), BuiltTags.count(c.Tag) == 1) << c.MenuItem;
  EXPECT_FALSE(CommandAvailable(13));
  EXPECT_FALSE(CommandAvailable(999));
}

TEST_F(ShellTest, UnavailableCommandsChangeNothing) {
  prog.Doc.View.Zoom = 2.5;
  for (const CommandInfo& c : CommandTable) {
    if (CommandAvailable(c.Tag)) continue;
    EXPECT_EQ(MenuClick(prog, c.Tag), MenuResult::Unavailable) << c.MenuItem;
    EXPECT_EQ(prog.Doc.ObjCount, 0);
    EXPECT_EQ(prog.Doc.View.Zoom, 2.5);
    EXPECT_EQ(prog.InfoText, "  ");
    EXPECT_FALSE(prog.AbortEnabled);
    EXPECT_FALSE(prog.Modified);
    EXPECT_TRUE(desktop.Timers.empty()) << c.MenuItem;
  }
  EXPECT_TRUE(desktop.Messages.empty());
  EXPECT_EQ(MenuClick(prog, 13), MenuResult::Unavailable);
}

TEST_F(ShellTest, ZoomCommandsAndTheirKeys) {
  struct Row {
    int Tag;
    double Before;
    double After;
  };
  const Row rows[] = {
      {tag::ZoomIn, 44, 48.4},      {tag::ZoomIn, 45, 45},          {tag::ZoomIn, 46, 46}, {tag::ZoomOut, 1, 0.9},
      {tag::ZoomOut, 0.001, 0.001}, {tag::ZoomOut, 0.0005, 0.0005}, {tag::ZoomEqu, 7, 1},
  };
  for (const Row& r : rows) {
    prog.Doc.View = TViewState{12, -7, r.Before};
    EXPECT_EQ(MenuClick(prog, r.Tag), MenuResult::Done);
    EXPECT_DOUBLE_EQ(prog.Doc.View.Zoom, r.After) << r.Tag << " at " << r.Before;
    const bool reset = r.Tag == tag::ZoomEqu;
    EXPECT_EQ(prog.Doc.View.OrgX, reset ? 0 : 12) << "zooming keeps the origin offsets";
    EXPECT_EQ(prog.Doc.View.OrgY, reset ? 0 : -7);
  }
  prog.Doc.View = TViewState{5, 5, 2};
  EXPECT_TRUE(ShellKeyDown(prog, ShellKey::NumPlus));
  EXPECT_DOUBLE_EQ(prog.Doc.View.Zoom, 2.2);
  EXPECT_TRUE(ShellKeyDown(prog, ShellKey::NumMinus));
  EXPECT_DOUBLE_EQ(prog.Doc.View.Zoom, 2.2 * 0.9);
  EXPECT_TRUE(ShellKeyDown(prog, ShellKey::Enter));
  EXPECT_EQ(prog.Doc.View.Zoom, 1.0);
  EXPECT_EQ(prog.Doc.View.OrgX, 0);
}

TEST_F(ShellTest, FitUsesTheDrawingAreaOfTheLastRedraw) {
  MenuClick(prog, tag::ZoomFit);
  EXPECT_DOUBLE_EQ(prog.Doc.View.Zoom, 1 / 1.1) << "an empty construction";
  const int circle = prog.AppendObject(11);
  prog.Doc[circle].X1 = 0;
  prog.Doc[circle].Y1 = 0;
  prog.Doc[circle].X2 = 100;
  prog.Doc[circle].Y2 = 0;
  MenuClick(prog, tag::ZoomFit);
  EXPECT_DOUBLE_EQ(prog.Doc.View.Zoom, 150 / (1.1 * 100)) << "a 200-wide circle on a 400 x 300 area";
}

TEST_F(ShellTest, ToolStartsWithTheClickedItemsHintAndEscEndsIt) {
  EXPECT_EQ(MenuClick(prog, 11), MenuResult::Done);
  EXPECT_EQ(prog.InfoText, "  Створення точки: вкажіть положення точки");
  EXPECT_TRUE(prog.AbortEnabled);
  EXPECT_TRUE(desktop.TimerRunning(TimerId::Blic));
  EXPECT_TRUE(ShellKeyDown(prog, ShellKey::Escape));
  EXPECT_EQ(prog.InfoText, "  ");
  EXPECT_FALSE(prog.AbortEnabled);
  EXPECT_FALSE(desktop.TimerRunning(TimerId::Blic));

  // A hint changed at run time (a language file) is the one the prompt starts with.
  MenuClick(prog, 12, "Midpoint");
  EXPECT_EQ(prog.InfoText, "  Midpoint: вкажіть першу точку");
  EXPECT_EQ(MenuClick(prog, tag::Abort), MenuResult::Done);
  EXPECT_EQ(prog.InfoText, "  ");
  EXPECT_FALSE(prog.AbortEnabled);
}

TEST_F(ShellTest, ToolAtTheObjectLimitShowsTheLimitMessage) {
  prog.Doc.ObjCount = MaxObjects;
  desktop.ExpectMessage("Максимальна кількість робочих об'єктів не повинна перевищувати 10000.", mbOK, mbOK);
  MenuClick(prog, 22);
  EXPECT_EQ(prog.InfoText, "  ");
  EXPECT_FALSE(prog.AbortEnabled);
}

TEST_F(ShellTest, ShowAllTogglesItsMark) {
  MenuClick(prog, tag::ShowAll);
  EXPECT_TRUE(prog.ShowHidden);
  MenuClick(prog, tag::ShowAll);
  EXPECT_FALSE(prog.ShowHidden);
}

TEST_F(ShellTest, HelpClipboardAndExit) {
  const std::filesystem::path shipped = std::filesystem::temp_directory_path() / "drex2d_help_shipped";
  std::filesystem::create_directories(shipped);
  std::ofstream(shipped / "drex2ukr.chm") << "help";
  desktop.FoldersAnswer.Shipped = {shipped.string()};
  MenuClick(prog, tag::Help);
  ASSERT_EQ(desktop.OpenedFiles.size(), 1u);
  EXPECT_EQ(desktop.OpenedFiles[0], (shipped / "drex2ukr.chm").string());
  desktop.OpenFileResult = false;
  desktop.ExpectMessage("Виникли проблеми при завантаженні Допомоги.", mbOK, mbOK);
  MenuClick(prog, tag::Help);

  // A help file a language file names is only ever a help file of the shipped folder: a path, a
  // program or a missing file opens nothing.
  desktop.OpenFileResult = true;
  for (const char* name : {"../drex2ukr.chm", "/bin/sh", "sh", "missing.chm", ".hidden.chm"}) {
    prog.HelpFile = name;
    desktop.ExpectMessage("Виникли проблеми при завантаженні Допомоги.", mbOK, mbOK);
    MenuClick(prog, tag::Help);
  }
  EXPECT_EQ(desktop.OpenedFiles.size(), 2u);

  // The HTML help of the same name stands for compiled help, found in the folder "help" too.
  prog.HelpFile = "drex2ukr.chm";
  std::filesystem::create_directories(shipped / "help");
  std::ofstream(shipped / "help" / "drex2ukr.html") << "<p>help</p>";
  MenuClick(prog, tag::Help);
  ASSERT_EQ(desktop.OpenedFiles.size(), 3u);
  EXPECT_EQ(desktop.OpenedFiles[2], (shipped / "help" / "drex2ukr.html").string());
  std::filesystem::remove_all(shipped);

  MenuClick(prog, tag::Clipboard);
  EXPECT_EQ(desktop.Copies.size(), 1u);

  prog.Modified = true;
  EXPECT_EQ(MenuClick(prog, tag::Exit), MenuResult::CloseWindow) << "the close query is the window's";
}

TEST_F(ShellTest, DocumentCommandsGoThroughTheMenu) {
  SetDocName(prog, NoNameDocument);
  const std::string title = prog.Title;
  // Saving the unnamed document asks for a name; cancelling saves nothing and keeps the name.
  desktop.ExpectSaveDialog("");
  EXPECT_EQ(MenuClick(prog, tag::Save), MenuResult::Done);
  ASSERT_EQ(desktop.Dialogs.size(), 1u);
  EXPECT_EQ(desktop.Dialogs[0].FileName, prog.DocFileName);
  EXPECT_EQ(prog.Title, title);

  // New with no objects asks nothing, and the expressions go with the rest.
  prog.Doc.DynExprCount = 3;
  prog.Doc.View.Zoom = 3;
  MenuClick(prog, tag::NewFile);
  EXPECT_EQ(prog.Doc.DynExprCount, 0);
  EXPECT_EQ(prog.Doc.View.Zoom, 1.0);

  // With objects it asks first; No keeps them.
  prog.AppendObject(0);
  prog.History.Reset(prog.Doc);
  desktop.ExpectMessage(prog.Msgs[32], mbYes | mbNo, mbNo);
  MenuClick(prog, tag::NewFile);
  EXPECT_EQ(prog.Doc.ObjCount, 1);

  // A recent item that no longer loads drops out of the list.
  prog.RecentFiles = {"/nonexistent/gone.d2d"};
  desktop.ExpectMessage("Помилка при завантаженні /nonexistent/gone.d2d", mbOK, mbOK);
  MenuClick(prog, FirstRecentTag);
  EXPECT_TRUE(prog.RecentFiles.empty());
}

TEST_F(ShellTest, RecentItemCaptions) {
  prog.RecentFiles = {"/d/a.d2d", "/d/b.d2d"};
  EXPECT_EQ(RecentItemCaption(prog, 1), "&1 /d/a.d2d");
  EXPECT_EQ(RecentItemCaption(prog, 2), "&2 /d/b.d2d");
  EXPECT_EQ(RecentItemCaption(prog, 3), "");
  EXPECT_EQ(RecentItemCaption(prog, 0), "");
  prog.RecentFiles.assign(7, "/d/x.d2d");
  EXPECT_EQ(RecentItemCaption(prog, 5), "&5 /d/x.d2d");
  EXPECT_EQ(RecentItemCaption(prog, 6), "") << "only five items exist";
}

} // namespace
} // namespace drex
