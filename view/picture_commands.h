#pragma once
// The commands that take the construction's picture out of the window: export as PNG, SVG and
// PDF, copy to the clipboard and print. Each draws afresh without the marks of the moment.

#include <string>

#include "shell/undo_command.h"
#include "view/picture_frame.h"

namespace drex {

class Program;

/// The texts of the picture commands, by the names a language file knows them by.
inline constexpr NamedText PictureTexts[] = {
    {"p_PngTitle", "Експорт зображення у PNG"},
    {"p_PngFilter", "Зображення PNG|*.png|Всі файли|*.*"},
    {"p_SvgTitle", "Експорт зображення у SVG"},
    {"p_SvgFilter", "Малюнок SVG|*.svg|Всі файли|*.*"},
    {"p_PdfTitle", "Експорт зображення у PDF"},
    {"p_PdfFilter", "Документ PDF|*.pdf|Всі файли|*.*"},
    {"p_WriteError", "Не можу записати зображення"},
    {"p_PngSize", "Зображення"},
    {"p_BySize", "Розмір у пікселях:"},
    {"p_ByDpi", "Роздільність, точок на дюйм:"},
    {"p_Result", "Розмір зображення: %s × %s пікселів"},
    {"p_TooLarge", "Зображення не може бути більшим за %s пікселів з кожного боку."},
    {"p_BadDpi", "Роздільність має бути від %s до %s точок на дюйм."},
    {"p_PrintScale", "Масштаб:"},
    {"p_FitPage", "За розміром сторінки"},
    {"p_TrueScale", "Справжній (1 одиниця = 1 см)"},
    {"p_PrintTitle", "Попередній перегляд друку"},
};
/// The text in use of PictureTexts named `name`.
std::string PictureText(const Program& prog, const char* name);

/// The controls of the PNG export dialog: the picture's size in pixels, or the drawing area's
/// picture at a resolution.
struct PngExportModel {
  /// The drawing area, pixels.
  int AreaWidth = 1;
  int AreaHeight = 1;
  bool ByDpi = false;
  /// The size chosen in pixels (used unless ByDpi).
  int Width = 0;
  int Height = 0;
  /// The resolution chosen (used with ByDpi).
  int Dpi = 300;

  /// The picture's pixels the choice gives.
  int OutWidth() const;
  int OutHeight() const;
  /// Empty when the picture can be made; otherwise the message that says why not.
  std::string Problem(const Program& prog) const;
  /// "Розмір зображення: 1200 × 800 пікселів".
  std::string ResultText(const Program& prog) const;
};

/// Export as PNG (after its dialog), SVG or PDF: the save dialog, then the file. False when
/// cancelled or not written (the message then said why).
bool ExportPictureCommand(Program& prog, PictureFormat format);
/// Puts the drawing area's picture on the clipboard.
void CopyPictureCommand(Program& prog);
/// Prints the picture, fitting the page or at one user unit per centimetre; false when nothing was
/// printed.
bool PrintCommand(Program& prog);

} // namespace drex
