#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <filesystem>

#include "app/TForm1.h"
#include "book/CheckListBox.h"
#include "book/TForm4.h"
#include "common/Codec.h"
#include "files/FileBytes.h"
#include "postal/FindingsWindow.h"
#include "postal/PostalService.h"
#include "support/FormsFixture.h"

namespace orivel::test {
namespace {

std::string cp932(const QString& s) {
  return codec::encodeKnown(s);
}

datatype entry(const QString& name, const QString& zip, const QString& address) {
  datatype e;
  e.name = cp932(name);
  e.zip_code = cp932(zip);
  e.address = cp932(address);
  e.sama = cp932(QStringLiteral("様"));
  return e;
}

class PostalWindowsTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    Form1->Postal = &service;
    Form4->Postal = &service;
  }
  postal::PostalService service{{std::filesystem::path(ORIVEL_TEST_DATA) / "postal-dict.txt"}, {}};
  QTemporaryDir dir;
};

TEST_F(PostalWindowsTest, ExportWritesTheBookAndAddsTheExtensionAndLeavesModifiedAlone) {
  Form1->Book.append(
      entry(QStringLiteral("青木"), QStringLiteral("150-0001"), QStringLiteral("東京都")));
  dialogs.paths = {dir.filePath(QStringLiteral("book"))};
  Form1->Button6->click();
  EXPECT_EQ(dialogs.filters,
            QStringList{QStringLiteral("CSVファイル (*.csv)|*.csv|vCard (*.vcf)|*.vcf")});
  EXPECT_TRUE(dialogs.shown.empty());
  std::string bytes;
  ASSERT_EQ(ReadFileBytes(filePath(dir.filePath(QStringLiteral("book.csv"))), &bytes),
            FileReadStatus::Ok);
  EXPECT_TRUE(bytes.ends_with(cp932(QStringLiteral("\r\n青木,150-0001,東京都,,,,,,,様\r\n"))));
  EXPECT_FALSE(Form1->Modified);
}

TEST_F(PostalWindowsTest, ExportSaysWhichEntryAndFieldHoldsAComma) {
  for (const QString& address :
       {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("東京都,渋谷区")})
    Form1->Book.append(entry(QStringLiteral("名"), {}, address));
  const QString path = dir.filePath(QStringLiteral("x.csv"));
  dialogs.paths = {path};
  Form1->N4->trigger();
  EXPECT_EQ(dialogs.texts(),
            QStringList{QStringLiteral("3件目の住所に「,」があるため書き出せません。")});
  EXPECT_EQ(dialogs.shown.at(0).title, QStringLiteral("ＥＲＲＯＲ"));
  EXPECT_FALSE(QFile::exists(path));
}

TEST_F(PostalWindowsTest, AFailedExportSaysSo) {
  Form1->Book.append(entry(QStringLiteral("名"), {}, {}));
  dialogs.paths = {dir.filePath(QStringLiteral("no/such/folder/x.csv"))};
  Form1->Button6->click();
  EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("保存に失敗しました。")});
}

TEST_F(PostalWindowsTest, TheCheckListsFindingsAndADoubleClickEditsThatLine) {
  Form1->Book.append(entry(QStringLiteral("正しい"), QStringLiteral("150-0001"),
                           QStringLiteral("東京都渋谷区神宮前１")));
  Form1->Book.append(entry(QStringLiteral("違う"), QStringLiteral("150-0001"),
                           QStringLiteral("東京都新宿区西新宿２")));
  Form1->Button7->click();
  ASSERT_NE(Form1->FindingsWindow1, nullptr);
  EXPECT_TRUE(Form1->FindingsWindow1->isVisible());
  QTableWidget* table = Form1->FindingsWindow1->FindingsTable;
  ASSERT_EQ(table->rowCount(), 1);
  QStringList row;
  for (int c = 0; c < table->columnCount(); ++c) row << table->item(0, c)->text();
  EXPECT_EQ(
      row, (QStringList{"2", "違う", "150-0001", "東京都新宿区西新宿２",
                        "住所の市区町村が郵便番号と合いません", "東京都渋谷区神宮前", "160-0023"}));
  QString shownName;
  whenModal([&](QWidget*) {
    shownName = Form4->Edit1->text();
    Form4->setZipBytes("160-0023");
    Form4->Button1->click();
  });
  emit table->cellDoubleClicked(0, 3);
  EXPECT_EQ(shownName, QStringLiteral("違う"));
  EXPECT_EQ(Form1->Book.entry(1).zip_code, "160-0023");
  EXPECT_TRUE(Form1->Modified);
  EXPECT_EQ(table->rowCount(), 0);  // the findings follow the edit
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PostalWindowsTest, TheFindingsFollowLinesAddedRemovedAndLoaded) {
  const datatype wrong = entry(QStringLiteral("違う"), QStringLiteral("150-0001"),
                               QStringLiteral("東京都新宿区西新宿２"));
  const datatype right = entry(QStringLiteral("正しい"), QStringLiteral("150-0001"),
                               QStringLiteral("東京都渋谷区神宮前１"));
  Form1->Book.append(right);
  Form1->Book.append(wrong);
  Form1->Button7->click();
  ASSERT_NE(Form1->FindingsWindow1, nullptr);
  EXPECT_EQ(Form1->FindingsWindow1->lineOfRow(0), 1);
  Form1->Book.remove(0);  // the finding moves up a line with its entry
  ASSERT_EQ(Form1->FindingsWindow1->rowCount(), 1);
  EXPECT_EQ(Form1->FindingsWindow1->lineOfRow(0), 0);
  Form1->Book.append(wrong);
  EXPECT_EQ(Form1->FindingsWindow1->rowCount(), 2);
  Form1->ClearBook();
  EXPECT_EQ(Form1->FindingsWindow1->rowCount(), 0);
}

TEST_F(PostalWindowsTest, ABookWithoutProblemsSaysSo) {
  Form1->Book.append(entry(QStringLiteral("正しい"), QStringLiteral("150-0001"),
                           QStringLiteral("東京都渋谷区神宮前１")));
  Form1->AddressCheck1->trigger();
  EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("問題は見つかりませんでした。")});
  EXPECT_EQ(dialogs.shown.at(0).title, QStringLiteral("Ｉｎｆｏｒｍａｔｉｏｎ"));
  EXPECT_EQ(Form1->FindingsWindow1, nullptr);
}

void typeDigits(const char* digits) {
  for (const char* d = digits; *d; ++d) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + (*d - '0'), Qt::NoModifier, QString(QChar(*d)));
    QApplication::sendEvent(Form4->MaskEdit2, &key);
  }
}

TEST_F(PostalWindowsTest, SevenDigitsFillAnEmptyAddressAndPutTheCursorAtItsEnd) {
  struct Case {
    const char* digits;
    QString before;
    QString after;
  } cases[] = {
      {"1500001", {}, QStringLiteral("東京都渋谷区神宮前")},
      {"0028089", {}, QStringLiteral("北海道石狩郡当別町ビトエ")},  // two candidates
      {"1500001", QStringLiteral("手書き"), QStringLiteral("手書き")},
      {"1500009", {}, {}},  // not in the dictionary
      {"150000", {}, {}},   // six digits
  };
  for (const Case& c : cases) {
    QString address;
    int cursor = -1;
    bool focusInAddress = false;
    whenModal([&](QWidget*) {
      Form4->MaskEdit2->setFocus();
      typeDigits(c.digits);
      address = Form4->Edit3->text();
      cursor = Form4->Edit3->cursorPosition();
      focusInAddress = Form4->focusWidget() == Form4->Edit3;
      Form4->Button2->click();
    });
    Form4->Prepare(1, 2, 3);
    Form4->Edit3->setText(c.before);
    Form4->ShowModal();
    EXPECT_EQ(address, c.after) << c.digits;
    if (c.before.isEmpty() && !c.after.isEmpty()) {
      EXPECT_EQ(cursor, c.after.size());
      EXPECT_TRUE(focusInAddress);
    }
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(PostalWindowsTest, WithoutADictionaryTheCheckSaysSoAndTheEditorOnce) {
  postal::PostalService none{{}, {}};
  Form1->Postal = &none;
  Form4->Postal = &none;
  Form1->Button7->click();
  EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("郵便番号辞書が見つかりません。")});
  for (int i = 0; i < 2; ++i) {
    whenModal([&](QWidget*) {
      Form4->MaskEdit2->setFocus();
      typeDigits("1500001");
      Form4->Button2->click();
    });
    Form4->Prepare(1, 2, 3);
    Form4->ShowModal();
  }
  EXPECT_EQ(dialogs.texts(), (QStringList{QStringLiteral("郵便番号辞書が見つかりません。"),
                                          QStringLiteral("郵便番号辞書が見つかりません。")}));
  EXPECT_TRUE(Form4->Edit3->text().isEmpty());
}

}  // namespace
}  // namespace orivel::test
