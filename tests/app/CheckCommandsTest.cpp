#include <QAction>
#include <QToolButton>

#include "app/TForm1.h"
#include "book/CheckListBox.h"
#include "support/FormsFixture.h"

namespace orivel::test {
namespace {

class CheckCommandsTest : public FormsTest {
 protected:
  // Line k-1 belongs to category k alone; line 6 to both birthday and Christmas.
  void fillBook() {
    for (int k = 1; k <= 6; ++k) {
      datatype e;
      e.name = "c" + std::to_string(k);
      e.ml[static_cast<std::size_t>(k - 1)] = 1;
      Form1->Book.append(e);
    }
    datatype both;
    both.name = "both";
    both.ml = {0, 0, 1, 1, 0, 0};
    Form1->Book.append(both);
  }
  // The marks as the list shows them, '1' checked and '0' unchecked.
  std::string marks() const {
    std::string out;
    auto* model = Form1->CheckListBox1->model();
    for (int i = 0; i < model->rowCount(); ++i)
      out += model->index(i, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked ? '1' : '0';
    return out;
  }
  void setMarks(const std::string& m) {
    for (int i = 0; i < static_cast<int>(m.size()); ++i)
      Form1->Book.setChecked(i, m[static_cast<std::size_t>(i)] == '1');
  }
};

// For each command: the marks before and after.
struct Case {
  const char* before;
  const char* after;
};
const Case kCases[9] = {
    {"1111111", "1000000"},  // 年賀状
    {"1111111", "0100000"},  // 暑中見舞い
    {"1111111", "0010001"},  // バースデー
    {"0000000", "0001001"},  // クリスマス
    {"1111111", "0000100"},  // その他１
    {"1111111", "0000010"},  // その他２
    {"0100100", "1111111"},  // 全てチェックオン
    {"1011011", "0000000"},  // 全てチェックオフ
    {"1100101", "0011010"},  // チェック入れ替え
};

TEST_F(CheckCommandsTest, EachSpeedButtonRunsItsOwnCommand) {
  fillBook();
  for (int i = 0; i < 9; ++i) {
    setMarks(kCases[i].before);
    Form1->SpeedButtons[static_cast<std::size_t>(i)]->click();
    EXPECT_EQ(marks(), kCases[i].after) << "SpeedButton" << i + 1;
  }
}

TEST_F(CheckCommandsTest, EachMenuTwinRunsTheSameCommand) {
  fillBook();
  for (int i = 0; i < 9; ++i) {
    QAction* a = Form1->SelectActions[static_cast<std::size_t>(i)];
    EXPECT_EQ(a->objectName(), QStringLiteral("N%1").arg(8 + i));
    setMarks(kCases[i].before);
    a->trigger();
    EXPECT_EQ(marks(), kCases[i].after) << "N" << 8 + i;
  }
}

TEST_F(CheckCommandsTest, AllThenInvertLeavesNothingAndInvertTwiceRestores) {
  fillBook();
  Form1->SpeedButtons[6]->click();
  Form1->SpeedButtons[8]->click();
  EXPECT_EQ(marks(), "0000000");
  setMarks("1010010");
  Form1->SelectActions[8]->trigger();
  Form1->SpeedButtons[8]->click();
  EXPECT_EQ(marks(), "1010010");
}

TEST_F(CheckCommandsTest, OnAnEmptyListNothingHappens) {
  for (QToolButton* b : Form1->SpeedButtons) b->click();
  for (QAction* a : Form1->SelectActions) a->trigger();
  Form1->N18->trigger();
  EXPECT_EQ(Form1->CheckListBox1->model()->rowCount(), 0);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_FALSE(Form1->Modified);
}

TEST_F(CheckCommandsTest, CheckWithoutASelectedLineDoesNothing) {
  fillBook();
  setMarks("0100000");
  ASSERT_EQ(Form1->CheckListBox1->ItemIndex(), -1);
  Form1->N18->trigger();
  EXPECT_EQ(marks(), "0100000");
}

TEST_F(CheckCommandsTest, CheckTicksOnlyTheSelectedLineAndNeverUnticks) {
  fillBook();
  setMarks("0100000");
  Form1->CheckListBox1->setItemIndex(4);
  Form1->N18->trigger();
  EXPECT_EQ(marks(), "0100100");
  Form1->N18->trigger();
  EXPECT_EQ(marks(), "0100100");
  EXPECT_FALSE(Form1->Modified);
}

TEST_F(CheckCommandsTest, CommandsChangeMarksButNeverEntries) {
  fillBook();
  const auto before = Form1->Book.entries();
  for (QToolButton* b : Form1->SpeedButtons) b->click();
  EXPECT_EQ(Form1->Book.entries(), before);
  EXPECT_FALSE(Form1->Modified);
}

}  // namespace
}  // namespace orivel::test
