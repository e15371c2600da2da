// Opening the properties dialog's model for the last object with parent lists of a large
// construction: every list's candidates (the objects of its kinds that do not depend on the
// edited one) are found when the dialog opens, so this must stay instant at 10000 objects.

#include <benchmark/benchmark.h>

#include "quiet_platform.h"

#include "dialogs/properties_model.h"
#include "shell/program.h"
#include "support/construction_generator.h"

namespace drex {
namespace {

int LastWithParentLists(Program& prog) {
  for (int n = prog.Doc.ObjCount; n >= 1; --n)
    if (!PropertiesModel(prog, n, false).Parents.empty()) return n;
  return 0;
}

void OpenModel(benchmark::State& state, Program& prog) {
  const int n = LastWithParentLists(prog);
  std::size_t candidates = 0;
  for (auto _ : state) {
    PropertiesModel model(prog, n, false);
    candidates = model.Parents.front().Candidates.size();
    benchmark::DoNotOptimize(candidates);
  }
  state.counters["lists"] = static_cast<double>(PropertiesModel(prog, n, false).Parents.size());
  state.counters["candidates"] = static_cast<double>(candidates);
}

void BM_OpenPropertiesMixed10000(benchmark::State& state) {
  QuietPlatform desk;
  Program prog(desk);
  GenerateMixedConstruction(prog.Doc, MaxObjects, 2024);
  OpenModel(state, prog);
}
BENCHMARK(BM_OpenPropertiesMixed10000)->Unit(benchmark::kMillisecond);

void BM_OpenPropertiesChain10000(benchmark::State& state) {
  QuietPlatform desk;
  Program prog(desk);
  GenerateMidpointChain(prog.Doc, MaxObjects);
  OpenModel(state, prog);
}
BENCHMARK(BM_OpenPropertiesChain10000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace drex
