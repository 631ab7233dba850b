#pragma once

#include <filesystem>
#include <vector>

#include "postal/PostalDictionary.h"
#include "postal/PostalSources.h"

namespace orivel::postal {

// The dictionary of the installed lists for the whole run: found, converted or read from the
// cache at its first use, then kept.
class PostalService {
 public:
  // The installed lists (or the file ORIVEL_POSTAL_DICT names), cached in the user's cache folder.
  PostalService();
  // Given lists and cache file (an empty path keeps no cache).
  PostalService(std::vector<std::filesystem::path> sources, std::filesystem::path cacheFile);

  // The dictionary, or nullptr when there is none.
  const PostalDictionary* dictionary();
  // True the first time it is asked after the dictionary turned out to be missing.
  bool firstTimeMissing();

 private:
  bool searched_ = false;
  std::vector<std::filesystem::path> sources_;
  std::filesystem::path cacheFile_;
  bool tried_ = false;
  bool told_ = false;
  PostalOpenStatus status_ = PostalOpenStatus::NotFound;
  PostalDictionary dictionary_;
};

}  // namespace orivel::postal
