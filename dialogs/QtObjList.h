#pragma once
// The object list `ObjList` of the right panel: a list view over the construction, row k for
// object k + 1, its text the object's list line and its check box the object's visibility. Rows
// are no widgets: the model reads the construction when a row is painted, so a list of 10000
// objects costs what its visible rows cost. The view hands clicks, check boxes, double clicks and
// the right button to the core's list functions and shows the core's current line.

#include <QAbstractListModel>
#include <QListView>

namespace drex {

class Program;

/// One row per object of the construction as the list was last rebuilt.
class ObjListModel : public QAbstractListModel {
  Q_OBJECT
public:
  explicit ObjListModel(Program& program, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  /// A changed check box shows or hides its object (ObjListClickCheck).
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  /// Takes the construction's object count again: one model reset.
  void Rebuild();

Q_SIGNALS:
  /// A check box changed the construction.
  void Changed();

private:
  Program& program_;
  int rows_ = 0;
};

class ObjListView : public QListView {
  Q_OBJECT
public:
  ObjListView(Program& program, QWidget* parent = nullptr);

  ObjListModel& Model() { return model_; }

  /// Shows the core's list: rebuilds the rows when the list was rebuilt since the last call
  /// (keeping the scroll position when the count stayed), makes the core's current line current
  /// and scrolls it into view when the core moved it.
  void Sync();

Q_SIGNALS:
  /// A click, key, check box or double click changed the program's state.
  void Changed();
  /// The pop-up menu is to open at `globalPos` (PopupItem is set).
  void PopupRequested(const QPoint& globalPos);

protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

private:
  void CurrentMoved(const QModelIndex& current);

  Program& program_;
  ObjListModel model_;
  unsigned shownRevision_ = 0;
  bool shownOnce_ = false;
  int shownCurrent_ = -1;
  bool syncing_ = false;
};

} // namespace drex
