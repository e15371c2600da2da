#pragma once
// The macro-construction file (.m2d): a 266-byte header (magic, the name as a length byte and 255
// Windows-1251 bytes, the counts N, S, R) and N records (role, kind, RefCount n, Refs[0] and n
// macro-local references), little-endian with no padding and no trailer.
//
// A macro file is untrusted input: ParseMacro checks everything the program relies on when it
// replays the records and returns the first failure; the loader, the tests and the fuzzer call it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "kernel/byte_io.h"
#include "kernel/geom_object.h"

namespace drex {

/// The first four bytes of a macro file: CB 00 14 26.
constexpr uint32_t MacroMagic = 0x261400cb;
constexpr std::size_t MacroHeaderBytes = 266;
/// Fixed part of a record: role, kind, n and Refs[0].
constexpr std::size_t MacroRecordFixedBytes = 6;
/// Most records a macro holds.
constexpr int MaxMacroRecords = MaxObjects;
/// The longest macro file there can be: every record a polyline with all its vertices.
constexpr std::size_t MaxMacroBytes =
    MacroHeaderBytes + static_cast<std::size_t>(MaxMacroRecords) * (MacroRecordFixedBytes + 2 * MaxPolylineRefs);
/// Source records are asked for with the kind words, which exist for kinds 0..11 only.
constexpr int MaxMacroSourceKind = okCircle;

/// The role of a record.
enum MacroRole : uint8_t {
  mrIntermediate = 0, ///< created hidden
  mrSource = 1,       ///< picked by the user when the macro is applied
  mrResult = 2,       ///< created shown
};

/// One record: an object of the recorded construction by its kind and references.
struct MacroRecord {
  uint8_t Role = mrIntermediate;
  uint8_t Kind = 0;
  int16_t Subtype = 0;       ///< the object's Refs[0]
  std::vector<int16_t> Refs; ///< references 1..n as record numbers (1-based), 0 for none
};

/// A macro as stored: the header fields and the records. N is Records.size().
struct Macro {
  ShortString<255> Name; ///< Windows-1251, every byte kept
  int16_t S = 0;         ///< source records
  int16_t R = 0;         ///< result records
  std::vector<MacroRecord> Records;

  int N() const { return static_cast<int>(Records.size()); }
};

/// The first thing wrong with a macro file, or Ok.
enum class MacroCheck {
  Ok = 0,
  Truncated,        ///< shorter than the header or the records announce
  BadMagic,         ///< the first four bytes are not the magic
  BadCount,         ///< N, S or R negative or above 10000
  NoRecords,        ///< N is 0
  NoSources,        ///< S is 0
  CountAboveN,      ///< S or R above N
  BadRole,          ///< a role above 2
  BadKind,          ///< a kind above 13
  BadSourceKind,    ///< a source record of a kind no source can be picked for (12, 13)
  BadRefCount,      ///< n negative or above what the kind holds
  BadReference,     ///< a reference outside 0..N or not naming an earlier record
  RoleCountDiffers, ///< the records' roles do not add up to S sources and R results
  TrailingBytes,    ///< longer than the header and the records announce
};

/// What the list of macros reads of a file: its magic and its name.
struct MacroHeader {
  uint32_t Magic = 0;
  ShortString<255> Name;
};

/// Reads the first 266 bytes as a header. False when fewer remain; the counts are not checked.
bool ReadMacroHeader(const uint8_t* data, std::size_t size, MacroHeader& out);

/// Parses a whole macro file into `out`, checking counts, roles, kinds, reference counts, that
/// each reference is 0 or names an earlier record (so the records form no cycle), the roles
/// against S and R, and the exact length. `out` is meant to be a scratch: after a failure it holds
/// a partial parse.
MacroCheck ParseMacro(const uint8_t* data, std::size_t size, Macro& out);

/// The bytes of `m`: the header with its counts, then the records. N, S and R are written as
/// they are; a macro that ParseMacro accepted is written back byte for byte.
std::vector<uint8_t> SerializeMacro(const Macro& m);

} // namespace drex
