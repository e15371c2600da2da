#pragma once
// The recalculation pass that brings every computed field of the construction up to date, and
// the construction steps that prepare the free data it works from: attaching a point to an object,
// classifying an intersection and making the second object of an intersection or tangent pair.

#include "kernel/construction.h"
#include "kernel/object_table.h"
#include "view/view_transform.h"

namespace drex {

/// Recomputes objects 1..N, N = stepPos when it is positive (at most ObjCount), else ObjCount,
/// each after the objects it is built from: in number order, and when a reference names a larger
/// number (as the properties dialog allows), the objects from the first such one on once more in
/// an order with parents first (the first object of an intersection or tangent pair before its
/// twin). Objects above N take no part; a reference to one reads it as it is. A reference cycle
/// (which no valid document holds) ends the pass normally with some order. Computed: `Defined`, the computed
/// coordinates and `Param` fields of each kind, and the pixel fields ScrX1..ScrY2 under `c.View` and `area`
/// (WorldToScreen, halves rounded to even). `unitLength` is the number of internal units per user unit (values below 1
/// count as 1). An object is defined only when all its parents are and its own construction succeeds; a line or circle
/// whose two defining points fall on the same pixel is undefined for this pass. References that are not listed (beyond
/// RefCount), that name no object of the table, or that name an object of a kind the object cannot be built on make the
/// object undefined. Records are read and written in place.
void RecalcPass(Construction& c, const ViewArea& area, int unitLength, int stepPos);

/// Prepares the free data of the point on an object `i` (kind 2) from its position (X1, Y1) and
/// its host `Refs[1]`: the distance from the host's first point (`Length`); on a line the side of
/// that point (`AttachA` = -1 when the host's first point lies in the box spanned by the host's
/// second point and the point, else +1); on a circle the cosine and sine of the point's angle
/// about the centre (`AttachA`, `AttachB`), kept as they were when the point is at the centre.
/// Does nothing when `i` or its host is not an object of the table.
void AttachPoint(Construction& c, int i);

/// Sets up the intersection point `i` (kind 3) after Refs[1] and Refs[2] are set: RootNo = 1,
/// the subtype in Refs[0] (1 two lines, 2 line and circle with the line put first, 3 otherwise)
/// and, for subtypes 2 and 3, appends the twin at ObjCount + 1: a copy of object i with its own
/// default name and RootNo = 2. Returns the twin's number, or 0 when no twin was made (subtype 1,
/// or the table has no free slot, in which case the single point follows its RootNo).
int ClassifyIntersection(Construction& c, int i, const NamingRules& rules);

/// Sets the subtype of the intersection point `i` (kind 3) in Refs[0] from the kinds of Refs[1]
/// and Refs[2] (1 two lines, 2 line and circle with the line put first, 3 otherwise) and returns
/// it; RootNo and the rest of the table are left as they are. 0 when `i` is not an object.
int SetIntersectionSubtype(Construction& c, int i);

/// Makes the tangent `i` (kind 9, both parents set) the first of a pair: RootNo = 1, and appends
/// the twin at ObjCount + 1, a copy with its own default name and RootNo = 2. Returns the twin's
/// number, or 0 when the table has no free slot.
int AppendTangentTwin(Construction& c, int i, const NamingRules& rules);

/// True when object i (2..ObjCount) is the twin of object i - 1: both are intersections of
/// subtype 2 or 3, or both tangents, with equal Refs[0], Refs[1] and Refs[2], and object i takes
/// the second solution (RootNo 2) while object i - 1 does not.
bool IsTwinOfPrevious(const Construction& c, int i);

} // namespace drex
