#pragma once
// The document file (.d2d): a 22-byte header (magic, the three counts, the view), the object
// images of objects 1..ObjCount, the measurement records and the dynamic-expression records, all
// little-endian with no padding and no trailer.
//
// A document is untrusted input. Parsing goes through the checks below, each returning the first
// failure as a DocCheck; the loader, the tests and the fuzzer call the same functions. A document
// is parsed into a scratch Construction, which replaces the program's only when every check passed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "kernel/byte_io.h"
#include "kernel/construction.h"
#include "kernel/geom_object.h"

namespace drex {

class Program;

/// The first four bytes of a document: CC 1B 97 20.
constexpr uint32_t DocumentMagic = 0x20971bcc;
constexpr std::size_t DocumentHeaderBytes = 22;
/// One measurement record: type byte and three 16-bit object numbers.
constexpr std::size_t MeasurementBytes = 7;
/// One dynamic expression: two strings of 256 bytes each.
constexpr std::size_t DynExprBytes = 512;
/// The longest document there can be: every object a polyline with all 503 vertices.
constexpr std::size_t MaxDocumentBytes = DocumentHeaderBytes + MaxObjects * (730 + 2 * MaxPolylineRefs) +
                                         MaxMeasurements * MeasurementBytes + MaxDynExprs * DynExprBytes;
/// Exclusive bounds of the header's view fields.
constexpr double MinDocumentZoom = 1e-7;
constexpr double MaxDocumentZoom = 1000000.0;
constexpr int MaxDocumentOrigin = 10000;

/// The file name (without folder) of an unnamed document.
constexpr const char* NoNameDocument = "NoName.d2d";

/// Load results.
constexpr int LoadOk = 1;
constexpr int LoadReadError = -1;
constexpr int LoadInvalid = -1000;

/// The header as stored: bytes 4..21 are the three counts and the view.
struct DocumentHeader {
  uint32_t Magic = DocumentMagic;
  int16_t ObjCount = 0;
  int16_t MeasureCount = 0;
  int16_t DynExprCount = 0;
  TViewState View;
};

/// The first thing wrong with a document, or Ok. ReadError means the bytes ran out before the
/// header announced they would (or could not be read at all); every other failure means the file
/// is not a valid document.
enum class DocCheck {
  Ok = 0,
  ReadError,        ///< shorter than its header announces, or unreadable
  BadMagic,         ///< the first four bytes are not the magic
  TooManyObjects,   ///< ObjCount > 10000
  TooManyDynExprs,  ///< DynExprCount > 100
  TooManyMeasures,  ///< MeasureCount > 100
  ZoomTooSmall,     ///< Zoom not above 1e-7 (a NaN included)
  ZoomTooLarge,     ///< Zoom not below 1000000
  OrgXOutOfRange,   ///< |OrgX| ≥ 10000
  OrgYOutOfRange,   ///< |OrgY| ≥ 10000
  NegativeCount,    ///< one of the three counts is negative
  BadKind,          ///< an image's Kind is above 13
  BadRefCount,      ///< RefCount negative or above what the kind can hold
  BadStringLength,  ///< a string's length byte exceeds its capacity
  BadReference,     ///< a reference is not an object number of the file
  SelfReference,    ///< an object refers to itself
  ReferenceCycle,   ///< the references form a cycle
  BadMeasureType,   ///< a measurement's type is neither 0 nor 1
  BadMeasureObject, ///< a measurement names something that is not a point of the file
  TrailingBytes,    ///< the file is longer than its header announces
};

/// The load result a check leads to: LoadOk, LoadReadError or LoadInvalid.
int LoadResultFor(DocCheck check);

/// The largest RefCount an image of `kind` may carry: 3 for fixed kinds, 503 for a polyline, 10
/// for a polynomial.
int MaxRefCount(int kind);

/// Reads the 22 header bytes. False (header untouched beyond what was read) when fewer remain.
bool ReadDocumentHeader(ByteReader& in, DocumentHeader& h);
/// Appends the 22 header bytes.
void WriteDocumentHeader(const DocumentHeader& h, ByteWriter& out);

/// Checks the header in the order magic, ObjCount, DynExprCount, MeasureCount, Zoom (low, high),
/// OrgX, OrgY, then that no count is negative.
DocCheck CheckDocumentHeader(const DocumentHeader& h);

/// Checks one object image read as object `number` of a file with `objCount` objects: Kind, RefCount,
/// the string lengths, then that Refs[1..RefCount] are object numbers 1..objCount other than
/// `number`.
DocCheck CheckObjectImage(const TGeomObject& o, int number, int objCount);

/// Checks that the references of objects 1..ObjCount form no cycle. Expects every reference to be
/// in 1..ObjCount already (CheckObjectImage). Linear in the number of references; iterative, so
/// any depth is fine.
DocCheck CheckReferenceCycles(const Construction& c);

/// Checks a measurement against the objects of `c`: type 0 (angle, three points) or 1 (distance,
/// the first two numbers are points).
DocCheck CheckMeasurement(const Measurement& m, const Construction& c);

/// Checks the length bytes of a dynamic expression's two strings.
DocCheck CheckDynExpr(const TDynExpr& e);

/// Parses a whole document into `out`, running every check above, and returns the first failure.
/// `out` is meant to be a scratch construction: after a failure it holds a partial parse. Only
/// objects 1..ObjCount, the counted measurements and dynamic expressions and the view are written.
DocCheck ParseDocument(const uint8_t* data, std::size_t size, Construction& out);

/// The length of the document `c` would be saved as, or 0 when it cannot be stored (a negative
/// count, a count above its limit, or an object whose RefCount its image cannot hold).
std::size_t DocumentLength(const Construction& c);

/// Appends the document bytes of `c` to `out`. False, with `out` unchanged, when DocumentLength
/// gives 0.
bool SerializeDocument(const Construction& c, std::vector<uint8_t>& out);

/// Writes the current construction to `path` (UTF-8). The bytes go to a temporary file beside
/// the target, which replaces the target only once everything was written and closed, so a failed
/// save leaves the previous file as it was. On success Modified is cleared and true is returned;
/// on failure the message "Не можу зберегти <path>" is shown and Modified is set (the document is
/// not in any file).
bool SaveDocument(Program& prog, const std::string& path);

/// Loads the document at `path` (UTF-8) and returns LoadOk, LoadReadError (unreadable, or shorter
/// than its header announces; message 31 with the path) or LoadInvalid (not a valid document;
/// message 30 with the path, none for a file named exactly "NoName.d2d"). A failed load changes
/// nothing. A successful one replaces the construction, clears Modified and puts `path` first in
/// the recent list; it does not set the document name nor recompute or redraw: the caller does
/// those (SetDocName on a result ≥ 0, then the refresh).
int LoadDocument(Program& prog, const std::string& path);

/// How UpdateRecentFiles changes the list.
enum RecentFilesMode : int {
  rfRebuild = 0,  ///< only tell the menu to rebuild
  rfRemove = 1,   ///< remove `path`
  rfPutFirst = 2, ///< move or add `path` to the front, dropping the oldest of five
};

/// Maximum length of the recent-files list.
constexpr std::size_t MaxRecentFiles = 5;

/// The position of `path` in `list`, comparing with Latin a..z folded to capitals and every other
/// byte exact; the last match counts. -1 when absent.
int FindRecentFile(const std::vector<std::string>& list, const std::string& path);

/// Changes prog.RecentFiles as `mode` says, then calls prog.AfterRecentFilesChange (the menu).
void UpdateRecentFiles(Program& prog, const std::string& path, int mode);

/// The menu captions of the recent files: "&k path" for k = 1..n.
std::vector<std::string> RecentFileCaptions(const std::vector<std::string>& list);

/// The file-name part of a path (UTF-8), without its folder.
std::string FileNamePart(const std::string& path);

} // namespace drex
