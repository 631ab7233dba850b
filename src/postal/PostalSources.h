#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

#include "postal/PostalDictionary.h"

// Where the postal code dictionary comes from and where its table is kept between runs.
namespace orivel::postal {

// The environment variable that names a dictionary file to use instead of the installed ones.
inline constexpr const char* kDictionaryVariable = "ORIVEL_POSTAL_DICT";

// The dictionary files: the one ORIVEL_POSTAL_DICT names, or else skk/SKK-JISYO.zipcode and
// skk/SKK-JISYO.office.zipcode from the first XDG data folder ($XDG_DATA_HOME, then each of
// $XDG_DATA_DIRS) that holds each. Empty when none is found.
std::vector<std::filesystem::path> FindPostalSources();

// $XDG_CACHE_HOME/orivel/postal.table (or ~/.cache/...); empty when neither is set.
std::filesystem::path PostalCacheFile();

// Names the sources by path, size and time of change, so that an updated list is converted anew.
std::uint64_t SourcesFingerprint(const std::vector<std::filesystem::path>& sources);

enum class PostalOpenStatus {
  Loaded,      // from the cache file
  Converted,   // from the sources; the cache file was written when it could be
  NotFound,    // no source
  Unreadable,  // a source could not be read or held no code
};

// Loads the dictionary of `sources`: from `cacheFile` when it holds the table of exactly these
// sources, otherwise by converting them and writing the table to `cacheFile` (a failed cache
// write is no failure; an empty path writes nothing).
PostalOpenStatus OpenPostalDictionary(const std::vector<std::filesystem::path>& sources,
                                      const std::filesystem::path& cacheFile,
                                      PostalDictionary* dictionary);

// Reads and writes a table file as it stands in memory.
bool ReadTableFile(const std::filesystem::path& path, PostalDictionary::Image* image);
bool WriteTableFile(const std::filesystem::path& path, const PostalDictionary::Image& image);

}  // namespace orivel::postal
