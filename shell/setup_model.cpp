#include "shell/setup_model.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "dialogs/object_list.h"
#include "documents/document_commands.h"
#include "documents/document_file.h"
#include "kernel/cp1251.h"
#include "shell/ini_file.h"
#include "shell/program.h"
#include "view/redraw.h"
#include "view/view_transform.h"

namespace drex {
namespace fs = std::filesystem;

namespace {

constexpr const char* WindowSection = "Window";
constexpr const char* ChecksSection = "Checks";
constexpr const char* ValuesSection = "Values";
/// The English language file chosen on the first start on a desktop that is not Ukrainian.
constexpr const char* EnglishLanguageFile = "drex2eng.lng";

std::string RecentKey(std::size_t k) { return "LastFile " + std::to_string(k); }

std::string StoredPath(const IniFile& file, const std::string& key) {
  std::string path = file.ReadString(WindowSection, key, "");
  // A value the reader had to cut is a path that names some other file.
  if (path.size() >= MaxIniValueBytes) path.clear();
  return path;
}

} // namespace

int DisplayScaleForRatio(double ratio) {
  int scale = DisplayScales[0];
  for (const int offered : DisplayScales)
    if (ratio * 100 >= offered - 0.5) scale = offered;
  return scale;
}

void SetupModel::SetValue(SetupValue which, int value) {
  const SetupValueInfo& info = SetupValues[which];
  if (which == valDisplayScale) {
    int nearest = DisplayScales[0];
    for (const int offered : DisplayScales)
      if (std::abs(static_cast<long long>(value) - offered) < std::abs(static_cast<long long>(value) - nearest))
        nearest = offered;
    Values[which] = nearest;
    return;
  }
  value = std::clamp(value, info.Min, info.Max);
  if (info.Step > 1) value = info.Min + (value - info.Min + info.Step / 2) / info.Step * info.Step;
  Values[which] = std::min(value, info.Max);
}

void ClampLayout(WindowLayout& layout) {
  const int screenW = std::max(layout.ScreenWidth, MinWindowWidth);
  const int screenH = std::max(layout.ScreenHeight, MinWindowHeight);
  // The drawing area keeps at least a third of the screen.
  layout.RightPanelWidth =
      std::clamp(layout.RightPanelWidth, MinRightPanelWidth, std::max(MinRightPanelWidth, screenW * 2 / 3));
  for (ToolBarPlace& bar : layout.ToolBars) {
    bar.Left = std::clamp(bar.Left, 0, screenW - 1);
    bar.Top = std::clamp(bar.Top, 0, screenH - 1);
  }
  if (layout.Width <= 0 || layout.Height <= 0) {
    layout.Width = layout.Height = 0;
    return;
  }
  layout.Width = std::clamp(layout.Width, MinWindowWidth, screenW);
  layout.Height = std::clamp(layout.Height, MinWindowHeight, screenH);
  layout.Left = std::clamp(layout.Left, 0, screenW - layout.Width);
  layout.Top = std::clamp(layout.Top, 0, screenH - layout.Height);
}

std::string SettingsPath(const Program& prog) {
  const std::string folder = prog.Desktop.Folders().Config;
  if (folder.empty()) return {};
  return (fs::u8path(folder) / SettingsFileName).u8string();
}

bool PrefersEnglish(const std::string& desktopLanguage) {
  if (desktopLanguage.empty()) return false;
  // "uk", "uk_UA", "uk-UA.UTF-8"
  const std::string language = AsciiLower(desktopLanguage);
  const bool ukrainian = language.compare(0, 2, "uk") == 0 &&
                         (language.size() == 2 || language[2] == '_' || language[2] == '-' || language[2] == '.');
  return !ukrainian;
}

void ReadSettingsFrom(Program& prog, const IniFile& file, std::string& lastDocument) {
  WindowLayout& layout = prog.Layout;
  layout.RightPanelWidth = file.ReadInteger(WindowSection, "RightPanelWidth", layout.RightPanelWidth);
  const std::string langFile = file.ReadString(WindowSection, "LangFile", "");
  prog.Setup.Language = langFile.empty() ? -1 : FindLanguageFile(prog.Lang, langFile);
  lastDocument = StoredPath(file, "WorkFile");

  // Empty and repeated entries are skipped; a count beyond the five the list holds reads five.
  const int count = std::clamp(file.ReadInteger(WindowSection, "ColLastFiles", 0), 0, static_cast<int>(MaxRecentFiles));
  std::vector<std::string> recent;
  for (int k = 1; k <= count; ++k) {
    const std::string path = StoredPath(file, RecentKey(static_cast<std::size_t>(k)));
    if (!path.empty() && std::find(recent.begin(), recent.end(), path) == recent.end()) recent.push_back(path);
  }
  prog.RecentFiles = recent;
  if (prog.AfterRecentFilesChange) prog.AfterRecentFilesChange();

  layout.RightPanelVisible = file.ReadBool(WindowSection, "RightPanelVisible", layout.RightPanelVisible);
  for (ToolBarPlace& bar : layout.ToolBars) {
    bar.Left = file.ReadInteger(WindowSection, bar.Name + ".Left", bar.Left);
    bar.Top = file.ReadInteger(WindowSection, bar.Name + ".Top", bar.Top);
  }
  layout.Left = file.ReadInteger(WindowSection, "Left", layout.Left);
  layout.Top = file.ReadInteger(WindowSection, "Top", layout.Top);
  layout.Width = file.ReadInteger(WindowSection, "Width", layout.Width);
  layout.Height = file.ReadInteger(WindowSection, "Height", layout.Height);
  layout.Maximized = file.ReadBool(WindowSection, "Maximized", layout.Maximized);
  ClampLayout(layout);

  SetupModel& setup = prog.Setup;
  for (int k = 0; k < SetupCheckCount; ++k)
    setup.Checks[k] = file.ReadBool(ChecksSection, SetupCheckNames[k], setup.Checks[k]);
  for (int k = 0; k < SetupValueCount; ++k) {
    const SetupValue which = static_cast<SetupValue>(k);
    setup.SetValue(which, file.ReadInteger(ValuesSection, SetupValues[k].Name, setup.Values[k]));
  }
}

void ReadSettings(Program& prog) {
  // What the window shows now (its design) is the default of every key the file lacks.
  if (prog.TakeLayout) prog.TakeLayout();
  // Until the user chooses a scale, the picture follows the screen's pixel density.
  prog.Setup.SetValue(valDisplayScale, DisplayScaleForRatio(prog.Layout.ScreenPixelRatio));
  const std::string path = SettingsPath(prog);
  std::string lastDocument;
  std::error_code ec;
  const bool exists = !path.empty() && fs::exists(fs::u8path(path), ec);
  IniFile file;
  if (exists && !file.Load(path)) {
    prog.Desktop.MessageBox(MsgType::Information, prog.Msgs[59], mbOK);
  } else {
    ReadSettingsFrom(prog, file, lastDocument);
    // The first start speaks the desktop's language: English unless the desktop is Ukrainian.
    if (!exists && PrefersEnglish(prog.Desktop.DesktopLanguage()))
      prog.Setup.Language = FindLanguageFile(prog.Lang, EnglishLanguageFile);
  }
  if (prog.ApplyLayout) prog.ApplyLayout();
  FitView(prog.Doc.View, prog.Doc, prog.Area.Width, prog.Area.Height, prog.UnitLength);
  ApplySetup(prog);

  const bool lastIsNamed = !lastDocument.empty() && lastDocument.find(NoNameDocument) == std::string::npos;
  if ((lastIsNamed && prog.Config.IsReadLast) || !prog.StartDocument.empty()) {
    const std::string document = prog.StartDocument.empty() ? lastDocument : prog.StartDocument;
    if (OpenDocumentPath(prog, document)) return;
  }
  SetDocName(prog, UnnamedDocumentPath(prog));
  Redraw(prog, true);
}

void WriteSettingsTo(const Program& prog, IniFile& file) {
  const WindowLayout& layout = prog.Layout;
  file.WriteInteger(WindowSection, "RightPanelWidth", layout.RightPanelWidth);
  file.WriteString(WindowSection, "WorkFile", prog.DocFileName);
  file.WriteString(WindowSection, "LangFile", prog.Config.LangFile);
  const std::size_t count = std::min(prog.RecentFiles.size(), MaxRecentFiles);
  file.WriteInteger(WindowSection, "ColLastFiles", static_cast<int>(count));
  for (std::size_t k = 1; k <= count; ++k)
    file.WriteString(WindowSection, RecentKey(k), prog.RecentFiles[k - 1]);
  file.WriteBool(WindowSection, "RightPanelVisible", layout.RightPanelVisible);
  for (const ToolBarPlace& bar : layout.ToolBars) {
    file.WriteInteger(WindowSection, bar.Name + ".Left", bar.Left);
    file.WriteInteger(WindowSection, bar.Name + ".Top", bar.Top);
  }
  if (layout.Width > 0 && layout.Height > 0) {
    file.WriteInteger(WindowSection, "Left", layout.Left);
    file.WriteInteger(WindowSection, "Top", layout.Top);
    file.WriteInteger(WindowSection, "Width", layout.Width);
    file.WriteInteger(WindowSection, "Height", layout.Height);
  }
  file.WriteBool(WindowSection, "Maximized", layout.Maximized);
  for (int k = 0; k < SetupCheckCount; ++k)
    file.WriteBool(ChecksSection, SetupCheckNames[k], prog.Setup.Checks[k]);
  for (int k = 0; k < SetupValueCount; ++k)
    file.WriteInteger(ValuesSection, SetupValues[k].Name, prog.Setup.Values[k]);
}

void WriteSettings(Program& prog) {
  if (prog.TakeLayout) prog.TakeLayout();
  const std::string path = SettingsPath(prog);
  IniFile file;
  // The user's own lines in the file are kept; an unreadable file is written anew.
  std::error_code ec;
  if (!path.empty()) {
    file.Load(path);
    fs::create_directories(fs::u8path(path).parent_path(), ec);
  }
  WriteSettingsTo(prog, file);
  if (path.empty() || !file.Save(path, IniEncoding::Utf8))
    prog.Desktop.MessageBox(MsgType::Information, prog.Msgs[60], mbOK);
}

void ApplySetup(Program& prog) {
  const SetupModel& setup = prog.Setup;
  Settings& config = prog.Config;
  config.AnswerDigits = setup.Values[valCharAfterP];
  config.CoordSystem = setup.Values[valCoordSystem];
  config.DrawFName = setup.Checks[chkDrawFName];
  config.IsReadLast = setup.Checks[chkIsReadLast];
  config.IsOsi = setup.Checks[chkIsOsi];
  config.DrawGrid = setup.Checks[chkDrawGrid];
  config.PutObjName = setup.Checks[chkPutObjName];
  config.DotsOneLetter = setup.Checks[chkDotsOneLetter];
  config.SmoothDrawing = setup.Checks[chkSmoothDrawing];
  config.DisplayScale = setup.Values[valDisplayScale];
  config.IntegrationSteps = setup.Values[valEValue];
  const LanguageState& lang = prog.Lang;
  if (setup.Language < 0 || setup.Language >= static_cast<int>(lang.Files.size())) {
    config.LangFile.clear();
  } else {
    const std::size_t k = static_cast<std::size_t>(setup.Language);
    config.LangFile = lang.Files[k];
    ApplyLanguage(prog, lang.Paths[k]);
  }
  SetDocName(prog, prog.DocFileName);
}

void SetupCommand(Program& prog) {
  if (!prog.SetupForm || !prog.SetupForm()) return;
  ApplySetup(prog);
  Redraw(prog, true);
}

} // namespace drex
