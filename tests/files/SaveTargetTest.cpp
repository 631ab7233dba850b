// Saving a book in the situations a user's machine brings about, on every system: the
// file that was there is either replaced whole or stays byte for byte as it was, and no
// temporary file is left behind, neither by this save nor, after it, by earlier ones.
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

TEST(TemporaryName, IsOnlyThePatternOfOurOwnSaves) {
  const struct {
    const char* name;
    bool ours;
  } cases[] = {
      {".orivel-save-0.tmp", true},  // the names saves gave before names were random
      {".orivel-save-99.tmp", true}, {".orivel-save-0123456789abcdef.tmp", true},
      {".orivel-save-.tmp", false},  {".orivel-save-1A.tmp", false},
      {".orivel-save-x.tmp", false}, {".orivel-save-1.tmp.orv", false},
      {"orivel-save-1.tmp", false},  {".orivel-save-1.TMP", false},
      {"book.orv", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsTemporaryName(c.name), c.ours) << c.name;
  const fs::path a = NewTemporaryPath("dir");
  EXPECT_EQ(a.parent_path(), fs::path("dir"));
  EXPECT_TRUE(IsTemporaryName(a.filename())) << a;
  EXPECT_NE(a, NewTemporaryPath("dir"));
}

// What saves that were cut off left: the next save removes it, however many there are, and
// nothing else of the folder.
TEST_F(SaveTargetTest, StrayTemporaryFilesGoWithTheNextSaveAndNothingElse) {
  Names kept = {"book.orv"};
  for (const char* name : {"orivel-save-1.tmp", ".orivel-save-1.tmp.orv", ".orivel-save-x.tmp",
                           ".orivel-save-1.TMP", "notes.txt"}) {
    WriteBytes(folder.path(name), "not ours");
    kept.emplace_back(name);
  }
  // A folder of the pattern is nobody's temporary file either.
  fs::create_directory(folder.path(".orivel-save-5.tmp"));
  kept.emplace_back(".orivel-save-5.tmp");
  std::sort(kept.begin(), kept.end());
  // More than the hundred names saves once took in turn.
  for (int k = 0; k < 150; ++k)
    WriteBytes(folder.path(".orivel-save-" + std::to_string(k) + ".tmp"), "stray");
  WriteBytes(NewTemporaryPath(folder.dir()), "stray");
  ASSERT_TRUE(SaveBook(fresh, book));
  EXPECT_EQ(namesIn(book), kNew);
  EXPECT_EQ(listing(folder.dir()), kept);
  for (const char* name : {"orivel-save-1.tmp", "notes.txt"})
    EXPECT_EQ(ReadBytes(folder.path(name)), "not ours");
}

// A save still writing holds its temporary file: another save in the folder leaves it, and
// the first save then finishes as if nothing had happened.
TEST_F(SaveTargetTest, ATemporaryFileARunningSaveHoldsStays) {
  TemporaryFile running(folder.dir());
  ASSERT_TRUE(running.isOpen());
  ASSERT_TRUE(running.write("[HEADER]\r\n"));
  const Names both = {Utf8FromPath(running.path().filename()), "book.orv"};
  EXPECT_EQ(RemoveStaleTemporaryFiles(folder.dir()), 0);
  ASSERT_TRUE(SaveBook(fresh, book));
  EXPECT_EQ(listing(folder.dir()), both);
  ASSERT_TRUE(running.write("Cnt=0\r\n"));
  ASSERT_TRUE(running.replace(folder.path("other.orv")));
  EXPECT_EQ(ReadBytes(folder.path("other.orv")), "[HEADER]\r\nCnt=0\r\n");
  EXPECT_EQ(listing(folder.dir()), (Names{"book.orv", "other.orv"}));
}

// One that is let go without replacing anything is removed at once; one whose save is gone
// without closing it (a stray written by name) goes with the next clean-up.
TEST_F(SaveTargetTest, ATemporaryFileLetGoIsRemovedAndAStrayOneCleanedUp) {
  fs::path path;
  {
    TemporaryFile dropped(folder.dir());
    ASSERT_TRUE(dropped.isOpen());
    path = dropped.path();
    EXPECT_TRUE(fs::exists(path));
  }
  EXPECT_FALSE(fs::exists(path));
  WriteBytes(path, "cut off");
  EXPECT_EQ(RemoveStaleTemporaryFiles(folder.dir()), 1);
  EXPECT_EQ(listing(folder.dir()), Names{"book.orv"});
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
