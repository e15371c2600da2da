// The picture of the drawing area with its names, painted in bands on several threads and, while a
// point is dragged, over the retained layers of what stays, is the picture one pass over the whole
// drawing on one thread paints.

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "picture_identity.h"
#include "support/construction_builder.h"
#include "support/construction_generator.h"
#include "view/QtCanvas.h"

namespace drex::test {
namespace {

using OnePassCanvas = OnePass<QtCanvas>;
constexpr auto BandedCanvas = Banded<QtCanvas>;

TEST(PictureIdentity, DragOfTheMixedConstructionMatchesOnePass) {
  const auto setup = [](Program& prog) {
    GenerateMixedConstruction(prog.Doc, 3000, 7);
    prog.Config.SmoothDrawing = false;
    for (int i = 0; i < 40; ++i) {
      prog.Doc.Measurements[static_cast<std::size_t>(i)] =
          i % 2 == 0 ? Measurement{0,
                                   {static_cast<int16_t>(3 * i + 1), static_cast<int16_t>(3 * i + 2),
                                    static_cast<int16_t>(3 * i + 3)}}
                     : Measurement{1, {static_cast<int16_t>(i + 1), static_cast<int16_t>(2 * i + 5), 0}};
    }
    prog.Doc.MeasureCount = 40;
  };
  Window live(BandedCanvas(1024, 768), setup), reference(std::make_unique<OnePassCanvas>(1024, 768), setup);
  ASSERT_TRUE(SamePicture(*live.canvas, *reference.canvas));
  const int grabbed = GrabbablePoint(live.prog);
  ASSERT_GT(grabbed, 0);
  EXPECT_GT(DragAndCompare(live, reference, grabbed, Wander), 0) << "the drag never painted over its layers";
}

TEST(PictureIdentity, HardRasterCasesMatchOnePass) {
  // Wide dashed strokes at three times the size, filled polygons crossing the band edges, circles
  // larger than the picture, XOR handles of selected objects, names cut by the picture's edges,
  // measurement labels, and a selected function graph, whose handles make the drag draw all.
  for (bool graphSelected : {false, true}) {
    SCOPED_TRACE(graphSelected ? "with a selected graph" : "without");
    const auto setup = [graphSelected](Program& prog) {
      prog.Config.SmoothDrawing = false;
      prog.Config.DisplayScale = 300;
      ConstructionBuilder b(prog.Doc);
      const int a = b.Point(-200, 120), c = b.Point(180, -150), d = b.Point(60, 140);
      const int edge = b.Point(-10.6, 7.95), corner = b.Point(10.6, -7.95);
      for (int p : {a, c, d, edge, corner}) {
        b[p].PenWidth = 5;
        b[p].Name.Assign(std::string("Edge") + std::to_string(p));
      }
      int k = 0;
      for (int line : {b.Line(a, c), b.Line(c, d), b.Perpendicular(d, b.Line(a, d))}) {
        b[line].PenWidth = 5;
        b[line].PenStyle = k++ % 4;
        b[line].Color = 0x0080FF + k * 0x203040;
      }
      const int poly = b.Polyline({a, c, d, edge}, true, 0x40C040);
      b[poly].PenWidth = 4;
      b[poly].PenStyle = 3;
      const int big = b.Circle(edge, a);
      b[big].PenWidth = 3;
      b[big].PenStyle = 1;
      b.Circle(corner, c);
      const int graph = b.Graph("SIN(X)*3");
      b[graph].Selected = graphSelected ? 1 : 0;
      b[b.Line(edge, corner)].Selected = 1;
      b[c].Selected = 1;
      prog.Doc.Measurements[0] =
          Measurement{0, {static_cast<int16_t>(a), static_cast<int16_t>(d), static_cast<int16_t>(c)}};
      prog.Doc.Measurements[1] = Measurement{1, {static_cast<int16_t>(edge), static_cast<int16_t>(corner), 0}};
      prog.Doc.MeasureCount = 2;
      prog.UnitLength = 48;
      prog.Doc.View.Zoom = 1;
    };
    Window live(BandedCanvas(640, 480), setup), reference(std::make_unique<OnePassCanvas>(640, 480), setup);
    ASSERT_TRUE(SamePicture(*live.canvas, *reference.canvas));
    // The selected point c, with the selected line and its points: lines, the polygon, a circle
    // and both measurements move; the rest stays.
    const int layered = DragAndCompare(live, reference, 2, Wander);
    if (graphSelected)
      EXPECT_EQ(layered, 0);
    else
      EXPECT_GT(layered, 0);
  }
}

TEST(PictureIdentity, ChainDraggedByItsFirstPointMatchesOnePass) {
  // Everything is built on the dragged point, but the far end of the chain keeps its pixels and
  // goes into the layers after a few steps; the long step of the path moves some of it again.
  const auto setup = [](Program& prog) {
    GenerateMidpointChain(prog.Doc, 2000);
    prog.Config.SmoothDrawing = false;
  };
  Window live(BandedCanvas(800, 600), setup), reference(std::make_unique<OnePassCanvas>(800, 600), setup);
  ASSERT_TRUE(SamePicture(*live.canvas, *reference.canvas));
  EXPECT_GT(DragAndCompare(live, reference, 2, Wander), 0);
}

} // namespace
} // namespace drex::test

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
