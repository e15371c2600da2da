// The history on the full table of 10000 mixed objects: what recording a step adds to a command
// (a drag, which moves a free point and everything built on it; a deletion of every second
// object; a command that changed nothing), and undo and redo of that deletion, without the redraw
// that follows them. A drag's step should cost under 1 ms, the deletion's under 20 ms each way.

#include <benchmark/benchmark.h>

#include "documents/undo_history.h"
#include "kernel/construction.h"
#include "kernel/deletion.h"
#include "kernel/recalc.h"
#include "support/construction_generator.h"
#include "view/view_transform.h"

namespace drex {
namespace {

void Pass(Construction& c) { RecalcPass(c, MakeViewArea(800, 600, c.View), 48, 0); }

/// The mixed table, recalculated, and a history that starts from it.
struct Fixture {
  Fixture() {
    GenerateMixedConstruction(doc, MaxObjects, 1);
    Pass(doc);
    history.Reset(doc);
  }
  Construction doc;
  UndoHistory history;
};

/// The free point with the most objects built on it, directly or not.
int BusiestFreePoint(const Construction& c) {
  int best = 0;
  std::size_t most = 0;
  std::vector<uint8_t> marks;
  for (int n = 1; n <= c.ObjCount && n <= 400; ++n) {
    if (c[n].Kind != okPoint) continue;
    MarkDependants(c, n, marks);
    std::size_t count = 0;
    for (uint8_t m : marks)
      count += m;
    if (count > most) {
      most = count;
      best = n;
    }
  }
  return best;
}

void BM_RecordDragStep(benchmark::State& state) {
  Fixture f;
  const int p = BusiestFreePoint(f.doc);
  double dx = 3;
  std::size_t held = 0;
  for (auto _ : state) {
    state.PauseTiming();
    f.doc[p].X1 += dx;
    dx = -dx;
    Pass(f.doc);
    state.ResumeTiming();
    benchmark::DoNotOptimize(f.history.Record(f.doc, "drag", StepFields::Geometry));
    held = f.history.HeldBytes() / std::max<std::size_t>(f.history.StepCount(), 1);
  }
  state.counters["bytes_per_step"] = static_cast<double>(held);
}
BENCHMARK(BM_RecordDragStep)->Unit(benchmark::kMicrosecond);

void BM_RecordNothingChanged(benchmark::State& state) {
  Fixture f;
  for (auto _ : state)
    benchmark::DoNotOptimize(f.history.Record(f.doc, "nothing"));
}
BENCHMARK(BM_RecordNothingChanged)->Unit(benchmark::kMicrosecond);

/// Deletes every second object of the table, as the delete command does.
void DeleteEverySecond(Construction& c) {
  for (int n = 1; n <= c.ObjCount; ++n)
    c[n].Selected = n % 2 == 0 ? 1 : 0;
  CloseSelection(c);
  Renumbering moved;
  RemoveSelected(c, moved);
  Pass(c);
}

void BM_RecordDeleteEverySecond(benchmark::State& state) {
  Fixture f;
  Construction prepared;
  GenerateMixedConstruction(prepared, MaxObjects, 1);
  Pass(prepared);
  for (auto _ : state) {
    state.PauseTiming();
    GenerateMixedConstruction(f.doc, MaxObjects, 1);
    Pass(f.doc);
    f.history.Reset(f.doc);
    DeleteEverySecond(f.doc);
    state.ResumeTiming();
    benchmark::DoNotOptimize(f.history.Record(f.doc, "delete"));
  }
  state.counters["held_MB"] = static_cast<double>(f.history.HeldBytes()) / (1 << 20);
}
BENCHMARK(BM_RecordDeleteEverySecond)->Unit(benchmark::kMillisecond);

void RunUndoRedo(benchmark::State& state, bool timeUndo) {
  Fixture f;
  DeleteEverySecond(f.doc);
  f.history.Record(f.doc, "delete");
  for (auto _ : state) {
    if (!timeUndo) state.PauseTiming();
    f.history.Undo(f.doc);
    if (!timeUndo) state.ResumeTiming();
    if (timeUndo) state.PauseTiming();
    f.history.Redo(f.doc);
    if (timeUndo) state.ResumeTiming();
  }
  if (f.doc.ObjCount >= MaxObjects) state.SkipWithError("the deletion was not redone");
}
void BM_UndoDeleteEverySecond(benchmark::State& state) { RunUndoRedo(state, true); }
void BM_RedoDeleteEverySecond(benchmark::State& state) { RunUndoRedo(state, false); }
BENCHMARK(BM_UndoDeleteEverySecond)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedoDeleteEverySecond)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace drex
