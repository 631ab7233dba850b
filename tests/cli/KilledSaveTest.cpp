// Saves killed at random moments: `orivel-cli import --out BOOK` is started again and again
// on a large book and killed with SIGKILL while it runs. After each kill the book is byte for
// byte the old one or the new one; a save that runs to its end leaves no temporary file of
// ours beside the book, whatever the killed ones left there.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cli/CliRun.h"

extern char** environ;

namespace orivel::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using std::chrono::microseconds;

constexpr int kRuns = 60;

// 300 addressees with long addresses, so that a save writes about a megabyte; the two lists
// differ in every entry.
QByteArray bigCsv(char stem) {
  QByteArray csv = "name,zip,address,1,2,3,4,5,6,sama\n";
  const QByteArray address(3000, stem);
  for (int i = 0; i < 300; ++i)
    csv += stem + QByteArray::number(i) + ",100-0001," + address + ",Y,,,,,,sama\n";
  return csv;
}

int temporaryFilesIn(const fs::path& dir) {
  int count = 0;
  for (const auto& e : fs::directory_iterator(dir)) {
    const std::string name = e.path().filename().string();
    if (name.starts_with(".orivel-save-") && name.ends_with(".tmp")) ++count;
  }
  return count;
}

std::vector<std::string> listing(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  return names;
}

// One import, killed when shouldKill says so, polled every 50 µs; exit code, or -1 if killed.
int runImport(const fs::path& book, const fs::path& csv,
              const std::function<bool(Clock::duration)>& shouldKill) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::string program = ORIVEL_CLI;
  std::string import = "import";
  std::string out = "--out";
  std::string bookArg = book.string();
  std::string csvArg = csv.string();
  char* argv[] = {program.data(), import.data(), out.data(),
                  bookArg.data(), csvArg.data(), nullptr};
  pid_t pid = -1;
  const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return -2;
  const auto start = Clock::now();
  int status = 0;
  bool killed = false;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (!killed &&
        (shouldKill(Clock::now() - start) || Clock::now() - start > std::chrono::seconds(30))) {
      kill(pid, SIGKILL);
      killed = true;
    }
    std::this_thread::sleep_for(microseconds(50));
  }
  if (WIFSIGNALED(status)) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
}

TEST(KilledSaveTest, LeavesTheOldBookOrTheNewAndNothingBehindTheNextSave) {
  QTemporaryDir dir;
  const fs::path base = dir.path().toStdString();
  const fs::path folder = base / "books";
  fs::create_directory(folder);
  const fs::path book = folder / "book.orv";
  const fs::path csvs[] = {base / "a.csv", base / "b.csv"};
  ASSERT_TRUE(writeBytes(QString::fromStdString(csvs[0].string()), bigCsv('a')));
  ASSERT_TRUE(writeBytes(QString::fromStdString(csvs[1].string()), bigCsv('b')));
  const auto never = [](Clock::duration) { return false; };

  // The two books a save can leave: each list imported over the other. How long a whole run
  // takes sets the range of the random moments.
  const QString bookPath = QString::fromStdString(book.string());
  QByteArray books[2];
  Clock::duration longest{};
  for (int k : {0, 1, 0, 1}) {
    const auto start = Clock::now();
    ASSERT_EQ(runImport(book, csvs[k], never), 0);
    longest = std::max(longest, Clock::now() - start);
    books[k] = readBytes(bookPath);
  }
  ASSERT_NE(books[0], books[1]);
  for (int k : {0, 1}) {
    ASSERT_TRUE(writeBytes(bookPath, books[k]));
    const QString shown = runCli({QStringLiteral("show"), bookPath}).outText();
    EXPECT_EQ(shown.count(u'\n'), 300);
    EXPECT_TRUE(shown.startsWith(k == 0 ? QStringLiteral("{\"index\": 0, \"name\": \"a0\"")
                                        : QStringLiteral("{\"index\": 0, \"name\": \"b0\"")));
  }

  std::mt19937 random(std::random_device{}());
  int held = 1;  // the book holds list b
  int killedWhileSaving = 0;
  for (int run = 0; run < kRuns; ++run) {
    const int next = 1 - held;
    // Every other run is killed at a moment of its whole run, the others once their temporary
    // file is there, within the next millisecond: most of a run is starting up.
    std::function<bool(Clock::duration)> shouldKill;
    if (run % 2 == 0) {
      const auto at = std::uniform_int_distribution<Clock::rep>(0, longest.count())(random);
      shouldKill = [at](Clock::duration since) { return since.count() >= at; };
    } else {
      const microseconds after{std::uniform_int_distribution<int>(0, 1000)(random)};
      auto seen = std::make_shared<std::optional<Clock::duration>>();
      shouldKill = [&, after, seen](Clock::duration since) {
        if (!*seen && temporaryFilesIn(folder) > 0) *seen = since;
        return *seen && since - **seen >= after;
      };
    }
    const int left = temporaryFilesIn(folder);
    const int exit = runImport(book, csvs[next], shouldKill);
    const QByteArray now = readBytes(bookPath);
    if (exit == -1) {
      ASSERT_TRUE(now == books[held] || now == books[next])
          << "run " << run << ": the book is neither the old one nor the new one";
      if (now == books[next]) held = next;
      if (temporaryFilesIn(folder) > left) ++killedWhileSaving;
    } else {
      ASSERT_EQ(exit, 0) << "run " << run;
      ASSERT_EQ(now, books[next]) << "run " << run;
      held = next;
      EXPECT_EQ(temporaryFilesIn(folder), 0) << "run " << run;
    }
  }
  RecordProperty("killed_while_saving", killedWhileSaving);

  ASSERT_EQ(runImport(book, csvs[1 - held], never), 0);
  EXPECT_EQ(readBytes(bookPath), books[1 - held]);
  EXPECT_EQ(listing(folder), std::vector<std::string>{"book.orv"});
  // Had no kill come while a save was writing, nothing above would have been left to clean.
  EXPECT_GT(killedWhileSaving, 0);
}

}  // namespace
}  // namespace orivel::test
