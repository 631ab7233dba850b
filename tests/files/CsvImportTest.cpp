#include "files/CsvImport.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "TempFiles.h"

namespace orivel {
namespace {

using test::TempFolder;

// Code page 932 texts.
const std::string kSama = "\x97\x6c";            // 様
const std::string kYamada = "\x8e\x52\x93\x63";  // 山田
const std::string kSato = "\x8d\xb2\x93\xa1";    // 佐藤
const std::string kSuzuki = "\x97\xe9\x96\xd8";  // 鈴木
const std::string kCircle = "\x81\x9b";          // ○
const std::string kCross = "\x81\x7e";           // ×
const std::string kWideY = "\x82\x78";           // Ｙ
const std::string kWideO = "\x82\x6e";           // Ｏ
const std::string kWideLowerY = "\x82\x99";      // ｙ
const std::string kWideLowerO = "\x82\x8f";      // ｏ
const std::string kHeader = "name,zip,address,1,2,3,4,5,6,sama";

std::vector<std::string> names(const AddressBook& book) {
  std::vector<std::string> out;
  for (int i = 0; i < book.count(); ++i) out.push_back(book.entry(i).name);
  return out;
}

// Reads the text as a file would be read and appends its rows to the book.
CsvImportResult importText(const std::string& text, AddressBook& book, StringGrid* into = nullptr) {
  StringGrid grid;
  StringGrid& g = into ? *into : grid;
  g.clearCells();
  SplitCsvBytes(text, g);
  return AppendGridRows(g, book);
}

datatype named(const std::string& name) {
  datatype e;
  e.name = name;
  return e;
}

TEST(UpperCaseCp932, ChangesAsciiAndFullWidthLettersOnly) {
  EXPECT_EQ(UpperCaseCp932("abz-AZ09y"), "ABZ-AZ09Y");
  EXPECT_EQ(UpperCaseCp932("\x82\x81\x82\x9a"), "\x82\x60\x82\x79");  // ａｚ -> ＡＺ
  EXPECT_EQ(UpperCaseCp932(kWideLowerY), kWideY);
  // Trail bytes that look like ASCII letters stay: Ｐ (82 6F), Ｙ (82 78), 表 (95 5C).
  EXPECT_EQ(UpperCaseCp932("\x82\x6f\x82\x78\x95\x5c"), "\x82\x6f\x82\x78\x95\x5c");
  // A half-width katakana is a single byte, so the letter after it is a letter.
  EXPECT_EQ(UpperCaseCp932("\xb1y"), "\xb1Y");
  // A lead byte at the very end is left as it is.
  EXPECT_EQ(UpperCaseCp932("a\x82"), "A\x82");
}

TEST(ParseCsvFlag, TheMarksAndTheirLowerCaseLettersCount) {
  for (const std::string& mark : {std::string("Y"), kWideY, std::string("O"), kWideO, kCircle,
                                  std::string("y"), std::string("o"), kWideLowerY, kWideLowerO})
    EXPECT_TRUE(ParseCsvFlag(mark)) << mark;
}

TEST(ParseCsvFlag, OtherTextsDoNotCount) {
  for (const std::string& text :
       {std::string(""), std::string("1"), std::string("0"), std::string("N"), kCross,
        std::string("Yes"), std::string(" Y"), std::string("Y "), std::string("YY"),
        std::string("\x82\x58"), std::string("\x82\x4e"), std::string("Q")})
    EXPECT_FALSE(ParseCsvFlag(text)) << text;
}

TEST(CsvImport, FieldsGoWhereTheColumnsSay) {
  AddressBook book;
  const auto result = importText(
      kHeader + "\n" + kYamada + ",100-0001,Tokyo," + kCircle + ",,,Y,,," + kSama + ",extra,more\n",
      book);
  EXPECT_EQ(result.added, 1);
  ASSERT_EQ(book.count(), 1);
  const datatype& e = book.entry(0);
  EXPECT_EQ(e.name, kYamada);
  EXPECT_EQ(e.zip_code, "100-0001");
  EXPECT_EQ(e.address, "Tokyo");
  EXPECT_EQ(e.sama, kSama);
  EXPECT_EQ(e.ml, (std::array<std::uint8_t, 6>{1, 0, 0, 1, 0, 0}));
  EXPECT_FALSE(book.isChecked(0));
}

TEST(CsvImport, EachCategoryColumnSetsItsOwnFlag) {
  AddressBook book;
  std::string text = kHeader + "\n";
  for (int k = 0; k < 6; ++k) {
    text += "n" + std::to_string(k) + ",,";
    for (int c = 0; c < 6; ++c) text += c == k ? ",o" : ",";
    text += "\n";
  }
  importText(text, book);
  ASSERT_EQ(book.count(), 6);
  for (int k = 0; k < 6; ++k)
    for (int c = 0; c < 6; ++c)
      EXPECT_EQ(book.entry(k).ml[static_cast<std::size_t>(c)], c == k ? 1 : 0) << k << c;
}

TEST(CsvImport, ShortLinesGiveEmptyTextsAndClearFlags) {
  AddressBook book;
  importText(kHeader + "\n" + kSato + ",100-0002\n", book);
  ASSERT_EQ(book.count(), 1);
  EXPECT_EQ(book.entry(0).zip_code, "100-0002");
  EXPECT_EQ(book.entry(0).address, "");
  EXPECT_EQ(book.entry(0).sama, "");
  EXPECT_EQ(book.entry(0).ml, (std::array<std::uint8_t, 6>{}));
}

TEST(CsvImport, TheFirstLineIsAlwaysTheHeader) {
  AddressBook book;
  importText(kYamada + ",100-0001\n" + kSato + ",100-0002\n", book);
  EXPECT_EQ(names(book), std::vector<std::string>{kSato});
}

TEST(CsvImport, ALastLineWithoutLineFeedCountsAndBlankLinesAddNothing) {
  AddressBook book;
  importText(kHeader + "\n\n" + kYamada + "\n,has no name,x\n\n" + kSato, book);
  EXPECT_EQ(names(book), (std::vector<std::string>{kYamada, kSato}));
}

TEST(CsvImport, LfAndCrLfGiveTheSameEntriesWithNoCrInTheHonorific) {
  AddressBook lf;
  AddressBook crlf;
  const std::string line = kYamada + ",1,a,,,,,,," + kSama;
  importText(kHeader + "\n" + line + "\n" + line + "\n", lf);
  importText(kHeader + "\r\n" + line + "\r\n" + line + "\r\n", crlf);
  ASSERT_EQ(crlf.count(), 2);
  EXPECT_EQ(crlf.entry(0), lf.entry(0));
  EXPECT_EQ(crlf.entry(1), lf.entry(1));
  EXPECT_EQ(crlf.entry(1).sama, kSama);
}

TEST(CsvImport, QuotesStayAndACommaBetweenThemMovesTheRestRight) {
  AddressBook book;
  importText(kHeader + "\n\"" + kYamada + "\",\"100,0001\",addr,Y\n", book);
  ASSERT_EQ(book.count(), 1);
  EXPECT_EQ(book.entry(0).name, "\"" + kYamada + "\"");
  EXPECT_EQ(book.entry(0).zip_code, "\"100");
  EXPECT_EQ(book.entry(0).address, "0001\"");
  EXPECT_EQ(book.entry(0).ml[0], 0);  // "addr" moved into the first mark column
  EXPECT_EQ(book.entry(0).ml[1], 1);
}

TEST(CsvImport, TheSameFileTwiceAddsEverythingTwiceAfterTheEntriesThere) {
  AddressBook book;
  book.append(named(kSuzuki));
  book.setChecked(0, true);
  const std::string text = kHeader + "\n" + kYamada + "\n" + kSato + "\n";
  importText(text, book);
  importText(text, book);
  EXPECT_EQ(names(book), (std::vector<std::string>{kSuzuki, kYamada, kSato, kYamada, kSato}));
  EXPECT_TRUE(book.isChecked(0));
  for (int i = 1; i < 5; ++i) EXPECT_FALSE(book.isChecked(i));
}

TEST(CsvImport, ALaterSmallerFileInALargerGridAddsOnlyItsOwnLines) {
  std::string big = kHeader + "\n";
  for (int i = 0; i < 11; ++i) big += "big" + std::to_string(i) + ",,,,,,,,,,x\n";
  StringGrid grid;
  AddressBook book;
  EXPECT_EQ(importText(big, book, &grid).added, 11);
  EXPECT_EQ(grid.rowCount(), 14);
  EXPECT_EQ(grid.colCount(), 11);
  EXPECT_EQ(importText(kHeader + "\nsmall1\nsmall2", book, &grid).added, 2);
  EXPECT_EQ(grid.rowCount(), 14);
  EXPECT_EQ(book.count(), 13);
  EXPECT_EQ(book.entry(12).name, "small2");
}

TEST(CsvImport, StopsAtTheLastSlotAndCountsTheAddresseesLeftOut) {
  AddressBook book;
  for (int i = 0; i < 295; ++i) book.append(named("old" + std::to_string(i)));
  std::string text = kHeader + "\n";
  for (int i = 0; i < 8; ++i) text += "new" + std::to_string(i) + "\n,no name\n";
  const auto result = importText(text, book);
  EXPECT_EQ(result.added, 5);
  EXPECT_EQ(result.leftOut, 3);
  EXPECT_EQ(book.count(), 300);
  EXPECT_EQ(book.entry(299).name, "new4");
}

TEST(CsvImport, AFullBookTakesNothing) {
  AddressBook book;
  for (int i = 0; i < 300; ++i) book.append(named("old"));
  const auto result = importText(kHeader + "\na\nb\n", book);
  EXPECT_EQ(result.added, 0);
  EXPECT_EQ(result.leftOut, 2);
  EXPECT_EQ(book.entry(299).name, "old");
}

// Stands in for the codec: ASCII and a few known characters convert, ☃ does not.
bool fakeConverter(std::string_view utf8, std::string* out) {
  static const std::map<std::string, std::string> known = {{"\xe5\xb1\xb1\xe7\x94\xb0", kYamada},
                                                           {"\xe6\xa7\x98", kSama}};
  out->clear();
  for (std::size_t i = 0; i < utf8.size();) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b < 0x80) {
      out->push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    bool found = false;
    for (const auto& [from, to] : known) {
      if (utf8.substr(i).starts_with(from)) {
        out->append(to);
        i += from.size();
        found = true;
        break;
      }
    }
    if (!found) return false;
  }
  return true;
}

TEST(ReadCsvFileForImport, AUtf8FileWithTheMarkIsConvertedLineByLine) {
  TempFolder dir;
  std::vector<std::string> seen;
  const Utf8ToCp932 recording = [&](std::string_view line, std::string* out) {
    seen.emplace_back(line);
    return fakeConverter(line, out);
  };
  const std::filesystem::path path = dir.write(
      "utf8.csv", "\xef\xbb\xbfname\r\n\xe5\xb1\xb1\xe7\x94\xb0,1,a,,,,,,,\xe6\xa7\x98\r\n");
  StringGrid grid;
  const CsvRead read = ReadCsvFileForImport(path, grid, recording);
  ASSERT_EQ(read.status, CsvRead::Status::Read);
  EXPECT_EQ(grid.cell(0, 0), "name");
  EXPECT_EQ(grid.cell(0, 1), kYamada);
  EXPECT_EQ(grid.cell(9, 1), kSama);
  // Lines reach the converter without the mark, CR or LF.
  EXPECT_EQ(seen,
            (std::vector<std::string>{"name", "\xe5\xb1\xb1\xe7\x94\xb0,1,a,,,,,,,\xe6\xa7\x98"}));
}

TEST(ReadCsvFileForImport, AnUnconvertibleLineIsNamedAndNothingIsRead) {
  TempFolder dir;
  const std::filesystem::path path = dir.write(
      "bad.csv",
      "\xef\xbb\xbfname\n\xe5\xb1\xb1\xe7\x94\xb0\nsnow\xe2\x98\x83\nlater\xe2\x98\x83\n");
  StringGrid grid;
  const CsvRead read = ReadCsvFileForImport(path, grid, fakeConverter);
  EXPECT_EQ(read.status, CsvRead::Status::Unencodable);
  EXPECT_EQ(read.badLine, 3);
  EXPECT_EQ(read.badLineUtf8, "snow\xe2\x98\x83");
  EXPECT_EQ(grid.cell(0, 0), "");
  EXPECT_EQ(grid.cell(0, 1), "");
}

TEST(ReadCsvFileForImport, CtrlZEndsAUtf8FileBeforeConversion) {
  TempFolder dir;
  const std::filesystem::path path = dir.write("z.csv", "\xef\xbb\xbfh\na\x1a\xe2\x98\x83\n");
  StringGrid grid;
  EXPECT_EQ(ReadCsvFileForImport(path, grid, fakeConverter).status, CsvRead::Status::Read);
  EXPECT_EQ(grid.cell(0, 1), "a");
}

TEST(ReadCsvFileForImport, AFileWithoutTheMarkIsReadByteForByte) {
  TempFolder dir;
  int calls = 0;
  const Utf8ToCp932 counting = [&](std::string_view, std::string*) {
    ++calls;
    return false;
  };
  StringGrid grid;
  const std::filesystem::path path = dir.write("sjis.csv", "h\n" + kYamada + "\n");
  EXPECT_EQ(ReadCsvFileForImport(path, grid, counting).status, CsvRead::Status::Read);
  EXPECT_EQ(grid.cell(0, 1), kYamada);
  EXPECT_EQ(calls, 0);
}

// Without the mark: a file that is UTF-8 throughout and holds more than ASCII is converted;
// anything else is read byte for byte.
TEST(ReadCsvFileForImport, AUtf8FileWithoutTheMarkIsConvertedOnlyWhenItIsUtf8Throughout) {
  const std::string yamadaUtf8 = "\xe5\xb1\xb1\xe7\x94\xb0";
  struct Case {
    std::string bytes;
    bool converted;
    std::string cell;  // (0, 1) after the read
  } cases[] = {
      {"h\r\n" + yamadaUtf8 + ",1\r\n", true, kYamada},
      {"h\n" + kYamada + "\n", false, kYamada},                             // code page 932
      {"h\nplain\n", false, "plain"},                                       // ASCII only
      {"h\n" + yamadaUtf8 + "\xe5\xb1\n", false, yamadaUtf8 + "\xe5\xb1"},  // cut off at the end
      {"h\n\xc0\xaf" + yamadaUtf8 + "\n", false, "\xc0\xaf" + yamadaUtf8},  // overlong form
      {"h\n\xed\xa0\x80\n", false, "\xed\xa0\x80"},                         // a surrogate
  };
  for (const Case& c : cases) {
    TempFolder dir;
    int calls = 0;
    const Utf8ToCp932 counting = [&](std::string_view line, std::string* out) {
      ++calls;
      return fakeConverter(line, out);
    };
    StringGrid grid;
    const std::filesystem::path path = dir.write("u.csv", c.bytes);
    EXPECT_EQ(ReadCsvFileForImport(path, grid, counting).status, CsvRead::Status::Read);
    EXPECT_EQ(grid.cell(0, 1), c.cell);
    EXPECT_EQ(calls > 0, c.converted) << c.cell;
  }
  TempFolder dir;
  StringGrid grid;
  const CsvRead read =
      ReadCsvFileForImport(dir.write("snow.csv", "h\nsnow\xe2\x98\x83\n"), grid, fakeConverter);
  EXPECT_EQ(read.status, CsvRead::Status::Unencodable);
  EXPECT_EQ(read.badLine, 2);
}

TEST(ReadCsvFileForImport, TellsAMissingFileFromOneThatCannotBeRead) {
  TempFolder dir;
  StringGrid grid;
  const Utf8ToCp932 none = [](std::string_view, std::string*) { return false; };
  EXPECT_EQ(ReadCsvFileForImport(dir.path("missing.csv"), grid, none).status,
            CsvRead::Status::NotFound);
  std::filesystem::create_directory(dir.path("folder.csv"));
  EXPECT_EQ(ReadCsvFileForImport(dir.path("folder.csv"), grid, none).status,
            CsvRead::Status::CannotOpen);
}

// A file naming an addressee "0" would lose the addressee at the next load of the book: the
// file is refused, naming the first such line, and nothing is read.
TEST(ReadCsvFileForImport, ANameTheBookCannotKeepRefusesTheFileNamingTheLine) {
  const struct {
    std::string bytes;
    int badLine;  // 0: read
  } cases[] = {
      {"0,name\n" + kYamada + ",0\n00\n", 0},     // the header, another column, "00"
      {"h\n" + kYamada + "\n0,1\n0\n", 3},        // the first of two
      {"h\r\n\r\n \"0\" \r\n", 3},                // read back as "0" too; blank lines count
      {"\xef\xbb\xbfh\n" + std::string("0"), 2},  // UTF-8, the last line without its end
  };
  for (const auto& c : cases) {
    TempFolder dir;
    StringGrid grid;
    grid.setCell(0, 1, "before");
    const CsvRead read = ReadCsvFileForImport(dir.write("n.csv", c.bytes), grid, fakeConverter);
    if (c.badLine == 0) {
      EXPECT_EQ(read.status, CsvRead::Status::Read) << c.bytes;
      continue;
    }
    EXPECT_EQ(read.status, CsvRead::Status::NameNotKept) << c.bytes;
    EXPECT_EQ(read.badLine, c.badLine) << c.bytes;
    EXPECT_EQ(grid.cell(0, 0), "") << c.bytes;
    EXPECT_EQ(grid.cell(0, 1), "before") << c.bytes;
  }
}

// A file beyond a book file's bound is refused before it is read: one of 256 MiB as fast as
// one a byte too large.
TEST(ReadCsvFileForImport, AFileBeyondTheBoundIsRefusedUnread) {
  EXPECT_EQ(kMaxCsvFileSize, ProfileFile::kMaxFileSize);
  const struct {
    std::uintmax_t size;
    CsvRead::Status status;
  } cases[] = {
      {kMaxCsvFileSize, CsvRead::Status::Read},
      {kMaxCsvFileSize + 1, CsvRead::Status::TooLarge},
      {std::uintmax_t{1} << 28, CsvRead::Status::TooLarge},
  };
  for (const auto& c : cases) {
    TempFolder dir;
    const std::filesystem::path path = dir.write("big.csv", "h\n" + kYamada + "\n");
    std::filesystem::resize_file(path, c.size);
    StringGrid grid;
    EXPECT_EQ(ReadCsvFileForImport(path, grid, fakeConverter).status, c.status) << c.size;
    if (c.status == CsvRead::Status::Read) {
      EXPECT_EQ(grid.cell(0, 1), kYamada);
    }
  }
}

}  // namespace
}  // namespace orivel
