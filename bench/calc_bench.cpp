// Re-evaluating the dynamic expressions, as every redraw does, on the largest construction.

#include <benchmark/benchmark.h>

#include "calc_support.h"
#include "calc/dyn_expr.h"
#include "view/redraw.h"
#include "quiet_platform.h"
#include "shell/program.h"
#include "support/construction_generator.h"

namespace drex {
namespace {

void BM_RefreshDynExprs100On10000(benchmark::State& state) {
  QuietPlatform desk;
  Program prog(desk);
  GenerateMixedConstruction(prog.Doc, MaxObjects, 2024);
  Redraw(prog, true);
  AddBenchExpressions(prog.Doc, 100);
  RefreshDynExprs(prog);
  int unknown = 0;
  for (const std::string& v : prog.ExprGrid.Values)
    unknown += v == "???";
  for (auto _ : state) {
    RefreshDynExprs(prog);
    benchmark::DoNotOptimize(prog.ExprGrid.Values.data());
  }
  state.counters["unknown"] = unknown;
}
BENCHMARK(BM_RefreshDynExprs100On10000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace drex
