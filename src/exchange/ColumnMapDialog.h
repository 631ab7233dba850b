#pragma once

#include <QDialog>
#include <vector>

#include "exchange/ForeignBook.h"

class QComboBox;
class QTableWidget;

namespace orivel {

// Shows the first rows of a CSV file of an unknown program and, above each column, what the
// column is taken for: the guess from its header, changeable to another meaning or to
// 使わない. The import goes on with meanings() when the dialog is accepted.
class ColumnMapDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit ColumnMapDialog(const CsvPreview& preview, QWidget* parent = nullptr);

  std::vector<ColumnMeaning> meanings() const;

  QTableWidget* Grid;                    // the header and the first rows
  std::vector<QComboBox*> MeaningBoxes;  // one a column, in the columns' order
};

}  // namespace orivel
