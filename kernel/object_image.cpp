#include "kernel/object_image.h"

namespace drex {
namespace {

struct ImageWriter {
  ByteWriter& out;
  void U8(std::size_t, const uint8_t& v) { out.U8(v); }
  void I16(std::size_t, const int16_t& v) { out.I16LE(v); }
  void I32(std::size_t, const int32_t& v) { out.I32LE(v); }
  void F64(std::size_t, const double& v) { out.F64LE(v); }
  template <int N> void Str(std::size_t, const ShortString<N>& s) {
    out.U8(s.Len);
    out.Bytes(s.Chars.data(), s.Chars.size());
  }
};

struct ImageReader {
  ByteReader& in;
  void U8(std::size_t, uint8_t& v) { v = in.U8(); }
  void I16(std::size_t, int16_t& v) { v = in.I16LE(); }
  void I32(std::size_t, int32_t& v) { v = in.I32LE(); }
  void F64(std::size_t, double& v) { v = in.F64LE(); }
  template <int N> void Str(std::size_t, ShortString<N>& s) {
    s.Len = in.U8();
    in.Bytes(s.Chars.data(), s.Chars.size());
  }
};

} // namespace

void WriteObjectImage(const TGeomObject& o, ByteWriter& out) {
  ImageWriter w{out};
  VisitObjectRecord(o, w);
  const int m = LastStoredRef(o.Kind, o.RefCount);
  for (int k = 0; k <= m; ++k)
    out.I16LE(o.Refs[static_cast<std::size_t>(k)]);
}

bool ReadObjectImage(ByteReader& in, TGeomObject& o) {
  ImageReader r{in};
  VisitObjectRecord(o, r);
  if (!in.ok()) return false;
  const int m = LastStoredRef(o.Kind, o.RefCount);
  if (m < 0) return false;
  for (int k = 0; k <= m; ++k)
    o.Refs[static_cast<std::size_t>(k)] = in.I16LE();
  return in.ok();
}

} // namespace drex
