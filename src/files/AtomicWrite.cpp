#include "files/AtomicWrite.h"

#include <string>
#include <system_error>

namespace orivel {
namespace fs = std::filesystem;

fs::path TemporaryPathFor(const fs::path& dir, int k) {
  return dir / (".orivel-save-" + std::to_string(k) + ".tmp");
}

namespace detail {

bool ResolveTarget(const fs::path& path, fs::path* target, fs::path* dir) {
  std::error_code ec;
  *target = path;
  // Saving through a link replaces the file it points to, not the link.
  if (fs::is_symlink(*target, ec)) {
    fs::path resolved = fs::canonical(*target, ec);
    if (!ec) *target = std::move(resolved);
  }
  if (!target->has_filename()) return false;
  // Only a regular file is ever replaced: never a folder, a device or a pipe.
  const fs::file_status existing = fs::status(*target, ec);
  if (fs::exists(existing) && !fs::is_regular_file(existing)) return false;
  *dir = target->parent_path();
  if (dir->empty()) *dir = ".";
  return true;
}

}  // namespace detail
}  // namespace orivel
