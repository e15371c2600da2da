#include "kernel/construction.h"

#include <utility>

#include "kernel/polynomial_memo.h"

namespace drex {

Construction::Construction()
    : objects_(new TGeomObject[SlotCount]()), polynomials_(std::make_unique<PolynomialMemo>(SlotCount)) {}

Construction::~Construction() = default;

void Construction::Swap(Construction& other) noexcept {
  std::swap(ObjCount, other.ObjCount);
  std::swap(MeasureCount, other.MeasureCount);
  std::swap(DynExprCount, other.DynExprCount);
  std::swap(View, other.View);
  std::swap(Measurements, other.Measurements);
  std::swap(DynExprs, other.DynExprs);
  std::swap(objects_, other.objects_);
  std::swap(polynomials_, other.polynomials_);
}

} // namespace drex
