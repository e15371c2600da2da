// The object list of the window at 10000 objects: the model reset and layout of the list view
// after the core rebuilt the list, and the painting of its visible rows.

#include <benchmark/benchmark.h>

#include "quiet_platform.h"

#include <QApplication>
#include <QPixmap>

#include <cstdlib>

#include "dialogs/QtObjList.h"
#include "dialogs/object_list.h"
#include "shell/program.h"
#include "support/construction_generator.h"
#include "view/redraw.h"

namespace drex {
namespace {

struct ViewBench {
  QuietPlatform desk;
  Program prog{desk};
  ObjListView view{prog};

  ViewBench() {
    prog.UnitLength = 48;
    GenerateMixedConstruction(prog.Doc, MaxObjects, 2024);
    Redraw(prog, true);
    view.resize(180, 400);
    view.show();
    RefreshObjectList(prog);
    view.Sync();
  }
};

void BM_ObjListRebuild10000(benchmark::State& state) {
  ViewBench b;
  for (auto _ : state) {
    RefreshObjectList(b.prog);
    b.view.Sync();
  }
  state.counters["rows"] = b.view.model()->rowCount();
}
BENCHMARK(BM_ObjListRebuild10000)->Unit(benchmark::kMicrosecond);

/// The rebuild and a paint of the rows the view shows.
void BM_ObjListRebuildAndPaint10000(benchmark::State& state) {
  ViewBench b;
  for (auto _ : state) {
    RefreshObjectList(b.prog);
    b.view.Sync();
    benchmark::DoNotOptimize(b.view.grab());
  }
}
BENCHMARK(BM_ObjListRebuildAndPaint10000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace drex

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
