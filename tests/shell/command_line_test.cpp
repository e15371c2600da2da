// The command line: every start is one of the modes, and nothing unknown is taken for a document.

#include "shell/command_line.h"

#include <gtest/gtest.h>

namespace drex {
namespace {

using Args = std::vector<std::string>;

TEST(CommandLineTest, EachStartIsOneMode) {
  EXPECT_EQ(ParseCommandLine({}).Mode, RunMode::Window);
  const CommandLine window = ParseCommandLine({"-platform", "offscreen", "plan.d2d", "--reverse"});
  EXPECT_EQ(window.Mode, RunMode::Window);
  EXPECT_EQ(window.Document, "plan.d2d");
  EXPECT_EQ(window.ToolkitArgs, (Args{"-platform", "offscreen", "--reverse"}));
  for (const Args& a : {Args{"-h"}, Args{"plan.d2d", "--help"}, Args{"--export-png", "o.png", "--help"}})
    EXPECT_EQ(ParseCommandLine(a).Mode, RunMode::Help);
  EXPECT_EQ(ParseCommandLine({"-v"}).Mode, RunMode::Version);
  const CommandLine report = ParseCommandLine({"--report", "a.d2d", "--digits", "4"});
  ASSERT_EQ(report.Mode, RunMode::Report);
  EXPECT_EQ(report.Report.Digits, 4);
  const CommandLine svg = ParseCommandLine({"--export-svg", "o.svg", "--size", "300x200", "a.d2d"});
  ASSERT_EQ(svg.Mode, RunMode::Export);
  EXPECT_EQ(svg.Export.Format, PictureFormat::Svg);
  EXPECT_EQ(svg.Export.Width, 300);
  const CommandLine png = ParseCommandLine({"--export-png", "o.png", "--dpi", "300", "--size", "400x300", "a.d2d"});
  ASSERT_EQ(png.Mode, RunMode::Export);
  EXPECT_EQ(png.Export.Dpi, 300);
  EXPECT_EQ(PixelsAtDpi(png.Export.Width, png.Export.Dpi), 1250);
  EXPECT_EQ(PixelsAtDpi(400, 0), 400);
}

TEST(CommandLineTest, MistakesAreNamedNeverOpened) {
  const std::pair<Args, const char*> bad[] = {
      {{"--frobnicate"}, "unknown option --frobnicate"},
      {{"plan.d2d", "-x"}, "unknown option -x"},
      {{"a.d2d", "b.d2d"}, "only one document"},
      {{"-platform"}, "-platform needs a value"},
      {{"--report", "a.d2d", "--export-png", "o.png"}, "unknown option --export-png"},
      {{"--export-svg", "o.svg", "--dpi", "300", "a.d2d"}, "--dpi applies to --export-png only"},
      {{"--export-png", "o.png", "--dpi", "20", "a.d2d"}, "--dpi takes"},
      {{"--export-png", "o.png", "--dpi", "1200", "--size", "1000x10", "a.d2d"}, "larger than 8192"},
      {{"--export-png", "o.png", "--export-pdf", "o.pdf", "a.d2d"}, "only one export"},
  };
  for (const auto& [args, error] : bad) {
    const CommandLine line = ParseCommandLine(args);
    EXPECT_EQ(line.Mode, RunMode::Invalid) << args[0];
    EXPECT_NE(line.Error.find(error), std::string::npos) << line.Error;
    EXPECT_TRUE(line.Document.empty());
  }
}

TEST(CommandLineTest, AWindowNeedsADisplayOrANamedPlatform) {
  const CommandLine plain = ParseCommandLine({});
  EXPECT_FALSE(WindowCanOpen(plain, nullptr, nullptr, nullptr));
  EXPECT_FALSE(WindowCanOpen(plain, "", "", ""));
  EXPECT_TRUE(WindowCanOpen(plain, nullptr, ":0", nullptr));
  EXPECT_TRUE(WindowCanOpen(plain, nullptr, nullptr, "wayland-0"));
  EXPECT_TRUE(WindowCanOpen(plain, "offscreen", nullptr, nullptr));
  EXPECT_TRUE(WindowCanOpen(ParseCommandLine({"--platform", "offscreen"}), nullptr, nullptr, nullptr));
}

} // namespace
} // namespace drex
