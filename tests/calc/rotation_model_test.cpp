#include "calc/rotation_model.h"

#include <algorithm>

#include <gtest/gtest.h>

#include "kernel/cp1251.h"
#include "shell/program.h"
#include "support/construction_builder.h"
#include "support/recording_canvas.h"
#include "support/scripted_platform.h"

namespace drex {
namespace {

constexpr int Size = RotationPictureSize;

class RotationModelTest : public ::testing::Test {
protected:
  RotationModelTest() : prog(ui), build(prog.Doc) {}

  // A free point at (x, y) in user units.
  int Point(double x, double y) { return build.Point(x * prog.UnitLength, y * prog.UnitLength); }
  int Graph(const char* formula, double from, double to) {
    const int g = build.Graph(formula);
    prog.Doc[g].X1 = from;
    prog.Doc[g].Y1 = to;
    return g;
  }
  int BlackLines(const RecordingCanvas& canvas) const {
    const auto lines = canvas.Of(CanvasOp::LineTo);
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [](const CanvasCall& c) { return c.Pen.Color == ColorBlack; }));
  }

  ScriptedPlatform ui;
  Program prog;
  ConstructionBuilder build;
};

TEST_F(RotationModelTest, CandidatesAreTheCurvesInTableOrderWithTheirNames) {
  const int a = Point(0, 1), b = Point(1, 1);
  build.Line(a, b);
  const int poly = build.Polyline({a, b});
  build.Graph("1", 3); // a polar graph is no candidate
  const int graph = build.Graph("x^2");
  const int param = build.Graph("cos(t)", 2, "sin(t)");
  const int nodes = build.Polynomial({a, b});
  build.Circle(a, b);
  prog.Doc[graph].Name.Assign(Utf8ToCp1251("Парабола"));

  const RotationModel model(prog);
  ASSERT_EQ(model.Candidates().size(), 4u);
  EXPECT_EQ(model.Candidates()[0].ObjNo, poly);
  EXPECT_EQ(model.Candidates()[1].ObjNo, graph);
  EXPECT_EQ(model.Candidates()[1].Name, "Парабола");
  EXPECT_EQ(model.Candidates()[2].ObjNo, param);
  EXPECT_EQ(model.Candidates()[3].ObjNo, nodes);
  EXPECT_EQ(model.Selected(), -1);
  EXPECT_EQ(model.SurfaceText(), "");
}

TEST_F(RotationModelTest, OpeningWithoutCandidatesShowsTheErrorAndNoDialog) {
  Point(0, 0);
  build.Graph("1", 3);
  bool shown = false;
  prog.RotationForm = [&](RotationModel&) { shown = true; };
  ui.ExpectMessage(prog.Msgs[38], mbOK, mbOK);
  OpenRotationDialog(prog);
  ui.VerifyDone();
  EXPECT_FALSE(shown);
  EXPECT_TRUE(ui.ProgressMessages.empty());
}

TEST_F(RotationModelTest, OpeningComputesTheFirstCandidateAndShowsTheForm) {
  Graph("1", 0, 1);
  Graph("2", 0, 2);
  int calls = 0;
  prog.RotationForm = [&](RotationModel& model) {
    ++calls;
    EXPECT_EQ(model.Selected(), 0);
    EXPECT_EQ(model.Axis(), RotationAxis::Ox);
    // The unit cylinder about Ox, with AnswerDigits 2.
    EXPECT_EQ(model.SurfaceText(), "6.3");
    EXPECT_EQ(model.VolumeText(), "3.1");
    model.SetAxis(RotationAxis::Oy);
    EXPECT_EQ(model.SurfaceText(), "3.1");
    EXPECT_EQ(model.VolumeText(), "3.1");
    // y = 2 on 0..2 about Oy: the cylinder of radius 2 and height 2.
    model.Select(1);
    EXPECT_EQ(model.VolumeText(), "25");
    prog.Config.AnswerDigits = 5;
    EXPECT_EQ(model.VolumeText(), "25.133");
  };
  OpenRotationDialog(prog);
  EXPECT_EQ(calls, 1);
  EXPECT_FALSE(ui.ProgressVisible);
  // Opening without a form set computes and shows nothing further.
  prog.RotationForm = nullptr;
  OpenRotationDialog(prog);
}

// Equal names are usual in a document; the dialog selects by number.
TEST_F(RotationModelTest, EqualNamesSelectTheChosenObject) {
  const int first = Graph("1", 0, 1);
  const int second = Graph("3", 0, 1);
  prog.Doc[first].Name.Assign("f");
  prog.Doc[second].Name.Assign("f");
  RotationModel model(prog);
  model.Select(0);
  EXPECT_EQ(model.VolumeText(), "3.1");
  model.Select(1);
  EXPECT_EQ(model.VolumeText(), "28");
  model.Select(7); // outside the list: nothing changes
  EXPECT_EQ(model.Selected(), 1);
}

TEST_F(RotationModelTest, UnknownMeasuresAndMissingSolids) {
  const int a = Point(-1, -1), b = Point(1, -1), c = Point(1, 1), d = Point(-1, 1);
  build.Polyline({a, b, c, d}, true); // a square across both axes: its volumes would cancel
  Graph("sqrt(x)", -1, 1);
  const int undefined = Graph("1", 0, 1);
  prog.Doc[undefined].Defined = 0;
  RotationModel model(prog);

  model.Select(0);
  EXPECT_EQ(model.SurfaceText(), "38"); // 12 pi: the surface has no sides to cancel
  EXPECT_EQ(model.VolumeText(), UnknownMeasureText);
  model.Select(1); // fails inside its interval
  EXPECT_EQ(model.SurfaceText(), "???");
  EXPECT_EQ(model.VolumeText(), "???");
  model.Select(2);
  EXPECT_TRUE(model.Outcome().NoSolid);
  EXPECT_EQ(model.SurfaceText(), "");
  EXPECT_EQ(model.VolumeText(), "");

  // While another calculation runs the dialog's is refused and shows nothing.
  model.Select(0);
  {
    CalculationGuard running(prog.Calculus);
    model.SetAxis(RotationAxis::Oy);
  }
  EXPECT_TRUE(model.Outcome().Refused);
  EXPECT_EQ(model.SurfaceText(), "");
}

TEST_F(RotationModelTest, PictureOfAPolylineAboutEitherAxis) {
  build.Polyline({Point(0, 1), Point(1, 1)});
  RotationModel model(prog);
  model.Select(0);
  RecordingCanvas canvas(Size, Size);
  model.DrawPicture(canvas, Size, Size);

  ASSERT_FALSE(canvas.Calls.empty());
  const CanvasCall& fill = canvas.Calls.front();
  EXPECT_EQ(fill.Op, CanvasOp::FillRect);
  EXPECT_EQ(fill.C, Size);
  EXPECT_EQ(fill.Brush.Color, ColorWhite);
  const CanvasCall* vertical = canvas.FindLine(204, 0, 204, Size);
  const CanvasCall* horizontal = canvas.FindLine(0, 204, Size, 204);
  ASSERT_NE(vertical, nullptr);
  ASSERT_NE(horizontal, nullptr);
  EXPECT_EQ(vertical->Pen.Color, ColorRed);
  ASSERT_NE(canvas.FindText("0"), nullptr);
  EXPECT_EQ(canvas.FindText("0")->A, 207);
  EXPECT_EQ(canvas.FindText("0")->B, 192);
  EXPECT_EQ(canvas.FindText("y")->B, 0);
  EXPECT_EQ(canvas.FindText("x")->A, Size - 10);

  // Both extents are 1: the scale is 2 / 329 per pixel, (0, 1) at (205, 40) and (1, 1) at
  // (369, 40). 21 cross-sections of 25 lines, then the curve, last.
  EXPECT_EQ(BlackLines(canvas), 21 * 25 + 1);
  const CanvasCall& last = canvas.Calls.back();
  EXPECT_EQ(last.Op, CanvasOp::LineTo);
  EXPECT_EQ(last.Pen.Color, ColorBlack);
  EXPECT_EQ(std::vector<int>({last.A, last.B, last.C, last.D}), std::vector<int>({205, 40, 369, 40}));
  // The first cross-section about Ox starts at (205 + (40 - 204) / 5, 204).
  EXPECT_NE(canvas.Find(CanvasOp::MoveTo, 172, 204, 0, 0), nullptr);

  model.SetAxis(RotationAxis::Oy);
  canvas.Clear();
  model.DrawPicture(canvas, Size, Size);
  EXPECT_EQ(BlackLines(canvas), 21 * 25 + 1);
  // About Oy the section through (205, 40) starts at the axis, (204, 40 + 1/5).
  EXPECT_NE(canvas.Find(CanvasOp::MoveTo, 204, 40, 0, 0), nullptr);
}

TEST_F(RotationModelTest, PictureOfAGraphHasOneSectionPerStepAndBreaksWhereUndefined) {
  Graph("x", 0, 2);
  Graph("sqrt(x)", -1, 1);
  RotationModel model(prog);
  model.Select(0);
  RecordingCanvas canvas(Size, Size);
  model.DrawPicture(canvas, Size, Size);
  EXPECT_EQ(BlackLines(canvas), 100 * 25 + 100);
  // The extents are 2 and 2: the origin at (205, 204) and the end (2, 2) at (369, 40).
  EXPECT_EQ(canvas.Calls.back().C, 369);
  EXPECT_EQ(canvas.Calls.back().D, 40);

  model.Select(1); // no curve left of 0
  canvas.Clear();
  model.DrawPicture(canvas, Size, Size);
  EXPECT_EQ(BlackLines(canvas), 50 * 25 + 50);

  // No solid: the axes only.
  prog.Doc[model.Candidates()[1].ObjNo].Defined = 0;
  model.Compute();
  canvas.Clear();
  model.DrawPicture(canvas, Size, Size);
  EXPECT_EQ(BlackLines(canvas), 0);
  EXPECT_NE(canvas.FindText("x"), nullptr);
}

} // namespace
} // namespace drex
