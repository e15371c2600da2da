// Opening the properties dialog on a large construction: the model is built (parent candidates,
// vertex rows), the form fills its controls, shows itself and is closed again at once. It should
// feel instant, well under 100 ms, with 10000 objects.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTimer>

#include <cstdlib>

#include "dialogs/FuncMake.h"
#include "dialogs/properties_model.h"
#include "quiet_platform.h"
#include "shell/program.h"
#include "support/construction_generator.h"

namespace drex {
namespace {

struct DialogBench {
  QuietPlatform desk;
  Program prog{desk};
  TFuncFrm form;

  DialogBench() {
    prog.PropertiesForm = [this](PropertiesModel& model) {
      // The dialog closes as soon as it has been shown, as a cancel would close it.
      QTimer::singleShot(0, &form, &QDialog::reject);
      return form.Run(model);
    };
  }

  void Run(benchmark::State& state, int object) {
    for (auto _ : state)
      benchmark::DoNotOptimize(OpenPropertiesDialog(prog, object));
    state.counters["objects"] = prog.Doc.ObjCount;
  }
};

/// A bisector at the end of 10000 points: three lists of every point.
void BM_OpenBisectorDialog(benchmark::State& state) {
  DialogBench b;
  GenerateMidpointChain(b.prog.Doc, static_cast<int>(state.range(0)) - 1);
  const int n = b.prog.AppendObject(okBisector);
  TGeomObject& o = b.prog.Doc[n];
  o.RefCount = 3;
  for (int k = 1; k <= 3; ++k)
    o.Refs[static_cast<std::size_t>(k)] = static_cast<int16_t>(k);
  b.Run(state, n);
}
BENCHMARK(BM_OpenBisectorDialog)->Arg(10000)->Unit(benchmark::kMillisecond);

/// A polyline of 500 vertices in a construction of 10000 objects: a grid of 500 rows.
void BM_OpenPolylineDialog(benchmark::State& state) {
  DialogBench b;
  GenerateMidpointChain(b.prog.Doc, MaxObjects - 1);
  const int n = b.prog.AppendObject(okPolyline);
  TGeomObject& o = b.prog.Doc[n];
  o.RefCount = static_cast<int16_t>(state.range(0));
  for (int k = 1; k <= o.RefCount; ++k)
    o.Refs[static_cast<std::size_t>(k)] = static_cast<int16_t>(k * 7);
  b.Run(state, n);
}
BENCHMARK(BM_OpenPolylineDialog)->Arg(500)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace drex

int main(int argc, char** argv) {
  // The dialog is a window, shown on a display that is not there.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
