// Pictures for files, the clipboard and the printer: what they show, the frames they are drawn in,
// and the commands that ask the desktop for them.

#include "view/picture_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "shell/command_table.h"
#include "shell/commands.h"
#include "shell/program.h"
#include "support/construction_builder.h"
#include "support/recording_canvas.h"
#include "support/scripted_platform.h"
#include "view/picture_export.h"
#include "view/redraw.h"

namespace drex {
namespace {

class PictureTest : public testing::Test {
protected:
  PictureTest() {
    prog.UnitLength = 48;
    prog.Surface = &screen;
    ConstructionBuilder b(prog.Doc);
    a = b.Point(0, 0);
    c = b.Point(96, 0);
    circle = b.Circle(a, c);
    line = b.Line(a, c);
    prog.Doc.View = TViewState{20, -10, 1.5};
    Redraw(prog, true);
  }

  ScriptedPlatform desktop;
  Program prog{desktop};
  RecordingCanvas screen{400, 300};
  int a = 0, c = 0, circle = 0, line = 0;
};

bool AnyXor(const RecordingCanvas& canvas) {
  return std::any_of(canvas.Calls.begin(), canvas.Calls.end(),
                     [](const CanvasCall& call) { return call.Pen.Mode == PenMode::Xor; });
}

TEST_F(PictureTest, APictureLeavesOutTheMarksOfTheMomentAndTheWindowAsItWas) {
  // Selected, picked and blanked by the blink, with a preview under the cursor: the window shows
  // handles and hides the pick, the picture shows the construction.
  prog.Doc[circle].Selected = true;
  prog.Op.PickList[0] = static_cast<int16_t>(line);
  prog.Op.PickCount = 1;
  prog.Op.BlinkPhase = false;
  prog.Op.PreviewShown = true;
  Redraw(prog, true);
  ASSERT_TRUE(AnyXor(screen)) << "the window shows the selection";
  const ViewArea area = prog.Area;
  const TViewState view = prog.Doc.View;

  RecordingCanvas picture(800, 600);
  PictureFrame frame = ScreenFrame(prog);
  frame.Width = 800;
  frame.Height = 600;
  DrawPicture(prog, picture, frame);
  EXPECT_FALSE(AnyXor(picture)) << picture.Log();
  const auto circles = std::count_if(picture.Calls.begin(), picture.Calls.end(),
                                     [](const CanvasCall& call) { return call.Op == CanvasOp::Ellipse; });
  EXPECT_GE(circles, 3) << "the circle and both points";
  ASSERT_NE(picture.Find(CanvasOp::Ellipse, 400 + 20 - 144, 300 + 10 - 144, 400 + 20 + 144, 300 + 10 + 144), nullptr)
      << "the circle about the picture's own centre";
  EXPECT_TRUE(picture.Calls.front().Smooth);
  // The blanked pick is drawn in its colour: some line other than the axes has the line's pen.
  EXPECT_TRUE(std::any_of(picture.Calls.begin(), picture.Calls.end(), [&](const CanvasCall& call) {
    return call.Op == CanvasOp::LineTo && call.Pen.Color == prog.Doc[line].Color && call.Pen.Mode == PenMode::Copy;
  }));

  EXPECT_EQ(prog.Surface, &screen);
  EXPECT_EQ(prog.Area.Width, area.Width);
  EXPECT_EQ(prog.Doc.View.Zoom, view.Zoom);
  EXPECT_FALSE(prog.Drawing.Clean);
  EXPECT_TRUE(prog.Drawing.AnySelected);
  EXPECT_EQ(prog.Doc[c].ScrX1, RoundHalfEven(200 + 20 + 96 * 1.5)) << "the objects are computed for the window again";
}

TEST_F(PictureTest, FramesFitTheDeviceOrKeepOneUnitACentimetre) {
  // Fit: the tighter side sets the scale, the looser shows more of the plane.
  const PictureFrame fit = FitFrame(prog, 1200, 1200);
  EXPECT_DOUBLE_EQ(fit.Scale, 3.0);
  EXPECT_EQ(fit.Width, 400);
  EXPECT_EQ(fit.Height, 400);
  EXPECT_EQ(fit.View.Zoom, prog.Doc.View.Zoom);
  EXPECT_EQ(fit.DeviceWidth, 1200);

  // True scale on a 600 dpi page: a user unit (48 internal units) is 600 / 2.54 device units.
  const PictureFrame page = TrueScaleFrame(prog, 4960, 7016, 600);
  EXPECT_DOUBLE_EQ(page.Scale, 600.0 / 96);
  const double unitOnDevice = 48 * page.View.Zoom * page.Scale;
  EXPECT_NEAR(unitOnDevice, 600 / 2.54, 1e-9);
  EXPECT_EQ(page.Width, 794);
  // The world point at the window's centre stays at the page's centre.
  EXPECT_NEAR(page.View.OrgX / page.View.Zoom, prog.Doc.View.OrgX / prog.Doc.View.Zoom, 1 / page.View.Zoom);
}

TEST_F(PictureTest, ExportsAskForANameAndReportAFileThatCouldNotBeWritten) {
  prog.DocFileName = "/home/pupil/triangle.d2d";
  desktop.ExpectSaveDialog("/tmp/out.svg");
  MenuClick(prog, tag::ExportSvg);
  ASSERT_EQ(desktop.Dialogs.size(), 1u);
  EXPECT_EQ(desktop.Dialogs[0].FileName, "/home/pupil/triangle.svg");
  EXPECT_EQ(desktop.Dialogs[0].DefaultExt, "svg");
  ASSERT_EQ(desktop.Pictures.size(), 1u);
  const PictureRequest& svg = desktop.Pictures[0];
  EXPECT_EQ(svg.Format, PictureFormat::Svg);
  EXPECT_EQ(svg.Path, "/tmp/out.svg");
  EXPECT_EQ(svg.Title, "triangle.d2d");
  EXPECT_EQ(svg.Frame.Width, 400);
  EXPECT_EQ(svg.Frame.Scale, 1);
  RecordingCanvas drawn(svg.Frame.Width, svg.Frame.Height);
  svg.Draw(drawn, svg.Frame);
  EXPECT_NE(drawn.Find(CanvasOp::Ellipse, 200 + 20 - 144, 150 + 10 - 144, 200 + 20 + 144, 150 + 10 + 144), nullptr);

  desktop.WritePictureResult = false;
  desktop.ExpectSaveDialog("/tmp/out.pdf");
  desktop.ExpectMessage("Не можу записати зображення /tmp/out.pdf", mbOK, mbOK);
  MenuClick(prog, tag::ExportPdf);
  desktop.ExpectSaveDialog("");
  MenuClick(prog, tag::ExportPdf);
  EXPECT_EQ(desktop.Pictures.size(), 2u) << "a cancelled dialog writes nothing";
}

TEST_F(PictureTest, PngAtADpiOrASizeAndItsDialogsChecks) {
  int shown = 0;
  prog.PngExportForm = [&](PngExportModel& model) {
    ++shown;
    EXPECT_EQ(model.AreaWidth, 400);
    if (shown == 1) {
      EXPECT_EQ(model.Width, 400) << "the first export offers the drawing area's size";
      model.ByDpi = true;
      model.Dpi = 192;
      EXPECT_EQ(model.ResultText(prog), "Розмір зображення: 800 × 600 пікселів");
      return true;
    }
    model.ByDpi = false;
    model.Width = 2000;
    model.Height = 500;
    return true;
  };
  desktop.ExpectSaveDialog("/tmp/a.png");
  MenuClick(prog, tag::ExportPng);
  ASSERT_EQ(desktop.Pictures.size(), 1u);
  EXPECT_DOUBLE_EQ(desktop.Pictures[0].Frame.Scale, 2);
  EXPECT_EQ(desktop.Pictures[0].Frame.DeviceWidth, 800);
  EXPECT_EQ(desktop.Pictures[0].Frame.DeviceHeight, 600);
  desktop.ExpectSaveDialog("/tmp/b.png");
  MenuClick(prog, tag::ExportPng);
  ASSERT_EQ(desktop.Pictures.size(), 2u);
  const PictureFrame& wide = desktop.Pictures[1].Frame;
  EXPECT_EQ(wide.DeviceWidth, 2000);
  EXPECT_EQ(wide.Height, 300) << "the whole drawing area shows, widened to the picture's shape";
  EXPECT_EQ(wide.Width, 1200);

  PngExportModel model;
  model.AreaWidth = 1000;
  model.AreaHeight = 800;
  model.Width = 9000;
  model.Height = 10;
  EXPECT_EQ(model.Problem(prog), "Зображення не може бути більшим за 8192 пікселів з кожного боку.");
  model.ByDpi = true;
  model.Dpi = 900;
  EXPECT_FALSE(model.Problem(prog).empty()) << "1000 pixels at 900 dpi are 9375";
  model.Dpi = 10;
  EXPECT_EQ(model.Problem(prog), "Роздільність має бути від 24 до 1200 точок на дюйм.");
  model.Dpi = 600;
  EXPECT_EQ(model.Problem(prog), "");
}

TEST_F(PictureTest, PrintAndCopyDrawTheWindowsPicture) {
  desktop.PrintTrueScaleAnswer = true;
  MenuClick(prog, tag::Print);
  ASSERT_EQ(desktop.Prints.size(), 1u);
  const PrintRequest& print = desktop.Prints[0];
  EXPECT_FALSE(print.TrueScale) << "fitting the page comes first";
  EXPECT_EQ(print.TrueScaleText, "Справжній (1 одиниця = 1 см)");
  EXPECT_DOUBLE_EQ(print.Layout(4000, 3000, 600, false).Scale, 10);
  EXPECT_DOUBLE_EQ(print.Layout(4000, 3000, 600, true).Scale, 6.25);
  EXPECT_TRUE(prog.PrintTrueScale) << "the choice is kept for the next printout";
  MenuClick(prog, tag::Print);
  EXPECT_TRUE(desktop.Prints[1].TrueScale);

  prog.Doc[circle].Selected = true;
  MenuClick(prog, tag::Clipboard);
  ASSERT_EQ(desktop.Copies.size(), 1u);
  RecordingCanvas copy(400, 300);
  desktop.Copies[0].Draw(copy, desktop.Copies[0].Frame);
  EXPECT_FALSE(AnyXor(copy));
  EXPECT_EQ(desktop.Copies[0].Frame.Width, 400);
}

} // namespace
} // namespace drex
