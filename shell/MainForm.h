#pragma once
// The main window: a thin Qt form over the core's Program. Menus and tool bars are built from the
// command table; every command, key and mouse event is handed to the core, and after each the form
// shows the core's state again.

#include <QMainWindow>

#include <map>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QListWidget;
class QMenu;
class QSplitter;
class QTableWidget;
class QToolBar;
class QToolButton;
class QTranslator;

namespace drex {

class ObjListView;
class PlaceWidget;
class Program;
class TFuncFrm;
class TModFrm;
class TRotFrm;
class TMacroFrm;
class TCalculFrm;
class TCalcFrm;
class QtPlatform;
class TSetupFrm;
class TPngFrm;

class TDrex2dFrm : public QMainWindow {
  Q_OBJECT
public:
  TDrex2dFrm(Program& program, QtPlatform& platform, QWidget* parent = nullptr);
  ~TDrex2dFrm() override;

  /// Runs the command with `tag` as its menu item does.
  void MenuClick(int tag);
  /// Shows the program's state: title, hint line, enabled and checked commands, recent documents.
  void SyncWithCore();
  /// The menu item of the command with `tag`, or nullptr.
  QAction* CommandAction(int tag) const;
  /// The drawing area.
  QWidget* Place() const;
  /// Starts the start-up timer that opens the start document.
  void StartStartupTimer();

protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void BuildActions();
  void BuildMenus();
  void BuildToolBars();
  QWidget* BuildInfoPanel();
  QWidget* BuildWorkPanel();
  void BuildPopMenu();
  void SyncReport();
  /// Shows the expression grid: its rows, frozen columns, values and current row.
  void SyncCalcGrid();
  /// Enables undo or redo by the history and puts the step's name into its hint.
  void SyncHistoryAction(int tag, bool available, std::string (*hint)(const Program&, const std::string&));
  void RegisterCursors();
  /// The hint of the command's menu item as designed, in the language in use.
  std::string DesignHint(int tag) const;
  /// The hints of the commands' menu items in the language in use, by Tag.
  void TakeDesignHints();
  /// Reads every form's texts as built, for the language files.
  void CaptureTexts();
  /// Shows the texts of the language in use in every form, and the toolkit's own dialogs in its
  /// locale.
  void ShowLanguage();
  void ShowToolkitLocale();
  void TakeLayout();
  void ApplyLayout();
  /// The forms whose texts a language file holds, in the order they were made.
  std::vector<QWidget*> TextForms() const;
  void ToggleWorkPanel();
  bool HandleWindowKey(QEvent* event, bool run);

  Program& program_;
  QtPlatform& platform_;
  std::map<int, QAction*> actions_;
  std::map<int, QToolBar*> toolBars_;
  QAction* fileEnd_ = nullptr;
  PlaceWidget* place_ = nullptr;
  QWidget* infoPanel_ = nullptr;
  QLabel* infoText_ = nullptr;
  QToolButton* minBtn_ = nullptr;
  QWidget* workPanel_ = nullptr;
  QSplitter* vertSplitter_ = nullptr;
  ObjListView* objList_ = nullptr;
  QListWidget* reportBox_ = nullptr;
  unsigned shownReportRevision_ = 0;
  QMenu* popMenu_ = nullptr;
  QAction* popProperties_ = nullptr;
  QTableWidget* calcGrid_ = nullptr;
  unsigned shownGridLayout_ = ~0u;
  int shownLocusImage_ = -1; ///< image the locus command shows, -1 before the first sync
  bool syncingGrid_ = false;
  TFuncFrm* funcFrm_ = nullptr;
  TRotFrm* rotFrm_ = nullptr;
  TModFrm* modFrm_ = nullptr;
  TCalculFrm* calculFrm_ = nullptr;
  TCalcFrm* calcFrm_ = nullptr;
  TMacroFrm* macroFrm_ = nullptr;
  TSetupFrm* setupFrm_ = nullptr;
  TPngFrm* pngFrm_ = nullptr;
  QTranslator* toolkitTexts_ = nullptr;
  std::string shownLocale_;
  std::map<int, std::string> designHints_;
  int shownMacroImage_ = -1; ///< the image k_MacroMake shows
};

} // namespace drex
