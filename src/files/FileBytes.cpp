#include "files/FileBytes.h"

#include <fstream>
#include <system_error>

namespace orivel {

namespace fs = std::filesystem;

FileReadStatus ReadFileBytes(const fs::path& path, std::string* bytes, std::uintmax_t maxSize) {
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  if (st.type() == fs::file_type::not_found) return FileReadStatus::NotFound;
  if (ec || !fs::is_regular_file(st)) return FileReadStatus::Unreadable;

  std::ifstream in(path, std::ios::binary);
  if (!in) return FileReadStatus::Unreadable;
  std::string data;
  const std::uintmax_t expected = fs::file_size(path, ec);
  // Too large as it stands: refused before a byte is read.
  if (!ec && expected > maxSize) return FileReadStatus::TooLarge;
  if (!ec) data.reserve(static_cast<std::size_t>(expected));
  // Read to the end whatever the size said at opening: the file may still be growing.
  char buffer[1 << 16];
  while (in) {
    in.read(buffer, sizeof buffer);
    data.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (data.size() > maxSize) return FileReadStatus::TooLarge;
  }
  if (in.bad()) return FileReadStatus::Unreadable;
  *bytes = std::move(data);
  return FileReadStatus::Ok;
}

}  // namespace orivel
