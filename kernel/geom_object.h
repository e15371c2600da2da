#pragma once
// The object record of a construction, its kinds and the fixed tables that go with them.

#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

namespace drex {

/// A length-prefixed single-byte string of capacity N as stored in records and files: one length
/// byte, then N bytes of Windows-1251 text. Every byte is kept, the unused tail included, so that a
/// record read from a file is written back byte for byte.
template <int N> struct ShortString {
  static_assert(N > 0 && N <= 255, "a short string holds at most 255 bytes");
  static constexpr int Capacity = N;

  uint8_t Len = 0;
  std::array<uint8_t, N> Chars{};

  /// The text as Windows-1251 bytes; a length byte above the capacity reads as the capacity.
  std::string Bytes() const {
    const int n = Len <= N ? Len : N;
    return std::string(reinterpret_cast<const char*>(Chars.data()), static_cast<std::size_t>(n));
  }

  /// Stores Windows-1251 bytes, cut to the capacity. Bytes past the new length are left as they were.
  void Assign(const std::string& bytes) {
    const std::size_t n = bytes.size() < static_cast<std::size_t>(N) ? bytes.size() : static_cast<std::size_t>(N);
    if (n > 0) std::memcpy(Chars.data(), bytes.data(), n);
    Len = static_cast<uint8_t>(n);
  }

  /// True when the text equals `bytes` exactly (same length, same bytes).
  bool Equals(const std::string& bytes) const {
    return Len <= N && bytes.size() == Len && std::memcmp(Chars.data(), bytes.data(), Len) == 0;
  }
  bool Equals(const ShortString& other) const { return Equals(other.Bytes()); }
};

/// The fourteen object kinds.
enum TObjKind : uint8_t {
  okPoint = 0,         ///< free point
  okMidpoint = 1,      ///< midpoint of two points
  okPointOn = 2,       ///< point attached to a line, polyline or circle
  okIntersection = 3,  ///< intersection of two lines or circles
  okSymmetric = 4,     ///< image of a point in a centre point or a mirror line
  okLine = 5,          ///< line through two points
  okParallel = 6,      ///< parallel through a point
  okPerpendicular = 7, ///< perpendicular through a point
  okBisector = 8,      ///< bisector of an angle given by three points
  okTangent = 9,       ///< tangent from a point to a circle
  okPolyline = 10,     ///< polyline through its vertices, closed when the last equals the first
  okCircle = 11,       ///< circle by centre and a point on it
  okPolynomial = 12,   ///< interpolation polynomial through up to 10 nodes
  okFunction = 13,     ///< graph of a function given by a formula
};

constexpr int KindCount = 14;
constexpr uint8_t MaxKind = 13;

/// Intersection subtypes kept in Refs[0] of kind 3.
enum IntersectionSubtype : int16_t {
  isNone = 0,
  isTwoLines = 1,
  isLineCircle = 2,
  isTwoCircles = 3,
};

/// Objects are numbered 1..MaxObjects; slot 0 is the properties dialog's edit slot.
constexpr int MaxObjects = 10000;
constexpr int EditSlot = 0;
constexpr int SlotCount = MaxObjects + 1;
/// Room for references: Refs[0..503].
constexpr int RefSlots = 504;
/// Largest vertex count of a polyline (Refs[1..503]).
constexpr int MaxPolylineRefs = 503;
/// Largest node count of an interpolation polynomial.
constexpr int MaxPolynomialNodes = 10;
/// Stored references of every kind other than 10 and 12: Refs[0..3].
constexpr int FixedKindRefs = 3;

constexpr bool IsPointKind(int kind) { return kind >= 0 && kind <= 4; }
constexpr bool IsLineKind(int kind) { return kind >= 5 && kind <= 9; }
constexpr bool IsValidKind(int kind) { return kind >= 0 && kind <= MaxKind; }

/// True when a reference of kind `a` may be replaced by one of kind `b`: the same kind, both
/// points, or both straight lines.
constexpr bool KindsCompatible(int a, int b) {
  return a == b || (IsPointKind(a) && IsPointKind(b)) || (IsLineKind(a) && IsLineKind(b));
}

/// The object record. Field names and widths are those of the stored image; the layout of that
/// image is described once in object_image.h, never by the memory of this struct.
///
/// The members are in the order the recalculation pass wants them: it reads and writes a few
/// fields of every record and of its parents on every redraw, so the kind, the flags, the
/// reference count, the coordinates, the pixel fields and the first references share a record's
/// first cache line, and the first parameters another one. Records start on a cache line.
struct alignas(64) TGeomObject {
  uint8_t Kind = 0;
  uint8_t Defined = 0;
  uint8_t Visible = 0;
  uint8_t Selected = 0;
  uint8_t FuncType = 0; ///< kind 13: 1 explicit, 2 parametric, 3 polar
  int16_t RefCount = 0;
  double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;              ///< internal units; kind 13: argument intervals in user units
  int32_t ScrX1 = 0, ScrY1 = 0, ScrX2 = 0, ScrY2 = 0; ///< pixel positions, refreshed by every pass
  std::array<int16_t, RefSlots> Refs{};               ///< Refs[0]: intersection subtype; Refs[1..n]: object numbers
  ShortString<20> Name;
  int32_t Color = 0;    ///< colour value red + 256·green + 65536·blue
  int32_t PenStyle = 0; ///< 0 solid, 1 dashed, 2 dotted, 3 dash-dot
  int32_t PenWidth = 0; ///< pixels, 1..5
  std::array<double, 16> Param{};
  ShortString<255> Expr1; ///< kind 13: y(x), x(t) or r(φ)
  ShortString<255> Expr2; ///< kind 13, parametric: y(t)

  /// Kinds 3 and 9: which of the two solutions (1 or 2), rounded to the nearest integer.
  /// Values that are not finite numbers of reasonable size read as 0 (neither solution).
  int RootNo() const {
    const double v = Param[0];
    if (!(v > -1e9 && v < 1e9)) return 0;
    return static_cast<int>(std::nearbyint(v));
  }
  void SetRootNo(int n) { Param[0] = n; }
  /// Kind 2 on a line: side of the host's first point (±1); on a circle: cosine of the angle.
  double& AttachA() { return Param[1]; }
  double AttachA() const { return Param[1]; }
  /// Kind 2 on a circle: sine of the angle.
  double& AttachB() { return Param[2]; }
  double AttachB() const { return Param[2]; }
  /// Kind 10: area of the polygon in user units squared.
  double& Area() { return Param[2]; }
  double Area() const { return Param[2]; }
  /// Kinds 5..9: distance of the defining points; 11: radius; 10: perimeter; 2 on a line: distance
  /// from the host's first point. Internal units.
  double& Length() { return Param[3]; }
  double Length() const { return Param[3]; }
  /// Kind 12: smallest node x; kind 13: largest sampled x (user units).
  double& ExtA() { return Param[4]; }
  double ExtA() const { return Param[4]; }
  /// Kind 12: largest node x; kind 13: smallest sampled x (user units).
  double& ExtB() { return Param[5]; }
  double ExtB() const { return Param[5]; }
  /// Kind 13: largest sampled y (user units).
  double& ExtC() { return Param[6]; }
  double ExtC() const { return Param[6]; }
  /// Kind 13: smallest sampled y (user units).
  double& ExtD() { return Param[7]; }
  double ExtD() const { return Param[7]; }
  /// Kind 10: 1.0 when the closed polygon is filled.
  bool Filled() const { return Param[7] != 0.0; }
  void SetFilled(bool on) { Param[7] = on ? 1.0 : 0.0; }
  /// Kind 10: the fill colour value.
  int32_t FillColor() const {
    const double v = Param[8];
    return (v >= 0 && v <= 0xFFFFFF) ? static_cast<int32_t>(v) : 0;
  }
  void SetFillColor(int32_t value) { Param[8] = value; }
  /// Kind 12: coefficient of x^(k-1), k = 1..10, in user units.
  double& Coef(int k) { return Param[static_cast<std::size_t>(5 + k)]; }
  double Coef(int k) const { return Param[static_cast<std::size_t>(5 + k)]; }

  int16_t Subtype() const { return Refs[0]; }
  /// Reference k (1..RefCount).
  int Ref(int k) const { return Refs[static_cast<std::size_t>(k)]; }
};

/// One of the sixteen colours of the colour lists.
struct PaletteEntry {
  const char* Name;
  int32_t Value; ///< red + 256·green + 65536·blue
};

constexpr int32_t RgbValue(int r, int g, int b) { return r + 256 * g + 65536 * b; }

/// The sixteen colours in the order the colour lists show them.
constexpr std::array<PaletteEntry, 16> ColorPalette = {{
    {"black", RgbValue(0, 0, 0)},
    {"maroon", RgbValue(128, 0, 0)},
    {"green", RgbValue(0, 128, 0)},
    {"olive", RgbValue(128, 128, 0)},
    {"navy", RgbValue(0, 0, 128)},
    {"purple", RgbValue(128, 0, 128)},
    {"teal", RgbValue(0, 128, 128)},
    {"grey", RgbValue(128, 128, 128)},
    {"silver", RgbValue(192, 192, 192)},
    {"red", RgbValue(255, 0, 0)},
    {"lime", RgbValue(0, 255, 0)},
    {"yellow", RgbValue(255, 255, 0)},
    {"blue", RgbValue(0, 0, 255)},
    {"fuchsia", RgbValue(255, 0, 255)},
    {"aqua", RgbValue(0, 255, 255)},
    {"white", RgbValue(255, 255, 255)},
}};

/// Pen styles of the line-type list ("Суцільна", "Пунктирна", "Штрихова", "Штрихпунктирна"), by
/// list position: solid, dotted, dashed, dash-dot.
constexpr std::array<int32_t, 4> PenStyleMap = {0, 2, 1, 3};

} // namespace drex
