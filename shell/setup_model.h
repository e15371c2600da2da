#pragma once
// The settings dialog "Налагодження" as data, and the settings file that keeps its controls, the
// window's layout, the recent documents and the last document between runs.

#include <string>
#include <vector>

namespace drex {

class IniFile;
class Program;

/// The settings file, in the user's configuration folder.
constexpr const char* SettingsFileName = "Drex2d.ini";

/// The settings dialog's check boxes, by component name: the key each is stored under in "Checks".
enum SetupCheck {
  chkIsOsi,
  chkDrawGrid,
  chkIsReadLast,
  chkDrawFName,
  chkPutObjName,
  chkDotsOneLetter,
  chkSmoothDrawing,
  SetupCheckCount
};
inline constexpr const char* SetupCheckNames[SetupCheckCount] = {
    "IsOsi", "DrawGrid", "IsReadLast", "DrawFName", "PutObjName", "DotsOneLetter", "SmoothDrawing"};

/// The dialog's number controls, by component name: the key each is stored under in "Values",
/// with its range and design value.
enum SetupValue { valCoordSystem, valEValue, valCharAfterP, valDisplayScale, SetupValueCount };
struct SetupValueInfo {
  const char* Name;
  int Min, Max, Default, Step;
};
inline constexpr SetupValueInfo SetupValues[SetupValueCount] = {
    {"CoordSystem", 0, 1, 0, 1},
    {"EValue", 100, 1000, 200, 100},
    {"CharAfterP", 0, 12, 2, 1},
    {"DisplayScale", 100, 300, 100, 0},
};

/// The display scales offered, percent; a scale read or set is held to the nearest of them.
inline constexpr int DisplayScales[] = {100, 125, 150, 200, 300};

/// The display scale for a screen with `ratio` device pixels per layout pixel: the largest offered
/// scale not above it, 100 at least.
int DisplayScaleForRatio(double ratio);

/// The values of the dialog's controls. They outlive the dialog: Cancel keeps what the user set,
/// and the settings file stores them at exit.
struct SetupModel {
  bool Checks[SetupCheckCount] = {true, true, true, true, true, true, true};
  int Values[SetupValueCount] = {SetupValues[0].Default, SetupValues[1].Default, SetupValues[2].Default,
                                 SetupValues[3].Default};
  /// The chosen entry of the language list, -1 for none (the texts in use stay).
  int Language = -1;

  /// Sets a number control, held to its range (to its step for EValue, to the nearest offered
  /// scale for DisplayScale).
  void SetValue(SetupValue which, int value);
};

/// A tool bar's place in the tool bar host.
struct ToolBarPlace {
  std::string Name;
  int Left = 0, Top = 0;
};

/// The main window's state the settings file keeps. The window reports the screen's size and the
/// tool bars' design places before the settings are read; what is read is held to the screen.
struct WindowLayout {
  int ScreenWidth = 1024, ScreenHeight = 768;
  /// Device pixels per layout pixel of the window's screen.
  double ScreenPixelRatio = 1;
  int RightPanelWidth = 125;
  bool RightPanelVisible = true;
  std::vector<ToolBarPlace> ToolBars;
  /// The window's frame; Width 0 while no size was ever stored.
  int Left = 0, Top = 0, Width = 0, Height = 0;
  bool Maximized = false;
};

/// The narrowest right panel.
constexpr int MinRightPanelWidth = 125;
/// Smallest window kept from the settings file.
constexpr int MinWindowWidth = 400, MinWindowHeight = 300;

/// Holds the layout to what fits its screen.
void ClampLayout(WindowLayout& layout);

/// Reads the settings file (missing: every default) into the dialog's controls, the window layout,
/// the recent documents and the name of the last document; then applies the controls (including
/// the language), fits the view and opens the start document: the one named on the command line,
/// else the last one when "Автоматично завантажувати останній робочий файл" is on, else an empty
/// one. A file that cannot be read shows message 59 and leaves the defaults.
void ReadSettings(Program& prog);

/// Reads the settings of `file` as ReadSettings does, without opening anything. Also sets
/// `lastDocument`.
void ReadSettingsFrom(Program& prog, const IniFile& file, std::string& lastDocument);

/// Writes everything ReadSettings reads into `file`, keeping its other lines.
void WriteSettingsTo(const Program& prog, IniFile& file);

/// Writes the settings file at exit; message 60 as a plain message when it cannot be written.
void WriteSettings(Program& prog);

/// "&Застосувати": copies the controls into the program's settings, applies the chosen language
/// (none chosen: the texts in use stay) and sets the title again.
void ApplySetup(Program& prog);

/// F9: the modal settings dialog over the program's controls; "&Застосувати" applies them and
/// redraws, Cancel keeps what the user changed for the next start without applying it.
void SetupCommand(Program& prog);

/// The full path of the settings file, empty when there is no configuration folder.
std::string SettingsPath(const Program& prog);

/// The language the desktop speaks is not Ukrainian: the first start chooses English.
bool PrefersEnglish(const std::string& desktopLanguage);

} // namespace drex
