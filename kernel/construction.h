#pragma once
// The construction: the object table with its count, the measurements, the dynamic expressions
// and the view it is seen with. Documents are copied into and out of one of these as a whole.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "kernel/geom_object.h"
#include "view/view_transform.h"

namespace drex {

constexpr int MaxMeasurements = 100;
constexpr int MaxDynExprs = 100;

/// A measurement shown on the drawing: type 0 = angle by three points, 1 = distance between two
/// points (only the first two numbers count).
struct Measurement {
  uint8_t Type = 0;
  std::array<int16_t, 3> Objects{};
};

/// A dynamic expression: its formula and its display name, both Windows-1251.
struct TDynExpr {
  ShortString<255> Text;
  ShortString<255> DisplayName;
};

class PolynomialMemo;

/// Working room of the recalculation pass for a construction in which a reference names an object
/// with a larger number: the order the pass recomputes such objects in and the state of the walk
/// that finds it, one entry per slot, allocated once. Never saved.
struct RecalcOrderRoom {
  std::vector<int16_t> Order;       ///< objects, each after the objects it is computed from
  std::vector<int16_t> PathObject;  ///< the walk's current path of objects
  std::vector<int16_t> PathNextRef; ///< per path entry, the next of its references to follow
  std::vector<uint8_t> Mark;        ///< per object: not reached, on the path, or placed in Order
};

/// Holds the 10001 object slots, allocated once on the heap (slot 0 is the edit slot). Objects in
/// use are 1..ObjCount.
class Construction {
public:
  Construction();
  ~Construction();
  Construction(const Construction&) = delete;
  Construction& operator=(const Construction&) = delete;

  TGeomObject& operator[](int number) { return objects_[static_cast<std::size_t>(number)]; }
  const TGeomObject& operator[](int number) const { return objects_[static_cast<std::size_t>(number)]; }

  /// Exchanges the whole contents with `other` without copying records.
  void Swap(Construction& other) noexcept;

  /// The polynomial fits of the last recalculation passes (working state, never saved).
  PolynomialMemo& Polynomials() { return *polynomials_; }

  /// The recalculation pass's room for ordering objects whose parents have larger numbers.
  RecalcOrderRoom& RecalcOrder() { return recalcOrder_; }

  int16_t ObjCount = 0;
  int16_t MeasureCount = 0;
  int16_t DynExprCount = 0;
  TViewState View;
  std::array<Measurement, MaxMeasurements> Measurements{};
  std::array<TDynExpr, MaxDynExprs> DynExprs{};

private:
  /// Releases the slots made by the constructor.
  struct SlotsDeleter {
    void operator()(TGeomObject* slots) const noexcept;
  };

  std::unique_ptr<TGeomObject[], SlotsDeleter> objects_;
  std::unique_ptr<PolynomialMemo> polynomials_;
  RecalcOrderRoom recalcOrder_;
};

} // namespace drex
