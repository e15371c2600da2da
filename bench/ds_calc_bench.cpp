// Cost of evaluating a formula at one point: substitution of the variable, then evaluation, as the
// graph sampler and the integrals call them.

#include <string>

#include <benchmark/benchmark.h>

#include "expr/DS_Calc.h"

namespace {

// 200 characters with 26 numbers once x is substituted (the most a text may hold), every level
// of the rewriting in use.
const char* const LongFormula =
    "sqrt(abs(sin(x)*cos(x)))+exp(-sqr(sin(x))/8)*(atg(x)+actg(x))-ln(abs(frac(x))+int(x^2)+1)/lg(10+abs("
    "x))+(sqr(sin(x))+sqr(cos(x)))*tg(x/3)/(1+abs(ctg(x+1)))+abs((2.5-x)^2/(sqrt(sqr(16+x^2))))*exp(-abs(x))";

void EvaluateAtPoints(benchmark::State& state, const char* formula, bool cached) {
  drex::DS_Calc calc;
  const std::string text = formula;
  long double x = 0.1L;
  for (auto _ : state) {
    const std::string substituted = drex::SubstituteVariable(text, 'x', x);
    const long double value = cached ? calc.EvaluateExpression(substituted) : calc.EvaluateByRewriting(substituted);
    if (calc.CalcError != 0) {
      state.SkipWithError("the formula failed to evaluate");
      break;
    }
    benchmark::DoNotOptimize(value);
    x += 0.001L;
    if (x > 3) x = 0.1L;
  }
  state.SetItemsProcessed(state.iterations());
}

void Substitution(benchmark::State& state) {
  const std::string text = "sin(x)*x^2+3";
  long double x = 0.1L;
  for (auto _ : state) {
    benchmark::DoNotOptimize(drex::SubstituteVariable(text, 'x', x));
    x += 0.001L;
  }
  state.SetItemsProcessed(state.iterations());
}

} // namespace

BENCHMARK_CAPTURE(EvaluateAtPoints, SinTimesSquare, "sin(x)*x^2+3", true);
BENCHMARK_CAPTURE(EvaluateAtPoints, SqrtOverSquare, "sqrt(abs(x))/(1+x^2)", true);
BENCHMARK_CAPTURE(EvaluateAtPoints, PowerMinusLog, "2^x-ln(x+5)", true);
BENCHMARK_CAPTURE(EvaluateAtPoints, Long200, LongFormula, true);
BENCHMARK_CAPTURE(EvaluateAtPoints, SinTimesSquareRewriting, "sin(x)*x^2+3", false);
BENCHMARK_CAPTURE(EvaluateAtPoints, Long200Rewriting, LongFormula, false);
BENCHMARK(Substitution);
