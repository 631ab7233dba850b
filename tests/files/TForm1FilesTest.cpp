#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "app/TForm1.h"
#include "book/CheckListBox.h"
#include "common/Codec.h"
#include "support/FormsFixture.h"

namespace orivel::test {
namespace {

const QString kFilter = QStringLiteral("オリベルファイル(*.orv)|*.orv|全てのファイル(*.*)|*.*");
const QString kLoadFailed = QStringLiteral("読み込みに失敗しました。");

class BookFileCommandTest : public FormsTest {
 protected:
  QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }

  void writeFile(const QString& name, const QByteArray& bytes) {
    QFile f(path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }

  QByteArray readFile(const QString& name) const {
    QFile f(path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  void addEntry(const QString& name, const QString& address = QStringLiteral("東京都")) {
    datatype e;
    e.name = codec::encodeKnown(name);
    e.address = codec::encodeKnown(address);
    e.sama = codec::encodeKnown(QStringLiteral("様"));
    Form1->Book.append(e);
  }

  QStringList lines() const {
    QStringList out;
    auto* model = Form1->CheckListBox1->model();
    for (int i = 0; i < model->rowCount(); ++i) out << model->index(i, 0).data().toString();
    return out;
  }

  bool allErrors() const {
    for (const auto& s : dialogs.shown)
      if (s.kind != MessageKind::Error || s.title != QStringLiteral("ＥＲＲＯＲ")) return false;
    return true;
  }

  QTemporaryDir dir;
};

TEST_F(BookFileCommandTest, SaveWritesTheBookAndClearsModified) {
  addEntry(QStringLiteral("山田　太郎"));
  Form1->Modified = true;
  dialogs.paths = {path(QStringLiteral("book.orv"))};
  Form1->N1->trigger();
  EXPECT_EQ(dialogs.filters, QStringList{kFilter});
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_FALSE(Form1->Modified);
  const QByteArray bytes = readFile(QStringLiteral("book.orv"));
  EXPECT_TRUE(bytes.startsWith("[HEADER]\r\nVersion=Ver1.00\r\nCnt=1\r\n[DATAS]\r\nname0="));
  EXPECT_TRUE(
      bytes.contains(QByteArray::fromStdString(codec::encodeKnown(QStringLiteral("山田　太郎")))));
}

TEST_F(BookFileCommandTest, NoExtensionIsAddedAndAnotherFileIsOverwrittenOnlyOnYes) {
  writeFile(QStringLiteral("plain"), "[OTHER]\r\nkeep=1\r\n");
  addEntry(QStringLiteral("山田"));
  Form1->Modified = true;
  dialogs.paths = {path(QStringLiteral("plain")), path(QStringLiteral("plain"))};
  Form1->N1Click();  // answered No
  EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("plain は既にあります。上書きしますか？")});
  EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Question);
  EXPECT_EQ(readFile(QStringLiteral("plain")), "[OTHER]\r\nkeep=1\r\n");
  EXPECT_TRUE(Form1->Modified);
  EXPECT_TRUE(Form1->BookFile.isEmpty());

  dialogs.answers = {Answer::Yes};
  Form1->N1Click();
  EXPECT_FALSE(QFile::exists(path(QStringLiteral("plain.orv"))));
  EXPECT_TRUE(readFile(QStringLiteral("plain")).startsWith("[OTHER]\r\nkeep=1\r\n[HEADER]\r\n"));
  EXPECT_FALSE(Form1->Modified);
}

// The book's own file is saved over without a question, and both dialogs start at it: the
// file last loaded or saved.
TEST_F(BookFileCommandTest, TheBooksOwnFileIsWhereTheDialogsStartAndNeedsNoQuestion) {
  addEntry(QStringLiteral("山田"));
  dialogs.paths = {path(QStringLiteral("first.orv"))};
  Form1->N1Click();
  ASSERT_EQ(dialogs.starts, QStringList{QString()});  // a new book has no file yet
  const QString first = QFileInfo(path(QStringLiteral("first.orv"))).absoluteFilePath();
  EXPECT_EQ(Form1->BookFile, first);

  addEntry(QStringLiteral("田中"));
  dialogs.paths = {path(QStringLiteral("first.orv"))};
  Form1->N1Click();  // over its own file: no question
  EXPECT_TRUE(dialogs.shown.empty()) << dialogs.texts().join(u'\n').toStdString();
  EXPECT_EQ(dialogs.starts.value(1), first);
  EXPECT_TRUE(readFile(QStringLiteral("first.orv")).contains("Cnt=2"));

  QFile::copy(path(QStringLiteral("first.orv")), path(QStringLiteral("other.orv")));
  dialogs.paths = {path(QStringLiteral("other.orv"))};
  Form1->N2Click();  // starts at the file last saved
  EXPECT_EQ(dialogs.starts.value(2), first);
  const QString other = QFileInfo(path(QStringLiteral("other.orv"))).absoluteFilePath();
  EXPECT_EQ(Form1->BookFile, other);
  dialogs.paths = {path(QStringLiteral("other.orv"))};
  Form1->N1Click();  // starts at the file last loaded, its own: no question
  EXPECT_EQ(dialogs.starts.value(3), other);
  EXPECT_TRUE(dialogs.shown.empty()) << dialogs.texts().join(u'\n').toStdString();
}

TEST_F(BookFileCommandTest, CancelledSaveWritesNothingAndKeepsModified) {
  addEntry(QStringLiteral("山田"));
  Form1->Modified = true;
  Form1->N1Click();
  EXPECT_EQ(dialogs.filters.size(), 1);
  EXPECT_TRUE(Form1->Modified);
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

TEST_F(BookFileCommandTest, AFailedSaveSaysSoAndKeepsModified) {
  addEntry(QStringLiteral("山田"));
  Form1->Modified = true;
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.orv")));
  dialogs.paths = {path(QStringLiteral("folder.orv"))};
  Form1->N1Click();
  EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("保存に失敗しました。")});
  EXPECT_TRUE(allErrors());
  EXPECT_TRUE(Form1->Modified);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList{QStringLiteral("folder.orv")});
}

TEST_F(BookFileCommandTest, LoadReplacesTheBookUncheckedAndClearsModified) {
  addEntry(QStringLiteral("消える人"));
  Form1->Book.setChecked(0, true);
  Form1->Modified = true;
  dialogs.answers = {Answer::Yes};
  dialogs.paths = {QStringLiteral(ORIVEL_TEST_DATA "/example.orv")};
  Form1->N2->trigger();
  EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("データが変更されています。？")});
  EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Question);
  EXPECT_EQ(dialogs.filters, QStringList{kFilter});
  EXPECT_EQ(lines(), QStringList{QStringLiteral("宛名見本")});
  EXPECT_FALSE(Form1->Book.isChecked(0));
  EXPECT_EQ(Form1->Book.entry(0).address, codec::encodeKnown(QStringLiteral("住所見本")));
  EXPECT_FALSE(Form1->Modified);
}

TEST_F(BookFileCommandTest, ALoadedBookIsShownFromItsFirstLine) {
  for (int i = 0; i < 40; ++i) addEntry(QStringLiteral("新%1").arg(i));
  ASSERT_TRUE(Form1->SaveBookFile(path(QStringLiteral("new.orv"))));
  Form1->ClearBook();
  for (int i = 0; i < 120; ++i) addEntry(QStringLiteral("古%1").arg(i));
  Form1->show();
  Form1->CheckListBox1->scrollToBottom();
  QApplication::processEvents();
  dialogs.paths = {path(QStringLiteral("new.orv"))};
  Form1->N2->trigger();
  QApplication::processEvents();
  ASSERT_EQ(Form1->Book.count(), 40);
  const QModelIndex top = Form1->CheckListBox1->indexAt(QPoint(1, 1));
  EXPECT_EQ(top.row(), 0);
}

TEST_F(BookFileCommandTest, AnUnmodifiedBookIsReplacedWithoutAQuestion) {
  addEntry(QStringLiteral("前の人"));
  dialogs.paths = {QStringLiteral(ORIVEL_TEST_DATA "/example.orv")};
  Form1->N2Click();
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(lines(), QStringList{QStringLiteral("宛名見本")});
}

TEST_F(BookFileCommandTest, AnsweringNoLeavesTheBookAndOpensNoDialog) {
  addEntry(QStringLiteral("残る人"));
  Form1->Modified = true;
  dialogs.answers = {Answer::No};
  dialogs.paths = {QStringLiteral(ORIVEL_TEST_DATA "/example.orv")};
  Form1->N2Click();
  EXPECT_TRUE(dialogs.filters.isEmpty());
  EXPECT_EQ(lines(), QStringList{QStringLiteral("残る人")});
  EXPECT_TRUE(Form1->Modified);
}

TEST_F(BookFileCommandTest, AnsweringYesThenCancellingKeepsTheBookAndModified) {
  addEntry(QStringLiteral("残る人"));
  Form1->Book.setChecked(0, true);
  Form1->Modified = true;
  dialogs.answers = {Answer::Yes};
  Form1->N2Click();
  EXPECT_EQ(dialogs.filters.size(), 1);
  EXPECT_EQ(lines(), QStringList{QStringLiteral("残る人")});
  EXPECT_TRUE(Form1->Book.isChecked(0));
  EXPECT_TRUE(Form1->Modified);
}

TEST_F(BookFileCommandTest, AMissingFileSaysSoAndKeepsTheBook) {
  addEntry(QStringLiteral("残る人"));
  Form1->Modified = true;
  dialogs.answers = {Answer::Yes};
  dialogs.paths = {path(QStringLiteral("nothing.orv"))};
  Form1->N2Click();
  EXPECT_EQ(dialogs.texts(), (QStringList{QStringLiteral("データが変更されています。？"),
                                          QStringLiteral("ファイルがありません"), kLoadFailed}));
  EXPECT_EQ(lines(), QStringList{QStringLiteral("残る人")});
  EXPECT_TRUE(Form1->Modified);
}

TEST_F(BookFileCommandTest, AnotherVersionIsNamedThenTheLoadFails) {
  addEntry(QStringLiteral("残る人"));
  writeFile(QStringLiteral("v.orv"), "[HEADER]\r\nVersion=ver1.00\r\nCnt=0\r\n");
  dialogs.paths = {path(QStringLiteral("v.orv"))};
  Form1->N2Click();
  EXPECT_EQ(dialogs.texts(),
            (QStringList{QStringLiteral("データが新しいバージョンです（ver1.00）"), kLoadFailed}));
  EXPECT_TRUE(allErrors());
  EXPECT_EQ(lines(), QStringList{QStringLiteral("残る人")});

  dialogs.shown.clear();
  writeFile(QStringLiteral("v.orv"), "[HEADER]\r\nCnt=0\r\n");
  dialogs.paths = {path(QStringLiteral("v.orv"))};
  Form1->N2Click();
  EXPECT_EQ(dialogs.texts(),
            (QStringList{QStringLiteral("データが新しいバージョンです（0）"), kLoadFailed}));
}

TEST_F(BookFileCommandTest, ACountOutOfRangeOnlySaysTheLoadFailed) {
  addEntry(QStringLiteral("残る人"));
  Form1->Modified = true;
  dialogs.answers = {Answer::Yes};
  writeFile(QStringLiteral("c.orv"), "[HEADER]\r\nVersion=Ver1.00\r\nCnt=301\r\n");
  dialogs.paths = {path(QStringLiteral("c.orv"))};
  Form1->N2Click();
  EXPECT_EQ(dialogs.texts(),
            (QStringList{QStringLiteral("データが変更されています。？"), kLoadFailed}));
  EXPECT_EQ(lines(), QStringList{QStringLiteral("残る人")});
  EXPECT_TRUE(Form1->Modified);
}

TEST_F(BookFileCommandTest, AFolderCannotBeLoaded) {
  addEntry(QStringLiteral("残る人"));
  dialogs.paths = {dir.path()};
  Form1->N2Click();
  EXPECT_EQ(dialogs.texts(), QStringList{kLoadFailed});
  EXPECT_EQ(lines(), QStringList{QStringLiteral("残る人")});
}

TEST_F(BookFileCommandTest, AnEmptyBookRoundTripsUnderAJapaneseFileName) {
  const QString name = path(QStringLiteral("住所録　二〇二四.orv"));
  Form1->Modified = true;
  dialogs.paths = {name};
  Form1->N1Click();
  ASSERT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(readFile(QStringLiteral("住所録　二〇二四.orv")),
            QByteArray("[HEADER]\r\nVersion=Ver1.00\r\nCnt=0\r\n"));
  addEntry(QStringLiteral("消える人"));
  Form1->Modified = true;
  dialogs.answers = {Answer::Yes};
  dialogs.paths = {name};
  Form1->N2Click();
  EXPECT_EQ(Form1->Book.count(), 0);
  EXPECT_FALSE(Form1->Modified);
}

TEST_F(BookFileCommandTest, TheSampleBookLoadsTakesAnEntryAndSavesUnderANewName) {
  dialogs.paths = {QStringLiteral(ORIVEL_TEST_DATA "/../../examples/sample.orv")};
  Form1->N2Click();
  ASSERT_TRUE(dialogs.shown.empty());
  const int loaded = Form1->Book.count();
  ASSERT_EQ(loaded, 20);
  EXPECT_EQ(lines().first(), QStringLiteral("青木　浩一"));
  EXPECT_TRUE(codec::toQString(Form1->Book.entry(0).address).contains(QStringLiteral("－")));

  addEntry(QStringLiteral("新しい人"), QStringLiteral("札幌市"));
  Form1->Modified = true;
  dialogs.paths = {path(QStringLiteral("mine.orv"))};
  Form1->N1Click();
  EXPECT_FALSE(Form1->Modified);

  Form1->ClearBook();
  dialogs.paths = {path(QStringLiteral("mine.orv"))};
  Form1->N2Click();
  ASSERT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(Form1->Book.count(), loaded + 1);
  EXPECT_EQ(lines().last(), QStringLiteral("新しい人"));
}

}  // namespace
}  // namespace orivel::test
