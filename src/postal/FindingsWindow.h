#pragma once

#include <QWidget>
#include <vector>

#include "book/AddressBook.h"
#include "postal/AddressCheck.h"

class QTableWidget;

namespace orivel {

// The findings of the address check, one row each: line, name, postal code, address, the
// finding, the dictionary's address for the code and the codes the address matches. A double
// click on a row asks for that line's entry editor.
class FindingsWindow final : public QWidget {
  Q_OBJECT
 public:
  explicit FindingsWindow(QWidget* parent = nullptr);

  void showFindings(const AddressBook& book, const std::vector<postal::Finding>& findings);
  int rowCount() const;
  // The line (from 0) of the entry a row shows.
  int lineOfRow(int row) const;

  QTableWidget* FindingsTable;

 signals:
  void lineActivated(int line);
};

}  // namespace orivel
