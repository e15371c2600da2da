#include "shell/startup.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "documents/document_commands.h"
#include "documents/document_file.h"
#include "shell/commands.h"
#include "shell/program.h"
#include "support/recording_canvas.h"
#include "support/scripted_platform.h"
#include "view/redraw.h"

namespace drex {
namespace {

namespace fs = std::filesystem;

TEST(StartPath, RelativeArgumentsAreTakenAgainstTheStartDirectory) {
  struct Row {
    const char* Argument;
    const char* StartDir;
    const char* Expected;
  };
  const Row rows[] = {
      {"plan.d2d", "/home/u", "/home/u/plan.d2d"},
      {"docs/plan.d2d", "/home/u", "/home/u/docs/plan.d2d"},
      {"../other/plan.d2d", "/home/u/work", "/home/u/other/plan.d2d"},
      {"./plan.d2d", "/home/u/", "/home/u/plan.d2d"},
      {"/abs/plan.d2d", "/home/u", "/abs/plan.d2d"},
      {"", "/home/u", ""},
  };
  for (const Row& r : rows)
    EXPECT_EQ(AbsoluteStartPath(r.Argument, r.StartDir), r.Expected) << r.Argument;
}

// Start-up runs in a folder of its own, which stands for the program's folder.
class StartupTest : public ::testing::Test {
protected:
  StartupTest() {
    dir = fs::temp_directory_path() /
          ("drex2d_startup_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir / "start");
    cwd = fs::current_path();
    prog.Surface = &canvas;
    InstallShellHooks(prog);
  }
  ~StartupTest() override {
    fs::current_path(cwd);
    fs::remove_all(dir);
  }

  // Ticks the start-up timer `count` times; true when the last tick stopped it.
  bool Tick(int count) {
    bool stopped = false;
    for (int k = 0; k < count; ++k)
      stopped = StartupTick(prog);
    return stopped;
  }

  ScriptedPlatform desktop;
  Program prog{desktop};
  RecordingCanvas canvas{400, 300};
  fs::path dir, cwd;
};

TEST_F(StartupTest, ProgramFolderBecomesTheWorkingDirectory) {
  std::string error;
  // Run from where it was built, the program's folder is the user's too.
  desktop.FoldersAnswer.Data = dir.string();
  ASSERT_TRUE(PrepareProgramFolder(prog, dir.string(), error)) << error;
  EXPECT_EQ(fs::current_path(), dir);
  EXPECT_TRUE(fs::is_directory(dir / "Macro"));
  EXPECT_EQ(prog.DocFileName, (dir / "NoName.d2d").string());
  EXPECT_EQ(prog.Title, (dir / "NoName.d2d").string() + " - DREX-2D");
  // A second start finds the folder "Macro" there already.
  ASSERT_TRUE(PrepareProgramFolder(prog, dir.string(), error)) << error;

  EXPECT_FALSE(PrepareProgramFolder(prog, (dir / "missing").string(), error));
  EXPECT_NE(error.find("missing"), std::string::npos);
  EXPECT_EQ(fs::current_path(), dir) << "a failed change leaves the directory alone";
}

TEST_F(StartupTest, AnInstalledProgramWritesOnlyIntoTheUsersFolders) {
  // Installed, the program's folder is only read: macros go to the data folder, and the unnamed
  // document is offered in the user's documents.
  desktop.FoldersAnswer.Data = (dir / "data").string();
  desktop.FoldersAnswer.Documents = (dir / "start").string();
  std::string error;
  ASSERT_TRUE(PrepareProgramFolder(prog, dir.string(), error)) << error;
  EXPECT_FALSE(fs::exists(dir / "Macro"));
  EXPECT_TRUE(fs::is_directory(dir / "data" / "Macro"));
  EXPECT_EQ(prog.DocFileName, (dir / "start" / "NoName.d2d").string());
  desktop.ExpectSaveDialog("");
  MenuClick(prog, tag::Save);
  ASSERT_FALSE(desktop.Dialogs.empty());
  EXPECT_EQ(desktop.Dialogs.back().FileName, (dir / "start" / "NoName.d2d").string());
  MenuClick(prog, tag::NewFile);
  EXPECT_EQ(prog.DocFileName, (dir / "start" / "NoName.d2d").string());
}

TEST_F(StartupTest, LongTitleIsCutAtAHundredCharacters) {
  prog.BaseTitle.clear();
  for (int k = 0; k < 120; ++k)
    prog.BaseTitle += "ї"; // two bytes each
  prog.Config.DrawFName = false;
  std::string error;
  ASSERT_TRUE(PrepareProgramFolder(prog, dir.string(), error));
  EXPECT_EQ(prog.BaseTitle.size(), 200u);
  EXPECT_EQ(prog.Title, prog.BaseTitle);
}

TEST_F(StartupTest, RelativeStartDocumentOpensAfterTheFolderChanged) {
  // The document is saved in the start directory, named relative to it on the command line.
  fs::current_path(dir / "start");
  const int point = prog.AppendObject(0);
  prog.Doc[point].X1 = 30;
  ASSERT_TRUE(SaveDocument(prog, (dir / "start" / "plan.d2d").string()));
  prog.Doc.ObjCount = 0;

  prog.StartDocument = AbsoluteStartPath("plan.d2d", fs::current_path().string());
  std::string error;
  ASSERT_TRUE(PrepareProgramFolder(prog, dir.string(), error));
  desktop.StartTimer(TimerId::Timer1, StartupIntervalMs);

  EXPECT_FALSE(Tick(StartupOpenAfterTicks));
  EXPECT_EQ(prog.Doc.ObjCount, 0) << "nothing is opened before the 41st tick";
  EXPECT_FALSE(Tick(1));
  EXPECT_EQ(prog.Doc.ObjCount, 1);
  EXPECT_EQ(prog.DocFileName, (dir / "start" / "plan.d2d").string());
  EXPECT_FALSE(prog.Modified);
  EXPECT_FALSE(Tick(StartupLastTick - StartupOpenAfterTicks - 2));
  EXPECT_TRUE(desktop.TimerRunning(TimerId::Timer1));
  EXPECT_TRUE(Tick(1));
  EXPECT_FALSE(desktop.TimerRunning(TimerId::Timer1));
  EXPECT_EQ(prog.Doc.ObjCount, 1) << "the document is opened once";
}

TEST_F(StartupTest, MissingStartDocumentLeavesAnEmptyUnnamedOne) {
  std::string error;
  ASSERT_TRUE(PrepareProgramFolder(prog, dir.string(), error));
  prog.StartDocument = (dir / "gone.d2d").string();
  desktop.ExpectMessage("Помилка при завантаженні " + prog.StartDocument, mbOK, mbOK);
  Tick(StartupOpenAfterTicks + 1);
  EXPECT_EQ(prog.DocFileName, (dir / "NoName.d2d").string());
  EXPECT_EQ(prog.Doc.ObjCount, 0);
}

TEST_F(StartupTest, WithoutArgumentTheEmptyDocumentStays) {
  std::string error;
  ASSERT_TRUE(PrepareProgramFolder(prog, dir.string(), error));
  Tick(StartupLastTick);
  EXPECT_TRUE(IsUnnamedDocument(prog));
  EXPECT_TRUE(desktop.Messages.empty());
}

} // namespace
} // namespace drex
