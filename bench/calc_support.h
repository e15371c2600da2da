#pragma once
// Dynamic expressions and measurements over a generated construction, for the benchmarks: each
// expression makes three measurement calls on points spread over the whole table, so that the
// name lookups reach its far end.

#include <string>
#include <vector>

#include "kernel/construction.h"

namespace drex {

/// Defined points of `doc`, in number order.
inline std::vector<int> DefinedPoints(const Construction& doc) {
  std::vector<int> points;
  for (int n = 1; n <= doc.ObjCount; ++n)
    if (IsPointKind(doc[n].Kind) && doc[n].Defined) points.push_back(n);
  return points;
}

/// Fills the expression table with `count` expressions "ANGLE(p,q,r)+LEN(p,s)*AREA(q,r,s)".
inline void AddBenchExpressions(Construction& doc, int count) {
  const std::vector<int> points = DefinedPoints(doc);
  const auto name = [&](std::size_t k) { return doc[points[k % points.size()]].Name.Bytes(); };
  for (int i = 0; i < count && i < MaxDynExprs; ++i) {
    const std::size_t base = static_cast<std::size_t>(i) * points.size() / static_cast<std::size_t>(count);
    const std::string p = name(base), q = name(base + 7), r = name(base + 13), s = name(points.size() - 1 - base);
    doc.DynExprs[static_cast<std::size_t>(i)].Text.Assign("ANGLE(" + p + "," + q + "," + r + ")+LEN(" + p + "," + s +
                                                          ")*AREA(" + q + "," + r + "," + s + ")");
    doc.DynExprCount = static_cast<int16_t>(i + 1);
  }
}

/// Fills the measurement list with `count` angles and distances between points spread over the table.
inline void AddBenchMeasurements(Construction& doc, int count) {
  const std::vector<int> points = DefinedPoints(doc);
  for (int i = 0; i < count && i < MaxMeasurements; ++i) {
    const std::size_t base = static_cast<std::size_t>(i) * points.size() / static_cast<std::size_t>(count);
    const auto at = [&](std::size_t k) { return static_cast<int16_t>(points[(base + k) % points.size()]); };
    doc.Measurements[static_cast<std::size_t>(i)] =
        i % 2 == 0 ? Measurement{0, {at(0), at(1), at(2)}} : Measurement{1, {at(0), at(3), 0}};
    doc.MeasureCount = static_cast<int16_t>(i + 1);
  }
}

} // namespace drex
