#include "documents/macro_commands.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <tuple>
#include <utility>

#include "dialogs/object_list.h"
#include "documents/document_file.h"
#include "documents/file_io.h"
#include "interaction/tool_modes.h"
#include "kernel/cp1251.h"
#include "shell/app_folders.h"
#include "shell/program.h"

namespace drex {
namespace fs = std::filesystem;

namespace {

struct Frame {
  int Object;
  int NextRef;
};

int ObjectsOf(const Construction& c) { return std::clamp<int>(c.ObjCount, 0, MaxObjects); }

/// References 1..n an object can hold.
int RefsOf(const TGeomObject& o) { return std::clamp<int>(o.RefCount, 0, MaxRefCount(o.Kind)); }

uint8_t MarkOf(const std::vector<uint8_t>& marks, int n) {
  return static_cast<std::size_t>(n) < marks.size() ? marks[static_cast<std::size_t>(n)] : uint8_t{mmNone};
}

/// An object that has two solutions, of which the recalculation hands the second to an equal
/// object right after it.
bool IsPair(int kind, int subtype) {
  return kind == okTangent || (kind == okIntersection && (subtype == isLineCircle || subtype == isTwoCircles));
}

/// The replay numbers the solutions of consecutive created pair records as the tools number a
/// pair: a record equal to the one created before it takes the second solution when that one took
/// the first; every other pair record takes the first. Used by the recording, to know what the
/// replay will do, and by the replay itself.
int ReplayedRoot(bool equalToPrevious, int previousRoot) { return equalToPrevious && previousRoot == 1 ? 2 : 1; }

bool SameRecord(const MacroRecord& a, const MacroRecord& b) {
  return a.Kind == b.Kind && a.Subtype == b.Subtype && a.Refs == b.Refs;
}

void ShowError(Program& prog, const std::string& text) { prog.Desktop.MessageBox(MsgType::Error, text, mbOK); }

/// Lower case of a Windows-1251 byte for the order of the list.
uint8_t FoldCase(uint8_t b) {
  if (b >= 'A' && b <= 'Z') return static_cast<uint8_t>(b + 32);
  if (b >= 0xC0 && b <= 0xDF) return static_cast<uint8_t>(b + 32);
  switch (b) {
  case 0xA5:
    return 0xB4; // Ґ
  case 0xAA:
    return 0xBA; // Є
  case 0xAF:
    return 0xBF; // Ї
  case 0xB2:
    return 0xB3; // І
  case 0xA8:
    return 0xB8; // Ё
  default:
    return b;
  }
}

std::string SortKey(const std::string& cp1251) {
  std::string key = cp1251;
  for (char& ch : key)
    ch = static_cast<char>(FoldCase(static_cast<uint8_t>(ch)));
  return key;
}

bool HasMacroExtension(const fs::path& p) {
  std::string ext = p.extension().u8string();
  for (char& ch : ext)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch + 32);
  return ext == ".m2d";
}

/// The record number of the first source after record `after`, 0 when there is none.
int NextSourceRecord(const Macro& m, int after) {
  for (int k = after + 1; k <= m.N(); ++k)
    if (m.Records[static_cast<std::size_t>(k - 1)].Role == mrSource) return k;
  return 0;
}

void ShowSourcePrompt(Program& prog) {
  OperationState& op = prog.Op;
  const int kind = prog.LoadedMacro.Records[static_cast<std::size_t>(op.MacroApplyStep - 1)].Kind;
  op.MacroAwaitedKind = kind;
  prog.ShowPrompt(op.PromptPrefix + prog.Msgs[142 + kind] + ":");
}

void SaveMacro(Program& prog) {
  const MacroSelection found = FindMacroObjects(prog.Doc, prog.MacroMarks);
  switch (found.Result) {
  case MacroSearchResult::MissingSources:
    ShowError(prog, prog.Msgs[61]);
    return;
  case MacroSearchResult::NoResults:
    ShowError(prog, prog.Msgs[63]);
    return;
  case MacroSearchResult::NoSources:
    ShowError(prog, prog.Msgs[62]);
    return;
  case MacroSearchResult::Ok:
    break;
  }
  if (found.IdleSources && prog.Desktop.MessageBox(MsgType::Confirmation, prog.Msgs[64], mbYes | mbNo) != mbYes) return;
  Macro m;
  BuildMacroRecords(prog.Doc, prog.MacroMarks, found, m);
  // The hidden copies that keep second solutions can make a macro of a full table too long.
  if (m.N() > MaxMacroRecords) {
    prog.ShowObjectLimitMessage();
    return;
  }
  std::string name = prog.Msgs[65];
  std::string typed = name;
  if (prog.Desktop.InputBox(prog.Msgs[66], prog.Msgs[67], typed)) name = typed;
  m.Name.Assign(Utf8ToCp1251(name));

  const std::string folder = UserDataFolder(prog.Desktop, MacroFolder);
  if (folder.empty()) {
    ShowError(prog, MacroText(prog, "m_NoFolder"));
    return;
  }
  FileDialogRequest request;
  request.Filter = prog.Texts.Get("SaveDialMacro.Filter");
  request.DefaultExt = MacroExt;
  request.Title = prog.Texts.Get("SaveDialMacro.caption");
  request.InitialDir = folder;
  // The name is offered as the file's name; a slash in it would name another folder.
  std::string fileName = name;
  std::replace(fileName.begin(), fileName.end(), '/', '_');
  request.FileName = fileName;
  const std::string path = prog.Desktop.SaveDialog(request);
  if (path.empty()) return;
  if (!WriteFileReplacing(path, SerializeMacro(m))) ShowError(prog, prog.Msgs[29] + " " + path);
}

void MarkClick(Program& prog) {
  OperationState& op = prog.Op;
  const int hot = op.HotObject;
  if (hot < 1 || hot > prog.Doc.ObjCount) return;
  uint8_t& mark = prog.MacroMarks[static_cast<std::size_t>(hot)];
  if (mark == op.MacroState) {
    mark = mmNone;
  } else if (mark == mmNone) {
    if (op.MacroState == mmSource && prog.Doc[hot].Kind > MaxMacroSourceKind) {
      ShowError(prog, MacroText(prog, "m_SourceKind"));
      return;
    }
    mark = static_cast<uint8_t>(op.MacroState);
  }
  op.PickCount = 0;
  for (int n = 1; n <= prog.Doc.ObjCount; ++n)
    if (prog.MacroMarks[static_cast<std::size_t>(n)] == op.MacroState)
      op.PickList[static_cast<std::size_t>(op.PickCount++)] = static_cast<int16_t>(n);
}

void SourceClick(Program& prog) {
  OperationState& op = prog.Op;
  const Macro& m = prog.LoadedMacro;
  const int hot = op.HotObject;
  if (hot < 1 || hot > prog.Doc.ObjCount || op.MacroApplyStep > m.N()) return;
  const MacroRecord& awaited = m.Records[static_cast<std::size_t>(op.MacroApplyStep - 1)];
  if (!KindsCompatible(prog.Doc[hot].Kind, awaited.Kind)) return;
  const auto picked = op.PickList.begin();
  if (std::find(picked, picked + op.PickCount, static_cast<int16_t>(hot)) != picked + op.PickCount) return;
  op.PickList[static_cast<std::size_t>(op.PickCount++)] = static_cast<int16_t>(hot);
  prog.MacroApplyMap[static_cast<std::size_t>(op.MacroApplyStep)] = static_cast<int16_t>(hot);
  op.MacroApplyStep = NextSourceRecord(m, op.MacroApplyStep);
  if (op.MacroApplyStep > 0) {
    ShowSourcePrompt(prog);
    return;
  }
  if (!CreateMacroObjects(prog.Doc, m, prog.MacroApplyMap, prog.Naming(), prog.MouseWorldX, prog.MouseWorldY)) {
    prog.ShowObjectLimitMessage();
    AbortOperation(prog);
    return;
  }
  prog.Modified = true;
  RefreshObjectList(prog);
  AbortOperation(prog);
}

} // namespace

std::string MacroText(const Program& prog, const char* name) { return prog.Texts.Get(CaptionKey(name)); }

MacroSelection FindMacroObjects(const Construction& c, const std::vector<uint8_t>& marks) {
  MacroSelection found;
  const int count = ObjectsOf(c);
  std::vector<uint8_t> visited(static_cast<std::size_t>(count) + 1, 0);
  std::vector<Frame> stack;

  // Marks `n` visited and tells whether it makes the search fail: a free point or a point on an
  // object that is not a source cannot be derived from the sources. Its references are walked
  // next.
  const auto enter = [&](int n) {
    visited[static_cast<std::size_t>(n)] = 1;
    if (MarkOf(marks, n) == mmSource) return false;
    const TGeomObject& o = c[n];
    if (o.Kind == okPoint || o.Kind == okPointOn) return true;
    if (RefsOf(o) > 0) stack.push_back({n, 1});
    return false;
  };
  // Whether `root` needs an object the sources do not give, its references taken in order up to
  // the first that does. An object already visited answered "no" before (else the search ended).
  const auto needs = [&](int root) {
    if (visited[static_cast<std::size_t>(root)]) return false;
    if (enter(root)) return true;
    while (!stack.empty()) {
      Frame& f = stack.back();
      const TGeomObject& o = c[f.Object];
      if (f.NextRef > RefsOf(o)) {
        stack.pop_back();
        continue;
      }
      const int r = o.Ref(f.NextRef++);
      if (r < 1 || r > count || visited[static_cast<std::size_t>(r)]) continue;
      if (enter(r)) return true; // `f` is not used after the push
    }
    return false;
  };

  bool missing = false;
  for (int a = 1; a <= count && !missing; ++a)
    if (MarkOf(marks, a) == mmResult) {
      ++found.Results;
      missing = needs(a);
    }
  if (missing) {
    found.Result = MacroSearchResult::MissingSources;
    return found;
  }
  if (found.Results == 0) {
    found.Result = MacroSearchResult::NoResults;
    return found;
  }
  for (int n = 1; n <= count; ++n)
    if (MarkOf(marks, n) == mmSource) {
      if (visited[static_cast<std::size_t>(n)])
        ++found.Sources;
      else
        found.IdleSources = true;
    }
  if (found.Sources == 0) {
    found.Result = MacroSearchResult::NoSources;
    return found;
  }

  // Parents first: a depth-first walk from each object in number order, so that number order is
  // kept wherever it already is a valid order. The references of a source point are not stored.
  std::vector<uint8_t> state(static_cast<std::size_t>(count) + 1, 0); // 1 on the walk, 2 placed
  const auto edges = [&](int n) {
    const TGeomObject& o = c[n];
    return MarkOf(marks, n) == mmSource && IsPointKind(o.Kind) ? 0 : RefsOf(o);
  };
  for (int root = 1; root <= count; ++root) {
    if (!visited[static_cast<std::size_t>(root)] || state[static_cast<std::size_t>(root)] != 0) continue;
    state[static_cast<std::size_t>(root)] = 1;
    stack.push_back({root, 1});
    while (!stack.empty()) {
      Frame& f = stack.back();
      if (f.NextRef > edges(f.Object)) {
        state[static_cast<std::size_t>(f.Object)] = 2;
        found.Objects.push_back(f.Object);
        stack.pop_back();
        continue;
      }
      const int r = c[f.Object].Ref(f.NextRef++);
      if (r < 1 || r > count || !visited[static_cast<std::size_t>(r)] || state[static_cast<std::size_t>(r)] != 0)
        continue;
      state[static_cast<std::size_t>(r)] = 1;
      stack.push_back({r, 1});
    }
  }
  return found;
}

void BuildMacroRecords(const Construction& c, const std::vector<uint8_t>& marks, const MacroSelection& found,
                       Macro& out) {
  const int count = ObjectsOf(c);
  std::vector<uint8_t> inMacro(static_cast<std::size_t>(count) + 1, 0);
  for (int n : found.Objects)
    inMacro[static_cast<std::size_t>(n)] = 1;
  const auto key = [&](int r) { return r >= 1 && r <= count && inMacro[static_cast<std::size_t>(r)] ? r : 0; };
  // Equal records after translation: the same kind, subtype and references inside the macro.
  const auto samePair = [&](int a, int b) {
    const TGeomObject& x = c[a];
    const TGeomObject& y = c[b];
    if (x.Kind != y.Kind || x.Refs[0] != y.Refs[0] || RefsOf(x) != RefsOf(y)) return false;
    for (int k = 1; k <= RefsOf(x); ++k)
      if (key(x.Ref(k)) != key(y.Ref(k))) return false;
    return true;
  };

  // The records in order, each an object and whether it is the hidden copy that comes before it.
  std::vector<std::pair<int, bool>> entries;
  entries.reserve(found.Objects.size());
  int previous = 0, previousRoot = 0;
  for (int n : found.Objects) {
    if (MarkOf(marks, n) != mmSource) {
      const TGeomObject& o = c[n];
      if (IsPair(o.Kind, o.Refs[0])) {
        const int wanted = o.RootNo() == 2 ? 2 : 1;
        const bool equal = previous > 0 && samePair(previous, n);
        const int replayed = ReplayedRoot(equal, previousRoot);
        // A copy before it takes the solution the object would wrongly get; being equal to the
        // object, it turns the object's to the other one.
        if (replayed != wanted) entries.emplace_back(n, true);
        previousRoot = wanted;
      } else {
        previousRoot = 0;
      }
      previous = n;
    }
    entries.emplace_back(n, false);
  }

  std::vector<int16_t> local(static_cast<std::size_t>(count) + 1, 0);
  for (std::size_t k = 0; k < entries.size(); ++k)
    if (!entries[k].second) local[static_cast<std::size_t>(entries[k].first)] = static_cast<int16_t>(k + 1);

  out.S = static_cast<int16_t>(found.Sources);
  out.R = static_cast<int16_t>(found.Results);
  out.Records.assign(entries.size(), MacroRecord{});
  for (std::size_t k = 0; k < entries.size(); ++k) {
    const auto [n, copy] = entries[k];
    const TGeomObject& o = c[n];
    const uint8_t mark = MarkOf(marks, n);
    MacroRecord& r = out.Records[k];
    r.Role = copy ? mrIntermediate : mark == mmSource ? mrSource : mark == mmResult ? mrResult : mrIntermediate;
    r.Kind = o.Kind;
    r.Subtype = o.Refs[0];
    r.Refs.assign(static_cast<std::size_t>(RefsOf(o)), 0);
    if (r.Role == mrSource && IsPointKind(o.Kind)) continue;
    for (int i = 1; i <= RefsOf(o); ++i) {
      const int ref = o.Ref(i);
      if (ref >= 1 && ref <= count) r.Refs[static_cast<std::size_t>(i - 1)] = local[static_cast<std::size_t>(ref)];
    }
  }
}

bool CreateMacroObjects(Construction& c, const Macro& m, std::vector<int16_t>& map, const NamingRules& rules, double x,
                        double y) {
  const int n = m.N();
  const int before = ObjectsOf(c);
  int created = 0;
  for (const MacroRecord& r : m.Records)
    created += r.Role != mrSource;
  if (before + created > MaxObjects) return false;
  if (map.size() < static_cast<std::size_t>(n) + 1) map.resize(static_cast<std::size_t>(n) + 1, 0);

  // Every number first, so that a record may refer to one after it.
  NameAllocator names(c, rules);
  int next = before;
  for (int k = 1; k <= n; ++k)
    if (m.Records[static_cast<std::size_t>(k - 1)].Role != mrSource)
      map[static_cast<std::size_t>(k)] = static_cast<int16_t>(++next);
  c.ObjCount = static_cast<int16_t>(next);

  const MacroRecord* previous = nullptr;
  int previousRoot = 0;
  for (int k = 1; k <= n; ++k) {
    const MacroRecord& r = m.Records[static_cast<std::size_t>(k - 1)];
    if (r.Role == mrSource) continue;
    const int number = map[static_cast<std::size_t>(k)];
    InitObject(c, r.Kind, number, names.Next(r.Kind), x, y);
    TGeomObject& o = c[number];
    const int refs = std::min<int>(static_cast<int>(r.Refs.size()), RefSlots - 1);
    o.RefCount = static_cast<int16_t>(refs);
    o.Visible = r.Role == mrResult ? 1 : 0;
    o.Refs[0] = r.Subtype;
    for (int i = 1; i <= refs; ++i) {
      const int ref = r.Refs[static_cast<std::size_t>(i - 1)];
      if (ref >= 1 && ref <= n) o.Refs[static_cast<std::size_t>(i)] = map[static_cast<std::size_t>(ref)];
    }
    if (IsPair(r.Kind, r.Subtype)) {
      const int root = ReplayedRoot(previous != nullptr && SameRecord(*previous, r), previousRoot);
      o.SetRootNo(root);
      previousRoot = root;
    } else {
      previousRoot = 0;
    }
    previous = &r;
  }
  return true;
}

MacroListModel ListMacros(const Platform& desktop) {
  struct Found {
    std::string Key;
    std::size_t Folder;
    MacroListEntry Entry;
  };
  std::vector<Found> found;
  const std::vector<std::string> folders = ReadableFolders(desktop, MacroFolder);
  std::vector<uint8_t> bytes;
  for (std::size_t f = 0; f < folders.size(); ++f) {
    std::error_code ec;
    for (fs::directory_iterator it(fs::u8path(folders[f]), ec), end; !ec && it != end; it.increment(ec)) {
      const fs::path& p = it->path();
      std::error_code statEc;
      if (!HasMacroExtension(p) || !it->is_regular_file(statEc)) continue;
      MacroHeader header;
      if (!ReadFileBytes(p.u8string(), MacroHeaderBytes, bytes) ||
          !ReadMacroHeader(bytes.data(), bytes.size(), header) || header.Magic != MacroMagic)
        continue;
      const std::string name = header.Name.Bytes();
      found.push_back({SortKey(name), f, {Cp1251ToUtf8(name), p.u8string()}});
    }
  }
  // The user's folder first among equal names, then the file names: the order does not depend on
  // the order the folders list their files in.
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    return std::tie(a.Key, a.Entry.Name, a.Folder, a.Entry.Path) <
           std::tie(b.Key, b.Entry.Name, b.Folder, b.Entry.Path);
  });
  MacroListModel list;
  list.Entries.reserve(found.size());
  for (Found& f : found)
    list.Entries.push_back(std::move(f.Entry));
  if (!list.Entries.empty()) list.Selected = 0;
  return list;
}

bool LoadMacroFile(Program& prog, const std::string& path) {
  std::vector<uint8_t> bytes;
  if (!ReadFileBytes(path, MaxMacroBytes + 1, bytes)) {
    ShowError(prog, MacroText(prog, "m_ReadError") + " " + path);
    return false;
  }
  Macro scratch;
  const MacroCheck check = ParseMacro(bytes.data(), bytes.size(), scratch);
  if (check == MacroCheck::Truncated) {
    ShowError(prog, MacroText(prog, "m_ReadError") + " " + path);
    return false;
  }
  if (check != MacroCheck::Ok) {
    ShowError(prog, MacroText(prog, "m_Invalid") + " " + path);
    return false;
  }
  std::swap(prog.LoadedMacro, scratch);
  return true;
}

void MacroMakeCommand(Program& prog, const std::string& hint) {
  OperationState& op = prog.Op;
  switch (op.MacroState) {
  case mmNone:
    AbortOperation(prog);
    prog.EnableAbort();
    op.MacroState = mmSource;
    prog.MacroMarks.assign(SlotCount, mmNone);
    op.PromptPrefix = CutToChars(hint + ": " + prog.Msgs[42], PromptPrefixCapacity);
    prog.ShowPrompt(op.PromptPrefix);
    prog.Desktop.StartTimer(TimerId::Blic, BlinkIntervalMs);
    return;
  case mmSource:
    op.MacroState = mmResult;
    op.PickCount = 0;
    op.PromptPrefix = CutToChars(hint + ": " + prog.Msgs[43], PromptPrefixCapacity);
    prog.ShowPrompt(op.PromptPrefix);
    return;
  default:
    // The marks stay: they are cleared when the next recording starts.
    AbortOperation(prog);
    SaveMacro(prog);
    return;
  }
}

void MacroPutCommand(Program& prog, const std::string& hint) {
  if (!prog.MacroForm) return;
  MacroListModel list = ListMacros(prog.Desktop);
  if (!prog.MacroForm(list) || !list.CanApply()) return;
  if (!LoadMacroFile(prog, list.Entries[static_cast<std::size_t>(list.Selected)].Path)) return;
  const Macro& m = prog.LoadedMacro;
  if (prog.Doc.ObjCount + m.N() - m.S > MaxObjects) {
    prog.ShowObjectLimitMessage();
    return;
  }
  AbortOperation(prog);
  prog.EnableAbort();
  OperationState& op = prog.Op;
  prog.MacroApplyMap.assign(static_cast<std::size_t>(m.N()) + 1, 0);
  op.MacroApplyStep = NextSourceRecord(m, 0);
  op.PromptPrefix =
      CutToChars(hint + " \"" + Cp1251ToUtf8(m.Name.Bytes()) + "\": " + prog.Msgs[33] + " ", PromptPrefixCapacity);
  op.PickCount = 0;
  ShowSourcePrompt(prog);
  prog.Desktop.StartTimer(TimerId::Blic, BlinkIntervalMs);
}

void MacroClick(Program& prog) {
  if (prog.Op.MacroState > 0)
    MarkClick(prog);
  else if (prog.Op.MacroApplyStep > 0)
    SourceClick(prog);
}

} // namespace drex
