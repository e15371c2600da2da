// The full redraw of a large construction into a 1024 × 768 picture: recalculation and painting of
// every object, as on every mouse move of a drag. The goal is under 16 ms (one frame at 60 Hz).

#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "shell/program.h"
#include "support/construction_generator.h"
#include "view/QtCanvas.h"
#include "view/QtPictureExport.h"
#include "view/picture_export.h"
#include "view/redraw.h"

namespace drex {
namespace {

constexpr int Width = 1024;
constexpr int Height = 768;

struct RedrawBench {
  ConsolePlatform desk{nullptr};
  Program prog{desk};
  QtCanvas canvas{Width, Height};

  RedrawBench() {
    prog.UnitLength = 48;
    prog.Surface = &canvas;
  }

  void Run(benchmark::State& state) {
    // The first picture renders the names' glyphs; the ones measured show the construction again.
    Redraw(prog, true);
    for (auto _ : state) {
      Redraw(prog, true);
      benchmark::DoNotOptimize(canvas.PixelColor(Width / 2, Height / 2));
    }
    state.counters["objects"] = prog.Doc.ObjCount;
  }
};

void BM_RedrawMixed(benchmark::State& state) {
  RedrawBench b;
  GenerateMixedConstruction(b.prog.Doc, static_cast<int>(state.range(0)), 1);
  b.prog.Config.PutObjName = state.range(1) != 0;
  b.Run(state);
}
BENCHMARK(BM_RedrawMixed)->Args({10000, 1})->Args({10000, 0})->Args({1000, 1})->Unit(benchmark::kMillisecond);

/// The full redraw with names painted in one band on the calling thread, as on a single core.
void BM_RedrawMixedOneBand(benchmark::State& state) {
  RedrawBench b;
  b.canvas.SetMaxBands(1);
  GenerateMixedConstruction(b.prog.Doc, static_cast<int>(state.range(0)), 1);
  b.Run(state);
}
BENCHMARK(BM_RedrawMixedOneBand)->Arg(10000)->Unit(benchmark::kMillisecond);

/// The same full redraw with smoothing on.
void BM_RedrawMixedSmooth(benchmark::State& state) {
  RedrawBench b;
  b.canvas.SetSmooth(true);
  GenerateMixedConstruction(b.prog.Doc, static_cast<int>(state.range(0)), 1);
  b.prog.Config.PutObjName = state.range(1) != 0;
  b.Run(state);
}
BENCHMARK(BM_RedrawMixedSmooth)->Args({10000, 1})->Args({10000, 0})->Unit(benchmark::kMillisecond);

void BM_RedrawChain(benchmark::State& state) {
  RedrawBench b;
  GenerateMidpointChain(b.prog.Doc, static_cast<int>(state.range(0)));
  b.Run(state);
}
BENCHMARK(BM_RedrawChain)->Arg(10000)->Unit(benchmark::kMillisecond);

/// The pixel work alone: full-width lines of every style and width 1..3, as the lines of a large
/// construction are, drawn straight into the picture's pixels.
void BM_RasterLines(benchmark::State& state) {
  QtCanvas canvas{Width, Height};
  const int count = static_cast<int>(state.range(0));
  for (auto _ : state) {
    for (int k = 0; k < count; ++k) {
      canvas.SetPen(CanvasPen{k, static_cast<PenStyle>(k % 4), 1 + k % 3, PenMode::Copy});
      canvas.MoveTo(0, (k * 37) % Height);
      canvas.LineTo(Width, (k * 91) % Height);
    }
    benchmark::DoNotOptimize(canvas.PixelColor(1, 1));
  }
}
BENCHMARK(BM_RasterLines)->Arg(3000)->Unit(benchmark::kMillisecond);

/// Circle outlines of radius 50..550 pixels about the middle of the picture.
void BM_RasterCircles(benchmark::State& state) {
  QtCanvas canvas{Width, Height};
  const int count = static_cast<int>(state.range(0));
  canvas.SetBrushStyle(BrushStyle::Clear);
  for (auto _ : state) {
    for (int k = 0; k < count; ++k) {
      const int r = 50 + (k * 53) % 500;
      canvas.SetPen(CanvasPen{k, PenStyle::Solid, 1 + k % 3, PenMode::Copy});
      canvas.Ellipse(Width / 2 - r, Height / 2 - r, Width / 2 + r, Height / 2 + r);
    }
    benchmark::DoNotOptimize(canvas.PixelColor(1, 1));
  }
}
BENCHMARK(BM_RasterCircles)->Arg(1000)->Unit(benchmark::kMillisecond);

/// The same primitives painted aliased (argument 0) and smooth (1), so that the cost of
/// smoothing shows: full-width lines of every style and width 1..3, circle outlines of radius
/// 50..550 about the middle, and the names of points, each a short text of its own (with a white
/// halo when smooth), as a large construction has them.
void PaintLines(QtCanvas& canvas, int count) {
  for (int k = 0; k < count; ++k) {
    canvas.SetPen(CanvasPen{k, static_cast<PenStyle>(k % 4), 1 + k % 3, PenMode::Copy});
    canvas.MoveTo(0, (k * 37) % Height);
    canvas.LineTo(Width, (k * 91) % Height);
  }
}

void PaintCircles(QtCanvas& canvas, int count) {
  canvas.SetBrushStyle(BrushStyle::Clear);
  for (int k = 0; k < count; ++k) {
    const int r = 50 + (k * 53) % 500;
    canvas.SetPen(CanvasPen{k, PenStyle::Solid, 1 + k % 3, PenMode::Copy});
    canvas.Ellipse(Width / 2 - r, Height / 2 - r, Width / 2 + r, Height / 2 + r);
  }
}

void PaintNames(QtCanvas& canvas, const std::vector<std::string>& names) {
  canvas.SetBrushStyle(BrushStyle::Clear);
  canvas.SetFont(CanvasFont{"Courier", ColorRed, 100, canvas.Smooth() ? ColorWhite : -1});
  for (std::size_t k = 0; k < names.size(); ++k) {
    const int x = static_cast<int>((k * 97) % (Width - 40)), y = static_cast<int>((k * 61) % (Height - 20));
    canvas.TextOut(x, y, names[k]);
  }
}

void BM_SmoothingCost(benchmark::State& state) {
  const int kind = static_cast<int>(state.range(0));
  QtCanvas canvas{Width, Height};
  canvas.SetSmooth(state.range(1) != 0);
  std::vector<std::string> names;
  for (int k = 1; k <= 10000; ++k)
    names.push_back("P" + std::to_string(k));
  for (auto _ : state) {
    if (kind == 0) PaintLines(canvas, 3000);
    if (kind == 1) PaintCircles(canvas, 1000);
    if (kind == 2) PaintNames(canvas, names);
    benchmark::DoNotOptimize(canvas.PixelColor(1, 1));
  }
  static const char* const Kinds[] = {"3000 lines", "1000 circles", "10000 names"};
  state.SetLabel(std::string(Kinds[kind]) + (state.range(1) != 0 ? ", smooth" : ", aliased"));
}
BENCHMARK(BM_SmoothingCost)->ArgsProduct({{0, 1, 2}, {0, 1}})->Unit(benchmark::kMillisecond);

/// A picture of the window's construction for the clipboard (0, a bitmap of the window's size), a
/// PNG file at 300 dpi (1), an SVG drawing (2) or a PDF page (3), drawn afresh without the marks of
/// the moment, and the window's picture made again after it.
void BM_PictureExport(benchmark::State& state) {
  RedrawBench b;
  GenerateMixedConstruction(b.prog.Doc, static_cast<int>(state.range(0)), 1);
  Redraw(b.prog, true);
  const int kind = static_cast<int>(state.range(1));
  PictureFrame frame = ScreenFrame(b.prog);
  if (kind == 1) frame = FitFrame(b.prog, Width * 300.0 / ScreenDpi, Height * 300.0 / ScreenDpi);
  const PictureDrawer draw = [&b](Canvas& canvas, const PictureFrame& f) { DrawPicture(b.prog, canvas, f); };
  const std::string path = (std::filesystem::temp_directory_path() / "drex2d_bench_picture.pdf").string();
  for (auto _ : state) {
    std::size_t bytes = 0;
    if (kind <= 1) {
      bytes = static_cast<std::size_t>(PictureImage(frame, draw).sizeInBytes());
    } else if (kind == 2) {
      bytes = static_cast<std::size_t>(PictureSvg(frame, draw, "bench").size());
    } else {
      PictureRequest request;
      request.Format = PictureFormat::Pdf;
      request.Path = path;
      request.Frame = frame;
      request.Draw = draw;
      bytes = WritePictureFile(request) ? 1 : 0;
    }
    benchmark::DoNotOptimize(bytes);
  }
  std::error_code ec;
  std::filesystem::remove(path, ec);
  static const char* const Kinds[] = {"bitmap of the window", "PNG 300 dpi", "SVG", "PDF"};
  state.SetLabel(Kinds[kind]);
}
BENCHMARK(BM_PictureExport)->ArgsProduct({{10000, 1000}, {0, 1, 2, 3}})->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
} // namespace drex

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
