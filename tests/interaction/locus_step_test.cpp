// The locus trail and the step display, driven through the commands and the drawing area.

#include <gtest/gtest.h>

#include <cmath>

#include "documents/document_commands.h"
#include "interaction/session.h"
#include "shell/command_table.h"
#include "shell/commands.h"
#include "shell/delete_command.h"
#include "kernel/recalc.h"
#include "view/locus_trace.h"

namespace drex::test {
namespace {

class LocusStep : public Session {
protected:
  LocusStep() { InstallShellHooks(prog); }

  /// The hints the commands carry in the menu.
  void Command(int tag) { MenuClick(prog, tag, FindCommand(tag)->Hint); }
  /// The trail segments drawn by the last redraw, in the traced point's colour.
  std::size_t TrailSegments(int32_t color) {
    canvas.Calls.clear();
    Redraw(prog, true);
    std::size_t n = 0;
    for (const CanvasCall& call : canvas.Of(CanvasOp::LineTo))
      n += call.Pen.Color == color && call.Pen.Width == 1 ? 1 : 0;
    return n;
  }
  void LetThrottlePass() { LocusTraceTick(prog); }
};

TEST_F(LocusStep, StepDisplaySkipsUndefinedObjectsAndEndsAfterTheLast) {
  // Nothing to show: the command does nothing.
  Command(tag::Animate);
  EXPECT_EQ(prog.Op.StepPos, 0);
  EXPECT_FALSE(prog.AbortEnabled);

  const int a = FreePoint(100, 100);
  const int b = FreePoint(100, 100);
  const int line = Built(okLine, {a, b}); // through one point twice: undefined
  const int c = FreePoint(300, 100);
  Obj(c).Visible = 0;
  const int d = FreePoint(400, 300);
  const int hiddenLine = Built(okLine, {c, d});
  Obj(hiddenLine).Visible = 0;
  Refresh();
  ASSERT_FALSE(Obj(line).Defined);

  Command(tag::Animate);
  EXPECT_EQ(prog.InfoText, "  Вивести зображення покроково: " + prog.Msgs[41]);
  EXPECT_EQ(prog.Op.StepPos, 1);
  EXPECT_EQ(prog.Op.PickCount, 1);
  EXPECT_EQ(desk.Timers.count(TimerId::Blic), 1u);
  Click(0, 0); // b
  Click(0, 0); // the undefined line is skipped
  EXPECT_EQ(prog.Op.StepPos, c);
  EXPECT_EQ(prog.List.Current, c - 1);
  Click(0, 0);
  Click(0, 0);
  EXPECT_EQ(prog.Op.StepPos, hiddenLine);
  // During the display a hidden line is drawn when its turn comes; a hidden point is not.
  canvas.Calls.clear();
  Redraw(prog, true);
  EXPECT_FALSE(canvas.Of(CanvasOp::LineTo).empty());
  // Moves neither highlight nor pan; clicks neither select nor drag.
  Move(100, 100);
  EXPECT_EQ(prog.Op.HotObject, 0);
  EXPECT_EQ(Obj(a).Selected, 0);

  Click(0, 0);
  EXPECT_EQ(prog.Op.StepPos, 0);
  EXPECT_FALSE(prog.AbortEnabled);
  EXPECT_EQ(desk.Timers.count(TimerId::Blic), 0u);
}

TEST_F(LocusStep, StepDisplayEndsWithDeletionOrEscape) {
  FreePoint(100, 100);
  FreePoint(200, 100);
  Refresh();
  Command(tag::Animate);
  ShellKeyDown(prog, ShellKey::Escape);
  EXPECT_EQ(prog.Op.StepPos, 0);
  Command(tag::Animate);
  Obj(2).Selected = 1;
  desk.ExpectMessagePrefix("", mbYes | mbNo, mbYes);
  DeleteSelected(prog);
  EXPECT_EQ(prog.Op.StepPos, 0);
  EXPECT_EQ(Count(), 1);
}

/// A centre O, a circle through P, a point Q on the circle, and M the midpoint of Q and a fixed
/// point F: as P is dragged outwards, Q follows the circle's growth and M draws its path.
class TracedMidpoint : public LocusStep {
protected:
  TracedMidpoint() {
    o = FreePoint(400, 300);
    p = FreePoint(450, 300);
    circle = Built(okCircle, {o, p});
    Redraw(prog, true);
    prog.MouseWorldX = 0;
    prog.MouseWorldY = 50;
    q = Built(okPointOn, {circle});
    AttachPoint(prog.Doc, q);
    f = FreePoint(400, 100);
    m = Built(okMidpoint, {q, f});
    Obj(m).Color = 0x0000FF;
    Refresh();
  }
  void MoveP(double x) {
    Obj(p).X1 = x;
    Redraw(prog, true);
  }
  int o = 0, p = 0, circle = 0, q = 0, f = 0, m = 0;
};

TEST_F(TracedMidpoint, PickWaitsForAPointThenTracesIt) {
  Command(tag::ShowGMT);
  EXPECT_EQ(prog.InfoText, "  Зображення геометричного місця точки: " + prog.Msgs[46]);
  EXPECT_TRUE(prog.Op.LocusPickPending);
  // A click on the circle itself leaves the program waiting.
  Click(400 - 50, 300);
  EXPECT_EQ(prog.LocusPoint, 0);
  EXPECT_TRUE(prog.Op.LocusPickPending);
  Click(400, 300 + 100); // not on anything
  EXPECT_TRUE(prog.Op.LocusPickPending);
  const Point2 at{Obj(m).X1, Obj(m).Y1};
  const Point2 s = WorldToScreen(prog.Doc.View, prog.Area, at);
  Click(RoundHalfEven(s.x), RoundHalfEven(s.y));
  EXPECT_EQ(prog.LocusPoint, m);
  EXPECT_FALSE(prog.Op.LocusPickPending);
  EXPECT_EQ(LocusCommandState(prog).Caption, prog.Msgs[52]);
  EXPECT_EQ(LocusCommandState(prog).Image, ImageStopGMT);
  // The redraw that ended the pick recorded the present position: one entry draws nothing.
  EXPECT_EQ(prog.Locus.Index, 1);
  LetThrottlePass();
  EXPECT_EQ(TrailSegments(0x0000FF), 0u);

  // The command again stops the trace.
  Command(tag::ShowGMT);
  EXPECT_EQ(prog.LocusPoint, 0);
  EXPECT_EQ(LocusCommandState(prog).Caption, prog.Msgs[44]);
  EXPECT_EQ(LocusCommandState(prog).Hint, prog.Msgs[45]);
}

TEST_F(TracedMidpoint, TrailIsThrottledAndKeepsTheNewestHundred) {
  prog.LocusPoint = m;
  Redraw(prog, true);
  ASSERT_EQ(prog.Locus.Index, 1);
  // While the throttle runs nothing is recorded; a point that does not move adds nothing.
  MoveP(60);
  EXPECT_EQ(prog.Locus.Index, 1);
  LetThrottlePass();
  Redraw(prog, true);
  EXPECT_EQ(prog.Locus.Index, 2);
  LetThrottlePass();
  Redraw(prog, true);
  EXPECT_EQ(prog.Locus.Index, 2);

  for (int k = 0; k < 100; ++k) {
    LetThrottlePass();
    MoveP(61 + k);
  }
  // 102 positions were recorded: the ring wrapped and the two oldest dropped out.
  EXPECT_TRUE(prog.Locus.Wrapped);
  EXPECT_EQ(prog.Locus.Index, 2);
  EXPECT_EQ(LocusTraceLength(prog.Locus), LocusTraceCapacity);
  // M is halfway between Q (on the circle of radius r) and F, so its y tells the radius.
  const auto radiusOf = [&](Point2 e) { return 2 * e.y - 200; };
  EXPECT_NEAR(radiusOf(LocusTraceEntry(prog.Locus, 0)), 61, 1e-9);
  EXPECT_NEAR(radiusOf(LocusTraceEntry(prog.Locus, LocusTraceCapacity - 1)), 160, 1e-9);
  LetThrottlePass();
  EXPECT_EQ(TrailSegments(0x0000FF), std::size_t{LocusTraceCapacity - 1});

  // An undefined point stops the recording, not the drawing.
  LetThrottlePass();
  Obj(p).X1 = 0;
  Obj(p).Y1 = 0;
  Redraw(prog, true);
  EXPECT_EQ(prog.Locus.Index, 2);
  EXPECT_EQ(TrailSegments(0x0000FF), std::size_t{LocusTraceCapacity - 1});
}

TEST_F(TracedMidpoint, RemovingTheTracedPointOrLoadingEndsTheTrace) {
  prog.LocusPoint = m;
  Redraw(prog, true);
  Obj(q).Selected = 1; // M depends on Q and goes with it
  desk.ExpectMessagePrefix("", mbYes | mbNo, mbYes);
  DeleteSelected(prog);
  EXPECT_EQ(prog.LocusPoint, 0);
  EXPECT_EQ(prog.Locus.Index, 0);
  EXPECT_EQ(LocusCommandState(prog).Image, ImageShowGMT);

  prog.LocusPoint = f - 1; // F moved up in place of Q
  LetThrottlePass();
  Redraw(prog, true);
  EXPECT_EQ(prog.Locus.Index, 1);
  prog.Modified = false;
  desk.ExpectMessage(prog.Msgs[32], mbYes | mbNo, mbYes);
  NewDocumentCommand(prog);
  EXPECT_EQ(prog.LocusPoint, 0);
  EXPECT_EQ(prog.Locus.Index, 0);
}

} // namespace
} // namespace drex::test
