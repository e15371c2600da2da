#include "shell/about_box.h"

#include "shell/program.h"
#include "shell/ui_texts.h"

namespace drex {

const char* ProgramVersion() { return DREX2D_VERSION; }

AboutContents AboutBox(const Program& prog) {
  const auto text = [&prog](const char* name) { return prog.Texts.Get(CaptionKey(name)); };
  AboutContents about;
  about.Title = text("a_Title");
  about.Name = prog.BaseTitle;
  about.Version = FormatMsg(text("a_Version"), {ProgramVersion()});
  about.Description = text("a_Description");
  about.License = text("a_License");
  about.HelpLink = text("a_Help");
  return about;
}

} // namespace drex
