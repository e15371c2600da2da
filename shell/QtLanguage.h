#pragma once
// The forms' texts for the language files: read out of a form's widgets as the form was built, and
// put back after a language translated them. Widgets are found by their object names, which are
// the names a language file knows them by.

#include <QWidget>

#include "dialogs/QtFormText.h"
#include "shell/language.h"

namespace drex {

/// The caption of `form` and the texts of every named component it owns, in the form's order:
/// menu items, tool buttons, labels, buttons, check boxes, group boxes, pages, lists and combo
/// boxes with their items, panels and tool bars. Windows the form owns (other forms) are left out.
TextForm CaptureFormTexts(QWidget* form);

/// Puts the texts of `texts` back into the widgets of `form` with the same names. Texts of one
/// character or none are left as the widgets have them, and so are lists whose number of items
/// changed since. The form's own caption is set unless `keepCaption`.
void ShowFormTexts(const TextForm& texts, QWidget* form, bool keepCaption);

} // namespace drex
