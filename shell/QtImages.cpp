#include "shell/QtImages.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include <cmath>

#include "shell/command_table.h"
#include "shell/platform.h"

namespace drex {
namespace {

// One palette for every picture, so that the tool bars read as one set.
const QColor LineColour(30, 60, 150);
const QColor PointColour(210, 30, 30);
const QColor CurveColour(20, 120, 40);
const QColor InkColour(40, 40, 40);
const QColor PaperColour(255, 255, 250);
const QColor AccentColour(230, 150, 20);

constexpr int Size = 24; // pictures are drawn on a 24 x 24 grid and scaled by Qt

void Line(QPainter& p, double x1, double y1, double x2, double y2, const QColor& c = LineColour, double w = 1.6) {
  p.setPen(QPen(c, w, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void Dashed(QPainter& p, double x1, double y1, double x2, double y2, const QColor& c = InkColour) {
  p.setPen(QPen(c, 1.0, Qt::DashLine));
  p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void Dot(QPainter& p, double x, double y, const QColor& fill = PointColour, double r = 2.4) {
  p.setPen(QPen(Qt::black, 0.8));
  p.setBrush(fill);
  p.drawEllipse(QPointF(x, y), r, r);
  p.setBrush(Qt::NoBrush);
}

void Ring(QPainter& p, double x, double y, double r, const QColor& c = CurveColour, double w = 1.6) {
  p.setPen(QPen(c, w));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPointF(x, y), r, r);
}

void Text(QPainter& p, const QRectF& box, const QString& text, const QColor& c = InkColour, int pixel = 11,
          bool bold = true) {
  QFont font(QStringLiteral("Sans"));
  font.setPixelSize(pixel);
  font.setBold(bold);
  p.setFont(font);
  p.setPen(c);
  p.drawText(box, Qt::AlignCenter, text);
}

void Cross(QPainter& p, double x, double y, double r, const QColor& c = PointColour) {
  Line(p, x - r, y - r, x + r, y + r, c, 2.2);
  Line(p, x - r, y + r, x + r, y - r, c, 2.2);
}

void Arrow(QPainter& p, double x1, double y1, double x2, double y2, const QColor& c = AccentColour) {
  Line(p, x1, y1, x2, y2, c, 1.8);
  const double a = std::atan2(y2 - y1, x2 - x1);
  const double h = 4.5;
  QPolygonF head;
  head << QPointF(x2, y2) << QPointF(x2 - h * std::cos(a - 0.5), y2 - h * std::sin(a - 0.5))
       << QPointF(x2 - h * std::cos(a + 0.5), y2 - h * std::sin(a + 0.5));
  p.setPen(Qt::NoPen);
  p.setBrush(c);
  p.drawPolygon(head);
  p.setBrush(Qt::NoBrush);
}

void Page(QPainter& p) {
  QPolygonF page;
  page << QPointF(5, 2) << QPointF(15, 2) << QPointF(20, 7) << QPointF(20, 22) << QPointF(5, 22);
  p.setPen(QPen(InkColour, 1.0));
  p.setBrush(PaperColour);
  p.drawPolygon(page);
  p.drawPolyline(QPolygonF() << QPointF(15, 2) << QPointF(15, 7) << QPointF(20, 7));
  p.setBrush(Qt::NoBrush);
}

void Disk(QPainter& p) {
  p.setPen(QPen(InkColour, 1.0));
  p.setBrush(QColor(60, 90, 170));
  p.drawRoundedRect(QRectF(3, 3, 18, 18), 2, 2);
  p.setBrush(PaperColour);
  p.drawRect(QRectF(6, 3, 12, 7));
  p.setBrush(QColor(200, 200, 200));
  p.drawRect(QRectF(7, 14, 10, 7));
  p.setBrush(Qt::NoBrush);
}

void Magnifier(QPainter& p) {
  Ring(p, 10, 10, 6.5, InkColour, 2.0);
  Line(p, 15, 15, 21, 21, InkColour, 3.0);
}

void Formula(QPainter& p) {
  p.setPen(QPen(InkColour, 1.0));
  p.setBrush(PaperColour);
  p.drawRect(QRectF(2, 4, 15, 12));
  p.setBrush(Qt::NoBrush);
  Text(p, QRectF(2, 4, 15, 12), QStringLiteral("f="), LineColour, 9);
}

void Gear(QPainter& p, double cx, double cy, double r) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(110, 110, 120));
  for (int k = 0; k < 8; ++k) {
    p.save();
    p.translate(cx, cy);
    p.rotate(45.0 * k);
    p.drawRect(QRectF(-1.6, -r - 2.5, 3.2, 4));
    p.restore();
  }
  p.drawEllipse(QPointF(cx, cy), r, r);
  p.setBrush(PaperColour);
  p.drawEllipse(QPointF(cx, cy), r * 0.4, r * 0.4);
  p.setBrush(Qt::NoBrush);
}

void MacroBox(QPainter& p, const QColor& sources, const QColor& results) {
  p.setPen(QPen(InkColour, 1.0, Qt::DashLine));
  p.drawRect(QRectF(2, 2, 20, 20));
  Line(p, 6, 17, 12, 6);
  Line(p, 12, 6, 18, 17);
  Dot(p, 6, 17, sources);
  Dot(p, 18, 17, sources);
  Dot(p, 12, 6, results);
}

void Curve(QPainter& p, const QColor& c) {
  QPainterPath path(QPointF(2, 18));
  path.cubicTo(QPointF(7, 0), QPointF(13, 26), QPointF(22, 5));
  p.setPen(QPen(c, 1.8));
  p.drawPath(path);
}

void Eye(QPainter& p) {
  QPainterPath eye(QPointF(2, 12));
  eye.quadTo(QPointF(12, 2), QPointF(22, 12));
  eye.quadTo(QPointF(12, 22), QPointF(2, 12));
  p.setPen(QPen(InkColour, 1.4));
  p.setBrush(PaperColour);
  p.drawPath(eye);
  p.setBrush(QColor(60, 110, 190));
  p.drawEllipse(QPointF(12, 12), 3.6, 3.6);
  p.setBrush(Qt::NoBrush);
}

// Draws picture `no` on a 24 x 24 grid; false when the number has no picture.
/// A hooked arrow: an arc over the picture ending in a head at the lower left (undo), or mirrored
/// to the lower right (redo).
void TurnArrow(QPainter& p, bool mirrored) {
  p.save();
  if (mirrored) {
    p.translate(24, 0);
    p.scale(-1, 1);
  }
  QPainterPath path(QPointF(20, 19));
  path.cubicTo(QPointF(21, 8), QPointF(12, 3), QPointF(5.5, 10.5));
  p.setPen(QPen(AccentColour, 2.6, Qt::SolidLine, Qt::RoundCap));
  p.drawPath(path);
  QPolygonF head;
  head << QPointF(2, 6) << QPointF(3, 15.5) << QPointF(11.5, 12.5);
  p.setPen(Qt::NoPen);
  p.setBrush(AccentColour);
  p.drawPolygon(head);
  p.restore();
}

/// The expression grid: a table of two columns under a header row, the value column filled
/// when `frozen`.
void ValueGrid(QPainter& p, bool frozen) {
  p.setPen(QPen(InkColour, 1.0));
  p.setBrush(PaperColour);
  p.drawRect(QRectF(3, 3, 18, 18));
  p.drawLine(QPointF(12, 3), QPointF(12, 21));
  p.drawLine(QPointF(3, 9), QPointF(21, 9));
  if (frozen) {
    p.setBrush(QColor(60, 110, 190));
    p.drawRect(QRectF(12, 9, 9, 12));
  }
  p.setBrush(Qt::NoBrush);
}

bool DrawImage(QPainter& p, int no) {
  switch (no) {
  case 0: // new document
    Page(p);
    Text(p, QRectF(9, 12, 14, 11), QStringLiteral("+"), CurveColour, 13);
    return true;
  case 1: { // open
    p.setPen(QPen(InkColour, 1.0));
    p.setBrush(QColor(240, 200, 80));
    p.drawPolygon(QPolygonF() << QPointF(2, 6) << QPointF(9, 6) << QPointF(11, 8) << QPointF(20, 8) << QPointF(20, 20)
                              << QPointF(2, 20));
    p.setBrush(QColor(250, 220, 120));
    p.drawPolygon(QPolygonF() << QPointF(5, 11) << QPointF(23, 11) << QPointF(20, 20) << QPointF(2, 20));
    p.setBrush(Qt::NoBrush);
    Arrow(p, 14, 9, 18, 2, CurveColour);
    return true;
  }
  case 2: // save
    Disk(p);
    return true;
  case 3: // save as
    Disk(p);
    Line(p, 13, 21, 22, 12, AccentColour, 3.0);
    return true;
  case 4: // picture to the clipboard
    p.setPen(QPen(InkColour, 1.0));
    p.setBrush(QColor(190, 140, 80));
    p.drawRoundedRect(QRectF(3, 3, 16, 19), 2, 2);
    p.setBrush(PaperColour);
    p.drawRect(QRectF(6, 6, 10, 13));
    p.setBrush(QColor(120, 120, 120));
    p.drawRect(QRectF(8, 1.5, 6, 3));
    p.setBrush(Qt::NoBrush);
    Ring(p, 11, 12, 3, CurveColour, 1.2);
    Line(p, 6, 17, 16, 9, LineColour, 1.2);
    return true;
  case 5: // settings
    Gear(p, 12, 12, 6);
    return true;
  case 6: // help
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 90, 180));
    p.drawEllipse(QPointF(12, 12), 10, 10);
    p.setBrush(Qt::NoBrush);
    Text(p, QRectF(2, 2, 20, 20), QStringLiteral("?"), Qt::white, 15);
    return true;
  case 7: // about
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 140, 90));
    p.drawEllipse(QPointF(12, 12), 10, 10);
    p.setBrush(Qt::NoBrush);
    Text(p, QRectF(2, 2, 20, 20), QStringLiteral("i"), Qt::white, 15);
    return true;
  case 8: // point
    Dot(p, 12, 12, PointColour, 4);
    return true;
  case 9: // midpoint
    Line(p, 3, 19, 21, 5);
    Dot(p, 3, 19, Qt::white);
    Dot(p, 21, 5, Qt::white);
    Dot(p, 12, 12);
    return true;
  case 10: // intersection
    Line(p, 2, 20, 22, 6);
    Line(p, 4, 3, 20, 22, CurveColour);
    Dot(p, 12.3, 13);
    return true;
  case 11: // symmetric point
    Dashed(p, 4, 19, 20, 5);
    Dot(p, 4, 19, Qt::white);
    Dot(p, 12, 12, InkColour, 1.8);
    Dot(p, 20, 5);
    return true;
  case 12: // line through two points
    Line(p, 1, 21, 23, 3);
    Dot(p, 7, 16, Qt::white);
    Dot(p, 17, 8, Qt::white);
    return true;
  case 13: // parallel
    Line(p, 1, 9, 23, 1, InkColour);
    Line(p, 1, 22, 23, 14);
    Dot(p, 12, 18);
    return true;
  case 14: // perpendicular
    Line(p, 1, 19, 23, 19, InkColour);
    Line(p, 12, 2, 12, 22);
    p.setPen(QPen(InkColour, 1.0));
    p.drawRect(QRectF(12, 15, 4, 4));
    Dot(p, 12, 7);
    return true;
  case 15: // bisector
    Line(p, 3, 20, 22, 20, InkColour);
    Line(p, 3, 20, 14, 3, InkColour);
    Line(p, 3, 20, 23, 8);
    Dot(p, 3, 20, Qt::white);
    return true;
  case 16: // tangents
    Ring(p, 15, 13, 6);
    Line(p, 2, 13, 19, 2);
    Line(p, 2, 13, 19, 24);
    Dot(p, 2, 13);
    return true;
  case 17: // polyline
    p.setPen(QPen(LineColour, 1.6));
    p.drawPolyline(QPolygonF() << QPointF(2, 19) << QPointF(8, 5) << QPointF(15, 16) << QPointF(22, 4));
    for (const QPointF& v : {QPointF(2, 19), QPointF(8, 5), QPointF(15, 16), QPointF(22, 4)})
      Dot(p, v.x(), v.y());
    return true;
  case 18: // circle
    Ring(p, 12, 12, 9);
    Line(p, 12, 12, 18.4, 5.6, InkColour, 1.0);
    Dot(p, 12, 12);
    Dot(p, 18.4, 5.6, Qt::white);
    return true;
  case 19: { // interpolation polynomial
    QPainterPath path(QPointF(1, 20));
    path.cubicTo(QPointF(6, 0), QPointF(14, 2), QPointF(23, 18));
    p.setPen(QPen(CurveColour, 1.8));
    p.drawPath(path);
    Dot(p, 4, 12);
    Dot(p, 12, 6);
    Dot(p, 20, 13);
    return true;
  }
  case 20: // delete the selected objects
    Line(p, 2, 18, 20, 6);
    Dot(p, 8, 14, Qt::white);
    Cross(p, 15, 15, 5);
    return true;
  case 21: // change the object
    Ring(p, 9, 14, 6);
    Line(p, 10, 20, 21, 4, AccentColour, 3.2);
    Line(p, 10, 20, 11.5, 17.8, InkColour, 3.2);
    return true;
  case 22: { // stop the operation
    QPolygonF octagon;
    for (int k = 0; k < 8; ++k) {
      const double a = (22.5 + 45.0 * k) * M_PI / 180.0;
      octagon << QPointF(12 + 10 * std::cos(a), 12 + 10 * std::sin(a));
    }
    p.setPen(QPen(Qt::white, 1.0));
    p.setBrush(QColor(200, 30, 30));
    p.drawPolygon(octagon);
    p.setBrush(Qt::NoBrush);
    Line(p, 7, 12, 17, 12, Qt::white, 3.0);
    return true;
  }
  case 23: // angle
    Line(p, 3, 20, 22, 20, InkColour);
    Line(p, 3, 20, 17, 4, InkColour);
    p.setPen(QPen(AccentColour, 1.8));
    p.drawArc(QRectF(-7, 10, 20, 20), 0, 49 * 16);
    Dot(p, 3, 20);
    Dot(p, 22, 20);
    Dot(p, 17, 4);
    return true;
  case 24: // distance
    Dot(p, 3, 16);
    Dot(p, 21, 16);
    Arrow(p, 12, 9, 4, 9);
    Arrow(p, 12, 9, 20, 9);
    return true;
  case 25: // remove a shown value
    Text(p, QRectF(0, 2, 18, 14), QStringLiteral("1.5"), LineColour, 10);
    Cross(p, 17, 17, 4.5);
    return true;
  case 26: // calculator
    p.setPen(QPen(InkColour, 1.0));
    p.setBrush(QColor(220, 220, 225));
    p.drawRoundedRect(QRectF(4, 2, 16, 20), 2, 2);
    p.setBrush(QColor(170, 210, 170));
    p.drawRect(QRectF(6, 4, 12, 5));
    p.setBrush(InkColour);
    for (int row = 0; row < 3; ++row)
      for (int col = 0; col < 3; ++col)
        p.drawRect(QRectF(6.5 + 4 * col, 11 + 3.6 * row, 2.5, 2.2));
    p.setBrush(Qt::NoBrush);
    return true;
  case 27: // zoom in
    Magnifier(p);
    Line(p, 7, 10, 13, 10, CurveColour, 2.0);
    Line(p, 10, 7, 10, 13, CurveColour, 2.0);
    return true;
  case 28: // zoom out
    Magnifier(p);
    Line(p, 7, 10, 13, 10, PointColour, 2.0);
    return true;
  case 29: // fit
    Magnifier(p);
    p.setPen(QPen(LineColour, 1.2));
    p.drawRect(QRectF(7, 7, 6, 6));
    return true;
  case 30: // one to one
    Text(p, QRectF(0, 0, 24, 24), QStringLiteral("1:1"), LineColour, 11);
    return true;
  case 31: // step by step
    Line(p, 3, 20, 9, 14, LineColour);
    Dashed(p, 9, 14, 15, 8);
    Dashed(p, 15, 8, 21, 3);
    Dot(p, 3, 20, Qt::white);
    Dot(p, 9, 14);
    Dot(p, 15, 8, QColor(230, 230, 230));
    Dot(p, 21, 3, QColor(230, 230, 230));
    return true;
  case 32: // show hidden objects
    Eye(p);
    return true;
  case 33: // translation by mouse
    p.setPen(QPen(LineColour, 1.2));
    p.drawPolygon(QPolygonF() << QPointF(2, 21) << QPointF(9, 21) << QPointF(5, 14));
    p.setPen(QPen(CurveColour, 1.4));
    p.drawPolygon(QPolygonF() << QPointF(13, 10) << QPointF(20, 10) << QPointF(16, 3));
    Arrow(p, 6, 13, 14, 5);
    return true;
  case 34: // rotation by mouse
    p.setPen(QPen(AccentColour, 1.8));
    p.drawArc(QRectF(3, 3, 18, 18), 30 * 16, 250 * 16);
    Arrow(p, 18.5, 6, 20.5, 8.5);
    Dot(p, 12, 12, InkColour, 1.8);
    return true;
  case 35: // transformation by numbers
    Arrow(p, 3, 20, 20, 20, LineColour);
    Arrow(p, 3, 20, 3, 3, LineColour);
    Text(p, QRectF(6, 3, 17, 14), QStringLiteral("xy"), AccentColour, 11);
    return true;
  case 36: // solid of revolution
    p.setPen(QPen(CurveColour, 1.4));
    p.drawEllipse(QRectF(3, 4, 5, 16));
    p.drawEllipse(QRectF(16, 7, 4, 10));
    Line(p, 5.5, 4, 18, 7, CurveColour, 1.4);
    Line(p, 5.5, 20, 18, 17, CurveColour, 1.4);
    Dashed(p, 1, 12, 23, 12);
    return true;
  case 37: // new expression
    Formula(p);
    Text(p, QRectF(12, 11, 12, 12), QStringLiteral("+"), CurveColour, 14);
    return true;
  case 38: // change expression
    Formula(p);
    Line(p, 12, 22, 22, 12, AccentColour, 3.0);
    return true;
  case 39: // delete expression
    Formula(p);
    Cross(p, 18, 18, 4);
    return true;
  case 40: // freeze the values
    ValueGrid(p, true);
    return true;
  case 41: // remove the frozen values
    ValueGrid(p, false);
    Cross(p, 16.5, 15, 3.5);
    return true;
  case 42: // exit
    p.setPen(QPen(InkColour, 1.0));
    p.setBrush(QColor(170, 120, 70));
    p.drawRect(QRectF(3, 2, 11, 20));
    p.setBrush(Qt::NoBrush);
    Arrow(p, 10, 12, 22, 12, PointColour);
    return true;
  case 44: // integral
    Text(p, QRectF(0, 0, 24, 24), QString(QChar(0x222B)), LineColour, 20, false);
    return true;
  case 45: // derivative
    Text(p, QRectF(0, 0, 24, 24), QStringLiteral("f") + QChar(0x2032), LineColour, 15, false);
    return true;
  case 46: // graph of a function
    Arrow(p, 1, 12, 23, 12, InkColour);
    Arrow(p, 4, 23, 4, 1, InkColour);
    Curve(p, CurveColour);
    return true;
  case ImageShowGMT: // locus: no trace shown
    p.setPen(QPen(CurveColour, 1.6, Qt::DotLine));
    p.drawArc(QRectF(2, 4, 20, 20), 20 * 16, 140 * 16);
    Dot(p, 19.5, 9);
    return true;
  case ImageStopGMT: // locus: trace shown, the command stops it
    p.setPen(QPen(CurveColour, 1.6, Qt::DotLine));
    p.drawArc(QRectF(2, 4, 20, 20), 20 * 16, 140 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(200, 30, 30));
    p.drawRect(QRectF(12, 13, 9, 9));
    p.setBrush(Qt::NoBrush);
    return true;
  case ImageMacroMake: // macro recording, idle
    MacroBox(p, Qt::white, Qt::white);
    return true;
  case ImageMacroSources: // macro recording, sources being picked
    MacroBox(p, QColor(60, 110, 230), Qt::white);
    return true;
  case ImageMacroResults: // macro recording, results being picked
    MacroBox(p, QColor(60, 110, 230), PointColour);
    return true;
  case ImageUndo:
    TurnArrow(p, false);
    return true;
  case ImageRedo:
    TurnArrow(p, true);
    return true;
  case ImageCalcFixSave: // the frozen values to a file
    p.save();
    p.scale(0.75, 0.75);
    ValueGrid(p, true);
    p.restore();
    p.save();
    p.translate(8, 8);
    p.scale(0.66, 0.66);
    Disk(p);
    p.restore();
    return true;
  case 53: // apply a macro
    p.setPen(QPen(InkColour, 1.0, Qt::DashLine));
    p.drawRect(QRectF(2, 2, 12, 10));
    Line(p, 5, 9, 8, 5, LineColour, 1.2);
    Line(p, 8, 5, 11, 9, LineColour, 1.2);
    Arrow(p, 8, 12, 14, 18);
    Dot(p, 18, 20);
    return true;
  default:
    return false;
  }
}

// A cursor picture on a 32 x 32 grid with a white rim around the black strokes.
void CursorStroke(QPainter& p, const QPainterPath& path, const QColor& fill = Qt::black) {
  p.setPen(QPen(Qt::white, 3.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path);
  p.setPen(QPen(fill, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(path);
}

void ArrowShape(QPainter& p) {
  QPolygonF arrow;
  arrow << QPointF(1, 1) << QPointF(1, 17) << QPointF(5, 13) << QPointF(8, 20) << QPointF(10.5, 19) << QPointF(7.5, 12)
        << QPointF(13, 12);
  p.setPen(QPen(Qt::white, 1.2));
  p.setBrush(Qt::black);
  p.drawPolygon(arrow);
  p.setBrush(Qt::NoBrush);
}

void CrossHair(QPainter& p, double cx, double cy, double r) {
  QPainterPath path;
  path.moveTo(cx - r, cy);
  path.lineTo(cx - 2, cy);
  path.moveTo(cx + 2, cy);
  path.lineTo(cx + r, cy);
  path.moveTo(cx, cy - r);
  path.lineTo(cx, cy - 2);
  path.moveTo(cx, cy + 2);
  path.lineTo(cx, cy + r);
  CursorStroke(p, path);
}

} // namespace

QIcon CommandImage(int imageNo) {
  if (imageNo < 0 || imageNo >= ImageCount) return {};
  QIcon icon;
  for (int scale : {1, 2}) {
    QPixmap pixmap(Size * scale, Size * scale);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(scale, scale);
    if (!DrawImage(p, imageNo)) return {};
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

QCursor ProgramCursor(int cursorNo) {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QPoint hot(0, 0);
  switch (cursorNo) {
  case TargetCur: { // a ring with a cross hair: the object to aim at
    QPainterPath ring;
    ring.addEllipse(QPointF(15, 15), 7, 7);
    CursorStroke(p, ring);
    CrossHair(p, 15, 15, 12);
    hot = QPoint(15, 15);
    break;
  }
  case DragCur: { // four arrows: the object under the cursor can be dragged
    QPainterPath path;
    path.moveTo(3, 15);
    path.lineTo(27, 15);
    path.moveTo(15, 3);
    path.lineTo(15, 27);
    for (const auto& tip : {QPointF(3, 15), QPointF(27, 15), QPointF(15, 3), QPointF(15, 27)}) {
      const double dx = tip.x() < 15 ? 4 : tip.x() > 15 ? -4 : 0;
      const double dy = tip.y() < 15 ? 4 : tip.y() > 15 ? -4 : 0;
      path.moveTo(tip.x() + dx + dy, tip.y() + dy + dx);
      path.lineTo(tip);
      path.lineTo(tip.x() + dx - dy, tip.y() + dy - dx);
    }
    CursorStroke(p, path);
    hot = QPoint(15, 15);
    break;
  }
  case PutCur: // a cross hair with a new point beside it: a point is put here
    CrossHair(p, 10, 10, 9);
    Dot(p, 22, 22, PointColour, 4);
    hot = QPoint(10, 10);
    break;
  case GetCur: { // a cross hair with a ring at its centre: the object here is taken
    CrossHair(p, 12, 12, 11);
    QPainterPath ring;
    ring.addEllipse(QPointF(12, 12), 4, 4);
    CursorStroke(p, ring, PointColour);
    hot = QPoint(12, 12);
    break;
  }
  case AttrCur: // the arrow with a colour swatch
    ArrowShape(p);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(CurveColour);
    p.drawRect(QRectF(17, 17, 6, 6));
    p.setBrush(PointColour);
    p.drawRect(QRectF(23, 17, 6, 6));
    p.setBrush(LineColour);
    p.drawRect(QRectF(17, 23, 6, 6));
    p.setBrush(AccentColour);
    p.drawRect(QRectF(23, 23, 6, 6));
    break;
  case NameCur: // the arrow with a letter
    ArrowShape(p);
    Text(p, QRectF(14, 14, 18, 18), QStringLiteral("A"), LineColour, 14);
    break;
  case DelCur: // the arrow with a red cross
    ArrowShape(p);
    Cross(p, 23, 23, 5);
    break;
  case HideCur: { // the arrow with a closed eye
    ArrowShape(p);
    QPainterPath lid(QPointF(14, 24));
    lid.quadTo(QPointF(22, 31), QPointF(30, 24));
    CursorStroke(p, lid, LineColour);
    break;
  }
  case HandCur: { // an open hand: the value here can be picked up
    QPainterPath hand;
    hand.addRoundedRect(QRectF(8, 13, 17, 15), 5, 5);
    const double tops[] = {6, 3, 4, 7};
    for (int k = 0; k < 4; ++k) {
      QPainterPath finger;
      finger.addRoundedRect(QRectF(8 + 4.3 * k, tops[k], 4, 14), 2, 2);
      hand = hand.united(finger);
    }
    QPainterPath thumb;
    thumb.addRoundedRect(QRectF(2, 14, 10, 4.5), 2.2, 2.2);
    hand = hand.united(thumb);
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(Qt::white);
    p.drawPath(hand);
    p.setBrush(Qt::NoBrush);
    for (int k = 1; k < 4; ++k)
      Line(p, 8 + 4.3 * k, 10, 8 + 4.3 * k, 16, Qt::black, 0.8);
    hot = QPoint(14, 4);
    break;
  }
  case ArrowCur:
    ArrowShape(p);
    hot = QPoint(1, 1);
    break;
  default:
    p.end();
    return QCursor(Qt::CrossCursor);
  }
  p.end();
  return QCursor(pixmap, hot.x(), hot.y());
}

} // namespace drex
