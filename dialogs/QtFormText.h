#pragma once
// What every form needs to hand texts between the core and its widgets: UTF-8 to QString and
// back, character positions (the core counts characters, a QString UTF-16 units), the Enter key,
// the colour of a box's text, and a guard that marks the form as filling its own widgets.

#include <QColor>
#include <QComboBox>
#include <QLineEdit>
#include <QEvent>
#include <QKeyEvent>
#include <QPalette>
#include <QString>
#include <QWidget>

#include <algorithm>
#include <string>
#include <vector>

namespace drex {

inline QString Q(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
inline QString Q(const char* utf8) { return QString::fromUtf8(utf8); }
inline std::string S(const QString& text) { return text.toUtf8().toStdString(); }

/// Marks a group box whose radio buttons are the items of one radio group (for the language files).
constexpr const char* RadioGroupProperty = "drexRadioGroup";

/// A caption without its access-key marks, as a tool button shows it.
inline QString WithoutAccessKey(QString caption) { return caption.remove(QLatin1Char('&')); }

/// The character index of UTF-16 position `utf16` of `text`.
inline int CharIndex(const QString& text, int utf16) {
  int chars = 0;
  for (int i = 0; i < utf16 && i < text.size(); ++chars)
    i += text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
  return chars;
}

/// The UTF-16 position of character `chars` of `text`.
inline int Utf16Index(const QString& text, int chars) {
  int i = 0;
  for (int k = 0; k < chars && i < text.size(); ++k)
    i += text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
  return i;
}

inline bool IsEnterKey(const QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<const QKeyEvent*>(event)->key();
  return key == Qt::Key_Return || key == Qt::Key_Enter;
}

/// The text colour of an invalid entry.
inline const QColor RedText(255, 0, 0);

inline void SetTextColor(QWidget* widget, const QColor& color) {
  QPalette pal = widget->palette();
  pal.setColor(QPalette::Text, color);
  widget->setPalette(pal);
}

/// Sets a flag for the lifetime of the guard and restores what it was.
class FillGuard {
public:
  explicit FillGuard(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
  ~FillGuard() { flag_ = was_; }
  FillGuard(const FillGuard&) = delete;
  FillGuard& operator=(const FillGuard&) = delete;

private:
  bool& flag_;
  bool was_;
};

/// Shows an editable box: its history as the drop-down list (refilled only when it changed) and
/// `text` in the edit line, with the caret left where it was.
inline void ShowHistoryBox(QComboBox* combo, const std::vector<std::string>& history, const std::string& utf8) {
  bool same = combo->count() == static_cast<int>(history.size());
  for (int k = 0; same && k < combo->count(); ++k)
    same = S(combo->itemText(k)) == history[static_cast<std::size_t>(k)];
  const int caret = combo->lineEdit()->cursorPosition();
  if (!same) {
    combo->clear();
    for (const std::string& entry : history)
      combo->addItem(Q(entry));
    combo->setCurrentIndex(-1);
  }
  const QString text = Q(utf8);
  if (combo->currentText() != text) {
    combo->setEditText(text);
    combo->lineEdit()->setCursorPosition(std::min(caret, static_cast<int>(text.size())));
  }
}

} // namespace drex
