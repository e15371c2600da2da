#include "shell/language.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "dialogs/object_list.h"
#include "kernel/cp1251.h"
#include "shell/app_folders.h"
#include "shell/ini_file.h"
#include "shell/program.h"

namespace drex {
namespace fs = std::filesystem;

namespace {

constexpr const char* BuiltInButtonCaptions[ButtonCaptionCount] = {
    "Так", "Ні", "Продовжити", "Скасувати", "Стоп", "Повторити", "Ignore", "All", "NoToAll", "YesToAll", "Help"};
constexpr const char* BuiltInDialogCaptions[DialogCaptionCount] = {"Попередження", "Помилка", "Інформація",
                                                                   "Підтвердження", ""};
/// The language of the built-in texts, as the template declares it.
constexpr const char* BuiltInLanguage = "Українська";

void Translate(TextMode mode, IniFile& file, const std::string& section, const std::string& key, std::string& text) {
  text = TranslateText(mode, file, section, key, text);
}

void WalkComponent(TextMode mode, IniFile& file, const std::string& section, TextComponent& c) {
  if (c.HasCaption) Translate(mode, file, section, c.Name + ".caption", c.Caption);
  if (c.HasHint) Translate(mode, file, section, c.Name + ".hint", c.Hint);
  for (std::size_t k = 0; k < c.Items.size(); ++k)
    Translate(mode, file, section, c.Name + "." + std::to_string(k + 1), c.Items[k]);
  if (c.HasFilter) Translate(mode, file, section, c.Name + ".Filter", c.Filter);
}

/// The main window's texts the core shows itself, in the main window's section.
void WalkCoreTexts(TextMode mode, IniFile& file, UiTexts& texts) {
  for (const auto& [key, text] : texts.Entries()) {
    const std::string translated = TranslateText(mode, file, MainFormName, key, text);
    if (translated != text) texts.Set(key, translated);
  }
}

} // namespace

LanguageState::LanguageState() {
  std::copy(std::begin(BuiltInButtonCaptions), std::end(BuiltInButtonCaptions), ButtonCaptions.begin());
  std::copy(std::begin(BuiltInDialogCaptions), std::end(BuiltInDialogCaptions), DialogCaptions.begin());
}

std::string TranslateText(TextMode mode, IniFile& file, const std::string& section, const std::string& key,
                          const std::string& text) {
  if (CharCount(text) <= 1 || key.find("__") != std::string::npos) return text;
  if (mode == TextMode::Read) return file.ReadString(section, key, text);
  file.WriteString(section, key, text);
  return text;
}

void WalkTexts(Program& prog, IniFile& file, TextMode mode) {
  LanguageState& lang = prog.Lang;
  if (mode == TextMode::Write) {
    file.WriteString("INFO", "Language", BuiltInLanguage);
    file.WriteString("INFO", "AppName", AppTitle);
    file.WriteString("INFO", "Locale", "uk");
  } else {
    lang.Locale = file.ReadString("INFO", "Locale", lang.Locale);
    // Only a plain help file name is taken; OpenHelp looks for it in the program's help folders. A
    // file that names none (the template among them) gets the built-in help, not the help of the
    // language shown before.
    const std::string help = file.ReadString("INFO", "HelpFile", BuiltInHelpFile);
    prog.HelpFile = IsHelpFileName(help) ? help : std::string();
  }
  for (int n = 0; n < ButtonCaptionCount; ++n)
    Translate(mode, file, "Msg", "Button" + std::to_string(n), lang.ButtonCaptions[static_cast<std::size_t>(n)]);
  for (int n = 0; n < DialogCaptionCount; ++n)
    Translate(mode, file, "Msg", "Caption" + std::to_string(n), lang.DialogCaptions[static_cast<std::size_t>(n)]);
  bool coreTextsWalked = false;
  for (TextForm& form : lang.Forms) {
    Translate(mode, file, "INFO", form.Name, form.Caption);
    for (TextComponent& c : form.Components)
      WalkComponent(mode, file, form.Name, c);
    if (form.Name == MainFormName) {
      WalkCoreTexts(mode, file, prog.Texts);
      coreTextsWalked = true;
    }
  }
  if (!coreTextsWalked) WalkCoreTexts(mode, file, prog.Texts);
  for (int n = 1; n <= MsgCount; ++n) {
    const std::string& text = prog.Msgs[n - 1];
    const std::string translated = TranslateText(mode, file, "InternalResources", "r" + std::to_string(n), text);
    if (translated != text) prog.Msgs.Set(n - 1, translated);
  }
}

bool ApplyLanguage(Program& prog, const std::string& path) {
  IniFile file;
  if (!file.Load(path)) return false;
  WalkTexts(prog, file, TextMode::Read);
  prog.ApplyTexts();
  // The list shows kind names.
  RefreshObjectList(prog);
  if (prog.AfterLanguageChange) prog.AfterLanguageChange();
  return true;
}

bool WriteLanguageTemplate(Program& prog, const std::string& path) {
  IniFile file;
  WalkTexts(prog, file, TextMode::Write);
  return file.Save(path, IniEncoding::Cp1251);
}

void ScanLanguageFiles(Program& prog) {
  LanguageState& lang = prog.Lang;
  lang.Files.clear();
  lang.Paths.clear();
  lang.Names.clear();
  for (const std::string& folder : ReadableFolders(prog.Desktop, std::string())) {
    std::vector<fs::path> found;
    std::error_code ec;
    for (fs::directory_iterator it(fs::u8path(folder), ec), end; !ec && it != end; it.increment(ec)) {
      const fs::path& path = it->path();
      std::error_code typeError;
      if (AsciiLower(path.extension().u8string()) == ".lng" && it->is_regular_file(typeError)) found.push_back(path);
    }
    std::sort(found.begin(), found.end());
    for (const fs::path& path : found) {
      const std::string name = path.filename().u8string();
      if (FindLanguageFile(lang, name) >= 0) continue;
      IniFile file;
      if (!file.Load(path.u8string())) continue;
      const std::string language = file.ReadString("INFO", "Language", "");
      if (file.ReadString("INFO", "AppName", "") != AppTitle || language.empty()) continue;
      lang.Files.push_back(name);
      lang.Paths.push_back(path.u8string());
      lang.Names.push_back(CutToChars(language, 64));
    }
  }
}

void PrepareLanguages(Program& prog) {
  const std::string folder = UserDataFolder(prog.Desktop, std::string());
  if (!folder.empty()) WriteLanguageTemplate(prog, (fs::u8path(folder) / TemplateLanguageFile).u8string());
  ScanLanguageFiles(prog);
}

int FindLanguageFile(const LanguageState& lang, const std::string& fileName) {
  for (std::size_t k = 0; k < lang.Files.size(); ++k)
    if (AsciiLower(lang.Files[k]) == AsciiLower(fileName)) return static_cast<int>(k);
  return -1;
}

bool IsHelpFileName(const std::string& name) {
  if (name.empty() || name.size() > 255 || name[0] == '.') return false;
  if (name.find_first_of("/\\:") != std::string::npos) return false;
  for (const char ch : name)
    if (static_cast<unsigned char>(ch) < 0x20) return false;
  const std::size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string ext = AsciiLower(name.substr(dot));
  return ext == ".chm" || ext == ".html" || ext == ".htm" || ext == ".pdf";
}

} // namespace drex
