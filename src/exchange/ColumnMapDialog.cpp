#include "exchange/ColumnMapDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace orivel {
namespace {

QString utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ColumnMapDialog::ColumnMapDialog(const CsvPreview& preview, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ColumnMapDialog"));
  setWindowTitle(QStringLiteral("列の割り当て"));
  auto* layout = new QVBoxLayout(this);
  auto* hint = new QLabel(
      QStringLiteral("各列の内容を選んでください。「使わない」列は読み込みません。"), this);
  layout->addWidget(hint);

  const int columns = static_cast<int>(preview.header.size());
  // Row 0 holds the meanings, row 1 the header, then the file's first rows.
  Grid = new QTableWidget(2 + static_cast<int>(preview.rows.size()), columns, this);
  Grid->setObjectName(QStringLiteral("Grid"));
  Grid->horizontalHeader()->setVisible(false);
  Grid->verticalHeader()->setVisible(false);
  Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  for (int c = 0; c < columns; ++c) {
    auto* box = new QComboBox(Grid);
    box->setObjectName(QStringLiteral("Meaning%1").arg(c + 1));
    for (int m = 0; m < kColumnMeaningCount; ++m)
      box->addItem(utf8(ColumnMeaningName(static_cast<ColumnMeaning>(m))), m);
    box->setCurrentIndex(
        box->findData(static_cast<int>(preview.guesses[static_cast<std::size_t>(c)])));
    Grid->setCellWidget(0, c, box);
    MeaningBoxes.push_back(box);
    auto* head = new QTableWidgetItem(utf8(preview.header[static_cast<std::size_t>(c)]));
    QFont bold = head->font();
    bold.setBold(true);
    head->setFont(bold);
    Grid->setItem(1, c, head);
    for (std::size_t r = 0; r < preview.rows.size(); ++r) {
      const std::vector<std::string>& row = preview.rows[r];
      const std::size_t at = static_cast<std::size_t>(c);
      QString text = at < row.size() ? utf8(row[at]) : QString();
      text.replace(QLatin1Char('\n'), QLatin1Char(' '));
      Grid->setItem(static_cast<int>(r) + 2, c, new QTableWidgetItem(text));
    }
  }
  Grid->resizeColumnsToContents();
  layout->addWidget(Grid);
  // Wide and high enough for every column and row, within reason.
  int width = 2 * Grid->frameWidth();
  for (int c = 0; c < columns; ++c) width += Grid->columnWidth(c);
  int height = 2 * Grid->frameWidth() + Grid->horizontalScrollBar()->sizeHint().height();
  for (int r = 0; r < Grid->rowCount(); ++r) height += Grid->rowHeight(r);
  Grid->setMinimumSize(std::min(width, 1000), std::min(height, 400));

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("読み込む"));
  buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

std::vector<ColumnMeaning> ColumnMapDialog::meanings() const {
  std::vector<ColumnMeaning> out;
  for (const QComboBox* box : MeaningBoxes)
    out.push_back(static_cast<ColumnMeaning>(box->currentData().toInt()));
  return out;
}

}  // namespace orivel
