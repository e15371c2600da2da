// The example macros shipped in data/Macro: each file is listed and read as the program reads it,
// then applied through the menu and clicks to new points, and what it creates is checked by its
// geometry for two placements of the points.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

#include "document_bytes.h"
#include "document_test_support.h"
#include "documents/macro_commands.h"
#include "documents/macro_file.h"
#include "interaction/place_mouse.h"
#include "kernel/cp1251.h"
#include "shell/command_table.h"
#include "shell/commands.h"
#include "support/recording_canvas.h"
#include "view/redraw.h"

namespace drex {
namespace {

const std::string ShippedFolder = (std::filesystem::u8path(DREX2D_SOURCE_DIR) / "data").u8string();

struct Example {
  const char* File;
  const char* Name; ///< as the macro list shows it
  int Sources;
  int Results;
};
const Example Examples[] = {
    {"perpendicular_bisector.m2d", "Серединний перпендикуляр", 2, 2},
    {"circumcircle.m2d", "Описане коло", 3, 2},
    {"centroid.m2d", "Центроїд трикутника", 3, 4},
    {"incircle.m2d", "Вписане коло", 3, 2},
    {"square.m2d", "Квадрат на відрізку", 2, 3},
};
const Example& ByName(const std::string& name) {
  for (const Example& e : Examples)
    if (name == e.Name) return e;
  throw std::invalid_argument(name);
}

Point2 operator+(Point2 a, Point2 b) { return {a.x + b.x, a.y + b.y}; }
Point2 operator-(Point2 a, Point2 b) { return {a.x - b.x, a.y - b.y}; }
Point2 operator*(double k, Point2 a) { return {k * a.x, k * a.y}; }
double Dot(Point2 a, Point2 b) { return a.x * b.x + a.y * b.y; }
double Dist(Point2 a, Point2 b) { return std::hypot(a.x - b.x, a.y - b.y); }
/// Distance of p from the line through a and b.
double DistToLine(Point2 p, Point2 a, Point2 b) {
  const Point2 d = b - a, v = p - a;
  return std::fabs(d.x * v.y - d.y * v.x) / std::hypot(d.x, d.y);
}
/// A quarter turn counter-clockwise: to the left of the direction turned.
Point2 Left(Point2 d) { return {-d.y, d.x}; }

#define EXPECT_AT(p, q)                                                                                                \
  do {                                                                                                                 \
    EXPECT_NEAR((p).x, (q).x, 1e-6);                                                                                   \
    EXPECT_NEAR((p).y, (q).y, 1e-6);                                                                                   \
  } while (0)

TEST(ExampleMacros, EveryShippedFileIsListedByItsNameAndReadBackByteForByte) {
  ScriptedPlatform desk;
  desk.FoldersAnswer.Shipped = {ShippedFolder};
  const MacroListModel list = ListMacros(desk);
  ASSERT_EQ(list.Entries.size(), std::size(Examples)) << "every shipped file has its check here";
  for (const MacroListEntry& entry : list.Entries) {
    SCOPED_TRACE(entry.Path);
    const Example& e = ByName(entry.Name);
    EXPECT_EQ(std::filesystem::u8path(entry.Path).filename(), e.File);
    const std::vector<uint8_t> bytes = testdoc::ReadFile(entry.Path);
    Macro m;
    ASSERT_EQ(ParseMacro(bytes.data(), bytes.size(), m), MacroCheck::Ok);
    EXPECT_EQ(SerializeMacro(m), bytes);
    EXPECT_EQ(Cp1251ToUtf8(m.Name.Bytes()), e.Name);
    EXPECT_EQ(m.S, e.Sources);
    EXPECT_EQ(m.R, e.Results);
    for (const MacroRecord& r : m.Records)
      EXPECT_TRUE(r.Role != mrSource || r.Kind == okPoint) << "the examples are applied to points";
  }
}

/// A program at an 800 × 600 drawing area whose shipped folder is the source tree's data folder;
/// one pixel per internal unit.
struct Session {
  Session() {
    desk.FoldersAnswer.Shipped = {ShippedFolder};
    prog.Surface = &canvas;
    InstallShellHooks(prog);
  }
  Point2 P(int n) const { return {prog.Doc[n].X1, prog.Doc[n].Y1}; }
  Point2 Q(int n) const { return {prog.Doc[n].X2, prog.Doc[n].Y2}; }
  const TGeomObject& operator[](int n) const { return prog.Doc[n]; }

  ScriptedPlatform desk;
  Program prog{desk};
  RecordingCanvas canvas{800, 600};
  std::vector<int> Sources; ///< the picked points
  std::vector<int> Results; ///< the shown objects the macro created, in file order
};

/// Puts free points at `at`, chooses the macro called `name` in the list, clicks the points in
/// order and collects what was created.
void Apply(Session& s, const std::string& name, const std::vector<Point2>& at) {
  Program& prog = s.prog;
  for (Point2 p : at) {
    prog.MouseWorldX = p.x;
    prog.MouseWorldY = p.y;
    s.Sources.push_back(prog.AppendObject(okPoint));
  }
  Redraw(prog, true);
  prog.History.Reset(prog.Doc);
  const int before = prog.Doc.ObjCount;
  prog.MacroForm = [name](MacroListModel& list) {
    for (std::size_t k = 0; k < list.Entries.size(); ++k)
      if (list.Entries[k].Name == name) list.Selected = static_cast<int>(k);
    return list.CanApply();
  };
  MenuClick(prog, tag::MacroPut, "Встановлення макроконструкції");
  ASSERT_GT(prog.Op.MacroApplyStep, 0) << "the macro is being applied";
  for (int n : s.Sources) {
    const int x = prog.Doc[n].ScrX1, y = prog.Doc[n].ScrY1;
    PlaceMouseMove(prog, MouseButton::None, false, false, x, y);
    ASSERT_EQ(prog.Op.HotObject, n);
    PlaceMouseDown(prog, MouseButton::Left, false, false, x, y);
    PlaceMouseUp(prog, MouseButton::Left, false, false, x, y);
  }
  EXPECT_EQ(prog.Op.MacroApplyStep, 0);
  Redraw(prog, true);
  for (int n = before + 1; n <= prog.Doc.ObjCount; ++n) {
    ASSERT_TRUE(prog.Doc[n].Defined) << "object " << n;
    if (prog.Doc[n].Visible) s.Results.push_back(n);
  }
  ASSERT_EQ(static_cast<int>(s.Results.size()), ByName(name).Results);
}

/// Two triangles: acute and counter-clockwise, obtuse and clockwise.
const std::vector<Point2> Triangles[] = {{{-150, -90}, {170, -60}, {10, 160}}, {{-20, 20}, {220, -60}, {-200, -100}}};
/// Three segments: rising to the right, steep and falling to the left, and upright, where two
/// circles on it meet on a horizontal.
const std::vector<Point2> Segments[] = {{{-120, -40}, {100, 30}}, {{100, 120}, {40, -140}}, {{60, 120}, {60, -140}}};

TEST(ExampleMacros, PerpendicularBisectorPassesThroughTheMidpointAcrossTheSegment) {
  for (const auto& at : Segments) {
    Session s;
    ASSERT_NO_FATAL_FAILURE(Apply(s, "Серединний перпендикуляр", at));
    const Point2 a = s.P(s.Sources[0]), b = s.P(s.Sources[1]);
    const int mid = s.Results[0], line = s.Results[1];
    EXPECT_EQ(s[line].Kind, okPerpendicular);
    EXPECT_AT(s.P(mid), 0.5 * (a + b));
    EXPECT_NEAR(DistToLine(0.5 * (a + b), s.P(line), s.Q(line)), 0, 1e-9);
    EXPECT_GT(Dist(s.P(line), s.Q(line)), 1);
    EXPECT_NEAR(Dot(s.Q(line) - s.P(line), b - a), 0, 1e-6);
  }
}

TEST(ExampleMacros, CircumcircleGoesThroughTheThreeVertices) {
  for (const auto& at : Triangles) {
    Session s;
    ASSERT_NO_FATAL_FAILURE(Apply(s, "Описане коло", at));
    const int centre = s.Results[0], circle = s.Results[1];
    ASSERT_EQ(s[circle].Kind, okCircle);
    EXPECT_AT(s.P(circle), s.P(centre));
    for (int v : s.Sources)
      EXPECT_NEAR(Dist(s.P(centre), s.P(v)), s[circle].Length(), 1e-6);
  }
}

TEST(ExampleMacros, CentroidIsTheMeanOfTheVerticesOnEveryMedian) {
  for (const auto& at : Triangles) {
    Session s;
    ASSERT_NO_FATAL_FAILURE(Apply(s, "Центроїд трикутника", at));
    const Point2 v[3] = {s.P(s.Sources[0]), s.P(s.Sources[1]), s.P(s.Sources[2])};
    const Point2 g = s.P(s.Results[0]);
    EXPECT_AT(g, (1.0 / 3) * (v[0] + v[1] + v[2]));
    for (int k = 0; k < 3; ++k) {
      // The median from vertex k: a segment to the midpoint of the opposite side, two thirds of
      // the way along which the centroid lies.
      const TGeomObject& median = s[s.Results[static_cast<std::size_t>(k + 1)]];
      ASSERT_EQ(median.Kind, okPolyline);
      ASSERT_EQ(median.RefCount, 2);
      EXPECT_EQ(median.Ref(1), s.Sources[static_cast<std::size_t>(k)]);
      const Point2 far = 0.5 * (v[(k + 1) % 3] + v[(k + 2) % 3]);
      EXPECT_AT(s.P(median.Ref(2)), far);
      EXPECT_AT(g, v[k] + (2.0 / 3) * (far - v[k]));
    }
  }
}

TEST(ExampleMacros, IncircleTouchesTheThreeSidesFromInside) {
  for (const auto& at : Triangles) {
    Session s;
    ASSERT_NO_FATAL_FAILURE(Apply(s, "Вписане коло", at));
    const Point2 a = s.P(s.Sources[0]), b = s.P(s.Sources[1]), c = s.P(s.Sources[2]);
    const int centre = s.Results[0], circle = s.Results[1];
    ASSERT_EQ(s[circle].Kind, okCircle);
    EXPECT_AT(s.P(circle), s.P(centre));
    // The incentre weighs each vertex by the length of the side across it.
    const double la = Dist(b, c), lb = Dist(c, a), lc = Dist(a, b);
    EXPECT_AT(s.P(centre), (1 / (la + lb + lc)) * (la * a + lb * b + lc * c));
    const double r = s[circle].Length();
    EXPECT_GT(r, 1);
    EXPECT_NEAR(DistToLine(s.P(centre), a, b), r, 1e-6);
    EXPECT_NEAR(DistToLine(s.P(centre), b, c), r, 1e-6);
    EXPECT_NEAR(DistToLine(s.P(centre), c, a), r, 1e-6);
  }
}

TEST(ExampleMacros, SquareStandsOnTheLeftOfItsSegment) {
  for (const auto& at : Segments) {
    Session s;
    ASSERT_NO_FATAL_FAILURE(Apply(s, "Квадрат на відрізку", at));
    const int a = s.Sources[0], b = s.Sources[1], c = s.Results[0], d = s.Results[1];
    const Point2 side = Left(s.P(b) - s.P(a));
    EXPECT_AT(s.P(c), s.P(b) + side);
    EXPECT_AT(s.P(d), s.P(a) + side);
    const TGeomObject& outline = s[s.Results[2]];
    ASSERT_EQ(outline.Kind, okPolyline);
    const std::vector<int> vertices(outline.Refs.begin() + 1, outline.Refs.begin() + 1 + outline.RefCount);
    EXPECT_EQ(vertices, (std::vector<int>{a, b, c, d, a})) << "a closed outline through the corners";
  }
}

} // namespace
} // namespace drex
