// The delete command on a full table of 10000 objects, as the user gives it: the operation is
// ended, the selection closed, the question answered with Yes, the table compacted and renumbered,
// the object list rebuilt and the construction recomputed. One early point (with everything built
// on it) and every second object, on a mix of every kind and on a chain in which every object
// depends on the one before it. Each should stay under 5 ms.

#include <benchmark/benchmark.h>

#include "quiet_platform.h"

#include "kernel/construction.h"
#include "shell/delete_command.h"
#include "shell/program.h"
#include "support/construction_generator.h"
#include "view/redraw.h"

namespace drex {
namespace {

/// Puts the objects and measurements of `from` into `to`.
void CopyConstruction(const Construction& from, Construction& to) {
  for (int i = 1; i <= from.ObjCount; ++i)
    to[i] = from[i];
  to.ObjCount = from.ObjCount;
  to.MeasureCount = from.MeasureCount;
  to.Measurements = from.Measurements;
  to.View = from.View;
}

enum class Shape { Mixed, Chain };
enum class Choice { EarlyPoint, EverySecond };

void RunDelete(benchmark::State& state, Shape shape, Choice choice) {
  Construction prepared;
  if (shape == Shape::Mixed)
    GenerateMixedConstruction(prepared, MaxObjects, 1);
  else
    GenerateMidpointChain(prepared, MaxObjects);
  for (int i = 1; i <= prepared.ObjCount; ++i) {
    if (choice == Choice::EverySecond)
      prepared[i].Selected = i % 2 == 0 ? 1 : 0;
    else
      prepared[i].Selected = i == 2 ? 1 : 0; // a free point in both shapes
  }
  QuietPlatform desk;
  desk.Answer = mbYes;
  Program prog{desk};
  prog.UnitLength = 48;
  long removed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    CopyConstruction(prepared, prog.Doc);
    Redraw(prog, true);
    state.ResumeTiming();
    DeleteSelected(prog);
    benchmark::ClobberMemory();
    removed = prepared.ObjCount - prog.Doc.ObjCount;
  }
  if (removed <= 0) state.SkipWithError("nothing was removed");
  state.counters["removed"] = static_cast<double>(removed);
}

void BM_DeleteEarlyPointMixed(benchmark::State& state) { RunDelete(state, Shape::Mixed, Choice::EarlyPoint); }
void BM_DeleteEarlyPointChain(benchmark::State& state) { RunDelete(state, Shape::Chain, Choice::EarlyPoint); }
void BM_DeleteEverySecondMixed(benchmark::State& state) { RunDelete(state, Shape::Mixed, Choice::EverySecond); }
void BM_DeleteEverySecondChain(benchmark::State& state) { RunDelete(state, Shape::Chain, Choice::EverySecond); }

BENCHMARK(BM_DeleteEarlyPointMixed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteEarlyPointChain)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteEverySecondMixed)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteEverySecondChain)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace drex
