// Saving a book in the situations a user's machine brings about, on every system: the
// file that was there is either replaced whole or stays byte for byte as it was, and no
// temporary file is left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "PlatformFiles.h"
#include "TempFiles.h"
#include "files/AtomicWrite.h"
#include "files/BookFile.h"
#include "files/FilePaths.h"

namespace orivel {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;
using Names = std::vector<std::string>;

// The names in a folder as UTF-8, sorted.
Names listing(const fs::path& dir) {
  Names out;
  for (const auto& e : fs::directory_iterator(dir))
    out.push_back(Utf8FromPath(e.path().filename()));
  std::sort(out.begin(), out.end());
  return out;
}

void fill(AddressBook& book, const std::string& stem, int count) {
  for (int i = 0; i < count; ++i) {
    datatype e;
    e.name = stem + std::to_string(i);
    e.address = "\x93\x8c\x8b\x9e\x93\x73";  // 東京都
    e.sama = "\x97\x6c";                     // 様
    book.append(e);
  }
}

Names namesIn(const fs::path& file) {
  AddressBook book;
  if (!LoadBook(file, book).ok()) return {"(not loaded)"};
  Names out;
  for (int i = 0; i < book.count(); ++i) out.push_back(book.entry(i).name);
  return out;
}

const Names kOld = {"old0", "old1", "old2", "old3", "old4"};
const Names kNew = {"new0", "new1", "new2"};

class SaveTargetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fill(old, "old", 5);
    fill(fresh, "new", 3);
    ASSERT_TRUE(SaveBook(old, book));
    before = ReadBytes(book);
  }
  void expectOldBook(const Names& expectedListing = {"book.orv"}) {
    EXPECT_EQ(ReadBytes(book), before);
    EXPECT_EQ(namesIn(book), kOld);
    EXPECT_EQ(listing(folder.dir()), expectedListing);
  }

  test::TempFolder folder;
  fs::path book = folder.path("book.orv");
  std::string before;
  AddressBook old;
  AddressBook fresh;
};

TEST_F(SaveTargetTest, OverAnExistingBookReplacesItWhole) {
  ASSERT_TRUE(SaveBook(fresh, book));
  EXPECT_EQ(namesIn(book), kNew);
  EXPECT_EQ(listing(folder.dir()), Names{"book.orv"});
}

TEST_F(SaveTargetTest, IntoAMissingFolderFailsAndMakesNoFolder) {
  EXPECT_FALSE(SaveBook(fresh, folder.path("missing") / "book.orv"));
  expectOldBook();
}

TEST_F(SaveTargetTest, OntoATargetHeldOpenByAnotherProgram) {
  bool saved = false;
  {
    const test::FileHold hold(book);
    ASSERT_TRUE(hold.isOpen());
    saved = SaveBook(fresh, book);
    // Whoever holds the file goes on reading the old text, whole.
    EXPECT_EQ(hold.readAll(), before);
  }
  if (test::FileHold::BlocksReplace()) {
    // Windows: a file shared with nobody cannot be replaced; the save says so.
    EXPECT_FALSE(saved);
    expectOldBook();
  } else {
    EXPECT_TRUE(saved);
    EXPECT_EQ(namesIn(book), kNew);
    EXPECT_EQ(listing(folder.dir()), Names{"book.orv"});
  }
}

TEST_F(SaveTargetTest, OntoAReadOnlyTargetFailsAndLeavesIt) {
  const auto write = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  fs::permissions(book, write, fs::perm_options::remove);
  EXPECT_FALSE(SaveBook(fresh, book));
  EXPECT_EQ(fs::status(book).permissions() & write, fs::perms::none);
  fs::permissions(book, fs::perms::owner_write, fs::perm_options::add);
  expectOldBook();
}

TEST_F(SaveTargetTest, AStrayFileWithTheTemporaryNameStaysUntouched) {
  const fs::path stray = TemporaryPathFor(folder.dir(), 0);
  WriteBytes(stray, "left by a save that was cut off");
  ASSERT_TRUE(SaveBook(fresh, book));
  EXPECT_EQ(namesIn(book), kNew);
  EXPECT_EQ(ReadBytes(stray), "left by a save that was cut off");
  EXPECT_EQ(listing(folder.dir()), (Names{Utf8FromPath(stray.filename()), "book.orv"}));
}

TEST_F(SaveTargetTest, WithEveryTemporaryNameTakenTheSaveFails) {
  Names expected = {"book.orv"};
  for (int k = 0; k < kTemporaryNameCount; ++k) {
    const fs::path stray = TemporaryPathFor(folder.dir(), k);
    WriteBytes(stray, "stray " + std::to_string(k));
    expected.push_back(Utf8FromPath(stray.filename()));
  }
  std::sort(expected.begin(), expected.end());
  EXPECT_FALSE(SaveBook(fresh, book));
  expectOldBook(expected);
  EXPECT_EQ(ReadBytes(TemporaryPathFor(folder.dir(), kTemporaryNameCount - 1)), "stray 99");
}

TEST_F(SaveTargetTest, AJapaneseFolderAndFileNameAreKeptExactly) {
  // 年賀状 2027 / 住所録.orv, as UTF-8 from a file dialog or a command line.
  const fs::path sub = folder.path(PathFromUtf8("\xe5\xb9\xb4\xe8\xb3\x80\xe7\x8a\xb6 2027"));
  const std::string name = "\xe4\xbd\x8f\xe6\x89\x80\xe9\x8c\xb2.orv";
  const fs::path file = sub / PathFromUtf8(name);
  EXPECT_EQ(file.filename(), fs::path(u8"住所録.orv"));
  EXPECT_EQ(Utf8FromPath(file.filename()), name);
  ASSERT_TRUE(fs::create_directory(sub));
  ASSERT_TRUE(SaveBook(old, file));
  ASSERT_TRUE(SaveBook(fresh, file));
  EXPECT_EQ(namesIn(file), kNew);
  EXPECT_EQ(listing(sub), Names{name});
}

}  // namespace
}  // namespace orivel
