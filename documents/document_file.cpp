#include "documents/document_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>
#include <utility>

#include "documents/file_io.h"
#include "kernel/object_image.h"
#include "shell/program.h"

namespace drex {
namespace fs = std::filesystem;

namespace {

template <int N> bool LengthFits(const ShortString<N>& s) { return s.Len <= N; }

/// The checks that need only the fixed part of an image.
DocCheck CheckObjectFields(const TGeomObject& o) {
  if (!IsValidKind(o.Kind)) return DocCheck::BadKind;
  if (o.RefCount < 0 || o.RefCount > MaxRefCount(o.Kind)) return DocCheck::BadRefCount;
  if (!LengthFits(o.Name) || !LengthFits(o.Expr1) || !LengthFits(o.Expr2)) return DocCheck::BadStringLength;
  return DocCheck::Ok;
}

/// How many object numbers of a measurement count.
int MeasurementObjects(uint8_t type) { return type == 0 ? 3 : 2; }

void ReadDynExpr(ByteReader& in, TDynExpr& e) {
  e.Text.Len = in.U8();
  in.Bytes(e.Text.Chars.data(), e.Text.Chars.size());
  e.DisplayName.Len = in.U8();
  in.Bytes(e.DisplayName.Chars.data(), e.DisplayName.Chars.size());
}

void WriteDynExpr(const TDynExpr& e, ByteWriter& out) {
  out.U8(e.Text.Len);
  out.Bytes(e.Text.Chars.data(), e.Text.Chars.size());
  out.U8(e.DisplayName.Len);
  out.Bytes(e.DisplayName.Chars.data(), e.DisplayName.Chars.size());
}

uint8_t FoldLatin(char c) {
  const auto b = static_cast<uint8_t>(c);
  return (b >= 'a' && b <= 'z') ? static_cast<uint8_t>(b - 'a' + 'A') : b;
}

bool SameRecentPath(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t k = 0; k < a.size(); ++k)
    if (FoldLatin(a[k]) != FoldLatin(b[k])) return false;
  return true;
}

void ShowError(Program& prog, const std::string& text) { prog.Desktop.MessageBox(MsgType::Error, text, mbOK); }

} // namespace

int LoadResultFor(DocCheck check) {
  switch (check) {
  case DocCheck::Ok:
    return LoadOk;
  case DocCheck::ReadError:
    return LoadReadError;
  default:
    return LoadInvalid;
  }
}

int MaxRefCount(int kind) {
  if (kind == okPolyline) return MaxPolylineRefs;
  if (kind == okPolynomial) return MaxPolynomialNodes;
  return FixedKindRefs;
}

bool ReadDocumentHeader(ByteReader& in, DocumentHeader& h) {
  if (in.Remaining() < DocumentHeaderBytes) return false;
  h.Magic = in.U32LE();
  h.ObjCount = in.I16LE();
  h.MeasureCount = in.I16LE();
  h.DynExprCount = in.I16LE();
  h.View.OrgX = in.I16LE();
  h.View.OrgY = in.I16LE();
  h.View.Zoom = in.F64LE();
  return in.ok();
}

void WriteDocumentHeader(const DocumentHeader& h, ByteWriter& out) {
  out.U32LE(h.Magic);
  out.I16LE(h.ObjCount);
  out.I16LE(h.MeasureCount);
  out.I16LE(h.DynExprCount);
  out.I16LE(h.View.OrgX);
  out.I16LE(h.View.OrgY);
  out.F64LE(h.View.Zoom);
}

DocCheck CheckDocumentHeader(const DocumentHeader& h) {
  if (h.Magic != DocumentMagic) return DocCheck::BadMagic;
  if (h.ObjCount > MaxObjects) return DocCheck::TooManyObjects;
  if (h.DynExprCount > MaxDynExprs) return DocCheck::TooManyDynExprs;
  if (h.MeasureCount > MaxMeasurements) return DocCheck::TooManyMeasures;
  // Written as negated "inside" tests so that a NaN fails them.
  if (!(h.View.Zoom > MinDocumentZoom)) return DocCheck::ZoomTooSmall;
  if (!(h.View.Zoom < MaxDocumentZoom)) return DocCheck::ZoomTooLarge;
  if (h.View.OrgX <= -MaxDocumentOrigin || h.View.OrgX >= MaxDocumentOrigin) return DocCheck::OrgXOutOfRange;
  if (h.View.OrgY <= -MaxDocumentOrigin || h.View.OrgY >= MaxDocumentOrigin) return DocCheck::OrgYOutOfRange;
  if (h.ObjCount < 0 || h.MeasureCount < 0 || h.DynExprCount < 0) return DocCheck::NegativeCount;
  return DocCheck::Ok;
}

DocCheck CheckObjectImage(const TGeomObject& o, int number, int objCount) {
  const DocCheck fields = CheckObjectFields(o);
  if (fields != DocCheck::Ok) return fields;
  for (int k = 1; k <= o.RefCount; ++k) {
    const int ref = o.Ref(k);
    if (ref < 1 || ref > objCount) return DocCheck::BadReference;
    if (ref == number) return DocCheck::SelfReference;
  }
  return DocCheck::Ok;
}

DocCheck CheckReferenceCycles(const Construction& c) {
  const int count = c.ObjCount;
  if (count <= 0) return DocCheck::Ok;
  // Colours: 0 unvisited, 1 on the current path, 2 finished. Every object is pushed once and every
  // reference looked at once.
  std::vector<uint8_t> colour(static_cast<std::size_t>(count) + 1, 0);
  struct Frame {
    int Object;
    int NextRef;
  };
  std::vector<Frame> stack;
  for (int root = 1; root <= count; ++root) {
    if (colour[static_cast<std::size_t>(root)] != 0) continue;
    colour[static_cast<std::size_t>(root)] = 1;
    stack.push_back({root, 1});
    while (!stack.empty()) {
      Frame& top = stack.back();
      const TGeomObject& o = c[top.Object];
      if (top.NextRef > o.RefCount) {
        colour[static_cast<std::size_t>(top.Object)] = 2;
        stack.pop_back();
        continue;
      }
      const int ref = o.Ref(top.NextRef++);
      if (ref < 1 || ref > count) continue; // range is CheckObjectImage's business
      uint8_t& state = colour[static_cast<std::size_t>(ref)];
      if (state == 1) return DocCheck::ReferenceCycle;
      if (state == 0) {
        state = 1;
        stack.push_back({ref, 1}); // invalidates `top`, which is not used again this round
      }
    }
  }
  return DocCheck::Ok;
}

DocCheck CheckMeasurement(const Measurement& m, const Construction& c) {
  if (m.Type > 1) return DocCheck::BadMeasureType;
  for (int k = 0; k < MeasurementObjects(m.Type); ++k) {
    const int n = m.Objects[static_cast<std::size_t>(k)];
    if (n < 1 || n > c.ObjCount || !IsPointKind(c[n].Kind)) return DocCheck::BadMeasureObject;
  }
  return DocCheck::Ok;
}

DocCheck CheckDynExpr(const TDynExpr& e) {
  return LengthFits(e.Text) && LengthFits(e.DisplayName) ? DocCheck::Ok : DocCheck::BadStringLength;
}

DocCheck ParseDocument(const uint8_t* data, std::size_t size, Construction& out) {
  ByteReader in(data, size);
  DocumentHeader h;
  if (!ReadDocumentHeader(in, h)) return DocCheck::ReadError;
  const DocCheck header = CheckDocumentHeader(h);
  if (header != DocCheck::Ok) return header;

  out.ObjCount = h.ObjCount;
  out.MeasureCount = h.MeasureCount;
  out.DynExprCount = h.DynExprCount;
  out.View = h.View;

  for (int n = 1; n <= h.ObjCount; ++n) {
    if (in.Remaining() < ObjectFixedBytes) return DocCheck::ReadError;
    TGeomObject& o = out[n];
    const bool read = ReadObjectImage(in, o);
    if (!read) {
      // The fixed part is complete; either its RefCount cannot be stored or the words ran out.
      const DocCheck fields = CheckObjectFields(o);
      return fields != DocCheck::Ok ? fields : DocCheck::ReadError;
    }
    const DocCheck image = CheckObjectImage(o, n, h.ObjCount);
    if (image != DocCheck::Ok) return image;
    // The slot may hold an earlier object: clear the reference words a polyline or polynomial
    // could grow into, so that they read as no reference.
    if (HasVariableRefs(o.Kind)) std::fill(o.Refs.begin() + o.RefCount + 1, o.Refs.end(), static_cast<int16_t>(0));
  }
  for (int k = 0; k < h.MeasureCount; ++k) {
    if (in.Remaining() < MeasurementBytes) return DocCheck::ReadError;
    Measurement& m = out.Measurements[static_cast<std::size_t>(k)];
    m.Type = in.U8();
    for (int16_t& obj : m.Objects)
      obj = in.I16LE();
  }
  for (int k = 0; k < h.DynExprCount; ++k) {
    if (in.Remaining() < DynExprBytes) return DocCheck::ReadError;
    TDynExpr& e = out.DynExprs[static_cast<std::size_t>(k)];
    ReadDynExpr(in, e);
    const DocCheck expr = CheckDynExpr(e);
    if (expr != DocCheck::Ok) return expr;
  }
  if (in.Remaining() != 0) return DocCheck::TrailingBytes;

  const DocCheck cycles = CheckReferenceCycles(out);
  if (cycles != DocCheck::Ok) return cycles;
  for (int k = 0; k < h.MeasureCount; ++k) {
    const DocCheck m = CheckMeasurement(out.Measurements[static_cast<std::size_t>(k)], out);
    if (m != DocCheck::Ok) return m;
  }
  return DocCheck::Ok;
}

std::size_t DocumentLength(const Construction& c) {
  if (c.ObjCount < 0 || c.ObjCount > MaxObjects || c.MeasureCount < 0 || c.MeasureCount > MaxMeasurements ||
      c.DynExprCount < 0 || c.DynExprCount > MaxDynExprs)
    return 0;
  std::size_t total = DocumentHeaderBytes;
  for (int n = 1; n <= c.ObjCount; ++n) {
    const std::size_t len = ObjectImageLength(c[n].Kind, c[n].RefCount);
    if (len == 0) return 0;
    total += len;
  }
  return total + MeasurementBytes * static_cast<std::size_t>(c.MeasureCount) +
         DynExprBytes * static_cast<std::size_t>(c.DynExprCount);
}

bool SerializeDocument(const Construction& c, std::vector<uint8_t>& out) {
  const std::size_t length = DocumentLength(c);
  if (length == 0) return false;
  out.reserve(out.size() + length);
  ByteWriter w(out);
  DocumentHeader h;
  h.ObjCount = c.ObjCount;
  h.MeasureCount = c.MeasureCount;
  h.DynExprCount = c.DynExprCount;
  h.View = c.View;
  WriteDocumentHeader(h, w);
  for (int n = 1; n <= c.ObjCount; ++n)
    WriteObjectImage(c[n], w);
  for (int k = 0; k < c.MeasureCount; ++k) {
    const Measurement& m = c.Measurements[static_cast<std::size_t>(k)];
    w.U8(m.Type);
    for (int16_t obj : m.Objects)
      w.I16LE(obj);
  }
  for (int k = 0; k < c.DynExprCount; ++k)
    WriteDynExpr(c.DynExprs[static_cast<std::size_t>(k)], w);
  return true;
}

bool SaveDocument(Program& prog, const std::string& path) {
  std::vector<uint8_t> bytes;
  const bool saved = SerializeDocument(prog.Doc, bytes) && WriteFileReplacing(path, bytes);
  if (!saved) {
    prog.Modified = true;
    ShowError(prog, prog.Msgs[29] + " " + path);
    return false;
  }
  prog.Modified = false;
  prog.History.MarkSaved();
  return true;
}

int LoadDocument(Program& prog, const std::string& path) {
  std::vector<uint8_t> bytes;
  // One byte more than any document can have is enough to tell that a file is too long.
  DocCheck check = ReadFileBytes(path, MaxDocumentBytes + 1, bytes) ? DocCheck::Ok : DocCheck::ReadError;
  if (!prog.LoadScratch) prog.LoadScratch = std::make_unique<Construction>();
  Construction& scratch = *prog.LoadScratch;
  if (check == DocCheck::Ok) check = ParseDocument(bytes.data(), bytes.size(), scratch);
  const int result = LoadResultFor(check);
  if (result == LoadReadError) {
    ShowError(prog, prog.Msgs[31] + " " + path);
    return result;
  }
  if (result == LoadInvalid) {
    if (FileNamePart(path) != NoNameDocument) ShowError(prog, FormatMsg(prog.Msgs[30], {path}));
    return result;
  }
  prog.Doc.Swap(scratch);
  prog.History.Reset(prog.Doc);
  prog.Modified = false;
  UpdateRecentFiles(prog, path, rfPutFirst);
  return result;
}

int FindRecentFile(const std::vector<std::string>& list, const std::string& path) {
  for (std::size_t k = list.size(); k-- > 0;)
    if (SameRecentPath(list[k], path)) return static_cast<int>(k);
  return -1;
}

void UpdateRecentFiles(Program& prog, const std::string& path, int mode) {
  std::vector<std::string>& list = prog.RecentFiles;
  if (mode == rfRemove || mode == rfPutFirst) {
    const int found = FindRecentFile(list, path);
    if (found >= 0) list.erase(list.begin() + found);
  }
  if (mode == rfPutFirst) {
    list.insert(list.begin(), path);
    if (list.size() > MaxRecentFiles) list.resize(MaxRecentFiles);
  }
  if (prog.AfterRecentFilesChange) prog.AfterRecentFilesChange();
}

std::vector<std::string> RecentFileCaptions(const std::vector<std::string>& list) {
  std::vector<std::string> captions;
  for (std::size_t k = 0; k < list.size() && k < MaxRecentFiles; ++k)
    captions.push_back("&" + std::to_string(k + 1) + " " + list[k]);
  return captions;
}

std::string FileNamePart(const std::string& path) { return fs::u8path(path).filename().u8string(); }

} // namespace drex
