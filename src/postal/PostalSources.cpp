#include "postal/PostalSources.h"

#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>
#include <system_error>

#include "files/AtomicWrite.h"
#include "files/FileBytes.h"
#include "postal/SkkZipcode.h"

namespace orivel::postal {
namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kMaxSourceSize = 64u * 1024u * 1024u;

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::string(value) : std::string();
}

std::vector<fs::path> dataFolders() {
  std::vector<fs::path> folders;
  std::string home = environment("XDG_DATA_HOME");
  if (home.empty() && !environment("HOME").empty()) home = environment("HOME") + "/.local/share";
  if (!home.empty()) folders.emplace_back(home);
  std::string dirs = environment("XDG_DATA_DIRS");
  if (dirs.empty()) dirs = "/usr/local/share:/usr/share";
  std::size_t start = 0;
  while (start <= dirs.size()) {
    std::size_t colon = dirs.find(':', start);
    if (colon == std::string::npos) colon = dirs.size();
    if (colon > start) folders.emplace_back(dirs.substr(start, colon - start));
    start = colon + 1;
  }
  return folders;
}

void mix(std::uint64_t* hash, std::string_view bytes) {
  for (unsigned char b : bytes) {
    *hash ^= b;
    *hash *= 1099511628211ull;
  }
}

}  // namespace

std::vector<fs::path> FindPostalSources() {
  if (const std::string named = environment(kDictionaryVariable); !named.empty())
    return {fs::path(named)};
  std::vector<fs::path> sources;
  const std::vector<fs::path> folders = dataFolders();
  for (const char* name : {"skk/SKK-JISYO.zipcode", "skk/SKK-JISYO.office.zipcode"}) {
    for (const fs::path& folder : folders) {
      std::error_code ec;
      const fs::path candidate = folder / name;
      if (fs::is_regular_file(candidate, ec)) {
        sources.push_back(candidate);
        break;
      }
    }
  }
  return sources;
}

fs::path PostalCacheFile() {
  std::string cache = environment("XDG_CACHE_HOME");
  if (cache.empty() && !environment("HOME").empty()) cache = environment("HOME") + "/.cache";
  if (cache.empty()) return {};
  return fs::path(cache) / "orivel" / "postal.table";
}

std::uint64_t SourcesFingerprint(const std::vector<fs::path>& sources) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const fs::path& source : sources) {
    std::error_code ec;
    mix(&hash, source.generic_string());
    const std::uintmax_t size = fs::file_size(source, ec);
    mix(&hash, std::to_string(ec ? 0 : size));
    const auto time = fs::last_write_time(source, ec);
    mix(&hash, std::to_string(ec ? 0 : time.time_since_epoch().count()));
  }
  return hash;
}

bool ReadTableFile(const fs::path& path, PostalDictionary::Image* image) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec || size % 4 != 0 || size > kMaxSourceSize) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  image->resize(static_cast<std::size_t>(size / 4));
  in.read(reinterpret_cast<char*>(image->data()), static_cast<std::streamsize>(size));
  return static_cast<std::uintmax_t>(in.gcount()) == size;
}

bool WriteTableFile(const fs::path& path, const PostalDictionary::Image& image) {
  std::error_code ec;
  fs::create_directories(path.parent_path(), ec);
  const std::string_view bytes(reinterpret_cast<const char*>(image.data()), image.size() * 4);
  return WriteFileAtomically(path, bytes);
}

PostalOpenStatus OpenPostalDictionary(const std::vector<fs::path>& sources,
                                      const fs::path& cacheFile, PostalDictionary* dictionary) {
  if (sources.empty()) return PostalOpenStatus::NotFound;
  const std::uint64_t fingerprint = SourcesFingerprint(sources);
  if (!cacheFile.empty()) {
    PostalDictionary::Image image;
    if (ReadTableFile(cacheFile, &image) && dictionary->adopt(std::move(image)) &&
        dictionary->fingerprint() == fingerprint)
      return PostalOpenStatus::Loaded;
  }
  *dictionary = PostalDictionary();
  ZipParseResult parsed;
  for (const fs::path& source : sources) {
    std::string bytes;
    if (ReadFileBytes(source, &bytes, kMaxSourceSize) != FileReadStatus::Ok)
      return PostalOpenStatus::Unreadable;
    ParseSkkZipcode(bytes, &parsed);
  }
  if (parsed.lines.empty() ||
      !dictionary->adopt(PostalDictionary::Build(parsed.lines, fingerprint)))
    return PostalOpenStatus::Unreadable;
  if (!cacheFile.empty()) WriteTableFile(cacheFile, dictionary->image());
  return PostalOpenStatus::Converted;
}

}  // namespace orivel::postal
