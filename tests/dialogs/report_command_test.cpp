// The command-line report: its options, and the text it writes for a document saved here.

#include "dialogs/report_command.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "documents/document_file.h"
#include "kernel/cp1251.h"
#include "shell/program.h"
#include "support/construction_builder.h"
#include "support/scripted_platform.h"

namespace drex {
namespace {

using Args = std::vector<std::string>;

TEST(ReportOptionsTest, ReadsTheDocumentDigitsAndCoordinates) {
  ReportOptions o;
  std::string error;
  EXPECT_EQ(ParseReportOptions({"plan.d2d"}, o, error), ReportParse::NotRequested);
  EXPECT_EQ(ParseReportOptions({"--export-png", "o.png", "plan.d2d"}, o, error), ReportParse::NotRequested);
  ASSERT_EQ(ParseReportOptions({"--report", "plan.d2d"}, o, error), ReportParse::Ok);
  EXPECT_EQ(o.Document, "plan.d2d");
  EXPECT_EQ(o.Digits, 2);
  EXPECT_FALSE(o.Polar);
  ASSERT_EQ(ParseReportOptions({"--polar", "--digits", "12", "--report", "a b.d2d"}, o, error), ReportParse::Ok);
  EXPECT_EQ(o.Document, "a b.d2d");
  EXPECT_EQ(o.Digits, 12);
  EXPECT_TRUE(o.Polar);
  ASSERT_EQ(ParseReportOptions({"--report", "p.d2d", "--digits", "0"}, o, error), ReportParse::Ok);
  EXPECT_EQ(o.Digits, 0);
}

TEST(ReportOptionsTest, RefusesMalformedCommandsSayingWhy) {
  const Args bad[] = {
      {"--report"},
      {"--report", "--polar"},
      {"--report", "a.d2d", "--digits"},
      {"--report", "a.d2d", "--digits", "13"},
      {"--report", "a.d2d", "--digits", "-1"},
      {"--report", "a.d2d", "--digits", "2x"},
      {"--report", "a.d2d", "--digits", ""},
      {"--report", "a.d2d", "--digits", "2", "--digits", "3"},
      {"--report", "a.d2d", "--report", "b.d2d"},
      {"--report", "a.d2d", "b.d2d"},
      {"--report", "a.d2d", "--export-png", "o.png"},
      {"--polar", "--report"},
  };
  for (const Args& args : bad) {
    ReportOptions o;
    o.Document = "untouched";
    std::string error;
    EXPECT_EQ(ParseReportOptions(args, o, error), ReportParse::Invalid) << args.back();
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(o.Document, "untouched");
  }
}

class ReportCommandTest : public ::testing::Test {
protected:
  ReportCommandTest() {
    dir = std::filesystem::temp_directory_path() / ("drex2d_report_" + std::to_string(::getpid()) + "_" +
                                                    ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
  }
  ~ReportCommandTest() override {
    std::error_code ec;
    std::filesystem::remove_all(dir, ec);
  }
  std::string Path(const std::string& name) const { return (dir / name).string(); }

  /// Runs the command; `out` and `err` get what it wrote.
  int Run(const ReportOptions& options) {
    std::FILE* o = std::tmpfile();
    std::FILE* e = std::tmpfile();
    const int status = RunReportCommand(options, o, e);
    out = Contents(o);
    err = Contents(e);
    return status;
  }
  static std::string Contents(std::FILE* f) {
    std::string s;
    std::rewind(f);
    for (int ch; (ch = std::fgetc(f)) != EOF;)
      s += static_cast<char>(ch);
    std::fclose(f);
    return s;
  }

  std::filesystem::path dir;
  std::string out, err;
};

TEST_F(ReportCommandTest, WritesEveryLineWithItsReportIndentedUnder) {
  // Saved by the program itself; 48 internal units are one user unit at 96 dpi.
  ScriptedPlatform desk;
  Program saver(desk);
  ConstructionBuilder b(saver.Doc);
  const int a = b.Point(0, -96), c = b.Point(96, 0);
  b.Line(a, c);
  b.Graph("x^2");
  saver.Doc[4].X1 = -1;
  saver.Doc[4].Y1 = 2;
  // A control character in a name cannot break a line of the report.
  saver.Doc[c].Name.Assign(Utf8ToCp1251("Б\nв"));
  const std::string path = Path("plan.d2d");
  ASSERT_TRUE(SaveDocument(saver, path));

  ReportOptions options;
  options.Document = path;
  ASSERT_EQ(Run(options), 0) << err;
  EXPECT_EQ(err, "");
  EXPECT_EQ(out, "1. Точка (o1)\n"
                 "  Вільна точка\n"
                 "  Координати: (0, -2)\n"
                 "2. Точка (Б в)\n"
                 "  Вільна точка\n"
                 "  Координати: (2, 0)\n"
                 "3. Пряма (o3)\n"
                 "  Пряма, що проходить через точки\n"
                 "  <o1> та <Б в>\n"
                 "  Рівняння: 2x-2y-4=0\n"
                 "4. Графік функції (o4)\n"
                 "  Графік функції y=x^2\n"
                 "  MinX=-1; MaxX=2\n"
                 "  MinY=0.0001; MaxY=4\n");

  options.Digits = 3;
  options.Polar = true;
  ASSERT_EQ(Run(options), 0) << err;
  EXPECT_NE(out.find("1. Точка (o1)\n  Вільна точка\n  Координати: (2, 270°)\n2. "), std::string::npos) << out;
}

TEST_F(ReportCommandTest, MeasurementsAndExpressionsFollowTheObjects) {
  ScriptedPlatform desk;
  Program saver(desk);
  ConstructionBuilder b(saver.Doc);
  const int o = b.Point(0, 0), p = b.Point(144, 192), q = b.Point(0, 96);
  saver.Doc.Measurements[0] = Measurement{1, {int16_t(o), int16_t(p), 0}};
  saver.Doc.Measurements[1] = Measurement{0, {int16_t(p), int16_t(o), int16_t(q)}};
  saver.Doc.MeasureCount = 2;
  saver.Doc.DynExprs[0].Text.Assign("LEN(O1,O2)*2");
  saver.Doc.DynExprs[1].Text.Assign("AREA(O1,O2,O3)");
  saver.Doc.DynExprs[1].DisplayName.Assign(Utf8ToCp1251("Площа"));
  saver.Doc.DynExprCount = 2;
  const std::string path = Path("measured.d2d");
  ASSERT_TRUE(SaveDocument(saver, path));

  ReportOptions options;
  options.Document = path;
  ASSERT_EQ(Run(options), 0) << err;
  const std::size_t tail = out.find("Відстань");
  ASSERT_NE(tail, std::string::npos) << out;
  EXPECT_EQ(out.substr(tail), "Відстань o1, o2: 5\n"
                              "Кут o2, o1, o3: 37°\n"
                              "LEN(O1,O2)*2 = 10\n"
                              "Площа (AREA(O1,O2,O3)) = 3\n");
}

TEST_F(ReportCommandTest, AnUnreadableOrDamagedDocumentSaysSoAndFails) {
  ReportOptions options;
  options.Document = Path("missing.d2d");
  EXPECT_EQ(Run(options), 1);
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, "drex2d: Помилка при завантаженні " + options.Document + "\n");

  // The window opens a damaged "NoName.d2d" without a word; asked for by name, it is refused aloud.
  options.Document = Path("NoName.d2d");
  std::ofstream(options.Document, std::ios::binary) << std::string(22, '\x01');
  EXPECT_EQ(Run(options), 1);
  EXPECT_EQ(out, "");
  EXPECT_NE(err.find("drex2d: Файл " + options.Document + " не може бути завантажений"), std::string::npos) << err;
}

TEST_F(ReportCommandTest, AnEmptyDocumentGivesNoLines) {
  ScriptedPlatform desk;
  Program saver(desk);
  const std::string path = Path("empty.d2d");
  ASSERT_TRUE(SaveDocument(saver, path));
  ReportOptions options;
  options.Document = path;
  EXPECT_EQ(Run(options), 0);
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, "");
}

} // namespace
} // namespace drex
