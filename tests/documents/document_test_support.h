#pragma once
// A program with a scripted desktop, a scratch folder and a construction to compare against.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "documents/document_file.h"
#include "shell/program.h"
#include "support/scripted_platform.h"

namespace drex::testdoc {

inline std::filesystem::path MakeScratchFolder() {
  static int counter = 0;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name =
      "drex2d_doc_" + std::to_string(::getpid()) + "_" + std::to_string(++counter) + "_" + (info ? info->name() : "x");
  for (char& c : name)
    if (c == '/') c = '_';
  const auto dir = std::filesystem::temp_directory_path() / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

inline void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(std::filesystem::u8path(path), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

inline std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(std::filesystem::u8path(path), std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class DocumentTest : public ::testing::Test {
protected:
  DocumentTest() : prog(desk), dir(MakeScratchFolder()) {
    prog.AfterDocumentChange = [this] { ++refreshes; };
    prog.AbortOperationHook = [this] { ++aborts; };
    prog.AfterRecentFilesChange = [this] { ++menuRebuilds; };
  }
  ~DocumentTest() override {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  std::string Path(const std::string& name) const { return (dir / std::filesystem::u8path(name)).u8string(); }

  /// Writes the bytes of `d` as file `name` and returns its path.
  std::string Fixture(const DocSpec& d, const std::string& name = "doc.d2d") {
    const std::string path = Path(name);
    WriteFile(path, DocumentBytes(d));
    return path;
  }

  /// Gives the program a small construction of its own: two points and their midpoint.
  void MakeCurrentConstruction() {
    const int a = prog.AppendObject(okPoint);
    const int b = prog.AppendObject(okPoint);
    prog.Doc[b].X1 = 10;
    const int m = prog.AppendObject(okMidpoint);
    prog.Doc[m].Refs[1] = static_cast<int16_t>(a);
    prog.Doc[m].Refs[2] = static_cast<int16_t>(b);
    prog.Doc.View.Zoom = 2.5;
    prog.Doc.MeasureCount = 1;
    prog.Doc.Measurements[0] = {1, {1, 2, 0}};
  }

  std::vector<uint8_t> CurrentBytes() const {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(SerializeDocument(prog.Doc, bytes));
    return bytes;
  }

  std::string InvalidMessage(const std::string& path) const { return FormatMsg(prog.Msgs[30], {path}); }
  std::string ReadErrorMessage(const std::string& path) const { return prog.Msgs[31] + " " + path; }
  std::string SaveErrorMessage(const std::string& path) const { return prog.Msgs[29] + " " + path; }

  ScriptedPlatform desk;
  Program prog;
  std::filesystem::path dir;
  int refreshes = 0;
  int aborts = 0;
  int menuRebuilds = 0;
};

} // namespace drex::testdoc
