// Loading and saving whole documents, checks included, for a mixed construction and for the
// deepest chain of dependencies the table can hold.

#include <benchmark/benchmark.h>

#include "quiet_platform.h"

#include <filesystem>
#include <string>
#include <utility>
#include <unistd.h>

#include "documents/document_file.h"
#include "kernel/recalc.h"
#include "shell/program.h"
#include "support/construction_generator.h"

namespace drex {
namespace {

/// Mixed: every kind. Chain: each point the midpoint of the one before and object 1. Reversed: the
/// same chain numbered backwards, so each object refers to later ones and the cycle check has to
/// follow the whole chain in one walk, 10000 deep.
enum class Shape { Mixed, Chain, Reversed };

void Renumber(Construction& c) {
  const int n = c.ObjCount;
  for (int i = 1; i <= n / 2; ++i)
    std::swap(c[i], c[n + 1 - i]);
  for (int i = 1; i <= n; ++i)
    for (int k = 1; k <= c[i].RefCount; ++k)
      c[i].Refs[static_cast<std::size_t>(k)] = static_cast<int16_t>(n + 1 - c[i].Refs[static_cast<std::size_t>(k)]);
}

std::string BenchPath(Shape shape, int count) {
  return (std::filesystem::temp_directory_path() /
          ("drex2d_bench_" + std::to_string(::getpid()) + "_" + std::to_string(static_cast<int>(shape)) + "_" +
           std::to_string(count) + ".d2d"))
      .u8string();
}

void Fill(Program& prog, Shape shape, int count) {
  if (shape == Shape::Mixed)
    GenerateMixedConstruction(prog.Doc, count, 12345);
  else
    GenerateMidpointChain(prog.Doc, count);
  if (shape == Shape::Reversed) Renumber(prog.Doc);
  // Saved documents carry computed fields; make them realistic.
  RecalcPass(prog.Doc, MakeViewArea(800, 600, prog.Doc.View), 48, 0);
}

void Save(benchmark::State& state, Shape shape) {
  QuietPlatform desk;
  Program prog(desk);
  const int count = static_cast<int>(state.range(0));
  Fill(prog, shape, count);
  const std::string path = BenchPath(shape, count);
  for (auto _ : state) {
    if (!SaveDocument(prog, path)) state.SkipWithError(desk.LastMessage.c_str());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(DocumentLength(prog.Doc)));
  std::filesystem::remove(std::filesystem::u8path(path));
}

void Load(benchmark::State& state, Shape shape) {
  QuietPlatform desk;
  Program prog(desk);
  const int count = static_cast<int>(state.range(0));
  Fill(prog, shape, count);
  const std::string path = BenchPath(shape, count);
  if (!SaveDocument(prog, path)) state.SkipWithError("could not write the document");
  for (auto _ : state) {
    if (LoadDocument(prog, path) != LoadOk) state.SkipWithError(desk.LastMessage.c_str());
    // Keep the recent list from growing into the measurement.
    prog.RecentFiles.clear();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(DocumentLength(prog.Doc)));
  std::filesystem::remove(std::filesystem::u8path(path));
}

/// Parsing and checking alone, from bytes in memory, into a scratch construction made once.
void Parse(benchmark::State& state, Shape shape) {
  QuietPlatform desk;
  Program prog(desk);
  const int count = static_cast<int>(state.range(0));
  Fill(prog, shape, count);
  std::vector<uint8_t> bytes;
  SerializeDocument(prog.Doc, bytes);
  Construction scratch;
  for (auto _ : state) {
    if (ParseDocument(bytes.data(), bytes.size(), scratch) != DocCheck::Ok) state.SkipWithError("refused");
    benchmark::DoNotOptimize(scratch.ObjCount);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

/// Serialisation alone, into a buffer in memory.
void Serialize(benchmark::State& state, Shape shape) {
  QuietPlatform desk;
  Program prog(desk);
  const int count = static_cast<int>(state.range(0));
  Fill(prog, shape, count);
  std::vector<uint8_t> bytes;
  for (auto _ : state) {
    bytes.clear();
    if (!SerializeDocument(prog.Doc, bytes)) state.SkipWithError("not storable");
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}

void BM_SerializeMixed(benchmark::State& state) { Serialize(state, Shape::Mixed); }
void BM_SerializeChain(benchmark::State& state) { Serialize(state, Shape::Chain); }
void BM_SaveMixed(benchmark::State& state) { Save(state, Shape::Mixed); }
void BM_LoadMixed(benchmark::State& state) { Load(state, Shape::Mixed); }
void BM_ParseMixed(benchmark::State& state) { Parse(state, Shape::Mixed); }
void BM_SaveChain(benchmark::State& state) { Save(state, Shape::Chain); }
void BM_LoadChain(benchmark::State& state) { Load(state, Shape::Chain); }
void BM_ParseChain(benchmark::State& state) { Parse(state, Shape::Chain); }
void BM_LoadReversed(benchmark::State& state) { Load(state, Shape::Reversed); }
void BM_ParseReversed(benchmark::State& state) { Parse(state, Shape::Reversed); }

BENCHMARK(BM_SaveMixed)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadMixed)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseMixed)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SerializeMixed)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SerializeChain)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveChain)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadChain)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseChain)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadReversed)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseReversed)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace drex
