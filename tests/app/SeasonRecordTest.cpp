#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include "app/TForm1.h"
#include "book/SeasonWindow.h"
#include "book/TForm4.h"
#include "common/Codec.h"
#include "support/FormsFixture.h"

namespace orivel::test {
namespace {

class SeasonRecordTest : public FormsTest {
 protected:
  void add(const char* name, bool newYear, const char* history) {
    datatype e;
    e.name = name;
    e.ml[0] = newYear ? 1 : 0;
    e.history = SeasonRecord::parse(history);
    ASSERT_TRUE(Form1->Book.append(e));
  }
  const int season = ThisSeason();
};

TEST_F(SeasonRecordTest, TheWindowShowsFiveSeasonsAndWritesAChangeAtOnce) {
  const std::string old = std::to_string(season - 9) + "S";
  const std::string last = std::to_string(season - 1) + "R";
  add("a", true, (old + "," + last).c_str());
  add("b", true, "");
  Form1->SeasonRecord1->trigger();
  SeasonWindow* window = Form1->SeasonWindow1;
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  QTableWidget* table = window->RecordTable;
  ASSERT_EQ(table->rowCount(), 2);
  ASSERT_EQ(table->columnCount(), 16);
  EXPECT_EQ(table->horizontalHeaderItem(1)->text(), QStringLiteral("%1\n送").arg(season));
  EXPECT_EQ(table->horizontalHeaderItem(15)->text(), QStringLiteral("%1\n喪").arg(season - 4));
  EXPECT_EQ(table->item(0, window->columnOf(season - 1, SeasonMark::Received))->checkState(),
            Qt::Checked);
  int checkedBoxes = 0;
  for (int c = 1; c < 16; ++c) checkedBoxes += table->item(0, c)->checkState() == Qt::Checked;
  EXPECT_EQ(checkedBoxes, 1);

  table->item(0, window->columnOf(season, SeasonMark::Mourning))->setCheckState(Qt::Checked);
  table->item(0, window->columnOf(season - 1, SeasonMark::Received))->setCheckState(Qt::Unchecked);
  EXPECT_TRUE(Form1->Modified);
  // The season nine years back is outside the window and stays.
  EXPECT_EQ(Form1->Book.entry(0).history.text(), old + "," + std::to_string(season) + "M");

  // A double click on a name edits that line; the edit keeps the record.
  QString shownName;
  whenModal([&](QWidget*) {
    shownName = Form4->Edit1->text();
    Form4->Button1->click();
  });
  emit table->cellDoubleClicked(1, 0);
  EXPECT_EQ(shownName, QStringLiteral("b"));
  whenModal([&](QWidget*) { Form4->Button1->click(); });
  emit table->cellDoubleClicked(0, 0);
  EXPECT_EQ(Form1->Book.entry(0).history.text(), old + "," + std::to_string(season) + "M");
}

TEST_F(SeasonRecordTest, EachSelectionMenuEntryTicksItsLines) {
  const std::string s = std::to_string(season);
  add("send", true, "");
  add("mourn", true, (s + "M").c_str());
  add("answer", false, (s + "R").c_str());
  add("done", true, (s + "SR").c_str());
  const std::vector<std::pair<QAction*, std::vector<int>>> cases = {
      {Form1->SeasonSelectActions[0], {0, 3}},
      {Form1->SeasonSelectActions[1], {2}},
      {Form1->SeasonSelectActions[2], {1}},
  };
  for (const auto& [action, lines] : cases) {
    action->trigger();
    EXPECT_EQ(Form1->Book.checkedLines(), lines) << action->text().toStdString();
  }
  EXPECT_EQ(Form1->SeasonSelectActions[0]->text(), QStringLiteral("今年の年賀状"));
  EXPECT_EQ(Form1->SeasonSelectActions[1]->text(), QStringLiteral("返事が必要"));
  EXPECT_EQ(Form1->SeasonSelectActions[2]->text(), QStringLiteral("喪中の方"));
  EXPECT_FALSE(Form1->Modified);
}

}  // namespace
}  // namespace orivel::test
