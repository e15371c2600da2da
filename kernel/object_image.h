#pragma once
// The stored image of an object: bytes 0..727 of the record, then the words Refs[0..m] with
// m = RefCount for polylines and polynomials and m = 3 for every other kind. The layout is written
// down once, in VisitObjectRecord; reader, writer and the offset test are all built on it.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "kernel/byte_io.h"
#include "kernel/geom_object.h"

namespace drex {

/// Size of the fixed part of an image (record offsets 0..727).
constexpr std::size_t ObjectFixedBytes = 728;
/// Record offset of Refs[0].
constexpr std::size_t RefsOffset = 728;
/// Length of the image of a kind other than 10 and 12.
constexpr std::size_t FixedImageBytes = 736;

/// Visits every field of the fixed part in stored order, with its record offset. A visitor has
/// U8, I32, F64 and I16 members taking (offset, field&) and Str taking (offset, ShortString&).
template <class Record, class Visitor> void VisitObjectRecord(Record& o, Visitor& v) {
  v.U8(0, o.Kind);
  v.Str(1, o.Name);
  v.I32(22, o.Color);
  v.I32(26, o.PenStyle);
  v.I32(30, o.PenWidth);
  v.U8(34, o.Visible);
  v.U8(35, o.Defined);
  v.U8(36, o.Selected);
  v.Str(37, o.Expr1);
  v.Str(293, o.Expr2);
  v.U8(549, o.FuncType);
  v.F64(550, o.X1);
  v.F64(558, o.Y1);
  v.F64(566, o.X2);
  v.F64(574, o.Y2);
  v.I32(582, o.ScrX1);
  v.I32(586, o.ScrY1);
  v.I32(590, o.ScrX2);
  v.I32(594, o.ScrY2);
  for (std::size_t k = 0; k < o.Param.size(); ++k)
    v.F64(598 + 8 * k, o.Param[k]);
  v.I16(726, o.RefCount);
}

/// True for the kinds whose image holds Refs[0..RefCount] rather than Refs[0..3].
constexpr bool HasVariableRefs(int kind) { return kind == okPolyline || kind == okPolynomial; }

/// The index m of the last stored reference word, or -1 when it cannot be stored (a negative
/// RefCount, or more references than the record has room for).
constexpr int LastStoredRef(int kind, int refCount) {
  if (!HasVariableRefs(kind)) return FixedKindRefs;
  return (refCount >= 0 && refCount < RefSlots) ? refCount : -1;
}

/// Image length for a kind and reference count; 0 when LastStoredRef gives -1.
constexpr std::size_t ObjectImageLength(int kind, int refCount) {
  const int m = LastStoredRef(kind, refCount);
  return m < 0 ? 0 : ObjectFixedBytes + 2 * static_cast<std::size_t>(m + 1);
}

/// Appends the image of `o`. `o` must have a storable RefCount (LastStoredRef ≥ 0).
void WriteObjectImage(const TGeomObject& o, ByteWriter& out);

/// Reads one image into `o`. Returns false, leaving `o` partly filled, when the bytes run out or
/// the reference count cannot be stored in the record.
bool ReadObjectImage(ByteReader& in, TGeomObject& o);

} // namespace drex
