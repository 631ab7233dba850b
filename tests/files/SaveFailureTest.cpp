// Saves that cannot complete, each in a way that fails for root too: the file that was
// there stays byte for byte as it was, and no temporary file is left beside it.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>
#include <csignal>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "TempFiles.h"
#include "files/BookFile.h"

namespace orivel {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

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

// Runs fn in a child process, so that limits set there bind nothing else; its result is
// the child's exit code, or -1 when the child did not exit normally.
int inChild(const std::function<int()>& fn) {
  const pid_t pid = fork();
  if (pid == 0) _exit(fn());
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The lowest file descriptor not in use: with it as the limit, nothing more can be opened.
rlim_t nextDescriptor() {
  const int fd = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  ::close(fd);
  return static_cast<rlim_t>(fd);
}

class SaveFailureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    AddressBook old;
    for (int i = 0; i < 5; ++i) old.append(entry("old" + std::to_string(i)));
    book = folder.path("book.orv");
    ASSERT_TRUE(SaveBook(old, book));
    before = readBytes(book);
    for (int i = 0; i < 300; ++i) big.append(entry("new" + std::to_string(i)));
  }
  void expectUntouched(const std::vector<std::string>& expectedListing = {"book.orv"}) {
    EXPECT_EQ(readBytes(book), before);
    EXPECT_EQ(listing(fs::path(book).parent_path()), expectedListing);
    AddressBook loaded;
    ASSERT_TRUE(LoadBook(book, loaded).ok());
    ASSERT_EQ(loaded.count(), 5);
    EXPECT_EQ(loaded.entry(4).name, "old4");
  }

  test::TempFolder folder;
  std::string book;
  std::string before;
  AddressBook big;
};

TEST_F(SaveFailureTest, NoDescriptorForTheTemporaryFile) {
  // The new text is ready; only the temporary file beside the target cannot be opened.
  ProfileFile profile;
  ASSERT_EQ(ProfileFile::readFile(book, &profile), ProfileFile::ReadStatus::Ok);
  ASSERT_TRUE(WriteBook(big, profile));
  const int result = inChild([&] {
    const rlimit none{nextDescriptor(), nextDescriptor()};
    if (setrlimit(RLIMIT_NOFILE, &none) != 0) return 2;
    return profile.writeFile(book) ? 1 : 0;
  });
  EXPECT_EQ(result, 0) << "1: the save claimed success, 2: no limit could be set";
  expectUntouched();
}

TEST_F(SaveFailureTest, AFileInPlaceOfTheFolderFails) {
  // The file itself stands where the folder of the new file should be.
  EXPECT_FALSE(SaveBook(big, fs::path(book) / "inner.orv"));
  expectUntouched();
}

TEST_F(SaveFailureTest, ANewFileCutShortIsNotLeftHalfWritten) {
  const std::string fresh = folder.path("fresh.orv");
  const int result = inChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{4096, 4096};
    if (setrlimit(RLIMIT_FSIZE, &small) != 0) return 2;
    return SaveBook(big, fresh) ? 1 : 0;
  });
  EXPECT_EQ(result, 0);
  EXPECT_FALSE(fs::exists(fresh));
  expectUntouched();
}

TEST_F(SaveFailureTest, AWriteRefusedAtItsFirstByteLeavesTheOldFile) {
  const int result = inChild([&] {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit nothing{0, 0};
    if (setrlimit(RLIMIT_FSIZE, &nothing) != 0) return 2;
    return SaveBook(big, book) ? 1 : 0;
  });
  EXPECT_EQ(result, 0);
  expectUntouched();
}

TEST_F(SaveFailureTest, AFailedSaveDoesNotStopTheNextOne) {
  ASSERT_EQ(inChild([&] {
              std::signal(SIGXFSZ, SIG_IGN);
              const rlimit small{512, 512};
              return setrlimit(RLIMIT_FSIZE, &small) == 0 && !SaveBook(big, book) ? 0 : 1;
            }),
            0);
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
