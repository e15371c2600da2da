#include "shell/QtLanguage.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QTextDocument>
#include <QToolButton>

#include <functional>
#include <unordered_map>

#include "dialogs/QtFormText.h"
#include "kernel/cp1251.h"

namespace drex {
namespace {

/// What of a component the language file holds.
enum class Kind { None, MenuItem, Menu, ToolButton, Hint, Caption, CaptionHint, List, RadioGroup, TabSheet };

/// A page of a tab widget: its tab widget and index.
QTabWidget* TabOf(const QWidget* page, int& index) {
  auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
  auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
  index = tabs ? tabs->indexOf(const_cast<QWidget*>(page)) : -1;
  return index >= 0 ? tabs : nullptr;
}

Kind KindOf(QObject* object) {
  if (auto* action = qobject_cast<QAction*>(object)) return action->isSeparator() ? Kind::None : Kind::MenuItem;
  auto* w = qobject_cast<QWidget*>(object);
  if (!w) return Kind::None;
  if (qobject_cast<QMenu*>(w)) return Kind::Menu;
  if (auto* tool = qobject_cast<QToolButton*>(w)) return tool->defaultAction() ? Kind::ToolButton : Kind::CaptionHint;
  if (qobject_cast<QCheckBox*>(w) || qobject_cast<QRadioButton*>(w)) return Kind::CaptionHint;
  if (qobject_cast<QPushButton*>(w) || qobject_cast<QLabel*>(w)) return Kind::Caption;
  if (qobject_cast<QGroupBox*>(w))
    return w->property(RadioGroupProperty).toBool() ? Kind::RadioGroup : Kind::CaptionHint;
  if (qobject_cast<QComboBox*>(w) || qobject_cast<QListView*>(w)) return Kind::List;
  int index = 0;
  if (TabOf(w, index)) return Kind::TabSheet;
  if (qobject_cast<QToolBar*>(w) || qobject_cast<QStatusBar*>(w) || qobject_cast<QScrollBar*>(w)) return Kind::Hint;
  // A plain panel.
  const char* cls = w->metaObject()->className();
  if (qstrcmp(cls, "QWidget") == 0 || qstrcmp(cls, "QFrame") == 0) return Kind::Hint;
  return Kind::None;
}

bool Named(const QObject* object) {
  const QString name = object->objectName();
  return !name.isEmpty() && !name.startsWith(QStringLiteral("qt_"));
}

/// Every named component `owner` owns, depth first in creation order; other windows are left
/// out, menus (which are windows of their own) are not.
void VisitComponents(QObject* owner, const std::function<void(QObject*, Kind)>& visit) {
  for (QObject* child : owner->children()) {
    auto* w = qobject_cast<QWidget*>(child);
    if (w && w->isWindow() && !qobject_cast<QMenu*>(w)) continue;
    const Kind kind = KindOf(child);
    if (Named(child) && kind != Kind::None) visit(child, kind);
    // The radio buttons of a radio group are its items.
    if (kind == Kind::RadioGroup) continue;
    if (w) VisitComponents(w, visit);
  }
}

std::vector<QRadioButton*> RadioItems(QWidget* group) {
  const QList<QRadioButton*> items = group->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly);
  return std::vector<QRadioButton*>(items.begin(), items.end());
}

/// A text worth putting back: it was translatable.
bool Shown(const std::string& text) { return CharCount(text) > 1; }

/// A tool tip that shows `text` as it is: the toolkit would take text that looks like markup as
/// markup.
QString PlainTip(const std::string& text) {
  const QString tip = Q(text);
  return Qt::mightBeRichText(tip) ? QStringLiteral("<p>") + tip.toHtmlEscaped() + QStringLiteral("</p>") : tip;
}

void SetHint(QWidget* w, const std::string& hint) {
  if (!Shown(hint)) return;
  w->setToolTip(PlainTip(hint));
  w->setStatusTip(Q(hint));
}

} // namespace

TextForm CaptureFormTexts(QWidget* form) {
  TextForm texts;
  texts.Name = S(form->objectName());
  texts.Caption = S(form->windowTitle());
  VisitComponents(form, [&texts](QObject* object, Kind kind) {
    TextComponent c;
    c.Name = S(object->objectName());
    auto* w = qobject_cast<QWidget*>(object);
    switch (kind) {
    case Kind::MenuItem: {
      auto* action = static_cast<QAction*>(object);
      c.HasCaption = c.HasHint = true;
      c.Caption = S(action->text());
      c.Hint = S(action->statusTip());
      break;
    }
    case Kind::Menu:
      c.HasCaption = c.HasHint = true;
      c.Caption = S(static_cast<QMenu*>(w)->title());
      c.Hint = S(static_cast<QMenu*>(w)->menuAction()->statusTip());
      break;
    case Kind::ToolButton:
      c.HasHint = true;
      c.Hint = S(static_cast<QToolButton*>(w)->defaultAction()->toolTip());
      break;
    case Kind::Hint:
      c.HasHint = true;
      c.Hint = S(w->toolTip());
      break;
    case Kind::Caption:
    case Kind::CaptionHint:
      c.HasCaption = true;
      c.HasHint = kind == Kind::CaptionHint;
      if (auto* label = qobject_cast<QLabel*>(w))
        c.Caption = S(label->text());
      else if (auto* button = qobject_cast<QAbstractButton*>(w))
        c.Caption = S(button->text());
      else if (auto* group = qobject_cast<QGroupBox*>(w))
        c.Caption = S(group->title());
      if (c.HasHint) c.Hint = S(w->toolTip());
      break;
    case Kind::RadioGroup:
      c.HasCaption = c.HasHint = true;
      c.Caption = S(static_cast<QGroupBox*>(w)->title());
      c.Hint = S(w->toolTip());
      for (QRadioButton* item : RadioItems(w))
        c.Items.push_back(S(item->text()));
      break;
    case Kind::List:
      c.HasHint = true;
      c.Hint = S(w->toolTip());
      if (auto* combo = qobject_cast<QComboBox*>(w)) {
        for (int k = 0; k < combo->count(); ++k)
          c.Items.push_back(S(combo->itemText(k)));
      } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        for (int k = 0; k < list->count(); ++k)
          c.Items.push_back(S(list->item(k)->text()));
      }
      break;
    case Kind::TabSheet: {
      int index = 0;
      QTabWidget* tabs = TabOf(w, index);
      c.HasCaption = c.HasHint = true;
      c.Caption = S(tabs->tabText(index));
      c.Hint = S(tabs->tabToolTip(index));
      break;
    }
    case Kind::None:
      return;
    }
    texts.Components.push_back(std::move(c));
  });
  return texts;
}

void ShowFormTexts(const TextForm& texts, QWidget* form, bool keepCaption) {
  if (!keepCaption && Shown(texts.Caption)) form->setWindowTitle(Q(texts.Caption));
  std::unordered_map<std::string, const TextComponent*> byName;
  for (const TextComponent& c : texts.Components)
    byName.emplace(c.Name, &c);
  VisitComponents(form, [&byName](QObject* object, Kind kind) {
    const auto found = byName.find(S(object->objectName()));
    if (found == byName.end()) return;
    const TextComponent& c = *found->second;
    auto* w = qobject_cast<QWidget*>(object);
    switch (kind) {
    case Kind::MenuItem: {
      auto* action = static_cast<QAction*>(object);
      if (Shown(c.Caption)) {
        action->setText(Q(c.Caption));
        action->setIconText(WithoutAccessKey(Q(c.Caption)));
      }
      if (Shown(c.Hint)) action->setStatusTip(Q(c.Hint));
      break;
    }
    case Kind::Menu:
      if (Shown(c.Caption)) static_cast<QMenu*>(w)->setTitle(Q(c.Caption));
      if (Shown(c.Hint)) static_cast<QMenu*>(w)->menuAction()->setStatusTip(Q(c.Hint));
      break;
    case Kind::ToolButton:
      if (Shown(c.Hint)) static_cast<QToolButton*>(w)->defaultAction()->setToolTip(PlainTip(c.Hint));
      break;
    case Kind::Hint:
      SetHint(w, c.Hint);
      break;
    case Kind::Caption:
    case Kind::CaptionHint:
      if (Shown(c.Caption)) {
        if (auto* label = qobject_cast<QLabel*>(w)) {
          label->setTextFormat(Qt::PlainText);
          label->setText(Q(c.Caption));
        } else if (auto* button = qobject_cast<QAbstractButton*>(w))
          button->setText(Q(c.Caption));
        else if (auto* group = qobject_cast<QGroupBox*>(w))
          group->setTitle(Q(c.Caption));
      }
      if (kind == Kind::CaptionHint) SetHint(w, c.Hint);
      break;
    case Kind::RadioGroup: {
      if (Shown(c.Caption)) static_cast<QGroupBox*>(w)->setTitle(Q(c.Caption));
      SetHint(w, c.Hint);
      const std::vector<QRadioButton*> items = RadioItems(w);
      if (items.size() == c.Items.size())
        for (std::size_t k = 0; k < items.size(); ++k)
          if (Shown(c.Items[k])) items[k]->setText(Q(c.Items[k]));
      break;
    }
    case Kind::List:
      SetHint(w, c.Hint);
      // Item texts change in place, so the chosen item stays chosen.
      if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (combo->count() == static_cast<int>(c.Items.size()))
          for (int k = 0; k < combo->count(); ++k)
            if (Shown(c.Items[static_cast<std::size_t>(k)]))
              combo->setItemText(k, Q(c.Items[static_cast<std::size_t>(k)]));
      } else if (auto* list = qobject_cast<QListWidget*>(w)) {
        if (list->count() == static_cast<int>(c.Items.size()))
          for (int k = 0; k < list->count(); ++k)
            if (Shown(c.Items[static_cast<std::size_t>(k)]))
              list->item(k)->setText(Q(c.Items[static_cast<std::size_t>(k)]));
      }
      break;
    case Kind::TabSheet: {
      int index = 0;
      QTabWidget* tabs = TabOf(w, index);
      if (Shown(c.Caption)) tabs->setTabText(index, Q(c.Caption));
      if (Shown(c.Hint)) tabs->setTabToolTip(index, PlainTip(c.Hint));
      break;
    }
    case Kind::None:
      break;
    }
  });
}

} // namespace drex
