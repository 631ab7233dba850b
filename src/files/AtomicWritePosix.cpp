// Replacing a file on POSIX systems: open(O_EXCL), write, fsync, rename, fsync the folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "files/AtomicWrite.h"

namespace orivel {
namespace fs = std::filesystem;

namespace {

bool writeAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

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

  fs::path temp;
  int fd = -1;
  for (int k = 0; k < kTemporaryNameCount && fd < 0; ++k) {
    temp = TemporaryPathFor(dir, k);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) return false;
  }
  if (fd < 0) return false;
  // The new file keeps the owner (where allowed) and permissions of the one it replaces.
  if (replacing) {
    if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Only root may give a file away; the new file then stays the saver's.
    }
    if (::fchmod(fd, old.st_mode & 07777) != 0) {
      // The default permissions stand; the text is what matters.
    }
  }
  bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
  written = (::close(fd) == 0) && written;
  std::error_code ec;
  if (written) {
    fs::rename(temp, target, ec);
    written = !ec;
  }
  if (!written) {
    fs::remove(temp, ec);
    return false;
  }
  // Make the rename itself durable; the new file is complete either way.
  const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dirFd >= 0) {
    (void)::fsync(dirFd);
    ::close(dirFd);
  }
  return true;
}

}  // namespace orivel
