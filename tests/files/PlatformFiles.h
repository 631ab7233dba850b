#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

// What the file tests need from the system they run on, with one file per system
// (PlatformFilesPosix.cpp, PlatformFilesWindows.cpp). Where a system has no way to bring
// about a situation, the helper says so and the test is skipped with the reason.
namespace orivel::test {

// False where permission bits do not bind this process: for root, and on Windows, where a
// missing read bit does not stop reading and a read-only folder does not stop new files.
bool PermissionsBind();
// True where the group and other permission bits of a file are kept as set (not Windows).
bool KeepsPermissionBits();

// Whether named pipes have a place in the file system (not on Windows), and making one.
bool HasFifos();
bool MakeFifo(const std::filesystem::path& path);
// Whether the tests can make symbolic links (libstdc++ cannot on Windows).
bool MakesSymlinks();

// Runs fn in a child process in which no file can grow beyond maxBytes (a write beyond
// fails as on a full disk) and returns fn's result, -1 when the child did not end
// normally; nothing where the system has no such limit.
std::optional<int> InChildWithFileSizeLimit(std::uintmax_t maxBytes,
                                            const std::function<int()>& fn);
// Runs fn in a child process that cannot open one more file; as above.
std::optional<int> InChildWithoutFreeDescriptors(const std::function<int()>& fn);

// Holds a file open for reading the way another program does that shares it with nobody.
// On Windows no one else may then write, rename, replace or delete it; POSIX systems have
// no such locks, so there the hold only keeps the file it opened readable.
class FileHold {
 public:
  explicit FileHold(const std::filesystem::path& path);
  ~FileHold();
  FileHold(const FileHold&) = delete;
  FileHold& operator=(const FileHold&) = delete;

  bool isOpen() const;
  // The whole file as seen through the hold, from its first byte.
  std::string readAll() const;
  // Whether a hold stops a save from replacing the file.
  static bool BlocksReplace();

 private:
  std::intptr_t handle_;
};

}  // namespace orivel::test
