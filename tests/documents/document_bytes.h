#pragma once
// Builds document files byte by byte from a plain description, independently of the program's
// writer: every offset is spelled out here, so a test comparing the two pins the layout.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace drex::testdoc {

struct ObjSpec {
  uint8_t Kind = 0;
  int16_t RefCount = 0;
  /// Refs[1..]: for kinds other than 10 and 12 padded to three words; for 10 and 12 written as given.
  std::vector<int16_t> Refs;
  std::string Name = "P"; ///< Windows-1251 bytes
  int NameLen = -1;       ///< length byte; -1 = Name.size()
  int16_t Subtype = 0;    ///< Refs[0]
  uint8_t Fill = 0;       ///< value of every byte not otherwise set, to show that all bytes survive
};

struct MeasureSpec {
  uint8_t Type = 0;
  int16_t A = 0, B = 0, C = 0;
};

/// A header count taken from the lists.
constexpr int Auto = -100000;

struct DocSpec {
  uint32_t Magic = 0x20971bcc;
  int ObjCount = Auto; ///< header values; Auto = the length of the list
  int MeasureCount = Auto;
  int DynExprCount = Auto;
  int16_t OrgX = 0, OrgY = 0;
  double Zoom = 1.0;
  std::vector<ObjSpec> Objects;
  std::vector<MeasureSpec> Measures;
  std::vector<std::string> DynTexts; ///< each gives a record "<text>" / "<text>:"
  std::size_t Cut = 0;               ///< bytes dropped from the end
  std::size_t Extra = 0;             ///< bytes appended at the end
};

inline void PutU16(std::vector<uint8_t>& b, std::size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v & 0xFF);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
inline void AddU16(std::vector<uint8_t>& b, uint16_t v) {
  b.push_back(static_cast<uint8_t>(v & 0xFF));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
inline void AddI16(std::vector<uint8_t>& b, int16_t v) { AddU16(b, static_cast<uint16_t>(v)); }

inline std::vector<uint8_t> ImageBytes(const ObjSpec& o) {
  std::vector<uint8_t> b(728, o.Fill);
  b[0] = o.Kind;
  b[1] = static_cast<uint8_t>(o.NameLen >= 0 ? o.NameLen : static_cast<int>(o.Name.size()));
  std::memcpy(&b[2], o.Name.data(), o.Name.size() < 20 ? o.Name.size() : 20);
  PutU16(b, 726, static_cast<uint16_t>(o.RefCount));
  AddI16(b, o.Subtype);
  const bool variable = o.Kind == 10 || o.Kind == 12;
  for (std::size_t k = 0; k < o.Refs.size() || (!variable && k < 3); ++k)
    AddI16(b, k < o.Refs.size() ? o.Refs[k] : 0);
  return b;
}

inline std::string DynText(const std::string& text, int field) { return field == 0 ? text : text + ":"; }

inline std::vector<uint8_t> DocumentBytes(const DocSpec& d) {
  std::vector<uint8_t> b;
  for (int k = 0; k < 4; ++k)
    b.push_back(static_cast<uint8_t>(d.Magic >> (8 * k)));
  const auto count = [](int given, std::size_t listed) {
    return static_cast<int16_t>(given == Auto ? static_cast<int>(listed) : given);
  };
  AddI16(b, count(d.ObjCount, d.Objects.size()));
  AddI16(b, count(d.MeasureCount, d.Measures.size()));
  AddI16(b, count(d.DynExprCount, d.DynTexts.size()));
  AddI16(b, d.OrgX);
  AddI16(b, d.OrgY);
  uint64_t bits;
  std::memcpy(&bits, &d.Zoom, 8);
  for (int k = 0; k < 8; ++k)
    b.push_back(static_cast<uint8_t>(bits >> (8 * k)));
  for (const ObjSpec& o : d.Objects) {
    const std::vector<uint8_t> img = ImageBytes(o);
    b.insert(b.end(), img.begin(), img.end());
  }
  for (const MeasureSpec& m : d.Measures) {
    b.push_back(m.Type);
    AddI16(b, m.A);
    AddI16(b, m.B);
    AddI16(b, m.C);
  }
  for (const std::string& t : d.DynTexts) {
    for (int field = 0; field < 2; ++field) {
      const std::string s = DynText(t, field);
      std::vector<uint8_t> part(256, 0x5A);
      part[0] = static_cast<uint8_t>(s.size());
      std::memcpy(&part[1], s.data(), s.size());
      b.insert(b.end(), part.begin(), part.end());
    }
  }
  b.resize(d.Cut < b.size() ? b.size() - d.Cut : 0);
  b.insert(b.end(), d.Extra, 0);
  return b;
}

/// A small valid document of every shape: three points, a midpoint, a line, a closed triangle, a
/// polynomial, a graph and a circle; an angle and a distance; one dynamic expression.
inline DocSpec SampleDocument() {
  DocSpec d;
  d.OrgX = -12;
  d.OrgY = 345;
  d.Zoom = 1.75;
  d.Objects = {
      {0, 0, {}, "A", -1, 0, 0x11},            // 1
      {0, 0, {}, "B", -1, 0, 0x22},            // 2
      {0, 0, {}, "C", -1, 0, 0x33},            // 3
      {1, 2, {1, 2}, "M", -1, 0, 0x44},        // 4 midpoint of 1, 2
      {5, 2, {1, 2}, "l", -1, 0, 0x55},        // 5 line 1-2
      {10, 4, {1, 2, 3, 1}, "t", -1, 0, 0x66}, // 6 closed triangle
      {12, 3, {1, 2, 3}, "p", -1, 0, 0x77},    // 7 polynomial
      {13, 0, {}, "f", -1, 0, 0x08},           // 8 graph
      {11, 2, {3, 4}, "c", -1, 0, 0x09},       // 9 circle about 3 through 4
  };
  d.Measures = {{0, 1, 2, 3}, {1, 1, 2, 777}};
  d.DynTexts = {"AB"};
  return d;
}

} // namespace drex::testdoc
