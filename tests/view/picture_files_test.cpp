// Picture files read back: the SVG is a drawing of lines, circles and texts, the PDF a page of the
// picture's size, the PNG of the size asked for; the command-line export writes them all.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QXmlStreamReader>

#include <map>

#include "documents/document_file.h"
#include "shell/program.h"
#include "support/construction_builder.h"
#include "view/QtPictureExport.h"
#include "view/picture_export.h"

namespace drex {
namespace {

QString Q(const std::string& s) { return QString::fromUtf8(s.c_str()); }

/// A triangle with its circumscribed circle, a filled polygon and a graph, saved as a document.
std::string SaveSample(const std::string& name) {
  ConsolePlatform platform(nullptr);
  Program prog(platform);
  ConstructionBuilder b(prog.Doc);
  const int a = b.Point(-96, -48), c = b.Point(96, -48), d = b.Point(0, 96);
  b.Polyline({a, c, d}, true, 0xC0FFC0);
  b.Circle(
      b.Intersection(b.Perpendicular(b.Midpoint(a, c), b.Line(a, c)), b.Perpendicular(b.Midpoint(c, d), b.Line(c, d))),
      a);
  b.Graph("sin(x)");
  const std::string path = testing::TempDir() + name;
  EXPECT_TRUE(SaveDocument(prog, path));
  return path;
}

/// How often each element occurs in an SVG file; empty when it does not parse.
std::map<QString, int> SvgElements(const std::string& path, QStringList* texts) {
  QFile file(Q(path));
  if (!file.open(QIODevice::ReadOnly)) return {};
  QXmlStreamReader xml(&file);
  std::map<QString, int> count;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    const QString name = xml.name().toString();
    ++count[name];
    if (name == QStringLiteral("text") && texts != nullptr) *texts << xml.readElementText();
  }
  if (xml.hasError()) return {};
  return count;
}

ExportOptions Options(PictureFormat format, const std::string& out, const std::string& document) {
  ExportOptions o;
  o.Format = format;
  o.OutPath = out;
  o.Document = document;
  o.Width = 640;
  o.Height = 480;
  return o;
}

TEST(PictureFilesTest, TheSvgIsADrawingNotABitmap) {
  const std::string doc = SaveSample("svg_sample.d2d");
  const std::string out = testing::TempDir() + "sample.svg";
  ASSERT_EQ(ExportPicture(Options(PictureFormat::Svg, out, doc)), 0);
  QStringList texts;
  std::map<QString, int> elements = SvgElements(out, &texts);
  ASSERT_FALSE(elements.empty()) << "the SVG parses";
  EXPECT_EQ(elements[QStringLiteral("image")], 0);
  EXPECT_GE(elements[QStringLiteral("polyline")], 4) << "axes, lines and the graph";
  EXPECT_GE(elements[QStringLiteral("ellipse")] + elements[QStringLiteral("circle")], 4)
      << "the circle and the points' marks";
  EXPECT_GE(elements[QStringLiteral("polygon")] + elements[QStringLiteral("path")], 1) << "the filled triangle";
  // The builder names the objects after their numbers.
  for (const char* name : {"o1", "o2", "o3"})
    EXPECT_TRUE(texts.contains(QString::fromLatin1(name))) << name << " " << texts.join(QLatin1Char(',')).toStdString();
}

TEST(PictureFilesTest, PdfIsOnePageOfThePicturesSizeAndPngHasTheDpisPixels) {
  const std::string doc = SaveSample("pdf_sample.d2d");
  const std::string pdf = testing::TempDir() + "sample.pdf";
  ASSERT_EQ(ExportPicture(Options(PictureFormat::Pdf, pdf, doc)), 0);
  QFile file(Q(pdf));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.read(5).startsWith("%PDF-"));
  file.close();
  const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
  if (!pdfinfo.isEmpty()) {
    QProcess info;
    info.start(pdfinfo, {Q(pdf)});
    ASSERT_TRUE(info.waitForFinished(30000));
    const QString text = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("Pages:           1"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Page size:       480 x 360 pts"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("pdf_sample.d2d"))) << "the title";
  }

  ExportOptions png = Options(PictureFormat::Png, testing::TempDir() + "sample.png", doc);
  png.Dpi = 300;
  ASSERT_EQ(ExportPicture(png), 0);
  const QImage image(Q(png.OutPath));
  EXPECT_EQ(image.width(), 2000);
  EXPECT_EQ(image.height(), 1500);
  // Lines drawn at 300 dpi are about three pixels wide where the screen's are one.
  int dark = 0;
  for (int x = 0; x < image.width(); ++x)
    dark += qGray(image.pixel(x, image.height() / 2)) < 160;
  EXPECT_GT(dark, 0);

  png.OutPath = testing::TempDir() + "no/such/folder/sample.png";
  EXPECT_EQ(ExportPicture(png), 1);
  EXPECT_EQ(ExportPicture(Options(PictureFormat::Svg, testing::TempDir() + "x.svg", testing::TempDir() + "none.d2d")),
            1);
}

} // namespace
} // namespace drex
