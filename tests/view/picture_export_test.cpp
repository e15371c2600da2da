// The command-line export: its options, the console desktop and the load-and-redraw step.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "documents/document_file.h"
#include "shell/program.h"
#include "support/construction_builder.h"
#include "support/recording_canvas.h"
#include "view/picture_export.h"
#include "view/redraw.h"

namespace drex {
namespace {

using Args = std::vector<std::string>;

TEST(ExportOptionsTest, ReadsTheCommandAndItsSize) {
  ExportOptions o;
  std::string error;
  EXPECT_EQ(ParseExportOptions({"plan.d2d"}, o, error), ExportParse::NotRequested);
  ASSERT_EQ(ParseExportOptions({"--export-png", "out.png", "plan.d2d"}, o, error), ExportParse::Ok);
  EXPECT_EQ(o.OutPath, "out.png");
  EXPECT_EQ(o.Document, "plan.d2d");
  EXPECT_EQ(o.Width, 800);
  EXPECT_EQ(o.Height, 600);
  ASSERT_EQ(ParseExportOptions({"plan.d2d", "--size", "1024x768", "--export-png", "o.png"}, o, error), ExportParse::Ok);
  EXPECT_EQ(o.Width, 1024);
  EXPECT_EQ(o.Height, 768);
  EXPECT_EQ(o.Document, "plan.d2d");
  // Scripts get today's picture unless they ask for the smooth, scaled or fitted one.
  EXPECT_FALSE(o.Fit || o.Smooth);
  EXPECT_EQ(o.Scale, 100);
  ASSERT_EQ(ParseExportOptions({"--smooth", "--export-png", "o.png", "--scale", "200%", "--fit", "a.d2d"}, o, error),
            ExportParse::Ok);
  EXPECT_TRUE(o.Fit && o.Smooth);
  EXPECT_EQ(o.Scale, 200);
  EXPECT_EQ(o.Document, "a.d2d");
}

TEST(ExportOptionsTest, RefusesMalformedCommands) {
  const Args bad[] = {
      {"--export-png"},
      {"--export-png", "o.png"},
      {"--export-png", "o.png", "a.d2d", "b.d2d"},
      {"--export-png", "o.png", "--size", "a.d2d"},
      {"--export-png", "o.png", "--size"},
      {"--export-png", "o.png", "--frobnicate", "a.d2d"},
      {"--export-png", "o.png", "--export-png", "p.png", "a.d2d"},
      {"--export-png", "o.png", "--scale", "175", "a.d2d"},
      {"--export-png", "o.png", "--scale", "2e2", "a.d2d"},
      {"--export-png", "o.png", "--scale", "%", "a.d2d"},
      {"--export-png", "o.png", "a.d2d", "--scale"},
  };
  for (const Args& a : bad) {
    ExportOptions o;
    std::string error;
    EXPECT_EQ(ParseExportOptions(a, o, error), ExportParse::Invalid) << a.size();
    EXPECT_FALSE(error.empty());
  }
  struct Size {
    const char* text;
    bool ok;
  };
  const Size sizes[] = {{"640x480", true},        {"1X1", true},     {"8192x8192", true},
                        {"8193x10", false},       {"0x10", false},   {"10x", false},
                        {"x10", false},           {"10x10x", false}, {"-5x10", false},
                        {"99999999999x1", false}, {"10 x10", false}, {"", false}};
  for (const Size& s : sizes) {
    int w = 7, h = 7;
    EXPECT_EQ(ParseExportSize(s.text, w, h), s.ok) << s.text;
    if (!s.ok) {
      EXPECT_EQ(w, 7) << "a refused size leaves the values alone";
    }
  }
}

TEST(ConsolePlatformTest, WritesMessagesAndNeverSaysYesUnasked) {
  std::FILE* sink = std::tmpfile();
  ASSERT_NE(sink, nullptr);
  ConsolePlatform p(sink);
  EXPECT_EQ(p.MessageBox(MsgType::Error, "broken", mbOK), mbOK);
  EXPECT_EQ(p.MessageBox(MsgType::Confirmation, "save?", mbYes | mbNo | mbCancel), mbNo);
  EXPECT_EQ(p.MessageBox(MsgType::Confirmation, "go?", mbYes | mbCancel), mbCancel);
  EXPECT_EQ(p.MessageBox(MsgType::Information, "only", mbYes), mbYes);
  std::rewind(sink);
  char line[64] = {};
  ASSERT_NE(std::fgets(line, sizeof line, sink), nullptr);
  EXPECT_STREQ(line, "drex2d: broken\n");
  std::fclose(sink);
  EXPECT_EQ(p.Messages().size(), 4u);
}

TEST(RenderDocumentTest, DrawsTheLoadedDocumentWithItsViewAndReportsBadFiles) {
  const std::string path = testing::TempDir() + "render_test.d2d";
  {
    ConsolePlatform platform(nullptr);
    Program prog(platform);
    ConstructionBuilder b(prog.Doc);
    const int a = b.Point(0, 0), c = b.Point(50, 0);
    const int circle = b.Circle(a, c);
    b[circle].Color = 0x0000FF;
    b[circle].Selected = true;
    prog.Doc.View.OrgX = 100;
    prog.Doc.View.Zoom = 2;
    ASSERT_TRUE(SaveDocument(prog, path));
  }
  ConsolePlatform platform(nullptr);
  Program prog(platform);
  RecordingCanvas canvas(400, 300);
  EXPECT_GE(RenderDocument(prog, canvas, path), 0);
  EXPECT_TRUE(platform.Messages().empty());
  // Centre (200 + 100, 150), radius 50 · 2 pixels.
  const CanvasCall* circle = canvas.Find(CanvasOp::Ellipse, 200, 50, 400, 250);
  ASSERT_NE(circle, nullptr) << canvas.Log();
  EXPECT_EQ(circle->Pen.Color, 0x0000FF);
  for (const CanvasCall& call : canvas.Calls)
    EXPECT_NE(call.Pen.Mode, PenMode::Xor) << "a circle saved selected exports without handles";

  RecordingCanvas other(400, 300);
  EXPECT_LT(RenderDocument(prog, other, testing::TempDir() + "no_such_document.d2d"), 0);
  EXPECT_EQ(platform.Messages().size(), 1u);
  const std::string junk = testing::TempDir() + "junk.d2d";
  std::ofstream(junk, std::ios::binary) << std::string(40, 'x');
  EXPECT_LT(RenderDocument(prog, other, junk), 0);
  EXPECT_EQ(platform.Messages().size(), 2u);
  EXPECT_TRUE(other.Calls.empty());
}

TEST(RenderDocumentTest, FitShowsTheWholeConstructionInsteadOfTheStoredView) {
  const std::string path = testing::TempDir() + "render_fit_test.d2d";
  {
    ConsolePlatform platform(nullptr);
    Program prog(platform);
    ConstructionBuilder b(prog.Doc);
    b.Point(-3000, 0);
    b.Point(3000, 100);
    ASSERT_TRUE(SaveDocument(prog, path));
  }
  ConsolePlatform platform(nullptr);
  Program prog(platform);
  RecordingCanvas canvas(400, 300);
  ASSERT_GE(RenderDocument(prog, canvas, path, true), 0);
  EXPECT_EQ(prog.Doc[1].ScrX1 + prog.Doc[2].ScrX1, 400) << "the two points sit symmetric about the centre";
  EXPECT_GT(prog.Doc[1].ScrX1, 0);
  EXPECT_LT(prog.Doc[2].ScrX1, 400);
}

TEST(RenderDocumentTest, ASmoothExportIsSmoothAtAnySize) {
  const std::string path = testing::TempDir() + "render_large_test.d2d";
  {
    ConsolePlatform platform(nullptr);
    Program prog(platform);
    ConstructionBuilder b(prog.Doc);
    for (int k = 0; k <= SmoothDrawingLimit; ++k)
      b.Point(k % 200, k / 200);
    ASSERT_TRUE(SaveDocument(prog, path));
  }
  ConsolePlatform platform(nullptr);
  Program prog(platform);
  prog.Config.SmoothDrawing = true;
  RecordingCanvas canvas(400, 300);
  ASSERT_GE(RenderDocument(prog, canvas, path), 0);
  ASSERT_FALSE(canvas.Calls.empty());
  EXPECT_TRUE(canvas.Calls.front().Smooth);
}

} // namespace
} // namespace drex
