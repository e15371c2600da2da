#pragma once
// Dynamic expressions: formulas over the construction whose calls ANGLE(…), LEN(…) and AREA(…)
// measure named objects, evaluated again after every redraw and command and shown in the grid
// beside the drawing, with the columns of values the user froze.

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace drex {

class Construction;
class Program;

/// The objects by their names in upper case: the first object (in number order) that has a name.
/// Built once per refresh, so that a call's name costs one lookup instead of a scan of the table.
class ObjectNameIndex {
public:
  /// Indexes objects 1..ObjCount of `doc`.
  void Build(const Construction& doc);
  /// The first object whose upper-cased name equals `upperName`, 0 for none.
  int Find(std::string_view upperName) const;

private:
  std::unordered_map<std::string, int> first_;
};

/// The text a dynamic expression is stored as: `text` without blanks, in upper case (Cyrillic
/// letters too), at most 255 characters of UTF-8 input.
std::string NormalizeDynExpr(const std::string& text);

/// The value text of one expression over the current construction: the value written with
/// FormatAnswer (AnswerDigits), or "???" when it cannot be evaluated. Measurement calls enter the
/// formula with their full precision. Leaves prog.ExprCalc.CalcError as the final evaluation set it
/// (positive for a malformed text or call, negative for a value that cannot be computed now).
std::string EvaluateDynExpr(Program& prog, const ObjectNameIndex& names, const std::string& text);
/// The same with an index built for this one call.
std::string EvaluateDynExpr(Program& prog, const std::string& text);

} // namespace drex
