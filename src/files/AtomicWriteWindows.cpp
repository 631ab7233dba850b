// Replacing a file on Windows. The C runtime that mingw-w64 links (msvcrt.dll) does not
// know the "x" of fopen modes and refuses them, so the temporary file is opened with
// _wsopen_s and _O_EXCL, which it honours; MoveFileExW with MOVEFILE_WRITE_THROUGH returns
// only once the replace is on the disk. Paths stay wide throughout.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <cstdio>

#include "files/AtomicWrite.h"

namespace orivel {
namespace fs = std::filesystem;

namespace {

bool writeAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const std::size_t chunk = std::min<std::size_t>(bytes.size() - done, INT_MAX);
    const int n = _write(fd, bytes.data() + done, static_cast<unsigned>(chunk));
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

  // MoveFileExW would refuse a read-only target only after the whole text was written.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
    return false;

  fs::path temp;
  int fd = -1;
  for (int k = 0; k < kTemporaryNameCount && fd < 0; ++k) {
    temp = TemporaryPathFor(dir, k);
    const errno_t error =
        _wsopen_s(&fd, temp.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _SH_DENYRW, _S_IREAD | _S_IWRITE);
    if (error == 0) break;
    fd = -1;
    // A name held by someone else's open without sharing reads as no access: take the next.
    if (error != EEXIST && error != EACCES) return false;
  }
  if (fd < 0) return false;
  bool written = writeAll(fd, bytes) && _commit(fd) == 0;
  written = (_close(fd) == 0) && written;
  if (written)
    written = MoveFileExW(temp.c_str(), target.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
  if (!written) {
    DeleteFileW(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace orivel
