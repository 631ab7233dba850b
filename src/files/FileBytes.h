#pragma once

#include <cstdint>
#include <filesystem>
#include <limits>
#include <string>

namespace orivel {

enum class FileReadStatus {
  Ok,
  NotFound,    // nothing exists at the path
  Unreadable,  // a folder, a device, no permission, or a read error
  TooLarge,    // larger than the caller accepts
};

// Reads the whole regular file at path into *bytes in one go. *bytes is left as it was
// unless the result is Ok.
FileReadStatus ReadFileBytes(const std::filesystem::path& path, std::string* bytes,
                             std::uintmax_t maxSize = std::numeric_limits<std::uintmax_t>::max());

}  // namespace orivel
