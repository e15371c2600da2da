#include "dialogs/transform_model.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "calc/calcul_model.h"
#include "dialogs/object_list.h"
#include "kernel/cp1251.h"
#include "kernel/recalc.h"
#include "shell/program.h"
#include "shell/undo_command.h"
#include "view/redraw.h"

namespace drex {
namespace {

constexpr double Pi = 3.14159265358979323846;

/// Texts of the dialog's refusals and of the copy question.
constexpr int MsgNoTarget = 0;
constexpr int MsgNoCentre = 1;
constexpr int MsgBadValue = 2;
constexpr int MsgMakeCopies = 68;
constexpr int MsgTooManyCopies = 69;

bool IsObject(const Construction& c, int n) { return n >= 1 && n <= c.ObjCount; }

int ListedRefs(const TGeomObject& o) { return std::clamp<int>(o.RefCount, 0, RefSlots - 1); }

/// Selects `target` and everything it is built from, and only those; returns their number. Each
/// object is reached once, through its own stack, so a chain as deep as the table is no risk.
int MarkWithAncestors(Construction& c, int target) {
  for (int n = 1; n <= c.ObjCount; ++n)
    c[n].Selected = 0;
  std::vector<int16_t> stack{static_cast<int16_t>(target)};
  c[target].Selected = 1;
  int count = 1;
  while (!stack.empty()) {
    const TGeomObject& o = c[stack.back()];
    stack.pop_back();
    for (int k = 1, refs = ListedRefs(o); k <= refs; ++k) {
      const int r = o.Ref(k);
      if (IsObject(c, r) && !c[r].Selected) {
        c[r].Selected = 1;
        ++count;
        stack.push_back(static_cast<int16_t>(r));
      }
    }
  }
  return count;
}

/// Appends a copy of every selected object, in table order, with its own default name; the
/// copies refer to each other instead of to the originals and become the selection.
void AppendCopies(Program& prog) {
  Construction& c = prog.Doc;
  const int before = c.ObjCount;
  NameAllocator names(c, prog.Naming());
  std::vector<int16_t> copyOf(static_cast<std::size_t>(before) + 1, 0);
  for (int n = 1; n <= before; ++n) {
    if (!c[n].Selected) continue;
    const int m = ++c.ObjCount;
    c[m] = c[n];
    c[m].Name.Assign(names.Next(c[m].Kind));
    c[n].Selected = 0;
    copyOf[static_cast<std::size_t>(n)] = static_cast<int16_t>(m);
  }
  for (int m = before + 1; m <= c.ObjCount; ++m) {
    TGeomObject& o = c[m];
    for (int k = 1, refs = ListedRefs(o); k <= refs; ++k) {
      const int r = o.Ref(k);
      if (r >= 1 && r <= before && copyOf[static_cast<std::size_t>(r)] != 0)
        o.Refs[static_cast<std::size_t>(k)] = copyOf[static_cast<std::size_t>(r)];
    }
  }
}

/// One of the plane maps the dialog offers, applied to world points in internal units.
struct PlaneMap {
  int Op = TranslateOp;
  double A = 0, B = 0; ///< translation: the vector; scaling: the factors
  double Cos = 1, Sin = 0;
  double Cx = 0, Cy = 0; ///< rotation: the centre

  void Apply(double& x, double& y) const {
    switch (Op) {
    case TranslateOp:
      x += A;
      y += B;
      break;
    case RotateOp: {
      const double dx = x - Cx, dy = y - Cy;
      x = Cx + dx * Cos - dy * Sin;
      y = Cy + dx * Sin + dy * Cos;
      break;
    }
    default:
      if (std::fabs(A) >= ScaleFactorZeroTol) x *= A;
      if (std::fabs(B) >= ScaleFactorZeroTol) y *= B;
      break;
    }
  }
};

/// Moves an object's position. Lines and circles keep a second point from the last
/// recalculation, moved as well so that the points attached to them are placed against their
/// moved host; the recalculation writes every computed position again anyway. A function graph
/// keeps its argument interval in (X1, Y1) and a polynomial its node range, so neither is moved.
void MoveObject(TGeomObject& o, const PlaneMap& map) {
  if (o.Kind == okPolynomial || o.Kind == okFunction) return;
  map.Apply(o.X1, o.Y1);
  if (IsLineKind(o.Kind) || o.Kind == okCircle) map.Apply(o.X2, o.Y2);
}

/// The entry of `list` for object `objNo` named `name`, -1 when there is none.
int FindEntry(const std::vector<TransformCandidate>& list, int objNo, const std::string& name) {
  const auto at =
      std::lower_bound(list.begin(), list.end(), objNo, [](const TransformCandidate& c, int n) { return c.ObjNo < n; });
  if (at == list.end() || at->ObjNo != objNo || at->Name != name) return -1;
  return static_cast<int>(at - list.begin());
}

} // namespace

TransformResult ApplyTransformation(Program& prog, int op, int target, int centre, bool makeNew, double p, double q) {
  Construction& c = prog.Doc;
  if (!IsObject(c, target)) return TransformResult::Refused;
  const int count = MarkWithAncestors(c, target);

  bool copies = false;
  if (makeNew) {
    const MsgButton answer = prog.Desktop.MessageBox(
        MsgType::Confirmation, FormatMsg(prog.Msgs[MsgMakeCopies], {std::to_string(count)}), mbYes | mbNo);
    if (answer == mbYes) {
      if (c.ObjCount + count > MaxObjects) {
        prog.Desktop.MessageBox(MsgType::Error, prog.Msgs[MsgTooManyCopies], mbOK);
        return TransformResult::Refused;
      }
      AppendCopies(prog);
      copies = true;
    }
  }

  const double unit = prog.UnitLength > 0 ? prog.UnitLength : 1;
  PlaneMap map;
  map.Op = op == RotateOp || op == ScaleOp ? op : TranslateOp;
  if (map.Op == TranslateOp) {
    map.A = p * unit;
    map.B = q * unit;
  } else if (map.Op == RotateOp) {
    map.Cos = std::cos(p);
    map.Sin = std::sin(p);
    // The centre is read once: it may be among the objects that move.
    if (IsObject(c, centre)) {
      map.Cx = c[centre].X1;
      map.Cy = c[centre].Y1;
    }
  } else {
    map.A = p;
    map.B = q;
  }

  for (int n = 1; n <= c.ObjCount; ++n)
    if (c[n].Selected) MoveObject(c[n], map);
  // A point on an object is kept by its place on the host (the distance along a line, the angle
  // on a circle), which a rotation or a scaling changes: it is attached again where it moved to.
  for (int n = 1; n <= c.ObjCount; ++n)
    if (c[n].Selected && c[n].Kind == okPointOn) AttachPoint(c, n);

  prog.Modified = true;
  if (copies) RefreshObjectList(prog);
  Redraw(prog, true);
  return copies ? TransformResult::Copies : TransformResult::InPlace;
}

TransformModel::TransformModel(Program& prog) : prog_(prog) {
  texts_[Index(TransformBox::PsX)] = "0";
  texts_[Index(TransformBox::PsY)] = "0";
  texts_[Index(TransformBox::RotCut)] = "1";
  texts_[Index(TransformBox::ZoomTx)] = "1";
  texts_[Index(TransformBox::ZoomTy)] = "1";
}

void TransformModel::SetPage(int page) {
  page_ = std::clamp(page, static_cast<int>(TranslateOp), static_cast<int>(ScaleOp));
}

int TransformModel::PageOf(TransformBox box) {
  switch (box) {
  case TransformBox::PsX:
  case TransformBox::PsY:
    return TranslateOp;
  case TransformBox::RotCut:
    return RotateOp;
  case TransformBox::ZoomTx:
  case TransformBox::ZoomTy:
    return ScaleOp;
  }
  return ScaleOp;
}

void TransformModel::SetText(TransformBox box, const std::string& text) {
  texts_[Index(box)] = text;
  int error = BoxValid;
  if (text.empty()) {
    error = BoxEmpty;
  } else {
    double value = 0;
    if (!Value(box, value)) error = BoxNotComputable;
  }
  errors_[Index(box)] = error;
}

bool TransformModel::Value(TransformBox box, double& value) {
  const std::string& text = texts_[Index(box)];
  if (ParseNumberText(text, value)) return true;
  if (IsBlank(text)) return false;
  const long double v = calc_.EvaluateExpression(text);
  if (calc_.CalcError != CalcOk || !std::isfinite(v) || std::fabs(v) > DBL_MAX) return false;
  value = static_cast<double>(v);
  return true;
}

void TransformModel::LeaveBox(TransformBox box) {
  std::string& text = texts_[Index(box)];
  double value = 0;
  if (text.empty() || errors_[Index(box)] != BoxValid || !Value(box, value)) return;
  std::vector<std::string>& history = histories_[Index(box)];
  const std::string entry = UpperLatin(text);
  if (std::find(history.begin(), history.end(), entry) == history.end()) history.insert(history.begin(), entry);
  text = ExactNumberText(value);
}

bool TransformModel::OkEnabled() const {
  for (int b = 0; b < TransformBoxCount; ++b)
    if (PageOf(static_cast<TransformBox>(b)) == page_ && errors_[static_cast<std::size_t>(b)] != BoxValid) return false;
  return true;
}

void TransformModel::Refresh() {
  const Construction& c = prog_.Doc;
  const int oldTarget = Chosen(targets_, target_);
  const int oldCentre = Chosen(centres_, centre_);
  const std::string targetName = oldTarget > 0 ? targets_[static_cast<std::size_t>(target_)].Name : std::string();
  const std::string centreName = oldCentre > 0 ? centres_[static_cast<std::size_t>(centre_)].Name : std::string();
  targets_.clear();
  centres_.clear();
  for (int n = 1; n <= c.ObjCount; ++n) {
    const TGeomObject& o = c[n];
    if (o.Kind >= okPolynomial) continue;
    std::string name = Cp1251ToUtf8(o.Name.Bytes());
    if (IsPointKind(o.Kind) && o.Defined) centres_.push_back({n, name});
    targets_.push_back({n, std::move(name)});
  }
  target_ = oldTarget > 0 ? FindEntry(targets_, oldTarget, targetName) : -1;
  centre_ = oldCentre > 0 ? FindEntry(centres_, oldCentre, centreName) : -1;
  // Nothing chosen yet: the object of the list's current line is offered when it can be a target.
  if (target_ < 0) {
    const int current = CurrentListObject(prog_);
    for (std::size_t k = 0; k < targets_.size(); ++k)
      if (targets_[k].ObjNo == current) target_ = static_cast<int>(k);
  }
}

void TransformModel::SelectTarget(int index) {
  target_ = index >= 0 && index < static_cast<int>(targets_.size()) ? index : -1;
}

void TransformModel::SelectCentre(int index) {
  centre_ = index >= 0 && index < static_cast<int>(centres_.size()) ? index : -1;
}

int TransformModel::Chosen(const std::vector<TransformCandidate>& list, int index) {
  return index >= 0 && index < static_cast<int>(list.size()) ? list[static_cast<std::size_t>(index)].ObjNo : 0;
}

bool TransformModel::Execute() {
  if (prog_.Drawing.Busy) return false;
  const Construction& c = prog_.Doc;
  const int target = Chosen(targets_, target_);
  if (!IsObject(c, target) || c[target].Kind >= okPolynomial) {
    prog_.Desktop.MessageBox(MsgType::Error, prog_.Msgs[MsgNoTarget], mbOK);
    return false;
  }
  const int centre = Chosen(centres_, centre_);
  if (page_ == RotateOp && !(IsObject(c, centre) && IsPointKind(c[centre].Kind) && c[centre].Defined)) {
    prog_.Desktop.MessageBox(MsgType::Error, prog_.Msgs[MsgNoCentre], mbOK);
    return false;
  }
  double p = 0, q = 0;
  bool valid = false;
  switch (page_) {
  case TranslateOp:
    valid = Value(TransformBox::PsX, p) && Value(TransformBox::PsY, q);
    break;
  case RotateOp:
    valid = Value(TransformBox::RotCut, p);
    p = p / 180 * Pi;
    break;
  default:
    valid = Value(TransformBox::ZoomTx, p) && Value(TransformBox::ZoomTy, q);
    break;
  }
  // A number that does not compute is never taken as 0.
  if (!valid) {
    prog_.Desktop.MessageBox(MsgType::Error, prog_.Msgs[MsgBadValue], mbOK);
    return false;
  }
  CloseOpenStep(prog_);
  const TransformResult result = ApplyTransformation(prog_, page_, target, centre, makeNew_, p, q);
  RecordStep(prog_, result == TransformResult::Copies ? StepAction::Make : StepAction::Move, target,
             StepFields::Geometry);
  Refresh();
  return result != TransformResult::Refused;
}

} // namespace drex
