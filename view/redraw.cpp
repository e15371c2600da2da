#include "view/redraw.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <exception>
#include <string>

#include "expr/format_answer.h"
#include "expr/polynomial.h"
#include "kernel/cp1251.h"
#include "kernel/deletion.h"
#include "kernel/math2d.h"
#include "kernel/recalc.h"
#include "shell/program.h"

namespace drex {

namespace {

constexpr double Pi = 3.14159265358979323846;
/// Radius of the arc of an angle mark and distance of its label from the vertex, pixels.
constexpr double AngleArcRadius = 15;
constexpr double AngleLabelRadius = 30;
/// Width of one character of a measurement label for its hit rectangle, independent of the font.
constexpr int LabelCharWidth = 8;
constexpr int LabelHeight = 8;
/// Upper bound of the tick-step search; a visible extent that is not a finite number stops there.
constexpr int TickStepSearchLimit = 400;
/// Largest grid of dots drawn; the tick step keeps a sound view far below it.
constexpr double MaxGridDots = 1e6;

/// Clears the redraw guard however the redraw ends.
class GuardScope {
public:
  explicit GuardScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~GuardScope() { flag_ = false; }
  GuardScope(const GuardScope&) = delete;
  GuardScope& operator=(const GuardScope&) = delete;

private:
  bool& flag_;
};

PixelPoint ToPixel(Point2 screen) { return PixelPoint{RoundHalfEven(screen.x), RoundHalfEven(screen.y)}; }

/// Lengths of the picture in pixels at the display scale of the settings.
struct Scaler {
  int Percent = 100;
  int operator()(int pixels) const { return ScalePixels(Percent, pixels); }
};

Scaler ScalerOf(const Program& prog) {
  return Scaler{std::clamp(prog.Config.DisplayScale, MinDisplayScale, MaxDisplayScale)};
}

/// True when every corner of a box lies within the int range the canvas takes.
bool FitsInt(int64_t v) { return v >= INT_MIN && v <= INT_MAX; }

/// A pixel sum held to the int range, for positions next to a far pixel.
int ClampToInt(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

/// Radius in pixels of a circle drawn from its two pixel fields.
int64_t CircleRadius(const TGeomObject& o) {
  const double dx = static_cast<double>(o.ScrX2) - o.ScrX1;
  const double dy = static_cast<double>(o.ScrY2) - o.ScrY1;
  return RoundHalfEven(std::hypot(dx, dy));
}

/// True when object `number` is a valid reference of the table.
bool IsObject(const Program& prog, int number) { return number >= 1 && number <= prog.Doc.ObjCount; }

/// True when the polyline's vertex references can be followed.
bool PolylineRefsValid(const Program& prog, const TGeomObject& o) {
  if (o.RefCount < 1 || o.RefCount > MaxPolylineRefs) return false;
  for (int k = 1; k <= o.RefCount; ++k) {
    if (!IsObject(prog, o.Ref(k))) return false;
  }
  return true;
}

PixelPoint VertexPixel(const Program& prog, const TGeomObject& o, int k) {
  const TGeomObject& v = prog.Doc[o.Ref(k)];
  return PixelPoint{v.ScrX1, v.ScrY1};
}

/// The node count of a polynomial whose coefficients can be used, 0 otherwise.
int PolynomialNodes(const TGeomObject& o) {
  return (o.RefCount >= 1 && o.RefCount <= MaxPolynomialNodes) ? o.RefCount : 0;
}

double PolynomialAt(const TGeomObject& o, double x) { return EvalPolynomial(PolynomialNodes(o), &o.Param[6], x); }

/// A selection handle: the box (x + left, y + left, x + right, y + right), its offsets at the
/// display scale; not drawn when the box leaves the int range.
void Handle(Canvas& canvas, const Scaler& scale, int64_t x, int64_t y, int left, int right) {
  const int64_t l = x + scale(left), t = y + scale(left), r = x + scale(right), b = y + scale(right);
  if (FitsInt(l) && FitsInt(t) && FitsInt(r) && FitsInt(b)) {
    canvas.Rectangle(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(b));
  }
}

void Handle(Canvas& canvas, const Scaler& scale, PixelPoint p, int left, int right) {
  Handle(canvas, scale, p.X, p.Y, left, right);
}

/// The two handles of a segment, a third of the way in from each end.
void SegmentHandles(Canvas& canvas, const Scaler& scale, PixelPoint p, PixelPoint q) {
  const int dx = RoundHalfEven((static_cast<double>(q.X) - p.X) / 3);
  const int dy = RoundHalfEven((static_cast<double>(q.Y) - p.Y) / 3);
  Handle(canvas, scale, PixelPoint{p.X + dx, p.Y + dy}, -1, 3);
  Handle(canvas, scale, PixelPoint{q.X - dx, q.Y - dy}, -1, 3);
}

/// Pen of an object's curve.
CanvasPen ObjectPen(const TGeomObject& o, bool blankedOut, const Scaler& scale) {
  return CanvasPen{blankedOut ? ColorWhite : o.Color, PenStyleOfRecord(o.PenStyle),
                   ClampPenWidth(scale(RecordPenWidth(o.PenWidth))), PenMode::Copy};
}

/// The pen of the selection handles: white XOR, two pixels at 100 %.
CanvasPen HandlePen(const Scaler& scale) { return CanvasPen{ColorWhite, PenStyle::Solid, scale(2), PenMode::Xor}; }

/// The font of the texts on the drawing in `color`: a typewriter face on the aliased picture, a
/// sans-serif one with a halo in the background colour on the smooth one.
CanvasFont PictureFont(const Program& prog, int32_t color) {
  CanvasFont font;
  font.Color = color;
  font.Scale = ScalerOf(prog).Percent;
  if (prog.Config.SmoothDrawing) {
    font.Name = SmoothFontName;
    font.Halo = ColorWhite;
  }
  return font;
}

void DrawAxes(Program& prog, Canvas& canvas, double tick) {
  const Scaler s = ScalerOf(prog);
  canvas.SetPen(CanvasPen{ColorGrey, PenStyle::Solid, s(1), PenMode::Copy});
  canvas.SetBrushStyle(BrushStyle::Clear);
  DrawClippedLine(canvas, prog.Doc.View, prog.Area, {-1, 0}, {1, 0});
  DrawClippedLine(canvas, prog.Doc.View, prog.Area, {0, -1}, {0, 1});
  canvas.SetFont(PictureFont(prog, ColorBlack));
  const PixelPoint o = PixelOf(prog, {0, 0});
  canvas.TextOut(o.X + s(4), 0, "y");
  canvas.TextOut(canvas.Width() - s(10), o.Y + s(1), "x");
  const double unit = prog.UnitLength * tick;
  const std::string label = FormatAnswer(tick, prog.Config.AnswerDigits);
  const PixelPoint py = PixelOf(prog, {0, unit});
  canvas.TextOut(py.X + s(2), py.Y, label);
  canvas.MoveTo(py.X - s(2), py.Y);
  canvas.LineTo(py.X + s(3), py.Y);
  const PixelPoint px = PixelOf(prog, {unit, 0});
  canvas.TextOut(px.X + s(2), px.Y, label);
  canvas.MoveTo(px.X, px.Y - s(2));
  canvas.LineTo(px.X, px.Y + s(3));
}

void DrawGridDots(Program& prog, Canvas& canvas, double tick) {
  const double u = prog.UnitLength * tick;
  const auto& c = prog.Area.VisibleCorners;
  const double i0 = std::trunc(c[0].x / u), i1 = std::trunc(c[2].x / u);
  const double j0 = std::trunc(c[0].y / u), j1 = std::trunc(c[2].y / u);
  if (!std::isfinite(i0) || !std::isfinite(i1) || !std::isfinite(j0) || !std::isfinite(j1)) return;
  if ((std::fabs(i1 - i0) + 1) * (std::fabs(j0 - j1) + 1) > MaxGridDots) return;
  // A dot is one pixel at 100 %, a square of the scaled size beyond.
  const int size = ScalerOf(prog)(1);
  const int before = (size - 1) / 2;
  canvas.SetBrushColor(ColorBlack);
  for (double i = i0; i <= i1; ++i) {
    for (double j = j0; j >= j1; --j) {
      const PixelPoint p = PixelOf(prog, {i * u, j * u});
      const int64_t l = static_cast<int64_t>(p.X) - before, t = static_cast<int64_t>(p.Y) - before;
      if (size == 1)
        canvas.SetPixel(p.X, p.Y, ColorBlack);
      else if (FitsInt(l) && FitsInt(t) && FitsInt(l + size) && FitsInt(t + size))
        canvas.FillRect(static_cast<int>(l), static_cast<int>(t), static_cast<int>(l + size),
                        static_cast<int>(t + size));
    }
  }
  canvas.SetBrushColor(ColorWhite);
}

void DrawPolyline(Program& prog, Canvas& canvas, const TGeomObject& o) {
  if (!PolylineRefsValid(prog, o)) return;
  const PixelPoint first = VertexPixel(prog, o, 1);
  canvas.MoveTo(first.X, first.Y);
  for (int k = 2; k <= o.RefCount; ++k) {
    const PixelPoint p = VertexPixel(prog, o, k);
    canvas.LineTo(p.X, p.Y);
  }
  if (o.Param[7] == 1.0) {
    const double fill = o.Param[8];
    canvas.SetBrushColor((fill >= 0 && fill <= 0xFFFFFF) ? RoundHalfEven(fill) : ColorBlack);
    std::vector<PixelPoint> points;
    points.reserve(static_cast<std::size_t>(o.RefCount));
    for (int k = 1; k < o.RefCount; ++k)
      points.push_back(VertexPixel(prog, o, k));
    canvas.Polygon(points);
  }
}

void DrawCircle(Canvas& canvas, const TGeomObject& o) {
  canvas.SetBrushStyle(BrushStyle::Clear);
  const int64_t r = CircleRadius(o);
  const int64_t l = o.ScrX1 - r, t = o.ScrY1 - r, rr = o.ScrX1 + r, b = o.ScrY1 + r;
  if (FitsInt(l) && FitsInt(t) && FitsInt(rr) && FitsInt(b)) {
    canvas.Ellipse(static_cast<int>(l), static_cast<int>(t), static_cast<int>(rr), static_cast<int>(b));
  }
  canvas.SetBrushStyle(BrushStyle::Solid);
}

void DrawCurve(Program& prog, Canvas& canvas, int number) {
  const TGeomObject& o = prog.Doc[number];
  switch (static_cast<TObjKind>(o.Kind)) {
  case okPoint:
  case okMidpoint:
  case okPointOn:
  case okIntersection:
  case okSymmetric:
    return;
  case okLine:
  case okParallel:
  case okPerpendicular:
  case okBisector:
  case okTangent:
    DrawClippedLine(canvas, prog.Doc.View, prog.Area, {o.X1, o.Y1}, {o.X2, o.Y2});
    return;
  case okPolyline:
    DrawPolyline(prog, canvas, o);
    return;
  case okCircle:
    DrawCircle(canvas, o);
    return;
  case okPolynomial:
    PlotPolynomial(prog, canvas, number);
    return;
  case okFunction:
    PlotFunctionGraph(prog, canvas, number);
    return;
  }
}

/// The screen direction of pixel p seen from v, anticlockwise from rightwards, in [−π, π).
double ScreenDirection(PixelPoint v, PixelPoint p) {
  const double theta = std::atan2(static_cast<double>(v.Y) - p.Y, static_cast<double>(p.X) - v.X);
  return theta >= Pi ? theta - 2 * Pi : theta;
}

/// The angle at v between the rays to a and c in whole degrees, as its label shows it; empty when
/// it cannot be computed.
std::string AngleDegreesText(const TGeomObject& a, const TGeomObject& v, const TGeomObject& c) {
  const ValueResult angle = OrientedAngle({v.X1, v.Y1}, {a.X1, a.Y1}, {v.X1, v.Y1}, {c.X1, c.Y1});
  if (angle.Failed || !std::isfinite(angle.Value)) return {};
  return std::to_string(RoundHalfEven(std::fabs(angle.Value) * 180 / Pi));
}

std::string DistanceText(const Program& prog, const TGeomObject& a, const TGeomObject& b) {
  const int unit = prog.UnitLength > 0 ? prog.UnitLength : 1;
  return FormatAnswer(Distance({a.X1, a.Y1}, {b.X1, b.Y1}) / unit, prog.Config.AnswerDigits);
}

/// True when measurement i (0-based) names existing defined points only.
bool MeasurementDrawable(const Program& prog, const Measurement& m) {
  const int points = m.Type == 0 ? 3 : 2;
  bool usable = m.Type <= 1;
  for (int k = 0; k < points && usable; ++k) {
    const int n = m.Objects[static_cast<std::size_t>(k)];
    usable = IsObject(prog, n) && prog.Doc[n].Defined;
  }
  return usable;
}

void DrawAngleMark(Program& prog, Canvas& canvas, const TGeomObject& a, const TGeomObject& v, const TGeomObject& c,
                   LabelRect& rect) {
  const std::string number = AngleDegreesText(a, v, c);
  if (number.empty()) return;
  const Scaler s = ScalerOf(prog);
  const double arcRadius = AngleArcRadius * s.Percent / 100, labelRadius = AngleLabelRadius * s.Percent / 100;
  canvas.SetPen(CanvasPen{ColorBlack, PenStyle::Solid, s(1), PenMode::Copy});
  const PixelPoint vp{v.ScrX1, v.ScrY1};
  double thetaA = ScreenDirection(vp, PixelPoint{a.ScrX1, a.ScrY1});
  double thetaC = ScreenDirection(vp, PixelPoint{c.ScrX1, c.ScrY1});
  if (std::fabs(thetaC - thetaA) > Pi) {
    if (thetaC > 0)
      thetaC -= 2 * Pi;
    else if (thetaA > 0)
      thetaA -= 2 * Pi;
  }
  PixelPoint middle;
  int lx = 0, ly = 0;
  for (int i = 0; i <= 10; ++i) {
    const double theta = thetaC + (thetaA - thetaC) * i / 10;
    const PixelPoint p{RoundHalfEven(vp.X + arcRadius * std::cos(theta)),
                       RoundHalfEven(vp.Y - arcRadius * std::sin(theta))};
    if (i == 0)
      canvas.MoveTo(p.X, p.Y);
    else
      canvas.LineTo(p.X, p.Y);
    if (i == 5) {
      middle = p;
      lx = RoundHalfEven(vp.X + labelRadius * std::cos(theta));
      ly = RoundHalfEven(vp.Y - labelRadius * std::sin(theta));
    }
  }
  // Sums in 64 bits held to the int range: a vertex far off the surface has its pixel at the
  // range's end.
  const int width = canvas.TextWidth(number);
  const bool onLeft = lx < vp.X;
  if (onLeft) lx = ClampToInt(static_cast<int64_t>(lx) - width);
  const int top = ClampToInt(static_cast<int64_t>(ly) - s(15));
  const int underline = ClampToInt(static_cast<int64_t>(ly) - s(3));
  const int underlineEnd = ClampToInt(static_cast<int64_t>(lx) + width);
  canvas.SetFontColor(ColorBlue);
  canvas.TextOut(lx, top, number + "\xC2\xB0");
  const int64_t right = static_cast<int64_t>(lx) + s(LabelCharWidth) * static_cast<int64_t>(number.size());
  rect = LabelRect{lx, top, ClampToInt(right), ClampToInt(static_cast<int64_t>(top) + s(LabelHeight))};
  canvas.MoveTo(lx, underline);
  canvas.LineTo(underlineEnd, underline);
  canvas.MoveTo(middle.X, middle.Y);
  canvas.LineTo(onLeft ? underlineEnd : lx, underline);
}

void DrawDistanceLabel(Program& prog, Canvas& canvas, const TGeomObject& a, const TGeomObject& b, LabelRect& rect) {
  const double mx = (static_cast<double>(a.ScrX1) + b.ScrX1) / 2;
  const double my = (static_cast<double>(a.ScrY1) + b.ScrY1) / 2;
  const Scaler s = ScalerOf(prog);
  const int left = RoundHalfEven(mx + s(5));
  const int top = RoundHalfEven(my - s(15));
  const std::string text = DistanceText(prog, a, b);
  const int64_t right = static_cast<int64_t>(left) + s(LabelCharWidth) * static_cast<int64_t>(text.size());
  rect = LabelRect{left, top, ClampToInt(right), ClampToInt(static_cast<int64_t>(top) + s(LabelHeight))};
  canvas.SetFontColor(ColorNavy);
  canvas.TextOut(left, top, text);
}

/// The objects a pass of a drawing over retained layers draws: those that stay (into the layers)
/// or those that move with the drag (over them), each after its key. Without one, a pass draws
/// every object.
struct LayerPass {
  const RetainedDrag* Drag = nullptr;
  bool MovingOnes = false;
  PaintList* List = nullptr;

  bool Draws(int number) const {
    return Drag == nullptr || (Drag->IsMoving[static_cast<std::size_t>(number)] != 0) == MovingOnes;
  }
  /// Calls f(i) for the objects 1..n the pass draws, in number order.
  template <typename F> void ForEach(int n, F&& f) const {
    if (Drag != nullptr && MovingOnes) {
      for (int i : Drag->Moving) {
        if (i > n) break;
        f(i);
      }
      return;
    }
    for (int i = 1; i <= n; ++i)
      if (Draws(i)) f(i);
  }
  void Key(int key) const {
    if (List != nullptr) List->SetKey(static_cast<uint16_t>(key));
  }
};

/// The key of measurement i (0-based) in the curves' layer: after every object.
int MeasurementKey(int i) { return SlotCount + i; }

/// True when measurement m names an object built on what the drag moves: its value may change
/// with the world positions even where the pixels stay.
bool MeasurementMoves(const RetainedDrag& drag, const Measurement& m) {
  for (int n : m.Objects) {
    if (n >= 1 && n < SlotCount && drag.IsDependant[static_cast<std::size_t>(n)] != 0) return true;
  }
  return false;
}

void DrawMeasurements(Program& prog, Canvas& canvas, const LayerPass& pass) {
  const int count = std::min<int>(prog.Doc.MeasureCount, MaxMeasurements);
  if (count > 0) canvas.SetFont(PictureFont(prog, ColorBlack));
  for (int i = 0; i < count; ++i) {
    const Measurement& m = prog.Doc.Measurements[static_cast<std::size_t>(i)];
    if (!MeasurementDrawable(prog, m)) continue;
    if (pass.Drag != nullptr && MeasurementMoves(*pass.Drag, m) != pass.MovingOnes) continue;
    pass.Key(MeasurementKey(i));
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.SetPenColor(ColorBlack);
    LabelRect& rect = prog.Drawing.LabelRects[static_cast<std::size_t>(i)];
    const TGeomObject& first = prog.Doc[m.Objects[0]];
    const TGeomObject& second = prog.Doc[m.Objects[1]];
    if (m.Type == 0)
      DrawAngleMark(prog, canvas, first, second, prog.Doc[m.Objects[2]], rect);
    else
      DrawDistanceLabel(prog, canvas, first, second, rect);
  }
}

void DrawHandles(Program& prog, Canvas& canvas, int number) {
  const TGeomObject& o = prog.Doc[number];
  const Scaler s = ScalerOf(prog);
  canvas.SetPen(HandlePen(s));
  canvas.SetBrushColor(ColorBlack);
  const PixelPoint p{o.ScrX1, o.ScrY1};
  const PixelPoint q{o.ScrX2, o.ScrY2};
  switch (static_cast<TObjKind>(o.Kind)) {
  case okPoint:
  case okMidpoint:
  case okPointOn:
  case okIntersection:
  case okSymmetric: {
    canvas.SetPenColor(ColorBlack);
    canvas.SetPenMode(PenMode::Copy);
    canvas.SetBrushStyle(BrushStyle::Clear);
    const int w = RecordPenWidth(o.PenWidth);
    Handle(canvas, s, p, -w - 2, w + 4);
    break;
  }
  case okLine:
  case okParallel:
  case okPerpendicular:
  case okBisector:
  case okTangent:
    SegmentHandles(canvas, s, p, q);
    break;
  case okPolyline:
    if (PolylineRefsValid(prog, o)) {
      for (int k = 1; k < o.RefCount; ++k)
        SegmentHandles(canvas, s, VertexPixel(prog, o, k), VertexPixel(prog, o, k + 1));
    }
    break;
  case okCircle: {
    const int64_t r = CircleRadius(o);
    const int64_t x = p.X, y = p.Y;
    Handle(canvas, s, x + r, y, -2, 2);
    Handle(canvas, s, x - r, y, -2, 2);
    Handle(canvas, s, x, y + r, -2, 2);
    Handle(canvas, s, x, y - r, -2, 2);
    break;
  }
  case okPolynomial: {
    const int unit = prog.UnitLength;
    const double a = o.ExtA(), b = o.ExtB();
    for (int k = 0; k <= 10; ++k) {
      const double x = a + k * (b - a) / 10;
      Handle(canvas, s, PixelOf(prog, {unit * x, unit * PolynomialAt(o, x)}), -1, 3);
    }
    break;
  }
  case okFunction:
    break;
  }
  canvas.SetPenMode(PenMode::Copy);
}

/// The UTF-8 text of object `number`'s name, converted again only when the name changed.
const std::string& NameText(Program& prog, int number) {
  auto& names = prog.Drawing.NameTexts;
  if (names.size() < static_cast<std::size_t>(SlotCount)) names.resize(SlotCount);
  auto& kept = names[static_cast<std::size_t>(number)];
  const TGeomObject& o = prog.Doc[number];
  if (!o.Name.Equals(kept.first)) {
    kept.first = o.Name.Bytes();
    kept.second = Cp1251ToUtf8(kept.first);
  }
  return kept.second;
}

void DrawPoint(Program& prog, Canvas& canvas, int number, bool blankedOut) {
  const TGeomObject& o = prog.Doc[number];
  const Scaler s = ScalerOf(prog);
  canvas.SetPen(CanvasPen{ColorBlack, PenStyle::Solid, s(1), PenMode::Copy});
  canvas.SetBrushColor(o.Color);
  if (blankedOut) {
    canvas.SetPenColor(ColorWhite);
    canvas.SetBrushStyle(BrushStyle::Clear);
  }
  const int w = RecordPenWidth(o.PenWidth);
  const int64_t l = static_cast<int64_t>(o.ScrX1) - s(w + 1), t = static_cast<int64_t>(o.ScrY1) - s(w + 1);
  const int64_t r = static_cast<int64_t>(o.ScrX1) + s(w + 1) + 1, b = static_cast<int64_t>(o.ScrY1) + s(w + 1) + 1;
  if (FitsInt(l) && FitsInt(t) && FitsInt(r) && FitsInt(b)) {
    canvas.Ellipse(static_cast<int>(l), static_cast<int>(t), static_cast<int>(r), static_cast<int>(b));
  }
  const int dx = s(5), dy = s(4);
  if (prog.Config.PutObjName && o.Name.Len > 0 && o.ScrX1 <= INT_MAX - dx && o.ScrY1 <= INT_MAX - dy) {
    canvas.SetBrushStyle(BrushStyle::Clear);
    canvas.TextOut(o.ScrX1 + dx, o.ScrY1 + dy, NameText(prog, number));
    canvas.SetBrushStyle(BrushStyle::Solid);
  }
}

/// Colour of the preview of the object a construction tool is about to make.
constexpr int32_t PreviewColor = 0xA0A0A0;

/// The object the running construction tool makes with its last pick at the cursor, in a light
/// dashed pen: a line through the first point, the parallel or perpendicular through it to the
/// line under the cursor, the next edge of a polyline, a circle through the cursor, a midpoint.
void DrawPreview(Program& prog, Canvas& canvas) {
  const OperationState& op = prog.Op;
  if (!op.PreviewShown || op.PickCount < 1 || op.StepPos > 0) return;
  const auto pickedPoint = [&](int k) -> const TGeomObject* {
    if (k < 0 || k >= op.PickCount || k >= static_cast<int>(op.PickList.size())) return nullptr;
    const int n = op.PickList[static_cast<std::size_t>(k)];
    if (!IsObject(prog, n) || !IsPointKind(prog.Doc[n].Kind) || !prog.Doc[n].Defined) return nullptr;
    return &prog.Doc[n];
  };
  const TGeomObject* hot = IsObject(prog, op.HotObject) ? &prog.Doc[op.HotObject] : nullptr;
  // The pick lands on the point under the cursor, or on a new point at the cursor.
  Point2 cursor{prog.MouseWorldX, prog.MouseWorldY};
  if (hot != nullptr && IsPointKind(hot->Kind)) cursor = {hot->X1, hot->Y1};
  const Scaler s = ScalerOf(prog);
  canvas.SetPen(CanvasPen{PreviewColor, PenStyle::Dash, s(1), PenMode::Copy});
  canvas.SetBrushStyle(BrushStyle::Clear);
  const PixelPoint c = PixelOf(prog, cursor);
  switch (op.ToolMode - 1) {
  case okMidpoint:
    if (const TGeomObject* a = pickedPoint(0)) {
      const PixelPoint m = PixelOf(prog, {(a->X1 + cursor.x) / 2, (a->Y1 + cursor.y) / 2});
      canvas.SetPenStyle(PenStyle::Solid);
      canvas.Ellipse(m.X - s(3), m.Y - s(3), m.X + s(4), m.Y + s(4));
    }
    break;
  case okLine:
    if (const TGeomObject* a = pickedPoint(0)) {
      if (a->X1 != cursor.x || a->Y1 != cursor.y)
        DrawClippedLine(canvas, prog.Doc.View, prog.Area, {a->X1, a->Y1}, cursor);
    }
    break;
  case okParallel:
  case okPerpendicular: {
    const TGeomObject* a = pickedPoint(0);
    if (a == nullptr || hot == nullptr || hot->Kind < okLine || hot->Kind > okTangent || !hot->Defined) break;
    double dx = hot->X2 - hot->X1, dy = hot->Y2 - hot->Y1;
    if (op.ToolMode - 1 == okPerpendicular) {
      const double t = dx;
      dx = -dy;
      dy = t;
    }
    if (dx != 0 || dy != 0) DrawClippedLine(canvas, prog.Doc.View, prog.Area, {a->X1, a->Y1}, {a->X1 + dx, a->Y1 + dy});
    break;
  }
  case okPolyline:
    if (const TGeomObject* last = pickedPoint(op.PickCount - 1)) {
      canvas.MoveTo(last->ScrX1, last->ScrY1);
      canvas.LineTo(c.X, c.Y);
    }
    break;
  case okCircle:
    if (const TGeomObject* centre = pickedPoint(0)) {
      const int64_t r =
          RoundHalfEven(std::hypot(static_cast<double>(c.X) - centre->ScrX1, static_cast<double>(c.Y) - centre->ScrY1));
      const int64_t l = centre->ScrX1 - r, t = centre->ScrY1 - r, rr = centre->ScrX1 + r, b = centre->ScrY1 + r;
      if (r > 0 && FitsInt(l) && FitsInt(t) && FitsInt(rr) && FitsInt(b))
        canvas.Ellipse(static_cast<int>(l), static_cast<int>(t), static_cast<int>(rr), static_cast<int>(b));
    }
    break;
  default:
    break;
  }
  canvas.SetBrushStyle(BrushStyle::Solid);
}

GraphSample EvaluateSample(DS_Calc& calc, const TGeomObject& o, double t) {
  GraphSample s;
  auto eval = [&](const ShortString<255>& text, char letter) {
    const long double v = calc.EvaluateExpression(SubstituteVariable(text.Bytes(), letter, t));
    if (calc.CalcError != 0) s.Failed = true;
    return static_cast<double>(v);
  };
  switch (o.FuncType) {
  case 1:
    s.X = t;
    s.Y = eval(o.Expr1, 'X');
    break;
  case 2:
    s.X = eval(o.Expr1, 'T');
    s.Y = eval(o.Expr2, 'T');
    break;
  case 3: {
    const double r = eval(o.Expr1, 'F');
    s.X = r * std::cos(t);
    s.Y = r * std::sin(t);
    break;
  }
  default:
    s.Failed = true;
    break;
  }
  if (!std::isfinite(s.X) || !std::isfinite(s.Y)) s.Failed = true;
  return s;
}

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

/// The samples of function graph `number` (FuncType 1..3), evaluated again only when its type,
/// interval or formulas changed since they were last taken.
const std::array<GraphSample, GraphSamples>& SamplesOf(Program& prog, int number) {
  const TGeomObject& o = prog.Doc[number];
  GraphSampleMemo& memo = prog.Drawing.GraphMemo[number];
  if (memo.FuncType == o.FuncType && SameBits(memo.Start, o.X1) && SameBits(memo.End, o.Y1) &&
      o.Expr1.Equals(memo.Expr1) && o.Expr2.Equals(memo.Expr2))
    return memo.Samples;
  const double a = o.X1, b = o.Y1;
  const double d = (b - a) / (GraphSamples - 1);
  for (int k = 1; k <= GraphSamples; ++k)
    memo.Samples[static_cast<std::size_t>(k - 1)] = EvaluateSample(prog.Drawing.GraphCalc, o, a + (k - 1) * d);
  memo.FuncType = o.FuncType;
  memo.Start = a;
  memo.End = b;
  memo.Expr1 = o.Expr1.Bytes();
  memo.Expr2 = o.Expr2.Bytes();
  return memo.Samples;
}

/// A pixel rectangle, borders included.
struct HitBox {
  int Left, Top, Right, Bottom;
};

/// The 101 samples of graph `number`: draws them on `canvas` or, with `hit` set, tests them
/// against the rectangle and returns whether one fell inside.
bool SampleGraph(Program& prog, int number, Canvas* canvas, const HitBox* hit) {
  TGeomObject& o = prog.Doc[number];
  if (o.FuncType < 1 || o.FuncType > 3) return false;
  const std::array<GraphSample, GraphSamples>& samples = SamplesOf(prog, number);
  const int unit = prog.UnitLength;
  bool anySample = false;
  bool found = false;
  bool previousFailed = false;
  for (int k = 1; k <= GraphSamples; ++k) {
    const GraphSample& s = samples[static_cast<std::size_t>(k - 1)];
    if (!s.Failed) {
      if (!anySample) {
        o.ExtA() = o.ExtB() = s.X;
        o.ExtC() = o.ExtD() = s.Y;
        anySample = true;
      } else {
        o.ExtA() = std::max(o.ExtA(), s.X);
        o.ExtB() = std::min(o.ExtB(), s.X);
        o.ExtC() = std::max(o.ExtC(), s.Y);
        o.ExtD() = std::min(o.ExtD(), s.Y);
      }
    }
    const Point2 screen = WorldToScreen(prog.Doc.View, prog.Area, {unit * s.X, unit * s.Y});
    const PixelPoint p = ToPixel(screen);
    if (hit != nullptr) {
      if (!found && !s.Failed) {
        found = p.X >= hit->Left && p.X <= hit->Right && p.Y >= hit->Top && p.Y <= hit->Bottom;
      }
      continue;
    }
    // A failed sample has no position: the pen is lifted into it and out of it again.
    const bool liftPen = s.Failed || previousFailed || screen.y < -GraphPixelLimit || screen.y > GraphPixelLimit;
    previousFailed = s.Failed;
    if (k == 1 || liftPen)
      canvas->MoveTo(p.X, p.Y);
    else
      canvas->LineTo(p.X, p.Y);
    if (o.Selected && k % 10 == 0 && !s.Failed && !prog.Drawing.Clean) {
      const CanvasPen pen = canvas->Pen();
      const CanvasBrush brush = canvas->Brush();
      canvas->SetPen(HandlePen(ScalerOf(prog)));
      canvas->SetBrushColor(ColorBlack);
      Handle(*canvas, ScalerOf(prog), p, -1, 3);
      canvas->SetPen(pen);
      canvas->SetBrush(brush);
    }
  }
  return found;
}

} // namespace

double TickStep(const ViewArea& area, int unitLength) {
  const double unit = unitLength > 0 ? unitLength : 1;
  const auto& c = area.VisibleCorners;
  const double width = std::fabs(c[0].x - c[2].x) / unit;
  const double height = std::fabs(c[0].y - c[2].y) / unit;
  const double r = std::max(width, height) + 1;
  double s = 1e-13;
  for (int i = 0; i < TickStepSearchLimit; ++i) {
    s *= 10;
    if (r / s < 50) break;
  }
  return s;
}

void DrawClippedLine(Canvas& canvas, const TViewState& view, const ViewArea& area, Point2 a, Point2 b) {
  PixelPoint crossings[2];
  int found = 0;
  for (int edge = 0; edge < 4 && found < 2; ++edge) {
    const Point2 c0 = area.VisibleCorners[static_cast<std::size_t>(edge)];
    const Point2 c1 = area.VisibleCorners[static_cast<std::size_t>(edge + 1)];
    const PointResult x = IntersectLines(a, b, c0, c1);
    if (x.Failed) continue;
    const bool horizontal = edge == 0 || edge == 2;
    const double v = horizontal ? x.Point.x : x.Point.y;
    const double e0 = horizontal ? c0.x : c0.y;
    const double e1 = horizontal ? c1.x : c1.y;
    if (v > std::min(e0, e1) && v < std::max(e0, e1)) {
      crossings[found++] = ToPixel(WorldToScreen(view, area, x.Point));
    }
  }
  if (found < 2) return;
  canvas.MoveTo(crossings[0].X, crossings[0].Y);
  canvas.LineTo(crossings[1].X, crossings[1].Y);
}

void PlotPolynomial(Program& prog, Canvas& canvas, int number) {
  const TGeomObject& o = prog.Doc[number];
  const double a = o.ExtA(), b = o.ExtB();
  const double d = (b - a) / (GraphSamples - 1);
  const int unit = prog.UnitLength;
  for (int k = 1; k <= GraphSamples; ++k) {
    const double x = a + (k - 1) * d;
    const PixelPoint p = PixelOf(prog, {unit * x, unit * PolynomialAt(o, x)});
    if (k == 1)
      canvas.MoveTo(p.X, p.Y);
    else
      canvas.LineTo(p.X, p.Y);
  }
}

void PlotFunctionGraph(Program& prog, Canvas& canvas, int number) { SampleGraph(prog, number, &canvas, nullptr); }

bool GraphTouchesRect(Program& prog, int number, int x1, int y1, int x2, int y2) {
  if (!IsObject(prog, number) || prog.Doc[number].Kind != okFunction) return false;
  const HitBox box{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
  return SampleGraph(prog, number, nullptr, &box);
}

namespace {

/// True when the drawing settings that shape the picture are the same.
bool SameDrawingSettings(const Settings& a, const Settings& b) {
  return a.AnswerDigits == b.AnswerDigits && a.IsOsi == b.IsOsi && a.DrawGrid == b.DrawGrid &&
         a.PutObjName == b.PutObjName && a.SmoothDrawing == b.SmoothDrawing && a.DisplayScale == b.DisplayScale;
}

/// What a drag step's redraw does with the retained layers.
enum class LayerPlan { None, Build, Reuse };

/// Steps a dependant keeps its picture before it goes into the layers.
constexpr uint8_t StepsToSettle = 2;

DrawnState StateOf(const TGeomObject& o) {
  return DrawnState{o.X1, o.Y1, o.X2, o.Y2, o.ScrX1, o.ScrY1, o.ScrX2, o.ScrY2, o.Defined};
}

bool SameBitsAll(std::initializer_list<std::pair<double, double>> pairs) {
  for (const auto& p : pairs)
    if (!SameBits(p.first, p.second)) return false;
  return true;
}

/// True when the object is drawn now exactly as from `was`: a point from its pixel, a circle from
/// its pixels, a line from its world points. Polylines, polynomials and graphs, drawn from more
/// than their own record, never count as unchanged.
bool SameDrawnState(const TGeomObject& o, const DrawnState& was) {
  if (o.Defined != was.Defined) return false;
  if (!o.Defined) return true;
  if (IsPointKind(o.Kind)) return o.ScrX1 == was.ScrX1 && o.ScrY1 == was.ScrY1;
  if (o.Kind == okCircle)
    return o.ScrX1 == was.ScrX1 && o.ScrY1 == was.ScrY1 && o.ScrX2 == was.ScrX2 && o.ScrY2 == was.ScrY2;
  if (IsLineKind(o.Kind)) return SameBitsAll({{o.X1, was.X1}, {o.Y1, was.Y1}, {o.X2, was.X2}, {o.Y2, was.Y2}});
  return false;
}

/// Decides whether this redraw draws the changing objects of a drag over retained layers, and
/// whether the layers are to be made first. They give the full redraw's picture only for opaque
/// aliased drawing in copy mode: a smooth picture, picks blanked by the blink, the construction
/// preview, the step display and a selected function graph (whose handles are XOR marks among
/// the curves) draw everything. At the drag's first step everything built on what it moves is
/// drawn over the layers; a dependant whose picture then stays for a few steps goes into them when
/// they are made again, and one in them that changes makes them be made again.
LayerPlan PlanLayers(Program& prog, const Canvas& canvas, bool full, bool smooth, bool dragFrame) {
  RetainedDrag& drag = prog.Drawing.Retained;
  const OperationState& op = prog.Op;
  const Construction& doc = prog.Doc;
  const int n = doc.ObjCount;
  const bool usable = dragFrame && full && !smooth && !prog.Drawing.Clean && canvas.CanKeepLayers() &&
                      op.StepPos <= 0 && op.PickCount == 0 && !op.PreviewShown &&
                      op.MovedFlags.size() >= static_cast<std::size_t>(n) + 1;
  bool graphSelected = false;
  for (int i = 1; usable && i <= n && !graphSelected; ++i)
    graphSelected = doc[i].Kind == okFunction && doc[i].Selected;
  if (!usable || graphSelected) {
    drag.Stamp = 0;
    drag.Active = false;
    return LayerPlan::None;
  }
  const bool sameMoved = drag.Moved.size() == static_cast<std::size_t>(n) + 1 &&
                         std::equal(drag.Moved.begin(), drag.Moved.end(), op.MovedFlags.begin());
  const bool layersKept = drag.Stamp != 0 && canvas.KeptLayers() == drag.Stamp;
  const bool sameDrag =
      drag.Active && sameMoved && drag.View.OrgX == doc.View.OrgX && drag.View.OrgY == doc.View.OrgY &&
      drag.View.Zoom == doc.View.Zoom && drag.Width == prog.Area.Width && drag.Height == prog.Area.Height &&
      drag.UnitLength == prog.UnitLength && drag.ObjCount == n && drag.MeasureCount == doc.MeasureCount &&
      drag.ShowHidden == prog.ShowHidden && SameDrawingSettings(drag.Config, prog.Config);
  if (sameDrag) {
    bool stale = false;
    int settled = 0;
    for (int i : drag.Dependants) {
      const std::size_t k = static_cast<std::size_t>(i);
      const bool same = SameDrawnState(doc[i], drag.Last[k]);
      drag.Last[k] = StateOf(doc[i]);
      drag.Unchanged[k] = same ? static_cast<uint8_t>(std::min(drag.Unchanged[k] + 1, 255)) : uint8_t{0};
      if (!same && !drag.IsMoving[k]) stale = true; // the layers show it where it no longer is
      if (drag.IsMoving[k] && drag.Unchanged[k] >= StepsToSettle) ++settled;
    }
    if (layersKept && !stale && settled < std::max(64, n / 32)) return LayerPlan::Reuse;
    drag.Moving.clear();
    for (int i : drag.Dependants) {
      const std::size_t k = static_cast<std::size_t>(i);
      drag.IsMoving[k] = drag.Unchanged[k] < StepsToSettle ? 1 : 0;
      if (drag.IsMoving[k]) drag.Moving.push_back(i);
    }
  } else {
    // The first step: the objects it moved and everything built on them change.
    drag.Moved.assign(op.MovedFlags.begin(), op.MovedFlags.begin() + n + 1);
    drag.IsDependant = drag.Moved;
    MarkDependantsOfMarked(doc, drag.IsDependant);
    drag.IsDependant.resize(SlotCount, 0);
    drag.IsMoving = drag.IsDependant;
    drag.Dependants.clear();
    drag.Last.resize(SlotCount);
    drag.Unchanged.assign(SlotCount, 0);
    for (int i = 1; i <= n; ++i) {
      if (!drag.IsDependant[static_cast<std::size_t>(i)]) continue;
      drag.Dependants.push_back(i);
      drag.Last[static_cast<std::size_t>(i)] = StateOf(doc[i]);
    }
    drag.Moving = drag.Dependants;
    drag.Active = true;
    drag.View = doc.View;
    drag.Width = prog.Area.Width;
    drag.Height = prog.Area.Height;
    drag.UnitLength = prog.UnitLength;
    drag.ObjCount = n;
    drag.MeasureCount = doc.MeasureCount;
    drag.ShowHidden = prog.ShowHidden;
    drag.Config = prog.Config;
  }
  // Layers pay while what is drawn over them is the smaller part; until then the drag is watched
  // for dependants that keep their pictures.
  if (drag.Dependants.empty() || 4 * drag.Moving.size() > 3 * static_cast<std::size_t>(n)) {
    drag.Stamp = 0;
    return LayerPlan::None;
  }
  drag.Stamp = ++drag.Issued == 0 ? ++drag.Issued : drag.Issued;
  return LayerPlan::Build;
}

} // namespace

void Redraw(Program& prog, bool full) {
  RedrawState& state = prog.Drawing;
  if (state.Busy) return;
  GuardScope guard(state.Busy);
  const bool dragFrame = state.DragFrame;
  state.DragFrame = false;

  if (!state.Clean) prog.Desktop.ProcessPendingEvents();

  Canvas* surface = prog.Surface;
  prog.Area = surface != nullptr ? MakeViewArea(surface->Width(), surface->Height(), prog.Doc.View)
                                 : MakeViewArea(prog.Area.Width, prog.Area.Height, prog.Doc.View);
  // A large construction is drawn aliased while the mouse moves it and when the blink timer paints
  // over it; the smooth picture follows once the mouse rests. The smooth picture cannot be painted
  // over itself (its soft edges would darken with every coat), so each of its redraws starts from
  // the background.
  const bool smoothable = prog.Config.SmoothDrawing && (state.SmoothAnySize || prog.Doc.ObjCount <= SmoothDrawingLimit);
  const bool quick = !state.Clean && prog.Doc.ObjCount > SmoothWhileMovingLimit && (state.QuickRedraw || !full);
  const bool smooth = smoothable && !quick;
  const bool repaint = full || smooth;
  state.QuickRedraw = false;

  OperationState& op = prog.Op;
  const int stepPos = op.StepPos;
  int n = prog.Doc.ObjCount;
  if (stepPos >= 1) {
    n = std::min(stepPos, n);
    if (!op.PickList.empty()) op.PickList[0] = static_cast<int16_t>(stepPos);
  }
  RecalcPass(prog.Doc, prog.Area, prog.UnitLength, stepPos);
  if (surface == nullptr) {
    state.Retained.Stamp = 0;
    state.Retained.Active = false;
    state.AnySelected = false;
    if (state.Hooks.EnableDelete) state.Hooks.EnableDelete(false);
    if (state.Hooks.RefreshDynExprs) state.Hooks.RefreshDynExprs();
    return;
  }

  // The drawing is worked out here, once, and painted by the surface afterwards.
  PaintList& list = state.List;
  list.Begin(*surface);
  // An aliased drawing is painted by the surface while it is recorded; however the recording
  // ends, the surface gets the whole drawing, so that no band waits for more.
  struct PaintAtEnd {
    Canvas* Surface;
    PaintList* List;
    bool Done = false;
    ~PaintAtEnd() {
      if (Done) return;
      try {
        Surface->Paint(*List);
      } catch (...) {
        // The failure that ends the recording is the one passed on.
      }
    }
  } paintAtEnd{surface, &list};
  if (!smooth) surface->BeginPaint(list);
  Canvas* canvas = &list;
  canvas->SetSmooth(smooth);
  canvas->SetBrushColor(ColorWhite);
  if (full && quick && smoothable) prog.Desktop.StartTimer(TimerId::Settle, SettleDelayMs);
  const LayerPlan plan = PlanLayers(prog, *surface, full, smooth, dragFrame);
  const RetainedDrag* drag = plan == LayerPlan::None ? nullptr : &state.Retained;
  // Into the layers go the objects that stay, over them those that move; without layers, all.
  const LayerPass staying{drag, false, drag != nullptr ? &list : nullptr};
  const LayerPass moving{drag, true, drag != nullptr ? &list : nullptr};
  const LayerPass& curvesPass = drag != nullptr ? moving : staying;

  // Objects of the running operation's picks are blanked out in the blink phase "off".
  std::vector<uint8_t>& blanked = state.BlankedScratch;
  const bool anyBlanked = !op.BlinkPhase && op.PickCount > 0 && !state.Clean;
  if (anyBlanked) {
    blanked.assign(SlotCount, 0);
    const int picks = std::min<int>(op.PickCount, static_cast<int>(op.PickList.size()));
    for (int k = 0; k < picks; ++k) {
      const int p = op.PickList[static_cast<std::size_t>(k)];
      if (p >= 0 && p < SlotCount) blanked[static_cast<std::size_t>(p)] = 1;
    }
  }
  auto isBlanked = [&](int number) { return anyBlanked && blanked[static_cast<std::size_t>(number)] != 0; };
  const Scaler scale = ScalerOf(prog);

  auto drawBackground = [&] {
    try {
      canvas->FillRect(0, 0, canvas->Width(), canvas->Height());
      state.TickStep = TickStep(prog.Area, prog.UnitLength);
      if (prog.Config.IsOsi) DrawAxes(prog, *canvas, state.TickStep);
      if (prog.Config.DrawGrid) DrawGridDots(prog, *canvas, state.TickStep);
    } catch (const std::exception&) {
      // A failure of the background layers leaves the objects still to be drawn.
    }
  };
  auto drawCurves = [&](const LayerPass& pass) {
    pass.ForEach(n, [&](int i) {
      const TGeomObject& o = prog.Doc[i];
      if (IsPointKind(o.Kind)) return;
      pass.Key(i);
      canvas->SetPen(ObjectPen(o, isBlanked(i), scale));
      if (o.Defined && (o.Visible || prog.ShowHidden || stepPos > 0)) DrawCurve(prog, *canvas, i);
    });
  };
  auto drawPoints = [&](const LayerPass& pass) {
    canvas->SetFont(PictureFont(prog, ColorRed));
    pass.ForEach(n, [&](int i) {
      const TGeomObject& o = prog.Doc[i];
      if (!IsPointKind(o.Kind) || !o.Defined || !(o.Visible || prog.ShowHidden)) return;
      pass.Key(i);
      DrawPoint(prog, *canvas, i, isBlanked(i));
    });
  };

  if (plan == LayerPlan::Build) {
    // The objects that stay: the curves and measurements into the lower layer, over the
    // background, and the points into the upper one.
    list.UseLayer(LayerUse::Build, 0);
    list.SetKey(0);
    drawBackground();
    drawCurves(staying);
    DrawMeasurements(prog, *canvas, staying);
    list.UseLayer(LayerUse::Build, 1);
    drawPoints(staying);
    list.StampLayers(state.Retained.Stamp);
  }
  if (drag != nullptr) {
    list.UseLayer(LayerUse::Restore, 0);
    list.UseLayer(LayerUse::Over, 0);
  } else if (repaint) {
    drawBackground();
  }
  drawCurves(curvesPass);
  if (!state.Clean) DrawPreview(prog, *canvas);
  DrawMeasurements(prog, *canvas, curvesPass);
  if (drag != nullptr) list.UseLayer(LayerUse::Picture, 0);

  const bool handlesShown = !state.Clean && !prog.Desktop.TimerRunning(TimerId::Blic);
  if (!state.Clean) state.AnySelected = false;
  if (handlesShown) {
    for (int i = 1; i <= n; ++i) {
      const TGeomObject& o = prog.Doc[i];
      if (o.Selected && o.Visible && o.Defined && stepPos == 0) {
        state.AnySelected = true;
        DrawHandles(prog, *canvas, i);
      }
    }
  }

  if (drag != nullptr) {
    list.UseLayer(LayerUse::Overlay, 1);
    list.UseLayer(LayerUse::Over, 1);
  }
  drawPoints(curvesPass);
  if (drag != nullptr) list.UseLayer(LayerUse::Picture, 0);

  if (repaint && state.Hooks.DrawLocusTrace) state.Hooks.DrawLocusTrace(*canvas);
  canvas->SetSmooth(false);
  paintAtEnd.Done = true;
  surface->Paint(list);
  if (state.Clean) return;
  if (full && state.Hooks.RefreshReport) state.Hooks.RefreshReport();
  if (state.Hooks.EnableDelete) state.Hooks.EnableDelete(state.AnySelected);
  if (state.Hooks.RefreshDynExprs) state.Hooks.RefreshDynExprs();
}

void SettleTick(Program& prog) {
  prog.Desktop.StopTimer(TimerId::Settle);
  Redraw(prog, true);
}

bool ToolHasPreview(int toolMode) {
  switch (toolMode - 1) {
  case okMidpoint:
  case okLine:
  case okParallel:
  case okPerpendicular:
  case okPolyline:
  case okCircle:
    return true;
  default:
    return false;
  }
}

int ScalePixels(int percent, int pixels) {
  const int p = std::clamp(percent, MinDisplayScale, MaxDisplayScale);
  return p == 100 ? pixels : RoundHalfEven(static_cast<double>(pixels) * p / 100);
}

PixelPoint PixelOf(const Program& prog, Point2 world) {
  return ToPixel(WorldToScreen(prog.Doc.View, prog.Area, world));
}

std::string MeasurementText(const Program& prog, int i) {
  if (i < 1 || i > std::min<int>(prog.Doc.MeasureCount, MaxMeasurements)) return {};
  const Measurement& m = prog.Doc.Measurements[static_cast<std::size_t>(i - 1)];
  if (!MeasurementDrawable(prog, m)) return {};
  const TGeomObject& first = prog.Doc[m.Objects[0]];
  const TGeomObject& second = prog.Doc[m.Objects[1]];
  if (m.Type == 1) return DistanceText(prog, first, second);
  const std::string number = AngleDegreesText(first, second, prog.Doc[m.Objects[2]]);
  return number.empty() ? number : number + "\xC2\xB0";
}

} // namespace drex
