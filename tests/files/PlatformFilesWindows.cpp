#include <windows.h>

#include "PlatformFiles.h"

namespace orivel::test {

bool PermissionsBind() {
  return false;
}

bool KeepsPermissionBits() {
  return false;
}

bool HasFifos() {
  return false;
}

bool MakesSymlinks() {
  return false;
}

bool MakeFifo(const std::filesystem::path&) {
  return false;
}

std::optional<int> InChildWithFileSizeLimit(std::uintmax_t, const std::function<int()>&) {
  return std::nullopt;
}

std::optional<int> InChildWithoutFreeDescriptors(const std::function<int()>&) {
  return std::nullopt;
}

FileHold::FileHold(const std::filesystem::path& path)
    : handle_(reinterpret_cast<std::intptr_t>(CreateFileW(path.c_str(), GENERIC_READ,
                                                          0,  // shared with nobody
                                                          nullptr, OPEN_EXISTING,
                                                          FILE_ATTRIBUTE_NORMAL, nullptr))) {}

FileHold::~FileHold() {
  if (isOpen()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool FileHold::isOpen() const {
  return reinterpret_cast<HANDLE>(handle_) != INVALID_HANDLE_VALUE;
}

std::string FileHold::readAll() const {
  const HANDLE h = reinterpret_cast<HANDLE>(handle_);
  std::string out;
  if (SetFilePointer(h, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return out;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) out.append(buffer, n);
  return out;
}

bool FileHold::BlocksReplace() {
  return true;
}

}  // namespace orivel::test
