// The raster surface alone paints in bands and over a drag's retained layers the picture one pass
// paints (names aside: this surface has no glyphs).

#include <gtest/gtest.h>

#include "picture_identity.h"
#include "support/buffer_canvas.h"
#include "support/construction_generator.h"

namespace drex::test {
namespace {

TEST(BandedPaint, DragsMatchOnePass) {
  for (int chain : {0, 1}) {
    SCOPED_TRACE(chain ? "the chain" : "the mixed construction");
    const auto setup = [chain](Program& prog) {
      if (chain)
        GenerateMidpointChain(prog.Doc, 1500);
      else
        GenerateMixedConstruction(prog.Doc, 1500, 11);
    };
    Window live(Banded<BufferCanvas>(700, 500), setup),
        reference(std::make_unique<OnePass<BufferCanvas>>(700, 500), setup);
    ASSERT_TRUE(SamePicture(*live.canvas, *reference.canvas));
    int grabbed = chain ? 2 : 0;
    for (int n = live.prog.Doc.ObjCount; n >= 1 && grabbed == 0; --n) {
      const TGeomObject& o = live.prog.Doc[n];
      if (o.Kind == okPoint && o.Defined && o.ScrX1 > 40 && o.ScrX1 < 660 && o.ScrY1 > 40 && o.ScrY1 < 460 &&
          HitTest(live.prog, o.ScrX1, o.ScrY1) == n)
        grabbed = n;
    }
    ASSERT_GT(grabbed, 0);
    EXPECT_GT(DragAndCompare(live, reference, grabbed, Wander), 0);
  }
}

} // namespace
} // namespace drex::test
