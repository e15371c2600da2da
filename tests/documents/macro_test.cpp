// Macro-constructions by mouse and menu, as a user records and applies them, and the macro file
// as untrusted input.

#include "documents/macro_commands.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "document_bytes.h"
#include "document_test_support.h"
#include "documents/macro_file.h"
#include "interaction/place_mouse.h"
#include "kernel/byte_io.h"
#include "kernel/cp1251.h"
#include "kernel/recalc.h"
#include "shell/commands.h"
#include "support/construction_builder.h"
#include "support/recording_canvas.h"
#include "view/redraw.h"

namespace drex {
namespace {

using testdoc::MakeScratchFolder;
using testdoc::ReadFile;
using testdoc::WriteFile;

constexpr int Width = 800, Height = 600;
const std::string MakeHint = "Створення макроконструкції";
const std::string PutHint = "Встановлення макроконструкції";

/// A session at the drawing area with a scripted desktop whose data folder is a scratch folder;
/// one pixel per internal unit, pixel (px, py) showing world point (px − 400, 300 − py).
class MacroSession : public ::testing::Test {
protected:
  MacroSession() : dir(MakeScratchFolder()) {
    desk.FoldersAnswer.Data = dir.u8string();
    prog.Surface = &canvas;
    InstallShellHooks(prog);
    Redraw(prog, true);
  }
  ~MacroSession() override {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }

  std::string MacroDir() const { return (dir / "Macro").u8string(); }
  std::string MacroPath(const std::string& file) const { return (dir / "Macro" / file).u8string(); }

  int Point(double x, double y) {
    prog.MouseWorldX = x;
    prog.MouseWorldY = y;
    return prog.AppendObject(okPoint);
  }
  int Built(int kind, std::initializer_list<int> refs) {
    const int n = prog.AppendObject(kind);
    int k = 0;
    for (int r : refs)
      prog.Doc[n].Refs[static_cast<std::size_t>(++k)] = static_cast<int16_t>(r);
    prog.Doc[n].RefCount = static_cast<int16_t>(k);
    if (kind == okIntersection) ClassifyIntersection(prog.Doc, n, prog.Naming());
    if (kind == okTangent) AppendTangentTwin(prog.Doc, n, prog.Naming());
    return n;
  }
  void Refresh() {
    Redraw(prog, true);
    prog.History.Reset(prog.Doc);
  }

  /// A press and release on object n: at its point, or for a line halfway between its two points.
  void ClickObject(int n) {
    const TGeomObject& o = prog.Doc[n];
    int x = o.ScrX1, y = o.ScrY1;
    if (IsLineKind(o.Kind)) {
      x = (o.ScrX1 + o.ScrX2) / 2;
      y = (o.ScrY1 + o.ScrY2) / 2;
    }
    PlaceMouseMove(prog, MouseButton::None, false, false, x, y);
    ASSERT_EQ(prog.Op.HotObject, n) << "object under the click";
    PlaceMouseDown(prog, MouseButton::Left, false, false, x, y);
    PlaceMouseUp(prog, MouseButton::Left, false, false, x, y);
  }

  /// Records a macro by menu and clicks and saves it as `file` under the name `name`.
  void Record(std::initializer_list<int> sources, std::initializer_list<int> results) {
    MenuClick(prog, tag::MacroMake, MakeHint);
    for (int s : sources)
      ClickObject(s);
    MenuClick(prog, tag::MacroMake, MakeHint);
    for (int r : results)
      ClickObject(r);
    MenuClick(prog, tag::MacroMake, MakeHint);
  }
  void RecordAs(std::initializer_list<int> sources, std::initializer_list<int> results, const std::string& name,
                const std::string& file) {
    desk.ExpectInput(name);
    desk.ExpectSaveDialog(MacroPath(file));
    Record(sources, results);
    desk.VerifyDone();
  }

  /// Lets the macro dialog choose the entry whose file is `path`.
  void ChooseInDialog(const std::string& path) {
    prog.MacroForm = [path](MacroListModel& list) {
      for (std::size_t k = 0; k < list.Entries.size(); ++k)
        if (list.Entries[k].Path == path) list.Selected = static_cast<int>(k);
      return list.CanApply();
    };
  }
  void Apply(const std::string& file, std::initializer_list<int> picks) {
    ChooseInDialog(MacroPath(file));
    MenuClick(prog, tag::MacroPut, PutHint);
    for (int p : picks)
      ClickObject(p);
  }

  Macro Parsed(const std::string& path) {
    const std::vector<uint8_t> bytes = ReadFile(path);
    Macro m;
    EXPECT_EQ(ParseMacro(bytes.data(), bytes.size(), m), MacroCheck::Ok);
    return m;
  }

  Point2 P(int n) const { return {prog.Doc[n].X1, prog.Doc[n].Y1}; }

  std::filesystem::path dir;
  ScriptedPlatform desk;
  Program prog{desk};
  RecordingCanvas canvas{Width, Height};
};

double Dist(Point2 a, Point2 b) { return std::hypot(a.x - b.x, a.y - b.y); }

std::vector<int16_t> Refs(const MacroRecord& r) { return r.Refs; }

TEST_F(MacroSession, PerpendicularBisectorIsWrittenFieldByFieldAndReadBackByteForByte) {
  const int a = Point(-100, 0), b = Point(100, 40);
  const int m = Built(okMidpoint, {a, b});
  const int line = Built(okLine, {a, b});
  const int perp = Built(okPerpendicular, {m, line});
  Refresh();

  MenuClick(prog, tag::MacroMake, MakeHint);
  EXPECT_EQ(prog.InfoText, "  " + MakeHint + ": виберіть вихідні об'єкти");
  EXPECT_TRUE(prog.AbortEnabled);
  EXPECT_TRUE(desk.TimerRunning(TimerId::Blic));
  ClickObject(b);
  ClickObject(a);
  ClickObject(b); // a second click takes the mark back
  ClickObject(b);
  EXPECT_EQ(prog.Op.PickCount, 2);
  EXPECT_EQ(prog.Op.PickList[0], a);
  EXPECT_EQ(prog.Op.PickList[1], b);
  MenuClick(prog, tag::MacroMake, MakeHint);
  EXPECT_EQ(prog.InfoText, "  " + MakeHint + ": виберіть результуючі об'єкти");
  EXPECT_EQ(prog.Op.PickCount, 0);
  ClickObject(a); // a source is not changed while results are marked
  ClickObject(perp);
  EXPECT_EQ(prog.MacroMarks[static_cast<std::size_t>(a)], mmSource);
  EXPECT_EQ(prog.Op.PickCount, 1);

  desk.ExpectInput("Серединний перпендикуляр");
  desk.ExpectSaveDialog(MacroPath("perp.m2d"));
  MenuClick(prog, tag::MacroMake, MakeHint);
  EXPECT_EQ(prog.Op.MacroState, 0);
  const FileDialogRequest& dialog = desk.Dialogs.back();
  EXPECT_EQ(dialog.Title, "Збереження макроконструкції");
  EXPECT_EQ(dialog.Filter, "Макроконструкції у форматі DREX-2D|*.m2d|Всі файли|*.*");
  EXPECT_EQ(dialog.DefaultExt, "m2d");
  EXPECT_EQ(dialog.InitialDir, MacroDir());
  EXPECT_EQ(dialog.FileName, "Серединний перпендикуляр");

  const std::vector<uint8_t> bytes = ReadFile(MacroPath("perp.m2d"));
  const std::string name = Utf8ToCp1251("Серединний перпендикуляр");
  // Header: magic, name, N = 5, S = 2, R = 1; records A, B (sources), midpoint, line, perpendicular.
  std::vector<uint8_t> expected;
  ByteWriter w(expected);
  w.U32LE(0x261400cb);
  w.U8(static_cast<uint8_t>(name.size()));
  w.Bytes(reinterpret_cast<const uint8_t*>(name.data()), name.size());
  expected.resize(4 + 256, 0);
  for (int v : {5, 2, 1})
    w.I16LE(static_cast<int16_t>(v));
  const auto record = [&](int role, int kind, std::initializer_list<int> refs) {
    w.U8(static_cast<uint8_t>(role));
    w.U8(static_cast<uint8_t>(kind));
    w.I16LE(static_cast<int16_t>(refs.size()));
    w.I16LE(0);
    for (int r : refs)
      w.I16LE(static_cast<int16_t>(r));
  };
  record(1, okPoint, {});
  record(1, okPoint, {});
  record(0, okMidpoint, {1, 2});
  record(0, okLine, {1, 2});
  record(2, okPerpendicular, {3, 4});
  ASSERT_EQ(bytes.size(), MacroHeaderBytes + 5 * 6 + 3 * 2 * 2);
  EXPECT_EQ(bytes, expected);
  const Macro parsed = Parsed(MacroPath("perp.m2d"));
  EXPECT_EQ(SerializeMacro(parsed), bytes);

  // Applied to two new points: one new visible perpendicular through their midpoint.
  const int c = Point(-50, -150), d = Point(150, -150);
  Refresh();
  const int before = prog.Doc.ObjCount;
  Apply("perp.m2d", {});
  EXPECT_EQ(prog.InfoText, "  " + PutHint + " \"Серединний перпендикуляр\": вкажіть точку:");
  ClickObject(c);
  EXPECT_EQ(prog.Op.MacroApplyStep, 2);
  ClickObject(c); // the same object twice is not taken
  EXPECT_EQ(prog.Op.MacroApplyStep, 2);
  ClickObject(d);
  ASSERT_EQ(prog.Doc.ObjCount, before + 3);
  EXPECT_EQ(prog.Op.MacroApplyStep, 0);
  EXPECT_TRUE(prog.Modified);
  const TGeomObject& made = prog.Doc[before + 3];
  EXPECT_EQ(made.Kind, okPerpendicular);
  EXPECT_EQ(made.Visible, 1);
  EXPECT_EQ(prog.Doc[before + 1].Visible, 0);
  EXPECT_EQ(made.Ref(1), before + 1);
  EXPECT_EQ(made.Ref(2), before + 2);
  EXPECT_EQ(prog.Doc[before + 1].Ref(1), c);
  EXPECT_NEAR(made.X1, 50, 1e-9);
  EXPECT_NEAR(made.Y1, -150, 1e-9);
  // The whole application is one step.
  UndoCommand(prog);
  EXPECT_EQ(prog.Doc.ObjCount, before);
}

TEST_F(MacroSession, CircumcentreReplaysOnAnotherTriangle) {
  const int a = Point(-120, -60), b = Point(100, -80), c = Point(20, 110);
  const int ab = Built(okLine, {a, b}), bc = Built(okLine, {b, c});
  const int m1 = Built(okMidpoint, {a, b}), m2 = Built(okMidpoint, {b, c});
  const int p1 = Built(okPerpendicular, {m1, ab}), p2 = Built(okPerpendicular, {m2, bc});
  const int o = Built(okIntersection, {p1, p2});
  Refresh();
  RecordAs({a, b, c}, {o}, "Центр описаного кола", "centre.m2d");
  const Macro m = Parsed(MacroPath("centre.m2d"));
  EXPECT_EQ(m.N(), 10);
  EXPECT_EQ(m.S, 3);
  EXPECT_EQ(m.R, 1);
  EXPECT_EQ(m.Records[9].Subtype, isTwoLines);

  const int x = Point(-200, 200), y = Point(-60, 180), z = Point(-150, 60);
  Refresh();
  const int before = prog.Doc.ObjCount;
  Apply("centre.m2d", {x, y, z});
  ASSERT_EQ(prog.Doc.ObjCount, before + 7);
  const int centre = prog.Doc.ObjCount;
  int shown = 0;
  for (int n = before + 1; n <= centre; ++n)
    shown += prog.Doc[n].Visible;
  EXPECT_EQ(shown, 1);
  ASSERT_TRUE(prog.Doc[centre].Defined);
  EXPECT_NEAR(Dist(P(centre), P(x)), Dist(P(centre), P(y)), 1e-6);
  EXPECT_NEAR(Dist(P(centre), P(x)), Dist(P(centre), P(z)), 1e-6);
  // Names come one after another from the free ones.
  EXPECT_FALSE(prog.Doc[centre].Name.Equals(prog.Doc[o].Name));
  EXPECT_FALSE(prog.Doc[before + 1].Name.Equals(prog.Doc[before + 2].Name));
}

TEST_F(MacroSession, RecordingRefusesWhatCannotBeReplayed) {
  const int a = Point(-100, 0), b = Point(100, 40), free = Point(0, -120);
  const int m = Built(okMidpoint, {a, b});
  const int mf = Built(okMidpoint, {m, free});
  const int poly = Built(okPolynomial, {a, b});
  Refresh();
  // A result built on a free point that is no source.
  desk.ExpectMessage(prog.Msgs[61], mbOK, mbOK);
  Record({a, b}, {mf});
  // Sources but no result.
  desk.ExpectMessage(prog.Msgs[63], mbOK, mbOK);
  Record({a, b}, {});
  // A result that needs no source at all.
  const int graph = prog.AppendObject(okFunction);
  Refresh();
  MenuClick(prog, tag::MacroMake, MakeHint);
  ClickObject(a);
  MenuClick(prog, tag::MacroMake, MakeHint);
  prog.Op.HotObject = graph; // a graph has no single pixel to click on
  PlaceMouseDown(prog, MouseButton::Left, false, false, 0, 0);
  desk.ExpectMessage(prog.Msgs[62], mbOK, mbOK);
  MenuClick(prog, tag::MacroMake, MakeHint);
  // A polynomial cannot be a source: it is not marked.
  MenuClick(prog, tag::MacroMake, MakeHint);
  desk.ExpectMessage(MacroText(prog, "m_SourceKind"), mbOK, mbOK);
  prog.Op.HotObject = poly;
  PlaceMouseDown(prog, MouseButton::Left, false, false, 0, 0);
  EXPECT_EQ(prog.MacroMarks[static_cast<std::size_t>(poly)], mmNone);
  MenuClick(prog, tag::Abort);
  // An unused source: No stops; Yes leaves it out of the file.
  desk.ExpectMessage(prog.Msgs[64], mbYes | mbNo, mbNo);
  Record({a, b, free}, {m});
  desk.ExpectMessage(prog.Msgs[64], mbYes | mbNo, mbYes);
  desk.ExpectInput("", false); // cancelled: the name stays the default one
  desk.ExpectSaveDialog(MacroPath("mid.m2d"));
  Record({a, b, free}, {m});
  const Macro mid = Parsed(MacroPath("mid.m2d"));
  EXPECT_EQ(mid.N(), 3);
  EXPECT_EQ(mid.S, 2);
  EXPECT_EQ(mid.Name.Bytes(), Utf8ToCp1251(prog.Msgs[65]));
  EXPECT_EQ(std::filesystem::directory_iterator(MacroDir())->path().filename(), "mid.m2d");

  // No folder for macros: said, and nothing written.
  WriteFile((dir / "blocked").u8string(), {1});
  desk.FoldersAnswer.Data = (dir / "blocked").u8string();
  desk.ExpectInput("x");
  desk.ExpectMessage(MacroText(prog, "m_NoFolder"), mbOK, mbOK);
  Record({a, b}, {m});
  // A write that fails names the file.
  desk.FoldersAnswer.Data = dir.u8string();
  const std::string nowhere = (dir / "none" / "x.m2d").u8string();
  desk.ExpectInput("x");
  desk.ExpectSaveDialog(nowhere);
  desk.ExpectMessage(prog.Msgs[29] + " " + nowhere, mbOK, mbOK);
  Record({a, b}, {m});
  EXPECT_FALSE(std::filesystem::exists(nowhere));
}

TEST_F(MacroSession, SourcesAreAskedForInFileOrderWhereverTheyStand) {
  // The second source comes after an intermediate object in the table.
  const int a = Point(-100, 0), b = Point(100, 0);
  const int m = Built(okMidpoint, {a, b});
  const int c = Point(0, 150);
  const int n = Built(okMidpoint, {m, c});
  Refresh();
  RecordAs({a, b, c}, {n}, "Дві середини", "late.m2d");
  const Macro late = Parsed(MacroPath("late.m2d"));
  ASSERT_EQ(late.N(), 5);
  EXPECT_EQ(late.Records[2].Role, mrIntermediate);
  EXPECT_EQ(late.Records[3].Role, mrSource);

  const int x = Point(-200, -100), y = Point(-100, -100), z = Point(-150, 100);
  Refresh();
  Apply("late.m2d", {x, y});
  EXPECT_EQ(prog.Op.MacroApplyStep, 4);
  ClickObject(z);
  const int made = prog.Doc.ObjCount;
  EXPECT_EQ(prog.Doc[made].Ref(2), z);
  EXPECT_NEAR(prog.Doc[made].X1, -150, 1e-9);
  EXPECT_NEAR(prog.Doc[made].Y1, 0, 1e-9);
}

TEST_F(MacroSession, SecondSolutionsStayTheSecondOnes) {
  const int o = Point(0, 0), rim = Point(100, 0);
  const int circle = Built(okCircle, {o, rim});
  const int a = Point(-200, 30), b = Point(200, 30);
  const int line = Built(okLine, {a, b});
  const int first = Built(okIntersection, {line, circle});
  const int second = first + 1;
  const int p = Point(-250, -120);
  const int tangent = Built(okTangent, {p, circle});
  const int tangentTwin = tangent + 1;
  // Both second solutions, and a first solution whose pair partner is not part of the macro.
  const int mid = Built(okMidpoint, {second, first});
  const int onTwin = Built(okMidpoint, {p, tangentTwin});
  (void)onTwin;
  Refresh();
  ASSERT_TRUE(IsTwinOfPrevious(prog.Doc, second));
  RecordAs({o, rim, a, b, p}, {mid, tangentTwin}, "Другі корені", "roots.m2d");

  // Replayed on the same sources, every created object lies where its original lies.
  Refresh();
  const int before = prog.Doc.ObjCount;
  Apply("roots.m2d", {o, rim, a, b, p});
  ASSERT_GT(prog.Doc.ObjCount, before);
  Redraw(prog, true);
  int found = 0;
  for (int n = before + 1; n <= prog.Doc.ObjCount; ++n) {
    if (!prog.Doc[n].Visible) continue;
    ASSERT_TRUE(prog.Doc[n].Defined);
    const int original = prog.Doc[n].Kind == okMidpoint ? mid : tangentTwin;
    EXPECT_NEAR(prog.Doc[n].X1, prog.Doc[original].X1, 1e-9);
    EXPECT_NEAR(prog.Doc[n].Y1, prog.Doc[original].Y1, 1e-9);
    EXPECT_NEAR(prog.Doc[n].X2, prog.Doc[original].X2, 1e-9);
    EXPECT_NEAR(prog.Doc[n].Y2, prog.Doc[original].Y2, 1e-9);
    ++found;
  }
  EXPECT_EQ(found, 2);
}

TEST(MacroRecords, FirstSolutionsWithTheSameParentsStayApart) {
  // Two pairs on the same line and circle; only the two first solutions are used.
  Construction c;
  ConstructionBuilder build(c);
  const int o = build.Point(0, 0), rim = build.Point(100, 0);
  const int circle = build.Circle(o, rim);
  const int a = build.Point(-200, 30), b = build.Point(200, 30);
  const int line = build.Line(a, b);
  const int i1 = build.Intersection(line, circle);
  const int i2 = build.Intersection(line, circle);
  const int mid = build.Midpoint(i1, i2);
  std::vector<uint8_t> marks(SlotCount, 0);
  for (int s : {o, rim, a, b})
    marks[static_cast<std::size_t>(s)] = mmSource;
  marks[static_cast<std::size_t>(mid)] = mmResult;
  const MacroSelection found = FindMacroObjects(c, marks);
  ASSERT_EQ(found.Result, MacroSearchResult::Ok);
  Macro m;
  BuildMacroRecords(c, marks, found, m);
  std::vector<int16_t> map(static_cast<std::size_t>(m.N()) + 1, 0);
  int k = 0;
  for (int s : {o, rim, a, b}) {
    while (m.Records[static_cast<std::size_t>(k)].Role != mrSource)
      ++k;
    map[static_cast<std::size_t>(++k)] = static_cast<int16_t>(s);
  }
  const int before = c.ObjCount;
  ASSERT_TRUE(CreateMacroObjects(c, m, map, build.Naming(), 0, 0));
  RecalcPass(c, MakeViewArea(800, 600, c.View), 1, 0);
  EXPECT_NEAR(c[c.ObjCount].X1, c[mid].X1, 1e-9);
  EXPECT_NEAR(c[c.ObjCount].Y1, c[mid].Y1, 1e-9);
  EXPECT_GT(c.ObjCount - before, 3) << "a hidden second solution keeps the two first ones apart";
}

TEST(MacroRecords, NestedTrianglesAreSearchedOnce) {
  // Thirty triangles, each made of the midpoints of the one before: every point of the innermost
  // one reaches the three sources along 2^30 paths.
  Construction c;
  ConstructionBuilder build(c);
  int t[3] = {build.Point(0, 0), build.Point(1000, 0), build.Point(0, 1000)};
  std::vector<uint8_t> marks(SlotCount, 0);
  for (int s : t)
    marks[static_cast<std::size_t>(s)] = mmSource;
  for (int level = 0; level < 30; ++level) {
    const int u[3] = {build.Midpoint(t[0], t[1]), build.Midpoint(t[1], t[2]), build.Midpoint(t[2], t[0])};
    std::copy(u, u + 3, t);
  }
  marks[static_cast<std::size_t>(t[0])] = mmResult;
  const MacroSelection found = FindMacroObjects(c, marks);
  ASSERT_EQ(found.Result, MacroSearchResult::Ok);
  // Of the last triangle one point, of the one before two, of every other one all three.
  EXPECT_EQ(found.Objects.size(), 3u + 3 * 28 + 2 + 1);
  EXPECT_EQ(found.Sources, 3);
}

TEST(MacroRecords, AReferenceToALaterObjectIsKept) {
  // The properties dialog may build an object on a later one: the records put parents first.
  Construction c;
  ConstructionBuilder build(c);
  const int a = build.Point(0, 0), b = build.Point(10, 0);
  const int m = build.Raw(okMidpoint, {a, 0});
  const int later = build.Midpoint(a, b);
  c[m].Refs[2] = static_cast<int16_t>(later);
  std::vector<uint8_t> marks(SlotCount, 0);
  marks[static_cast<std::size_t>(a)] = marks[static_cast<std::size_t>(b)] = mmSource;
  marks[static_cast<std::size_t>(m)] = mmResult;
  const MacroSelection found = FindMacroObjects(c, marks);
  ASSERT_EQ(found.Result, MacroSearchResult::Ok);
  Macro macro;
  BuildMacroRecords(c, marks, found, macro);
  ASSERT_EQ(macro.N(), 4);
  EXPECT_EQ(macro.Records[2].Kind, okMidpoint);
  EXPECT_EQ(Refs(macro.Records[2]), (std::vector<int16_t>{1, 2}));
  EXPECT_EQ(Refs(macro.Records[3]), (std::vector<int16_t>{1, 3}));
  EXPECT_EQ(macro.Records[3].Role, mrResult);
  const std::vector<uint8_t> bytes = SerializeMacro(macro);
  Macro again;
  EXPECT_EQ(ParseMacro(bytes.data(), bytes.size(), again), MacroCheck::Ok);
}

/// A valid macro: two sources, a midpoint, a polyline through all three.
std::vector<uint8_t> ValidMacro() {
  Macro m;
  m.Name.Assign("M");
  m.S = 2;
  m.R = 1;
  m.Records = {{mrSource, okPoint, 0, {}},
               {mrSource, okPoint, 0, {}},
               {mrIntermediate, okMidpoint, 0, {1, 2}},
               {mrResult, okPolyline, 0, {1, 2, 3}}};
  return SerializeMacro(m);
}

TEST(MacroFile, MalformedFilesAreRefusedWithNothingChanged) {
  constexpr std::size_t N = 260, S = 262, R = 264, Rec1 = MacroHeaderBytes, Rec3 = Rec1 + 12, Rec4 = Rec3 + 10;
  const auto put16 = [](std::vector<uint8_t>& b, std::size_t at, int v) {
    b[at] = static_cast<uint8_t>(v & 0xFF);
    b[at + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
  };
  struct Case {
    const char* What;
    std::function<void(std::vector<uint8_t>&)> Damage;
    MacroCheck Expected;
  };
  const std::vector<Case> cases = {
      {"empty", [](auto& b) { b.clear(); }, MacroCheck::Truncated},
      {"header cut", [](auto& b) { b.resize(MacroHeaderBytes - 1); }, MacroCheck::Truncated},
      {"records cut", [](auto& b) { b.pop_back(); }, MacroCheck::Truncated},
      {"trailing byte", [](auto& b) { b.push_back(0); }, MacroCheck::TrailingBytes},
      {"magic", [](auto& b) { b[0] ^= 1; }, MacroCheck::BadMagic},
      {"negative N", [&](auto& b) { put16(b, N, -1); }, MacroCheck::BadCount},
      {"N above 10000", [&](auto& b) { put16(b, N, 10001); }, MacroCheck::BadCount},
      {"negative S", [&](auto& b) { put16(b, S, -2); }, MacroCheck::BadCount},
      {"R above 10000", [&](auto& b) { put16(b, R, 20000); }, MacroCheck::BadCount},
      {"N zero", [&](auto& b) { put16(b, N, 0); }, MacroCheck::NoRecords},
      {"S zero", [&](auto& b) { put16(b, S, 0); }, MacroCheck::NoSources},
      {"S above N", [&](auto& b) { put16(b, S, 5); }, MacroCheck::CountAboveN},
      {"R above N", [&](auto& b) { put16(b, R, 5); }, MacroCheck::CountAboveN},
      {"N above the bytes", [&](auto& b) { put16(b, N, 9000); }, MacroCheck::Truncated},
      {"roles do not add up", [&](auto& b) { put16(b, S, 1); }, MacroCheck::RoleCountDiffers},
      {"role 3", [&](auto& b) { b[Rec3] = 3; }, MacroCheck::BadRole},
      {"kind 14", [&](auto& b) { b[Rec3 + 1] = 14; }, MacroCheck::BadKind},
      {"graph as a source", [&](auto& b) { b[Rec1 + 1] = okFunction; }, MacroCheck::BadSourceKind},
      {"negative n", [&](auto& b) { put16(b, Rec3 + 2, -1); }, MacroCheck::BadRefCount},
      {"n above a fixed kind", [&](auto& b) { put16(b, Rec3 + 2, 4); }, MacroCheck::BadRefCount},
      {"reference to itself", [&](auto& b) { put16(b, Rec3 + 8, 3); }, MacroCheck::BadReference},
      {"reference to a later record", [&](auto& b) { put16(b, Rec3 + 6, 4); }, MacroCheck::BadReference},
      {"reference beyond N", [&](auto& b) { put16(b, Rec4 + 6, 7); }, MacroCheck::BadReference},
      {"negative reference", [&](auto& b) { put16(b, Rec4 + 6, -1); }, MacroCheck::BadReference},
  };
  const std::vector<uint8_t> valid = ValidMacro();
  Macro ok;
  ASSERT_EQ(ParseMacro(valid.data(), valid.size(), ok), MacroCheck::Ok);
  ASSERT_EQ(valid.size(), Rec4 + 12);

  ScriptedPlatform desk;
  Program prog(desk);
  const std::filesystem::path dir = MakeScratchFolder();
  const std::string good = (dir / "good.m2d").u8string();
  WriteFile(good, valid);
  ASSERT_TRUE(LoadMacroFile(prog, good));
  for (const Case& c : cases) {
    std::vector<uint8_t> bytes = valid;
    c.Damage(bytes);
    Macro scratch;
    EXPECT_EQ(ParseMacro(bytes.data(), bytes.size(), scratch), c.Expected) << c.What;
    const std::string path = (dir / "bad.m2d").u8string();
    WriteFile(path, bytes);
    const std::string text = c.Expected == MacroCheck::Truncated ? MacroText(prog, "m_ReadError") : MacroText(prog, "m_Invalid");
    desk.ExpectMessage(text + " " + path, mbOK, mbOK);
    EXPECT_FALSE(LoadMacroFile(prog, path)) << c.What;
    EXPECT_EQ(SerializeMacro(prog.LoadedMacro), valid) << c.What;
  }
  std::filesystem::remove_all(dir);
}

TEST_F(MacroSession, TheListShowsEveryMacroFileOnceAndEachLoadsItsOwn) {
  const std::filesystem::path shipped = dir / "shipped";
  std::filesystem::create_directories(shipped / "Macro");
  desk.FoldersAnswer.Shipped = {shipped.u8string()};
  std::filesystem::create_directories(MacroDir());
  Macro m;
  m.S = 1;
  m.R = 1;
  m.Records = {{mrSource, okPoint, 0, {}}, {mrResult, okMidpoint, 0, {1, 1}}};
  const auto save = [&](const std::string& name, const std::string& path) {
    m.Name.Assign(Utf8ToCp1251(name));
    WriteFile(path, SerializeMacro(m));
  };
  save("бета", MacroPath("b.m2d"));
  save("Альфа", MacroPath("z.M2D"));
  m.Records.push_back({mrIntermediate, okPoint, 0, {}});
  save("бета", (shipped / "Macro" / "b.m2d").u8string());
  save("гама", MacroPath("g.txt"));
  WriteFile(MacroPath("foreign.m2d"), std::vector<uint8_t>(300, 7));
  std::filesystem::create_directories(MacroPath("folder.m2d"));

  MacroListModel list = ListMacros(desk);
  ASSERT_EQ(list.Entries.size(), 3u);
  EXPECT_EQ(list.Entries[0].Name, "Альфа");
  EXPECT_EQ(list.Entries[1].Name, "бета");
  EXPECT_EQ(list.Entries[1].Path, MacroPath("b.m2d"));
  EXPECT_EQ(list.Entries[2].Path, (shipped / "Macro" / "b.m2d").u8string());
  EXPECT_TRUE(list.CanApply());
  ASSERT_TRUE(LoadMacroFile(prog, list.Entries[2].Path));
  EXPECT_EQ(prog.LoadedMacro.N(), 3);
  ASSERT_TRUE(LoadMacroFile(prog, list.Entries[1].Path));
  EXPECT_EQ(prog.LoadedMacro.N(), 2);

  // Nothing chosen: nothing starts.
  prog.MacroForm = [](MacroListModel& l) {
    l.Selected = -1;
    return true;
  };
  MenuClick(prog, tag::MacroPut, PutHint);
  EXPECT_EQ(prog.Op.MacroApplyStep, 0);
}

TEST_F(MacroSession, ApplyingStopsAtTheObjectLimit) {
  const int a = Point(-100, 0), b = Point(100, 0);
  const int m = Built(okMidpoint, {a, b});
  Refresh();
  RecordAs({a, b}, {m}, "mid", "mid.m2d");
  prog.Doc.ObjCount = MaxObjects;
  desk.ExpectMessage(prog.ObjectLimitMessage(), mbOK, mbOK);
  ChooseInDialog(MacroPath("mid.m2d"));
  MenuClick(prog, tag::MacroPut, PutHint);
  EXPECT_EQ(prog.Op.MacroApplyStep, 0);
  EXPECT_EQ(prog.Doc.ObjCount, MaxObjects);
}

} // namespace
} // namespace drex
