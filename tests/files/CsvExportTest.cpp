#include "files/CsvExport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifndef _WIN32
#include <unistd.h>
#endif

#include "TempFiles.h"
#include "files/BookFile.h"
#include "files/CsvImport.h"
#include "files/FileBytes.h"

namespace orivel {
namespace {

using test::TempFolder;

const std::string kSample = std::string(ORIVEL_TEST_DATA) + "/../../examples/sample.orv";

void importBack(const std::filesystem::path& path, AddressBook& book) {
  StringGrid grid;
  EXPECT_EQ(ReadCsvFileForImport(path, grid, nullptr).status, CsvRead::Status::Read);
  AppendGridRows(grid, book);
}

void expectSameEntries(const AddressBook& a, const AddressBook& b) {
  ASSERT_EQ(a.count(), b.count());
  for (int i = 0; i < a.count(); ++i) EXPECT_EQ(a.entry(i), b.entry(i)) << i;
}

TEST(CsvExport, WritesTheHeaderAndOneCrLfLinePerEntryInTheImportsColumns) {
  AddressBook book;
  book.append({"\x8e\x52\x93\x63", "\x8fZ\x8f\x8a", "100-0001", "\x97\x6c", {1, 0, 0, 1, 0, 1}});
  book.append({"b", "", "", "", {}});
  std::string csv;
  ASSERT_EQ(BuildCsv(book, &csv).status, CsvExportResult::Status::Written);
  // 名前,郵便番号,住所,年賀状,暑中見舞い,バースデー,クリスマス,その他１,その他２,敬称
  const std::string header =
      "\x96\xBC\x91\x4F,\x97\x58\x95\xD6\x94\xD4\x8D\x86,\x8F\x5A\x8F\x8A,\x94\x4E\x89\xEA\x8F\xF3,"
      "\x8F\x8B\x92\x86\x8C\xA9\x95\x91\x82\xA2,\x83\x6F\x81\x5B\x83\x58\x83\x66\x81\x5B,"
      "\x83\x4E\x83\x8A\x83\x58\x83\x7D\x83\x58,\x82\xBB\x82\xCC\x91\xBC\x82\x50,"
      "\x82\xBB\x82\xCC\x91\xBC\x82\x51,\x8C\x68\x8F\xCC\r\n";
  EXPECT_EQ(csv,
            header +
                "\x8e\x52\x93\x63,100-0001,\x8fZ\x8f\x8a,\x81\x9b,,,\x81\x9b,,\x81\x9b,\x97\x6c\r\n"
                "b,,,,,,,,,\r\n");
}

TEST(CsvExport, TheSampleBookReadsBackToTheSameEntries) {
  TempFolder dir;
  AddressBook book;
  ASSERT_TRUE(LoadBook(kSample, book).ok());
  ASSERT_GT(book.count(), 0);
  const std::filesystem::path path = dir.path("sample.csv");
  ASSERT_EQ(ExportCsv(book, path).status, CsvExportResult::Status::Written);
  AddressBook back;
  importBack(path, back);
  expectSameEntries(back, book);
}

// Every byte a book file keeps in a value, except those the CSV cannot hold (",", CR, LF,
// Ctrl-Z): double-byte characters with every trail byte, quotes, blanks at the ends, half-width
// kana, bytes that decode to nothing.
TEST(CsvExport, EveryByteTheBookFileKeepsReadsBack) {
  std::string all;
  for (int b = 1; b < 256; ++b)
    if (b != ',' && b != '\r' && b != '\n' && b != 0x1A) all.push_back(static_cast<char>(b));
  std::string trails;
  for (int t = 0x40; t <= 0xFC; ++t) trails += std::string("\x88") + static_cast<char>(t);
  AddressBook book;
  book.append({" \"quoted\" ", all, trails, "\xb1\xb2 ", {0, 1, 1, 0, 0, 0}});
  book.append({"x", "", "   -    ", "", {1, 1, 1, 1, 1, 1}});
  TempFolder dir;
  const std::filesystem::path path = dir.path("bytes.csv");
  ASSERT_EQ(ExportCsv(book, path).status, CsvExportResult::Status::Written);
  AddressBook back;
  importBack(path, back);
  expectSameEntries(back, book);
}

TEST(CsvExport, RefusesAFieldTheImportWouldSplitAndWritesNothing) {
  using R = CsvExportResult::Reason;
  struct Case {
    datatype entry;
    CsvField field;
    R reason;
  } cases[] = {
      {{"a,b", "", "", "", {}}, CsvField::Name, R::Comma},
      {{"a", "x,y", "", "", {}}, CsvField::Address, R::Comma},
      {{"a", "", "1,2", "", {}}, CsvField::ZipCode, R::Comma},
      {{"a", "", "", "\x97\x6c,", {}}, CsvField::Honorific, R::Comma},
      {{"a", "x\r", "", "", {}}, CsvField::Address, R::LineBreak},
      {{"a", "x\ny", "", "", {}}, CsvField::Address, R::LineBreak},
      {{"a", "", "", "\x1a", {}}, CsvField::Honorific, R::ControlCharacter},
      {{"", "", "", "", {}}, CsvField::Name, R::EmptyName},
  };
  for (const Case& c : cases) {
    AddressBook book;
    book.append({"first", "", "", "", {}});
    book.append(c.entry);
    TempFolder dir;
    const std::filesystem::path path = dir.path("refused.csv");
    const CsvExportResult r = ExportCsv(book, path);
    EXPECT_EQ(r.status, CsvExportResult::Status::Refused);
    EXPECT_EQ(r.entry, 1);
    EXPECT_EQ(r.field, c.field);
    EXPECT_EQ(r.reason, c.reason);
    EXPECT_FALSE(std::filesystem::exists(path));
  }
}

TEST(CsvExport, AFailedWriteLeavesTheFileThatWasThere) {
  TempFolder dir;
  AddressBook book;
  book.append({"a", "", "", "", {}});
  EXPECT_EQ(ExportCsv(book, dir.path("no/such/folder/x.csv")).status,
            CsvExportResult::Status::WriteFailed);
#ifdef _WIN32
  GTEST_SKIP() << "a read-only folder attribute does not stop creating files on Windows";
#else
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into a read-only folder";
  const std::string old = dir.write("old.csv", "old");
  std::filesystem::permissions(std::filesystem::path(old).parent_path(),
                               std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  const CsvExportResult r = ExportCsv(book, old);
  std::filesystem::permissions(std::filesystem::path(old).parent_path(),
                               std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add);
  EXPECT_EQ(r.status, CsvExportResult::Status::WriteFailed);
  std::string bytes;
  ASSERT_EQ(ReadFileBytes(old, &bytes), FileReadStatus::Ok);
  EXPECT_EQ(bytes, "old");
#endif
}

}  // namespace
}  // namespace orivel
