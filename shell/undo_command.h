#pragma once
// Undo and redo as commands of the main window: the steps each command records at its end, the
// names the hints give them, and the two commands that walk the history.

#include <string>

#include "documents/undo_history.h"

namespace drex {

class Program;

/// What a command did, for the name of its step.
enum class StepAction { Edit, Make, Delete, Move, Change, Show, Hide };

/// A text of the main window with the name a language file knows it by.
struct NamedText {
  const char* Name;
  const char* Text;
};

/// The names of the steps and the hints of "Скасувати дію" and "Повторити дію" that carry them.
/// "%s" stands for an object's name or a count.
inline constexpr NamedText StepTexts[] = {
    {"s_Edit", "зміна документа"},
    {"s_MakeOne", "побудова об'єкта %s"},
    {"s_MakeMany", "побудова %s об'єктів"},
    {"s_MakeMany1", "побудова %s об'єкта"},
    {"s_DeleteMany", "вилучення %s об'єктів"},
    {"s_DeleteMany1", "вилучення %s об'єкта"},
    {"s_Move", "переміщення об'єкта %s"},
    {"s_Change", "зміна об'єкта %s"},
    {"s_Show", "показ об'єкта %s"},
    {"s_Hide", "приховування об'єкта %s"},
    {"s_UndoHint", "Скасувати: %s"},
    {"s_RedoHint", "Повторити: %s"},
};

/// The text in use of StepTexts named `name` (a language may have replaced it); empty for a name
/// that is not there.
std::string StepText(const Program& prog, const char* name);

/// The name of the step of `action`: of the objects the command made or removed (counted from the
/// object count the history holds), or of object `object` for a move, a change or a visibility.
std::string StepLabel(const Program& prog, StepAction action, int object);

/// Ends a command that may have changed the document: what changed since the last step becomes
/// one step named after `action`, and the document counts as modified. A command that changed
/// nothing leaves Modified as it was (a failed save keeps it set).
void RecordStep(Program& prog, StepAction action, int object = 0, StepFields fields = StepFields::All);

/// Starts a command: what a running operation built so far (the points a tool made on the way)
/// becomes a step of its own, so that the command's step holds only what the command did.
void CloseOpenStep(Program& prog);

/// "Скасувати дію" and "Повторити дію": end the running operation, take back (or do again) one
/// step, rebuild the object list and redraw. Nothing happens when there is no such step. They run
/// through MenuClick, which has made a step of whatever changed before (CloseOpenStep).
void UndoCommand(Program& prog);
void RedoCommand(Program& prog);

/// The hints of the two commands: "Скасувати: " and the step's name, or `plain` when there is no
/// step to undo (redo).
std::string UndoHint(const Program& prog, const std::string& plain);
std::string RedoHint(const Program& prog, const std::string& plain);

} // namespace drex
