#include "documents/undo_history.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <memory>
#include <utility>

#include "kernel/object_image.h"

namespace drex {
namespace {

// A record is kept in three pieces of its memory: the head (kind, flags, reference count,
// positions, pixels), the references the document stores, and the tail (name, pen, parameters,
// formulas). The references past the stored ones and the padding after the formulas are not part
// of the document.
constexpr std::size_t HeadBytes = offsetof(TGeomObject, Refs);
constexpr std::size_t TailStart = offsetof(TGeomObject, Name);
constexpr std::size_t TailBytes = offsetof(TGeomObject, Expr2) + sizeof(ShortString<255>) - TailStart;
constexpr std::size_t PositionStart = offsetof(TGeomObject, X1);
constexpr std::size_t PositionBytes = 4 * sizeof(double);
constexpr std::size_t ParamBytes = sizeof(TGeomObject::Param);
/// A geometry image: the four coordinates, the parameters and the selection flag.
constexpr std::size_t GeometryImageBytes = PositionBytes + ParamBytes + 1;

static_assert(offsetof(TGeomObject, Y2) + sizeof(double) - PositionStart == PositionBytes,
              "the four coordinates lie side by side");
static_assert(PositionStart + PositionBytes <= HeadBytes, "the coordinates belong to the head");

/// The last reference the record keeps: the stored ones, or all of them for a count no image can
/// hold, so that such a record comes back as it was.
int LastKeptRef(const TGeomObject& o) {
  const int m = LastStoredRef(o.Kind, o.RefCount);
  return m < 0 ? RefSlots - 1 : m;
}

std::size_t ImageBytes(const TGeomObject& o) {
  return HeadBytes + sizeof(int16_t) * static_cast<std::size_t>(LastKeptRef(o) + 1) + TailBytes;
}

const uint8_t* Bytes(const TGeomObject& o) { return reinterpret_cast<const uint8_t*>(&o); }
uint8_t* Bytes(TGeomObject& o) { return reinterpret_cast<uint8_t*>(&o); }

void Append(std::vector<uint8_t>& out, const void* from, std::size_t n) {
  const auto* p = static_cast<const uint8_t*>(from);
  out.insert(out.end(), p, p + n);
}

void AppendImage(const TGeomObject& o, std::vector<uint8_t>& out) {
  Append(out, Bytes(o), HeadBytes);
  Append(out, o.Refs.data(), sizeof(int16_t) * static_cast<std::size_t>(LastKeptRef(o) + 1));
  Append(out, Bytes(o) + TailStart, TailBytes);
}

const uint8_t* ReadImage(const uint8_t* in, TGeomObject& o) {
  std::memcpy(Bytes(o), in, HeadBytes);
  in += HeadBytes;
  const std::size_t refs = sizeof(int16_t) * static_cast<std::size_t>(LastKeptRef(o) + 1);
  std::memcpy(o.Refs.data(), in, refs);
  in += refs;
  std::memcpy(Bytes(o) + TailStart, in, TailBytes);
  return in + TailBytes;
}

void AppendGeometry(const TGeomObject& o, std::vector<uint8_t>& out) {
  Append(out, Bytes(o) + PositionStart, PositionBytes);
  Append(out, o.Param.data(), ParamBytes);
  out.push_back(o.Selected);
}

const uint8_t* ReadGeometry(const uint8_t* in, TGeomObject& o) {
  std::memcpy(Bytes(o) + PositionStart, in, PositionBytes);
  std::memcpy(o.Param.data(), in + PositionBytes, ParamBytes);
  o.Selected = in[PositionBytes + ParamBytes];
  return in + GeometryImageBytes;
}

void CopyRecord(const TGeomObject& from, TGeomObject& to) {
  std::memcpy(Bytes(to), Bytes(from), HeadBytes);
  std::memcpy(to.Refs.data(), from.Refs.data(), sizeof(int16_t) * static_cast<std::size_t>(LastKeptRef(from) + 1));
  std::memcpy(Bytes(to) + TailStart, Bytes(from) + TailStart, TailBytes);
}

void CopyGeometry(const TGeomObject& from, TGeomObject& to) {
  std::memcpy(Bytes(to) + PositionStart, Bytes(from) + PositionStart, PositionBytes);
  to.Param = from.Param;
  to.Selected = from.Selected;
}

/// Same length and the same characters. The bytes past the length are kept in images, but every
/// change of a text changes its length or its characters.
template <int N> bool SameText(const ShortString<N>& a, const ShortString<N>& b) {
  if (a.Len != b.Len) return false;
  const std::size_t n = std::min<std::size_t>(a.Len, static_cast<std::size_t>(N));
  return std::memcmp(a.Chars.data(), b.Chars.data(), n) == 0;
}

// Bitwise, so that a position that changed its sign of zero or its NaN counts as changed, as it
// does in the file.
bool SameGeometry(const TGeomObject& a, const TGeomObject& b) {
  return std::memcmp(Bytes(a) + PositionStart, Bytes(b) + PositionStart, PositionBytes) == 0 &&
         std::memcmp(a.Param.data(), b.Param.data(), ParamBytes) == 0;
}

bool SameRecord(const TGeomObject& a, const TGeomObject& b) {
  if (a.Kind != b.Kind || a.Visible != b.Visible || a.FuncType != b.FuncType || a.RefCount != b.RefCount ||
      a.Color != b.Color || a.PenStyle != b.PenStyle || a.PenWidth != b.PenWidth || !SameGeometry(a, b))
    return false;
  const int m = std::max(LastKeptRef(a), LastKeptRef(b));
  return std::memcmp(a.Refs.data(), b.Refs.data(), sizeof(int16_t) * static_cast<std::size_t>(m + 1)) == 0 &&
         std::memcmp(&a.Name, &b.Name, sizeof(a.Name)) == 0 && SameText(a.Expr1, b.Expr1) && SameText(a.Expr2, b.Expr2);
}

// The comparison walks two tables a record (some 1.8 KB) at a time, reading a few cache lines of
// each; the processor does not guess such strides, so the lines of a record some way ahead are
// asked for while the current one is compared.
constexpr int PrefetchAhead = 6;

void PrefetchCompared(const TGeomObject& o) {
#if defined(__GNUC__)
  const char* base = reinterpret_cast<const char*>(&o);
  __builtin_prefetch(base);
  for (std::size_t at = TailStart; at < offsetof(TGeomObject, Expr1) + 64; at += 64)
    __builtin_prefetch(base + at);
#else
  (void)o;
#endif
}

int Clamped(int count, int max) { return std::clamp(count, 0, max); }

bool SameMeasures(const Measurement* a, const Measurement* b, int n) {
  for (int k = 0; k < n; ++k)
    if (a[k].Type != b[k].Type || a[k].Objects != b[k].Objects) return false;
  return true;
}

bool SameDynExprs(const TDynExpr* a, const TDynExpr* b, int n) {
  return n == 0 || std::memcmp(a, b, sizeof(TDynExpr) * static_cast<std::size_t>(n)) == 0;
}

const std::string NoLabel;

} // namespace

std::size_t UndoHistory::Step::Bytes() const {
  return sizeof(Step) + Label.capacity() + Numbers.capacity() * sizeof(int16_t) + Images.capacity() +
         Measures.capacity() * sizeof(Measurement) + DynExprs.capacity() * sizeof(TDynExpr);
}

UndoHistory::UndoHistory() : measures_(MaxMeasurements), dynExprs_(MaxDynExprs) {}
UndoHistory::~UndoHistory() = default;

void UndoHistory::EnsureSlots(int top) {
  // The copy is a table of its own, made when the first object comes: like the document's, its
  // slots lie in large pages, so that comparing the two goes through memory at full speed.
  if (top > 0 && !kept_) kept_ = std::make_unique<Construction>();
}

void UndoHistory::Reset(const Construction& c) {
  ++revision_;
  steps_.clear();
  position_ = 0;
  saved_ = 0;
  bytes_ = 0;
  count_ = static_cast<int16_t>(Clamped(c.ObjCount, MaxObjects));
  EnsureSlots(count_);
  for (int n = 1; n <= count_; ++n)
    CopyRecord(c[n], (*kept_)[n]);
  measureCount_ = c.MeasureCount;
  dynExprCount_ = c.DynExprCount;
  std::copy(c.Measurements.begin(), c.Measurements.end(), measures_.begin());
  std::copy(c.DynExprs.begin(), c.DynExprs.end(), dynExprs_.begin());
}

bool UndoHistory::Record(const Construction& c, const std::string& label, StepFields fields) {
  const int now = Clamped(c.ObjCount, MaxObjects);
  if (now != count_) fields = StepFields::All;
  const int common = std::min<int>(now, count_);
  const int top = std::max<int>(now, count_);
  EnsureSlots(top);

  Step step;
  step.Fields = fields;
  // Selection flags that changed belong to the step of a command that changed something else
  // too (the press that started a drag, the list's deletion of one object); alone they are no step.
  bool changed = now != count_;
  for (int n = 1; n <= common; ++n) {
    if (n + PrefetchAhead <= common) {
      PrefetchCompared(c[n + PrefetchAhead]);
      PrefetchCompared((*kept_)[n + PrefetchAhead]);
    }
    const TGeomObject& current = c[n];
    TGeomObject& kept = (*kept_)[n];
    const bool same = fields == StepFields::All ? SameRecord(current, kept) : SameGeometry(current, kept);
    if (same && current.Selected == kept.Selected) continue;
    changed = changed || !same;
    step.Numbers.push_back(static_cast<int16_t>(n));
    if (fields == StepFields::All) {
      AppendImage(kept, step.Images);
      CopyRecord(current, kept);
    } else {
      AppendGeometry(kept, step.Images);
      CopyGeometry(current, kept);
    }
  }
  // Records appended or removed: kept whole, whatever the slot held on the other side.
  for (int n = common + 1; n <= top; ++n) {
    TGeomObject& kept = (*kept_)[n];
    step.Numbers.push_back(static_cast<int16_t>(n));
    AppendImage(kept, step.Images);
    CopyRecord(c[n], kept);
  }

  const int measuresNow = Clamped(c.MeasureCount, MaxMeasurements);
  const int measuresKept = Clamped(measureCount_, MaxMeasurements);
  if (c.MeasureCount != measureCount_ || !SameMeasures(c.Measurements.data(), measures_.data(), measuresNow)) {
    step.HasMeasures = true;
    step.MeasureCount = measureCount_;
    step.Measures.assign(measures_.begin(), measures_.begin() + measuresKept);
    measureCount_ = c.MeasureCount;
    std::copy(c.Measurements.begin(), c.Measurements.begin() + measuresNow, measures_.begin());
  }
  const int exprsNow = Clamped(c.DynExprCount, MaxDynExprs);
  const int exprsKept = Clamped(dynExprCount_, MaxDynExprs);
  if (c.DynExprCount != dynExprCount_ || !SameDynExprs(c.DynExprs.data(), dynExprs_.data(), exprsNow)) {
    step.HasDynExprs = true;
    step.DynExprCount = dynExprCount_;
    step.DynExprs.assign(dynExprs_.begin(), dynExprs_.begin() + exprsKept);
    dynExprCount_ = c.DynExprCount;
    std::copy(c.DynExprs.begin(), c.DynExprs.begin() + exprsNow, dynExprs_.begin());
  }

  // The copy has taken over every difference; with selection alone there is nothing to undo.
  if (!changed && !step.HasMeasures && !step.HasDynExprs) return false;
  ++revision_;
  step.Count = count_;
  count_ = static_cast<int16_t>(now);
  step.Label = label;
  step.Numbers.shrink_to_fit();
  step.Images.shrink_to_fit();

  while (steps_.size() > position_) {
    bytes_ -= steps_.back().Bytes();
    steps_.pop_back();
  }
  if (saved_ > static_cast<long>(position_)) saved_ = -1;
  bytes_ += step.Bytes();
  steps_.push_back(std::move(step));
  ++position_;
  Enforce();
  return true;
}

void UndoHistory::Exchange(Step& step, Construction& c) {
  const bool geometry = step.Fields == StepFields::Geometry;
  std::size_t size = 0;
  for (const int16_t n : step.Numbers)
    size += geometry ? GeometryImageBytes : ImageBytes((*kept_)[n]);
  std::vector<uint8_t> images;
  images.reserve(size);
  const uint8_t* in = step.Images.data();
  for (const int16_t n : step.Numbers) {
    TGeomObject& kept = (*kept_)[n];
    if (geometry) {
      AppendGeometry(kept, images);
      in = ReadGeometry(in, kept);
      CopyGeometry(kept, c[n]);
    } else {
      AppendImage(kept, images);
      in = ReadImage(in, kept);
      CopyRecord(kept, c[n]);
    }
  }
  bytes_ -= step.Bytes();
  step.Images.swap(images);
  std::swap(step.Count, count_);
  c.ObjCount = count_;

  if (step.HasMeasures) {
    std::vector<Measurement> previous(measures_.begin(), measures_.begin() + Clamped(measureCount_, MaxMeasurements));
    std::swap(step.MeasureCount, measureCount_);
    std::copy(step.Measures.begin(), step.Measures.end(), measures_.begin());
    std::copy(step.Measures.begin(), step.Measures.end(), c.Measurements.begin());
    c.MeasureCount = measureCount_;
    step.Measures.swap(previous);
  }
  if (step.HasDynExprs) {
    std::vector<TDynExpr> previous(dynExprs_.begin(), dynExprs_.begin() + Clamped(dynExprCount_, MaxDynExprs));
    std::swap(step.DynExprCount, dynExprCount_);
    std::copy(step.DynExprs.begin(), step.DynExprs.end(), dynExprs_.begin());
    std::copy(step.DynExprs.begin(), step.DynExprs.end(), c.DynExprs.begin());
    c.DynExprCount = dynExprCount_;
    step.DynExprs.swap(previous);
  }
  bytes_ += step.Bytes();
}

bool UndoHistory::Undo(Construction& c) {
  if (!CanUndo()) return false;
  ++revision_;
  Exchange(steps_[position_ - 1], c);
  --position_;
  return true;
}

bool UndoHistory::Redo(Construction& c) {
  if (!CanRedo()) return false;
  ++revision_;
  Exchange(steps_[position_], c);
  ++position_;
  return true;
}

const std::string& UndoHistory::UndoLabel() const { return CanUndo() ? steps_[position_ - 1].Label : NoLabel; }
const std::string& UndoHistory::RedoLabel() const { return CanRedo() ? steps_[position_].Label : NoLabel; }

void UndoHistory::SetLimits(std::size_t steps, std::size_t bytes) {
  maxSteps_ = steps;
  maxBytes_ = bytes;
  Enforce();
}

void UndoHistory::DropOldest() {
  bytes_ -= steps_.front().Bytes();
  steps_.pop_front();
  --position_;
  saved_ = saved_ > 0 ? saved_ - 1 : -1;
}

void UndoHistory::Enforce() {
  const auto over = [this] { return steps_.size() > maxSteps_ || bytes_ > maxBytes_; };
  while (over() && position_ > 0)
    DropOldest();
  // Only steps that could be redone are left: they go newest first, so that the rest still
  // follow on from the current state.
  while (over() && !steps_.empty()) {
    bytes_ -= steps_.back().Bytes();
    steps_.pop_back();
    if (saved_ > static_cast<long>(steps_.size())) saved_ = -1;
  }
}

} // namespace drex
