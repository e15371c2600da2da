#include "documents/document_commands.h"

#include <filesystem>
#include <system_error>

#include "documents/document_file.h"
#include "shell/program.h"

namespace drex {
namespace fs = std::filesystem;

namespace {

/// The open ("OpenDial") or save ("SaveDial") dialog of documents, with its texts in use.
FileDialogRequest DocumentDialog(const Program& prog, const std::string& dialog, const std::string& preset) {
  FileDialogRequest r;
  r.Filter = prog.Texts.Get(dialog + ".Filter");
  r.DefaultExt = DocumentExt;
  r.Title = prog.Texts.Get(dialog + ".caption");
  r.FileName = preset;
  return r;
}

void Refresh(Program& prog) {
  // Another construction: nothing of the old one is traced.
  ClearLocus(prog);
  if (prog.AbortOperationHook) prog.AbortOperationHook();
  if (prog.AfterDocumentChange) prog.AfterDocumentChange();
}

/// Saves to DocFileName, through the save dialog when `askName` is set or the document is unnamed.
/// The document keeps its name unless the save succeeded.
bool SaveWithName(Program& prog, bool askName) {
  std::string path = prog.DocFileName;
  if (askName || IsUnnamedDocument(prog)) {
    path = prog.Desktop.SaveDialog(DocumentDialog(prog, "SaveDial", prog.DocFileName));
    if (path.empty()) {
      SetDocName(prog, prog.DocFileName);
      return false;
    }
  }
  const bool saved = SaveDocument(prog, path);
  SetDocName(prog, saved ? path : prog.DocFileName);
  return saved;
}

/// True when the current document may be replaced or closed: it is not modified, or the user
/// answered No, or answered Yes and it was saved.
bool ConfirmDiscard(Program& prog) {
  if (!prog.Modified) return true;
  const MsgButton answer = prog.Desktop.MessageBox(MsgType::Confirmation, FormatMsg(prog.Msgs[49], {prog.DocFileName}),
                                                   mbYes | mbNo | mbCancel);
  if (answer == mbNo) return true;
  if (answer == mbYes) return SaveWithName(prog, false);
  return false;
}

} // namespace

bool OpenDocumentPath(Program& prog, const std::string& path) {
  if (LoadDocument(prog, path) < 0) return false;
  SetDocName(prog, path);
  Refresh(prog);
  return true;
}

void SetDocName(Program& prog, const std::string& name) {
  std::error_code ec;
  const fs::path full = fs::absolute(fs::u8path(name), ec);
  prog.DocFileName = ec ? name : full.lexically_normal().u8string();
  prog.Title = prog.Config.DrawFName ? prog.DocFileName + " - " + prog.BaseTitle : prog.BaseTitle;
}

std::string UnnamedDocumentPath(const Program& prog) {
  const std::string folder = prog.Desktop.Folders().Documents;
  if (folder.empty()) return NoNameDocument;
  return (fs::u8path(folder) / NoNameDocument).u8string();
}

bool IsUnnamedDocument(const Program& prog) { return FileNamePart(prog.DocFileName) == NoNameDocument; }

bool NewDocumentCommand(Program& prog) {
  if (prog.Doc.ObjCount > 0 && prog.Desktop.MessageBox(MsgType::Confirmation, prog.Msgs[32], mbYes | mbNo) != mbYes)
    return false;
  prog.Modified = false;
  SetDocName(prog, UnnamedDocumentPath(prog));
  prog.Doc.ObjCount = 0;
  prog.Doc.MeasureCount = 0;
  prog.Doc.DynExprCount = 0;
  prog.Doc.View = TViewState{};
  prog.History.Reset(prog.Doc);
  Refresh(prog);
  return true;
}

bool OpenDocumentCommand(Program& prog) {
  if (!ConfirmDiscard(prog)) return false;
  const std::string path = prog.Desktop.OpenDialog(DocumentDialog(prog, "OpenDial", std::string()));
  if (path.empty()) return false;
  return OpenDocumentPath(prog, path);
}

bool SaveDocumentCommand(Program& prog) { return SaveWithName(prog, false); }

bool SaveDocumentAsCommand(Program& prog) { return SaveWithName(prog, true); }

bool OpenRecentCommand(Program& prog, int k) {
  if (k < 1 || k > static_cast<int>(prog.RecentFiles.size())) return false;
  const std::string path = prog.RecentFiles[static_cast<std::size_t>(k - 1)];
  if (!ConfirmDiscard(prog)) return false;
  UpdateRecentFiles(prog, path, rfRemove);
  return OpenDocumentPath(prog, path);
}

bool OpenDroppedDocument(Program& prog, const std::string& path) {
  if (!ConfirmDiscard(prog)) return false;
  return OpenDocumentPath(prog, path);
}

CloseDecision CloseQuery(Program& prog) { return ConfirmDiscard(prog) ? CloseDecision::Close : CloseDecision::Stay; }

bool RunDocumentCommand(Program& prog, int tag) {
  switch (tag) {
  case TagNew:
    NewDocumentCommand(prog);
    return true;
  case TagOpen:
    OpenDocumentCommand(prog);
    return true;
  case TagSave:
    SaveDocumentCommand(prog);
    return true;
  case TagSaveAs:
    SaveDocumentAsCommand(prog);
    return true;
  default:
    break;
  }
  if (tag > TagRecentBase && tag <= TagRecentBase + static_cast<int>(MaxRecentFiles)) {
    OpenRecentCommand(prog, tag - TagRecentBase);
    return true;
  }
  return false;
}

} // namespace drex
