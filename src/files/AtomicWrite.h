#pragma once

#include <filesystem>
#include <string_view>

// Replacing a file so that a failure at any point leaves the file that was there as it was:
// the text goes to a new temporary file beside the target, is flushed to the disk and then
// renamed over the target. Each system has its own file (AtomicWritePosix.cpp,
// AtomicWriteWindows.cpp) behind this one interface.
//
// A save that is cut off (the process killed, the machine down) can leave its temporary
// file behind. Every save therefore first removes the temporary files of its folder that no
// running save holds: a save holds its own from creating it until it is renamed or removed
// (a lock on POSIX systems, an open handle shared with nobody on Windows).
namespace orivel {

// Whether a file name is one this program gives its temporary files: ".orivel-save-",
// lower-case hexadecimal digits, ".tmp". Nothing else in a folder is ever removed.
bool IsTemporaryName(const std::filesystem::path& filename);

// A new temporary name in dir, random, of the pattern above.
std::filesystem::path NewTemporaryPath(const std::filesystem::path& dir);

// Removes the files of dir named as temporary files that no running save holds; the number
// removed. What cannot be removed stays; nothing is reported.
int RemoveStaleTemporaryFiles(const std::filesystem::path& dir);

// A temporary file as a save holds it while writing: created under a new name in dir, held
// until it replaces its target or is closed. Closed without replacing, it is removed.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::filesystem::path& dir);
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool isOpen() const { return fd_ >= 0; }
  const std::filesystem::path& path() const { return path_; }
  // The C runtime's descriptor, for what only the system's own file may do with it.
  int descriptor() const { return fd_; }
  // Writes all the bytes at the end of the file; false when any cannot be written.
  bool write(std::string_view bytes);
  // Flushes the file to the disk and renames it over target; false when either fails, and
  // the file goes when it is closed, if it is not gone already.
  bool replace(const std::filesystem::path& target);
  // Removes the file unless it replaced its target, and lets it go.
  void close();

 private:
  std::filesystem::path path_;
  int fd_ = -1;
  bool replaced_ = false;
};

// Writes bytes to path. A link is followed and the file it points to replaced. Only a
// regular file is ever replaced, and not a read-only one. False, with no temporary file
// left and the target as it was, when anything fails.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

namespace detail {

// What both systems do before writing: the file to replace (a link resolved) and its
// folder, or false when the target cannot be replaced at all (a folder, a device, a pipe,
// no name).
bool ResolveTarget(const std::filesystem::path& path, std::filesystem::path* target,
                   std::filesystem::path* dir);

// Removes the temporary file at path unless a running save holds it; each system's own way.
bool RemoveIfUnheld(const std::filesystem::path& path);

}  // namespace detail
}  // namespace orivel
