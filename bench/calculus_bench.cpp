#include <benchmark/benchmark.h>

#include "quiet_platform.h"

#include "expr/calculus.h"
#include "expr/polynomial.h"

namespace drex {
namespace {

// The heaviest calculation the settings allow: 1001 samples, each with a derivative.
void BM_SurfaceAboutOxSine1000Steps(benchmark::State& state) {
  DS_Calc calc;
  QuietPlatform ui;
  MsgTable msg;
  CalculusState calcState;
  CalcContext ctx{calc, ui, msg, 1000, calcState};
  for (auto _ : state)
    benchmark::DoNotOptimize(SurfaceAboutOx(ctx, "sin(x)", 0, 3).Value);
}
BENCHMARK(BM_SurfaceAboutOxSine1000Steps)->Unit(benchmark::kMillisecond);

void BM_IntegrateTrapezoidSine1000Steps(benchmark::State& state) {
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
void BM_SolvePolynomialCoefficients30Nodes(benchmark::State& state) {
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
