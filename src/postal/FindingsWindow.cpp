#include "postal/FindingsWindow.h"

#include <QHeaderView>
#include <QStringList>
#include <QTableWidget>
#include <QVBoxLayout>

#include "common/Codec.h"
#include "common/Fonts.h"
#include "common/Messages.h"

namespace orivel {
namespace {

enum Column { kLine, kName, kZip, kAddress, kProblem, kExpected, kCodes, kColumns };

QString joined(const std::vector<std::string>& texts) {
  QStringList list;
  for (const std::string& t : texts) list << codec::toQString(t);
  return list.join(QStringLiteral("／"));
}

QString codesText(const std::vector<std::uint32_t>& codes) {
  QStringList list;
  for (std::uint32_t c : codes) list << QString::fromStdString(postal::FormatZipCode(c));
  return list.join(QStringLiteral(" "));
}

// What a finding says.
QString addressProblem(postal::Problem problem) {
  switch (problem) {
    case postal::Problem::Missing:
      return QStringLiteral("郵便番号がありません");
    case postal::Problem::Malformed:
      return QStringLiteral("郵便番号が7桁ではありません");
    case postal::Problem::Unknown:
      return QStringLiteral("辞書にない郵便番号です");
    case postal::Problem::City:
      return QStringLiteral("住所の市区町村が郵便番号と合いません");
    case postal::Problem::Town:
      return QStringLiteral("住所の町域が郵便番号と合いません");
  }
  return {};
}

}  // namespace

FindingsWindow::FindingsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("FindingsWindow"));
  setWindowTitle(QStringLiteral("住所確認"));
  setFont(fonts::proportionalGothic(12));
  resize(900, 320);
  FindingsTable = new QTableWidget(0, kColumns, this);
  FindingsTable->setObjectName(QStringLiteral("FindingsTable"));
  FindingsTable->setHorizontalHeaderLabels({QStringLiteral("行"), QStringLiteral("名前"),
                                            QStringLiteral("郵便番号"), QStringLiteral("住所"),
                                            QStringLiteral("指摘"), QStringLiteral("辞書の住所"),
                                            QStringLiteral("住所に合う郵便番号")});
  FindingsTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FindingsTable->setSelectionBehavior(QAbstractItemView::SelectRows);
  FindingsTable->setSelectionMode(QAbstractItemView::SingleSelection);
  FindingsTable->verticalHeader()->hide();
  FindingsTable->horizontalHeader()->setStretchLastSection(true);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(FindingsTable);
  connect(FindingsTable, &QTableWidget::cellDoubleClicked, this,
          [this](int row, int) { emit lineActivated(lineOfRow(row)); });
}

void FindingsWindow::showFindings(const AddressBook& book,
                                  const std::vector<postal::Finding>& findings) {
  FindingsTable->setRowCount(static_cast<int>(findings.size()));
  for (int row = 0; row < static_cast<int>(findings.size()); ++row) {
    const postal::Finding& f = findings[static_cast<std::size_t>(row)];
    const datatype& e = book.entry(f.index);
    const QString texts[kColumns] = {QString::number(f.index + 1),
                                     codec::toQString(e.name),
                                     codec::toQString(e.zip_code),
                                     codec::toQString(e.address),
                                     addressProblem(f.problem),
                                     joined(f.expected),
                                     codesText(f.codes)};
    for (int c = 0; c < kColumns; ++c) {
      auto* item = new QTableWidgetItem(texts[c]);
      if (c == kLine) item->setData(Qt::UserRole, f.index);
      FindingsTable->setItem(row, c, item);
    }
  }
  FindingsTable->resizeColumnsToContents();
}

int FindingsWindow::rowCount() const {
  return FindingsTable->rowCount();
}

int FindingsWindow::lineOfRow(int row) const {
  const QTableWidgetItem* item = FindingsTable->item(row, kLine);
  return item ? item->data(Qt::UserRole).toInt() : -1;
}

}  // namespace orivel
