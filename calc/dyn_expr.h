#pragma once
// Dynamic expressions: formulas over the construction whose calls ANGLE(…), LEN(…) and AREA(…)
// measure named objects, evaluated again after every redraw and command and shown in the grid
// beside the drawing, with the columns of values the user froze.

#include <bitset>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace drex {

class Construction;
class Program;

/// Longest stored expression and name (Windows-1251 bytes).
constexpr int MaxDynExprLength = 255;

/// Finds objects by their names in upper case: the first object, in number order, with a name.
/// Only the names asked for beforehand are indexed, so that a refresh during a drag costs one
/// pass over the table with a cheap test per object instead of a scan per call.
class ObjectNameIndex {
public:
  /// Asks for `upperName` (Windows-1251, upper case) to be indexed by the next Build.
  void Want(std::string_view upperName);
  /// Finds the objects of every name asked for among objects 1..ObjCount of `doc`.
  void Build(const Construction& doc);
  /// The object found for `upperName`, 0 for none (also for a name that was not asked for).
  int Find(std::string_view upperName) const;
  /// Forgets every name.
  void Clear();

private:
  std::unordered_map<std::string, int> found_;
  std::bitset<256> firstBytes_;
  uint32_t lengths_ = 0; ///< bit k: a wanted name has k bytes
};

/// `bytes` (Windows-1251) in upper case, Cyrillic letters included.
std::string UpperCp1251(std::string bytes);

/// The text an expression is stored as: the first 255 Windows-1251 bytes of `utf8` without blanks,
/// in upper case.
std::string NormalizeDynExpr(const std::string& utf8);

/// Asks `index` for every object name the calls of `stored` (a stored, normalized expression) name.
void WantCallNames(ObjectNameIndex& index, const std::string& stored);

/// The value text of the stored expression `stored` over the current construction: the value
/// written with FormatAnswer (AnswerDigits), or "???" when it cannot be evaluated. Measurement
/// calls enter the formula with their full precision; a call on an object that is not defined
/// makes the value "???". `names` must have been built with the calls' names. Leaves
/// prog.ExprCalc.CalcError as the final evaluation set it (positive for a malformed text or call,
/// negative for a value that cannot be computed now).
std::string EvaluateStoredDynExpr(Program& prog, const ObjectNameIndex& names, const std::string& stored);
/// The same for a typed (UTF-8) text, normalized first, with an index built for this one call.
std::string EvaluateDynExpr(Program& prog, const std::string& text);

/// What the expression grid beside the drawing shows, apart from the document's table.
struct DynExprGrid {
  /// Per row (expression), the text of column 0 (its name, or its formula without one), UTF-8.
  std::vector<std::string> Captions;
  /// Per row, the current value (column 1).
  std::vector<std::string> Values;
  /// The frozen columns, first to last; each holds a value per row (empty where a row came later).
  std::vector<std::vector<std::string>> Frozen;
  /// The expression rows stand for, as stored formula and name, to carry frozen cells along when
  /// expressions are added, removed, undone or reordered.
  std::vector<std::string> RowKeys;
  /// The expression dialog's drop-down list of earlier formulas, newest first.
  std::vector<std::string> DialogHistory;
  /// The current row (0-based expression), -1 for none.
  int Current = -1;
  /// Changes whenever rows or columns are added or removed, so that the form rebuilds its cells.
  unsigned Layout = 0;
  /// The objects the calls name. Names change only through recorded steps, loads and new objects,
  /// so the index is found again only when the history's revision or the object count changed,
  /// not on every step of a drag.
  ObjectNameIndex Names;
  bool NamesBuilt = false;
  unsigned NamesRevision = 0;
  int NamesObjCount = -1;
};

/// Re-evaluates every expression into the grid's values, first bringing its rows in step with the
/// document's table (frozen cells follow their expression). Runs with every redraw.
void RefreshDynExprs(Program& prog);

/// The commands of the expression grid; the dispatch refreshes the grid after each. New and Edit
/// ask through prog.DynExprForm; New refuses the 101st expression with a message; Delete asks first.
void NewDynExpr(Program& prog);
void EditDynExpr(Program& prog);
void DeleteDynExpr(Program& prog);
/// Freezes the current values into a new column at the right (when there are expressions).
void FreezeDynExprValues(Program& prog);
/// Removes the last frozen column (when there is one).
void RemoveFrozenColumn(Program& prog);
/// Moves the expression of row `from` to row `to` (0-based), the rows between shifting by one.
void MoveDynExpr(Program& prog, int from, int to);
/// The user dragged row `from` of the grid to row `to`: the move as one step of the document.
void GridRowMoved(Program& prog, int from, int to);
/// Asks for a file name and writes the frozen columns as comma-separated UTF-8 text: a header row,
/// then per expression its caption and its frozen values.
void SaveFrozenColumns(Program& prog);

/// The comma-separated text SaveFrozenColumns writes.
std::string FrozenColumnsCsv(const Program& prog);

/// Header of frozen column k (1-based).
std::string FrozenHeader(int k);

/// Texts of the expression grid's commands with the names a language file knows them by.
struct CalcText {
  const char* Name;
  const char* Text;
};
inline constexpr CalcText CalcTexts[] = {
    {"c_CsvFilter", "Значення, розділені комами|*.csv|Всі файли|*.*"},
    {"c_CsvTitle", "Збереження зафіксованих значень"},
    {"c_MeasureLimit", "Максимальна кількість вимірювань на екрані не повинна перевищувати"},
};
/// The text in use of CalcTexts named `name` (a language may have replaced it); empty for a name
/// that is not there.
std::string CalcTextOf(const Program& prog, const char* name);

} // namespace drex
