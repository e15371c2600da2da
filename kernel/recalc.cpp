#include "kernel/recalc.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "expr/polynomial.h"
#include "kernel/math2d.h"
#include "kernel/polynomial_memo.h"

// The work per object, the routine of each kind included, is inlined into both loops of the pass
// whatever the compiler's size estimate: with two callers it would otherwise stay out of line,
// and the pass in number order would pay calls per object.
#if defined(__GNUC__)
#define PASS_INLINE inline __attribute__((always_inline))
#else
#define PASS_INLINE inline
#endif

namespace drex {
namespace {

// Kind sets as bit masks, one bit per kind code.
using KindSet = uint16_t;
constexpr KindSet KindBit(int kind) { return static_cast<KindSet>(1u << kind); }
constexpr KindSet PointSet = 0x001F; // kinds 0..4
constexpr KindSet LineSet = 0x03E0;  // kinds 5..9
constexpr KindSet PolylineSet = KindBit(okPolyline);
constexpr KindSet CircleSet = KindBit(okCircle);

// Two polynomial nodes closer than this in x (internal units) stand above each other.
constexpr double NodeAboveTol = 0.01;
// A host line or a bisector leg shorter than this has no direction (internal units).
constexpr double ZeroLengthTol = 1e-9;
// A point closer than this to the centre of its host circle has no angle (internal units).
constexpr double AttachCentreTol = 0.00001;

// The table as the pass sees it: the slots and the number of objects references may name, and
// room for the vertices of one polyline in user units, set up once per pass.
struct Table {
  Construction& C;
  TGeomObject* Slots; // &C[0], kept here so that stores into records do not make it reloaded
  int Count;
  double UnitLength;
  Point2* PolylineUser; // MaxPolylineRefs points
};

Point2 P1(const TGeomObject& o) { return {o.X1, o.Y1}; }
Point2 P2(const TGeomObject& o) { return {o.X2, o.Y2}; }
void SetP1(TGeomObject& o, Point2 p) {
  o.X1 = p.x;
  o.Y1 = p.y;
}
void SetP2(TGeomObject& o, Point2 p) {
  o.X2 = p.x;
  o.Y2 = p.y;
}

// The parent named by reference k of `o`, or null when k is not among the listed references, the
// number names no object of the table, the parent's kind is not in `allowed`, or the parent is not
// defined.
const TGeomObject* Parent(const Table& t, const TGeomObject& o, int k, KindSet allowed) {
  if (k < 1 || k > o.RefCount) return nullptr;
  const int n = o.Refs[static_cast<std::size_t>(k)];
  if (n < 1 || n > t.Count) return nullptr;
  const TGeomObject& p = t.Slots[n];
  if (p.Kind > MaxKind || (allowed & KindBit(p.Kind)) == 0 || p.Defined == 0) return nullptr;
  return &p;
}

// True when every listed reference of object i names an object of the table and that object is
// defined. A reference count outside the record's room counts as a broken list. `ahead` is set
// when a reference read names a larger number than i.
bool ParentsDefined(const Table& t, int i, const TGeomObject& o, bool& ahead) {
  const int n = o.RefCount;
  if (n < 0 || n > MaxPolylineRefs) return false;
  for (int k = 1; k <= n; ++k) {
    const int r = o.Refs[static_cast<std::size_t>(k)];
    // One test in the common case, a reference to 1..i; the rare others are told apart after it.
    if (static_cast<unsigned>(r - 1) >= static_cast<unsigned>(i)) {
      if (r < 1 || r > t.Count) return false;
      ahead = true;
    }
    if (t.Slots[r].Defined == 0) return false;
  }
  return true;
}

bool HasPairs(const TGeomObject& o) {
  return o.Kind == okTangent || (o.Kind == okIntersection && (o.Refs[0] == isLineCircle || o.Refs[0] == isTwoCircles));
}

// Object i (of `count` in the table) is the twin of object i - 1: both of the same pair kind with
// equal Refs[0..2], object i taking the second solution and object i - 1 not. Only then has
// object i - 1 computed both solutions and handed the second to object i in this pass; with the
// same parents picked twice, or a lone second solution followed by a new pair, a twin of a twin
// would keep coordinates nobody wrote.
bool TwinOfPrevious(const TGeomObject* slots, int count, int i, const TGeomObject& o) {
  if (i < 2 || i > count || !HasPairs(o) || o.RootNo() != 2) return false;
  const TGeomObject& prev = slots[i - 1];
  return prev.Kind == o.Kind && prev.Refs[0] == o.Refs[0] && prev.Refs[1] == o.Refs[1] && prev.Refs[2] == o.Refs[2] &&
         prev.RootNo() != 2;
}
bool TwinOfPrevious(const Table& t, int i, const TGeomObject& o) { return TwinOfPrevious(t.Slots, t.Count, i, o); }

// The object after `i` when it is the twin of object i, else null.
TGeomObject* NextTwin(const Table& t, int i) {
  if (i + 1 > t.Count) return nullptr;
  TGeomObject& next = t.Slots[i + 1];
  return TwinOfPrevious(t, i + 1, next) ? &next : nullptr;
}

PASS_INLINE bool CalcMidpoint(const Table& t, TGeomObject& o) {
  const TGeomObject* a = Parent(t, o, 1, PointSet);
  const TGeomObject* b = Parent(t, o, 2, PointSet);
  if (a == nullptr || b == nullptr) return false;
  SetP1(o, Midpoint(P1(*a), P1(*b)));
  return true;
}

PASS_INLINE bool CalcPointOn(const Table& t, TGeomObject& o) {
  const TGeomObject* h = Parent(t, o, 1, LineSet | PolylineSet | CircleSet);
  if (h == nullptr) return false;
  if (h->Kind == okCircle) {
    o.X1 = h->X1 + o.AttachA() * h->Length();
    o.Y1 = h->Y1 + o.AttachB() * h->Length();
  } else if (h->Kind != okPolyline) {
    const double len = h->Length();
    if (!(len >= ZeroLengthTol)) return false;
    const double ux = (h->X2 - h->X1) / len;
    const double uy = (h->Y2 - h->Y1) / len;
    o.X1 = h->X1 + o.AttachA() * ux * o.Length();
    o.Y1 = h->Y1 + o.AttachA() * uy * o.Length();
  }
  return true;
}

// Solution 1 or 2 for `o` by its RootNo; the first object of a pair also hands solution 2 to its
// twin.
void TakeIntersectionRoot(const Table& t, int i, TGeomObject& o, const TwoSolutions& s) {
  if (o.RootNo() == 2) {
    SetP1(o, s.Second);
    return;
  }
  SetP1(o, s.First);
  if (TGeomObject* twin = NextTwin(t, i)) SetP1(*twin, s.Second);
}

PASS_INLINE bool CalcIntersection(const Table& t, int i, TGeomObject& o) {
  switch (o.Refs[0]) {
  case isTwoLines: {
    const TGeomObject* l1 = Parent(t, o, 1, LineSet);
    const TGeomObject* l2 = Parent(t, o, 2, LineSet);
    if (l1 == nullptr || l2 == nullptr) return false;
    const PointResult r = IntersectLines(P1(*l1), P2(*l1), P1(*l2), P2(*l2), P1(o));
    if (r.Failed) return false;
    SetP1(o, r.Point);
    return true;
  }
  case isLineCircle: {
    if (TwinOfPrevious(t, i, o)) return t.Slots[i - 1].Defined != 0;
    const TGeomObject* l = Parent(t, o, 1, LineSet);
    const TGeomObject* k = Parent(t, o, 2, CircleSet);
    if (l == nullptr || k == nullptr) return false;
    const TwoSolutions s = IntersectLineCircle(LineEquation(P1(*l), P2(*l)), P1(*k), k->Length());
    if (s.Count == 0) return false;
    TakeIntersectionRoot(t, i, o, s);
    return true;
  }
  case isTwoCircles: {
    if (TwinOfPrevious(t, i, o)) return t.Slots[i - 1].Defined != 0;
    const TGeomObject* k1 = Parent(t, o, 1, CircleSet);
    const TGeomObject* k2 = Parent(t, o, 2, CircleSet);
    if (k1 == nullptr || k2 == nullptr) return false;
    const TwoSolutions s = IntersectCircles(P1(*k1), k1->Length(), P1(*k2), k2->Length());
    if (s.Count == 0) return false;
    TakeIntersectionRoot(t, i, o, s);
    return true;
  }
  default:
    // An unknown subtype names no construction: the point has no position to show.
    return false;
  }
}

PASS_INLINE bool CalcSymmetric(const Table& t, TGeomObject& o) {
  const TGeomObject* p = Parent(t, o, 1, PointSet);
  const TGeomObject* m = Parent(t, o, 2, PointSet | LineSet);
  if (p == nullptr || m == nullptr) return false;
  if (IsPointKind(m->Kind)) {
    o.X1 = 2 * m->X1 - p->X1;
    o.Y1 = 2 * m->Y1 - p->Y1;
  } else {
    SetP1(o, ReflectInLine(P1(*p), P1(*m), P2(*m)).Point);
  }
  return true;
}

// Kinds 5 and 11: the two defining points are the two parents.
PASS_INLINE bool CalcTwoPoints(const Table& t, TGeomObject& o) {
  const TGeomObject* a = Parent(t, o, 1, PointSet);
  const TGeomObject* b = Parent(t, o, 2, PointSet);
  if (a == nullptr || b == nullptr) return false;
  SetP1(o, P1(*a));
  SetP2(o, P1(*b));
  // A line's length is refreshed for every line after its case.
  if (o.Kind == okCircle) o.Length() = Distance(P1(o), P2(o));
  return true;
}

PASS_INLINE bool CalcParallel(const Table& t, TGeomObject& o) {
  const TGeomObject* p = Parent(t, o, 1, PointSet);
  const TGeomObject* l = Parent(t, o, 2, LineSet);
  if (p == nullptr || l == nullptr) return false;
  SetP1(o, P1(*p));
  o.X2 = p->X1 + (l->X2 - l->X1);
  o.Y2 = p->Y1 + (l->Y2 - l->Y1);
  return true;
}

PASS_INLINE bool CalcPerpendicular(const Table& t, TGeomObject& o) {
  const TGeomObject* p = Parent(t, o, 1, PointSet);
  const TGeomObject* l = Parent(t, o, 2, LineSet);
  if (p == nullptr || l == nullptr) return false;
  SetP1(o, P1(*p));
  o.X2 = p->X1 - (l->Y2 - l->Y1);
  o.Y2 = p->Y1 + (l->X2 - l->X1);
  return true;
}

PASS_INLINE bool CalcBisector(const Table& t, TGeomObject& o) {
  const TGeomObject* a = Parent(t, o, 1, PointSet);
  const TGeomObject* b = Parent(t, o, 2, PointSet);
  const TGeomObject* c = Parent(t, o, 3, PointSet);
  if (a == nullptr || b == nullptr || c == nullptr) return false;
  SetP1(o, P1(*b));
  const double d1 = Distance(P1(*a), P1(*b));
  if (!(d1 >= ZeroLengthTol)) return false;
  const double ux = (a->X1 - b->X1) / d1;
  const double uy = (a->Y1 - b->Y1) / d1;
  const double d2 = Distance(P1(*c), P1(*b));
  // The point of ray BA as far from B as C; the midpoint of it and C lies on the bisector.
  SetP2(o, Midpoint(P1(*c), Point2{b->X1 + d2 * ux, b->Y1 + d2 * uy}));
  return true;
}

PASS_INLINE bool CalcTangent(const Table& t, int i, TGeomObject& o) {
  if (TwinOfPrevious(t, i, o)) return t.Slots[i - 1].Defined != 0;
  const TGeomObject* p = Parent(t, o, 1, PointSet);
  const TGeomObject* k = Parent(t, o, 2, CircleSet);
  if (p == nullptr || k == nullptr) return false;
  SetP1(o, P1(*p));
  const TwoSolutions s = TangentPoints(P1(*p), P1(*k), k->Length());
  if (s.Count == 0) return false;
  if (o.RootNo() == 2) {
    SetP2(o, s.Second);
    return true;
  }
  SetP2(o, s.First);
  if (TGeomObject* twin = NextTwin(t, i)) {
    SetP1(*twin, P1(o));
    SetP2(*twin, s.Second);
  }
  return true;
}

PASS_INLINE bool CalcPolyline(const Table& t, TGeomObject& o) {
  const int n = o.RefCount;
  if (n < 1 || n > MaxPolylineRefs) return false;
  Point2* user = t.PolylineUser;
  double length = 0;
  Point2 prev{};
  for (int k = 1; k <= n; ++k) {
    const TGeomObject* v = Parent(t, o, k, PointSet);
    if (v == nullptr) return false;
    const Point2 p = P1(*v);
    if (k > 1) length += Distance(prev, p);
    user[k - 1] = Point2{p.x / t.UnitLength, p.y / t.UnitLength};
    prev = p;
  }
  if (n >= 2) {
    SetP1(o, P1(t.Slots[o.Refs[static_cast<std::size_t>(n - 1)]]));
    SetP2(o, prev);
  }
  o.Length() = length;
  o.Area() = PolygonArea(user, static_cast<std::size_t>(n));
  return true;
}

PASS_INLINE bool CalcPolynomial(const Table& t, int number, TGeomObject& o) {
  const int n = o.RefCount;
  if (n < 1 || n > MaxPolynomialNodes) return false;
  double xs[MaxPolynomialNodes];
  double ys[MaxPolynomialNodes];
  double rawX[MaxPolynomialNodes];
  for (int k = 1; k <= n; ++k) {
    const TGeomObject* v = Parent(t, o, k, PointSet);
    if (v == nullptr) return false;
    rawX[k - 1] = v->X1;
    xs[k - 1] = v->X1 / t.UnitLength;
    ys[k - 1] = v->Y1 / t.UnitLength;
  }
  for (int a = 0; a < n; ++a)
    for (int b = a + 1; b < n; ++b)
      if (!(std::fabs(rawX[a] - rawX[b]) >= NodeAboveTol)) return false;
  const PolynomialFit& fit = t.C.Polynomials().Fit(number, xs, ys, n);
  if (fit.Singular || fit.Count != n) return false;
  o.ExtA() = *std::min_element(xs, xs + n);
  o.ExtB() = *std::max_element(xs, xs + n);
  for (int k = 1; k <= n; ++k)
    o.Coef(k) = fit.Coef[static_cast<std::size_t>(k - 1)];
  return true;
}

// False when a point, line or circle has a defining coordinate that is not a finite number (a
// damaged free point, or an overflow): it has no place to be drawn or measured at.
bool PositionFinite(const TGeomObject& o) {
  if (IsPointKind(o.Kind)) return std::isfinite(o.X1) && std::isfinite(o.Y1);
  if (IsLineKind(o.Kind) || o.Kind == okCircle)
    return std::isfinite(o.X1) && std::isfinite(o.Y1) && std::isfinite(o.X2) && std::isfinite(o.Y2);
  return true;
}

// Computes the kind's fields of object i from its parents; false when it cannot be constructed.
PASS_INLINE bool CalcObject(const Table& t, int i, TGeomObject& o) {
  switch (static_cast<TObjKind>(o.Kind)) {
  case okPoint:
  case okFunction:
    return true;
  case okMidpoint:
    return CalcMidpoint(t, o);
  case okPointOn:
    return CalcPointOn(t, o);
  case okIntersection:
    return CalcIntersection(t, i, o);
  case okSymmetric:
    return CalcSymmetric(t, o);
  case okLine:
  case okCircle:
    return CalcTwoPoints(t, o);
  case okParallel:
    return CalcParallel(t, o);
  case okPerpendicular:
    return CalcPerpendicular(t, o);
  case okBisector:
    return CalcBisector(t, o);
  case okTangent:
    return CalcTangent(t, i, o);
  case okPolyline:
    return CalcPolyline(t, o);
  case okPolynomial:
    return CalcPolynomial(t, i, o);
  }
  return false; // a kind code outside 0..13
}

// WorldToScreen followed by RoundHalfEven, with the same results, folded into the loop: the
// offsets are added once per pass and the rounding is the processor's (round to nearest, ties to
// even), which is the rounding mode every thread of the program runs in. Values beyond the int
// range clamp to it; NaN gives 0.
class PixelMap {
public:
  PixelMap(const TViewState& view, const ViewArea& area)
      : zoom_(view.Zoom), offX_(static_cast<double>(view.OrgX) + area.CentreX), centreY_(area.CentreY),
        orgY_(view.OrgY) {}

  int32_t X(double x) const { return Round(x * zoom_ + offX_); }
  int32_t Y(double y) const { return Round(centreY_ - (y * zoom_ + orgY_)); }

private:
  PASS_INLINE static int32_t Round(double v) {
    constexpr int32_t Min = std::numeric_limits<int32_t>::min();
    constexpr int32_t Max = std::numeric_limits<int32_t>::max();
#if defined(__SSE2__)
    // One conversion under the SSE rounding mode, the mode rint uses. It gives Min for NaN and for
    // values whose rounding leaves the int range; those, and Min itself, take the general way.
    const int32_t r = _mm_cvtsd_si32(_mm_set_sd(v));
    if (r != Min) return r;
#endif
    if (v > Min && v < Max) return static_cast<int32_t>(std::rint(v));
    if (v >= Max) return Max;
    if (v <= Min) return Min;
    return 0;
  }

  double zoom_;
  double offX_;
  double centreY_;
  double orgY_;
};

// Records are fetched ahead of the one being computed: parents lie anywhere before their child,
// too far apart for the hardware to see a pattern. A record's first cache line holds its kind,
// flags, reference count, coordinates, pixel fields and first references; the first parameters
// (Length among them) share another line. The record PrefetchFar ahead gets both lines; the
// record PrefetchNear ahead, whose references have arrived by then, gets both lines of its first
// parents.
constexpr int PrefetchFar = 8;
constexpr int PrefetchNear = 4;
constexpr int PrefetchParents = 3;
constexpr std::size_t LengthOffset = offsetof(TGeomObject, Param) + 3 * sizeof(double);
static_assert(alignof(TGeomObject) >= 64 && offsetof(TGeomObject, Refs) + 4 * sizeof(int16_t) <= 64,
              "the fields of a record the pass reads first share its first cache line");
static_assert(offsetof(TGeomObject, Param) / 64 == LengthOffset / 64, "the first parameters share a cache line");

void PrefetchLine(const char* address) {
#if defined(__GNUC__)
  __builtin_prefetch(address);
#else
  (void)address;
#endif
}

void PrefetchRecord(const TGeomObject& o) {
  const char* base = reinterpret_cast<const char*>(&o);
  PrefetchLine(base);
  PrefetchLine(base + LengthOffset);
}

void PrefetchParentsOf(const Table& t, const TGeomObject& o) {
  const int n = std::min<int>(o.RefCount, PrefetchParents);
  for (int k = 1; k <= n; ++k) {
    const int r = o.Refs[static_cast<std::size_t>(k)];
    if (r < 1 || r > t.Count) continue;
    const char* base = reinterpret_cast<const char*>(&t.Slots[r]);
    PrefetchLine(base);
    PrefetchLine(base + LengthOffset);
  }
}

/// Recomputes object i: Defined, the kind's fields, a line's length and the pixel fields. `ahead`
/// is set when a reference it read names an object with a larger number.
PASS_INLINE void RecalcObject(const Table& t, const PixelMap& pixels, int i, bool& ahead) {
  TGeomObject& o = t.Slots[i];
  // Defined first, so that an object referring to itself reads itself as constructible.
  o.Defined = 1;
  o.Defined = ParentsDefined(t, i, o, ahead) && CalcObject(t, i, o) && PositionFinite(o) ? 1 : 0;
  const bool straight = IsLineKind(o.Kind);
  if (straight) o.Length() = Distance(P1(o), P2(o));
  // The same-pixel test reads the locals, not the fields just stored.
  const int32_t sx1 = pixels.X(o.X1);
  const int32_t sy1 = pixels.Y(o.Y1);
  const int32_t sx2 = pixels.X(o.X2);
  const int32_t sy2 = pixels.Y(o.Y2);
  o.ScrX1 = sx1;
  o.ScrY1 = sy1;
  o.ScrX2 = sx2;
  o.ScrY2 = sy2;
  if ((straight || o.Kind == okCircle) && sx1 == sx2 && sy1 == sy2) o.Defined = 0;
}

// Number of references of `o` the pass reads: none when the count is outside the record's room.
int ListedRefs(const TGeomObject& o) { return o.RefCount < 0 || o.RefCount > MaxPolylineRefs ? 0 : o.RefCount; }

// The first of objects 1..bound with a reference to a larger number within 1..bound, 0 for none.
// Every object before it is built from smaller numbers only, so the pass in number order got it
// right.
int FirstForwardReference(const Table& t, int bound) {
  for (int i = 1; i <= bound; ++i) {
    const TGeomObject& o = t.Slots[i];
    const int n = ListedRefs(o);
    for (int k = 1; k <= n; ++k) {
      const int r = o.Refs[static_cast<std::size_t>(k)];
      if (r > i && r <= bound) return i;
    }
  }
  return 0;
}

enum WalkMark : uint8_t { NotReached, OnPath, Placed };

// Puts objects first..bound into room.Order so that each comes after the objects it is computed
// from within that range: its listed references, and for the second object of a pair the first
// one, which writes the second solution into it. A depth-first walk with its own stack, each
// object entered once and each reference followed once; a reference back into the current path
// (a cycle, which the document checks refuse) is passed over. Returns the number of objects placed.
int DependencyOrder(const Table& t, int first, int bound, RecalcOrderRoom& room) {
  std::fill(room.Mark.begin() + first, room.Mark.begin() + bound + 1, uint8_t{NotReached});
  int placed = 0;
  for (int root = first; root <= bound; ++root) {
    if (room.Mark[static_cast<std::size_t>(root)] != NotReached) continue;
    room.Mark[static_cast<std::size_t>(root)] = OnPath;
    room.PathObject[0] = static_cast<int16_t>(root);
    room.PathNextRef[0] = 1;
    std::size_t depth = 1;
    while (depth > 0) {
      const int n = room.PathObject[depth - 1];
      const TGeomObject& o = t.Slots[n];
      const int refs = ListedRefs(o);
      int k = room.PathNextRef[depth - 1];
      int next = 0;
      // References 1..refs, then one more step for the first object of a pair.
      while (next == 0 && k <= refs + 1) {
        const int r = k <= refs ? o.Refs[static_cast<std::size_t>(k)] : (TwinOfPrevious(t, n, o) ? n - 1 : 0);
        ++k;
        if (r >= first && r <= bound && room.Mark[static_cast<std::size_t>(r)] == NotReached) next = r;
      }
      room.PathNextRef[depth - 1] = static_cast<int16_t>(k);
      if (next != 0) {
        // Its parents are visited next: their records are fetched while the walk goes on.
        PrefetchParentsOf(t, t.Slots[next]);
        room.Mark[static_cast<std::size_t>(next)] = OnPath;
        room.PathObject[depth] = static_cast<int16_t>(next);
        room.PathNextRef[depth] = 1;
        ++depth;
      } else {
        room.Mark[static_cast<std::size_t>(n)] = Placed;
        room.Order[static_cast<std::size_t>(placed++)] = static_cast<int16_t>(n);
        --depth;
      }
    }
  }
  return placed;
}

// After a pass in number order in which a reference named a later object (a reference changed
// in the properties dialog): that object was read with the values of the previous pass. Every
// object from the first such one on is computed again, each after its parents. Out of line and
// marked cold: the common pass never comes here.
#if defined(__GNUC__)
__attribute__((noinline, cold))
#endif
void RecalcAfterForwardReferences(const Table& t, const PixelMap& pixels, int bound, RecalcOrderRoom& room) {
  const int first = FirstForwardReference(t, bound);
  if (first == 0) return;
  const int placed = DependencyOrder(t, first, bound, room);
  const int16_t* order = room.Order.data();
  bool ahead = false;
  for (int j = 0; j < placed; ++j) {
    if (j + PrefetchFar < placed) PrefetchRecord(t.Slots[order[j + PrefetchFar]]);
    if (j + PrefetchNear < placed) PrefetchParentsOf(t, t.Slots[order[j + PrefetchNear]]);
    RecalcObject(t, pixels, order[j], ahead);
  }
}

} // namespace

bool IsTwinOfPrevious(const Construction& c, int i) {
  const int count = std::clamp<int>(c.ObjCount, 0, MaxObjects);
  return i >= 2 && i <= count && TwinOfPrevious(&c[0], count, i, c[i]);
}

void RecalcPass(Construction& c, const ViewArea& area, int unitLength, int stepPos) {
  const int count = std::clamp<int>(c.ObjCount, 0, MaxObjects);
  const int bound = stepPos > 0 ? std::min(stepPos, count) : count;
  std::array<Point2, MaxPolylineRefs> polylineUser;
  TGeomObject* const slots = &c[0];
  const Table t{c, slots, count, unitLength > 0 ? static_cast<double>(unitLength) : 1.0, polylineUser.data()};
  const PixelMap pixels(c.View, area);
  bool ahead = false;
  for (int i = 1; i <= bound; ++i) {
    if (i + PrefetchFar <= bound) PrefetchRecord(slots[i + PrefetchFar]);
    if (i + PrefetchNear <= bound) PrefetchParentsOf(t, slots[i + PrefetchNear]);
    RecalcObject(t, pixels, i, ahead);
  }
  if (ahead) RecalcAfterForwardReferences(t, pixels, bound, c.RecalcOrder());
}

void AttachPoint(Construction& c, int i) {
  const int count = std::clamp<int>(c.ObjCount, 0, MaxObjects);
  if (i < 1 || i > count) return;
  TGeomObject& o = c[i];
  const int hostNo = o.Refs[1];
  if (o.RefCount < 1 || hostNo < 1 || hostNo > count) return;
  const TGeomObject& h = c[hostNo];
  o.Length() = Distance(P1(o), P1(h));
  if (IsLineKind(h.Kind)) {
    o.AttachA() = InBox(P2(h), P1(o), P1(h)) ? -1.0 : 1.0;
  } else if (h.Kind == okCircle && !ApproxEqual(AttachCentreTol, 0, o.Length())) {
    o.AttachA() = (o.X1 - h.X1) / o.Length();
    o.AttachB() = (o.Y1 - h.Y1) / o.Length();
  }
}

namespace {

// Appends a copy of object i with its own default name and RootNo 2; 0 when the table is full.
int AppendTwin(Construction& c, int i, int kind, const NamingRules& rules) {
  if (c.ObjCount >= MaxObjects) return 0;
  // The name is chosen before the copy is counted: the copy carries the name of object i, which
  // is counted already, so the result is the same.
  const std::string name = DefaultName(c, kind, rules);
  const int n = ++c.ObjCount;
  c[n] = c[i];
  c[n].Name.Assign(name);
  c[n].SetRootNo(2);
  return n;
}

bool IsLineObject(const Construction& c, int number, int count) {
  return number >= 1 && number <= count && IsLineKind(c[number].Kind);
}
bool IsCircleObject(const Construction& c, int number, int count) {
  return number >= 1 && number <= count && c[number].Kind == okCircle;
}

} // namespace

int SetIntersectionSubtype(Construction& c, int i) {
  const int count = std::clamp<int>(c.ObjCount, 0, MaxObjects);
  if (i < 1 || i > count) return 0;
  TGeomObject& o = c[i];
  const int x = o.Refs[1];
  const int y = o.Refs[2];
  int16_t subtype = isTwoCircles;
  if (IsLineObject(c, x, count)) {
    if (IsLineObject(c, y, count))
      subtype = isTwoLines;
    else if (IsCircleObject(c, y, count))
      subtype = isLineCircle;
  } else if (IsCircleObject(c, x, count) && IsLineObject(c, y, count)) {
    std::swap(o.Refs[1], o.Refs[2]);
    subtype = isLineCircle;
  }
  o.Refs[0] = subtype;
  return subtype;
}

int ClassifyIntersection(Construction& c, int i, const NamingRules& rules) {
  const int count = std::clamp<int>(c.ObjCount, 0, MaxObjects);
  if (i < 1 || i > count) return 0;
  c[i].SetRootNo(1);
  if (SetIntersectionSubtype(c, i) == isTwoLines) return 0;
  return AppendTwin(c, i, okIntersection, rules);
}

int AppendTangentTwin(Construction& c, int i, const NamingRules& rules) {
  const int count = std::clamp<int>(c.ObjCount, 0, MaxObjects);
  if (i < 1 || i > count) return 0;
  c[i].SetRootNo(1);
  return AppendTwin(c, i, okTangent, rules);
}

} // namespace drex
