#pragma once
// The command "drex2d --report DOCUMENT.d2d [--digits N] [--polar]": the object list of a document
// with the report on every object, its measurements and dynamic expressions, as text, without a
// window.

#include <cstdio>
#include <string>
#include <vector>

namespace drex {

class Program;

/// What "--report" asks for.
struct ReportOptions {
  std::string Document; ///< the document to report on
  int Digits = 2;       ///< AnswerDigits of the numbers, 0..12
  bool Polar = false;   ///< points in polar coordinates (CoordSystem 1)
};

/// Largest value of "--digits".
constexpr int MaxReportDigits = 12;

/// What the command line asks for.
enum class ReportParse {
  NotRequested, ///< no "--report"
  Ok,           ///< options filled in
  Invalid,      ///< "--report" with missing, repeated or malformed arguments; `error` says which
};

/// Reads the report options from the program's arguments (without the program name).
ReportParse ParseReportOptions(const std::vector<std::string>& args, ReportOptions& options, std::string& error);

/// The list line of every object of prog.Doc, each followed by its report lines indented by two
/// blanks, with the program's texts, digits and coordinate system; then a line per measurement (its
/// kind, points and the value the drawing shows) and per dynamic expression (its caption, the
/// formula when it has a name, and the value of the last refresh); one "\n"-ended line each (UTF-8).
/// A control character in a name or formula is written as a blank, so that every line stays one.
std::string ConstructionReport(const Program& prog);

/// Runs the command: loads the document with the built-in texts and default settings (the digits
/// and coordinate system of `options`, the unit length of a 96 dpi screen), redraws it in full on
/// a picture of the export's default size so that graphs get their extents, and writes
/// ConstructionReport to `out`. Returns the exit status: 0, or 1 when the document could not be
/// loaded (the program's message has gone to `err`) or the text could not be written.
int RunReportCommand(const ReportOptions& options, std::FILE* out, std::FILE* err);

} // namespace drex
