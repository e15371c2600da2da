#include "shell/startup.h"

#include <filesystem>
#include <system_error>

#include "documents/document_commands.h"
#include "documents/document_file.h"
#include "documents/macro_commands.h"
#include "kernel/cp1251.h"
#include "shell/app_folders.h"
#include "shell/program.h"
#include "shell/setup_model.h"
#include "view/redraw.h"

namespace drex {

namespace fs = std::filesystem;

std::string AbsoluteStartPath(const std::string& argument, const std::string& startDir) {
  if (argument.empty()) return {};
  const fs::path path = fs::u8path(argument);
  if (path.is_absolute()) return path.lexically_normal().u8string();
  return (fs::u8path(startDir) / path).lexically_normal().u8string();
}

bool PrepareProgramFolder(Program& prog, const std::string& programDir, std::string& error) {
  std::error_code ec;
  fs::current_path(fs::u8path(programDir), ec);
  if (ec) {
    error = programDir + ": " + ec.message();
    return false;
  }
  // The user's folder of macros; one that cannot be made shows up when a macro is saved. An
  // installed program's own folder is never written.
  UserDataFolder(prog.Desktop, MacroFolder);
  prog.BaseTitle = CutToChars(prog.BaseTitle, static_cast<int>(MaxBaseTitle));
  SetDocName(prog, UnnamedDocumentPath(prog));
  return true;
}

bool StartupTick(Program& prog) {
  ++prog.StartupTicks;
  // The settings, and with them the start document.
  if (prog.StartupTicks == StartupOpenAfterTicks + 1) ReadSettings(prog);
  if (prog.StartupTicks < StartupLastTick) return false;
  prog.Desktop.StopTimer(TimerId::Timer1);
  return true;
}

} // namespace drex
