#pragma once
// Macro-constructions as commands: recording one from marked source and result objects, choosing
// a stored one from the list of macro files, and applying it to objects the user picks.
//
// Recording collects every object that leads from the sources to the results and stores their
// kinds and references. Applying asks for the source records in file order and creates the other
// records as new objects built on the picks.

#include <cstdint>
#include <string>
#include <vector>

#include "documents/macro_file.h"
#include "kernel/construction.h"
#include "kernel/object_table.h"
#include "shell/undo_command.h"

namespace drex {

class Platform;
class Program;

/// The macro commands' own texts, by the names a language file knows them by.
inline constexpr NamedText MacroTexts[] = {
    {"m_SourceKind", "Поліном або графік функції не може бути вихідним об'єктом макроконструкції."},
    {"m_NoFolder", "Не можу створити теку для макроконструкцій."},
    {"m_ReadError", "Не можу прочитати файл макроконструкції"},
    {"m_Invalid", "Файл макроконструкції пошкоджений або створений іншою версією програми:"},
};
/// The text in use of MacroTexts named `name` (a language may have replaced it); empty for a name
/// that is not there.
std::string MacroText(const Program& prog, const char* name);

/// The save dialog of a recorded macro.
constexpr const char* MacroFilter = "Макроконструкції у форматі DREX-2D|*.m2d|Всі файли|*.*";
constexpr const char* MacroExt = "m2d";
constexpr const char* SaveMacroTitle = "Збереження макроконструкції";
/// The folder of macro files, under the user's data folder and the shipped ones.
constexpr const char* MacroFolder = "Macro";

/// Marks of recording, one per object number.
enum MacroMark : uint8_t { mmNone = 0, mmSource = 1, mmResult = 2 };

/// What the dependency search decided.
enum class MacroSearchResult {
  Ok,
  MissingSources, ///< a result depends on a free point or a point on an object that is not a source
  NoResults,      ///< no object is marked as a result
  NoSources,      ///< no source is used by the results
};

/// The objects a macro is made of.
struct MacroSelection {
  MacroSearchResult Result = MacroSearchResult::Ok;
  bool IdleSources = false; ///< some marked source is not used by the results
  int Sources = 0;          ///< used sources
  int Results = 0;          ///< results searched (all of them when Result is Ok)
  /// The objects of the macro, parents before the objects built on them, otherwise in number
  /// order; idle sources are left out. Filled only when Result is Ok.
  std::vector<int> Objects;
};

/// Finds the objects results marked in `marks` (indexed by object number) depend on, up to the
/// sources. Every object and reference is looked at once at most, without recursion.
MacroSelection FindMacroObjects(const Construction& c, const std::vector<uint8_t>& marks);

/// The records of the objects `found` (name left empty): role from the marks, kind, Refs[0] and
/// the references as record numbers, 0 for objects outside the macro and for every reference of a
/// source point. A pair object (an intersection with a circle, a tangent) that takes the second
/// solution is preceded by a hidden copy of itself when needed, so that the replay, which numbers
/// the solutions of equal consecutive records as the tools make pairs, gives each created object
/// the solution its original had.
void BuildMacroRecords(const Construction& c, const std::vector<uint8_t>& marks, const MacroSelection& found,
                       Macro& out);

/// Creates the records of `m` that are not sources as objects after the last one, in record
/// order, with names from one NameAllocator, at (x, y) internal units. `map` has an entry per
/// record number 1..N (index 0 unused) with the picked object of every source record; the created
/// objects' numbers are filled in. Results are shown, intermediates hidden. Returns false, with
/// nothing changed, when the objects do not fit the table.
bool CreateMacroObjects(Construction& c, const Macro& m, std::vector<int16_t>& map, const NamingRules& rules, double x,
                        double y);

/// One macro file of the list.
struct MacroListEntry {
  std::string Name; ///< UTF-8
  std::string Path; ///< UTF-8
};

/// The list of the macro dialog: entries sorted by name, and the chosen one.
struct MacroListModel {
  std::vector<MacroListEntry> Entries;
  int Selected = -1; ///< index into Entries, -1 for none

  /// "Встановити" needs a chosen macro.
  bool CanApply() const { return Selected >= 0 && Selected < static_cast<int>(Entries.size()); }
};

/// The regular "*.m2d" files of the user's and the shipped macro folders whose header carries
/// the macro magic, sorted by name (letters compared without case). Unreadable and foreign files
/// are left out.
MacroListModel ListMacros(const Platform& desktop);

/// Reads and checks the macro file at `path` and makes it the program's macro. On a failure an
/// error box names the file and nothing changes.
bool LoadMacroFile(Program& prog, const std::string& path);

/// Menu Tag 401, clicked three times: starts marking sources, then results, then records the
/// macro and saves it.
void MacroMakeCommand(Program& prog, const std::string& hint);

/// Menu Tag 402: the user chooses a macro in the list and then picks its sources.
void MacroPutCommand(Program& prog, const std::string& hint);

/// A left press on the drawing area while a macro is being recorded (marks the object under the
/// cursor) or applied (takes it as the next source; the last one creates the objects).
void MacroClick(Program& prog);

} // namespace drex
