#include "book/CheckListBox.h"

#include <QContextMenuEvent>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>

namespace orivel {

CheckListBox::CheckListBox(QWidget* parent) : QListView(parent) {
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setUniformItemSizes(true);
  setContextMenuPolicy(Qt::DefaultContextMenu);
}

int CheckListBox::ItemIndex() const {
  if (!selectionModel()) return -1;
  const QModelIndexList rows = selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void CheckListBox::setItemIndex(int line) {
  if (!model() || !selectionModel()) return;
  if (line < 0 || line >= model()->rowCount()) {
    selectionModel()->clearSelection();
    return;
  }
  const QModelIndex i = model()->index(line, 0);
  selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
}

void CheckListBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    emit popupRequested(event->globalPosition().toPoint());
    event->accept();
    return;
  }
  QListView::mousePressEvent(event);
}

void CheckListBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    event->accept();
    return;
  }
  QListView::mouseReleaseEvent(event);
}

void CheckListBox::contextMenuEvent(QContextMenuEvent* event) {
  // The menu opens on the button press already; a keyboard menu key opens it here.
  if (event->reason() != QContextMenuEvent::Mouse) emit popupRequested(event->globalPos());
  event->accept();
}

void CheckListBox::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete) {
    emit deletePressed();
    event->accept();
    return;
  }
  QListView::keyPressEvent(event);
}

}  // namespace orivel
