#pragma once
// Running the commands of the main window: one dispatch on the command's Tag, the keys the window
// handles itself, the question asked before the window closes, and the help file.

#include <string>

#include "shell/command_table.h"

namespace drex {

class Program;

/// The command with `tag`, or nullptr when there is none.
const CommandInfo* FindCommand(int tag);
/// The command whose menu item is named `menuItem`, or nullptr.
const CommandInfo* FindCommandByName(const std::string& menuItem);

/// True when the command with `tag` can run in this build; the others are shown disabled.
bool CommandAvailable(int tag);

/// What the window does after a command.
enum class MenuResult {
  Done,        ///< the command ran (or refused silently); show the program's state again
  CloseWindow, ///< close the main window, asking about unsaved changes first
  Unavailable, ///< the command is not available in this build; nothing changed
};

/// Runs the command with `tag`. `hint` is the current hint of the menu item that was clicked; the
/// prompts of interactive operations start with it.
MenuResult MenuClick(Program& prog, int tag, const std::string& hint);

/// Runs the command with `tag` with its hint from the command table.
MenuResult MenuClick(Program& prog, int tag);

/// The keys the main window takes before its controls do.
enum class ShellKey { Enter, Escape, Delete, NumPlus, NumMinus };

/// Handles one of the window's own keys; false when the key has nothing to do in this build.
bool ShellKeyDown(Program& prog, ShellKey key);

/// Connects the core's hooks (end of an operation, refresh after a new or loaded document) to the
/// shell's operations. The program and every test that runs documents through the shell call it once.
void InstallShellHooks(Program& prog);

/// Opens a document dropped on the window, as "Завантажити" does with a chosen file.
bool OpenDroppedFile(Program& prog, const std::string& path);

/// Opens the help file with the desktop's program for it; an error message when that fails.
void OpenHelp(Program& prog);

/// Caption of recent-document item k (1..5): "&k path"; empty when the list is shorter.
std::string RecentItemCaption(const Program& prog, int k);

} // namespace drex
