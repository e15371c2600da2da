#include <benchmark/benchmark.h>

#include "quiet_platform.h"

#include "expr/calculus.h"
#include "expr/polynomial.h"
#include "expr/revolution.h"
#include "kernel/construction.h"

namespace drex {
namespace {

/// Everything a calculation works with, quiet, at the largest step count.
struct CalcBench {
  DS_Calc calc;
  QuietPlatform ui;
  MsgTable msg;
  CalculusState calcState;
  CalcContext ctx{calc, ui, msg, MaxIntegrationSteps, calcState};
};

// The heaviest calculation the settings allow: 1001 samples, each with a derivative.
void BM_SurfaceAboutOxSine1000Steps(benchmark::State& state) {
  CalcBench b;
  CalcContext& ctx = b.ctx;
  for (auto _ : state)
    benchmark::DoNotOptimize(SurfaceAboutOx(ctx, "sin(x)", 0, 3).Value);
}
BENCHMARK(BM_SurfaceAboutOxSine1000Steps)->Unit(benchmark::kMillisecond);

void BM_IntegrateTrapezoidSine1000Steps(benchmark::State& state) {
  CalcBench b;
  CalcContext& ctx = b.ctx;
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

// The solid-of-revolution dialog's calculation for a graph: all four measures and the preview
// curve at the largest step count.
void BM_RevolutionSolidsGraph1000Steps(benchmark::State& state) {
  CalcBench b;
  CalcContext& ctx = b.ctx;
  Construction doc;
  doc.ObjCount = 1;
  doc[1].Kind = okFunction;
  doc[1].FuncType = 1;
  doc[1].Defined = 1;
  doc[1].Expr1.Assign("x^2/4+sin(x)");
  doc[1].X1 = -1;
  doc[1].Y1 = 3;
  for (auto _ : state)
    benchmark::DoNotOptimize(RevolutionSolids(ctx, doc, 1, 48).Values.VolumeOy);
}
BENCHMARK(BM_RevolutionSolidsGraph1000Steps)->Unit(benchmark::kMillisecond);

// The same for an interpolation polynomial of the most nodes an object holds.
void BM_RevolutionSolidsPolynomial10Nodes1000Steps(benchmark::State& state) {
  CalcBench b;
  CalcContext& ctx = b.ctx;
  Construction doc;
  doc.ObjCount = 1;
  doc[1].Kind = okPolynomial;
  doc[1].Defined = 1;
  doc[1].RefCount = MaxPolynomialNodes;
  double xs[MaxPolynomialNodes], ys[MaxPolynomialNodes];
  for (int j = 0; j < MaxPolynomialNodes; ++j) {
    xs[j] = j * 0.5;
    ys[j] = 1 + 0.3 * j - 0.02 * j * j;
  }
  const PolynomialFit fit = SolvePolynomialCoefficients(xs, ys, MaxPolynomialNodes);
  for (int k = 1; k <= MaxPolynomialNodes; ++k)
    doc[1].Coef(k) = fit.Coef[static_cast<std::size_t>(k - 1)];
  doc[1].ExtA() = xs[0];
  doc[1].ExtB() = xs[MaxPolynomialNodes - 1];
  for (auto _ : state)
    benchmark::DoNotOptimize(RevolutionSolids(ctx, doc, 1, 48).Values.VolumeOy);
}
BENCHMARK(BM_RevolutionSolidsPolynomial10Nodes1000Steps)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace drex
