// Saves that cannot complete, each in a way that fails for root too: the file that was
// there stays byte for byte as it was, and no temporary file is left beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "PlatformFiles.h"
#include "TempFiles.h"
#include "files/BookFile.h"

namespace orivel {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;

std::vector<std::string> listing(const fs::path& dir) {
  std::vector<std::string> out;
  for (const auto& e : fs::directory_iterator(dir)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

datatype entry(const std::string& name) {
  datatype e;
  e.name = name;
  e.address = std::string(60, 'a');
  e.zip_code = "100-0001";
  e.sama = "\x97\x6c";  // 様
  e.ml[0] = 1;
  return e;
}

constexpr const char* kNoSizeLimit =
    "this system has no limit on the size of a file to cut a write short";

class SaveFailureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AddressBook old;
    for (int i = 0; i < 5; ++i) old.append(entry("old" + std::to_string(i)));
    book = folder.path("book.orv");
    ASSERT_TRUE(SaveBook(old, book));
    before = ReadBytes(book);
    for (int i = 0; i < 300; ++i) big.append(entry("new" + std::to_string(i)));
  }
  void expectUntouched(const std::vector<std::string>& expectedListing = {"book.orv"}) {
    EXPECT_EQ(ReadBytes(book), before);
    EXPECT_EQ(listing(fs::path(book).parent_path()), expectedListing);
    AddressBook loaded;
    ASSERT_TRUE(LoadBook(book, loaded).ok());
    ASSERT_EQ(loaded.count(), 5);
    EXPECT_EQ(loaded.entry(4).name, "old4");
  }

  test::TempFolder folder;
  fs::path book;
  std::string before;
  AddressBook big;
};

TEST_F(SaveFailureTest, NoDescriptorForTheTemporaryFile) {
  // The new text is ready; only the temporary file beside the target cannot be opened.
  ProfileFile profile;
  ASSERT_EQ(ProfileFile::readFile(book, &profile), ProfileFile::ReadStatus::Ok);
  ASSERT_TRUE(WriteBook(big, profile));
  const auto result = test::InChildWithoutFreeDescriptors([&] { return profile.writeFile(book); });
  if (!result) GTEST_SKIP() << "this system has no limit on the files a process may open";
  EXPECT_EQ(*result, 0) << "1: the save claimed success, 125: no limit could be set";
  expectUntouched();
}

TEST_F(SaveFailureTest, AFileInPlaceOfTheFolderFails) {
  // The file itself stands where the folder of the new file should be.
  EXPECT_FALSE(SaveBook(big, fs::path(book) / "inner.orv"));
  expectUntouched();
}

TEST_F(SaveFailureTest, ANewFileCutShortIsNotLeftHalfWritten) {
  const fs::path fresh = folder.path("fresh.orv");
  const auto result = test::InChildWithFileSizeLimit(4096, [&] { return SaveBook(big, fresh); });
  if (!result) GTEST_SKIP() << kNoSizeLimit;
  EXPECT_EQ(*result, 0);
  EXPECT_FALSE(fs::exists(fresh));
  expectUntouched();
}

TEST_F(SaveFailureTest, AWriteRefusedAtItsFirstByteLeavesTheOldFile) {
  const auto result = test::InChildWithFileSizeLimit(0, [&] { return SaveBook(big, book); });
  if (!result) GTEST_SKIP() << kNoSizeLimit;
  EXPECT_EQ(*result, 0);
  expectUntouched();
}

TEST_F(SaveFailureTest, AFailedSaveDoesNotStopTheNextOne) {
  const auto result = test::InChildWithFileSizeLimit(512, [&] { return SaveBook(big, book); });
  if (!result) GTEST_SKIP() << kNoSizeLimit;
  ASSERT_EQ(*result, 0);
  expectUntouched();
  ASSERT_TRUE(SaveBook(big, book));
  AddressBook loaded;
  ASSERT_TRUE(LoadBook(book, loaded).ok());
  EXPECT_EQ(loaded.count(), 300);
  EXPECT_EQ(loaded.entry(299).name, "new299");
  EXPECT_EQ(listing(fs::path(book).parent_path()), std::vector<std::string>{"book.orv"});
}

}  // namespace
}  // namespace orivel
