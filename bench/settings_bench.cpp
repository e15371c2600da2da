// Settings and languages on a construction of 10000 objects: applying the English file (which
// rebuilds the object list's kind names), writing the template, and the settings file at exit.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "quiet_platform.h"
#include "shell/commands.h"
#include "shell/ini_file.h"
#include "shell/language.h"
#include "shell/program.h"
#include "shell/setup_model.h"
#include "support/construction_generator.h"

namespace drex {
namespace {

namespace fs = std::filesystem;

struct Fixture {
  QuietPlatform desk;
  Program prog{desk};
  fs::path dir = fs::temp_directory_path() / "drex2d_settings_bench";
  Fixture() {
    fs::create_directories(dir);
    desk.FoldersAnswer.Config = desk.FoldersAnswer.Data = dir.string();
    InstallShellHooks(prog);
    GenerateMixedConstruction(prog.Doc, 10000, 7);
    for (int k = 0; k < 5; ++k)
      prog.RecentFiles.push_back((dir / ("recent" + std::to_string(k) + ".d2d")).string());
  }
  ~Fixture() { fs::remove_all(dir); }
};

void ApplyEnglishOver10000(benchmark::State& state) {
  Fixture f;
  const std::string english = DREX2D_DATA_DIR "/drex2eng.lng";
  const std::string ukrainian = (f.dir / TemplateLanguageFile).string();
  WriteLanguageTemplate(f.prog, ukrainian);
  bool toEnglish = true;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ApplyLanguage(f.prog, toEnglish ? english : ukrainian));
    toEnglish = !toEnglish;
  }
}
BENCHMARK(ApplyEnglishOver10000)->Unit(benchmark::kMillisecond);

void WriteTemplate(benchmark::State& state) {
  Fixture f;
  const std::string path = (f.dir / TemplateLanguageFile).string();
  for (auto _ : state)
    benchmark::DoNotOptimize(WriteLanguageTemplate(f.prog, path));
}
BENCHMARK(WriteTemplate)->Unit(benchmark::kMillisecond);

void WriteAndReadSettings(benchmark::State& state) {
  Fixture f;
  for (auto _ : state) {
    WriteSettings(f.prog);
    IniFile file;
    std::string last;
    file.Load(SettingsPath(f.prog));
    ReadSettingsFrom(f.prog, file, last);
    benchmark::DoNotOptimize(last);
  }
}
BENCHMARK(WriteAndReadSettings)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace drex
