#include <benchmark/benchmark.h>

#include "expr/calculus.h"
#include "expr/polynomial.h"

namespace drex {
namespace {

// A desktop that shows nothing and has no events to run.
class QuietPlatform : public Platform {
public:
  MsgButton MessageBox(MsgType, const std::string &, int) override { return mbNone; }
  bool InputBox(const std::string &, const std::string &, std::string &) override { return false; }
  std::string OpenDialog(const FileDialogRequest &) override { return {}; }
  std::string SaveDialog(const FileDialogRequest &) override { return {}; }
  void StartTimer(TimerId, int) override {}
  void StopTimer(TimerId) override {}
  bool TimerRunning(TimerId) const override { return false; }
  void ProcessPendingEvents() override {}
  void ShowProgress(const std::string &, bool) override {}
  void SetProgressRange(int) override {}
  void SetProgressPosition(int) override {}
  void HideProgress() override {}
  bool StopRequested() const override { return false; }
  void SetCursor(int) override {}
  bool OpenWithAssociatedProgram(const std::string &) override { return false; }
  int ScreenPixelsPerInch() const override { return 96; }
};

// The heaviest calculation the settings allow: 1001 samples, each with a derivative.
void BM_SurfaceAboutOxSine1000Steps(benchmark::State &state) {
  DS_Calc calc;
  QuietPlatform ui;
  MsgTable msg;
  CalculusState calcState;
  CalcContext ctx{calc, ui, msg, 1000, calcState};
  for (auto _ : state)
    benchmark::DoNotOptimize(SurfaceAboutOx(ctx, "sin(x)", 0, 3).Value);
}
BENCHMARK(BM_SurfaceAboutOxSine1000Steps)->Unit(benchmark::kMillisecond);

void BM_IntegrateTrapezoidSine1000Steps(benchmark::State &state) {
  DS_Calc calc;
  QuietPlatform ui;
  MsgTable msg;
  CalculusState calcState;
  CalcContext ctx{calc, ui, msg, 1000, calcState};
  for (auto _ : state)
    benchmark::DoNotOptimize(IntegrateTrapezoid(ctx, "sin(x)", 'X', 3, 0).Value);
}
BENCHMARK(BM_IntegrateTrapezoidSine1000Steps)->Unit(benchmark::kMillisecond);

// The solver at its largest size.
void BM_SolvePolynomialCoefficients30Nodes(benchmark::State &state) {
  double xs[MaxSolverNodes], ys[MaxSolverNodes];
  for (int j = 0; j < MaxSolverNodes; ++j) {
    xs[j] = -1 + 2.0 * j / (MaxSolverNodes - 1);
    ys[j] = xs[j] * xs[j];
  }
  for (auto _ : state)
    benchmark::DoNotOptimize(SolvePolynomialCoefficients(xs, ys, MaxSolverNodes));
}
BENCHMARK(BM_SolvePolynomialCoefficients30Nodes);

} // namespace
} // namespace drex
