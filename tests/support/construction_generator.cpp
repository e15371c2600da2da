#include "support/construction_generator.h"

#include <algorithm>
#include <string>
#include <vector>

#include "kernel/math2d.h"
#include "kernel/recalc.h"
#include "support/construction_builder.h"

namespace drex {
namespace {

// A small generator with a fixed algorithm (splitmix64), so that a seed gives the same
// construction with every standard library.
class Random {
public:
  explicit Random(uint32_t seed) : state_(seed) {}

  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  /// 0 .. n - 1.
  int Below(int n) { return static_cast<int>(Next() % static_cast<uint64_t>(n)); }
  double Uniform(double lo, double hi) {
    return lo + (hi - lo) * static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0);
  }
  int Pick(const std::vector<int>& pool) {
    return pool[static_cast<std::size_t>(Below(static_cast<int>(pool.size())))];
  }

private:
  uint64_t state_;
};

constexpr double FreeRange = 300.0;

// What a recipe appends and the pools it draws its parents from.
class MixedGenerator {
public:
  MixedGenerator(Construction& c, int count, uint32_t seed) : b_(c), count_(count), rnd_(seed) {}

  void Run() {
    while (Room() > 0) {
      if (Room() < 8 || points_.size() < 4 || !OneRecipe()) FreePoint();
    }
  }

private:
  int Room() const { return count_ - b_.Doc().ObjCount; }

  int FreePoint() {
    const Point2 at = RandomPosition();
    const int n = b_.Point(at.x, at.y);
    Style(n);
    points_.push_back(n);
    return n;
  }

  // Drawn in two statements: the order in which function arguments are evaluated is not fixed,
  // and the construction must not depend on the compiler.
  Point2 RandomPosition() {
    const double x = rnd_.Uniform(-FreeRange, FreeRange);
    const double y = rnd_.Uniform(-FreeRange, FreeRange);
    return {x, y};
  }

  void Style(int n) {
    TGeomObject& o = b_[n];
    o.Color = ColorPalette[static_cast<std::size_t>(rnd_.Below(16))].Value;
    o.PenStyle = rnd_.Below(4);
    o.PenWidth = 1 + rnd_.Below(3);
  }

  int AddPoint(int n) {
    Style(n);
    points_.push_back(n);
    return n;
  }
  int AddLine(int n) {
    Style(n);
    lines_.push_back(n);
    return n;
  }
  int AddCircle(int n) {
    Style(n);
    circles_.push_back(n);
    return n;
  }

  // Two different points of the pool (the pool holds at least four).
  std::pair<int, int> TwoPoints() {
    const int a = rnd_.Pick(points_);
    int b = rnd_.Pick(points_);
    while (b == a)
      b = rnd_.Pick(points_);
    return {a, b};
  }

  // A circle about a pool point through a new free point.
  int NewCircle() {
    const int centre = rnd_.Pick(points_);
    const int on = FreePoint();
    return AddCircle(b_.Circle(centre, on));
  }

  bool OneRecipe() {
    const int roll = rnd_.Below(100);
    if (roll < 12) return FreePoint() > 0;
    if (roll < 20) {
      const auto [a, p] = TwoPoints();
      return AddPoint(b_.Midpoint(a, p)) > 0;
    }
    if (roll < 24) {
      if (lines_.empty()) return false;
      const int host = rnd_.Pick(lines_);
      const Point2 at = RandomPosition();
      return AddPoint(b_.PointOn(host, at.x, at.y)) > 0;
    }
    if (roll < 28) {
      if (circles_.empty()) return false;
      const int host = rnd_.Pick(circles_);
      const Point2 at = RandomPosition();
      return AddPoint(b_.PointOn(host, at.x, at.y)) > 0;
    }
    if (roll < 30) {
      if (polylines_.empty()) return false;
      const int host = rnd_.Pick(polylines_);
      const Point2 at = RandomPosition();
      return AddPoint(b_.PointOn(host, at.x, at.y)) > 0;
    }
    if (roll < 35) {
      if (lines_.size() < 2) return false;
      const int l1 = rnd_.Pick(lines_);
      int l2 = rnd_.Pick(lines_);
      if (l2 == l1) return false;
      return AddPoint(b_.Intersection(l1, l2)) > 0;
    }
    if (roll < 39) {
      // A line through the centre of a circle meets it twice; the circle may come first, as a
      // user may pick it first.
      if (circles_.empty()) return false;
      const int k = rnd_.Pick(circles_);
      const int line = AddLine(b_.Line(b_[k].Refs[1], FreePoint()));
      const int n = rnd_.Below(2) == 0 ? b_.Intersection(line, k) : b_.Intersection(k, line);
      AddPoint(n);
      AddPoint(n + 1);
      return true;
    }
    if (roll < 43) {
      // Each circle through the other's centre: they always meet.
      const auto [a, p] = TwoPoints();
      const int k1 = AddCircle(b_.Circle(a, p));
      const int k2 = AddCircle(b_.Circle(p, a));
      const int n = b_.Intersection(k1, k2);
      AddPoint(n);
      AddPoint(n + 1);
      return true;
    }
    if (roll < 46) {
      const auto [p, m] = TwoPoints();
      return AddPoint(b_.Symmetric(p, m)) > 0;
    }
    if (roll < 49) {
      if (lines_.empty()) return false;
      const int p = rnd_.Pick(points_);
      return AddPoint(b_.Symmetric(p, rnd_.Pick(lines_))) > 0;
    }
    if (roll < 57) {
      const auto [a, p] = TwoPoints();
      return AddLine(b_.Line(a, p)) > 0;
    }
    if (roll < 61) {
      if (lines_.empty()) return false;
      const int p = rnd_.Pick(points_);
      return AddLine(b_.Parallel(p, rnd_.Pick(lines_))) > 0;
    }
    if (roll < 65) {
      if (lines_.empty()) return false;
      const int p = rnd_.Pick(points_);
      return AddLine(b_.Perpendicular(p, rnd_.Pick(lines_))) > 0;
    }
    if (roll < 69) {
      const auto [a, v] = TwoPoints();
      int c = rnd_.Pick(points_);
      while (c == v)
        c = rnd_.Pick(points_);
      return AddLine(b_.Bisector(a, v, c)) > 0;
    }
    if (roll < 74) {
      if (circles_.empty()) return false;
      const int p = rnd_.Pick(points_);
      const int t = b_.Tangent(p, rnd_.Pick(circles_));
      AddLine(t);
      AddLine(t + 1);
      return true;
    }
    if (roll < 82) return NewCircle() > 0;
    if (roll < 92) {
      const int vertices = 3 + rnd_.Below(4);
      std::vector<int> refs;
      for (int k = 0; k < vertices; ++k)
        refs.push_back(rnd_.Pick(points_));
      const bool closed = rnd_.Below(2) == 0;
      const bool filled = closed && rnd_.Below(2) == 0;
      const int n =
          b_.Polyline(refs, closed, filled ? ColorPalette[static_cast<std::size_t>(rnd_.Below(16))].Value : -1);
      Style(n);
      polylines_.push_back(n);
      return true;
    }
    if (roll < 95) return FreePoint() > 0;
    if (roll < 99) {
      const auto [a, p] = TwoPoints();
      return AddLine(b_.Line(a, p)) > 0;
    }
    // One recipe in a hundred: half of them a polynomial, half a function graph.
    if (rnd_.Below(2) == 0) {
      // Nodes with distinct x, 3 to 5 of them.
      const int nodes = 3 + rnd_.Below(3);
      std::vector<int> refs;
      const double x0 = rnd_.Uniform(-FreeRange, 0);
      for (int k = 0; k < nodes; ++k) {
        const double x = x0 + 40.0 * k + rnd_.Uniform(0, 20);
        const int p = b_.Point(x, rnd_.Uniform(-FreeRange, FreeRange));
        AddPoint(p);
        refs.push_back(p);
      }
      Style(b_.Polynomial(refs));
      return true;
    }
    static const char* const Explicit[] = {"sin(x)", "x*x/4-1", "cos(2*x)+x/3", "exp(-x*x)"};
    const int which = rnd_.Below(5);
    const int n = which < 4 ? b_.Graph(Explicit[which]) : b_.Graph("cos(t)", 2, "sin(2*t)");
    Style(n);
    return true;
  }

  ConstructionBuilder b_;
  int count_;
  Random rnd_;
  std::vector<int> points_, lines_, circles_, polylines_;
};

} // namespace

void GenerateMixedConstruction(Construction& c, int count, uint32_t seed) {
  c.ObjCount = 0;
  MixedGenerator(c, std::clamp(count, 0, MaxObjects), seed).Run();
}

void GenerateMidpointChain(Construction& c, int count) {
  c.ObjCount = 0;
  ConstructionBuilder b(c);
  const int total = std::clamp(count, 2, MaxObjects);
  const int fixed = b.Point(-200, 100);
  b.Point(300, -150);
  while (c.ObjCount < total)
    b.Midpoint(c.ObjCount, fixed);
}

std::vector<int> CopyNumberedBackwards(const Construction& from, Construction& to) {
  const int count = std::clamp<int>(from.ObjCount, 0, MaxObjects);
  // Blocks of one object, or of the two objects of a pair, in their order in `from`.
  std::vector<std::pair<int, int>> blocks;
  for (int i = 1; i <= count; ++i) {
    const bool pair = i < count && IsTwinOfPrevious(from, i + 1);
    blocks.push_back({i, pair ? i + 1 : i});
    if (pair) ++i;
  }
  std::vector<int> oldOf(1, 0);
  std::vector<int> newOf(static_cast<std::size_t>(count) + 1, 0);
  for (auto b = blocks.rbegin(); b != blocks.rend(); ++b)
    for (int i = b->first; i <= b->second; ++i) {
      newOf[static_cast<std::size_t>(i)] = static_cast<int>(oldOf.size());
      oldOf.push_back(i);
    }
  to.ObjCount = static_cast<int16_t>(count);
  to.View = from.View;
  for (int n = 1; n <= count; ++n) {
    TGeomObject& o = to[n];
    o = from[oldOf[static_cast<std::size_t>(n)]];
    const int refs = std::clamp<int>(o.RefCount, 0, RefSlots - 1);
    for (int k = 1; k <= refs; ++k) {
      const int r = o.Ref(k);
      if (r >= 1 && r <= count)
        o.Refs[static_cast<std::size_t>(k)] = static_cast<int16_t>(newOf[static_cast<std::size_t>(r)]);
    }
  }
  return oldOf;
}

void MoveFreePoints(Construction& c, double dx, double dy) {
  for (int i = 1; i <= c.ObjCount; ++i) {
    if (c[i].Kind != okPoint) continue;
    c[i].X1 += dx;
    c[i].Y1 += dy;
  }
}

} // namespace drex
