// The recalculation pass alone, over constructions of 1000 and 10000 objects: a mix of every kind,
// a chain in which every object depends on the one before it, and the mix numbered backwards.

#include <benchmark/benchmark.h>

#include "kernel/construction.h"
#include "kernel/recalc.h"
#include "support/construction_generator.h"

namespace drex {
namespace {

constexpr int UnitLength = 48;

void RunPass(benchmark::State& state, Construction& doc) {
  const ViewArea area = MakeViewArea(800, 600, doc.View);
  RecalcPass(doc, area, UnitLength, 0);
  for (auto _ : state) {
    RecalcPass(doc, area, UnitLength, 0);
    benchmark::ClobberMemory();
  }
  state.SetComplexityN(doc.ObjCount);
  state.SetItemsProcessed(state.iterations() * doc.ObjCount);
}

void BM_RecalcMixed(benchmark::State& state) {
  Construction doc;
  GenerateMixedConstruction(doc, static_cast<int>(state.range(0)), 1);
  RunPass(state, doc);
}

void BM_RecalcChain(benchmark::State& state) {
  Construction doc;
  GenerateMidpointChain(doc, static_cast<int>(state.range(0)));
  RunPass(state, doc);
}

// A drag: the free points move before every pass, so every computed value changes.
void BM_RecalcMixedDrag(benchmark::State& state) {
  Construction doc;
  GenerateMixedConstruction(doc, static_cast<int>(state.range(0)), 1);
  const ViewArea area = MakeViewArea(800, 600, doc.View);
  double step = 0.5;
  for (auto _ : state) {
    MoveFreePoints(doc, step, -step);
    step = -step;
    RecalcPass(doc, area, UnitLength, 0);
    benchmark::ClobberMemory();
  }
}

// The mixed construction numbered backwards: nearly every parent comes after its child, so the
// pass computes the whole table a second time, in an order it works out first.
void BM_RecalcBackwards(benchmark::State& state) {
  Construction proper;
  GenerateMixedConstruction(proper, static_cast<int>(state.range(0)), 1);
  Construction doc;
  CopyNumberedBackwards(proper, doc);
  RunPass(state, doc);
}

// For scale: a loop that only reads a few fields of each record in place and writes one.
void BM_TouchFieldsOnly(benchmark::State& state) {
  Construction doc;
  GenerateMixedConstruction(doc, static_cast<int>(state.range(0)), 1);
  for (auto _ : state) {
    for (int i = 1; i <= doc.ObjCount; ++i) {
      TGeomObject& o = doc[i];
      o.ScrX1 = static_cast<int32_t>(o.X1 + o.Y1) + o.Defined + o.Refs[1];
    }
    benchmark::ClobberMemory();
  }
}

BENCHMARK(BM_RecalcMixed)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecalcChain)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecalcMixedDrag)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RecalcBackwards)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TouchFieldsOnly)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace drex
