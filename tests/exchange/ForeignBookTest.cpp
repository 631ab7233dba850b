#include <gtest/gtest.h>

#include <QComboBox>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "common/Codec.h"
#include "exchange/ColumnMapDialog.h"
#include "exchange/ForeignBook.h"
#include "exchange/Import.h"
#include "exchange/VCard.h"
#include "files/BookFile.h"
#include "files/TempFiles.h"

namespace orivel::test {
namespace {

const TextCodec& codec() {
  return codec::textCodec();
}

// An entry as the tests write it: UTF-8, with the joints as "name/sama" and the categories
// as their numbers.
struct Expected {
  std::string name, zip, address, sama;
  std::vector<std::string> joints{};
  std::string company{}, department{}, title{};
  std::vector<int> categories{};
};

std::string utf8(const std::string& cp932) {
  return codec::toQString(cp932).toStdString();
}

void expectEntry(const datatype& e, const Expected& x, const std::string& where) {
  SCOPED_TRACE(where);
  EXPECT_EQ(utf8(e.name), x.name);
  EXPECT_EQ(utf8(e.zip_code), x.zip);
  EXPECT_EQ(utf8(e.address), x.address);
  EXPECT_EQ(utf8(e.sama), x.sama);
  std::vector<std::string> joints;
  for (const JointName& j : e.joints) joints.push_back(utf8(j.name) + "/" + utf8(j.sama));
  EXPECT_EQ(joints, x.joints);
  EXPECT_EQ(utf8(e.company), x.company);
  EXPECT_EQ(utf8(e.department), x.department);
  EXPECT_EQ(utf8(e.title), x.title);
  std::vector<int> categories;
  for (int k = 1; k <= kCategoryCount; ++k)
    if (e.inCategory(k)) categories.push_back(k);
  EXPECT_EQ(categories, x.categories);
}

std::string sample(const char* name) {
  return ReadBytes(std::filesystem::path(ORIVEL_TEST_DATA "/exchange") / name);
}

TEST(ForeignBookTest, EachFormReadsItsSampleFile) {
  struct Case {
    const char* file;
    ImportFormat format;
    std::vector<Expected> entries;
  };
  const std::vector<Case> cases = {
      {"kit.csv",
       ImportFormat::HagakiKit,
       {{"山田　太郎",
         "150-0001",
         "東京都渋谷区神宮前1-2-3　メゾン神宮101",
         "様",
         {"花子/様", "健太/くん", "佐藤　一郎/様"}},
        {"鈴木　一郎",
         "100-0005",
         "東京都千代田区丸の内1-1-1　丸の内ビル12階",
         "様",
         {},
         "株式会社オリベル",
         "営業部",
         "部長"},
        {"高橋　\"美咲\"", "060-0042", "北海道札幌市中央区大通西10丁目", "先生"}}},
      // The home address wins over the first one; a street of two lines gives the building;
      // a contact without a name is no addressee.
      {"google.csv",
       ImportFormat::GoogleContacts,
       {{"佐藤　花子",
         "606-8151",
         "京都府京都市左京区一乗寺1-2　コーポ一乗寺203",
         "様",
         {},
         "",
         "",
         "",
         {1}},
        {"田中　次郎",
         "460-0008",
         "愛知県名古屋市中区本町2-3",
         "様",
         {},
         "株式会社テスト",
         "総務部",
         "課長",
         {4}}}},
      // The older header, its one address only in the formatted text, over two lines.
      {"google-old.csv",
       ImportFormat::GoogleContacts,
       {{"伊藤　健",
         "",
         "福岡県福岡市博多区博多駅前1-1　博多ハイツ5F",
         "様",
         {},
         "",
         "",
         "",
         {2}}}},
      // The home address, escaped comma and folded line included, over the work one; a card
      // whose only name is its organisation's is a card to the company.
      {"contacts3.vcf",
       ImportFormat::VCard,
       {{"山本　直子",
         "220-0012",
         "神奈川県横浜市西区みなとみらい2-3-1　グランドメゾン横浜, 1201",
         "様",
         {},
         "",
         "",
         "",
         {1, 3}},
        {"オリベル商店",
         "460-0008",
         "愛知県名古屋市中区栄3-4-5",
         "御中",
         {},
         "",
         "企画課",
         "店長"}}},
      // vCard 2.1 from a phone: Shift-JIS in quoted-printable with a soft line break.
      {"phone21.vcf",
       ImportFormat::VCard,
       {{"小林　優子", "104-0061", "東京都中央区銀座1-2-3", "様"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string bytes = sample(c.file);
    ASSERT_EQ(DetectImportFormat(bytes, codec()), c.format);
    const ImportRead read = ReadForeignBook(bytes, c.format, codec());
    ASSERT_EQ(read.status, ImportRead::Status::Read);
    ASSERT_EQ(read.entries.size(), c.entries.size());
    for (std::size_t i = 0; i < c.entries.size(); ++i)
      expectEntry(read.entries[i], c.entries[i], "entry " + std::to_string(i));
  }
}

TEST(ForeignBookTest, TheProgramsOwnCsvAndOtherTablesAreToldApart) {
  const std::string own =
      codec::encodeKnown(QStringLiteral("名前,郵便番号,住所,年賀状,暑中見舞い,バースデー,"
                                        "クリスマス,その他１,その他２,敬称\r\n山田,1,2\r\n"));
  EXPECT_EQ(DetectImportFormat(own, codec()), ImportFormat::Orivel);
  EXPECT_EQ(DetectImportFormat("a,b,c\r\n1,2,3\r\n", codec()), ImportFormat::Orivel);
  // Its named columns of joints and a company do not make it another program's table.
  EXPECT_EQ(DetectImportFormat("name,zip,address,1,2,3,4,5,6,sama,連名1,会社名\n", codec()),
            ImportFormat::Orivel);
  EXPECT_EQ(DetectImportFormat("\xEF\xBB\xBF会員番号,氏名,〒,住所1,住所2\n1,a,b,c,d\n", codec()),
            ImportFormat::OtherCsv);
  EXPECT_EQ(DetectImportFormat(std::string("PK\x03\x04\0\0", 6), codec()), ImportFormat::Unknown);
}

TEST(ForeignBookTest, RefusalsNameTheLineOrCardAndImportNothing) {
  using S = ImportRead::Status;
  struct Case {
    std::string bytes;
    ImportFormat format;
    S status;
    int where;
    std::string bad{};
  };
  const std::string kitHeader = codec::encodeKnown(QStringLiteral("氏名(姓),氏名(名)\r\n"));
  const std::vector<Case> cases = {
      {kitHeader + codec::encodeKnown(QStringLiteral("山田,太郎\r\n\"鈴木,一郎\r\n")),
       ImportFormat::HagakiKit, S::Malformed, 3},
      {kitHeader + codec::encodeKnown(QStringLiteral("山田,太郎\r\n")) + "\x81\x20,x\r\n",
       ImportFormat::HagakiKit, S::InvalidText, 3},
      {"First Name,Last Name\n太郎,山田\n𠮷,田中\n", ImportFormat::GoogleContacts, S::Unencodable,
       3, "𠮷"},
      {"BEGIN:VCARD\r\nN:A;B\r\nEND:VCARD\r\nBEGIN:VCARD\r\nN:C;D\r\n", ImportFormat::VCard,
       S::Malformed, 2},
      {"BEGIN:VCARD\r\nN:A;B\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:\xFF\xFE\r\nEND:VCARD\r\n",
       ImportFormat::VCard, S::InvalidText, 2},
      {"BEGIN:VCARD\r\nN:A;B\r\nEND:VCARD\r\nBEGIN:VCARD\r\nN:𠮷;B\r\nEND:VCARD\r\n",
       ImportFormat::VCard, S::Unencodable, 2, "𠮷"},
      // A name the book file would read back as an empty slot.
      {kitHeader + "a,b\r\n0,\r\n", ImportFormat::HagakiKit, S::NameNotKept, 3},
      {"BEGIN:VCARD\r\nN:A;B\r\nEND:VCARD\r\nBEGIN:VCARD\r\nFN:0\r\nEND:VCARD\r\n",
       ImportFormat::VCard, S::NameNotKept, 2},
      {std::string("\x89PNG\r\n\x1a\n\0\0", 10), ImportFormat::Unknown, S::UnknownFormat, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    EXPECT_EQ(DetectImportFormat(c.bytes, codec()), c.format);
    const ImportRead read = ReadForeignBook(c.bytes, c.format, codec());
    EXPECT_EQ(read.status, c.status);
    EXPECT_EQ(read.where, c.where);
    EXPECT_EQ(read.badCharacter, c.bad);
    EXPECT_TRUE(read.entries.empty());
  }
}

TEST(ForeignBookTest, AFieldOfSeveralLinesIsOneLineOfTheBookAndANamelessRecordIsCounted) {
  const std::string bytes =
      "First Name,Last Name,Organization Name,Address 1 - Formatted\r\n"
      "太郎,山田,\"A社\r\n\r\nB部\",\r\n"
      ",,\"ただの会社\",\r\n";
  const ImportRead read = ReadForeignBook(bytes, ImportFormat::GoogleContacts, codec());
  ASSERT_EQ(read.status, ImportRead::Status::Read);
  ASSERT_EQ(read.entries.size(), 2u);
  expectEntry(read.entries[0], {"山田　太郎", "", "", "様", {}, "A社　B部"}, "several lines");
  expectEntry(read.entries[1], {"ただの会社", "", "", "御中"}, "a company only");
  EXPECT_EQ(read.nameless, 0);
  // The book file keeps it.
  AddressBook book;
  ASSERT_TRUE(book.append(read.entries[0]));
  QTemporaryDir dir;
  const std::filesystem::path path = dir.filePath(QStringLiteral("b.orv")).toStdString();
  ASSERT_TRUE(SaveBook(book, path));
  AddressBook back;
  ASSERT_TRUE(LoadBook(path, back).ok());
  EXPECT_EQ(back.entry(0), read.entries[0]);
}

// A contact that is only a company comes in addressed to it, in every form; vCard 2.1's
// BASE64 text is read in its character set.
TEST(ForeignBookTest, CompanyCardsAndBase64TextComeInAsTheyAreMeant) {
  struct Case {
    const char* what;
    std::string bytes;
    Expected entry;
  };
  const Case cases[] = {
      {"an ORG without N or FN",
       "BEGIN:VCARD\r\nVERSION:3.0\r\nORG:株式会社オリベル;営業部\r\nEND:VCARD\r\n",
       {"株式会社オリベル", "", "", "御中", {}, "", "営業部"}},
      {"shown as a company, a person's name beside it",
       "BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田;太郎;;;\r\nFN:山田 太郎\r\n"
       "ORG:オリベル商事\r\nX-ABShowAs:COMPANY\r\nEND:VCARD\r\n",
       {"オリベル商事", "", "", "御中"}},
      {"a person at a company stays a person",
       "BEGIN:VCARD\r\nVERSION:3.0\r\nN:山田;太郎;;;\r\nORG:オリベル商事\r\nEND:VCARD\r\n",
       {"山田　太郎", "", "", "様", {}, "オリベル商事"}},
      {"a Google contact with only an organisation",
       "First Name,Last Name,Organization Name,Organization Department\r\n"
       ",,オリベル総研,研究部\r\n",
       {"オリベル総研", "", "", "御中", {}, "", "研究部"}},
      {"BASE64 in Shift-JIS, and in UTF-8",
       "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=SHIFT_JIS;ENCODING=BASE64:jlKTYw==\r\n"
       "ADR;HOME;CHARSET=SHIFT_JIS;ENCODING=BASE64:OzuTjIuek3OQ\r\n 55Hjk2OL5js7Ozs=\r\n\r\n"
       "TITLE;CHARSET=UTF-8;BASE64:5aSq6YOO\r\nEND:VCARD\r\n",
       {"山田", "", "東京都千代田区", "様", {}, "", "", "太郎"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const ImportRead read = ReadForeignBook(c.bytes, DetectImportFormat(c.bytes, codec()), codec());
    ASSERT_EQ(read.status, ImportRead::Status::Read);
    ASSERT_EQ(read.entries.size(), 1u);
    expectEntry(read.entries[0], c.entry, c.what);
  }
  const std::string broken =
      "BEGIN:VCARD\r\nVERSION:2.1\r\nN;ENCODING=BASE64:jl*KTYw==\r\nEND:VCARD\r\n";
  const ImportRead read = ReadForeignBook(broken, ImportFormat::VCard, codec());
  EXPECT_EQ(read.status, ImportRead::Status::InvalidText);
  EXPECT_EQ(read.where, 1);
}

// Thunderbird and Excel write CSV files in UTF-16 with a byte-order mark: the same file in
// UTF-8, LE or BE, reads the same; broken UTF-16 is no form the import knows.
TEST(ForeignBookTest, Utf16FilesReadAsTheirUtf8Text) {
  const QString csv = QStringLiteral(
      "First Name,Last Name,Address 1 - Formatted\r\n𠀋太郎,山田,東京都千代田区丸の内1-1\r\n");
  QByteArray le("\xFF\xFE", 2), be("\xFE\xFF", 2);
  for (const QChar c : csv) {
    const char16_t u = c.unicode();
    le.append(char(u & 0xFF)).append(char(u >> 8));
    be.append(char(u >> 8)).append(char(u & 0xFF));
  }
  QTemporaryDir dir;
  struct Case {
    const char* what;
    QByteArray bytes;
    ImportFormat format;
  };
  const Case cases[] = {
      {"UTF-8", "\xEF\xBB\xBF" + csv.toUtf8(), ImportFormat::GoogleContacts},
      {"UTF-16 LE", le, ImportFormat::GoogleContacts},
      {"UTF-16 BE", be, ImportFormat::GoogleContacts},
      {"odd length", le + "x", ImportFormat::Unknown},
      {"a lone surrogate", QByteArray("\xFF\xFE\x00\xD8\x41\x00", 6), ImportFormat::Unknown},
  };
  std::string utf8Bytes;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QString path = dir.filePath(QString::fromUtf8(c.what) + QStringLiteral(".csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(c.bytes);
    file.close();
    const ImportSource source = OpenImportSource(path.toStdString(), codec());
    EXPECT_EQ(source.format, c.format);
    if (c.format == ImportFormat::Unknown) continue;
    if (utf8Bytes.empty()) utf8Bytes = source.bytes;
    EXPECT_EQ(source.bytes, utf8Bytes);  // the same text whatever it was written in
  }
}

TEST(ForeignBookTest, TheMappingGuessesEachColumnAndTakesTheUsersChoice) {
  const std::string bytes =
      "会員番号,氏名,〒,住所1,住所2,建物名,勤務先,フリガナ,敬称\n"
      "7,山田　太郎,1500001,東京都渋谷区,神宮前1-2-3,メゾン101,オリベル,ヤマダ,殿\n";
  const std::optional<CsvPreview> preview = PreviewCsv(bytes, codec(), 5);
  ASSERT_TRUE(preview);
  using M = ColumnMeaning;
  EXPECT_EQ(preview->guesses,
            (std::vector<M>{M::Unused, M::Name, M::ZipCode, M::Address1, M::Address2, M::Building,
                            M::Company, M::Unused, M::Honorific}));
  ColumnMapDialog dialog(*preview);
  EXPECT_EQ(dialog.meanings(), preview->guesses);
  // The user says the company column is not wanted; --map says the same by header or number.
  dialog.MeaningBoxes[6]->setCurrentIndex(static_cast<int>(M::Unused));
  std::vector<M> mapped = preview->guesses;
  std::string bad;
  ASSERT_TRUE(ApplyColumnMap("勤務先=使わない", preview->header, &mapped, &bad));
  EXPECT_EQ(mapped, dialog.meanings());
  mapped = preview->guesses;
  ASSERT_TRUE(ApplyColumnMap("7=使わない", preview->header, &mapped, &bad));
  EXPECT_EQ(mapped, dialog.meanings());
  EXPECT_FALSE(ApplyColumnMap("勤務先=電話", preview->header, &mapped, &bad));
  EXPECT_EQ(bad, "勤務先=電話");
  EXPECT_FALSE(ApplyColumnMap("10=名前", preview->header, &mapped, &bad));

  const ImportRead read =
      ReadForeignBook(bytes, ImportFormat::OtherCsv, codec(), dialog.meanings());
  ASSERT_EQ(read.status, ImportRead::Status::Read);
  ASSERT_EQ(read.entries.size(), 1u);
  expectEntry(read.entries[0],
              {"山田　太郎", "150-0001", "東京都渋谷区神宮前1-2-3　メゾン101", "殿"}, "mapped");
}

TEST(ForeignBookTest, TheVCardExportImportsBackToTheSameEntries) {
  AddressBook book;
  auto entry = [](const QString& name, const QString& zip, const QString& address,
                  std::initializer_list<int> categories) {
    datatype e;
    e.name = codec::encodeKnown(name);
    e.zip_code = codec::encodeKnown(zip);
    e.address = codec::encodeKnown(address);
    e.sama = codec::encodeKnown(QStringLiteral("様"));
    for (int k : categories) e.ml[static_cast<std::size_t>(k - 1)] = 1;
    return e;
  };
  // A long address that must fold, a comma and a semicolon that must be escaped, a
  // building after the first full-width space, a name without a space, a company.
  ASSERT_TRUE(
      book.append(entry(QStringLiteral("山田　太郎"), QStringLiteral("150-0001"),
                        QStringLiteral("東京都渋谷区神宮前一丁目二番三号神宮前グランドハイツ"
                                       "　東棟,101;号室"),
                        {1, 4})));
  ASSERT_TRUE(book.append(entry(QStringLiteral("ナナシ"), QString(), QString(), {})));
  datatype work = entry(QStringLiteral("鈴木　一郎"), QStringLiteral("100-0005"),
                        QStringLiteral("東京都千代田区丸の内1-1-1"), {6});
  work.company = codec::encodeKnown(QStringLiteral("株式会社オリベル"));
  work.department = codec::encodeKnown(QStringLiteral("営業部"));
  work.title = codec::encodeKnown(QStringLiteral("部長"));
  ASSERT_TRUE(book.append(work));

  QTemporaryDir dir;
  const std::filesystem::path path = dir.filePath(QStringLiteral("book.vcf")).toStdString();
  ASSERT_TRUE(IsVCardPath(path));
  ASSERT_EQ(ExportVCards(book, path, codec()).status, VCardExportResult::Status::Written);
  const std::string text = ReadBytes(path);
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find("\r\n", start);
    ASSERT_NE(end, std::string::npos) << "every line ends in CR LF";
    EXPECT_LE(end - start, 75u) << text.substr(start, end - start);
    start = end + 2;
  }
  EXPECT_NE(text.find("ADR;TYPE=HOME:;"), std::string::npos);

  const ImportRead read = ReadForeignBook(text, DetectImportFormat(text, codec()), codec());
  ASSERT_EQ(read.status, ImportRead::Status::Read);
  ASSERT_EQ(read.entries.size(), 3u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(read.entries[static_cast<std::size_t>(i)], book.entry(i));
}

}  // namespace
}  // namespace orivel::test
