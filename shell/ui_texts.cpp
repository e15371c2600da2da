#include "shell/ui_texts.h"

#include "calc/dyn_expr.h"
#include "documents/document_commands.h"
#include "documents/macro_commands.h"
#include "shell/about_box.h"
#include "shell/undo_command.h"
#include "view/picture_commands.h"

namespace drex {

std::string CaptionKey(const char* name) { return std::string(name) + ".caption"; }

UiTexts::UiTexts() {
  const auto add = [this](std::string key, const char* text) {
    index_.emplace(key, entries_.size());
    entries_.emplace_back(std::move(key), text);
  };
  add("OpenDial.caption", OpenDocumentTitle);
  add("OpenDial.Filter", DocumentFilter);
  add("SaveDial.caption", SaveDocumentTitle);
  add("SaveDial.Filter", DocumentFilter);
  add("SaveDialMacro.caption", SaveMacroTitle);
  add("SaveDialMacro.Filter", MacroFilter);
  for (const NamedText& t : StepTexts)
    add(CaptionKey(t.Name), t.Text);
  for (const CalcText& t : CalcTexts)
    add(CaptionKey(t.Name), t.Text);
  for (const NamedText& t : MacroTexts)
    add(CaptionKey(t.Name), t.Text);
  for (const NamedText& t : PictureTexts)
    add(CaptionKey(t.Name), t.Text);
  for (const NamedText& t : AboutTexts)
    add(CaptionKey(t.Name), t.Text);
}

const std::string& UiTexts::Get(const std::string& key) const {
  static const std::string none;
  const auto found = index_.find(key);
  return found == index_.end() ? none : entries_[found->second].second;
}

void UiTexts::Set(const std::string& key, std::string text) {
  const auto found = index_.find(key);
  if (found != index_.end()) entries_[found->second].second = std::move(text);
}

} // namespace drex
