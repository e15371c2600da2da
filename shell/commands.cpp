#include "shell/commands.h"

#include <filesystem>
#include <system_error>

#include "calc/dyn_expr.h"
#include "calc/measurement.h"
#include "calc/rotation_model.h"
#include "dialogs/object_list.h"
#include "dialogs/properties_model.h"
#include "documents/document_commands.h"
#include "documents/macro_commands.h"
#include "interaction/tool_modes.h"
#include "interaction/transform_mouse.h"
#include "shell/delete_command.h"
#include "shell/ini_file.h"
#include "shell/program.h"
#include "shell/undo_command.h"
#include "view/locus_trace.h"
#include "view/picture_commands.h"
#include "view/redraw.h"
#include "view/view_transform.h"

namespace drex {

const CommandInfo* FindCommand(int tag) {
  for (const CommandInfo& c : CommandTable)
    if (c.Tag == tag) return &c;
  return nullptr;
}

const CommandInfo* FindCommandByName(const std::string& menuItem) {
  for (const CommandInfo& c : CommandTable)
    if (menuItem == c.MenuItem) return &c;
  return nullptr;
}

bool CommandAvailable(int tag) {
  if (tag >= tag::FirstTool && tag <= tag::LastTool) return tag != 13;
  if (tag >= FirstRecentTag && tag < FirstRecentTag + RecentItemCount) return true;
  if (tag >= tag::FirstByParams && tag <= tag::LastByParams) return tag != 103;
  switch (tag) {
  case tag::Exit:
  case tag::NewFile:
  case tag::Load:
  case tag::Save:
  case tag::SaveAs:
  case tag::Change:
  case tag::ModeDel:
  case tag::Abort:
  case tag::Undo:
  case tag::Redo:
  case tag::ZoomIn:
  case tag::ZoomOut:
  case tag::ZoomFit:
  case tag::ZoomEqu:
  case tag::ShowAll:
  case tag::Animate:
  case tag::ShowGMT:
  case tag::Ugol:
  case tag::Distance:
  case tag::MeasureDel:
  case tag::CalcDel:
  case tag::CalcFix:
  case tag::CalcFixDel:
  case tag::CalcFixSave:
  case tag::CalcRotate:
  case tag::ObjParam:
  case tag::ObjMove:
  case tag::ObjRot:
  case tag::CalcMake:
  case tag::CalcEdit:
  case tag::Calcul:
  case tag::Integral:
  case tag::Derivative:
  case tag::Setup:
  case tag::Help:
  case tag::About:
  case tag::Clipboard:
  case tag::ExportPng:
  case tag::ExportSvg:
  case tag::ExportPdf:
  case tag::Print:
  case tag::MacroMake:
  case tag::MacroPut:
    return true;
  default:
    return false;
  }
}

namespace {

MenuResult RunCommand(Program& prog, int tag, const std::string& hint) {
  if (tag >= tag::FirstTool && tag <= tag::LastTool && tag != 13) {
    StartTool(prog, tag, hint);
    return MenuResult::Done;
  }
  if (tag >= FirstRecentTag && tag < FirstRecentTag + RecentItemCount) {
    RunDocumentCommand(prog, tag);
    return MenuResult::Done;
  }
  if (tag >= tag::FirstByParams && tag <= tag::LastByParams && tag != 103) {
    CreateByParameters(prog, tag);
    return MenuResult::Done;
  }
  switch (tag) {
  case tag::Exit:
    return MenuResult::CloseWindow;
  case tag::NewFile:
  case tag::Load:
  case tag::Save:
  case tag::SaveAs:
    RunDocumentCommand(prog, tag);
    return MenuResult::Done;
  case tag::Change:
    OpenPropertiesDialog(prog, CurrentListObject(prog));
    return MenuResult::Done;
  case tag::ModeDel:
    DeleteSelected(prog);
    return MenuResult::Done;
  case tag::Abort:
    AbortOperation(prog);
    return MenuResult::Done;
  case tag::Undo:
    UndoCommand(prog);
    return MenuResult::Done;
  case tag::Redo:
    RedoCommand(prog);
    return MenuResult::Done;
  case tag::Ugol:
  case tag::Distance:
    StartMeasurement(prog, tag, hint);
    return MenuResult::Done;
  case tag::MeasureDel:
    StartMeasureRemoval(prog, hint);
    return MenuResult::Done;
  case tag::CalcMake:
    NewDynExpr(prog);
    return MenuResult::Done;
  case tag::CalcEdit:
    EditDynExpr(prog);
    return MenuResult::Done;
  case tag::CalcDel:
    DeleteDynExpr(prog);
    return MenuResult::Done;
  case tag::Calcul:
  case tag::Integral:
  case tag::Derivative:
    if (prog.CalculatorForm) prog.CalculatorForm(tag - tag::Calcul);
    return MenuResult::Done;
  case tag::CalcFix:
    FreezeDynExprValues(prog);
    return MenuResult::Done;
  case tag::CalcFixDel:
    RemoveFrozenColumn(prog);
    return MenuResult::Done;
  case tag::CalcFixSave:
    SaveFrozenColumns(prog);
    return MenuResult::Done;
  case tag::CalcRotate:
    OpenRotationDialog(prog);
    return MenuResult::Done;
  case tag::ObjParam:
    if (prog.TransformForm) prog.TransformForm();
    return MenuResult::Done;
  case tag::ObjMove:
  case tag::ObjRot:
    StartTransformByMouse(prog, tag, hint);
    return MenuResult::Done;
  case tag::ZoomIn:
    ZoomIn(prog.Doc.View);
    Redraw(prog, true);
    return MenuResult::Done;
  case tag::ZoomOut:
    ZoomOut(prog.Doc.View);
    Redraw(prog, true);
    return MenuResult::Done;
  case tag::ZoomFit:
    FitView(prog.Doc.View, prog.Doc, prog.Area.Width, prog.Area.Height, prog.UnitLength);
    Redraw(prog, true);
    return MenuResult::Done;
  case tag::ZoomEqu:
    ZoomEqual(prog.Doc.View);
    Redraw(prog, true);
    return MenuResult::Done;
  case tag::Animate:
    StartStepDisplay(prog, hint);
    return MenuResult::Done;
  case tag::ShowGMT:
    ToggleLocus(prog, hint);
    return MenuResult::Done;
  case tag::ShowAll:
    prog.ShowHidden = !prog.ShowHidden;
    Redraw(prog, true);
    return MenuResult::Done;
  case tag::Setup:
    SetupCommand(prog);
    return MenuResult::Done;
  case tag::Help:
    OpenHelp(prog);
    return MenuResult::Done;
  case tag::About:
    if (prog.AboutForm) prog.AboutForm();
    return MenuResult::Done;
  case tag::Clipboard:
    CopyPictureCommand(prog);
    return MenuResult::Done;
  case tag::ExportPng:
  case tag::ExportSvg:
  case tag::ExportPdf:
    ExportPictureCommand(prog, tag == tag::ExportPng   ? PictureFormat::Png
                               : tag == tag::ExportSvg ? PictureFormat::Svg
                                                       : PictureFormat::Pdf);
    return MenuResult::Done;
  case tag::Print:
    PrintCommand(prog);
    return MenuResult::Done;
  case tag::MacroMake:
    MacroMakeCommand(prog, hint);
    return MenuResult::Done;
  case tag::MacroPut:
    MacroPutCommand(prog, hint);
    return MenuResult::Done;
  default:
    return MenuResult::Unavailable;
  }
}

/// What a command by `tag` does to the document, for the name of its step.
StepAction ActionOf(int tag) {
  if (tag >= tag::FirstByParams && tag <= tag::LastByParams) return StepAction::Make;
  if (tag == tag::ModeDel) return StepAction::Delete;
  if (tag == tag::Change) return StepAction::Change;
  return StepAction::Edit;
}

} // namespace

MenuResult MenuClick(Program& prog, int tag, const std::string& hint) {
  // The object "Змінити" edits is the one current before the dialog.
  const int current = CurrentListObject(prog);
  CloseOpenStep(prog);
  const MenuResult result = RunCommand(prog, tag, hint);
  if (result == MenuResult::Done) {
    RecordStep(prog, ActionOf(tag), current);
    RefreshDynExprs(prog);
  }
  return result;
}

MenuResult MenuClick(Program& prog, int tag) {
  const CommandInfo* command = FindCommand(tag);
  return MenuClick(prog, tag, command ? command->Hint : "");
}

bool OpenDroppedFile(Program& prog, const std::string& path) {
  CloseOpenStep(prog);
  const bool opened = OpenDroppedDocument(prog, path);
  RecordStep(prog, StepAction::Edit);
  RefreshDynExprs(prog);
  return opened;
}

bool ShellKeyDown(Program& prog, ShellKey key) {
  switch (key) {
  case ShellKey::Enter:
    return MenuClick(prog, tag::ZoomEqu) != MenuResult::Unavailable;
  case ShellKey::NumPlus:
    return MenuClick(prog, tag::ZoomIn) != MenuResult::Unavailable;
  case ShellKey::NumMinus:
    return MenuClick(prog, tag::ZoomOut) != MenuResult::Unavailable;
  case ShellKey::Escape:
    CloseOpenStep(prog);
    AbortOperation(prog);
    return true;
  case ShellKey::Delete:
    CloseOpenStep(prog);
    DeleteSelected(prog);
    RecordStep(prog, StepAction::Delete);
    return true;
  }
  return false;
}

void InstallShellHooks(Program& prog) {
  prog.AbortOperationHook = [&prog] { AbortOperation(prog); };
  prog.AfterDocumentChange = [&prog] {
    RefreshObjectList(prog);
    Redraw(prog, true);
  };
  prog.Drawing.Hooks.RefreshReport = [&prog] { ShowReport(prog); };
  prog.ObjectPropertiesHook = [&prog](int n) { return OpenPropertiesDialog(prog, n); };
  prog.Drawing.Hooks.EnableDelete = [&prog](bool on) { prog.DeleteEnabled = on; };
  prog.Drawing.Hooks.RefreshDynExprs = [&prog] { RefreshDynExprs(prog); };
  prog.Drawing.Hooks.DrawLocusTrace = [&prog](Canvas& canvas) { DrawLocus(prog, canvas); };
}

namespace {

/// The files the help file `name` is looked for as, in order: a compiled help's HTML of the
/// same base name first, then the name itself.
std::vector<std::string> HelpFileCandidates(const std::string& name) {
  std::vector<std::string> names;
  const std::size_t dot = name.rfind('.');
  // Compiled help has no viewer here: the help of the same name as HTML stands for it.
  if (dot != std::string::npos && AsciiLower(name.substr(dot)) == ".chm")
    names.push_back(name.substr(0, dot) + ".html");
  names.push_back(name);
  return names;
}

/// The first of the help files that exists in a shipped folder or its "help" folder; empty for none.
std::string FindHelpFile(const Program& prog) {
  namespace fs = std::filesystem;
  // Only a plain help file name is opened, and only from the folders shipped with the program.
  if (!IsHelpFileName(prog.HelpFile)) return {};
  const std::vector<std::string> folders = prog.Desktop.Folders().Shipped;
  for (const std::string& name : HelpFileCandidates(prog.HelpFile)) {
    for (const std::string& folder : folders) {
      for (const fs::path& help :
           {fs::u8path(folder) / "help" / fs::u8path(name), fs::u8path(folder) / fs::u8path(name)}) {
        std::error_code ec;
        if (fs::is_regular_file(help, ec)) return help.u8string();
      }
    }
  }
  return {};
}

} // namespace

void OpenHelp(Program& prog) {
  const std::string help = FindHelpFile(prog);
  if (help.empty() || !prog.Desktop.OpenWithAssociatedProgram(help))
    prog.Desktop.MessageBox(MsgType::Error, prog.Msgs[28], mbOK);
}

std::string RecentItemCaption(const Program& prog, int k) {
  if (k < 1 || k > static_cast<int>(prog.RecentFiles.size()) || k > RecentItemCount) return {};
  return "&" + std::to_string(k) + " " + prog.RecentFiles[static_cast<std::size_t>(k - 1)];
}

} // namespace drex
