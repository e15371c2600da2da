#pragma once
// The document commands of the file menu: New, Open, Save, Save as, the recent items, and the
// question asked before the window closes. They talk to the user through the Platform port and
// leave the rebuilding of the lists and the redraw to the hooks of Program:
//   AbortOperationHook   — called by New and after a successful load, before the refresh;
//   AfterDocumentChange  — called after New and after a successful load (object list, dynamic
//                          expression grid, Redraw);
//   AfterRecentFilesChange — called by every change of the recent list (the menu items).

#include <string>

namespace drex {

class Program;

/// Menu tags of the document commands.
constexpr int TagNew = 1;
constexpr int TagOpen = 2;
constexpr int TagSave = 3;
constexpr int TagSaveAs = 4;
/// Recent item k (1..5) has the tag TagRecentBase + k.
constexpr int TagRecentBase = 1000;

/// The document dialogs' filter, default extension and titles.
constexpr const char* DocumentFilter = "Об'єкти у форматі DREX-2D|*.d2d|Всі файли|*.*";
constexpr const char* DocumentExt = "d2d";
constexpr const char* OpenDocumentTitle = "Завантаження об'єктів";
constexpr const char* SaveDocumentTitle = "Збереження об'єктів";

/// DocFileName := `name` expanded to a full, normalised path (against the working directory);
/// Title := BaseTitle, or DocFileName + " - " + BaseTitle when the setting DrawFName is on.
void SetDocName(Program& prog, const std::string& name);

/// The full name of an unnamed document: "NoName.d2d" in the user's documents folder, or in the
/// working directory when the desktop names none.
std::string UnnamedDocumentPath(const Program& prog);

/// True when the file-name part of DocFileName is exactly "NoName.d2d".
bool IsUnnamedDocument(const Program& prog);

/// Loads `path` without any question; on success the document takes its name, the running
/// operation is stopped and the shell refreshes. The start-up document goes through here. True
/// when loaded; a failure has shown its message and changed nothing.
bool OpenDocumentPath(Program& prog, const std::string& path);

/// New (Tag 1): after MsgTable[32] answered Yes (asked only when there are objects), empties the
/// construction, resets the view, names the document "NoName.d2d", stops the running operation
/// and refreshes. Returns true when the document was replaced.
bool NewDocumentCommand(Program& prog);

/// Open (Tag 2): when the document is modified, first asks MsgTable[49] (Yes saves, No discards,
/// Cancel keeps it); then the open dialog and LoadDocument. On a result ≥ 0 the document takes the
/// chosen name, the operation is stopped and the shell refreshes. True when a document was loaded.
bool OpenDocumentCommand(Program& prog);

/// Save (Tag 3): to DocFileName at once, or through the save dialog when the document is unnamed.
/// True when the document was saved. The document takes the new name only when the save succeeded.
bool SaveDocumentCommand(Program& prog);

/// Save as (Tag 4): always through the save dialog, preset with DocFileName.
bool SaveDocumentAsCommand(Program& prog);

/// Recent item k (Tag 1000 + k, k = 1..5): asks about unsaved changes as Open does, removes the
/// entry from the list and loads it (a successful load puts it back first). True when loaded.
bool OpenRecentCommand(Program& prog, int k);

/// What the close query decided.
enum class CloseDecision { Close, Stay };

/// Asked before the window closes: when the document is modified, MsgTable[49] with Yes/No/Cancel.
/// Yes saves (through the save dialog when unnamed) and closes only when the save succeeded; No
/// closes without saving; Cancel stays.
CloseDecision CloseQuery(Program& prog);

/// A document dropped on the window or handed over by the desktop: the question about unsaved
/// changes, then the load. False when the user stayed or the file did not load.
bool OpenDroppedDocument(Program& prog, const std::string& path);

/// Runs the document command of a menu tag (1..4, 1001..1005). False when `tag` is none of them.
bool RunDocumentCommand(Program& prog, int tag);

} // namespace drex
