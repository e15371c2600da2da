#pragma once
// The about box's contents: the program's name, version, what it is, its licence and the way to
// its help.

#include <string>

#include "shell/undo_command.h"

namespace drex {

class Program;

/// The program's version, as the build gives it.
const char* ProgramVersion();

/// The about box's texts, by the names a language file knows them by.
inline constexpr NamedText AboutTexts[] = {
    {"a_Title", "Про програму"},
    {"a_Version", "Версія %s"},
    {"a_Description", "Динамічна геометрія та графіки функцій для уроків математики."},
    {"a_License", "Вільна програма: її можна поширювати та змінювати за умовами ліцензії GNU GPL "
                  "версії 3 або будь-якої пізнішої версії. Програма поширюється без жодних гарантій."},
    {"a_Help", "Розділи допомоги"},
};

/// What the about box shows, in the language in use.
struct AboutContents {
  std::string Title;
  std::string Name;
  std::string Version;
  std::string Description;
  std::string License;
  std::string HelpLink; ///< the caption of the link that opens the help
};

AboutContents AboutBox(const Program& prog);

} // namespace drex
