// orivel-cli run as a process on the files in tests/data: exit codes, standard output and
// the messages on standard error.
#include "cli/CliRun.h"

namespace orivel::test {
namespace {

const QString kBook = dataFile("cli-book.orv");

class CliTest : public ::testing::Test {
 protected:
  QString path(const QString& name) const { return dir_.filePath(name); }
  QString copyOf(const QString& source, const QString& name) const {
    const QString target = path(name);
    QFile::copy(source, target);
    return target;
  }

  QTemporaryDir dir_;
};

// --- show ---

TEST_F(CliTest, ShowPrintsOneJsonLinePerEntryInBookOrder) {
  const CliRun run = runCli({QStringLiteral("show"), kBook});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
  // File index 3 is named "0" and left out by the load, so the slots close up. Quotes,
  // backslashes and control characters are escaped; the trail byte 5C of ソ is not a
  // backslash; the bytes A0 and 80 do not decode.
  EXPECT_EQ(run.outText(),
            QStringLiteral(
                "{\"index\": 0, \"name\": \"宛名見本\", \"zip_code\": \"100-0001\", \"address\": "
                "\"住所見本\", \"sama\": \"様\", \"categories\": [1, 4], "
                "\"joints\": [], \"company\": \"\", \"department\": \"\", \"title\": \"\", "
                "\"history\": {}}\n"
                "{\"index\": 1, \"name\": \"大野\\\"ソ\\\\太郎\", \"zip_code\": \"\", "
                "\"address\": \"住所\\t一\\u0001二\", \"sama\": \"\", \"categories\": [], "
                "\"joints\": [], \"company\": \"\", \"department\": \"\", \"title\": \"\", "
                "\"history\": {}}\n"
                "{\"index\": 2, \"name\": \"壊れ\uFFFD\uFFFD字\", \"zip_code\": \"600-8001\", "
                "\"address\": \"京都府京都市\", \"sama\": \"殿\", \"categories\": [2], "
                "\"joints\": [], \"company\": \"\", \"department\": \"\", \"title\": \"\", "
                "\"history\": {}}\n"
                "{\"index\": 3, \"name\": \"長住所　花子\", \"zip_code\": \"060-0042\", "
                "\"address\": \"北海道札幌市中央区大通西１０丁目３－１　サンライズ大通ビル５階　"
                "５０１号\", \"sama\": \"様\", \"categories\": [2, 3, 5, 6], "
                "\"joints\": [], \"company\": \"\", \"department\": \"\", \"title\": \"\", "
                "\"history\": {}}\n"));
}

TEST_F(CliTest, ShowOfAnEmptyBookPrintsNothing) {
  const QString book = path(QStringLiteral("empty.orv"));
  ASSERT_TRUE(writeBytes(book, "[HEADER]\r\nVersion=Ver1.00\r\nCnt=0\r\n"));
  const CliRun run = runCli({QStringLiteral("show"), book});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.out.isEmpty());
  EXPECT_TRUE(run.err.isEmpty());
}

TEST_F(CliTest, ShowOfAMissingFileSaysBothMessages) {
  const CliRun run = runCli({QStringLiteral("show"), path(QStringLiteral("none.orv"))});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.out.isEmpty());
  EXPECT_EQ(run.errText(), QStringLiteral("ファイルがありません\n読み込みに失敗しました。\n"));
}

TEST_F(CliTest, ShowOfAnotherVersionNamesTheVersionRead) {
  const CliRun run = runCli({QStringLiteral("show"), dataFile("cli-wrong-version.orv")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errText(),
            QStringLiteral("データが新しいバージョンです（ver1.00）\n読み込みに失敗しました。\n"));
}

TEST_F(CliTest, ShowOfACountAbove300SaysOnlyThatTheLoadFailed) {
  const QString book = path(QStringLiteral("big.orv"));
  ASSERT_TRUE(writeBytes(book, "[HEADER]\r\nVersion=Ver1.00\r\nCnt=301\r\n"));
  const CliRun run = runCli({QStringLiteral("show"), book});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errText(), QStringLiteral("読み込みに失敗しました。\n"));
}

TEST_F(CliTest, ShowIntoAFullDiskFails) {
  QProcess process;
  process.setProcessEnvironment(headlessEnvironment());
  process.setStandardOutputFile(QStringLiteral("/dev/full"));
  process.start(QStringLiteral(ORIVEL_CLI), {QStringLiteral("show"), kBook});
  ASSERT_TRUE(process.waitForFinished(60000));
  EXPECT_EQ(process.exitCode(), 1);
  EXPECT_EQ(QString::fromUtf8(process.readAllStandardError()),
            QStringLiteral("orivel-cli: standard output could not be written\n"));
}

TEST_F(CliTest, ShowWantsExactlyOneBook) {
  EXPECT_EQ(runCli({QStringLiteral("show")}).exitCode, 2);
  EXPECT_EQ(runCli({QStringLiteral("show"), kBook, kBook}).exitCode, 2);
  EXPECT_EQ(runCli({QStringLiteral("show"), kBook, QStringLiteral("--own")}).exitCode, 2);
  const CliRun unknown = runCli({QStringLiteral("shwo"), kBook});
  expectUsageError(unknown, QStringLiteral("orivel-cli"), QStringLiteral("shwo"));
  EXPECT_TRUE(
      unknown.errText().startsWith(QStringLiteral("orivel-cli: unknown command \"shwo\"\n")))
      << unknown.err.toStdString();
}

// --- import ---

TEST_F(CliTest, ImportIntoANewBookSavesTheRowsInFileOrder) {
  const QString out = path(QStringLiteral("new.orv"));
  const CliRun run = runCli(
      {QStringLiteral("import"), QStringLiteral("--out"), out, dataFile("addressees-crlf.csv")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
  EXPECT_TRUE(readBytes(out).startsWith("[HEADER]\r\nVersion=Ver1.00\r\nCnt=3\r\n"));
  const CliRun show = runCli({QStringLiteral("show"), out});
  const QStringList lines = show.outText().split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[2], QStringLiteral("{\"index\": 2, \"name\": \"山田 太郎\", \"zip_code\": "
                                     "\"150-0001\", \"address\": \"東京都渋谷区神宮前１－２－３\", "
                                     "\"sama\": \"先生\", \"categories\": [2, 3, 5, 6], "
                                     "\"joints\": [], \"company\": \"\", "
                                     "\"department\": \"\", \"title\": \"\", \"history\": {}}"));
}

TEST_F(CliTest, JapaneseFolderAndFileNamesServeEveryCommand) {
  const QString folder = path(QStringLiteral("年賀状 2027"));
  ASSERT_TRUE(QDir().mkdir(folder));
  const QString csv = folder + QStringLiteral("/住所録.csv");
  const QString book = folder + QStringLiteral("/住所録.orv");
  const QString pdf = folder + QStringLiteral("/はがき.pdf");
  ASSERT_TRUE(QFile::copy(dataFile("addressees-crlf.csv"), csv));
  const CliRun import = runCli({QStringLiteral("import"), QStringLiteral("--out"), book, csv});
  EXPECT_EQ(import.exitCode, 0) << import.err.toStdString();
  EXPECT_EQ(runCli({QStringLiteral("show"), book}).outText().count(u'\n'), 3);
  const CliRun print = runCli(
      {QStringLiteral("print"), book, QStringLiteral("--all"), QStringLiteral("--pdf"), pdf});
  EXPECT_EQ(print.exitCode, 0) << print.err.toStdString();
  EXPECT_EQ(pdfInfo(pdf).pages, 3);
  EXPECT_EQ(QDir(folder).entryList(QDir::Files, QDir::Name),
            (QStringList{QStringLiteral("はがき.pdf"), QStringLiteral("住所録.csv"),
                         QStringLiteral("住所録.orv")}));
}

TEST_F(CliTest, ImportAppendsEachFileInTurnAfterTheBook) {
  const QString out = path(QStringLiteral("out.orv"));
  const CliRun run = runCli({QStringLiteral("import"), QStringLiteral("--into"),
                             dataFile("example.orv"), QStringLiteral("--out"), out,
                             dataFile("addressees-crlf.csv"), dataFile("addressees-utf8-bom.csv")});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  QStringList names;
  for (const QString& line : runCli({QStringLiteral("show"), out}).outText().split(u'\n')) {
    const auto m = QRegularExpression(QStringLiteral("\"name\": \"([^\"]*)\"")).match(line);
    if (m.hasMatch()) names << m.captured(1);
  }
  // The UTF-8 file's WAVE DASH is stored as the code page's FULLWIDTH TILDE.
  EXPECT_EQ(names, (QStringList{QStringLiteral("宛名見本"), QStringLiteral("宛名見本"),
                                QStringLiteral("宛名見本二"), QStringLiteral("山田 太郎"),
                                QStringLiteral("宛名見本"), QStringLiteral("高橋～様方")}));
}

TEST_F(CliTest, ImportOverItsOwnBookKeepsTheKeysBeyondTheNewCount) {
  const QString book = copyOf(dataFile("cli-book.orv"), QStringLiteral("book.orv"));
  const QString csv = path(QStringLiteral("one.csv"));
  ASSERT_TRUE(writeBytes(csv, "header\nA,1,B\n"));
  // Without --into the book starts empty, so the save writes one entry over four.
  const CliRun run = runCli({QStringLiteral("import"), QStringLiteral("--out"), book, csv});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QByteArray bytes = readBytes(book);
  EXPECT_TRUE(bytes.contains("Cnt=1\r\n"));
  EXPECT_TRUE(bytes.contains("name0=A\r\n"));
  EXPECT_TRUE(bytes.contains("zip_code4=060-0042\r\n"));
  EXPECT_EQ(runCli({QStringLiteral("show"), book}).outText(),
            QStringLiteral("{\"index\": 0, \"name\": \"A\", \"zip_code\": \"1\", \"address\": "
                           "\"B\", \"sama\": \"\", \"categories\": [], "
                           "\"joints\": [], \"company\": \"\", \"department\": \"\", \"title\": "
                           "\"\", \"history\": {}}\n"));
}

TEST_F(CliTest, ImportOfAMissingFileSavesNothing) {
  const QString out = path(QStringLiteral("out.orv"));
  const CliRun run = runCli({QStringLiteral("import"), QStringLiteral("--out"), out,
                             dataFile("addressees-crlf.csv"), path(QStringLiteral("no.csv"))});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errText(), QStringLiteral("ファイルがありません\n"));
  EXPECT_FALSE(QFile::exists(out));
}

TEST_F(CliTest, ImportOfAFolderSaysTheReadFailed) {
  const CliRun run = runCli({QStringLiteral("import"), QStringLiteral("--out"),
                             path(QStringLiteral("out.orv")), dir_.path()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errText(), QStringLiteral("読み込みに失敗しました。\n"));
}

TEST_F(CliTest, ImportOfAnUnencodableLineLeavesTheOldFileAlone) {
  const QString book = copyOf(dataFile("cli-book.orv"), QStringLiteral("book.orv"));
  const QByteArray before = readBytes(book);
  const CliRun run = runCli({QStringLiteral("import"), QStringLiteral("--into"), book,
                             QStringLiteral("--out"), book, dataFile("cli-unencodable.csv")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errText(), QStringLiteral("3行目の「😀」(U+1F600)は使用できない文字です。\n"));
  EXPECT_EQ(readBytes(book), before);
}

// A file that would cost an addressee at the next load, and one too large to read: each is
// refused with its message, and the book stays as it was.
TEST_F(CliTest, ImportRefusesANameTheBookCannotKeepAndAFileTooLarge) {
  const struct {
    const char* csv;
    qint64 size;  // grown to this with zeros; 0 leaves the file as written
    QString message;
  } cases[] = {
      {"header\nA,1,B\n\"0\",2,C\n", 0,
       QStringLiteral("3行目の「0」という名前は保存できません。\n")},
      {"header\nA,1,B\n", 16 * 1024 * 1024 + 1, QStringLiteral("ファイルが大きすぎます。\n")},
  };
  for (const auto& c : cases) {
    const QString book = copyOf(dataFile("cli-book.orv"), QStringLiteral("book.orv"));
    const QByteArray before = readBytes(book);
    const QString csv = path(QStringLiteral("refused.csv"));
    ASSERT_TRUE(writeBytes(csv, c.csv));
    if (c.size > 0) {
      ASSERT_TRUE(QFile::resize(csv, c.size));
    }
    const CliRun run = runCli({QStringLiteral("import"), QStringLiteral("--into"), book,
                               QStringLiteral("--out"), book, csv});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errText(), c.message);
    EXPECT_EQ(readBytes(book), before);
    QFile::remove(book);
  }
}

TEST_F(CliTest, ImportBeyond300EntriesSaysHowManyWereLeftOutAndSaves) {
  QByteArray csv = "header\n";
  for (int i = 0; i < 302; ++i) csv += "N" + QByteArray::number(i) + ",1,A\n";
  const QString file = path(QStringLiteral("many.csv"));
  ASSERT_TRUE(writeBytes(file, csv));
  const QString out = path(QStringLiteral("out.orv"));
  const CliRun run = runCli({QStringLiteral("import"), QStringLiteral("--into"),
                             dataFile("example.orv"), QStringLiteral("--out"), out, file});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.errText(),
            QStringLiteral("登録できる件数（300件）を超えたため、3件は読み込まれませんでした。\n"));
  EXPECT_TRUE(readBytes(out).contains("Cnt=300\r\n"));
}

TEST_F(CliTest, ImportFromABookThatDoesNotLoadSavesNothing) {
  const QString out = path(QStringLiteral("out.orv"));
  const CliRun run =
      runCli({QStringLiteral("import"), QStringLiteral("--into"), dataFile("cli-wrong-version.orv"),
              QStringLiteral("--out"), out, dataFile("addressees-crlf.csv")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errText(),
            QStringLiteral("データが新しいバージョンです（ver1.00）\n読み込みに失敗しました。\n"));
  EXPECT_FALSE(QFile::exists(out));
}

TEST_F(CliTest, ImportThatCannotSaveSaysSo) {
  const CliRun run =
      runCli({QStringLiteral("import"), QStringLiteral("--out"),
              path(QStringLiteral("no/such/folder/out.orv")), dataFile("addressees-crlf.csv")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errText(), QStringLiteral("保存に失敗しました。\n"));
}

TEST_F(CliTest, ImportWantsAnOutputAndAFile) {
  const QString csv = dataFile("addressees-crlf.csv");
  EXPECT_EQ(runCli({QStringLiteral("import"), csv}).exitCode, 2);
  EXPECT_EQ(runCli({QStringLiteral("import"), QStringLiteral("--out"), path("o.orv")}).exitCode, 2);
  EXPECT_EQ(runCli({QStringLiteral("import"), QStringLiteral("--out")}).exitCode, 2);
  EXPECT_EQ(runCli({QStringLiteral("import"), QStringLiteral("--out=") + path("a.orv"),
                    QStringLiteral("--out=") + path("b.orv"), csv})
                .exitCode,
            2);
  EXPECT_FALSE(QFile::exists(path("o.orv")));
}

// --- compose ---

TEST_F(CliTest, ComposeAtNeutralOffsetsLeavesTheSenderBlocksWithoutLines) {
  const CliRun run = runCli({QStringLiteral("compose"), kBook, QStringLiteral("3")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.err.isEmpty());
  EXPECT_EQ(run.outText(),
            QStringLiteral(
                "{\"QRname\": {\"left\": 112, \"top\": 144, \"lines\": [\"長住所　花子　様\"]}, "
                "\"QRaddress\": {\"left\": 104, \"top\": 64, \"lines\": "
                "[\"北海道札幌市中央区大通西１０丁目３ー１\", \"　　　　サンライズ大通ビル５階\", "
                "\"　　　　５０１号\"], \"printed_lines\": "
                "[\"北海道札幌市中央区大通西１０丁目３ー１\", \"　　　　サンライズ大通ビル５階\", "
                "\"　　　　５０１号\"]}, "
                "\"QRzip_code\": {\"left\": 54, \"top\": 30, \"lines\": [\"２４０００６０\"]}, "
                "\"QRu_name\": {\"left\": 296, \"top\": 304, \"lines\": []}, "
                "\"QRu_address\": {\"left\": 224, \"top\": 272, \"lines\": [], "
                "\"printed_lines\": []}, "
                "\"QRu_zip_code\": {\"left\": 480, \"top\": 248, \"lines\": []}}\n"));
}

TEST_F(CliTest, ComposeOfEmptyTextsGivesOneEmptyLine) {
  const CliRun run = runCli({QStringLiteral("compose"), kBook, QStringLiteral("1")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(
      run.outText().contains(QStringLiteral("\"QRname\": {\"left\": 112, \"top\": 144, \"lines\": "
                                            "[\"大野\\\"ソ\\\\太郎　\"]}")));
  EXPECT_TRUE(run.outText().contains(
      QStringLiteral("\"QRzip_code\": {\"left\": 54, \"top\": 30, \"lines\": [\"\"]}")));
}

TEST_F(CliTest, ComposeWithTheSenderPlacesEveryBlockByItsOffsets) {
  const CliRun run =
      runCli({QStringLiteral("compose"), kBook, QStringLiteral("0"), QStringLiteral("--own"),
              QStringLiteral("--sender-name"), QStringLiteral("差出〜人"),
              QStringLiteral("--sender-zip=123-4567"), QStringLiteral("--sender-address"),
              QStringLiteral("大阪府大阪市北区梅田　三丁目１−１　ＡＢＣビル２階　東棟"),
              QStringLiteral("--offset"), QStringLiteral("1=0"), QStringLiteral("--offset=2=100"),
              QStringLiteral("--offset"), QStringLiteral("11=0"), QStringLiteral("--offset"),
              QStringLiteral("12=100")});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  // The WAVE DASH and MINUS SIGN typed on Unix become the code page's own characters; the
  // sender's long address keeps its spaces, and prints in two columns broken after the
  // last one that fits the first.
  EXPECT_EQ(run.outText(),
            QStringLiteral(
                "{\"QRname\": {\"left\": 162, \"top\": 94, \"lines\": [\"宛名見本　様\"]}, "
                "\"QRaddress\": {\"left\": 104, \"top\": 64, \"lines\": [\"住所見本\"], "
                "\"printed_lines\": [\"住所見本\"]}, "
                "\"QRzip_code\": {\"left\": 54, \"top\": 30, \"lines\": [\"１０００００１\"]}, "
                "\"QRu_name\": {\"left\": 296, \"top\": 304, \"lines\": [\"差出～人\"]}, "
                "\"QRu_address\": {\"left\": 224, \"top\": 272, \"lines\": "
                "[\"大阪府大阪市北区梅田　三丁目１ー１　ＡＢＣビル２階　東棟\"], "
                "\"printed_lines\": [\"大阪府大阪市北区梅田　三丁目１ー１　\", "
                "\"ＡＢＣビル２階　東棟\"]}, "
                "\"QRu_zip_code\": {\"left\": 526, \"top\": 200, \"lines\": "
                "[\"７６５４３２１\"]}}\n"));
}

TEST_F(CliTest, ComposeWithKanjiDigitsPrintsTheAddressDigitsAsNumerals) {
  const QStringList args = {QStringLiteral("compose"),
                            kBook,
                            QStringLiteral("3"),
                            QStringLiteral("--own"),
                            QStringLiteral("--sender-zip=123-4567"),
                            QStringLiteral("--sender-address=京都市１－２０")};
  const CliRun kanji = runCli(args + QStringList{QStringLiteral("--kanji-digits")});
  const CliRun plain = runCli(args + QStringList{QStringLiteral("--no-kanji-digits")});
  EXPECT_EQ(kanji.exitCode, 0) << kanji.err.toStdString();
  // The composed lines, the postal codes and the name are the same both ways.
  const auto lines = [](const QString& json) {
    QString kept = json;
    return kept.remove(QRegularExpression(QStringLiteral(", \"printed_lines\": \\[[^]]*\\]")));
  };
  EXPECT_EQ(lines(kanji.outText()), lines(plain.outText()));
  EXPECT_TRUE(kanji.outText().contains(QStringLiteral("\"lines\": [\"２４０００６０\"]")));
  EXPECT_TRUE(kanji.outText().contains(QStringLiteral("\"printed_lines\": [\"京都市一ー二〇\"]")));
  EXPECT_TRUE(plain.outText().contains(QStringLiteral("\"printed_lines\": [\"京都市１ー２０\"]")));
  EXPECT_TRUE(kanji.outText().contains(QStringLiteral("大通西一〇丁目三ー一")));
  EXPECT_TRUE(kanji.outText().contains(QStringLiteral("五〇一号")));
}

TEST_F(CliTest, ComposeOfARowWithoutAnEntryFails) {
  for (const char* row : {"4", "-1", "300"}) {
    const CliRun run = runCli({QStringLiteral("compose"), kBook, QString::fromUtf8(row)});
    EXPECT_EQ(run.exitCode, 1) << row;
    EXPECT_TRUE(run.out.isEmpty()) << row;
    EXPECT_EQ(run.errText(), QStringLiteral("orivel-cli: row %1 holds no entry (the book has 4)\n")
                                 .arg(QString::fromUtf8(row)));
  }
}

TEST_F(CliTest, ComposeOfABookThatDoesNotLoadSaysWhy) {
  const CliRun run =
      runCli({QStringLiteral("compose"), path(QStringLiteral("none.orv")), QStringLiteral("0")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errText(), QStringLiteral("ファイルがありません\n読み込みに失敗しました。\n"));
}

TEST_F(CliTest, ComposeRefusesSenderTextTheCodePageCannotHold) {
  const CliRun run = runCli({QStringLiteral("compose"), kBook, QStringLiteral("0"),
                             QStringLiteral("--sender-address"), QStringLiteral("東京😀")});
  expectUsageError(run, QStringLiteral("orivel-cli compose"), QStringLiteral("😀"));
  EXPECT_TRUE(run.errText().startsWith(
      QStringLiteral("orivel-cli compose: --sender-address: the character \"😀\" (U+1F600) "
                     "cannot be written in code page 932\n")))
      << run.err.toStdString();
}

TEST_F(CliTest, ComposeRefusesBadOffsetsAndRows) {
  for (const char* bad : {"0=50", "13=50", "1=101", "1=-1", "1=", "=5", "1", "1=5x", "x=1"}) {
    const CliRun run = runCli({QStringLiteral("compose"), kBook, QStringLiteral("0"),
                               QStringLiteral("--offset"), QString::fromUtf8(bad)});
    EXPECT_EQ(run.exitCode, 2) << bad;
    EXPECT_TRUE(run.out.isEmpty()) << bad;
  }
  EXPECT_EQ(runCli({QStringLiteral("compose"), kBook, QStringLiteral("one")}).exitCode, 2);
  EXPECT_EQ(runCli({QStringLiteral("compose"), kBook}).exitCode, 2);
  EXPECT_EQ(
      runCli({QStringLiteral("compose"), kBook, QStringLiteral("0"), QStringLiteral("--own=1")})
          .exitCode,
      2);
  // The limits themselves are fine.
  EXPECT_EQ(
      runCli({QStringLiteral("compose"), kBook, QStringLiteral("0"), QStringLiteral("--offset"),
              QStringLiteral("12=0"), QStringLiteral("--offset"), QStringLiteral("1=100")})
          .exitCode,
      0);
}

// --- print ---

TEST_F(CliTest, PrintAllIntoAPdfMakesOnePostcardPageForEachEntryInOrder) {
  const QString pdf = path(QStringLiteral("cards.pdf"));
  const CliRun run = runCli(
      {QStringLiteral("print"), kBook, QStringLiteral("--all"), QStringLiteral("--pdf"), pdf});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(run.err.isEmpty()) << run.err.toStdString();
  const PdfInfo info = pdfInfo(pdf);
  EXPECT_EQ(info.pages, 4);
  // The card upright, 100 x 148 mm; Qt's PDF writer states the page in whole points.
  EXPECT_NEAR(info.width, 283.46, 1.0);
  EXPECT_NEAR(info.height, 419.53, 1.0);
  EXPECT_TRUE(pdfPageText(pdf, 1).contains(QStringLiteral("宛")));
  EXPECT_TRUE(pdfPageText(pdf, 3).contains(QStringLiteral("殿")));
  EXPECT_TRUE(pdfPageText(pdf, 4).contains(QStringLiteral("幌")));
  EXPECT_FALSE(pdfPageText(pdf, 4).contains(QStringLiteral("宛")));
}

// The fonts a PDF embeds, as pdffonts names them (one line a font, its name first).
QString embeddedFonts(const QString& pdf) {
  QProcess pdffonts;
  pdffonts.start(QStringLiteral("pdffonts"), {pdf});
  pdffonts.waitForFinished();
  return QString::fromUtf8(pdffonts.readAllStandardOutput());
}

// --face takes any family name of an installed Japanese face and the PDF embeds that face;
// a family that is not installed is refused, and nothing is printed in another.
TEST_F(CliTest, PrintAndComposeTakeTheFaceByAnyOfItsNamesAndRefuseAnUnknownOne) {
  struct Case {
    QString face;
    int exitCode;
    QString embedded;  // the font the PDF embeds; empty when nothing is written
  };
  const Case cases[] = {
      {QStringLiteral("衡山毛筆フォント"), 0, QStringLiteral("KouzanBrushFont ")},
      {QStringLiteral("kouzanbrushfont"), 0, QStringLiteral("KouzanBrushFont ")},
      {QStringLiteral("青柳疎石フォント2"), 0, QStringLiteral("AoyagiSosekiFont2 ")},
      {QStringLiteral("IPAPMincho"), 0, QStringLiteral("IPAPMincho ")},
      {QStringLiteral("No Such Face"), 1, QString()},
      {QStringLiteral("DejaVu Sans"), 1, QString()},  // installed, but without Japanese
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.face.toStdString());
    const QString pdf = path(QStringLiteral("face.pdf"));
    QFile::remove(pdf);
    const CliRun run = runCli({QStringLiteral("print"), kBook, QStringLiteral("--rows"),
                               QStringLiteral("0"), QStringLiteral("--no-profile"),
                               QStringLiteral("--face"), c.face, QStringLiteral("--pdf"), pdf});
    EXPECT_EQ(run.exitCode, c.exitCode) << run.err.toStdString();
    const CliRun compose =
        runCli({QStringLiteral("compose"), kBook, QStringLiteral("0"),
                QStringLiteral("--no-profile"), QStringLiteral("--face"), c.face});
    EXPECT_EQ(compose.exitCode, c.exitCode);
    if (c.exitCode != 0) {
      const QString refusal =
          QStringLiteral("書体「%1」が見つかりません。日本語の書体の名前を指定してください。\n")
              .arg(c.face);
      EXPECT_EQ(run.errText(), refusal);
      EXPECT_EQ(compose.errText(), refusal);
      EXPECT_FALSE(QFile::exists(pdf));
      continue;
    }
    const QStringList fonts = embeddedFonts(pdf).split(u'\n').mid(2, 1);
    ASSERT_EQ(fonts.size(), 1) << embeddedFonts(pdf).toStdString();
    EXPECT_TRUE(fonts[0].startsWith(c.embedded)) << fonts[0].toStdString();
    EXPECT_TRUE(fonts[0].contains(QStringLiteral("yes"))) << "embedded";
  }
}

// --progress tells each printed card on standard error; without it nothing is said.
TEST_F(CliTest, PrintTellsItsProgressOnlyWhenAsked) {
  const QString pdf = path(QStringLiteral("progress.pdf"));
  const QStringList args = {QStringLiteral("print"), kBook, QStringLiteral("--all"),
                            QStringLiteral("--pdf"), pdf};
  const CliRun quiet = runCli(args);
  EXPECT_EQ(quiet.exitCode, 0);
  EXPECT_TRUE(quiet.err.isEmpty());
  const CliRun told = runCli(args + QStringList{QStringLiteral("--progress")});
  EXPECT_EQ(told.exitCode, 0);
  EXPECT_EQ(told.errText(),
            QStringLiteral("印刷中 1 / 4\n印刷中 2 / 4\n印刷中 3 / 4\n印刷中 4 / 4\n"));
  EXPECT_TRUE(told.out.isEmpty());
}

TEST_F(CliTest, PrintPrintsACategoryOrRowsInBookOrder) {
  const QString pdf = path(QStringLiteral("cards.pdf"));
  const CliRun category = runCli({QStringLiteral("print"), kBook, QStringLiteral("--category"),
                                  QStringLiteral("2"), QStringLiteral("--pdf"), pdf});
  EXPECT_EQ(category.exitCode, 0) << category.err.toStdString();
  EXPECT_EQ(pdfInfo(pdf).pages, 2);
  EXPECT_TRUE(pdfPageText(pdf, 1).contains(QStringLiteral("殿")));

  // Rows are marks: given twice or out of order, each prints once, in book order.
  const CliRun rows = runCli({QStringLiteral("print"), kBook, QStringLiteral("--rows=3,0,3"),
                              QStringLiteral("--pdf"), pdf});
  EXPECT_EQ(rows.exitCode, 0) << rows.err.toStdString();
  EXPECT_EQ(pdfInfo(pdf).pages, 2);
  EXPECT_TRUE(pdfPageText(pdf, 1).contains(QStringLiteral("宛")));
  EXPECT_TRUE(pdfPageText(pdf, 2).contains(QStringLiteral("幌")));
}

TEST_F(CliTest, PrintWithTheSenderPutsTheSenderOnTheCard) {
  const QString pdf = path(QStringLiteral("cards.pdf"));
  const CliRun run =
      runCli({QStringLiteral("print"), kBook, QStringLiteral("--rows"), QStringLiteral("0"),
              QStringLiteral("--own"), QStringLiteral("--sender-name"), QStringLiteral("鶴亀"),
              QStringLiteral("--pdf"), pdf});
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(pdfPageText(pdf, 1).contains(QStringLiteral("鶴")));
  const CliRun without = runCli({QStringLiteral("print"), kBook, QStringLiteral("--rows"),
                                 QStringLiteral("0"), QStringLiteral("--sender-name"),
                                 QStringLiteral("鶴亀"), QStringLiteral("--pdf"), pdf});
  EXPECT_EQ(without.exitCode, 0);
  EXPECT_FALSE(pdfPageText(pdf, 1).contains(QStringLiteral("鶴")));
}

TEST_F(CliTest, PrintOfNothingSelectedSaysSoAndWritesNoPdf) {
  const QString empty = path(QStringLiteral("empty.orv"));
  ASSERT_TRUE(writeBytes(empty, "[HEADER]\r\nVersion=Ver1.00\r\nCnt=0\r\n"));
  const QString plain = path(QStringLiteral("plain.orv"));
  ASSERT_TRUE(writeBytes(plain, "[HEADER]\r\nVersion=Ver1.00\r\nCnt=1\r\n[DATAS]\r\nname0=A\r\n"));
  const QString pdf = path(QStringLiteral("cards.pdf"));
  for (const QStringList& args :
       {QStringList{QStringLiteral("print"), empty, QStringLiteral("--all")},
        QStringList{QStringLiteral("print"), plain, QStringLiteral("--category"),
                    QStringLiteral("1")}}) {
    const CliRun run = runCli(args + QStringList{QStringLiteral("--pdf"), pdf});
    EXPECT_EQ(run.exitCode, 1) << args.join(u' ').toStdString();
    EXPECT_EQ(run.errText(), QStringLiteral("印刷する項目が未設定です\n"));
    EXPECT_FALSE(QFile::exists(pdf));
  }
}

TEST_F(CliTest, PrintOfARowWithoutAnEntryPrintsNothing) {
  const QString pdf = path(QStringLiteral("cards.pdf"));
  const CliRun run = runCli({QStringLiteral("print"), kBook, QStringLiteral("--rows"),
                             QStringLiteral("0,9"), QStringLiteral("--pdf"), pdf});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errText(), QStringLiteral("orivel-cli: row 9 holds no entry (the book has 4)\n"));
  EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(CliTest, PrintIntoAPdfThatCannotBeWrittenSaysPrintingFailed) {
  const CliRun run = runCli({QStringLiteral("print"), kBook, QStringLiteral("--all"),
                             QStringLiteral("--pdf"), path(QStringLiteral("no/folder/x.pdf"))});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errText(), QStringLiteral("印刷できませんでした。\nNo such file or directory\n"));
}

TEST_F(CliTest, PrintWithoutAnyPrinterSaysPrintingFailedAndWhy) {
  QProcessEnvironment env = headlessEnvironment();
  // A CUPS server that is not there: the print system itself is missing, whichever printer
  // is asked for.
  env.insert(QStringLiteral("CUPS_SERVER"), path(QStringLiteral("no-server.sock")));
  const QStringList printers[] = {{}, {QStringLiteral("--printer"), QStringLiteral("p")}};
  for (const QStringList& printer : printers) {
    const CliRun run = runCli(
        QStringList{QStringLiteral("print"), kBook, QStringLiteral("--rows"), QStringLiteral("0")} +
            printer,
        env);
    EXPECT_EQ(run.exitCode, 1) << printer.join(u' ').toStdString();
    EXPECT_EQ(
        run.errText(),
        QStringLiteral("印刷できませんでした。\n印刷システム（CUPS）に接続できませんでした。\n"));
  }
}

TEST_F(CliTest, PrintNeedsNoDisplayEvenWhenOneIsNamed) {
  QProcessEnvironment env = headlessEnvironment();
  env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":987"));  // no server there
  const QString pdf = path(QStringLiteral("cards.pdf"));
  const CliRun run = runCli(
      {QStringLiteral("print"), kBook, QStringLiteral("--rows=0"), QStringLiteral("--pdf"), pdf},
      env);
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(pdfInfo(pdf).pages, 1);
}

TEST_F(CliTest, PrintRefusesUnclearArguments) {
  const QString pdf = path(QStringLiteral("x.pdf"));
  for (const QStringList& args : {
           QStringList{QStringLiteral("print"), kBook},
           QStringList{QStringLiteral("print"), kBook, QStringLiteral("--all"),
                       QStringLiteral("--pdf"), pdf, QStringLiteral("--printer"),
                       QStringLiteral("p")},
           QStringList{QStringLiteral("print"), kBook, QStringLiteral("--category"),
                       QStringLiteral("7"), QStringLiteral("--pdf"), pdf},
           QStringList{QStringLiteral("print"), kBook, QStringLiteral("--rows"),
                       QStringLiteral("1,,2"), QStringLiteral("--pdf"), pdf},
           QStringList{QStringLiteral("print"), kBook, QStringLiteral("--rows"),
                       QStringLiteral("-1"), QStringLiteral("--pdf"), pdf},
           QStringList{QStringLiteral("print"), kBook, QStringLiteral("--all"),
                       QStringLiteral("--all"), QStringLiteral("--pdf"), pdf},
           QStringList{QStringLiteral("print"), kBook, QStringLiteral("--all"),
                       QStringLiteral("--out"), pdf},
           QStringList{QStringLiteral("print"), kBook, QStringLiteral("--all"),
                       QStringLiteral("--kanji-digits"), QStringLiteral("--no-kanji-digits"),
                       QStringLiteral("--pdf"), pdf},
       }) {
    expectUsageError(runCli(args), QStringLiteral("orivel-cli print"), args.join(u' '));
  }
  EXPECT_FALSE(QFile::exists(pdf));
}

// --- export and check ---

QProcessEnvironment withDictionary(const QString& file) {
  QProcessEnvironment env = headlessEnvironment();
  env.insert(QStringLiteral("ORIVEL_POSTAL_DICT"), file);
  return env;
}

TEST_F(CliTest, ExportThenImportGivesTheSameEntries) {
  const QString csv = path(QStringLiteral("book.csv"));
  const CliRun exported = runCli({QStringLiteral("export"), kBook, QStringLiteral("--out"), csv});
  ASSERT_EQ(exported.exitCode, 0) << exported.errText().toStdString();
  EXPECT_TRUE(exported.err.isEmpty());
  const QString back = path(QStringLiteral("back.orv"));
  ASSERT_EQ(runCli({QStringLiteral("import"), QStringLiteral("--out"), back, csv}).exitCode, 0);
  EXPECT_EQ(runCli({QStringLiteral("show"), back}).out,
            runCli({QStringLiteral("show"), kBook}).out);
}

TEST_F(CliTest, OtherProgramsBooksImportAndTheVCardExportReadsBack) {
  const QString book = path(QStringLiteral("friends.orv"));
  const CliRun imported = runCli({QStringLiteral("import"), QStringLiteral("--out"), book,
                                  dataFile("exchange/kit.csv"), dataFile("exchange/contacts3.vcf"),
                                  QStringLiteral("--map"), QStringLiteral("x=名前")});
  ASSERT_EQ(imported.exitCode, 0) << imported.errText().toStdString();
  const QString vcf = path(QStringLiteral("friends.VCF"));
  ASSERT_EQ(runCli({QStringLiteral("export"), book, QStringLiteral("--out"), vcf}).exitCode, 0);
  const QString back = path(QStringLiteral("back.orv"));
  ASSERT_EQ(runCli({QStringLiteral("import"), QStringLiteral("--out"), back, vcf}).exitCode, 0);
  // vCard has no joint names nor honorifics: those of the kit's entries are left behind.
  QStringList expected = runCli({QStringLiteral("show"), book}).outText().split(QLatin1Char('\n'));
  for (QString& line : expected) {
    line.replace(QRegularExpression(QStringLiteral("\"joints\": \\[[^\\]]*\\]")),
                 QStringLiteral("\"joints\": []"));
    line.replace(QStringLiteral("\"sama\": \"先生\""), QStringLiteral("\"sama\": \"様\""));
    line.replace(QStringLiteral("\"sama\": \"御中\""), QStringLiteral("\"sama\": \"様\""));
  }
  EXPECT_EQ(runCli({QStringLiteral("show"), back}).outText().split(QLatin1Char('\n')), expected);
  EXPECT_EQ(expected.size(), 6);
}

TEST_F(CliTest, ImportOfAnUnknownColumnOrMeaningSavesNothing) {
  const QString csv = path(QStringLiteral("members.csv"));
  ASSERT_TRUE(writeBytes(csv, QStringLiteral("会員番号,氏名\n7,山田\n").toUtf8()));
  const QString book = path(QStringLiteral("members.orv"));
  for (const QString& map : {QStringLiteral("電話=名前"), QStringLiteral("氏名=電話")}) {
    const CliRun run = runCli({QStringLiteral("import"), QStringLiteral("--out"), book,
                               QStringLiteral("--map"), map, csv});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.errText(), QStringLiteral("\"--map\": 「%1」が分かりません\n").arg(map));
    EXPECT_FALSE(QFile::exists(book));
  }
}

TEST_F(CliTest, MarkSelectAndPrintKeepTheSeasonRecord) {
  const QString book = copyOf(kBook, QStringLiteral("season.orv"));
  auto cli = [&](QStringList args) {
    const CliRun run = runCli(args);
    EXPECT_EQ(run.exitCode, 0) << args.join(u' ').toStdString() << ": "
                               << run.errText().toStdString();
    return run.outText();
  };
  const QString mark = QStringLiteral("mark");
  cli({mark, book, QStringLiteral("--received"), QStringLiteral("--rows"), QStringLiteral("0,1"),
       QStringLiteral("--season"), QStringLiteral("2027")});
  cli({mark, book, QStringLiteral("--mourning"), QStringLiteral("--category"), QStringLiteral("2"),
       QStringLiteral("--season"), QStringLiteral("2027")});
  cli({mark, book, QStringLiteral("--sent"), QStringLiteral("--all"), QStringLiteral("--season"),
       QStringLiteral("2026")});
  auto select = [&](const char* which) {
    return cli({QStringLiteral("select"), book, QLatin1String(which), QStringLiteral("--season"),
                QStringLiteral("2027")});
  };
  // Row 0 (年賀状) received, row 2 and 3 (暑中見舞い) in mourning.
  EXPECT_EQ(select("--to-send"), QStringLiteral("0\n"));
  EXPECT_EQ(select("--to-answer"), QStringLiteral("0,1\n"));
  EXPECT_EQ(select("--mourning"), QStringLiteral("2,3\n"));
  const QStringList shown = cli({QStringLiteral("show"), book}).split(u'\n');
  ASSERT_EQ(shown.size(), 5);
  EXPECT_TRUE(shown[0].endsWith(
      QStringLiteral("\"history\": {\"2026\": [\"sent\"], \"2027\": [\"received\"]}}")));
  EXPECT_TRUE(shown[2].endsWith(
      QStringLiteral("\"history\": {\"2026\": [\"sent\"], \"2027\": [\"mourning\"]}}")));

  // Printing the ones to answer records them as sent; --clear takes a season away.
  cli({QStringLiteral("print"), book, QStringLiteral("--rows"), select("--to-answer").trimmed(),
       QStringLiteral("--pdf"), path(QStringLiteral("answers.pdf")), QStringLiteral("--no-profile"),
       QStringLiteral("--mark-sent"), QStringLiteral("--season"), QStringLiteral("2027")});
  EXPECT_EQ(select("--to-answer"), QStringLiteral("\n"));
  cli({mark, book, QStringLiteral("--clear"), QStringLiteral("--all"), QStringLiteral("--season"),
       QStringLiteral("2027")});
  EXPECT_EQ(select("--mourning"), QStringLiteral("\n"));
}

TEST_F(CliTest, MarkRefusalsLeaveTheBookAsItWas) {
  const QString book = copyOf(kBook, QStringLiteral("season.orv"));
  const QByteArray before = readBytes(book);
  const QString mark = QStringLiteral("mark");
  const std::vector<std::pair<QStringList, int>> cases = {
      {{mark, book, QStringLiteral("--sent"), QStringLiteral("--all"), QStringLiteral("--season"),
        QStringLiteral("1899")},
       2},
      {{mark, book, QStringLiteral("--sent"), QStringLiteral("--rows"), QStringLiteral("0,9")}, 1},
      {{mark, book, QStringLiteral("--all")}, 2},
      {{mark, book, QStringLiteral("--sent"), QStringLiteral("--received"),
        QStringLiteral("--all")},
       2},
      {{QStringLiteral("select"), book, QStringLiteral("--season"), QStringLiteral("2101"),
        QStringLiteral("--mourning")},
       2},
  };
  for (const auto& [args, code] : cases) {
    const CliRun run = runCli(args);
    EXPECT_EQ(run.exitCode, code) << args.join(u' ').toStdString();
    EXPECT_FALSE(run.err.isEmpty());
    EXPECT_EQ(readBytes(book), before);
  }
}

TEST_F(CliTest, ExportOfAFieldWithACommaWritesNothingAndFails) {
  QFile book(path(QStringLiteral("comma.orv")));
  ASSERT_TRUE(book.open(QIODevice::WriteOnly));
  book.write("[HEADER]\r\nVersion=Ver1.00\r\nCnt=1\r\n[DATAS]\r\nname0=a\r\naddress0=x,y\r\n");
  book.close();
  const QString csv = path(QStringLiteral("comma.csv"));
  const CliRun run =
      runCli({QStringLiteral("export"), book.fileName(), QStringLiteral("--out"), csv});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errText(), QStringLiteral("1件目の住所に「,」があるため書き出せません。\n"));
  EXPECT_FALSE(QFile::exists(csv));
}

TEST_F(CliTest, CheckPrintsOneJsonLinePerFinding) {
  const CliRun run =
      runCli({QStringLiteral("check"), kBook}, withDictionary(dataFile("postal-dict.txt")));
  EXPECT_EQ(run.exitCode, 0);
  const QStringList lines = run.outText().split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0],
            QStringLiteral(
                "{\"index\": 0, \"name\": \"宛名見本\", \"zip_code\": \"100-0001\", \"address\": "
                "\"住所見本\", \"problem\": \"unknown\", \"expected\": [], \"codes\": []}"));
  EXPECT_TRUE(lines[1].startsWith(QStringLiteral("{\"index\": 1,")));
  EXPECT_TRUE(lines[1].contains(QStringLiteral("\"problem\": \"missing\"")));
  EXPECT_TRUE(lines[2].contains(QStringLiteral("\"problem\": \"unknown\"")));
}

TEST_F(CliTest, CheckWithoutADictionaryFails) {
  const CliRun run =
      runCli({QStringLiteral("check"), kBook}, withDictionary(path(QStringLiteral("none.txt"))));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errText(), QStringLiteral("郵便番号辞書が見つかりません。\n"));
  EXPECT_TRUE(run.out.isEmpty());
}

// --- calibration ---

TEST_F(CliTest, CalibrationWritesOneCardSizedPageAndTakesNothingElse) {
  const QString pdf = path(QStringLiteral("calibration.pdf"));
  const CliRun run = runCli({QStringLiteral("calibration"), QStringLiteral("--pdf"), pdf});
  ASSERT_EQ(run.exitCode, 0) << run.errText().toStdString();
  const PdfInfo info = pdfInfo(pdf);
  EXPECT_EQ(info.pages, 1);
  EXPECT_NEAR(info.width, 100 / 25.4 * 72, 1.0);
  EXPECT_NEAR(info.height, 148 / 25.4 * 72, 1.0);
  EXPECT_TRUE(pdfPageText(pdf, 1).contains(QStringLiteral("印刷位置の確認")));

  const QStringList refused[] = {
      {QStringLiteral("calibration"), kBook},
      {QStringLiteral("calibration"), QStringLiteral("--all")},
      {QStringLiteral("calibration"), QStringLiteral("--pdf"), pdf, QStringLiteral("--printer"),
       QStringLiteral("p")},
  };
  for (const QStringList& args : refused)
    EXPECT_EQ(runCli(args).exitCode, 2) << args.join(u' ').toStdString();
}

}  // namespace
}  // namespace orivel::test
