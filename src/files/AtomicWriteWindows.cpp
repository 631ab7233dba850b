// Replacing a file on Windows. The C runtime that mingw-w64 links (msvcrt.dll) does not
// know the "x" of fopen modes and refuses them, so the temporary file is opened with
// _wsopen_s and _O_EXCL, which it honours; MoveFileExW with MOVEFILE_WRITE_THROUGH returns
// only once the replace is on the disk. Paths stay wide throughout.
//
// The temporary file is opened sharing nothing, not even deletion, so while a save writes
// it no other save's clean-up can delete it; once the process is gone, however it ended,
// the system has closed the handle and DeleteFileW succeeds.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>

#include "files/AtomicWrite.h"

namespace orivel {
namespace fs = std::filesystem;

namespace {

// How many new names a save tries when each is taken; with random names that takes
// another save racing this one at every try.
constexpr int kNameTries = 16;

}  // namespace

TemporaryFile::TemporaryFile(const fs::path& dir) {
  for (int k = 0; k < kNameTries; ++k) {
    const fs::path path = NewTemporaryPath(dir);
    int fd = -1;
    const errno_t error =
        _wsopen_s(&fd, path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _SH_DENYRW, _S_IREAD | _S_IWRITE);
    if (error == 0) {
      path_ = path;
      fd_ = fd;
      return;
    }
    // A name held by someone else's open without sharing reads as no access: take the next.
    if (error != EEXIST && error != EACCES) return;
  }
}

bool TemporaryFile::write(std::string_view bytes) {
  if (fd_ < 0) return false;
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t chunk = std::min<std::size_t>(bytes.size() - done, INT_MAX);
    const int n = _write(fd_, bytes.data() + done, static_cast<unsigned>(chunk));
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

bool TemporaryFile::replace(const fs::path& target) {
  if (fd_ < 0 || replaced_ || _commit(fd_) != 0) return false;
  // MoveFileExW needs the file closed; from here until the rename another save's clean-up
  // could take it, and the rename then fails with the target as it was.
  const bool closed = _close(fd_) == 0;
  fd_ = -1;
  if (closed && MoveFileExW(path_.c_str(), target.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) {
    replaced_ = true;
    return true;
  }
  DeleteFileW(path_.c_str());
  return false;
}

void TemporaryFile::close() {
  if (fd_ < 0) return;
  _close(fd_);
  fd_ = -1;
  if (!replaced_) DeleteFileW(path_.c_str());
}

namespace detail {

bool RemoveIfUnheld(const fs::path& path) {
  // Fails with a sharing violation while a save holds the file; a folder is never deleted.
  return DeleteFileW(path.c_str()) != 0;
}

}  // namespace detail

bool WriteFileAtomically(const fs::path& path, std::string_view bytes) {
  fs::path target;
  fs::path dir;
  if (!detail::ResolveTarget(path, &target, &dir)) return false;

  // MoveFileExW would refuse a read-only target only after the whole text was written.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
    return false;

  // What saves that were cut off left here goes first: it may be what fills the disk.
  RemoveStaleTemporaryFiles(dir);
  TemporaryFile temp(dir);
  return temp.isOpen() && temp.write(bytes) && temp.replace(target);
}

}  // namespace orivel
