#include "postal/PostalService.h"

#include <utility>

namespace orivel::postal {

PostalService::PostalService() = default;

PostalService::PostalService(std::vector<std::filesystem::path> sources,
                             std::filesystem::path cacheFile)
    : searched_(true), sources_(std::move(sources)), cacheFile_(std::move(cacheFile)) {}

const PostalDictionary* PostalService::dictionary() {
  if (!tried_) {
    tried_ = true;
    if (!searched_) {
      sources_ = FindPostalSources();
      cacheFile_ = PostalCacheFile();
    }
    status_ = OpenPostalDictionary(sources_, cacheFile_, &dictionary_);
  }
  const bool loaded = status_ == PostalOpenStatus::Loaded || status_ == PostalOpenStatus::Converted;
  return loaded ? &dictionary_ : nullptr;
}

bool PostalService::firstTimeMissing() {
  if (dictionary() || told_) return false;
  told_ = true;
  return true;
}

}  // namespace orivel::postal
