#include <QAction>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include "app/TForm1.h"
#include "book/CheckListBox.h"
#include "common/Codec.h"
#include "exchange/ForeignBook.h"
#include "support/FormsFixture.h"

namespace orivel::test {
namespace {

class ImportCsvTest : public FormsTest {
 protected:
  // Writes the bytes as they are and returns the path.
  QString write(const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    return path;
  }
  // Writes the text in code page 932.
  QString writeCp932(const QString& name, const QString& text) {
    const std::string bytes = codec::encodeKnown(text);
    return write(name, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  }
  void importFrom(const QString& path) {
    dialogs.paths = {path};
    Form1->Button5->click();
  }
  QStringList lines() const {
    QStringList out;
    auto* model = Form1->CheckListBox1->model();
    for (int i = 0; i < model->rowCount(); ++i) out << model->index(i, 0).data().toString();
    return out;
  }
  QString text(const std::string& cp932) const { return codec::toQString(cp932); }
  void addEntry(const QString& name) {
    datatype e;
    e.name = codec::encodeKnown(name);
    Form1->Book.append(e);
  }

  QTemporaryDir dir;
};

const QString kHeader = QStringLiteral(
    "名前,郵便番号,住所,年賀状,暑中見舞い,バースデー,クリスマス,その他１,その他２,敬称");

TEST_F(ImportCsvTest, ImportsTheDataFileAfterTheEntriesThereUnchecked) {
  addEntry(QStringLiteral("鈴木"));
  Form1->Book.setChecked(0, true);
  importFrom(QStringLiteral(ORIVEL_TEST_DATA "/addressees-crlf.csv"));
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(dialogs.filters,
            QStringList{QStringLiteral("ＣＳＶファイル(*.csv)|*.csv|全てのファイル(*.*)|*.*")});
  EXPECT_EQ(lines(), (QStringList{"鈴木", "宛名見本", "宛名見本二", "山田 太郎"}));
  EXPECT_TRUE(Form1->Book.isChecked(0));
  for (int i = 1; i < 4; ++i) EXPECT_FALSE(Form1->Book.isChecked(i)) << i;
  const datatype& first = Form1->Book.entry(1);
  EXPECT_EQ(text(first.zip_code), QStringLiteral("100-0001"));
  EXPECT_EQ(text(first.address), QStringLiteral("住所見本"));
  EXPECT_EQ(text(first.sama), QStringLiteral("様"));
  EXPECT_EQ(first.ml, (std::array<std::uint8_t, 6>{1, 0, 0, 1, 0, 0}));
  EXPECT_EQ(Form1->Book.entry(2).sama, "");
  EXPECT_EQ(text(Form1->Book.entry(3).sama), QStringLiteral("先生"));
  EXPECT_EQ(Form1->Book.entry(3).ml, (std::array<std::uint8_t, 6>{0, 1, 1, 0, 1, 1}));
  EXPECT_TRUE(Form1->Modified);
}

TEST_F(ImportCsvTest, TheMenuEntryImportsToo) {
  dialogs.paths = {writeCp932("m.csv", kHeader + "\n山田\n")};
  Form1->N3->trigger();
  EXPECT_EQ(lines(), QStringList{"山田"});
}

TEST_F(ImportCsvTest, CancellingTheDialogDoesNothing) {
  Form1->Button5->click();
  EXPECT_EQ(dialogs.filters.size(), 1);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(Form1->Book.count(), 0);
}

TEST_F(ImportCsvTest, EmptyAndHeaderOnlyFilesImportNothingAndSayNothing) {
  importFrom(write("empty.csv", {}));
  importFrom(writeCp932("h.csv", kHeader));
  importFrom(writeCp932("hlf.csv", kHeader + "\n"));
  importFrom(writeCp932("hcrlf.csv", kHeader + "\r\n"));
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(Form1->Book.count(), 0);
  EXPECT_FALSE(Form1->Modified);
}

TEST_F(ImportCsvTest, AMissingFileIsReportedAfterTheGridWasEmptied) {
  importFrom(writeCp932("one.csv", kHeader + "\n山田\n"));
  ASSERT_FALSE(Form1->StringGrid1.cell(0, 1).empty());
  Form1->Modified = false;
  importFrom(dir.filePath(QStringLiteral("none.csv")));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ＥＲＲＯＲ"));
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("ファイルがありません"));
  EXPECT_TRUE(Form1->StringGrid1.cell(0, 1).empty());
  EXPECT_EQ(Form1->Book.count(), 1);
  EXPECT_FALSE(Form1->Modified);
}

TEST_F(ImportCsvTest, AFolderCannotBeRead) {
  QDir(dir.path()).mkdir(QStringLiteral("folder.csv"));
  importFrom(dir.filePath(QStringLiteral("folder.csv")));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ＥＲＲＯＲ"));
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("読み込みに失敗しました。"));
  EXPECT_EQ(Form1->Book.count(), 0);
}

TEST_F(ImportCsvTest, MarksThatCountAndThoseThatDoNot) {
  const QStringList counting = {"Y", "Ｙ", "O", "Ｏ", "○", "y", "o", "ｙ", "ｏ"};
  const QStringList notCounting = {"1", "0", "N", "×", "Yes", " Y", ""};
  QString csv = kHeader + "\n";
  for (const QString& m : counting) csv += QStringLiteral("yes,,,%1\n").arg(m);
  for (const QString& m : notCounting) csv += QStringLiteral("no,,,%1\n").arg(m);
  importFrom(writeCp932("marks.csv", csv));
  ASSERT_EQ(Form1->Book.count(), counting.size() + notCounting.size());
  for (int i = 0; i < Form1->Book.count(); ++i) {
    const bool expected = i < counting.size();
    EXPECT_EQ(Form1->Book.entry(i).ml[0], expected ? 1 : 0)
        << (expected ? counting[i] : notCounting[i - counting.size()]).toStdString();
  }
}

TEST_F(ImportCsvTest, TheWindowsFlagParserIsTheCoreOne) {
  EXPECT_TRUE(TForm1::ParseCsvFlag(codec::encodeKnown(QStringLiteral("ｏ"))));
  EXPECT_FALSE(TForm1::ParseCsvFlag(codec::encodeKnown(QStringLiteral("×"))));
}

TEST_F(ImportCsvTest, MoreAddresseesThanFreeSlotsStopAtTheLastSlotAndSaySoOnce) {
  for (int i = 0; i < 298; ++i) addEntry(QString::number(i));
  importFrom(writeCp932("many.csv", kHeader + "\n一\n二\n,名無し\n三\n四\n五\n"));
  EXPECT_EQ(Form1->Book.count(), 300);
  EXPECT_EQ(lines().mid(298), (QStringList{"一", "二"}));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Information);
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Ｉｎｆｏｒｍａｔｉｏｎ"));
  EXPECT_EQ(dialogs.shown[0].text,
            QStringLiteral("登録できる件数（300件）を超えたため、3件は読み込まれませんでした。"));
  EXPECT_TRUE(Form1->Modified);
}

TEST_F(ImportCsvTest, TheListShowsTheFirstImportedLine) {
  for (int i = 0; i < 60; ++i) addEntry(QStringLiteral("既%1").arg(i));
  Form1->show();
  Form1->CheckListBox1->scrollToTop();
  QApplication::processEvents();
  importFrom(writeCp932("three.csv", kHeader + QStringLiteral("\n甲\n乙\n丙\n")));
  QApplication::processEvents();
  ASSERT_EQ(lines().size(), 63);
  QListView* list = Form1->CheckListBox1;
  const QRect first = list->visualRect(list->model()->index(60, 0));
  EXPECT_TRUE(list->viewport()->rect().contains(first));
}

TEST_F(ImportCsvTest, AUtf8FileWithTheMarkIsConverted) {
  importFrom(QStringLiteral(ORIVEL_TEST_DATA "/addressees-utf8-bom.csv"));
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(lines(), (QStringList{"宛名見本", "高橋～様方"}));
  EXPECT_EQ(text(Form1->Book.entry(0).sama), QStringLiteral("様"));
  EXPECT_EQ(Form1->Book.entry(0).ml, (std::array<std::uint8_t, 6>{1, 0, 0, 1, 0, 0}));
  // The wave dash of a Unix converter becomes code page 932's full-width tilde.
  EXPECT_EQ(Form1->Book.entry(1).name, "\x8d\x82\x8b\xb4\x81\x60\x97\x6c\x95\xfb");
}

TEST_F(ImportCsvTest, AUtf8LineWithACharacterCodePage932LacksStopsTheImport) {
  addEntry(QStringLiteral("鈴木"));
  const QByteArray bytes = "\xEF\xBB\xBF" + kHeader.toUtf8() + "\r\n" +
                           QStringLiteral("山田\r\n𠮷野家\r\n☃\r\n").toUtf8();
  importFrom(write("bad.csv", bytes));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ＥＲＲＯＲ"));
  EXPECT_EQ(dialogs.shown[0].text,
            QStringLiteral("3行目の「𠮷」(U+20BB7)は使用できない文字です。「吉」で代用できます。"));
  EXPECT_EQ(lines(), QStringList{"鈴木"});
  EXPECT_FALSE(Form1->Modified);
}

TEST_F(ImportCsvTest, OtherProgramsBooksAreFoundByTheirContentAndAppended) {
  addEntry(QStringLiteral("鈴木"));
  importFrom(QStringLiteral(ORIVEL_TEST_DATA "/exchange/kit.csv"));
  importFrom(QStringLiteral(ORIVEL_TEST_DATA "/exchange/phone21.vcf"));
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(lines(),
            (QStringList{"鈴木", "山田　太郎", "鈴木　一郎", "高橋　\"美咲\"", "小林　優子"}));
  EXPECT_EQ(Form1->Book.entry(1).joints.size(), 3u);
  EXPECT_FALSE(Form1->Book.isChecked(1));
  EXPECT_TRUE(Form1->Modified);
}

TEST_F(ImportCsvTest, AnyOtherTableIsReadAsTheMappingWindowSays) {
  const QString path =
      write("members.csv", QStringLiteral("会員番号,氏名,〒\n7,山田　太郎,1500001\n").toUtf8());
  std::vector<CsvPreview> asked;
  std::optional<std::vector<ColumnMeaning>> answer;  // cancelled first
  Form1->setColumnMeaningsAnswer([&](const CsvPreview& preview) {
    asked.push_back(preview);
    return answer;
  });
  importFrom(path);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].rows.size(), 1u);
  EXPECT_TRUE(lines().isEmpty());
  EXPECT_FALSE(Form1->Modified);
  // The number taken for the name, the name for nothing.
  answer = std::vector<ColumnMeaning>{ColumnMeaning::Name, ColumnMeaning::Unused,
                                      ColumnMeaning::ZipCode};
  importFrom(path);
  EXPECT_EQ(lines(), QStringList{"7"});
  EXPECT_EQ(text(Form1->Book.entry(0).zip_code), QStringLiteral("150-0001"));
  EXPECT_TRUE(Form1->Modified);
}

TEST_F(ImportCsvTest, AFileOfNoKnownFormIsRefused) {
  importFrom(write("picture.csv", QByteArray("\x89PNG\r\n\x1a\n\0\0\0", 11)));
  EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("読み込めない形式です")});
  EXPECT_TRUE(lines().isEmpty());
}

TEST_F(ImportCsvTest, ANameTheBookCannotKeepStopsTheImportNamingTheLine) {
  addEntry(QStringLiteral("鈴木"));
  importFrom(writeCp932("zero.csv", kHeader + QStringLiteral("\r\n山田\r\n0,100-0001\r\n")));
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ＥＲＲＯＲ"));
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("3行目の「0」という名前は保存できません。"));
  EXPECT_EQ(lines(), QStringList{"鈴木"});
  EXPECT_FALSE(Form1->Modified);
}

TEST_F(ImportCsvTest, AFileBeyondTheBoundIsRefused) {
  addEntry(QStringLiteral("鈴木"));
  const QString path = writeCp932("big.csv", kHeader + QStringLiteral("\r\n山田\r\n"));
  ASSERT_TRUE(QFile::resize(path, 16 * 1024 * 1024 + 1));
  importFrom(path);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ＥＲＲＯＲ"));
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("ファイルが大きすぎます。"));
  EXPECT_EQ(lines(), QStringList{"鈴木"});
}

}  // namespace
}  // namespace orivel::test
