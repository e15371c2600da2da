#include "view/view_transform.h"

#include <climits>
#include <cmath>

#include <gtest/gtest.h>

#include "kernel/construction.h"
#include "support/geometry_matchers.h"

namespace drex {
namespace {

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
  struct Case {
    double value;
    int expected;
  } cases[] = {
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {3.5, 4},
      {-0.5, 0},
      {-1.5, -2},
      {-2.5, -2},
      {2.4999999, 2},
      {2.5000001, 3},
      {-2.5000001, -3},
      {0, 0},
      {-7, -7},
      {1e300, INT_MAX},
      {-1e300, INT_MIN},
      {HUGE_VAL, INT_MAX},
      {-HUGE_VAL, INT_MIN},
      {std::nan(""), 0},
      {2147483646.5, 2147483646},
      {-2147483648.4, INT_MIN},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RoundHalfEven(c.value), c.expected) << c.value;
}

TEST(ViewArea, CentreCornersAndConversions) {
  const TViewState view; // Zoom 1, offsets 0
  const ViewArea area = MakeViewArea(401, 301, view);
  EXPECT_EQ(area.CentreX, 200);
  EXPECT_EQ(area.CentreY, 150);
  EXPECT_POINT_NEAR(WorldToScreen(view, area, {0, 0}), (Point2{200, 150}), 0);
  EXPECT_POINT_NEAR(WorldToScreen(view, area, {10, 10}), (Point2{210, 140}), 0);

  // Top, right, bottom and left edges as consecutive pairs, the first corner repeated.
  EXPECT_POINT_NEAR(area.VisibleCorners[0], (Point2{-200, 150}), 0);
  EXPECT_POINT_NEAR(area.VisibleCorners[1], (Point2{201, 150}), 0);
  EXPECT_POINT_NEAR(area.VisibleCorners[2], (Point2{201, -151}), 0);
  EXPECT_POINT_NEAR(area.VisibleCorners[3], (Point2{-200, -151}), 0);
  EXPECT_POINT_NEAR(area.VisibleCorners[4], area.VisibleCorners[0], 0);

  // Offsets and zoom: the origin sits OrgX right of and OrgY above the centre.
  const TViewState shifted{30, -20, 2.0};
  const ViewArea a2 = MakeViewArea(400, 300, shifted);
  EXPECT_POINT_NEAR(WorldToScreen(shifted, a2, {0, 0}), (Point2{230, 170}), 0);
  EXPECT_POINT_NEAR(WorldToScreen(shifted, a2, {5, 5}), (Point2{240, 160}), 0);
  EXPECT_POINT_NEAR(a2.VisibleCorners[0], (Point2{-115, 85}), 0);

  // A negative size counts as an empty area.
  const ViewArea empty = MakeViewArea(-5, -1, view);
  EXPECT_EQ(empty.Width, 0);
  EXPECT_EQ(empty.CentreY, 0);
}

TEST(ViewArea, ScreenToWorldThenBackGivesThePixel) {
  const TViewState views[] = {{0, 0, 1.0}, {-9999, 9999, 0.0009}, {123, -45, 48.4}, {7, 7, 1.0 / 1.1}};
  for (const TViewState& view : views) {
    const ViewArea area = MakeViewArea(799, 600, view);
    for (int px = -50; px <= 850; px += 45) {
      for (int py = -30; py <= 630; py += 33) {
        const Point2 back = WorldToScreen(view, area, ScreenToWorld(view, area, px, py));
        EXPECT_POINT_NEAR(back, (Point2{double(px), double(py)}), 1e-9) << view.Zoom;
        EXPECT_EQ(RoundHalfEven(back.x), px);
        EXPECT_EQ(RoundHalfEven(back.y), py);
      }
    }
  }
}

TEST(ViewArea, ResizeKeepsTheCentreWorldPoint) {
  const TViewState view{15, 25, 3.0};
  const ViewArea narrow = MakeViewArea(400, 300, view);
  const ViewArea wide = MakeViewArea(600, 300, view);
  const Point2 o1 = WorldToScreen(view, narrow, {0, 0});
  const Point2 o2 = WorldToScreen(view, wide, {0, 0});
  EXPECT_DOUBLE_EQ(o2.x - o1.x, 100);
  EXPECT_DOUBLE_EQ(o2.y, o1.y);
  EXPECT_POINT_NEAR(ScreenToWorld(view, narrow, 200, 150), ScreenToWorld(view, wide, 300, 150), 0);
}

TEST(ViewZoom, LimitsAndFactors) {
  TViewState v{12, -34, 45.0};
  EXPECT_FALSE(ZoomIn(v));
  EXPECT_EQ(v.Zoom, 45.0);
  v.Zoom = 44;
  EXPECT_TRUE(ZoomIn(v));
  EXPECT_DOUBLE_EQ(v.Zoom, 48.4);
  EXPECT_FALSE(ZoomIn(v));
  EXPECT_DOUBLE_EQ(v.Zoom, 48.4);

  v.Zoom = 0.001;
  EXPECT_FALSE(ZoomOut(v));
  EXPECT_EQ(v.Zoom, 0.001);
  v.Zoom = 1;
  EXPECT_TRUE(ZoomOut(v));
  EXPECT_DOUBLE_EQ(v.Zoom, 0.9); // 0.9, not 1/1.1
  // Zooming keeps the offsets: the picture grows about the origin's screen position.
  EXPECT_EQ(v.OrgX, 12);
  EXPECT_EQ(v.OrgY, -34);

  ZoomEqual(v);
  EXPECT_EQ(v.Zoom, 1.0);
  EXPECT_EQ(v.OrgX, 0);
  EXPECT_EQ(v.OrgY, 0);
}

TEST(ViewPan, MovesAndClampsWithoutOverflow) {
  TViewState v;
  PanView(v, 10, 4);
  EXPECT_EQ(v.OrgX, 10);
  EXPECT_EQ(v.OrgY, -4); // dY is downwards on the screen, OrgY upwards
  PanView(v, -25, -30);
  EXPECT_EQ(v.OrgX, -15);
  EXPECT_EQ(v.OrgY, 26);

  struct Case {
    int16_t org;
    int d;
    int16_t expected;
  } cases[] = {
      {9990, 20, 9999}, {-9990, -20, -9999}, {0, INT_MAX, 9999},     {0, INT_MIN, -9999},
      {32767, 0, 9999}, {-32768, 1, -9999},  {-9999, INT_MAX, 9999},
  };
  for (const Case& c : cases) {
    TViewState w{c.org, 0, 1.0};
    PanView(w, c.d, 0);
    EXPECT_EQ(w.OrgX, c.expected) << c.org << " " << c.d;
    EXPECT_EQ(w.OrgY, 0);
  }
  TViewState w{0, 9995, 1.0};
  PanView(w, 0, -100);
  EXPECT_EQ(w.OrgY, 9999);
  PanView(w, 0, INT_MIN);
  EXPECT_EQ(w.OrgY, 9999);
  PanView(w, 0, INT_MAX);
  EXPECT_EQ(w.OrgY, -9999);
}

class FitViewTest : public ::testing::Test {
protected:
  void Add(int kind, double x1, double y1, double x2 = 0, double y2 = 0) {
    TGeomObject& o = doc[++doc.ObjCount];
    o.Kind = static_cast<uint8_t>(kind);
    o.X1 = x1;
    o.Y1 = y1;
    o.X2 = x2;
    o.Y2 = y2;
  }
  Construction doc;
  TViewState view{55, -66, 3.0};
};

TEST_F(FitViewTest, EmptyConstruction) {
  FitView(view, doc, 400, 300, 100);
  EXPECT_DOUBLE_EQ(view.Zoom, 1 / 1.1);
  EXPECT_EQ(view.OrgX, 0);
  EXPECT_EQ(view.OrgY, 0);
}

TEST_F(FitViewTest, AllObjectsInOneSpotLandOnTheCentre) {
  Add(okPoint, 100, -50);
  Add(okLine, 100, -50, 900, 900); // a line counts by its first point only
  Add(okPoint, 100, -50);
  FitView(view, doc, 400, 300, 100);
  EXPECT_DOUBLE_EQ(view.Zoom, 1 / 1.1);
  EXPECT_EQ(view.OrgX, -91); // −N(90.9)
  EXPECT_EQ(view.OrgY, 45);  // −N(−45.45)
}

TEST_F(FitViewTest, SingleCircleFillsTheTighterDirection) {
  Add(okCircle, 0, 0, 60, 80); // radius 100
  FitView(view, doc, 400, 300, 100);
  EXPECT_DOUBLE_EQ(view.Zoom, 150 / (1.1 * 100));
  EXPECT_EQ(view.OrgX, 0);
  EXPECT_EQ(view.OrgY, 0);
}

TEST_F(FitViewTest, BoxCentreGoesToTheAreaCentre) {
  Add(okPoint, -300, 40);
  Add(okCircle, 500, 100, 500, 150); // x 450..550, y 50..150
  Add(okPoint, 0, -200);
  FitView(view, doc, 640, 480, 100);
  // Box x −300..550 (850 wide), y −200..150 (350 high): width is tighter.
  EXPECT_DOUBLE_EQ(view.Zoom, 1 / (1.1 * 850.0 / 640));
  const ViewArea area = MakeViewArea(640, 480, view);
  const Point2 centre = WorldToScreen(view, area, {125, -25});
  EXPECT_NEAR(centre.x, area.CentreX, 0.5);
  EXPECT_NEAR(centre.y, area.CentreY, 0.5);
  for (Point2 corner : {Point2{-300, -200}, Point2{550, 150}}) {
    const Point2 s = WorldToScreen(view, area, corner);
    EXPECT_GT(s.x, 0);
    EXPECT_LT(s.x, 640);
    EXPECT_GT(s.y, 0);
    EXPECT_LT(s.y, 480);
  }
}

TEST_F(FitViewTest, EmptyAreaFallsBackToOneUnitPerPixel) {
  Add(okPoint, -300, 40);
  Add(okPoint, 300, 40);
  FitView(view, doc, 0, 300, 100);
  EXPECT_DOUBLE_EQ(view.Zoom, 1 / 1.1);
  FitView(view, doc, 400, -1, 100);
  EXPECT_DOUBLE_EQ(view.Zoom, 1 / 1.1);
}

TEST_F(FitViewTest, FarObjectsGiveASavableView) {
  Add(okPoint, 1e9, 1e9);
  Add(okPoint, 1e9 + 10, 1e9 + 10);
  FitView(view, doc, 400, 300, 100);
  EXPECT_EQ(view.OrgX, -9999);
  EXPECT_EQ(view.OrgY, -9999);

  Add(okPoint, -1e300, 1e300);
  FitView(view, doc, 400, 300, 100);
  EXPECT_GE(view.Zoom, MinFitZoom);
  EXPECT_LE(std::abs(view.OrgX), MaxViewOffset);
  EXPECT_LE(std::abs(view.OrgY), MaxViewOffset);
}

TEST_F(FitViewTest, ObjectCountOutsideTheTableIsBounded) {
  doc.ObjCount = -3;
  FitView(view, doc, 400, 300, 100);
  EXPECT_DOUBLE_EQ(view.Zoom, 1 / 1.1);
  doc.ObjCount = 32767;
  doc[MaxObjects].X1 = 2200;
  FitView(view, doc, 400, 300, 100);
  EXPECT_DOUBLE_EQ(view.Zoom, 1 / (1.1 * 2200 / 400));
}

} // namespace
} // namespace drex
