#include "calc/calc_keypad.h"

#include <cstdint>

namespace drex {
namespace {

enum KeyUse : uint8_t { Both = 3, OnlyCalculation = 1, OnlyDynExpr = 2 };

struct KeyRow {
  const char* Caption;
  const char* Hint;     ///< hint in the calculation dialog
  const char* ExprHint; ///< hint in the dynamic-expression dialog
  uint8_t Use;
};

// Digits and editing keys first, then the operators, the functions, and the variables and
// measurement calls last.
constexpr KeyRow Keys[] = {
    {"1", "", "", Both},
    {"2", "", "", Both},
    {"3", "", "", Both},
    {"4", "", "", Both},
    {"5", "", "", Both},
    {"6", "", "", Both},
    {"7", "", "", Both},
    {"8", "", "", Both},
    {"9", "", "", Both},
    {"0", "", "", Both},
    {".", "Крапка", "Крапка", Both},
    {"BS", "Знищити символ зліва", "Знищити символ зліва", Both},
    {"Del", "Знищити символ справа", "Знищити символ справа", Both},
    {"+", "", "", Both},
    {"-", "Мінус", "Мінус", Both},
    {"*", "", "", Both},
    {"/", "", "", Both},
    {"^", "Степінь", "Степінь", Both},
    {"(", "Ліва дужка", "Ліва дужка", Both},
    {")", "Права дужка", "Права дужка", Both},
    {"Sin(", "Синус", "Синус", Both},
    {"Cos(", "Косинус", "Косинус", Both},
    {"Tg(", "Тангенс", "Тангенс", Both},
    {"CTg(", "Котангенс", "Котангенс", Both},
    {"ASin(", "Арксинус", "Арксинус", Both},
    {"ACos(", "Арккосинус", "Арккосинус", Both},
    {"ATg(", "Арктангенс", "Арктангенс", Both},
    {"ACTg(", "Арккотангенс", "Арккотангенс", Both},
    {"Exp(", "Експонента", "Експонента", Both},
    {"Ln(", "Натуральний логарифм", "Натуральний логарифм", Both},
    {"Lg(", "Десятковий логарифм", "Десятковий логарифм", Both},
    {"Sqrt(", "Квадратний корінь", "Квадратний корінь", Both},
    {"Abs(", "Модуль", "Модуль", Both},
    {"Int(", "Ціла частина", "Ціла частина", Both},
    {"Pi", "3.141593...", "3.141593...", Both},
    {"X", "Змінна X", "", Both},
    {"Y", "Змінна Y", "", Both},
    {"Z", "Змінна Z", "", Both},
    {"Len(", "", "Відстань (довжина)", OnlyDynExpr},
    {"Angle(", "", "Кут", OnlyDynExpr},
    {"Area(", "", "Площа", OnlyDynExpr},
};

std::vector<CalcKey> Select(KeypadDialog dialog) {
  const uint8_t use = dialog == KeypadDialog::Calculation ? OnlyCalculation : OnlyDynExpr;
  std::vector<CalcKey> keys;
  for (const KeyRow& k : Keys)
    if (k.Use & use) keys.push_back({k.Caption, dialog == KeypadDialog::Calculation ? k.Hint : k.ExprHint});
  return keys;
}

} // namespace

const std::vector<CalcKey>& KeypadKeys(KeypadDialog dialog) {
  static const std::vector<CalcKey> calculation = Select(KeypadDialog::Calculation);
  static const std::vector<CalcKey> expression = Select(KeypadDialog::DynExpr);
  return dialog == KeypadDialog::Calculation ? calculation : expression;
}

} // namespace drex
