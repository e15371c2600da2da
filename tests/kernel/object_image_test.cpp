#include "kernel/object_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

namespace drex {
namespace {

// Offsets and widths the visitor reports, collected once.
struct LayoutRecorder {
  std::map<std::size_t, std::size_t> widths;
  template <class T> void Add(std::size_t offset, T&) { widths[offset] = sizeof(T); }
  void U8(std::size_t o, uint8_t& v) { Add(o, v); }
  void I16(std::size_t o, int16_t& v) { Add(o, v); }
  void I32(std::size_t o, int32_t& v) { Add(o, v); }
  void F64(std::size_t o, double& v) { Add(o, v); }
  template <int N> void Str(std::size_t o, ShortString<N>&) { widths[o] = N + 1; }
};

TGeomObject SentinelObject() {
  TGeomObject o;
  o.Kind = 11;
  o.Name.Len = 3;
  for (std::size_t k = 0; k < o.Name.Chars.size(); ++k)
    o.Name.Chars[k] = static_cast<uint8_t>(0xA0 + k);
  o.Color = 0x01020304;
  o.PenStyle = 0x11121314;
  o.PenWidth = 0x21222324;
  o.Visible = 0x31;
  o.Defined = 0x32;
  o.Selected = 0x33;
  o.Expr1.Len = 0x41;
  o.Expr1.Chars[254] = 0x42;
  o.Expr2.Len = 0x51;
  o.Expr2.Chars[0] = 0x52;
  o.FuncType = 0x61;
  o.X1 = 1.5;
  o.Y1 = -2.25;
  o.X2 = 1e300;
  o.Y2 = -0.0;
  o.ScrX1 = -1;
  o.ScrY1 = 0x7FFFFFFF;
  o.ScrX2 = static_cast<int32_t>(0x80000000u);
  o.ScrY2 = 7;
  for (std::size_t k = 0; k < o.Param.size(); ++k)
    o.Param[k] = 100.0 + static_cast<double>(k);
  o.RefCount = 2;
  o.Refs[0] = -32768;
  o.Refs[1] = 0x7FFF;
  o.Refs[2] = 5;
  o.Refs[3] = -1;
  o.Refs[4] = 99; // beyond the stored words of a circle
  return o;
}

double DoubleAt(const std::vector<uint8_t>& b, std::size_t off) {
  uint64_t bits = 0;
  for (int k = 7; k >= 0; --k)
    bits = (bits << 8) | b[off + static_cast<std::size_t>(k)];
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

uint32_t U32At(const std::vector<uint8_t>& b, std::size_t off) {
  return b[off] | (b[off + 1] << 8) | (b[off + 2] << 16) | (static_cast<uint32_t>(b[off + 3]) << 24);
}

TEST(ObjectImage, LayoutIsContiguousAndEndsAtRefs) {
  TGeomObject o;
  LayoutRecorder rec;
  VisitObjectRecord(o, rec);
  std::size_t next = 0;
  for (const auto& [offset, width] : rec.widths) {
    EXPECT_EQ(offset, next) << "gap or overlap before offset " << offset;
    next = offset + width;
  }
  EXPECT_EQ(next, RefsOffset);
  const std::size_t pinned[] = {0,   1,   22,  26,  30,  34,  35,  36,  37,  293, 549,
                                550, 558, 566, 574, 582, 586, 590, 594, 598, 718, 726};
  for (std::size_t off : pinned)
    EXPECT_EQ(rec.widths.count(off), 1u) << off;
}

TEST(ObjectImage, SentinelsLandAtTheirOffsetsLittleEndian) {
  const TGeomObject o = SentinelObject();
  std::vector<uint8_t> bytes;
  ByteWriter w(bytes);
  WriteObjectImage(o, w);
  ASSERT_EQ(bytes.size(), FixedImageBytes);
  EXPECT_EQ(bytes[0], 11);
  EXPECT_EQ(bytes[1], 3);
  EXPECT_EQ(bytes[2], 0xA0);
  EXPECT_EQ(bytes[21], 0xA0 + 19); // the unused tail of the name is kept
  EXPECT_EQ(U32At(bytes, 22), 0x01020304u);
  EXPECT_EQ(bytes[22], 0x04);
  EXPECT_EQ(U32At(bytes, 26), 0x11121314u);
  EXPECT_EQ(U32At(bytes, 30), 0x21222324u);
  EXPECT_EQ(bytes[34], 0x31);
  EXPECT_EQ(bytes[35], 0x32);
  EXPECT_EQ(bytes[36], 0x33);
  EXPECT_EQ(bytes[37], 0x41);
  EXPECT_EQ(bytes[37 + 255], 0x42);
  EXPECT_EQ(bytes[293], 0x51);
  EXPECT_EQ(bytes[294], 0x52);
  EXPECT_EQ(bytes[549], 0x61);
  EXPECT_EQ(DoubleAt(bytes, 550), 1.5);
  EXPECT_EQ(DoubleAt(bytes, 558), -2.25);
  EXPECT_EQ(DoubleAt(bytes, 566), 1e300);
  EXPECT_TRUE(std::signbit(DoubleAt(bytes, 574)));
  EXPECT_EQ(U32At(bytes, 582), 0xFFFFFFFFu);
  EXPECT_EQ(U32At(bytes, 586), 0x7FFFFFFFu);
  EXPECT_EQ(U32At(bytes, 590), 0x80000000u);
  EXPECT_EQ(U32At(bytes, 594), 7u);
  for (std::size_t k = 0; k < 16; ++k)
    EXPECT_EQ(DoubleAt(bytes, 598 + 8 * k), 100.0 + static_cast<double>(k));
  EXPECT_EQ(bytes[726], 2);
  EXPECT_EQ(bytes[727], 0);
  EXPECT_EQ(bytes[728], 0x00);
  EXPECT_EQ(bytes[729], 0x80);
  EXPECT_EQ(bytes[730], 0xFF);
  EXPECT_EQ(bytes[731], 0x7F);
  EXPECT_EQ(bytes[734], 0xFF);
  EXPECT_EQ(bytes[735], 0xFF);
}

TEST(ObjectImage, ImageLengthsByKind) {
  EXPECT_EQ(ObjectImageLength(okPoint, 0), 736u);
  EXPECT_EQ(ObjectImageLength(okBisector, 3), 736u);
  EXPECT_EQ(ObjectImageLength(okPolyline, 4), 738u);
  EXPECT_EQ(ObjectImageLength(okPolynomial, 10), 750u);
  EXPECT_EQ(ObjectImageLength(okPolyline, 0), 730u);
  EXPECT_EQ(ObjectImageLength(okPolyline, 503), 730u + 2 * 503);
  EXPECT_EQ(ObjectImageLength(okPolyline, 504), 0u);
  EXPECT_EQ(ObjectImageLength(okPolynomial, -1), 0u);
}

TEST(ObjectImage, RoundTripKeepsEveryStoredByte) {
  TGeomObject poly = SentinelObject();
  poly.Kind = okPolyline;
  poly.RefCount = 4;
  poly.Refs[4] = poly.Refs[1];
  for (const TGeomObject& original : {SentinelObject(), poly}) {
    std::vector<uint8_t> bytes;
    ByteWriter w(bytes);
    WriteObjectImage(original, w);
    ByteReader r(bytes);
    TGeomObject back;
    ASSERT_TRUE(ReadObjectImage(r, back));
    EXPECT_EQ(r.Remaining(), 0u);
    std::vector<uint8_t> again;
    ByteWriter w2(again);
    WriteObjectImage(back, w2);
    EXPECT_EQ(bytes, again);
  }
}

TEST(ObjectImage, ShortOrUnstorableImagesAreRefused) {
  std::vector<uint8_t> bytes;
  ByteWriter w(bytes);
  WriteObjectImage(SentinelObject(), w);
  for (std::size_t cut : {std::size_t{0}, std::size_t{1}, std::size_t{727}, std::size_t{735}}) {
    ByteReader r(bytes.data(), cut);
    TGeomObject o;
    EXPECT_FALSE(ReadObjectImage(r, o)) << cut;
  }
  // A polyline claiming more references than the record holds.
  bytes[0] = okPolyline;
  bytes[726] = 0xF8; // 504
  bytes[727] = 0x01;
  ByteReader r(bytes);
  TGeomObject o;
  EXPECT_FALSE(ReadObjectImage(r, o));
}

TEST(ByteIo, BoundaryValuesRoundTrip) {
  std::vector<uint8_t> bytes;
  ByteWriter w(bytes);
  const int16_t shorts[] = {0, 1, -1, 0x7FFF, -32768};
  for (int16_t v : shorts)
    w.I16LE(v);
  w.I32LE(-2);
  w.F64LE(-0.5);
  ByteReader r(bytes);
  for (int16_t v : shorts)
    EXPECT_EQ(r.I16LE(), v);
  EXPECT_EQ(r.I32LE(), -2);
  EXPECT_EQ(r.F64LE(), -0.5);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.I16LE(), 0); // past the end: zero, and the error sticks
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.Remaining(), 0u);
}

} // namespace
} // namespace drex
