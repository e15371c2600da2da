#include "documents/macro_file.h"

#include "documents/document_file.h"

namespace drex {

namespace {

void ReadName(ByteReader& in, ShortString<255>& name) {
  name.Len = in.U8();
  in.Bytes(name.Chars.data(), name.Chars.size());
}

bool CountInRange(int count) { return count >= 0 && count <= MaxMacroRecords; }

} // namespace

bool ReadMacroHeader(const uint8_t* data, std::size_t size, MacroHeader& out) {
  if (size < MacroHeaderBytes) return false;
  ByteReader in(data, size);
  out.Magic = in.U32LE();
  ReadName(in, out.Name);
  return in.ok();
}

MacroCheck ParseMacro(const uint8_t* data, std::size_t size, Macro& out) {
  ByteReader in(data, size);
  if (in.Remaining() < MacroHeaderBytes) return MacroCheck::Truncated;
  if (in.U32LE() != MacroMagic) return MacroCheck::BadMagic;
  ReadName(in, out.Name);
  const int n = in.I16LE();
  out.S = in.I16LE();
  out.R = in.I16LE();
  if (!CountInRange(n) || !CountInRange(out.S) || !CountInRange(out.R)) return MacroCheck::BadCount;
  if (n == 0) return MacroCheck::NoRecords;
  if (out.S == 0) return MacroCheck::NoSources;
  if (out.S > n || out.R > n) return MacroCheck::CountAboveN;
  // Every record needs its fixed part: a count beyond what the bytes can hold is refused before
  // anything is allocated for it.
  if (in.Remaining() / MacroRecordFixedBytes < static_cast<std::size_t>(n)) return MacroCheck::Truncated;

  out.Records.resize(static_cast<std::size_t>(n));
  int sources = 0, results = 0;
  for (int k = 1; k <= n; ++k) {
    if (in.Remaining() < MacroRecordFixedBytes) return MacroCheck::Truncated;
    MacroRecord& r = out.Records[static_cast<std::size_t>(k - 1)];
    r.Role = in.U8();
    r.Kind = in.U8();
    const int refCount = in.I16LE();
    r.Subtype = in.I16LE();
    if (r.Role > mrResult) return MacroCheck::BadRole;
    if (!IsValidKind(r.Kind)) return MacroCheck::BadKind;
    if (r.Role == mrSource && r.Kind > MaxMacroSourceKind) return MacroCheck::BadSourceKind;
    if (refCount < 0 || refCount > MaxRefCount(r.Kind)) return MacroCheck::BadRefCount;
    if (in.Remaining() < 2 * static_cast<std::size_t>(refCount)) return MacroCheck::Truncated;
    r.Refs.resize(static_cast<std::size_t>(refCount));
    for (int16_t& ref : r.Refs) {
      ref = in.I16LE();
      if (ref < 0 || ref >= k) return MacroCheck::BadReference;
    }
    sources += r.Role == mrSource;
    results += r.Role == mrResult;
  }
  if (in.Remaining() != 0) return MacroCheck::TrailingBytes;
  if (sources != out.S || results != out.R) return MacroCheck::RoleCountDiffers;
  return MacroCheck::Ok;
}

std::vector<uint8_t> SerializeMacro(const Macro& m) {
  std::size_t length = MacroHeaderBytes;
  for (const MacroRecord& r : m.Records)
    length += MacroRecordFixedBytes + 2 * r.Refs.size();
  std::vector<uint8_t> bytes;
  bytes.reserve(length);
  ByteWriter out(bytes);
  out.U32LE(MacroMagic);
  out.U8(m.Name.Len);
  out.Bytes(m.Name.Chars.data(), m.Name.Chars.size());
  out.I16LE(static_cast<int16_t>(m.N()));
  out.I16LE(m.S);
  out.I16LE(m.R);
  for (const MacroRecord& r : m.Records) {
    out.U8(r.Role);
    out.U8(r.Kind);
    out.I16LE(static_cast<int16_t>(r.Refs.size()));
    out.I16LE(r.Subtype);
    for (int16_t ref : r.Refs)
      out.I16LE(ref);
  }
  return bytes;
}

} // namespace drex
