// One step of dragging with the mouse, as the user feels it: the move event, the hit test, the
// shift of the dragged point, the recalculation of the whole construction and its full redraw
// into a 1024 × 768 picture. A step should stay under 16 ms (one frame at 60 Hz). The variants
// "WithReport" have the object list and its report installed as the window installs them, with
// the dragged point on the current line, so that its report is rebuilt on every step. The variants
// "Smooth200" draw with smoothing on at a display scale of 200 %, as on a classroom projector; the
// others draw the aliased picture at 100 %.

#include <benchmark/benchmark.h>

#include "calc_support.h"
#include "quiet_platform.h"

#include <QGuiApplication>

#include <cstdlib>
#include <memory>

#include "dialogs/object_list.h"
#include "interaction/place_mouse.h"
#include "kernel/recalc.h"
#include "shell/commands.h"
#include "shell/program.h"
#include "support/construction_generator.h"
#include "view/QtCanvas.h"
#include "view/redraw.h"

namespace drex {
namespace {

constexpr int Width = 1024;
constexpr int Height = 768;

struct DragBench {
  QuietPlatform desk;
  Program prog{desk};
  QtCanvas canvas{Width, Height};

  explicit DragBench(bool smooth = false, int scale = 100) {
    prog.UnitLength = 48;
    prog.Surface = &canvas;
    prog.Config.SmoothDrawing = smooth;
    prog.Config.DisplayScale = scale;
  }

  /// Presses the left button on free point `n` and returns its pixel.
  std::pair<int, int> Grab(int n) {
    Redraw(prog, true);
    const int x = prog.Doc[n].ScrX1, y = prog.Doc[n].ScrY1;
    PlaceMouseMove(prog, MouseButton::None, false, false, x, y);
    PlaceMouseDown(prog, MouseButton::Left, false, false, x, y);
    return {x, y};
  }

  /// Installs the report hook as the window does and makes object `n` the current line.
  void ShowList(int n) {
    InstallShellHooks(prog);
    RefreshObjectList(prog);
    ObjListClick(prog, n - 1);
  }

  /// Moves the held mouse one pixel to the right and back, one step per iteration.
  void Run(benchmark::State& state, int grabbed) {
    if (prog.Op.HotObject != grabbed || prog.Op.DragObject != grabbed) {
      state.SkipWithError("the point to drag is not under the cursor");
      return;
    }
    const auto [x, y] = std::make_pair(prog.Doc[grabbed].ScrX1, prog.Doc[grabbed].ScrY1);
    int step = 0;
    for (auto _ : state) {
      PlaceMouseMove(prog, MouseButton::Left, false, false, x + (step++ & 1), y);
      benchmark::DoNotOptimize(prog.Doc[grabbed].X1);
    }
  }
};

/// The first free point of the construction that a hit test at its own pixel finds.
int GrabbableFreePoint(Program& prog) {
  for (int n = 1; n <= prog.Doc.ObjCount; ++n) {
    const TGeomObject& o = prog.Doc[n];
    if (o.Kind != okPoint || !o.Defined || !o.Visible) continue;
    if (o.ScrX1 < 0 || o.ScrX1 >= Width || o.ScrY1 < 0 || o.ScrY1 >= Height) continue;
    if (HitTest(prog, o.ScrX1, o.ScrY1) == n) return n;
  }
  return 0;
}

void BM_DragStepMixed10000(benchmark::State& state) {
  DragBench b;
  GenerateMixedConstruction(b.prog.Doc, MaxObjects, 2024);
  Redraw(b.prog, true);
  const int n = GrabbableFreePoint(b.prog);
  b.Grab(n);
  b.Run(state, n);
}
BENCHMARK(BM_DragStepMixed10000)->Unit(benchmark::kMillisecond);

/// The same step with no picture to paint: the hit test, the shift and the recalculation alone,
/// which shows how much of the step the painting takes.
void BM_DragStepMixed10000NoPainting(benchmark::State& state) {
  DragBench b;
  GenerateMixedConstruction(b.prog.Doc, MaxObjects, 2024);
  Redraw(b.prog, true);
  const int n = GrabbableFreePoint(b.prog);
  b.Grab(n);
  b.prog.Surface = nullptr;
  b.Run(state, n);
}
BENCHMARK(BM_DragStepMixed10000NoPainting)->Unit(benchmark::kMillisecond);

void BM_DragStepChain10000(benchmark::State& state) {
  DragBench b;
  GenerateMidpointChain(b.prog.Doc, MaxObjects);
  b.Grab(1);
  b.Run(state, 1);
}
BENCHMARK(BM_DragStepChain10000)->Unit(benchmark::kMillisecond);

void BM_DragStepMixed10000WithReport(benchmark::State& state) {
  DragBench b;
  GenerateMixedConstruction(b.prog.Doc, MaxObjects, 2024);
  Redraw(b.prog, true);
  const int n = GrabbableFreePoint(b.prog);
  b.ShowList(n);
  b.Grab(n);
  const unsigned before = b.prog.List.ReportRevision;
  b.Run(state, n);
  state.counters["reports"] = static_cast<double>(b.prog.List.ReportRevision - before);
}
BENCHMARK(BM_DragStepMixed10000WithReport)->Unit(benchmark::kMillisecond);

void BM_DragStepChain10000WithReport(benchmark::State& state) {
  DragBench b;
  GenerateMidpointChain(b.prog.Doc, MaxObjects);
  b.ShowList(1);
  b.Grab(1);
  b.Run(state, 1);
}
BENCHMARK(BM_DragStepChain10000WithReport)->Unit(benchmark::kMillisecond);

/// The step with 100 dynamic expressions of three measurement calls each and 100 measurements
/// shown, the expressions re-evaluated by every redraw as in the window.
void BM_DragStepMixed10000WithExpressions(benchmark::State& state) {
  DragBench b;
  GenerateMixedConstruction(b.prog.Doc, MaxObjects, 2024);
  Redraw(b.prog, true);
  AddBenchExpressions(b.prog.Doc, 100);
  AddBenchMeasurements(b.prog.Doc, 100);
  InstallShellHooks(b.prog);
  const int n = GrabbableFreePoint(b.prog);
  b.Grab(n);
  b.Run(state, n);
}
BENCHMARK(BM_DragStepMixed10000WithExpressions)->Unit(benchmark::kMillisecond);

/// The drag step on a mixed construction of state.range(0) objects. The variants "Smooth200" draw
/// with smoothing on at 200 %: constructions beyond SmoothWhileMovingLimit objects move aliased and
/// are drawn smooth once the mouse rests, those beyond SmoothDrawingLimit always aliased.
void DragMixed(benchmark::State& state, bool smooth, int scale) {
  DragBench b(smooth, scale);
  GenerateMixedConstruction(b.prog.Doc, static_cast<int>(state.range(0)), 2024);
  Redraw(b.prog, true);
  const int n = GrabbableFreePoint(b.prog);
  b.Grab(n);
  b.Run(state, n);
}
void BM_DragStepMixedSmooth200(benchmark::State& state) { DragMixed(state, true, 200); }
BENCHMARK(BM_DragStepMixedSmooth200)
    ->Arg(MaxObjects)
    ->Arg(SmoothDrawingLimit)
    ->Arg(200)
    ->Arg(SmoothWhileMovingLimit)
    ->Unit(benchmark::kMillisecond);
void BM_DragStepMixed(benchmark::State& state) { DragMixed(state, false, 100); }
BENCHMARK(BM_DragStepMixed)->Arg(200)->Unit(benchmark::kMillisecond);

/// The smooth full redraw at 200 % that follows when the mouse rests.
void BM_SettleRedrawMixedSmooth200(benchmark::State& state) {
  DragBench b(true, 200);
  GenerateMixedConstruction(b.prog.Doc, static_cast<int>(state.range(0)), 2024);
  for (auto _ : state)
    SettleTick(b.prog);
}
BENCHMARK(BM_SettleRedrawMixedSmooth200)->Arg(SmoothDrawingLimit)->Arg(200)->Unit(benchmark::kMillisecond);

void BM_HitTest10000(benchmark::State& state) {
  DragBench b;
  GenerateMixedConstruction(b.prog.Doc, MaxObjects, 2024);
  Redraw(b.prog, true);
  // A corner pixel far from every object: the scan runs over the whole table.
  int hot = 0;
  for (auto _ : state) {
    hot = HitTest(b.prog, 1, 1);
    benchmark::DoNotOptimize(hot);
  }
  state.counters["hit"] = hot;
}
BENCHMARK(BM_HitTest10000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace drex

int main(int argc, char** argv) {
  // Text needs a GUI application; no window is shown.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
