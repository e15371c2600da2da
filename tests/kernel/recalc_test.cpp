#include "kernel/recalc.h"

#include <cmath>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "kernel/cp1251.h"
#include "kernel/math2d.h"
#include "support/construction_builder.h"
#include "support/construction_generator.h"

namespace drex {
namespace {

constexpr double Eps = 1e-9;

::testing::AssertionResult At(const TGeomObject& o, double x, double y, double eps = 1e-7) {
  if (std::fabs(o.X1 - x) <= eps && std::fabs(o.Y1 - y) <= eps) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << o.X1 << ", " << o.Y1 << ") instead of (" << x << ", " << y << ")";
}
::testing::AssertionResult SecondAt(const TGeomObject& o, double x, double y, double eps = 1e-7) {
  if (std::fabs(o.X2 - x) <= eps && std::fabs(o.Y2 - y) <= eps) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << o.X2 << ", " << o.Y2 << ") instead of (" << x << ", " << y << ")";
}

class RecalcTest : public ::testing::Test {
protected:
  void Pass() { RecalcPass(doc, MakeViewArea(800, 600, doc.View), 48, stepPos); }
  void Move(int n, double x, double y) {
    doc[n].X1 = x;
    doc[n].Y1 = y;
  }
  bool Defined(int n) const { return doc[n].Defined != 0; }

  Construction doc;
  ConstructionBuilder b{doc};
  int stepPos = 0;
};

TEST_F(RecalcTest, DraggingAFreePointMovesEverythingBuiltOnIt) {
  const int a = b.Point(0, 0);
  const int p = b.Point(100, 0);
  const int m = b.Midpoint(a, p);
  const int ab = b.Line(a, p);
  const int cd = b.Line(b.Point(50, 100), b.Point(50, -100));
  const int x = b.Intersection(ab, cd);
  EXPECT_EQ(doc.ObjCount, x) << "two lines meet once: no twin";
  Pass();
  EXPECT_TRUE(At(doc[m], 50, 0));
  EXPECT_TRUE(At(doc[x], 50, 0));
  EXPECT_DOUBLE_EQ(doc[ab].Length(), 100);

  Move(p, 100, 100);
  Pass();
  EXPECT_TRUE(At(doc[m], 50, 50));
  EXPECT_TRUE(At(doc[x], 50, 50));
  EXPECT_TRUE(SecondAt(doc[ab], 100, 100));
  EXPECT_EQ(doc[m].ScrX1, 450);
  EXPECT_EQ(doc[m].ScrY1, 250);
  for (int i = 1; i <= doc.ObjCount; ++i)
    EXPECT_TRUE(Defined(i)) << i;
}

TEST_F(RecalcTest, EachKindComputesItsFields) {
  const int o = b.Point(0, 0);
  const int e = b.Point(96, 0);
  const int n = b.Point(0, 96);
  const int ox = b.Line(o, e);
  const int par = b.Parallel(n, ox);
  const int perp = b.Perpendicular(e, ox);
  const int bis = b.Bisector(e, o, n);
  const int mirrorPt = b.Symmetric(n, e);
  const int mirrorLn = b.Symmetric(n, bis);
  const int k = b.Circle(o, n);
  const int tri = b.Polyline({o, e, n}, true, ColorPalette[9].Value);
  const int open = b.Polyline({o, e, n});
  Pass();
  EXPECT_TRUE(At(doc[par], 0, 96));
  EXPECT_TRUE(SecondAt(doc[par], 96, 96));
  EXPECT_TRUE(At(doc[perp], 96, 0));
  EXPECT_TRUE(SecondAt(doc[perp], 96, 96));
  EXPECT_TRUE(At(doc[bis], 0, 0));
  EXPECT_NEAR(doc[bis].X2, doc[bis].Y2, Eps) << "the bisector of a right angle at the origin is y = x";
  EXPECT_NEAR(doc[bis].Length(), std::hypot(doc[bis].X2, doc[bis].Y2), Eps);
  EXPECT_TRUE(At(doc[mirrorPt], 192, -96));
  EXPECT_TRUE(At(doc[mirrorLn], 96, 0));
  EXPECT_DOUBLE_EQ(doc[k].Length(), 96);
  EXPECT_DOUBLE_EQ(doc[tri].Length(), 192 + 96 * std::sqrt(2.0));
  EXPECT_DOUBLE_EQ(doc[tri].Area(), 2.0) << "user units squared at 48 units per user unit";
  EXPECT_DOUBLE_EQ(doc[open].Area(), 2.0) << "the closing edge always counts";
  EXPECT_DOUBLE_EQ(doc[open].Length(), 96 + 96 * std::sqrt(2.0));
  EXPECT_TRUE(At(doc[open], 96, 0)) << "a polyline holds its last segment";
  EXPECT_TRUE(SecondAt(doc[open], 0, 96));
}

TEST_F(RecalcTest, PixelsRoundHalfToEvenUnderTheView) {
  const int p = b.Point(0.5, -1.5);
  const int q = b.Point(1.5, 2.5);
  Pass();
  EXPECT_EQ(doc[p].ScrX1, 400);
  EXPECT_EQ(doc[p].ScrY1, 302);
  EXPECT_EQ(doc[q].ScrX1, 402);
  EXPECT_EQ(doc[q].ScrY1, 298);
  doc.View = TViewState{10, -20, 2.0};
  Pass();
  EXPECT_EQ(doc[q].ScrX1, 413);
  EXPECT_EQ(doc[q].ScrY1, 315);
}

// The pass folds the view mapping into its loop; its pixels must be those of the one conversion
// the rest of the program uses, halves, far points and damaged values included.
TEST_F(RecalcTest, PixelsMatchTheViewConversion) {
  const double values[] = {0.25, 0.5, 1.5, -2.5, 3.4999, 1e-300, 123456.5, -9.5e8, 3e9, -3e9,
                           // At zoom 1 the pixel x is x + 400: the edges of the int range.
                           2147483246.5, 2147483247.0, 2147483247.5, -2147484047.5, -2147484048.0, -2147484048.5,
                           -2147484049.0, 1e300, -1e300, std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity()};
  for (double x : values)
    for (double y : values)
      b.Point(x, -y);
  const TViewState views[] = {{0, 0, 1.0}, {-37, 12, 0.5}, {9999, -9999, 44.0}, {1, 1, 1e-7}};
  for (const TViewState& view : views) {
    doc.View = view;
    const ViewArea area = MakeViewArea(801, 601, view);
    RecalcPass(doc, area, 48, 0);
    for (int i = 1; i <= doc.ObjCount; ++i) {
      const Point2 s = WorldToScreen(view, area, Point2{doc[i].X1, doc[i].Y1});
      ASSERT_EQ(doc[i].ScrX1, RoundHalfEven(s.x)) << doc[i].X1 << " zoom " << view.Zoom;
      ASSERT_EQ(doc[i].ScrY1, RoundHalfEven(s.y)) << doc[i].Y1 << " zoom " << view.Zoom;
    }
  }
}

TEST_F(RecalcTest, LineCirclePairKeepsItsRootsThroughTouchingAndMissing) {
  const int k = b.Circle(b.Point(0, 0), b.Point(100, 0));
  const int p = b.Point(0, -200);
  const int q = b.Point(0, 200);
  const int line = b.Line(p, q);
  // Picked circle first: the line is put first.
  const int s1 = b.Intersection(k, line);
  const int s2 = s1 + 1;
  ASSERT_EQ(doc.ObjCount, s2);
  EXPECT_EQ(doc[s1].Refs[0], isLineCircle);
  EXPECT_EQ(doc[s1].Refs[1], line);
  EXPECT_EQ(doc[s1].Refs[2], k);
  EXPECT_EQ(doc[s2].RootNo(), 2);
  EXPECT_TRUE(IsTwinOfPrevious(doc, s2));

  Pass();
  EXPECT_TRUE(At(doc[s1], 0, 100));
  EXPECT_TRUE(At(doc[s2], 0, -100));

  Move(p, 100, -200);
  Move(q, 100, 200);
  Pass();
  ASSERT_TRUE(Defined(s1) && Defined(s2));
  EXPECT_TRUE(At(doc[s1], doc[s2].X1, doc[s2].Y1, 1e-3)) << "a touching line gives one point twice";

  Move(p, 150, -200);
  Move(q, 150, 200);
  Pass();
  EXPECT_FALSE(Defined(s1));
  EXPECT_FALSE(Defined(s2));

  Move(p, 0, -200);
  Move(q, 0, 200);
  Pass();
  EXPECT_TRUE(At(doc[s1], 0, 100));
  EXPECT_TRUE(At(doc[s2], 0, -100));
}

TEST_F(RecalcTest, CirclePairAndALoneSecondRoot) {
  const int a = b.Point(0, 0);
  const int c = b.Point(160, 0);
  const int k1 = b.Circle(a, b.Point(100, 0));
  const int k2 = b.Circle(c, b.Point(60, 0));
  const int s1 = b.Intersection(k1, k2);
  EXPECT_EQ(doc[s1].Refs[0], isTwoCircles);
  Pass();
  EXPECT_TRUE(At(doc[s1], 80, 60));
  EXPECT_TRUE(At(doc[s1 + 1], 80, -60));

  // Once the pair is broken (its first object gone), the second follows its own RootNo.
  // The circles in the other order exchange the solutions.
  const int lone = b.Raw(okIntersection, {k2, k1});
  doc[lone].Refs[0] = isTwoCircles;
  doc[lone].SetRootNo(2);
  const int other = b.Raw(okTangent, {a, k2});
  doc[other].Refs[0] = isTwoCircles;
  doc[other].Refs[1] = static_cast<int16_t>(k2);
  doc[other].Refs[2] = static_cast<int16_t>(k1);
  Pass();
  EXPECT_FALSE(IsTwinOfPrevious(doc, lone));
  EXPECT_TRUE(At(doc[lone], 80, 60));
  EXPECT_FALSE(IsTwinOfPrevious(doc, other)) << "equal references but another kind";
  EXPECT_FALSE(Defined(other));

  // Concentric circles do not meet.
  Move(c, 0, 0);
  Pass();
  EXPECT_FALSE(Defined(s1));
  EXPECT_FALSE(Defined(s1 + 1));
}

// Runs of objects on the same parents: each must follow its own root, never keep the position it
// was created at.
TEST_F(RecalcTest, SameParentsPickedAgainFollowTheirOwnRoots) {
  const int k = b.Circle(b.Point(0, 0), b.Point(100, 0));
  const int p = b.Point(0, -200);
  const int line = b.Line(p, b.Point(0, 200));
  const int first = b.Intersection(line, k);
  const int again = b.Intersection(line, k); // the same pair picked a second time
  ASSERT_EQ(again, first + 2);
  // A lone second solution (its first deleted) followed by a new pair on the same circles.
  const int k2 = b.Circle(b.Point(160, 0), b.Point(160, 100));
  const int lone = b.Raw(okIntersection, {k, k2});
  doc[lone].Refs[0] = isTwoCircles;
  doc[lone].SetRootNo(2);
  const int pair = b.Intersection(k, k2);
  const int tangent = b.Tangent(b.Point(0, 250), k);
  const int dialogTangent = b.SingleTangent(doc[tangent].Refs[1], k); // RootNo 0: solution 1
  for (int n = 1; n <= doc.ObjCount; ++n)
    if (doc[n].Kind == okIntersection || doc[n].Kind == okTangent) doc[n].X1 = doc[n].Y1 = doc[n].X2 = doc[n].Y2 = 777;
  Move(p, 60, -200);
  Move(p + 1, 60, 200);
  Pass();
  EXPECT_FALSE(IsTwinOfPrevious(doc, again));
  EXPECT_FALSE(IsTwinOfPrevious(doc, pair));
  EXPECT_TRUE(IsTwinOfPrevious(doc, pair + 1));
  EXPECT_FALSE(IsTwinOfPrevious(doc, dialogTangent));
  for (int n : {first, again}) {
    EXPECT_TRUE(At(doc[n], 60, 80)) << n;
    EXPECT_TRUE(At(doc[n + 1], 60, -80)) << n + 1;
  }
  EXPECT_TRUE(At(doc[lone], 80, -60));
  EXPECT_TRUE(At(doc[pair], 80, 60));
  EXPECT_TRUE(At(doc[pair + 1], 80, -60));
  const double contactX = std::sqrt(100.0 * 100 - 40 * 40);
  EXPECT_TRUE(SecondAt(doc[tangent + 1], -contactX, 40));
  EXPECT_TRUE(SecondAt(doc[dialogTangent], contactX, 40));
}

TEST_F(RecalcTest, TangentsFromInsideAreUndefinedAndComeBack) {
  const int k = b.Circle(b.Point(0, 0), b.Point(150, 0));
  const int p = b.Point(0, 250);
  const int t1 = b.Tangent(p, k);
  const int t2 = t1 + 1;
  const int meet = b.Intersection(t1, t2);
  ASSERT_EQ(doc[t1].RootNo(), 1);
  ASSERT_EQ(doc[t2].RootNo(), 2);
  Pass();
  EXPECT_TRUE(At(doc[t1], 0, 250));
  EXPECT_TRUE(SecondAt(doc[t1], 120, 90));
  EXPECT_TRUE(At(doc[t2], 0, 250));
  EXPECT_TRUE(SecondAt(doc[t2], -120, 90));
  EXPECT_TRUE(At(doc[meet], 0, 250));

  Move(p, 10, 20);
  Pass();
  EXPECT_FALSE(Defined(t1));
  EXPECT_FALSE(Defined(t2));
  EXPECT_FALSE(Defined(meet)) << "built on undefined tangents";

  Move(p, 150.0005, 0);
  Pass();
  ASSERT_TRUE(Defined(t1) && Defined(t2));
  EXPECT_TRUE(SecondAt(doc[t1], 150.0005, -150.0005)) << "on the circle both are the tangent at P";
  EXPECT_TRUE(SecondAt(doc[t2], 150.0005, -150.0005));
  EXPECT_FALSE(Defined(meet)) << "one line twice has no single common point";

  Move(p, 250, 0);
  Pass();
  EXPECT_TRUE(SecondAt(doc[t1], 90, -120));
  EXPECT_TRUE(SecondAt(doc[t2], 90, 120));
  EXPECT_TRUE(Defined(meet));

  // A tangent made without a twin (RootNo 0) takes the first solution.
  const int single = b.SingleTangent(p, k);
  Pass();
  EXPECT_TRUE(SecondAt(doc[single], 90, -120));
}

TEST_F(RecalcTest, PolynomialThroughNodesAndNodesAboveEachOther) {
  const int n1 = b.Point(-48, 0);
  const int n2 = b.Point(0, 48);
  const int n3 = b.Point(48, 0);
  const int poly = b.Polynomial({n3, n1, n2});
  Pass();
  ASSERT_TRUE(Defined(poly));
  EXPECT_DOUBLE_EQ(doc[poly].ExtA(), -1);
  EXPECT_DOUBLE_EQ(doc[poly].ExtB(), 1);
  EXPECT_NEAR(doc[poly].Coef(1), 1, Eps);
  EXPECT_NEAR(doc[poly].Coef(2), 0, Eps);
  EXPECT_NEAR(doc[poly].Coef(3), -1, Eps);

  Move(n3, 0.005, 10);
  Pass();
  EXPECT_FALSE(Defined(poly)) << "two nodes within 0.01 in x";
  Move(n3, 0.02, 10);
  Pass();
  EXPECT_TRUE(Defined(poly));

  std::vector<int> eleven;
  for (int k = 0; k <= MaxPolynomialNodes; ++k)
    eleven.push_back(b.Point(10.0 * k, k % 3));
  const int big = b.Polynomial(eleven);
  Pass();
  EXPECT_FALSE(Defined(big)) << "more nodes than coefficients";
  doc[big].RefCount = MaxPolynomialNodes;
  Pass();
  EXPECT_TRUE(Defined(big));
}

TEST_F(RecalcTest, AttachedPointsFollowTheirHosts) {
  const int a = b.Point(100, 0);
  const int e = b.Point(200, 0);
  const int line = b.Line(a, e);
  Pass(); // attaching reads the host's computed position
  const int beyond = b.PointOn(line, 150, 0);
  const int behind = b.PointOn(line, 40, 0);
  EXPECT_DOUBLE_EQ(doc[beyond].AttachA(), 1.0);
  EXPECT_DOUBLE_EQ(doc[behind].AttachA(), -1.0) << "the first point lies between the second and the point";
  EXPECT_DOUBLE_EQ(doc[behind].Length(), 60);

  const int c = b.Point(0, 0);
  const int rim = b.Point(0, 50);
  const int k = b.Circle(c, rim);
  Pass();
  const int on = b.PointOn(k, 30, 40);
  const int centred = b.Raw(okPointOn, {k});
  doc[centred].AttachA() = 0.6;
  doc[centred].AttachB() = -0.8;
  AttachPoint(doc, centred); // at the centre: the factors stay
  EXPECT_DOUBLE_EQ(doc[centred].AttachA(), 0.6);

  const int poly = b.Polyline({a, e, rim});
  const int onPoly = b.PointOn(poly, 7, 8);

  Move(e, 100, 300); // the line turns to point straight up
  Move(rim, 100, 0); // the circle grows to radius 100
  Pass();
  EXPECT_TRUE(At(doc[beyond], 100, 50));
  EXPECT_TRUE(At(doc[behind], 100, -60));
  EXPECT_TRUE(At(doc[on], 60, 80));
  EXPECT_TRUE(At(doc[centred], 60, -80));
  EXPECT_TRUE(At(doc[onPoly], 7, 8)) << "a point on a polyline stays where it is";
}

TEST_F(RecalcTest, SamePixelLinesAndCirclesComeBackOnZoom) {
  const int a = b.Point(0, 0);
  const int p = b.Point(0.3, 0.2);
  const int line = b.Line(a, p);
  const int k = b.Circle(a, p);
  const int perp = b.Perpendicular(p, line);
  const int on = b.PointOn(k, 10, 0);
  Pass();
  EXPECT_FALSE(Defined(line));
  EXPECT_FALSE(Defined(k));
  EXPECT_FALSE(Defined(perp));
  EXPECT_FALSE(Defined(on));
  EXPECT_TRUE(Defined(p));

  doc.View.Zoom = 10;
  Pass();
  EXPECT_TRUE(Defined(line));
  EXPECT_TRUE(Defined(k));
  EXPECT_TRUE(Defined(perp));
  EXPECT_TRUE(Defined(on));
}

TEST_F(RecalcTest, FailuresPropagateAndHeal) {
  const int a = b.Point(0, 0);
  const int e = b.Point(100, 0);
  const int n = b.Point(0, 100);
  const int l1 = b.Line(a, e);
  const int l2 = b.Parallel(n, l1);
  const int x = b.Intersection(l1, l2);
  const int m = b.Midpoint(x, a);
  const int far = b.Line(m, n);
  const int bis = b.Bisector(a, a, n);
  Pass();
  EXPECT_FALSE(Defined(x)) << "parallel lines";
  EXPECT_FALSE(Defined(m));
  EXPECT_FALSE(Defined(far));
  EXPECT_FALSE(Defined(bis)) << "first point on the vertex";
  EXPECT_TRUE(Defined(l2));

  doc[l2].Kind = okPerpendicular;
  Pass();
  EXPECT_TRUE(At(doc[x], 0, 0));
  EXPECT_TRUE(Defined(m));
  EXPECT_TRUE(Defined(far));
}

TEST_F(RecalcTest, ParentsWithLargerNumbersAreComputedFirst) {
  const int m = b.Raw(okMidpoint, {2, 4});
  const int p = b.Point(10, 0);
  const int q = b.Point(30, 0);
  b.Midpoint(p, q);
  Pass();
  EXPECT_TRUE(At(doc[m], 15, 0)) << "object 4 is computed before object 1 reads it";
  EXPECT_TRUE(Defined(m));
}

// Every computed field of object `n` of `a` equals that of object `order[n]` of `b`, bit for bit;
// the coordinates of undefined objects are left out, as nothing may read them.
void ExpectSameObjects(const Construction& a, const Construction& b, const std::vector<int>& order) {
  for (int n = 1; n <= a.ObjCount; ++n) {
    const TGeomObject& x = a[n];
    const TGeomObject& y = b[order[static_cast<std::size_t>(n)]];
    SCOPED_TRACE(::testing::Message() << "object " << n << " against " << order[static_cast<std::size_t>(n)]);
    ASSERT_EQ(x.Defined, y.Defined);
    if (!x.Defined) continue;
    EXPECT_EQ(x.X1, y.X1);
    EXPECT_EQ(x.Y1, y.Y1);
    EXPECT_EQ(x.X2, y.X2);
    EXPECT_EQ(x.Y2, y.Y2);
    EXPECT_EQ(x.Param, y.Param);
    EXPECT_EQ(x.ScrX1, y.ScrX1);
    EXPECT_EQ(x.ScrY1, y.ScrY1);
    EXPECT_EQ(x.ScrX2, y.ScrX2);
    EXPECT_EQ(x.ScrY2, y.ScrY2);
  }
}

// The same construction numbered twice, once with parents after their children (as the
// properties dialog can leave it) and once in the order the tools make it: after a free point
// moves, one pass gives both the same picture.
TEST_F(RecalcTest, ForwardReferencesGiveTheResultOfTheProperOrderInOnePass) {
  b.Raw(okLine, {2, 6});     // 1: line through 2 and 6
  b.Raw(okMidpoint, {3, 5}); // 2: midpoint of 3 and 5
  b.Raw(okMidpoint, {5, 6}); // 3: midpoint of 5 and 6
  b.Raw(okCircle, {6, 3});   // 4: circle about 6 through 3
  const int free5 = b.Point(-40, 10);
  b.Point(60, 30);
  Construction proper;
  ConstructionBuilder pb(proper);
  const int p5 = pb.Point(-40, 10), p6 = pb.Point(60, 30);
  const int m3 = pb.Midpoint(p5, p6);
  const int m2 = pb.Midpoint(m3, p5);
  const int line = pb.Line(m2, p6);
  const int circle = pb.Circle(p6, m3);
  const std::vector<int> order = {0, line, m2, m3, circle, p5, p6};
  const ViewArea area = MakeViewArea(800, 600, doc.View);
  Pass();
  RecalcPass(proper, area, 48, 0);
  ExpectSameObjects(doc, proper, order);
  for (const Point2 to : {Point2{90, -70}, Point2{-12, 4}, Point2{60, 30}}) {
    Move(free5, to.x, to.y);
    proper[p5].X1 = to.x;
    proper[p5].Y1 = to.y;
    Pass();
    RecalcPass(proper, area, 48, 0);
    ExpectSameObjects(doc, proper, order);
  }
  EXPECT_FALSE(Defined(1)) << "with 5 on 6 the line's two points coincide";
}

TEST_F(RecalcTest, ChainOfForwardReferencesSeveralDeep) {
  // Objects 1..6: each the midpoint of the next one and of object 8; 7 and 8 free points.
  constexpr int Depth = 6;
  for (int k = 1; k <= Depth; ++k)
    b.Raw(okMidpoint, {k + 1, Depth + 2});
  const int moving = b.Point(640, 0);
  const int fixed = b.Point(0, 0);
  ASSERT_EQ(moving, Depth + 1);
  Pass();
  Move(moving, 0, 64 * 10);
  Pass();
  for (int k = 1; k <= Depth; ++k) {
    const double f = std::ldexp(1.0, -(Depth + 1 - k));
    EXPECT_TRUE(At(doc[k], 0, 640 * f)) << k;
  }
  (void)fixed;
}

// The second object of a pair gets its solution from the first. Numbered backwards, the pair's
// circles come after it and the midpoint built on its second point comes first: the walk reaches
// the second point before the first, and must still compute the first one before it.
TEST_F(RecalcTest, TwinReachedThroughAForwardReference) {
  Construction proper;
  ConstructionBuilder pb(proper);
  const int a = pb.Point(100, 100);
  const int c1 = pb.Point(0, 0), c2 = pb.Point(60, 0);
  const int k1 = pb.Circle(c1, c2), k2 = pb.Circle(c2, c1);
  const int x = pb.Intersection(k1, k2);
  const int m = pb.Midpoint(x + 1, a);
  const std::vector<int> order = CopyNumberedBackwards(proper, doc);
  ASSERT_EQ(order[1], m);
  ASSERT_EQ(order[3], x + 1);
  ASSERT_TRUE(IsTwinOfPrevious(doc, 3));
  ASSERT_EQ(order[6], c2);
  const ViewArea area = MakeViewArea(800, 600, doc.View);
  for (const Point2 to : {Point2{60, 0}, Point2{80, 10}, Point2{0, 90}, Point2{-30, -30}}) {
    Move(6, to.x, to.y); // c2
    proper[c2].X1 = to.x;
    proper[c2].Y1 = to.y;
    Pass();
    RecalcPass(proper, area, 48, 0);
    EXPECT_TRUE(Defined(1));
    ExpectSameObjects(doc, proper, order);
  }
}

TEST_F(RecalcTest, ForwardReferencesBeyondTheStepPositionOrInACycle) {
  const int m = b.Raw(okMidpoint, {3, 4}); // 1: midpoint of 3 and 4
  const int p = b.Point(0, 0);
  const int q = b.Point(20, 0);
  const int later = b.Midpoint(p, q); // 4, past the step position
  stepPos = 3;
  Pass();
  EXPECT_EQ(doc[later].ScrX1, 0) << "object 4 takes no part";
  EXPECT_TRUE(At(doc[m], 10, 0)) << "and is read as it is";
  stepPos = 0;
  Pass();
  EXPECT_TRUE(At(doc[m], 15, 0));

  // Two midpoints of each other (a file's loader refuses this): the pass ends, the rest is right.
  doc[p].Kind = okMidpoint;
  doc[p].RefCount = 2;
  doc[p].Refs[1] = static_cast<int16_t>(m);
  doc[p].Refs[2] = static_cast<int16_t>(q);
  doc[later].Refs[1] = static_cast<int16_t>(later); // and one of itself
  Pass();
  EXPECT_TRUE(At(doc[q], 20, 0));
  EXPECT_TRUE(Defined(q));
}

TEST_F(RecalcTest, StepPositionBoundsThePass) {
  const int a = b.Point(0, 0);
  const int c = b.Point(10, 0);
  const int m = b.Midpoint(a, c);
  const int later = b.Midpoint(m, c);
  doc[later].Defined = 0;
  stepPos = 3;
  Pass();
  EXPECT_TRUE(At(doc[m], 5, 0));
  EXPECT_FALSE(Defined(later)) << "objects past the step position are left alone";
  EXPECT_EQ(doc[later].ScrX1, 0);
  stepPos = 99;
  Pass();
  EXPECT_TRUE(At(doc[later], 7.5, 0));
}

// Damaged records as a file could hold them: every one must end undefined without any read
// outside the table or the record.
TEST_F(RecalcTest, MalformedReferencesMakeObjectsUndefined) {
  const int a = b.Point(0, 0);
  const int c = b.Point(50, 50);
  const int line = b.Line(a, c);
  const int k = b.Circle(a, c);
  const int poly = b.Polyline({a, c});
  const int graph = b.Graph("sin(x)");
  struct Case {
    const char* What;
    int Kind;
    std::vector<int> Refs;
    int RefCount; // -1: the number of Refs
    int Subtype;
  };
  const std::vector<Case> cases = {
      {"reference 0", okMidpoint, {a, 0}, -1, 0},
      {"negative reference", okMidpoint, {-7, a}, -1, 0},
      {"reference past ObjCount", okMidpoint, {a, 9000}, -1, 0},
      {"midpoint of a line", okMidpoint, {a, line}, -1, 0},
      {"second point not listed", okMidpoint, {a, c}, 1, 0},
      {"point on a point", okPointOn, {c}, -1, 0},
      {"point on a function graph", okPointOn, {graph}, -1, 0},
      {"line through a circle", okLine, {a, k}, -1, 0},
      {"circle centred on a line", okCircle, {line, c}, -1, 0},
      {"parallel to a circle", okParallel, {a, k}, -1, 0},
      {"perpendicular to a point", okPerpendicular, {a, c}, -1, 0},
      {"bisector with a line", okBisector, {a, line, c}, -1, 0},
      {"tangent to a line", okTangent, {a, line}, -1, 0},
      {"symmetric in a circle", okSymmetric, {a, k}, -1, 0},
      {"intersection of unknown subtype", okIntersection, {line, line}, -1, 7},
      {"line-line subtype on circles", okIntersection, {k, k}, -1, isTwoLines},
      {"line-circle subtype on lines", okIntersection, {line, line}, -1, isLineCircle},
      {"circle-circle subtype on a polyline", okIntersection, {poly, k}, -1, isTwoCircles},
      {"polyline with a circle vertex", okPolyline, {a, k, c}, -1, 0},
      {"polyline with no vertices", okPolyline, {}, 0, 0},
      {"reference count negative", okPolyline, {a, c}, -5, 0},
      {"reference count past the record", okPolyline, {a, c}, 30000, 0},
      {"polynomial on a line", okPolynomial, {a, line}, -1, 0},
      {"kind outside the table", 200, {a}, -1, 0},
  };
  for (const Case& cs : cases) {
    SCOPED_TRACE(cs.What);
    doc.ObjCount = static_cast<int16_t>(graph);
    const int n = ++doc.ObjCount;
    doc[n] = TGeomObject{};
    doc[n].Kind = static_cast<uint8_t>(cs.Kind);
    doc[n].Defined = 1;
    doc[n].RefCount = static_cast<int16_t>(cs.RefCount == -1 ? static_cast<int>(cs.Refs.size()) : cs.RefCount);
    for (std::size_t r = 0; r < cs.Refs.size(); ++r)
      doc[n].Refs[r + 1] = static_cast<int16_t>(cs.Refs[r]);
    doc[n].Refs[0] = static_cast<int16_t>(cs.Subtype);
    const int child = b.Midpoint(n, a);
    Pass();
    EXPECT_FALSE(Defined(n));
    EXPECT_FALSE(Defined(child));
    EXPECT_TRUE(Defined(line));
  }
}

TEST_F(RecalcTest, DamagedCountsAndCoordinatesStayInBounds) {
  const int nan = b.Point(std::numeric_limits<double>::quiet_NaN(), 0);
  const int inf = b.Point(0, -std::numeric_limits<double>::infinity());
  const int far = b.Point(1e300, -1e300);
  const int farther = b.Point(2e300, -2e300);
  const int self = b.Raw(okMidpoint, {5, far});
  const int line = b.Line(far, farther);
  const int fromNan = b.Midpoint(nan, far);
  Pass();
  EXPECT_FALSE(Defined(nan));
  EXPECT_FALSE(Defined(inf));
  EXPECT_FALSE(Defined(fromNan));
  EXPECT_TRUE(Defined(far));
  EXPECT_EQ(doc[far].ScrX1, std::numeric_limits<int>::max());
  EXPECT_EQ(doc[far].ScrY1, std::numeric_limits<int>::max());
  EXPECT_TRUE(Defined(self)) << "an object naming itself reads itself";
  EXPECT_FALSE(Defined(line)) << "both ends clamp to the same pixel";

  doc.ObjCount = -3;
  Pass();
  doc.ObjCount = 32000; // beyond the table: only its 10000 objects are looked at
  for (int i = 5; i <= MaxObjects; ++i)
    doc[i] = TGeomObject{};
  Pass();
  EXPECT_TRUE(Defined(MaxObjects));
}

TEST_F(RecalcTest, ClassifyIntersectionAndTangentTwins) {
  const int a = b.Point(0, 0);
  const int c = b.Point(50, 0);
  const int line = b.Line(a, c);
  const int k = b.Circle(a, c);
  const int poly = b.Polyline({a, c});
  struct Case {
    int First, Second;
    int Subtype, Line;
    bool Twin;
  };
  const Case cases[] = {
      {line, line, isTwoLines, line, false},  {line, k, isLineCircle, line, true},
      {k, line, isLineCircle, line, true},    {k, k, isTwoCircles, k, true},
      {poly, line, isTwoCircles, poly, true}, {0, 9999, isTwoCircles, 0, true},
  };
  for (const Case& cs : cases) {
    const int n = b.Raw(okIntersection, {cs.First, cs.Second});
    doc[n].SetRootNo(2);
    const int twin = ClassifyIntersection(doc, n, b.Naming());
    EXPECT_EQ(doc[n].Refs[0], cs.Subtype) << cs.First << "," << cs.Second;
    EXPECT_EQ(doc[n].Refs[1], cs.Line);
    EXPECT_EQ(doc[n].RootNo(), 1);
    EXPECT_EQ(twin, cs.Twin ? n + 1 : 0);
    if (twin == 0) continue;
    EXPECT_EQ(doc.ObjCount, twin);
    EXPECT_EQ(doc[twin].RootNo(), 2);
    EXPECT_EQ(doc[twin].Refs[2], doc[n].Refs[2]);
    EXPECT_FALSE(doc[twin].Name.Equals(doc[n].Name));
  }

  const int t = b.Raw(okTangent, {c, k});
  const int tt = AppendTangentTwin(doc, t, b.Naming());
  EXPECT_EQ(tt, t + 1);
  EXPECT_EQ(doc[t].RootNo(), 1);
  EXPECT_EQ(doc[tt].RootNo(), 2);
  EXPECT_EQ(Cp1251ToUtf8(doc[tt].Name.Bytes()), "лінія1");

  // A full table makes no twin and never grows past its room.
  doc.ObjCount = MaxObjects;
  doc[MaxObjects] = doc[t];
  EXPECT_EQ(AppendTangentTwin(doc, MaxObjects, b.Naming()), 0);
  EXPECT_EQ(doc.ObjCount, MaxObjects);
}

// Checks what each defined object of a generated construction must satisfy, computed here
// independently from the parents' current positions.
void ExpectConsistent(const Construction& c) {
  auto p1 = [&](int n) { return Point2{c[n].X1, c[n].Y1}; };
  auto p2 = [&](int n) { return Point2{c[n].X2, c[n].Y2}; };
  auto onLine = [&](Point2 p, int l) {
    const Point2 a = p1(l), e = p2(l);
    return std::fabs((e.x - a.x) * (p.y - a.y) - (e.y - a.y) * (p.x - a.x)) / std::hypot(e.x - a.x, e.y - a.y);
  };
  auto onCircle = [&](Point2 p, int k) { return std::fabs(Distance(p, p1(k)) - c[k].Length()); };
  for (int i = 1; i <= c.ObjCount; ++i) {
    const TGeomObject& o = c[i];
    if (!o.Defined) continue;
    SCOPED_TRACE(::testing::Message() << "object " << i << " of kind " << int(o.Kind));
    const int r1 = o.Refs[1], r2 = o.Refs[2];
    switch (o.Kind) {
    case okMidpoint:
      EXPECT_NEAR(o.X1, (c[r1].X1 + c[r2].X1) / 2, 1e-9);
      EXPECT_NEAR(o.Y1, (c[r1].Y1 + c[r2].Y1) / 2, 1e-9);
      break;
    case okPointOn:
      if (c[r1].Kind == okCircle) {
        EXPECT_LT(onCircle(p1(i), r1), 1e-6);
      } else if (c[r1].Kind != okPolyline) {
        EXPECT_LT(onLine(p1(i), r1), 1e-6);
      }
      break;
    case okIntersection:
      if (o.Refs[0] == isTwoCircles) {
        EXPECT_LT(onCircle(p1(i), r1), 1e-4);
        EXPECT_LT(onCircle(p1(i), r2), 1e-4);
      } else {
        EXPECT_LT(onLine(p1(i), r1), 1e-4 * (1 + std::hypot(o.X1, o.Y1)));
        if (o.Refs[0] == isLineCircle) {
          EXPECT_LT(onCircle(p1(i), r2), 1e-4);
        }
      }
      break;
    case okSymmetric:
      if (IsPointKind(c[r2].Kind))
        EXPECT_NEAR(o.X1 + c[r1].X1, 2 * c[r2].X1, 1e-9);
      else
        EXPECT_LT(onLine(Midpoint(p1(i), p1(r1)), r2), 1e-6);
      break;
    case okParallel:
    case okPerpendicular: {
      const double cross = (o.X2 - o.X1) * (c[r2].Y2 - c[r2].Y1) - (o.Y2 - o.Y1) * (c[r2].X2 - c[r2].X1);
      const double dot = (o.X2 - o.X1) * (c[r2].X2 - c[r2].X1) + (o.Y2 - o.Y1) * (c[r2].Y2 - c[r2].Y1);
      EXPECT_NEAR(o.Kind == okParallel ? cross : dot, 0, 1e-6);
      break;
    }
    case okTangent: {
      const Point2 centre = p1(r2);
      const double dot = (o.X2 - centre.x) * (o.X2 - o.X1) + (o.Y2 - centre.y) * (o.Y2 - o.Y1);
      if (Distance(p1(r1), centre) > c[r2].Length() + 0.01) {
        EXPECT_LT(onCircle(p2(i), r2), 1e-4);
        EXPECT_NEAR(dot / (c[r2].Length() * c[r2].Length()), 0, 1e-6);
      }
      break;
    }
    case okLine:
    case okCircle:
      EXPECT_NEAR(o.Length(), Distance(p1(r1), p1(r2)), 1e-9);
      break;
    default:
      break;
    }
  }
}

TEST(RecalcGenerated, MixedConstructionStaysConsistentAsItsPointsMove) {
  Construction doc;
  GenerateMixedConstruction(doc, 3000, 7);
  ASSERT_EQ(doc.ObjCount, 3000);
  int perKind[KindCount] = {};
  for (int i = 1; i <= doc.ObjCount; ++i)
    ++perKind[doc[i].Kind];
  for (int k = 0; k < KindCount; ++k)
    EXPECT_GT(perKind[k], 0) << "kind " << k;

  const ViewArea area = MakeViewArea(800, 600, doc.View);
  int defined = 0;
  for (int step = 0; step < 3; ++step) {
    RecalcPass(doc, area, 48, 0);
    ExpectConsistent(doc);
    MoveFreePoints(doc, 7.5, -3.25);
  }
  for (int i = 1; i <= doc.ObjCount; ++i)
    defined += doc[i].Defined;
  EXPECT_GT(defined, doc.ObjCount / 2);
  EXPECT_LT(defined, doc.ObjCount) << "some objects are meant to fail";

  Construction again;
  GenerateMixedConstruction(again, 3000, 7);
  Construction other;
  GenerateMixedConstruction(other, 3000, 8);
  int sameAsAgain = 0, sameAsOther = 0;
  for (int i = 1; i <= 3000; ++i) {
    sameAsAgain += again[i].Kind == doc[i].Kind && again[i].Refs == doc[i].Refs;
    sameAsOther += other[i].Kind == doc[i].Kind && other[i].Refs == doc[i].Refs;
  }
  EXPECT_EQ(sameAsAgain, 3000) << "a seed gives one construction";
  EXPECT_LT(sameAsOther, 3000);
}

// A mixed construction numbered backwards, pairs kept together: nearly every reference names a
// later object. Every pass must give what the same construction in tool order gives.
TEST(RecalcGenerated, NumberedBackwardsGivesTheResultOfToolOrder) {
  Construction proper;
  GenerateMixedConstruction(proper, 3000, 11);
  Construction doc;
  const std::vector<int> order = CopyNumberedBackwards(proper, doc);
  int twins = 0;
  for (int i = 2; i <= doc.ObjCount; ++i)
    twins += IsTwinOfPrevious(doc, i) - IsTwinOfPrevious(proper, i);
  EXPECT_EQ(twins, 0) << "every pair is still a pair";
  const ViewArea area = MakeViewArea(800, 600, doc.View);
  for (int step = 0; step < 3; ++step) {
    RecalcPass(doc, area, 48, 0);
    RecalcPass(proper, area, 48, 0);
    ExpectSameObjects(doc, proper, order);
    ExpectConsistent(doc);
    MoveFreePoints(doc, 7.5, -3.25);
    MoveFreePoints(proper, 7.5, -3.25);
  }
}

TEST(RecalcGenerated, MidpointChainHalvesTowardsTheFixedPoint) {
  Construction doc;
  GenerateMidpointChain(doc, 40);
  ASSERT_EQ(doc.ObjCount, 40);
  RecalcPass(doc, MakeViewArea(800, 600, doc.View), 48, 0);
  for (int k = 3; k <= 40; ++k) {
    const double f = std::ldexp(1.0, -(k - 2));
    EXPECT_TRUE(At(doc[k], -200 + 500 * f, 100 - 250 * f, 1e-9)) << k;
  }
}

} // namespace
} // namespace drex
