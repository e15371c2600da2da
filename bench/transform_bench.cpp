// Transformations of large constructions: copying a chain of 5000 objects (the copy question
// answered with Yes) and turning a chain that fills the table in place. Each ends with one full
// redraw, painted into an 800 × 600 picture (names left out); the copy should stay under 50 ms.

#include <benchmark/benchmark.h>

#include "quiet_platform.h"

#include "dialogs/transform_model.h"
#include "kernel/construction.h"
#include "shell/program.h"
#include "support/buffer_canvas.h"
#include "support/construction_generator.h"
#include "view/redraw.h"

namespace drex {
namespace {

constexpr int PictureWidth = 800;
constexpr int PictureHeight = 600;

void RunTransform(benchmark::State& state, int objects, bool makeNew) {
  Construction prepared;
  GenerateMidpointChain(prepared, objects);
  QuietPlatform desk;
  desk.Answer = mbYes;
  Program prog{desk};
  prog.UnitLength = 48;
  BufferCanvas canvas(PictureWidth, PictureHeight);
  prog.Surface = &canvas;
  int redraws = 0;
  prog.Drawing.Hooks.RefreshReport = [&redraws] { ++redraws; };
  const int op = makeNew ? TranslateOp : RotateOp;
  int made = 0;
  for (auto _ : state) {
    state.PauseTiming();
    for (int i = 1; i <= prepared.ObjCount; ++i)
      prog.Doc[i] = prepared[i];
    prog.Doc.ObjCount = prepared.ObjCount;
    Redraw(prog, true);
    redraws = 0;
    state.ResumeTiming();
    const TransformResult result = ApplyTransformation(prog, op, objects, 1, makeNew, 0.5, 0.25);
    benchmark::ClobberMemory();
    state.PauseTiming();
    if (result == TransformResult::Refused || redraws != 1) state.SkipWithError("not transformed with one redraw");
    made = prog.Doc.ObjCount - prepared.ObjCount;
    state.ResumeTiming();
  }
  state.counters["copies"] = made;
}

void BM_CopyChain5000(benchmark::State& state) { RunTransform(state, 5000, true); }
void BM_RotateChain10000InPlace(benchmark::State& state) { RunTransform(state, MaxObjects, false); }

BENCHMARK(BM_CopyChain5000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RotateChain10000InPlace)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace drex
