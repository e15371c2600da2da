#include "shell/app_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "documents/document_bytes.h"
#include "documents/document_test_support.h"
#include "support/scripted_platform.h"

namespace drex {
namespace {

namespace fs = std::filesystem;

TEST(AppFolders, UserFolderIsMadeOnFirstUseAndReadFirst) {
  const fs::path root = testdoc::MakeScratchFolder();
  ScriptedPlatform desktop;
  desktop.FoldersAnswer.Data = (root / "user").u8string();
  desktop.FoldersAnswer.Shipped = {(root / "shipped").u8string(), (root / "user").u8string()};
  fs::create_directories(root / "shipped" / "Macro");
  // Before the user's folder exists only the shipped one is read.
  EXPECT_EQ(ReadableFolders(desktop, "Macro"), std::vector<std::string>{(root / "shipped" / "Macro").u8string()});

  const std::string made = UserDataFolder(desktop, "Macro");
  EXPECT_EQ(made, (root / "user" / "Macro").u8string());
  EXPECT_TRUE(fs::is_directory(made));
  // The user's folder is also listed as shipped: it is read once, first.
  EXPECT_EQ(ReadableFolders(desktop, "Macro"),
            (std::vector<std::string>{made, (root / "shipped" / "Macro").u8string()}));
  fs::remove_all(root);
}

TEST(AppFolders, FolderThatCannotBeMadeGivesNothing) {
  const fs::path root = testdoc::MakeScratchFolder();
  testdoc::WriteFile((root / "file").u8string(), {1});
  ScriptedPlatform desktop;
  EXPECT_EQ(UserDataFolder(desktop, "Macro"), "");
  desktop.FoldersAnswer.Data = (root / "file").u8string();
  EXPECT_EQ(UserDataFolder(desktop, "Macro"), "");
  fs::remove_all(root);
}

} // namespace
} // namespace drex
