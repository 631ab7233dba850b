#include "files/BookFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "PlatformFiles.h"
#include "TempFiles.h"

namespace orivel {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

// Code page 932 texts of the example entry.
const std::string kAtena = "\x88\xb6\x96\xbc\x8c\xa9\x96\x7b";  // 宛名見本
const std::string kJusho = "\x8f\x5a\x8f\x8a\x8c\xa9\x96\x7b";  // 住所見本
const std::string kSama = "\x97\x6c";                           // 様
const std::string kYamada = "\x8e\x52\x93\x63";                 // 山田
const std::string kTokyo = "\x93\x8c\x8b\x9e\x93\x73";          // 東京都
const std::string kZenkakuSpace = "\x81\x40";                   // full-width space

// Turns the LF of a readable literal into the CR LF of a written file.
std::string crlf(std::string_view lf) {
  std::string out;
  for (char c : lf) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

datatype entry(const std::string& name, const std::string& address = "addr",
               std::initializer_list<int> categories = {}) {
  datatype e;
  e.name = name;
  e.address = address;
  e.zip_code = "100-0001";
  e.sama = kSama;
  for (int k : categories) e.ml[static_cast<std::size_t>(k - 1)] = 1;
  return e;
}

std::vector<std::string> names(const AddressBook& book) {
  std::vector<std::string> out;
  for (int i = 0; i < book.count(); ++i) out.push_back(book.entry(i).name);
  return out;
}

// The ten keys of entry i as a save writes them, category 1 set.
std::string entryKeys(int i, const std::string& name, const std::string& address = "") {
  const std::string n = std::to_string(i);
  return "name" + n + "=" + name + "\r\naddress" + n + "=" + (address.empty() ? "a" + n : address) +
         "\r\nzip_code" + n + "=100-0001\r\nsama" + n + "=" + kSama + "\r\nml1_" + n +
         "=1\r\nml2_" + n + "=0\r\nml3_" + n + "=0\r\nml4_" + n + "=0\r\nml5_" + n + "=0\r\nml6_" +
         n + "=0\r\n";
}

class BookFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device rd;
    dir = fs::temp_directory_path() / ("orivel-bookfile-" + std::to_string(rd()));
    fs::create_directories(dir);
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(dir, ec);
  }
  std::vector<std::string> listing() const {
    std::vector<std::string> out;
    for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
  }
  fs::path dir;
};

TEST_F(BookFileTest, TheExampleFileLoadsToItsEntry) {
  AddressBook book;
  const BookLoadResult r = LoadBook(fs::path(ORIVEL_TEST_DATA) / "example.orv", book);
  ASSERT_EQ(r.status, BookLoadStatus::Loaded);
  ASSERT_EQ(book.count(), 1);
  const datatype& e = book.entry(0);
  EXPECT_EQ(e.name, kAtena);
  EXPECT_EQ(e.address, kJusho);
  EXPECT_EQ(e.zip_code, "100-0001");
  EXPECT_EQ(e.sama, kSama);
  EXPECT_EQ(e.ml, (std::array<std::uint8_t, 6>{1, 0, 0, 1, 0, 0}));
  EXPECT_FALSE(book.isChecked(0));
}

TEST_F(BookFileTest, ANewFileIsLaidOutExactlyAsTheExample) {
  AddressBook book;
  book.append(entry(kAtena, kJusho, {1, 4}));
  ASSERT_TRUE(SaveBook(book, dir / "new.orv"));
  EXPECT_EQ(ReadBytes(dir / "new.orv"), ReadBytes(fs::path(ORIVEL_TEST_DATA) / "example.orv"));
  EXPECT_EQ(listing(), std::vector<std::string>{"new.orv"});
}

TEST_F(BookFileTest, AnEmptyBookWritesOnlyVersionAndCountAndLoadsBackEmpty) {
  AddressBook empty;
  ASSERT_TRUE(SaveBook(empty, dir / "e.orv"));
  EXPECT_EQ(ReadBytes(dir / "e.orv"), crlf("[HEADER]\nVersion=Ver1.00\nCnt=0\n"));
  AddressBook book;
  book.append(entry(kYamada));
  EXPECT_EQ(LoadBook(dir / "e.orv", book).status, BookLoadStatus::Loaded);
  EXPECT_EQ(book.count(), 0);
}

TEST_F(BookFileTest, ThreeHundredEntriesAreAcceptedAndLoadInFileOrder) {
  std::string text = crlf("[HEADER]\nVersion=Ver1.00\nCnt=300\n[DATAS]\n");
  for (int i = 0; i < 300; ++i) text += entryKeys(i, "n" + std::to_string(299 - i));
  WriteBytes(dir / "full.orv", text);
  AddressBook book;
  ASSERT_EQ(LoadBook(dir / "full.orv", book).status, BookLoadStatus::Loaded);
  ASSERT_EQ(book.count(), 300);
  EXPECT_EQ(book.entry(0).name, "n299");
  EXPECT_EQ(book.entry(299).name, "n0");
  EXPECT_EQ(book.entry(299).address, "a299");
  EXPECT_EQ(book.checkedCount(), 0);
}

TEST_F(BookFileTest, CountsOutsideZeroToThreeHundredAreRejectedWithTheBookUntouched) {
  for (const char* cnt : {"301", "-1", "1000000"}) {
    WriteBytes(dir / "c.orv",
               crlf(std::string("[HEADER]\nVersion=Ver1.00\nCnt=") + cnt + "\n[DATAS]\n") +
                   entryKeys(0, "x"));
    AddressBook book;
    book.append(entry(kYamada));
    book.setChecked(0, true);
    EXPECT_EQ(LoadBook(dir / "c.orv", book).status, BookLoadStatus::CountOutOfRange) << cnt;
    ASSERT_EQ(names(book), std::vector<std::string>{kYamada});
    EXPECT_TRUE(book.isChecked(0));
  }
}

TEST_F(BookFileTest, TheCountIsCheckedBeforeTheVersion) {
  WriteBytes(dir / "c.orv", crlf("[HEADER]\nVersion=Ver9\nCnt=301\n"));
  AddressBook book;
  EXPECT_EQ(LoadBook(dir / "c.orv", book).status, BookLoadStatus::CountOutOfRange);
}

TEST_F(BookFileTest, AnyOtherVersionIsRejectedAndReported) {
  const std::pair<std::string, std::string> cases[] = {
      {"Version=ver1.00\n", "ver1.00"},
      {"Version=Ver1.01\n", "Ver1.01"},
      {"Version=\n", ""},
      {"", "0"},
  };
  for (const auto& [line, read] : cases) {
    WriteBytes(dir / "v.orv", crlf("[HEADER]\n" + line + "Cnt=1\n[DATAS]\n") + entryKeys(0, "x"));
    AddressBook book;
    book.append(entry(kYamada));
    const BookLoadResult r = LoadBook(dir / "v.orv", book);
    EXPECT_EQ(r.status, BookLoadStatus::WrongVersion) << line;
    EXPECT_EQ(r.version, read);
    EXPECT_EQ(names(book), std::vector<std::string>{kYamada});
  }
}

TEST_F(BookFileTest, SavingThreeOverTenKeepsTheOldKeysAndLoadsThree) {
  AddressBook ten;
  for (int i = 0; i < 10; ++i) ten.append(entry("old" + std::to_string(i)));
  ASSERT_TRUE(SaveBook(ten, dir / "b.orv"));
  AddressBook three;
  for (int i = 0; i < 3; ++i) three.append(entry("new" + std::to_string(i), "", {2}));
  ASSERT_TRUE(SaveBook(three, dir / "b.orv"));

  const ProfileFile p(ReadBytes(dir / "b.orv"));
  EXPECT_EQ(p.ReadInteger("HEADER", "Cnt", -1), 3);
  EXPECT_EQ(p.ReadString("DATAS", "name2", ""), "new2");
  EXPECT_EQ(p.ReadString("DATAS", "address2", "0"), "");
  for (int i = 3; i < 10; ++i)
    EXPECT_EQ(p.ReadString("DATAS", "name" + std::to_string(i), ""), "old" + std::to_string(i));
  EXPECT_TRUE(p.hasKey("DATAS", "ml6_9"));

  AddressBook loaded;
  ASSERT_EQ(LoadBook(dir / "b.orv", loaded).status, BookLoadStatus::Loaded);
  EXPECT_EQ(names(loaded), (std::vector<std::string>{"new0", "new1", "new2"}));
  EXPECT_EQ(loaded.entry(0).ml, (std::array<std::uint8_t, 6>{0, 1, 0, 0, 0, 0}));
}

TEST_F(BookFileTest, SavingKeepsOtherSectionsAndHandEditedLinesInPlace) {
  WriteBytes(dir / "h.orv", "; my book\n[header]\nversion=old\n[NOTES]\nwho=me\n");
  AddressBook book;
  book.append(entry("a", "addr", {1}));
  ASSERT_TRUE(SaveBook(book, dir / "h.orv"));
  EXPECT_EQ(ReadBytes(dir / "h.orv"),
            crlf("; my book\n[header]\nversion=Ver1.00\nCnt=1\n[NOTES]\nwho=me\n[DATAS]\n") +
                entryKeys(0, "a", "addr"));
}

TEST_F(BookFileTest, MissingIndicesAndNamesReadingZeroAreLeftOut) {
  AddressBook book;
  book.append(entry("first"));
  book.append(entry("0"));
  book.append(entry("third"));
  ASSERT_TRUE(SaveBook(book, dir / "z.orv"));
  EXPECT_EQ(ProfileFile(ReadBytes(dir / "z.orv")).ReadString("DATAS", "name1", ""), "0");

  // A larger count than the entries present: the missing ones are left out too.
  std::string text = ReadBytes(dir / "z.orv");
  text.replace(text.find("Cnt=3"), 5, "Cnt=7");
  WriteBytes(dir / "z.orv", text);
  AddressBook loaded;
  ASSERT_EQ(LoadBook(dir / "z.orv", loaded).status, BookLoadStatus::Loaded);
  EXPECT_EQ(names(loaded), (std::vector<std::string>{"first", "third"}));
  EXPECT_EQ(loaded.entry(1).address, "addr");
}

TEST_F(BookFileTest, AnEmptyNameIsWrittenEmptyAndKept) {
  AddressBook book;
  book.append(entry("", kTokyo));
  ASSERT_TRUE(SaveBook(book, dir / "n.orv"));
  EXPECT_NE(ReadBytes(dir / "n.orv").find("\r\nname0=\r\n"), std::string::npos);
  AddressBook loaded;
  ASSERT_EQ(LoadBook(dir / "n.orv", loaded).status, BookLoadStatus::Loaded);
  ASSERT_EQ(loaded.count(), 1);
  EXPECT_EQ(loaded.entry(0).name, "");
  EXPECT_EQ(loaded.entry(0).address, kTokyo);
}

TEST_F(BookFileTest, BlanksAndDoubleQuotesAroundTextsAreDroppedOnLoad) {
  AddressBook book;
  datatype e = entry("  " + kYamada + " ", "\"" + kTokyo + kZenkakuSpace + "1\"");
  e.sama = "\t" + kSama;
  book.append(e);
  ASSERT_TRUE(SaveBook(book, dir / "q.orv"));
  AddressBook loaded;
  ASSERT_EQ(LoadBook(dir / "q.orv", loaded).status, BookLoadStatus::Loaded);
  EXPECT_EQ(loaded.entry(0).name, kYamada);
  EXPECT_EQ(loaded.entry(0).address, kTokyo + kZenkakuSpace + "1");
  EXPECT_EQ(loaded.entry(0).sama, kSama);
}

TEST_F(BookFileTest, AHandEditedFileLoadsLikeAWrittenOne) {
  // Lower-case names, blanks around "=", quotes, LF only, no end on the last line, flags
  // edited to 2 and to words, keys missing, a key standing twice.
  WriteBytes(dir / "hand.orv",
             "[header]\n"
             "  version = \"Ver1.00\"\n"
             "cnt = 2\n"
             "\n"
             "[datas]\n"
             "NAME0 = '" +
                 kYamada +
                 "'\n"
                 "Address0=" +
                 kTokyo +
                 "\n"
                 "address0=second\n"
                 "ml1_0 = 2\n"
                 "ml2_0=yes\n"
                 "ml3_0=true\n"
                 "ml4_0=-1\n"
                 "name1=last");  // no line end
  AddressBook loaded;
  ASSERT_EQ(LoadBook(dir / "hand.orv", loaded).status, BookLoadStatus::Loaded);
  ASSERT_EQ(loaded.count(), 2);
  const datatype& a = loaded.entry(0);
  EXPECT_EQ(a.name, kYamada);
  EXPECT_EQ(a.address, kTokyo);
  EXPECT_EQ(a.zip_code, "0");
  EXPECT_EQ(a.sama, "0");
  EXPECT_EQ(a.ml, (std::array<std::uint8_t, 6>{1, 0, 0, 1, 0, 0}));
  EXPECT_EQ(loaded.entry(1).name, "last");
  EXPECT_EQ(loaded.entry(1).address, "0");
}

TEST_F(BookFileTest, NothingAtThePathIsNotFoundAndLeavesTheBook) {
  AddressBook book;
  book.append(entry(kYamada));
  EXPECT_EQ(LoadBook(dir / "absent.orv", book).status, BookLoadStatus::NotFound);
  EXPECT_EQ(LoadBook(dir / "no" / "such.orv", book).status, BookLoadStatus::NotFound);
  EXPECT_EQ(names(book), std::vector<std::string>{kYamada});
}

TEST_F(BookFileTest, AFolderOrAnOversizedFileIsNotRead) {
  AddressBook book;
  book.append(entry(kYamada));
  EXPECT_EQ(LoadBook(dir, book).status, BookLoadStatus::ReadFailed);
  {
    std::ofstream big(dir / "big.orv", std::ios::binary);
    big << crlf("[HEADER]\nVersion=Ver1.00\nCnt=0\n");
  }
  fs::resize_file(dir / "big.orv", ProfileFile::kMaxFileSize + 1);
  EXPECT_EQ(LoadBook(dir / "big.orv", book).status, BookLoadStatus::ReadFailed);
  fs::resize_file(dir / "big.orv", ProfileFile::kMaxFileSize);
  EXPECT_EQ(LoadBook(dir / "big.orv", book).status, BookLoadStatus::Loaded);
}

TEST_F(BookFileTest, AnUnreadableFileIsNotRead) {
  if (!test::PermissionsBind())
    GTEST_SKIP() << "permissions bind neither root nor Windows, where no read bit stops reading";
  WriteBytes(dir / "locked.orv", crlf("[HEADER]\nVersion=Ver1.00\nCnt=0\n"));
  fs::permissions(dir / "locked.orv", fs::perms::none);
  AddressBook book;
  book.append(entry(kYamada));
  EXPECT_EQ(LoadBook(dir / "locked.orv", book).status, BookLoadStatus::ReadFailed);
  EXPECT_EQ(book.count(), 1);
}

TEST_F(BookFileTest, AFileHeldWithoutSharingIsNotRead) {
  if (!test::FileHold::BlocksReplace()) GTEST_SKIP() << "POSIX systems have no locks on reading";
  WriteBytes(dir / "held.orv", crlf("[HEADER]\nVersion=Ver1.00\nCnt=0\n"));
  const test::FileHold hold(dir / "held.orv");
  ASSERT_TRUE(hold.isOpen());
  AddressBook book;
  book.append(entry(kYamada));
  EXPECT_EQ(LoadBook(dir / "held.orv", book).status, BookLoadStatus::ReadFailed);
  EXPECT_EQ(book.count(), 1);
}

TEST_F(BookFileTest, UndecodableBytesRoundTripByteForByte) {
  // 81 7F and FD are no code page 932 characters; A0 and 80 map to nothing either.
  const std::string odd = "\x81\x7f\xfd\xa0\x80" + kYamada;
  AddressBook book;
  datatype e = entry(odd, "\xff" + kTokyo);
  book.append(e);
  ASSERT_TRUE(SaveBook(book, dir / "odd.orv"));
  const std::string original = ReadBytes(dir / "odd.orv");

  AddressBook loaded;
  ASSERT_EQ(LoadBook(dir / "odd.orv", loaded).status, BookLoadStatus::Loaded);
  EXPECT_EQ(loaded.entry(0), e);
  ASSERT_TRUE(SaveBook(loaded, dir / "again.orv"));
  ASSERT_TRUE(SaveBook(loaded, dir / "odd.orv"));
  EXPECT_EQ(ReadBytes(dir / "again.orv"), original);
  EXPECT_EQ(ReadBytes(dir / "odd.orv"), original);
}

TEST_F(BookFileTest, TheSampleBookLoadsAndSavesBackByteForByte) {
  const fs::path sample = fs::path(ORIVEL_TEST_DATA) / ".." / ".." / "examples" / "sample.orv";
  AddressBook book;
  ASSERT_EQ(LoadBook(sample, book).status, BookLoadStatus::Loaded);
  EXPECT_GE(book.count(), 18);
  ASSERT_TRUE(SaveBook(book, dir / "copy.orv"));
  EXPECT_EQ(ReadBytes(dir / "copy.orv"), ReadBytes(sample));
}

TEST_F(BookFileTest, ATextHoldingALoneCarriageReturnLoadsSavesAndLoadsBack) {
  WriteBytes(dir / "cr.orv",
             "[HEADER]\r\nVersion=Ver1.00\r\nCnt=1\r\n[DATAS]\r\nname0=a\rb\r\n"
             "address0=x\r\r\n");
  AddressBook book;
  ASSERT_TRUE(LoadBook(dir / "cr.orv", book).ok());
  ASSERT_EQ(book.count(), 1);
  EXPECT_EQ(book.entry(0).name, "a\rb");
  EXPECT_EQ(book.entry(0).address, "x\r");
  ASSERT_TRUE(SaveBook(book, dir / "cr.orv"));
  AddressBook again;
  ASSERT_TRUE(LoadBook(dir / "cr.orv", again).ok());
  ASSERT_EQ(again.count(), 1);
  EXPECT_EQ(again.entry(0), book.entry(0));
}

// Save failures: the old file stays as it was and no temporary file is left behind.
class BookSaveFailureTest : public BookFileTest {
 protected:
  void SetUp() override {
    BookFileTest::SetUp();
    AddressBook old;
    for (int i = 0; i < 10; ++i) old.append(entry("old" + std::to_string(i)));
    ASSERT_TRUE(SaveBook(old, dir / "book.orv"));
    before = ReadBytes(dir / "book.orv");
    for (int i = 0; i < 300; ++i)
      big.append(entry("new" + std::to_string(i), std::string(80, 'x')));
  }
  void expectOldFileIntact() {
    EXPECT_EQ(ReadBytes(dir / "book.orv"), before);
    EXPECT_EQ(listing(), std::vector<std::string>{"book.orv"});
  }
  std::string before;
  AddressBook big;
};

TEST_F(BookSaveFailureTest, AFolderAsTargetFails) {
  fs::create_directory(dir / "folder.orv");
  EXPECT_FALSE(SaveBook(big, dir / "folder.orv"));
  EXPECT_TRUE(fs::is_directory(dir / "folder.orv"));
  fs::remove(dir / "folder.orv");
  expectOldFileIntact();
}

TEST_F(BookSaveFailureTest, AMissingFolderFails) {
  EXPECT_FALSE(SaveBook(big, dir / "missing" / "book.orv"));
  expectOldFileIntact();
}

TEST_F(BookSaveFailureTest, AWriteCutShortLeavesTheOldFile) {
  // A file size limit makes the write fail part way, as a full disk would, even for root.
  const auto result = test::InChildWithFileSizeLimit(
      before.size() + 100, [&] { return SaveBook(big, dir / "book.orv"); });
  if (!result)
    GTEST_SKIP() << "this system has no limit on the size of a file to cut a write short";
  EXPECT_EQ(*result, 0);
  expectOldFileIntact();
}

TEST_F(BookSaveFailureTest, AReadOnlyFolderFails) {
  if (!test::PermissionsBind())
    GTEST_SKIP()
        << "permissions bind neither root nor Windows, where a read-only folder takes new files";
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_FALSE(SaveBook(big, dir / "book.orv"));
  fs::permissions(dir, fs::perms::owner_all);
  expectOldFileIntact();
}

TEST_F(BookSaveFailureTest, ALineBreakInATextFailsBeforeAnythingIsWritten) {
  AddressBook book;
  book.append(entry("two\r\nlines"));
  EXPECT_FALSE(SaveBook(book, dir / "book.orv"));
  expectOldFileIntact();
}

TEST_F(BookFileTest, SavingOverAFileKeepsItsPermissions) {
  if (!test::KeepsPermissionBits())
    GTEST_SKIP() << "Windows keeps only a read-only flag: 0640 reads back as 0666";
  AddressBook book;
  book.append(entry("one"));
  ASSERT_TRUE(SaveBook(book, dir / "p.orv"));
  const auto mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(dir / "p.orv", mode);
  ASSERT_TRUE(SaveBook(book, dir / "p.orv"));
  EXPECT_EQ(fs::status(dir / "p.orv").permissions(), mode);
}

TEST_F(BookFileTest, APipeIsNeitherReadNorReplaced) {
  if (!test::HasFifos()) GTEST_SKIP() << "named pipes have no place in Windows folders";
  ASSERT_TRUE(test::MakeFifo(dir / "pipe.orv"));
  AddressBook book;
  book.append(entry("one"));
  EXPECT_EQ(LoadBook(dir / "pipe.orv", book).status, BookLoadStatus::ReadFailed);
  EXPECT_FALSE(SaveBook(book, dir / "pipe.orv"));
  EXPECT_TRUE(fs::is_fifo(dir / "pipe.orv"));
  EXPECT_EQ(book.count(), 1);
}

TEST_F(BookFileTest, SavingThroughALinkReplacesTheFileItPointsTo) {
  if (!test::MakesSymlinks()) GTEST_SKIP() << "libstdc++ makes no symbolic links on Windows";
  AddressBook one;
  one.append(entry("one"));
  ASSERT_TRUE(SaveBook(one, dir / "real.orv"));
  fs::create_symlink(dir / "real.orv", dir / "link.orv");
  AddressBook two;
  two.append(entry("two"));
  ASSERT_TRUE(SaveBook(two, dir / "link.orv"));
  EXPECT_TRUE(fs::is_symlink(dir / "link.orv"));
  AddressBook loaded;
  ASSERT_EQ(LoadBook(dir / "real.orv", loaded).status, BookLoadStatus::Loaded);
  EXPECT_EQ(names(loaded), std::vector<std::string>{"two"});
}

// The rule the editor and the imports refuse by is what a load really does: every name it
// says the book keeps comes back, every other one is left out.
TEST(BookKeepsName, SaysWhatASaveAndALoadKeep) {
  const struct {
    std::string name;
    bool kept;
  } cases[] = {
      {"0", false},        {" 0\t", false},                      // blanks at the ends are not read
      {"\"0\"", false},                                          // nor one pair of quotes
      {"'0'", false},      {"00", true},    {"\x82\x4f", true},  // full-width ０
      {"0" + kSama, true}, {"\"0", true},   {"", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BookKeepsName(c.name), c.kept) << c.name;
    AddressBook book;
    book.append(entry("before"));
    book.append(entry(c.name));
    book.append(entry("after"));
    test::TempFolder folder;
    ASSERT_TRUE(SaveBook(book, folder.path("book.orv")));
    AddressBook loaded;
    ASSERT_TRUE(LoadBook(folder.path("book.orv"), loaded).ok());
    EXPECT_EQ(loaded.count(), c.kept ? 3 : 2) << c.name;
  }
}

}  // namespace
}  // namespace orivel
