// Construction by mouse, session by session: the tool, the clicks, the object that results.

#include <cmath>
#include <vector>

#include "dialogs/object_list.h"
#include "interaction/pick_tables.h"
#include "shell/commands.h"
#include "session.h"

namespace drex::test {
namespace {

using Construct = Session;

TEST_F(Construct, PointOnEmptySpaceIsAFreePointNamedWithTheFirstLetter) {
  Tool(PointTool);
  EXPECT_EQ(prog.InfoText, "  Створення: вкажіть положення точки");
  EXPECT_TRUE(prog.AbortEnabled);
  EXPECT_TRUE(desk.TimerRunning(TimerId::Blic));
  EXPECT_EQ(desk.Timers[TimerId::Blic], 200);

  Click(450, 250);
  ASSERT_EQ(Count(), 1);
  EXPECT_EQ(Obj(1).Kind, okPoint);
  EXPECT_TRUE(Obj(1).Name.Equals("A"));
  EXPECT_DOUBLE_EQ(Obj(1).X1, 50);
  EXPECT_DOUBLE_EQ(Obj(1).Y1, 50);
  EXPECT_EQ(Obj(1).RefCount, 0);
  EXPECT_TRUE(prog.Modified);
  // The tool ends with the construction.
  EXPECT_EQ(prog.Op.ToolMode, 0);
  EXPECT_EQ(prog.InfoText, "  ");
  EXPECT_FALSE(prog.AbortEnabled);
  EXPECT_FALSE(desk.TimerRunning(TimerId::Blic));
}

TEST_F(Construct, PointToolIgnoresAClickOnAPoint) {
  FreePoint(450, 250);
  Refresh();
  Tool(PointTool);
  Click(451, 251);
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(prog.Op.ToolMode, 1);
  EXPECT_EQ(prog.Op.PickCount, 0);
}

TEST_F(Construct, PointOnACircleAttachesOnYesAndIsFreeOnNo) {
  const int centre = FreePoint(400, 300), rim = FreePoint(500, 300);
  const int circle = Built(okCircle, {centre, rim});
  Refresh();
  const std::string question = "Прикріпити точку до об'єкта " + Caption(circle) + " ?";

  desk.ExpectMessage(question, mbYes | mbNo, mbYes);
  Tool(PointTool);
  Click(400, 200); // top of the circle
  ASSERT_EQ(Count(), 4);
  EXPECT_EQ(Obj(4).Kind, okPointOn);
  EXPECT_EQ(Obj(4).RefCount, 1);
  EXPECT_EQ(Obj(4).Ref(1), circle);
  EXPECT_NEAR(Obj(4).AttachA(), 0, 1e-12);
  EXPECT_NEAR(Obj(4).AttachB(), 1, 1e-12);

  desk.ExpectMessage(question, mbYes | mbNo, mbNo);
  Tool(PointTool);
  Click(401, 402); // near the bottom of the circle
  ASSERT_EQ(Count(), 5);
  EXPECT_EQ(Obj(5).Kind, okPoint);
  EXPECT_EQ(Obj(5).RefCount, 0);
  EXPECT_DOUBLE_EQ(Obj(5).X1, 1);
  EXPECT_DOUBLE_EQ(Obj(5).Y1, -102);
}

TEST_F(Construct, MidpointFromAPointMadeOnALineAndAFreePointMadeOnEmptySpace) {
  const int a = FreePoint(100, 500), b = FreePoint(700, 500);
  const int line = Built(okLine, {a, b});
  Refresh();
  Tool(MidpointTool);
  EXPECT_EQ(prog.InfoText, "  Створення: вкажіть першу точку");

  Click(300, 502);
  ASSERT_EQ(Count(), 4);
  EXPECT_EQ(Obj(4).Kind, okPointOn);
  EXPECT_EQ(Obj(4).Ref(1), line);
  EXPECT_EQ(prog.Op.PickCount, 1);
  EXPECT_EQ(prog.InfoText, "  Створення: вкажіть другу точку");

  Click(300, 100);
  ASSERT_EQ(Count(), 6);
  EXPECT_EQ(Obj(5).Kind, okPoint);
  EXPECT_EQ(Obj(6).Kind, okMidpoint);
  EXPECT_EQ(Obj(6).RefCount, 2);
  EXPECT_EQ(Obj(6).Ref(1), 4);
  EXPECT_EQ(Obj(6).Ref(2), 5);
  // The point made on the line lies on it; the midpoint is halfway up.
  EXPECT_NEAR(Obj(4).Y1, -200, 1e-9);
  EXPECT_NEAR(Obj(6).X1, -100, 0.05);
  EXPECT_NEAR(Obj(6).Y1, 0, 1e-9);
  EXPECT_EQ(prog.Op.ToolMode, 0);
}

TEST_F(Construct, ParallelRefusesEmptySpaceAndACircleForItsLine) {
  const int p = FreePoint(100, 100), c = FreePoint(600, 400), r = FreePoint(650, 400);
  const int circle = Built(okCircle, {c, r});
  const int q = FreePoint(100, 500), s = FreePoint(300, 450);
  const int line = Built(okLine, {q, s});
  Refresh();
  Tool(ParallelTool);
  Click(100, 100);
  EXPECT_EQ(prog.Op.PickCount, 1);
  const int before = Count();
  Click(250, 250); // empty space
  Click(600, 350); // the circle
  EXPECT_EQ(Count(), before);
  EXPECT_EQ(prog.Op.PickCount, 1);
  EXPECT_EQ(prog.InfoText.substr(prog.InfoText.size() - std::string("пряму").size()), "пряму");
  (void)circle;

  Click(200, 475); // the line
  ASSERT_EQ(Count(), before + 1);
  EXPECT_EQ(Obj(Count()).Kind, okParallel);
  EXPECT_EQ(Obj(Count()).Ref(1), p);
  EXPECT_EQ(Obj(Count()).Ref(2), line);
}

TEST_F(Construct, IntersectionOfACircleAndALineMakesTwinsWithTheLineFirst) {
  const int c = FreePoint(400, 300), r = FreePoint(500, 300);
  const int circle = Built(okCircle, {c, r});
  const int a = FreePoint(100, 300), b = FreePoint(700, 301);
  const int line = Built(okLine, {a, b});
  Refresh();
  Tool(IntersectionTool);
  Click(400, 200); // circle
  Click(200, 300); // line
  ASSERT_EQ(Count(), 8);
  for (int n : {7, 8}) {
    EXPECT_EQ(Obj(n).Kind, okIntersection);
    EXPECT_EQ(Obj(n).Ref(1), line);
    EXPECT_EQ(Obj(n).Ref(2), circle);
    EXPECT_EQ(Obj(n).Subtype(), isLineCircle);
  }
  EXPECT_EQ(Obj(7).RootNo(), 1);
  EXPECT_EQ(Obj(8).RootNo(), 2);
  EXPECT_FALSE(Obj(7).Name.Equals(Obj(8).Name.Bytes()));
  EXPECT_TRUE(Obj(7).Defined && Obj(8).Defined);
  EXPECT_GT(std::fabs(Obj(7).X1 - Obj(8).X1), 150);
}

TEST_F(Construct, IntersectionOfTwoLinesIsOnePoint) {
  const int a = FreePoint(100, 100), b = FreePoint(700, 500);
  Built(okLine, {a, b});
  const int c = FreePoint(100, 500), d = FreePoint(700, 100);
  Built(okLine, {c, d});
  Refresh();
  Tool(IntersectionTool);
  Click(200, 166);
  Click(200, 433);
  ASSERT_EQ(Count(), 7);
  EXPECT_EQ(Obj(7).Subtype(), isTwoLines);
  EXPECT_NEAR(Obj(7).X1, 0, 1e-9);
  EXPECT_NEAR(Obj(7).Y1, 0, 1e-9);
}

TEST_F(Construct, TangentsFromAPointToACircleComeAsAPair) {
  const int p = FreePoint(100, 300);
  const int c = FreePoint(500, 300), r = FreePoint(550, 300);
  const int circle = Built(okCircle, {c, r});
  Refresh();
  Tool(TangentTool);
  EXPECT_EQ(prog.InfoText, "  Створення: вкажіть точку");
  Click(100, 300);
  EXPECT_EQ(prog.InfoText, "  Створення: вкажіть коло");
  Click(500, 250);
  ASSERT_EQ(Count(), 6);
  for (int n : {5, 6}) {
    EXPECT_EQ(Obj(n).Kind, okTangent);
    EXPECT_EQ(Obj(n).Ref(1), p);
    EXPECT_EQ(Obj(n).Ref(2), circle);
    EXPECT_TRUE(Obj(n).Defined);
  }
  EXPECT_EQ(Obj(5).RootNo(), 1);
  EXPECT_EQ(Obj(6).RootNo(), 2);
  EXPECT_NE(Obj(5).Y2, Obj(6).Y2);
}

TEST_F(Construct, EveryTwoPickToolRefersToItsPicksInOrder) {
  struct Case {
    int tag;
    int kind;
  };
  for (const Case k : {Case{LineTool, okLine}, Case{CircleTool, okCircle}, Case{SymmetricTool, okSymmetric},
                       Case{PerpendicularTool, okPerpendicular}}) {
    SCOPED_TRACE(k.tag);
    prog.Doc.ObjCount = 0;
    const int a = FreePoint(100, 100), b = FreePoint(300, 100), c = FreePoint(300, 400);
    const int line = Built(okLine, {b, c});
    Refresh();
    Tool(k.tag);
    Click(100, 100);
    Click(k.tag == PerpendicularTool ? 300 : 300, k.tag == PerpendicularTool ? 250 : 100);
    ASSERT_EQ(Count(), 5);
    EXPECT_EQ(Obj(5).Kind, k.kind);
    EXPECT_EQ(Obj(5).Ref(1), a);
    EXPECT_EQ(Obj(5).Ref(2), k.tag == PerpendicularTool ? line : b);
  }
}

TEST_F(Construct, BisectorTakesThreePointsMakingMissingOnesOnTheFly) {
  Tool(BisectorTool);
  Click(600, 300);
  EXPECT_EQ(prog.InfoText, "  Створення: вкажіть другу точку");
  Click(400, 300);
  EXPECT_EQ(prog.InfoText, "  Створення: вкажіть третю точку");
  Click(400, 100);
  ASSERT_EQ(Count(), 4);
  EXPECT_EQ(Obj(4).Kind, okBisector);
  EXPECT_EQ(Obj(4).RefCount, 3);
  EXPECT_NEAR(Obj(4).X2 - Obj(4).X1, Obj(4).Y2 - Obj(4).Y1, 1e-9); // 45°
}

TEST_F(Construct, ClosedPolylineEndedByTheRightButton) {
  Tool(PolylineTool);
  Click(100, 100);
  EXPECT_EQ(prog.InfoText, "  Створення: вкажіть положення вершин. Права кнопка мишки - кінець введення.");
  Click(300, 100);
  Click(300, 300);
  Click(101, 101); // the first vertex again
  EXPECT_EQ(Count(), 3);
  EXPECT_EQ(prog.Op.PickCount, 4);
  RightClick(600, 600);
  ASSERT_EQ(Count(), 4);
  const TGeomObject& poly = Obj(4);
  EXPECT_EQ(poly.Kind, okPolyline);
  ASSERT_EQ(poly.RefCount, 4);
  EXPECT_EQ(poly.Ref(1), 1);
  EXPECT_EQ(poly.Ref(4), 1);
  EXPECT_NEAR(std::fabs(poly.Area()), 200.0 * 200 / 2 / (100.0 * 100), 1e-9);
  EXPECT_EQ(prog.Op.ToolMode, 0);
}

TEST_F(Construct, PropertiesDialogCompletesOrDropsTheNewPolylineOrPolynomial) {
  std::vector<int> asked;
  bool accept = false;
  prog.ObjectPropertiesHook = [&](int n) {
    // The dialog sees the finished object with no tool running any more.
    EXPECT_EQ(prog.Op.ToolMode, 0);
    EXPECT_EQ(prog.Doc[n].RefCount, 2);
    asked.push_back(n);
    return accept;
  };
  Tool(PolylineTool);
  Click(100, 100);
  Click(300, 100);
  RightClick(600, 600);
  // Cancelled: the polyline is dropped, the vertices made for it stay.
  EXPECT_EQ(asked, std::vector<int>{3});
  EXPECT_EQ(Count(), 2);
  EXPECT_TRUE(prog.Modified);

  accept = true;
  Tool(PolynomialTool);
  Click(100, 200);
  Click(300, 250);
  RightClick(600, 600);
  EXPECT_EQ(asked, (std::vector<int>{3, 5}));
  ASSERT_EQ(Count(), 5);
  EXPECT_EQ(Obj(5).Kind, okPolynomial);

  // Other tools finish without the dialog.
  Tool(LineTool);
  Click(100, 100);
  Click(300, 250);
  EXPECT_EQ(Count(), 6);
  EXPECT_EQ(asked.size(), 2u);
}

TEST_F(Construct, EveryObjectMadeByMouseReachesTheObjectList) {
  InstallShellHooks(prog);
  unsigned revision = prog.List.ListRevision;
  auto rebuilt = [&] {
    const bool changed = prog.List.ListRevision != revision;
    revision = prog.List.ListRevision;
    return changed;
  };
  Tool(CircleTool);
  Click(400, 300);
  EXPECT_TRUE(rebuilt()) << "a point made on the fly";
  EXPECT_EQ(prog.List.Current, 0);
  Click(500, 300);
  EXPECT_TRUE(rebuilt());
  ASSERT_EQ(Count(), 3);
  // The report of the current line is that of the finished construction.
  EXPECT_EQ(prog.List.Report.back(), "Координати: (0, 0)");
  ObjListClick(prog, 2);
  EXPECT_EQ(prog.List.Report[2], "Радіус: 1");

  // A polyline dropped in its dialog leaves the list with the vertices only.
  prog.ObjectPropertiesHook = [](int) { return false; };
  Tool(PolylineTool);
  Click(100, 100);
  Click(300, 100);
  rebuilt();
  RightClick(600, 600);
  EXPECT_TRUE(rebuilt());
  EXPECT_EQ(Count(), 5);
  EXPECT_EQ(prog.List.Current, 2);
}

TEST_F(Construct, RightButtonMeansNothingToOtherTools) {
  Tool(LineTool);
  Click(100, 100);
  RightClick(300, 300);
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(prog.Op.ToolMode, 6);
  EXPECT_EQ(prog.Op.PickCount, 1);
  // With no tool at all the right button neither selects nor starts a band.
  AbortOperation(prog);
  RightClick(100, 100);
  EXPECT_EQ(Obj(1).Selected, 0);
  EXPECT_FALSE(prog.Op.RubberBand);
}

TEST_F(Construct, PolylineOf500VerticesIsMadeWithoutTheRightButton) {
  Tool(PolylineTool);
  for (int k = 0; k < 500; ++k) {
    ASSERT_EQ(prog.Op.ToolMode, 11);
    Click(20 + (k % 25) * 30, 20 + (k / 25) * 28);
  }
  ASSERT_EQ(Count(), 501);
  EXPECT_EQ(Obj(501).Kind, okPolyline);
  EXPECT_EQ(Obj(501).RefCount, 500);
  EXPECT_EQ(prog.Op.ToolMode, 0);
}

TEST_F(Construct, PolynomialTakesEachNodeOnceAndIsMadeAtTheTenth) {
  Tool(PolynomialTool);
  Click(50, 300);
  Click(52, 302); // the same node
  EXPECT_EQ(prog.Op.PickCount, 1);
  for (int k = 1; k < 10; ++k) {
    ASSERT_EQ(Count(), k);
    Click(50 + 70 * k, 300 - (k % 3) * 40);
  }
  ASSERT_EQ(Count(), 11);
  EXPECT_EQ(Obj(11).Kind, okPolynomial);
  EXPECT_EQ(Obj(11).RefCount, 10);
  EXPECT_TRUE(Obj(11).Defined);
  EXPECT_EQ(prog.Op.ToolMode, 0);
}

TEST_F(Construct, AbortKeepsThePointsMadeOnTheFly) {
  Tool(CircleTool);
  Click(400, 300);
  EXPECT_EQ(prog.InfoText, "  Створення: вкажіть точку на колі");
  AbortOperation(prog);
  EXPECT_EQ(Count(), 1);
  EXPECT_EQ(prog.Op.PickCount, 0);
  EXPECT_EQ(prog.InfoText, "  ");
  Click(500, 300); // no tool: empty space only starts a band
  EXPECT_EQ(Count(), 1);
}

TEST_F(Construct, PickedObjectsBlinkWhileTheToolWaits) {
  FreePoint(100, 100);
  Refresh();
  Tool(LineTool);
  Click(100, 100);
  ASSERT_TRUE(prog.Op.BlinkPhase);
  BlinkTick(prog);
  EXPECT_FALSE(prog.Op.BlinkPhase);
  BlinkTick(prog);
  EXPECT_TRUE(prog.Op.BlinkPhase);
}

TEST_F(Construct, OverAPolynomialTheMissingPointIsAFreeOne) {
  // A point cannot sit on a polynomial: it would never be placed and everything on it would stay
  // undefined.
  const int a = FreePoint(200, 400), b = FreePoint(600, 200);
  Built(okPolynomial, {a, b});
  Refresh();
  Tool(MidpointTool);
  Click(500, 250); // on the polynomial
  ASSERT_EQ(Count(), 4);
  EXPECT_EQ(Obj(4).Kind, okPoint);
  EXPECT_DOUBLE_EQ(Obj(4).X1, WorldX(500));
  Click(300, 100);
  ASSERT_EQ(Count(), 6);
  EXPECT_TRUE(Obj(6).Defined);
}

TEST_F(Construct, PointAttachedToAPolylineStaysWhereItWasClicked) {
  const int a = FreePoint(100, 100), b = FreePoint(300, 100), c = FreePoint(300, 300);
  const int poly = Built(okPolyline, {a, b, c});
  Refresh();
  desk.ExpectMessage("Прикріпити точку до об'єкта " + Caption(poly) + " ?", mbYes | mbNo, mbYes);
  Tool(PointTool);
  Click(200, 100);
  ASSERT_EQ(Count(), 5);
  EXPECT_EQ(Obj(5).Kind, okPointOn);
  EXPECT_EQ(Obj(5).Ref(1), poly);
  EXPECT_TRUE(Obj(5).Defined);
  EXPECT_DOUBLE_EQ(Obj(5).X1, WorldX(200));
  EXPECT_DOUBLE_EQ(Obj(5).Y1, WorldY(100));
}

TEST_F(Construct, PointOnObjectToolTakesOnlyLinesPolylinesAndCircles) {
  const int a = FreePoint(100, 500), b = FreePoint(700, 500);
  const int line = Built(okLine, {a, b});
  Refresh();
  Tool(13);
  Click(400, 300); // empty space
  Click(100, 500); // a point
  EXPECT_EQ(Count(), 3);
  Click(400, 503);
  ASSERT_EQ(Count(), 4);
  EXPECT_EQ(Obj(4).Kind, okPointOn);
  EXPECT_EQ(Obj(4).Ref(1), line);
  EXPECT_NEAR(Obj(4).Y1, WorldY(500), 1e-9);
}

TEST_F(Construct, SymmetricPointInALine) {
  const int p = FreePoint(300, 200);
  const int a = FreePoint(100, 300), b = FreePoint(700, 300);
  const int mirror = Built(okLine, {a, b});
  Refresh();
  Tool(SymmetricTool);
  Click(300, 200);
  EXPECT_EQ(prog.InfoText, "  Створення: вкажіть точку, пряму або відрізок");
  Click(500, 302);
  ASSERT_EQ(Count(), 5);
  EXPECT_EQ(Obj(5).Kind, okSymmetric);
  EXPECT_EQ(Obj(5).Ref(1), p);
  EXPECT_EQ(Obj(5).Ref(2), mirror);
  EXPECT_NEAR(Obj(5).Y1, WorldY(400), 1e-9);
}

TEST_F(Construct, RightButtonAtOnceKeepsAnEmptyPolylineOrPolynomial) {
  Tool(PolylineTool);
  RightClick(300, 300);
  Tool(PolynomialTool);
  RightClick(300, 300);
  ASSERT_EQ(Count(), 2);
  EXPECT_EQ(Obj(1).Kind, okPolyline);
  EXPECT_EQ(Obj(2).Kind, okPolynomial);
  EXPECT_EQ(Obj(1).RefCount, 0);
  EXPECT_EQ(Obj(2).RefCount, 0);
  EXPECT_EQ(prog.Op.ToolMode, 0);
  // Empty curves are neither hit nor caught.
  Click(300, 300);
  Drag(0, 0, 799, 599);
  EXPECT_EQ(prog.Op.HotObject, 0);
  EXPECT_EQ(Obj(1).Selected, 0);
  EXPECT_EQ(Obj(2).Selected, 0);
}

TEST_F(Construct, OnlyTheConstructionTagsStartATool) {
  for (int tag : {10, 24, 0, -1, 101}) {
    Tool(tag);
    EXPECT_EQ(prog.Op.ToolMode, 0) << tag;
    EXPECT_FALSE(desk.TimerRunning(TimerId::Blic));
  }
  // A new tool ends the one before it; its picks are dropped.
  Tool(LineTool);
  Click(100, 100);
  Tool(CircleTool);
  EXPECT_EQ(prog.Op.ToolMode, 12);
  EXPECT_EQ(prog.Op.PickCount, 0);
  EXPECT_EQ(prog.InfoText, "  Створення: вкажіть точку - центр кола");
}

TEST_F(Construct, PromptPrefixIsCutTo255Characters) {
  StartTool(prog, PointTool, std::string(300, 'x'));
  EXPECT_EQ(prog.Op.PromptPrefix, std::string(255, 'x'));
  StartTool(prog, PointTool, std::string(240, 'x') + "ґґґґґґґґґґґґґґґґґґґґ");
  EXPECT_EQ(prog.Op.PromptPrefix, std::string(240, 'x') + "ґґґґґґґґґґґґґґґ");
}

// The table holds 10000 objects; every way a click adds objects stops there.
class AtTheLimit : public Session {
protected:
  /// Fills the table up to `count` objects with hidden points far off the drawing area.
  void FillTo(int count) {
    for (int n = Count() + 1; n <= count; ++n) {
      TGeomObject& o = prog.Doc[n];
      o = TGeomObject{};
      o.Kind = okPoint;
      o.X1 = -100000;
      o.Defined = 1;
    }
    prog.Doc.ObjCount = static_cast<int16_t>(count);
  }
  void ExpectLimitMessage() {
    desk.ExpectMessage("Максимальна кількість робочих об'єктів не повинна перевищувати 10000.", mbOK, mbOK);
  }
};

TEST_F(AtTheLimit, ToolDoesNotStartWithAFullTable) {
  FillTo(MaxObjects);
  ExpectLimitMessage();
  Tool(PointTool);
  EXPECT_EQ(prog.Op.ToolMode, 0);
}

TEST_F(AtTheLimit, PointOnTheFlyBeyondTheLimitEndsTheOperation) {
  FillTo(MaxObjects - 1);
  Refresh();
  Tool(MidpointTool);
  Click(100, 100); // object 10000
  ASSERT_EQ(Count(), MaxObjects);
  ExpectLimitMessage();
  Click(200, 100);
  EXPECT_EQ(Count(), MaxObjects);
  EXPECT_EQ(prog.Op.ToolMode, 0);
  EXPECT_EQ(prog.InfoText, "  ");
}

TEST_F(AtTheLimit, CreationBeyondTheLimitIsRefused) {
  const int a = FreePoint(100, 100);
  FillTo(MaxObjects - 1);
  Refresh();
  Tool(LineTool);
  Click(100, 100);
  ExpectLimitMessage();
  Click(300, 100); // the free point made here is object 10000; the line would be one more
  ASSERT_EQ(Count(), MaxObjects);
  EXPECT_EQ(Obj(MaxObjects).Kind, okPoint);
  EXPECT_EQ(prog.Op.ToolMode, 0);
  (void)a;
}

TEST_F(AtTheLimit, TwinsNeedRoomForBoth) {
  const int c = FreePoint(400, 300), r = FreePoint(500, 300);
  Built(okCircle, {c, r});
  const int a = FreePoint(100, 300), b = FreePoint(700, 301);
  Built(okLine, {a, b});
  const int p = FreePoint(100, 100);
  FillTo(MaxObjects - 1);
  Refresh();

  Tool(IntersectionTool);
  Click(400, 200);
  ExpectLimitMessage();
  Click(200, 300);
  EXPECT_EQ(Count(), MaxObjects - 1);
  EXPECT_EQ(prog.Op.ToolMode, 0);

  Tool(TangentTool);
  Click(100, 100);
  ExpectLimitMessage();
  Click(400, 200);
  EXPECT_EQ(Count(), MaxObjects - 1);
  (void)p;

  // One slot is enough for a single object.
  Tool(LineTool);
  Click(100, 100);
  Click(400, 300);
  EXPECT_EQ(Count(), MaxObjects);
  EXPECT_EQ(Obj(MaxObjects).Kind, okLine);
}

TEST(PickTables, StepsTakeWholeKindFamiliesAndPromptsFollowTheMessageTable) {
  for (int m = 1; m < ToolModeCount; ++m) {
    for (int s = 0; s < TableSteps; ++s) {
      const KindSet k = StepKindSet(m, s);
      // A step takes all points or none of them.
      EXPECT_TRUE((k & PointKindSet) == 0 || (k & PointKindSet) == PointKindSet) << m << "/" << s;
      EXPECT_EQ(StepPrompts[static_cast<std::size_t>(m)][static_cast<std::size_t>(s)], 100 + 3 * (m - 1) + s);
    }
    // Every pick the tool needs has a step (or any point from the fourth on).
    for (int s = 0; s < std::min(RequiredPicks[static_cast<std::size_t>(m)], TableSteps); ++s)
      EXPECT_NE(StepKindSet(m, s), 0) << m << "/" << s;
  }
  EXPECT_TRUE(StepAcceptsPoints(11, 7));
  EXPECT_FALSE(StepAcceptsPoints(4, 0));
  EXPECT_FALSE(StepAcceptsPoints(10, 1));
}

} // namespace
} // namespace drex::test
