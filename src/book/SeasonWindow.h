#pragma once

#include <QWidget>

#include "book/AddressBook.h"

class QTableWidget;

namespace orivel {

// 送受履歴: one row per entry in list order, and for the season shown and the four before it
// a check box each for 送 (sent), 受 (received) and 喪 (mourning). A change is written into
// the book at once; seasons outside the five are left as they are. A double click on a name
// asks for that line's entry editor.
class SeasonWindow final : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kSeasonsShown = 5;

  explicit SeasonWindow(AddressBook& book, QWidget* parent = nullptr);

  // Shows the book's record from `season` back over the four seasons before it.
  void showRecord(int season);
  int season() const { return season_; }
  // The cell of a line's mark in a season, for the tests and the keyboard alike.
  int columnOf(int season, SeasonMark mark) const;

  QTableWidget* RecordTable;

 signals:
  void recordChanged();
  void lineActivated(int line);

 private:
  void markToggled(int row, int column);

  AddressBook& book_;
  int season_ = 0;
  bool filling_ = false;
};

}  // namespace orivel
