// Recording and applying macro-constructions on large constructions: the dependency search with
// the records, and the creation of the objects of a long macro.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "documents/macro_commands.h"
#include "kernel/recalc.h"
#include "support/construction_builder.h"

namespace drex {
namespace {

/// Three sources and then triangles, each made of the midpoints of the sides of the one before,
/// up to `count` objects; the last point is the result. Every point depends on the three sources
/// along exponentially many paths, so only a search that visits each object once keeps up.
void NestedTriangles(Construction& c, int count, std::vector<uint8_t>& marks) {
  c.ObjCount = 0;
  ConstructionBuilder build(c);
  int t[3] = {build.Point(0, 0), build.Point(1000, 0), build.Point(0, 1000)};
  marks.assign(SlotCount, 0);
  for (int s : t)
    marks[static_cast<std::size_t>(s)] = mmSource;
  while (c.ObjCount + 3 <= count) {
    const int u[3] = {build.Midpoint(t[0], t[1]), build.Midpoint(t[1], t[2]), build.Midpoint(t[2], t[0])};
    std::copy(u, u + 3, t);
  }
  marks[static_cast<std::size_t>(c.ObjCount)] = mmResult;
}

void RecordMacro(benchmark::State& state) {
  Construction c;
  std::vector<uint8_t> marks;
  NestedTriangles(c, static_cast<int>(state.range(0)), marks);
  for (auto _ : state) {
    const MacroSelection found = FindMacroObjects(c, marks);
    Macro m;
    BuildMacroRecords(c, marks, found, m);
    benchmark::DoNotOptimize(m.Records.data());
    if (found.Result != MacroSearchResult::Ok) state.SkipWithError("search failed");
    state.counters["records"] = m.N();
  }
}
BENCHMARK(RecordMacro)->Arg(5000)->Unit(benchmark::kMillisecond);

void ApplyMacro(benchmark::State& state) {
  // The macro: nested triangles of `range` objects.
  Construction source;
  std::vector<uint8_t> marks;
  NestedTriangles(source, static_cast<int>(state.range(0)), marks);
  Macro m;
  BuildMacroRecords(source, marks, FindMacroObjects(source, marks), m);
  // The table it is applied to already holds 5000 named objects.
  Construction c;
  ConstructionBuilder build(c);
  while (c.ObjCount < 5000)
    build.Point(c.ObjCount, 1);
  const int base = c.ObjCount;
  MsgTable msgs;
  KindTexts texts;
  TakeKindTexts(msgs, texts);
  const NamingRules rules{texts, false};
  std::vector<int16_t> map(static_cast<std::size_t>(m.N()) + 1, 0);
  for (int k = 1; k <= 3; ++k)
    map[static_cast<std::size_t>(k)] = static_cast<int16_t>(k);
  for (auto _ : state) {
    c.ObjCount = static_cast<int16_t>(base);
    if (!CreateMacroObjects(c, m, map, rules, 0, 0)) state.SkipWithError("did not fit");
    benchmark::DoNotOptimize(c[c.ObjCount].Refs[1]);
  }
  state.counters["created"] = c.ObjCount - base;
}
BENCHMARK(ApplyMacro)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace drex
