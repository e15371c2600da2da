// The report on an object: its construction lines, and its measures when it is defined, in user
// units and both coordinate systems.

#include "dialogs/object_report.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/object_list.h"
#include "kernel/cp1251.h"
#include "shell/program.h"
#include "support/construction_builder.h"
#include "support/recording_canvas.h"
#include "support/scripted_platform.h"
#include "view/redraw.h"

namespace drex {
namespace {

using Lines = std::vector<std::string>;

constexpr int U = 48;

// Objects are named "o1", "o2", ... by their number; coordinates are given in user units.
class ReportTest : public ::testing::Test {
protected:
  ReportTest() {
    prog.UnitLength = U;
    prog.Surface = &canvas;
  }

  int P(double x, double y) { return b.Point(x * U, y * U); }
  Lines Report(int n, int digits = 2, int coordSystem = 0) const {
    return ObjectReport(prog.Doc, prog.Msgs, n, ReportFormat{U, digits, coordSystem, 200});
  }
  /// Recomputes every object and plots the graphs, as the window's redraw does.
  void Recalc() { Redraw(prog, true); }

  ScriptedPlatform desktop;
  Program prog{desktop};
  RecordingCanvas canvas{800, 600};
  ConstructionBuilder b{prog.Doc};
};

TEST_F(ReportTest, EveryKindReportsHowItIsBuiltAndWhatItMeasures) {
  const int a = P(0, 0), bb = P(2, 0), c = P(0, 2);
  const int mid = b.Midpoint(a, bb);
  const int ab = b.Line(a, bb);
  const int bc = b.Line(bb, c);
  const int d = P(3, 3);
  const int ad = b.Line(a, d);
  const int cross = b.Intersection(bc, ad);
  const int mirror = b.Symmetric(c, mid);
  const int parallel = b.Parallel(c, ab);
  const int perpendicular = b.Perpendicular(a, bc);
  const int bisector = b.Bisector(bb, a, c);
  const int circle = b.Circle(a, bb);
  const int triangle = b.Polyline({a, bb, c}, true);
  const int open = b.Polyline({a, bb, d});
  const int poly = b.Polynomial({P(0, 1), P(1, 3), P(2, 7)});
  const int curve = b.Graph("x");
  const int param = b.Graph("cos(t)", 2, "sin(t)");
  const int polar = b.Graph("1", 3);
  // A tangent from (25/3, 0) to the circle of radius 5 about the origin touches it at (3, ±4).
  const int far = b.Point(400, 0);
  const int big = b.Circle(a, b.Point(5 * U, 0));
  const int tangent = b.Tangent(far, big);
  const int single = b.Polyline({a}); // its only vertex is first and last, but it is no closed polygon
  Recalc();
  const int on = b.PointOn(ab, 1 * U, 0);
  Recalc();

  const std::vector<std::pair<int, Lines>> expected = {
      {a, {"Вільна точка", "Координати: (0, 0)"}},
      {mid, {"Середня точка між точками", "<o1> та <o2>", "Координати: (1, 0)"}},
      {on, {"Точка на об'єкті <o5>", "Координати: (1, 0)"}},
      {cross, {"Точка перетину об'єктів", "<o6> та <o8>", "Координати: (1, 1)"}},
      {mirror, {"Точка, симетрична точці <o3>", "відносно точки <o4>", "Координати: (2, -2)"}},
      {ab, {"Пряма, що проходить через точки", "<o1> та <o2>", "Рівняння: 0x-2y+0=0"}},
      {bc, {"Пряма, що проходить через точки", "<o2> та <o3>", "Рівняння: 2x+2y-4=0"}},
      {parallel, {"Пряма, що проходить", "через точку <o3>", "паралельно до прямої <o5>", "Рівняння: 0x-2y+4=0"}},
      {perpendicular,
       {"Пряма, що проходить", "через точку <o1>", "перпендикулярно до прямої <o6>", "Рівняння: -2x+2y+0=0"}},
      {bisector, {"Бісектриса кута", "(<o2>, <o1>, <o3>)", "Рівняння: 1x-1y+0=0"}},
      {tangent,
       {"Пряма, що проходить", "через точку <o24>", "та дотикається до кола <o26>", "Рівняння: -4x+5.3y+33=0"}},
      {tangent + 1,
       {"Пряма, що проходить", "через точку <o24>", "та дотикається до кола <o26>", "Рівняння: 4x+5.3y-33=0"}},
      {circle,
       {"Коло з центром в точці <o1>,", "що проходить через точку <o2>", "Радіус: 2", "Довжина: 13",
        "Площа круга: 13"}},
      {triangle, {"Замкнена ламана, кількість вершин: 3", "Довжина: 6.8", "Площа: 2"}},
      {open, {"Ламана, кількість вершин: 3", "Довжина: 5.2"}},
      {single, {"Ламана, кількість вершин: 1", "Довжина: 0"}},
      {poly, {"Поліном 2-го степеня", "y=1x^2+1x^1+1", "Інтеграл: 6.7", "Довжина кривої: 6.4"}},
      {curve, {"Графік функції y=x", "MinX=-5; MaxX=5", "MinY=-5; MaxY=5"}},
      {param, {"Графік функції x=cos(t), y=sin(t)", "MinX=-1; MaxX=1", "MinY=-1; MaxY=1"}},
      {polar, {"Графік функції r=1", "MinX=-1; MaxX=1", "MinY=-1; MaxY=1"}},
  };
  for (const auto& [n, lines] : expected) {
    EXPECT_EQ(Report(n), lines) << "object " << n;
    // Only points read differently in polar coordinates.
    if (!IsPointKind(prog.Doc[n].Kind)) {
      EXPECT_EQ(Report(n, 2, 1), lines) << "object " << n;
    }
  }
  // More digits: the circle's 4π and the polynomial's ∫(1 + x + x²) over [0, 2] = 20/3 and its
  // curve length 6.378 (200 chords).
  EXPECT_EQ(Report(circle, 4)[3], "Довжина: 12.57");
  EXPECT_EQ(Report(poly, 4),
            (Lines{"Поліном 2-го степеня", "y=1x^2+1x^1+1", "Інтеграл: 6.667", "Довжина кривої: 6.378"}));
  EXPECT_EQ(Report(tangent, 4).back(), "Рівняння: -4x+5.333y+33.33=0");
}

TEST_F(ReportTest, PointsInPolarCoordinatesGiveDistanceAndCounterClockwiseAngle) {
  const int below = P(0, -2), left = P(-2, 0), origin = P(0, 0), up = P(0, 2), diag = P(2, -2);
  const int mid = b.Midpoint(up, left);
  Recalc();
  // Three digits, so that 270 is written in fixed point.
  EXPECT_EQ(Report(below, 3, 1), (Lines{"Вільна точка", "Координати: (2, 270°)"}));
  EXPECT_EQ(Report(left, 3, 1).back(), "Координати: (2, 180°)");
  EXPECT_EQ(Report(up, 3, 1).back(), "Координати: (2, 90°)");
  EXPECT_EQ(Report(diag, 4, 1).back(), "Координати: (2.828, 315°)");
  EXPECT_EQ(Report(mid, 4, 1), (Lines{"Середня точка між точками", "<o4> та <o2>", "Координати: (1.414, 135°)"}));
  // The origin has no angle; it reads 0°.
  EXPECT_EQ(Report(origin, 3, 1).back(), "Координати: (0, 0°)");
  // With the default two digits an angle of three digits is written in scientific notation.
  EXPECT_EQ(Report(below, 2, 1).back(), "Координати: (2, 2.7e+02°)");
}

TEST_F(ReportTest, AnUndefinedObjectStopsAfterItsConstructionLines) {
  const int centre = P(0, 0), rim = P(2, 0), inside = P(1, 0);
  const int circle = b.Circle(centre, rim);
  const int tangent = b.Tangent(inside, circle);
  const int foot = b.Midpoint(inside, centre);
  Recalc();
  ASSERT_FALSE(prog.Doc[tangent].Defined);
  for (const int n : {tangent, tangent + 1})
    EXPECT_EQ(Report(n), (Lines{"Пряма, що проходить", "через точку <o3>", "та дотикається до кола <o4>",
                                "<Властивості не відомі>"}));
  // The tangent's failure is the tangent's alone.
  EXPECT_EQ(Report(foot).back(), "Координати: (0.5, 0)");
}

TEST_F(ReportTest, PolynomialTermsSkipTinyCoefficientsAndCarryTheirSigns) {
  // y = x² − 2x: the constant term is left out, the negative one brings its own sign.
  const int dip = b.Polynomial({P(0, 0), P(1, -1), P(2, 0)});
  // Through two nodes at height 0 nothing is left: degree 0, y=0.
  const int flat = b.Polynomial({P(0, 0), P(3, 0)});
  Recalc();
  EXPECT_EQ(Report(dip, 4),
            (Lines{"Поліном 2-го степеня", "y=1x^2-2x^1", "Інтеграл: -1.333", "Довжина кривої: 2.958"}));
  EXPECT_EQ(Report(flat), (Lines{"Поліном 0-го степеня", "y=0", "Інтеграл: 0", "Довжина кривої: 3"}));
}

TEST_F(ReportTest, LineThroughOriginAndOneOneAndNamesInCyrillic) {
  const int o = P(0, 0), one = P(1, 1);
  const int line = b.Line(o, one);
  prog.Doc[o].Name.Assign(Utf8ToCp1251("Початок"));
  Recalc();
  EXPECT_EQ(Report(line), (Lines{"Пряма, що проходить через точки", "<Початок> та <o2>", "Рівняння: 1x-1y+0=0"}));
  EXPECT_TRUE(Report(0).empty());
  EXPECT_TRUE(Report(line + 1).empty());
}

} // namespace
} // namespace drex
