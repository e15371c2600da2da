#include "kernel/construction.h"

#include <cstdlib>
#include <memory>
#include <new>
#include <utility>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#include "kernel/polynomial_memo.h"

namespace drex {

namespace {

// The slots take some 18 MB, and the recalculation pass reads records all over them on every
// redraw. In small pages that is thousands of address translations, more than the processor
// keeps; the table is therefore aligned to, and on Linux asks for, 2 MB pages, before any of it
// is touched.
constexpr std::size_t LargePage = std::size_t{2} << 20;
constexpr std::size_t SlotsBytes = (sizeof(TGeomObject) * SlotCount + LargePage - 1) / LargePage * LargePage;

TGeomObject* MakeSlots() {
  void* raw = std::aligned_alloc(LargePage, SlotsBytes);
  if (raw == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  madvise(raw, SlotsBytes, MADV_HUGEPAGE); // a hint: without large pages the table works the same
#endif
  TGeomObject* slots = static_cast<TGeomObject*>(raw);
  std::uninitialized_value_construct_n(slots, SlotCount);
  return slots;
}

} // namespace

void Construction::SlotsDeleter::operator()(TGeomObject* slots) const noexcept {
  std::destroy_n(slots, SlotCount);
  std::free(slots);
}

Construction::Construction() : objects_(MakeSlots()), polynomials_(std::make_unique<PolynomialMemo>(SlotCount)) {
  recalcOrder_.Order.resize(SlotCount);
  recalcOrder_.PathObject.resize(SlotCount);
  recalcOrder_.PathNextRef.resize(SlotCount);
  recalcOrder_.Mark.resize(SlotCount);
}

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
  std::swap(recalcOrder_, other.recalcOrder_);
}

} // namespace drex
