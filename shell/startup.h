#pragma once
// The shell's own steps at start: the program's folder becomes the working directory, the
// document named on the command line is kept as a full path, and the start-up timer opens it.

#include <string>

namespace drex {

class Program;

/// Interval of the start-up timer.
constexpr int StartupIntervalMs = 10;
/// The start document is opened at the first tick after this many.
constexpr int StartupOpenAfterTicks = 40;
/// The start-up timer stops at this tick.
constexpr int StartupLastTick = 50;

/// `argument` as a full path, a relative one taken against `startDir` (the working directory the
/// program was started in); empty for an empty argument.
std::string AbsoluteStartPath(const std::string& argument, const std::string& startDir);

/// Makes `programDir` the working directory, creates the user's folder "Macro" under the data
/// folder (one that exists is fine), takes the title and names the empty document. Returns false
/// with `error` set when the working directory cannot be changed.
bool PrepareProgramFolder(Program& prog, const std::string& programDir, std::string& error);

/// One tick of the start-up timer; returns true on the tick that stops it.
bool StartupTick(Program& prog);

} // namespace drex
