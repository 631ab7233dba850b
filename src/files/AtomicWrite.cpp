#include "files/AtomicWrite.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <system_error>
#include <type_traits>

namespace orivel {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kTemporaryPrefix = ".orivel-save-";
constexpr std::string_view kTemporarySuffix = ".tmp";

bool isLowerHex(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

}  // namespace

bool IsTemporaryName(const fs::path& filename) {
  // Names of the pattern are ASCII: compare the native text, whatever its width.
  const auto& native = filename.native();
  if (native.size() <= kTemporaryPrefix.size() + kTemporarySuffix.size()) return false;
  std::string name;
  for (const auto c : native) {
    const auto unit = static_cast<std::make_unsigned_t<std::remove_const_t<decltype(c)>>>(c);
    if (unit > 0x7F) return false;
    name.push_back(static_cast<char>(unit));
  }
  const std::string_view view(name);
  if (!view.starts_with(kTemporaryPrefix) || !view.ends_with(kTemporarySuffix)) return false;
  const std::string_view digits = view.substr(
      kTemporaryPrefix.size(), view.size() - kTemporaryPrefix.size() - kTemporarySuffix.size());
  for (char c : digits)
    if (!isLowerHex(c)) return false;
  return true;
}

fs::path NewTemporaryPath(const fs::path& dir) {
  // The system's random source, with a count and the time so that even a weak source never
  // gives two saves of one process the same name twice in a row.
  static std::atomic<std::uint64_t> count{0};
  std::random_device random;
  std::uint64_t bits = (static_cast<std::uint64_t>(random()) << 32) ^ random();
  bits ^= static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  bits += ++count * 0x9E3779B97F4A7C15ull;
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string name(kTemporaryPrefix);
  for (int shift = 60; shift >= 0; shift -= 4) name.push_back(kDigits[(bits >> shift) & 0xF]);
  name.append(kTemporarySuffix);
  return dir / name;
}

int RemoveStaleTemporaryFiles(const fs::path& dir) {
  std::error_code ec;
  fs::directory_iterator it(dir, ec);
  int removed = 0;
  for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
    const fs::path& path = it->path();
    if (IsTemporaryName(path.filename()) && detail::RemoveIfUnheld(path)) ++removed;
  }
  return removed;
}

TemporaryFile::~TemporaryFile() {
  close();
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
