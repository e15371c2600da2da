// The object list and the report at 10000 objects: rebuilding the list after a change of the
// table together with the report on its current line, and the whole construction's report as the
// command line writes it.

#include <benchmark/benchmark.h>

#include "quiet_platform.h"

#include "dialogs/object_list.h"
#include "dialogs/report_command.h"
#include "shell/program.h"
#include "support/construction_generator.h"
#include "view/redraw.h"

namespace drex {
namespace {

struct ListBench {
  QuietPlatform desk;
  Program prog{desk};

  ListBench() { prog.UnitLength = 48; }

  /// Computes every object, then makes `line` the current line.
  void Prepare(int line) {
    Redraw(prog, true);
    RefreshObjectList(prog);
    ObjListClick(prog, line);
  }

  void Run(benchmark::State& state) {
    for (auto _ : state) {
      RefreshObjectList(prog);
      ShowReport(prog);
      benchmark::DoNotOptimize(prog.List.Report.data());
    }
    state.counters["report lines"] = static_cast<double>(prog.List.Report.size());
  }
};

/// The first object of `kind`, or the last object when there is none.
int FirstOfKind(const Construction& c, int kind) {
  for (int n = 1; n <= c.ObjCount; ++n)
    if (c[n].Kind == kind) return n;
  return c.ObjCount;
}

void BM_RefreshAndReportMixed10000(benchmark::State& state) {
  ListBench b;
  GenerateMixedConstruction(b.prog.Doc, MaxObjects, 2024);
  b.Prepare(MaxObjects - 1);
  b.Run(state);
}
BENCHMARK(BM_RefreshAndReportMixed10000)->Unit(benchmark::kMicrosecond);

/// The costliest report there is: a polynomial's curve length takes IntegrationSteps chords.
void BM_RefreshAndReportMixed10000Polynomial(benchmark::State& state) {
  ListBench b;
  GenerateMixedConstruction(b.prog.Doc, MaxObjects, 2024);
  b.Prepare(FirstOfKind(b.prog.Doc, okPolynomial) - 1);
  b.Run(state);
}
BENCHMARK(BM_RefreshAndReportMixed10000Polynomial)->Unit(benchmark::kMicrosecond);

/// The end of a chain 10000 deep.
void BM_RefreshAndReportChain10000(benchmark::State& state) {
  ListBench b;
  GenerateMidpointChain(b.prog.Doc, MaxObjects);
  b.Prepare(MaxObjects - 1);
  b.Run(state);
}
BENCHMARK(BM_RefreshAndReportChain10000)->Unit(benchmark::kMicrosecond);

/// The text of "--report" for 10000 objects: every list line and every report.
void BM_ConstructionReportMixed10000(benchmark::State& state) {
  ListBench b;
  GenerateMixedConstruction(b.prog.Doc, MaxObjects, 2024);
  b.Prepare(0);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const std::string text = ConstructionReport(b.prog);
    bytes = text.size();
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ConstructionReportMixed10000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace drex
