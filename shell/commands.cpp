#include "shell/commands.h"

#include <filesystem>
#include <system_error>

#include "shell/program.h"

namespace drex {

const CommandInfo* FindCommand(int tag) {
  for (const CommandInfo& c : CommandTable)
    if (c.Tag == tag) return &c;
  return nullptr;
}

const CommandInfo* FindCommandByName(const std::string& menuItem) {
  for (const CommandInfo& c : CommandTable)
    if (menuItem == c.MenuItem) return &c;
  return nullptr;
}

bool CommandAvailable(int tag) {
  switch (tag) {
  case tag::Exit:
  case tag::Help:
  case tag::Clipboard:
    return true;
  default:
    return false;
  }
}

MenuResult MenuClick(Program& prog, int tag, const std::string& hint) {
  (void)hint;
  switch (tag) {
  case tag::Exit:
    return MenuResult::CloseWindow;
  case tag::Help:
    OpenHelp(prog);
    return MenuResult::Done;
  case tag::Clipboard:
    prog.Desktop.CopyPictureToClipboard();
    return MenuResult::Done;
  default:
    return MenuResult::Unavailable;
  }
}

MenuResult MenuClick(Program& prog, int tag) {
  const CommandInfo* command = FindCommand(tag);
  return MenuClick(prog, tag, command ? command->Hint : "");
}

bool ShellKeyDown(Program& prog, ShellKey key) {
  switch (key) {
  case ShellKey::Enter:
    return MenuClick(prog, tag::ZoomEqu) != MenuResult::Unavailable;
  case ShellKey::NumPlus:
    return MenuClick(prog, tag::ZoomIn) != MenuResult::Unavailable;
  case ShellKey::NumMinus:
    return MenuClick(prog, tag::ZoomOut) != MenuResult::Unavailable;
  case ShellKey::Escape:
  case ShellKey::Delete:
    return false;
  }
  return false;
}

void OpenHelp(Program& prog) {
  std::error_code ec;
  const std::filesystem::path help = std::filesystem::absolute(std::filesystem::u8path(prog.HelpFile), ec);
  if (ec || !prog.Desktop.OpenWithAssociatedProgram(help.u8string()))
    prog.Desktop.MessageBox(MsgType::Error, prog.Msgs[28], mbOK);
}

std::string RecentItemCaption(const Program& prog, int k) {
  if (k < 1 || k > static_cast<int>(prog.RecentFiles.size()) || k > RecentItemCount) return {};
  return "&" + std::to_string(k) + " " + prog.RecentFiles[static_cast<std::size_t>(k - 1)];
}

} // namespace drex
