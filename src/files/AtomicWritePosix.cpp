// Replacing a file on POSIX systems: open(O_EXCL) under a new name and lock it (flock), write,
// fsync, rename while still holding it, fsync the folder. The lock is what tells a running
// save's temporary file from one that a save cut off left behind: the kernel drops it with
// the last descriptor, however the process ended.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <system_error>

#include "files/AtomicWrite.h"

namespace orivel {
namespace fs = std::filesystem;

namespace {

// How many new names a save tries when each is taken or snatched; with random names that
// takes another save racing this one at every try.
constexpr int kNameTries = 16;

bool samePlace(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Whether the name still leads to the file open at fd: a clean-up in another process may
// have removed the name between creating the file and locking it.
bool stillNamed(int fd, const fs::path& path) {
  struct stat held {};
  struct stat named {};
  return ::fstat(fd, &held) == 0 && ::lstat(path.c_str(), &named) == 0 && samePlace(held, named);
}

void syncFolder(const fs::path& dir) {
  const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd < 0) return;
  (void)::fsync(dirFd);
  ::close(dirFd);
}

}  // namespace

TemporaryFile::TemporaryFile(const fs::path& dir) {
  for (int k = 0; k < kNameTries; ++k) {
    const fs::path path = NewTemporaryPath(dir);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST || errno == EINTR) continue;
      return;
    }
    // Until the lock is taken, another save's clean-up may take the file for a stale one.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && stillNamed(fd, path)) {
      path_ = path;
      fd_ = fd;
      return;
    }
    ::close(fd);  // the clean-up that holds it removes it
  }
}

bool TemporaryFile::write(std::string_view bytes) {
  if (fd_ < 0) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool TemporaryFile::replace(const fs::path& target) {
  if (fd_ < 0 || replaced_ || ::fsync(fd_) != 0) return false;
  // Renamed while still locked: no clean-up can take it between the flush and the rename.
  if (std::rename(path_.c_str(), target.c_str()) != 0) return false;
  replaced_ = true;
  // Make the rename itself durable; the new file is complete either way.
  syncFolder(target.parent_path().empty() ? fs::path(".") : target.parent_path());
  return true;
}

void TemporaryFile::close() {
  if (fd_ < 0) return;
  // Removed before the lock goes with the descriptor, so nobody finds it unheld.
  if (!replaced_) ::unlink(path_.c_str());
  ::close(fd_);
  fd_ = -1;
}

namespace detail {

bool RemoveIfUnheld(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  bool removed = false;
  // A running save holds its lock from before the file has anything in it; a lock taken here
  // keeps any save from taking the file back while the name is removed.
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
      stillNamed(fd, path))
    removed = ::unlink(path.c_str()) == 0;
  ::close(fd);
  return removed;
}

}  // namespace detail

bool WriteFileAtomically(const fs::path& path, std::string_view bytes) {
  fs::path target;
  fs::path dir;
  if (!detail::ResolveTarget(path, &target, &dir)) return false;

  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  // A read-only file stays as it is, as it would on Windows, though the folder would let a
  // rename replace it: no write permission bit at all, or none for this user.
  if (replacing &&
      ((old.st_mode & 0222) == 0 || ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0))
    return false;

  // What saves that were cut off left here goes first: it may be what fills the disk.
  RemoveStaleTemporaryFiles(dir);
  TemporaryFile temp(dir);
  if (!temp.isOpen()) return false;
  // The new file keeps the owner (where allowed) and permissions of the one it replaces.
  if (replacing) {
    if (::fchown(temp.descriptor(), old.st_uid, old.st_gid) != 0) {
      // Only root may give a file away; the new file then stays the saver's.
    }
    if (::fchmod(temp.descriptor(), old.st_mode & 07777) != 0) {
      // The default permissions stand; the text is what matters.
    }
  }
  return temp.write(bytes) && temp.replace(target);
}

}  // namespace orivel
