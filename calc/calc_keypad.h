#pragma once
// The on-screen keypad of the calculation dialog and of the dynamic-expression dialog: which keys
// each of them shows, in the order they are laid out, with the hint of each key. A key acts on the
// box that has the focus through KeypadPress (dialogs/properties_model.h).

#include <cstddef>
#include <vector>

namespace drex {

/// The dialog a keypad belongs to.
enum class KeypadDialog { Calculation, DynExpr };

/// One key: the text it shows and inserts ("BS" and "Del" delete instead), and its hint ("" for
/// none). UTF-8.
struct CalcKey {
  const char* Caption;
  const char* Hint;
};

/// The keys of `dialog` in layout order, row by row, KeypadColumnsOf(dialog) to a row.
const std::vector<CalcKey>& KeypadKeys(KeypadDialog dialog);

/// Keys in one row of the keypad of `dialog`.
constexpr int KeypadColumnsOf(KeypadDialog dialog) { return dialog == KeypadDialog::Calculation ? 10 : 11; }

} // namespace drex
