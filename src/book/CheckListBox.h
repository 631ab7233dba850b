#pragma once

#include <QListView>

namespace orivel {

// The address list. Unlike a plain list view, the right button does not move the
// selection: it only asks for the pop-up menu, so the menu acts on the line selected before.
class CheckListBox final : public QListView {
  Q_OBJECT
 public:
  explicit CheckListBox(QWidget* parent = nullptr);

  // The selected line, or -1 when no line is selected.
  int ItemIndex() const;
  void setItemIndex(int line);

 signals:
  void deletePressed();
  void popupRequested(const QPoint& globalPos);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
};

}  // namespace orivel
