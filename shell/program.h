#pragma once
// The one owner of the program's state: the construction, the settings, the message table and
// the tables derived from it, and the ports to the desktop. The application makes one; every test
// makes its own.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "calc/dyn_expr.h"
#include "dialogs/object_list.h"
#include "dialogs/properties_model.h"
#include "documents/macro_file.h"
#include "documents/undo_history.h"
#include "expr/DS_Calc.h"
#include "expr/calculus.h"
#include "kernel/construction.h"
#include "interaction/operation_state.h"
#include "kernel/object_table.h"
#include "shell/d2consts.h"
#include "shell/language.h"
#include "shell/platform.h"
#include "shell/settings.h"
#include "shell/setup_model.h"
#include "shell/ui_texts.h"
#include "view/locus_trace.h"
#include "view/picture_commands.h"
#include "view/redraw.h"

namespace drex {

/// Internal units per user unit before the main window sets it from the screen.
constexpr int DefaultUnitLength = 100;

/// UnitLength for a screen: its pixels per inch divided by 2, fraction dropped.
constexpr int UnitLengthForScreen(int pixelsPerInch) { return pixelsPerInch / 2; }

class CalculModel;
struct MacroListModel;
class DynExprDialogModel;
class RotationModel;

class Program {
public:
  explicit Program(Platform& platform);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  /// Re-reads the kind names and stems from the message table (after a language is applied).
  void ApplyTexts();

  /// The naming rules of the current settings.
  NamingRules Naming() const { return NamingRules{Kinds, Config.DotsOneLetter}; }

  /// Appends a new object of `kind` at ObjCount + 1 with its defaults and returns its number, or 0
  /// when the table is full.
  int AppendObject(int kind);

  Platform& Desktop;
  Construction Doc;
  /// The steps undo and redo go through, and the state the next step is measured from.
  UndoHistory History;
  Settings Config;
  /// The settings dialog's controls, which the settings file keeps between runs.
  SetupModel Setup;
  /// The main window's layout as the settings file keeps it.
  WindowLayout Layout;
  MsgTable Msgs;
  KindTexts Kinds;
  /// The main window's texts the core shows itself (file dialogs, names of undo steps, ...).
  UiTexts Texts;
  /// The message boxes' texts, the forms' texts and the language files found.
  LanguageState Lang;
  int UnitLength = DefaultUnitLength;
  // Shell state.
  std::string DocFileName = "NoName.d2d"; ///< full path of the current document (UTF-8)
  bool Modified = false;                  ///< the construction changed since it was loaded or saved
  std::vector<std::string> RecentFiles;   ///< at most 5 full paths, newest first (UTF-8)
  std::string BaseTitle = "DREX-2D";      ///< the window caption the main window was created with
  std::string Title = "DREX-2D";          ///< the window caption SetDocName composed; the main window shows it

  // Hooks the shell sets; the core skips a hook that is not set.
  /// After New and after a load that replaced the construction: rebuild the object list and the
  /// dynamic-expression grid from the construction, then Redraw (which recomputes every object).
  std::function<void()> AfterDocumentChange;
  /// Ends any running interactive operation (AbortOperation).
  std::function<void()> AbortOperationHook;
  /// Opens the properties dialog for object n; true when it ended with OK. Asked for by a double
  /// click on the current object and for a polyline or polynomial just made by mouse (kept as
  /// picked when the hook is not set).
  std::function<bool(int)> ObjectPropertiesHook;
  /// Shows the properties dialog for the model, modally; true when it was closed with OK (which
  /// the form allows only once the model's Confirm passed). The program's window sets it.
  std::function<bool(PropertiesModel&)> PropertiesForm;
  /// Shows the calculation dialog on page 0 (value), 1 (integral) or 2 (derivative), without
  /// blocking the main window. The program's window sets it.
  std::function<void(int)> CalculatorForm;
  /// Shows the dynamic-expression dialog for the model, modally; true when it was closed with OK.
  std::function<bool(DynExprDialogModel&)> DynExprForm;
  /// Shows the solid-of-revolution dialog for the model, modally.
  std::function<void(RotationModel&)> RotationForm;
  /// Shows the transformation dialog without blocking the main window. The program's window
  /// sets it.
  std::function<void()> TransformForm;
  /// Shows the list of macro files for the model, modally; true when the user chose one to apply
  /// (the model's Selected). The program's window sets it.
  std::function<bool(MacroListModel&)> MacroForm;
  /// Shows the settings dialog over the program's SetupModel, modally; true when it was closed
  /// with "&Застосувати". The program's window sets it.
  std::function<bool()> SetupForm;
  /// After a language was applied: show the forms' texts again, and rebuild the texts the program
  /// composed itself (recent documents, the locus command, the object list, the grid's headers).
  std::function<void()> AfterLanguageChange;
  /// After the settings were read: place the window, the right panel and the tool bars as Layout
  /// says.
  std::function<void()> ApplyLayout;
  /// Before the settings are written: store the window's current layout into Layout.
  std::function<void()> TakeLayout;
  /// Shows the PNG export dialog for the model, modally; true when it was closed with OK.
  std::function<bool(PngExportModel&)> PngExportForm;
  /// Shows the about box, modally.
  std::function<void()> AboutForm;
  /// The PNG export dialog's choices, kept between openings.
  PngExportModel PngExport;
  /// The print dialog's choice of scale, kept between printouts.
  bool PrintTrueScale = false;
  /// What the properties dialog remembers between openings.
  PropertiesMemory PropertiesDlg;
  /// After every UpdateRecentFiles: rebuild the menu items file1..file5 and the separator from
  /// RecentFiles (RecentFileCaptions gives their captions).
  std::function<void()> AfterRecentFilesChange;

  /// The table a document is parsed into before it replaces Doc; made on the first load and kept,
  /// so that loading does not allocate and clear a whole table each time.
  std::unique_ptr<Construction> LoadScratch;

  /// The last world position of the mouse the mouse handling stored (internal units).
  double MouseWorldX = 0, MouseWorldY = 0;

  /// The interactive operation that is running and the state of the mouse over the drawing area.
  OperationState Op;
  /// The object list of the left panel and the report on its current object.
  ObjectListState List;
  /// The evaluator of the calculation dialogs; its CalcError tells the outcome of their last
  /// evaluation.
  DS_Calc Calc;
  /// The evaluator of the dynamic expressions, apart from Calc: a redraw during a long calculation
  /// re-evaluates the expressions and must not disturb the calculation's samples.
  DS_Calc ExprCalc;
  /// The calculations' re-entry mark, derivative flag and the last solid of revolution.
  CalculusState Calculus;

  /// The expression grid's rows, values and frozen columns.
  DynExprGrid ExprGrid;

  // Macro-constructions.
  /// The recording marks by object number: 0 none, 1 source, 2 result.
  std::vector<uint8_t> MacroMarks = std::vector<uint8_t>(SlotCount, 0);
  /// The macro chosen last; it stays until another one is chosen.
  Macro LoadedMacro;
  /// While a macro is applied: for each record number, the object that plays it (index 0 unused).
  std::vector<int16_t> MacroApplyMap;

  /// The point whose locus is traced, 0 for none, and its trail.
  int LocusPoint = 0;
  LocusTrace Locus;

  /// The retained bitmap of the drawing area that Redraw paints; none in a program without a window.
  Canvas* Surface = nullptr;
  /// The drawing area as seen by the last redraw (centre and visible corners).
  ViewArea Area;
  /// The redraw guard, the selection flag, the label rectangles and the drawing's hooks.
  RedrawState Drawing;

  // Main window state: the form shows these after every call into the core.
  std::string InfoText = "  ";            ///< the hint line under the tool bars, kept by ShowPrompt
  bool AbortEnabled = false;              ///< m_Abort and k_Abort are enabled
  bool DeleteEnabled = false;             ///< m_ModeDel and k_ModeDel are enabled: the last redraw found a selection
  bool ShowHidden = false;                ///< check mark of ShowAll: hidden objects are drawn too
  std::string HelpFile = BuiltInHelpFile; ///< help file name, looked for in the shipped folders
  std::string StartDocument;              ///< full path of the document named on the command line
  int StartupTicks = 0;                   ///< ticks of the start-up timer so far

  /// Sets the hint line to two blanks followed by `text`.
  void ShowPrompt(const std::string& text);
  /// Enables the command that ends the running operation.
  void EnableAbort() { AbortEnabled = true; }
  /// The text shown when a command would make more objects than the table holds.
  std::string ObjectLimitMessage() const;
  /// Shows ObjectLimitMessage as an error with OK.
  void ShowObjectLimitMessage();
};

/// The context of a calculation the program's dialogs start: its evaluator, the desktop for the
/// progress window, the message texts and the configured integration steps.
CalcContext CalculationContext(Program& prog);

/// Longest window caption taken as BaseTitle.
constexpr std::size_t MaxBaseTitle = 100;

} // namespace drex
