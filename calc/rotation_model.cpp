#include "calc/rotation_model.h"

#include <algorithm>
#include <cmath>

#include "expr/format_answer.h"
#include "kernel/cp1251.h"
#include "shell/program.h"
#include "view/canvas.h"

namespace drex {

namespace {

// The message shown when the construction has nothing to turn.
constexpr int MsgNoCandidate = 38;

// The picture keeps this margin around the curve, pixels.
constexpr int PictureMargin = 40;
// A scale below this is taken as "the curve has no extent": the fallback scale is used instead.
constexpr double TinyScale = 0.000000001;
constexpr double FallbackScale = 0.001;
// A cross-section is a closed line of 26 points, 2 pi / 25 apart; its far half is flattened to a
// fifth to look like an ellipse seen from the side.
constexpr int SectionPoints = 26;
constexpr double SectionStep = 0.25132741228718345907;
constexpr double SectionFlattening = 5;
// Along each segment of a polyline the cross-sections are drawn at this many equal steps.
constexpr int PolylineSectionSteps = 20;
// Pixel coordinates are held to this range before rounding, so no value overflows an int.
constexpr double PixelLimit = 1e6;

bool IsCandidate(const TGeomObject& obj) {
  return obj.Kind == okPolyline || obj.Kind == okPolynomial ||
         (obj.Kind == okFunction && (obj.FuncType == 1 || obj.FuncType == 2));
}

int Round(double v) { return static_cast<int>(std::lround(std::clamp(v, -PixelLimit, PixelLimit))); }

// Maps curve points (user units) to the picture: both axes at the same scale, the origin near the
// centre.
struct PictureScale {
  double A = 0; ///< the half extent the scale is taken from
  double S = FallbackScale;
  int Height = 0;
  double X(double x) const { return (x + A) / S + PictureMargin; }
  double Y(double y) const { return Height - ((y + A) / S + PictureMargin); }
};

PictureScale ScaleFor(const std::vector<CurvePoint>& curve, int width, int height) {
  double a = 0, b = 0;
  for (const CurvePoint& p : curve) {
    if (!p.Defined) continue;
    a = std::max(a, std::fabs(p.X));
    b = std::max(b, std::fabs(p.Y));
  }
  double sx = 2 * a / std::max(1, width - 2 * PictureMargin);
  double sy = 2 * b / std::max(1, height - 2 * PictureMargin);
  if (!(sx >= TinyScale)) sx = FallbackScale;
  if (!(sy >= TinyScale)) sy = FallbackScale;
  PictureScale scale;
  scale.Height = height;
  scale.A = a;
  scale.S = sx;
  if (sx < sy) {
    scale.S = sy;
    scale.A = b;
  }
  return scale;
}

// The cross-section of the solid through the curve point at pixel (x, y).
void DrawSection(Canvas& canvas, RotationAxis axis, int x, int y, int cx, int cy) {
  for (int j = 0; j < SectionPoints; ++j) {
    const double phi = j * SectionStep;
    double px, py;
    if (axis == RotationAxis::Ox) {
      px = x + std::cos(phi) * (y - cy) / SectionFlattening;
      py = cy + std::sin(phi) * (y - cy);
    } else {
      px = cx + std::sin(phi) * (x - cx);
      py = y + std::cos(phi) * (x - cx) / SectionFlattening;
    }
    if (j == 0)
      canvas.MoveTo(Round(px), Round(py));
    else
      canvas.LineTo(Round(px), Round(py));
  }
}

} // namespace

std::vector<RotationCandidate> RotationCandidates(const Program& prog) {
  std::vector<RotationCandidate> out;
  for (int n = 1; n <= prog.Doc.ObjCount; ++n) {
    const TGeomObject& obj = prog.Doc[n];
    if (IsCandidate(obj)) out.push_back({n, Cp1251ToUtf8(obj.Name.Bytes())});
  }
  return out;
}

RotationModel::RotationModel(Program& prog) : prog_(prog), candidates_(RotationCandidates(prog)) {}

void RotationModel::Select(int index) {
  if (index < 0 || index >= static_cast<int>(candidates_.size())) return;
  selected_ = index;
  Compute();
}

void RotationModel::SetAxis(RotationAxis axis) {
  axis_ = axis;
  Compute();
}

void RotationModel::Compute() {
  if (selected_ < 0) return;
  const int objNo = candidates_[static_cast<std::size_t>(selected_)].ObjNo;
  polyline_ = objNo >= 1 && objNo <= prog_.Doc.ObjCount && prog_.Doc[objNo].Kind == okPolyline;
  CalcContext ctx = CalculationContext(prog_);
  outcome_ = RevolutionSolids(ctx, prog_.Doc, objNo, prog_.UnitLength);
  computed_ = true;
}

std::string RotationModel::Text(double value, bool known) const {
  if (!computed_ || outcome_.NoSolid || outcome_.Refused) return {};
  if (!known) return UnknownMeasureText;
  return FormatAnswer(value, prog_.Config.AnswerDigits);
}

std::string RotationModel::SurfaceText() const {
  const SolidValues& v = outcome_.Values;
  return axis_ == RotationAxis::Ox ? Text(v.SurfaceOx, v.SurfaceOxKnown) : Text(v.SurfaceOy, v.SurfaceOyKnown);
}

std::string RotationModel::VolumeText() const {
  const SolidValues& v = outcome_.Values;
  return axis_ == RotationAxis::Ox ? Text(v.VolumeOx, v.VolumeOxKnown) : Text(v.VolumeOy, v.VolumeOyKnown);
}

void RotationModel::DrawPicture(Canvas& canvas, int width, int height) const {
  canvas.SetBrush(CanvasBrush{ColorWhite, BrushStyle::Solid});
  canvas.FillRect(0, 0, width, height);
  const int cx = width / 2, cy = height / 2;
  canvas.SetPen(CanvasPen{ColorRed, PenStyle::Solid, 1, PenMode::Copy});
  canvas.MoveTo(cx, 0);
  canvas.LineTo(cx, height);
  canvas.MoveTo(0, cy);
  canvas.LineTo(width, cy);
  canvas.SetFontColor(ColorBlack);
  canvas.TextOut(cx + 3, cy - 12, "0");
  canvas.TextOut(cx + 3, 0, "y");
  canvas.TextOut(width - 10, cy - 12, "x");
  if (!computed_ || outcome_.NoSolid || outcome_.Refused) return;

  const std::vector<CurvePoint>& curve = outcome_.Curve;
  const PictureScale scale = ScaleFor(curve, width, height);
  canvas.SetPen(CanvasPen{ColorBlack, PenStyle::Solid, 1, PenMode::Copy});
  const int sections = polyline_ ? PolylineSectionSteps + 1 : 1;
  for (std::size_t i = 0; i + 1 < curve.size(); ++i) {
    const CurvePoint& p = curve[i];
    const CurvePoint& q = curve[i + 1];
    if (!p.Defined || !q.Defined) continue;
    for (int k = 0; k < sections; ++k) {
      const double t = static_cast<double>(k) / PolylineSectionSteps;
      const double x = p.X + (q.X - p.X) * t;
      const double y = p.Y + (q.Y - p.Y) * t;
      DrawSection(canvas, axis_, Round(scale.X(x)), Round(scale.Y(y)), cx, cy);
    }
  }
  // The generating curve, broken where it cannot be evaluated.
  bool penDown = false;
  for (const CurvePoint& p : curve) {
    if (!p.Defined) {
      penDown = false;
      continue;
    }
    const int x = Round(scale.X(p.X)), y = Round(scale.Y(p.Y));
    if (penDown)
      canvas.LineTo(x, y);
    else
      canvas.MoveTo(x, y);
    penDown = true;
  }
}

void OpenRotationDialog(Program& prog) {
  RotationModel model(prog);
  if (model.Candidates().empty()) {
    prog.Desktop.MessageBox(MsgType::Error, prog.Msgs[MsgNoCandidate], mbOK);
    return;
  }
  model.Select(0);
  if (prog.RotationForm) prog.RotationForm(model);
}

} // namespace drex
