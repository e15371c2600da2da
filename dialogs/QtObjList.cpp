#include "dialogs/QtObjList.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QScrollBar>

#include "dialogs/object_list.h"
#include "shell/program.h"

namespace drex {

ObjListModel::ObjListModel(Program& program, QObject* parent) : QAbstractListModel(parent), program_(program) {}

int ObjListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

QVariant ObjListModel::data(const QModelIndex& index, int role) const {
  const int row = index.row();
  // The table may have shrunk since the last rebuild; such rows stay empty until the next one.
  if (!index.isValid() || row < 0 || row >= rows_ || row >= program_.Doc.ObjCount) return QVariant();
  if (role == Qt::DisplayRole) {
    const std::string line = ObjectListLine(program_.Doc, program_.Kinds, row + 1);
    return QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
  }
  if (role == Qt::CheckStateRole) return program_.Doc[row + 1].Visible ? Qt::Checked : Qt::Unchecked;
  return QVariant();
}

bool ObjListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  const int row = index.row();
  if (role != Qt::CheckStateRole || !index.isValid() || row >= rows_ || row >= program_.Doc.ObjCount) return false;
  ObjListClickCheck(program_, row, value.toInt() == Qt::Checked);
  Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
  Q_EMIT Changed();
  return true;
}

Qt::ItemFlags ObjListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable | Qt::ItemNeverHasChildren;
}

void ObjListModel::Rebuild() {
  beginResetModel();
  rows_ = std::max<int>(program_.Doc.ObjCount, 0);
  endResetModel();
}

ObjListView::ObjListView(Program& program, QWidget* parent)
    : QListView(parent), program_(program), model_(program, this) {
  setObjectName(QStringLiteral("ObjList"));
  setUniformItemSizes(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setModel(&model_);
  connect(&model_, &ObjListModel::Changed, this, &ObjListView::Changed);
  connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { CurrentMoved(current); });
  connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
    ObjListDblClick(program_, index.row());
    Q_EMIT Changed();
  });
}

void ObjListView::CurrentMoved(const QModelIndex& current) {
  if (syncing_ || !current.isValid()) return;
  ObjListClick(program_, current.row());
  shownCurrent_ = program_.List.Current;
  Q_EMIT Changed();
}

void ObjListView::Sync() {
  const ObjectListState& list = program_.List;
  syncing_ = true;
  const bool rebuild = !shownOnce_ || list.ListRevision != shownRevision_;
  const int scroll = verticalScrollBar()->value();
  if (rebuild) {
    model_.Rebuild();
    shownRevision_ = list.ListRevision;
    shownOnce_ = true;
    // Lay the rows out now, so that the scroll bar has its new range before it is set below.
    doItemsLayout();
  }
  const int rows = model_.rowCount();
  const int current = list.Current >= 0 && list.Current < rows ? list.Current : -1;
  const QModelIndex shown = currentIndex();
  if (current < 0) {
    if (shown.isValid()) selectionModel()->clear();
  } else if (!shown.isValid() || shown.row() != current) {
    selectionModel()->setCurrentIndex(model_.index(current), QItemSelectionModel::ClearAndSelect);
  }
  // A rebuild leaves the list where the user scrolled it; the view follows the current line only
  // when the core moved it.
  if (rebuild) verticalScrollBar()->setValue(scroll);
  if (current >= 0 && current != shownCurrent_) scrollTo(model_.index(current));
  shownCurrent_ = current;
  syncing_ = false;
}

void ObjListView::mousePressEvent(QMouseEvent* event) {
  // The right button only opens the pop-up menu, on its release; it does not move the current line.
  if (event->button() == Qt::RightButton) {
    event->accept();
    return;
  }
  QListView::mousePressEvent(event);
}

void ObjListView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::RightButton) {
    QListView::mouseReleaseEvent(event);
    return;
  }
  event->accept();
  const QModelIndex at = indexAt(event->position().toPoint());
  if (ObjListMouseUp(program_, MouseButton::Right, at.isValid() ? at.row() : -1))
    Q_EMIT PopupRequested(event->globalPosition().toPoint());
  Q_EMIT Changed();
}

void ObjListView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    event->accept();
    return;
  }
  QListView::mouseDoubleClickEvent(event);
}

void ObjListView::contextMenuEvent(QContextMenuEvent* event) {
  event->accept();
  // The mouse opens the menu on the right button's release; the menu key opens it on the current line.
  if (event->reason() != QContextMenuEvent::Keyboard) return;
  const QModelIndex current = currentIndex();
  if (!ObjListMouseUp(program_, MouseButton::Right, current.isValid() ? current.row() : -1)) return;
  const QRect line = visualRect(current).intersected(viewport()->rect());
  const QPoint at = line.isEmpty() ? viewport()->rect().center() : line.bottomLeft();
  Q_EMIT PopupRequested(viewport()->mapToGlobal(at));
}

} // namespace drex
