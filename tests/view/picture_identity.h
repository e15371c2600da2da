#pragma once
// Two windows that get the same construction and the same mouse: the live one paints in bands and
// over the retained layers of a drag, the reference one paints every drawing in one pass on one
// thread and keeps no layers. Their pictures must be the same pixel for pixel.

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "interaction/place_mouse.h"
#include "shell/program.h"
#include "support/scripted_platform.h"
#include "view/paint_list.h"
#include "view/raster_canvas.h"
#include "view/redraw.h"

namespace drex::test {

/// A canvas that paints as the program did before bands and layers: one pass on one thread.
template <class Surface> class OnePass : public Surface {
public:
  OnePass(int width, int height) : Surface(width, height) { this->SetMaxBands(1); }
  bool CanKeepLayers() const override { return false; }
  /// Painted only once it is recorded, and recorded with nothing left out.
  void BeginPaint(PaintList&) override {}
};

/// A canvas that paints in more bands than this machine may have cores, so that the split is
/// exercised everywhere.
template <class Surface> std::unique_ptr<RasterCanvas> Banded(int width, int height) {
  auto canvas = std::make_unique<Surface>(width, height);
  canvas->SetMaxBands(RasterCanvas::MaxBands);
  return canvas;
}

struct Window {
  ScriptedPlatform desk;
  Program prog{desk};
  std::unique_ptr<RasterCanvas> canvas;

  Window(std::unique_ptr<RasterCanvas> c, const std::function<void(Program&)>& setup) : canvas(std::move(c)) {
    prog.UnitLength = 48;
    prog.Surface = canvas.get();
    setup(prog);
    Redraw(prog, true);
  }
};

/// The pictures are the same pixel for pixel; otherwise where they first differ and how often.
inline ::testing::AssertionResult SamePicture(const RasterCanvas& a, const RasterCanvas& b) {
  int differing = 0, firstX = -1, firstY = -1;
  for (int y = 0; y < a.Height(); ++y) {
    for (int x = 0; x < a.Width(); ++x) {
      if (a.PixelColor(x, y) == b.PixelColor(x, y)) continue;
      if (differing++ == 0) {
        firstX = x;
        firstY = y;
      }
    }
  }
  if (differing == 0) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << differing << " pixels differ, the first at (" << firstX << ", " << firstY
                                       << "): " << a.PixelColor(firstX, firstY) << " against "
                                       << b.PixelColor(firstX, firstY);
}

/// Presses on object `grabbed` in both windows and drags it along `path` (offsets from its
/// pixel), comparing the pictures after every step; returns how many steps the live window
/// painted over its retained layers.
inline int DragAndCompare(Window& live, Window& reference, int grabbed, const std::vector<std::pair<int, int>>& path) {
  const int x = live.prog.Doc[grabbed].ScrX1, y = live.prog.Doc[grabbed].ScrY1;
  for (Window* w : {&live, &reference}) {
    PlaceMouseMove(w->prog, MouseButton::None, false, false, x, y);
    PlaceMouseDown(w->prog, MouseButton::Left, false, false, x, y);
  }
  EXPECT_EQ(live.prog.Op.DragObject, grabbed);
  EXPECT_TRUE(SamePicture(*live.canvas, *reference.canvas)) << "after the press";
  int layered = 0;
  uint32_t stamp = 0;
  for (std::size_t k = 0; k < path.size(); ++k) {
    for (Window* w : {&live, &reference})
      PlaceMouseMove(w->prog, MouseButton::Left, false, false, x + path[k].first, y + path[k].second);
    EXPECT_TRUE(SamePicture(*live.canvas, *reference.canvas)) << "after step " << k + 1;
    const uint32_t now = live.canvas->KeptLayers();
    if (now != 0 && now == stamp) ++layered;
    stamp = now;
  }
  for (Window* w : {&live, &reference})
    PlaceMouseUp(w->prog, MouseButton::Left, false, false, x + path.back().first, y + path.back().second);
  return layered;
}

/// A free point of the construction that a press on its own pixel grabs, moving few objects.
inline int GrabbablePoint(Program& prog) {
  for (int n = 1; n <= prog.Doc.ObjCount; ++n) {
    const TGeomObject& o = prog.Doc[n];
    if (o.Kind != okPoint || !o.Defined || !o.Visible) continue;
    if (o.ScrX1 < 20 || o.ScrX1 >= 1004 || o.ScrY1 < 20 || o.ScrY1 >= 748) continue;
    if (HitTest(prog, o.ScrX1, o.ScrY1) == n) return n;
  }
  return 0;
}

/// A wandering drag: single pixels, a few pixels, a long step and back.
inline const std::vector<std::pair<int, int>> Wander{{1, 0}, {3, 2}, {9, -4}, {20, 15}, {-30, 40}, {-31, 40}, {5, 5}};

} // namespace drex::test
