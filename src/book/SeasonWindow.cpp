#include "book/SeasonWindow.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>
#include <array>

#include "common/Codec.h"
#include "common/Fonts.h"

namespace orivel {
namespace {

struct MarkColumn {
  SeasonMark mark;
  const char16_t* caption;
};
constexpr std::array<MarkColumn, 3> kMarks = {{
    {SeasonMark::Sent, u"送"},
    {SeasonMark::Received, u"受"},
    {SeasonMark::Mourning, u"喪"},
}};

}  // namespace

SeasonWindow::SeasonWindow(AddressBook& book, QWidget* parent)
    : QWidget(parent, Qt::Window), book_(book) {
  setObjectName(QStringLiteral("SeasonWindow"));
  setWindowTitle(QStringLiteral("送受履歴"));
  setFont(fonts::proportionalGothic(12));
  RecordTable = new QTableWidget(0, 1 + kSeasonsShown * static_cast<int>(kMarks.size()), this);
  RecordTable->setObjectName(QStringLiteral("RecordTable"));
  RecordTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  RecordTable->verticalHeader()->hide();
  RecordTable->horizontalHeader()->setMinimumSectionSize(24);
  RecordTable->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 8);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(RecordTable);
  connect(RecordTable, &QTableWidget::cellChanged, this, &SeasonWindow::markToggled);
  connect(RecordTable, &QTableWidget::cellDoubleClicked, this, [this](int row, int column) {
    if (column == 0) emit lineActivated(row);
  });
  resize(660, 420);
}

int SeasonWindow::columnOf(int season, SeasonMark mark) const {
  const int back = season_ - season;
  if (back < 0 || back >= kSeasonsShown) return -1;
  for (std::size_t m = 0; m < kMarks.size(); ++m)
    if (kMarks[m].mark == mark)
      return 1 + back * static_cast<int>(kMarks.size()) + static_cast<int>(m);
  return -1;
}

void SeasonWindow::showRecord(int season) {
  season_ = season;
  filling_ = true;
  QStringList headers{QStringLiteral("名前")};
  for (int back = 0; back < kSeasonsShown; ++back)
    for (const MarkColumn& m : kMarks)
      headers << QStringLiteral("%1\n%2").arg(season - back).arg(QString::fromUtf16(m.caption));
  RecordTable->setHorizontalHeaderLabels(headers);
  RecordTable->setRowCount(book_.count());
  for (int row = 0; row < book_.count(); ++row) {
    const datatype& e = book_.entry(row);
    auto* name = new QTableWidgetItem(codec::toQString(e.name));
    name->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    RecordTable->setItem(row, 0, name);
    for (int back = 0; back < kSeasonsShown; ++back) {
      for (const MarkColumn& m : kMarks) {
        auto* box = new QTableWidgetItem;
        box->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        box->setCheckState(e.history.has(season - back, m.mark) ? Qt::Checked : Qt::Unchecked);
        RecordTable->setItem(row, columnOf(season - back, m.mark), box);
      }
    }
  }
  RecordTable->resizeColumnsToContents();
  filling_ = false;
  // As wide as the columns, so that all five seasons show at once.
  int width = 2 * RecordTable->frameWidth() + RecordTable->verticalScrollBar()->sizeHint().width();
  for (int c = 0; c < RecordTable->columnCount(); ++c) width += RecordTable->columnWidth(c);
  RecordTable->setMinimumWidth(width);
}

void SeasonWindow::markToggled(int row, int column) {
  if (filling_ || column < 1 || row < 0 || row >= book_.count()) return;
  const int back = (column - 1) / static_cast<int>(kMarks.size());
  const SeasonMark mark =
      kMarks[static_cast<std::size_t>((column - 1) % static_cast<int>(kMarks.size()))].mark;
  const bool on = RecordTable->item(row, column)->checkState() == Qt::Checked;
  if (book_.entry(row).history.has(season_ - back, mark) == on) return;
  book_.setSeasonMark(row, season_ - back, mark, on);
  emit recordChanged();
}

}  // namespace orivel
