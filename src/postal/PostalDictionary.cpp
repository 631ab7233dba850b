#include "postal/PostalDictionary.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

namespace orivel::postal {
namespace {

constexpr std::uint32_t kMagicWord = 0x5A56524F;  // "ORVZ"
constexpr std::uint32_t kImageVersion = 1;

struct BuiltCandidate {
  std::uint32_t city;
  std::uint32_t townOffset;
  std::uint32_t townLength;
  std::uint32_t officeOffset;
  std::uint32_t officeLength;
};

}  // namespace

std::string PostalCandidate::address() const {
  std::string a;
  a.reserve(prefecture.size() + city.size() + town.size());
  a.append(prefecture).append(city).append(town);
  return a;
}

PostalDictionary::Image PostalDictionary::Build(const std::vector<ZipLine>& lines,
                                                std::uint64_t fingerprint) {
  // Lines in code order; a code given twice keeps all candidates, first file first.
  std::vector<const ZipLine*> sorted;
  sorted.reserve(lines.size());
  for (const ZipLine& l : lines) sorted.push_back(&l);
  std::stable_sort(sorted.begin(), sorted.end(),
                   [](const ZipLine* a, const ZipLine* b) { return a->code < b->code; });

  std::string pool;
  std::map<std::pair<std::string, std::string>, std::uint32_t> cityIndex;
  std::vector<std::pair<std::uint32_t, std::uint32_t>> cities;  // offset, prefLen << 16 | cityLen
  std::vector<std::uint32_t> codes;
  std::vector<std::uint32_t> candStart;
  std::vector<BuiltCandidate> cands;
  auto intern = [&pool](std::string_view text) {
    const auto offset = static_cast<std::uint32_t>(pool.size());
    pool.append(text);
    return offset;
  };
  for (const ZipLine* line : sorted) {
    if (codes.empty() || codes.back() != line->code) {
      codes.push_back(line->code);
      candStart.push_back(static_cast<std::uint32_t>(cands.size()));
    }
    for (const std::string& text : line->candidates) {
      std::string_view office;
      std::string_view address = text;
      if (const std::size_t at = address.find(kOfficeSeparator); at != std::string_view::npos) {
        office = address.substr(0, at);
        address = address.substr(at + kOfficeSeparator.size());
      }
      AddressParts parts;
      if (!SplitAddress(address, &parts)) parts = {{}, {}, address};
      if (address.size() > 0xFFFF || office.size() > 0xFFFF) continue;  // never in a real list
      const std::pair<std::string, std::string> key{std::string(parts.prefecture),
                                                    std::string(parts.city)};
      auto [it, added] = cityIndex.emplace(key, static_cast<std::uint32_t>(cities.size()));
      if (added) {
        const std::uint32_t offset = intern(parts.prefecture);
        intern(parts.city);
        cities.emplace_back(
            offset, static_cast<std::uint32_t>(parts.prefecture.size() << 16 | parts.city.size()));
      }
      BuiltCandidate c{};
      c.city = it->second;
      c.townLength = static_cast<std::uint32_t>(parts.town.size());
      c.townOffset = intern(parts.town);
      c.officeLength = static_cast<std::uint32_t>(office.size());
      c.officeOffset = intern(office);
      cands.push_back(c);
    }
  }
  candStart.push_back(static_cast<std::uint32_t>(cands.size()));

  // Each city's candidates, in code order.
  std::vector<std::uint32_t> cityStart(cities.size() + 1, 0);
  for (const BuiltCandidate& c : cands) ++cityStart[c.city + 1];
  for (std::size_t i = 1; i < cityStart.size(); ++i) cityStart[i] += cityStart[i - 1];
  std::vector<std::uint32_t> cityCands(cands.size());
  std::vector<std::uint32_t> fill(cityStart.begin(), cityStart.end() - 1);
  for (std::uint32_t n = 0; n < cands.size(); ++n) cityCands[fill[cands[n].city]++] = n;

  Image image;
  image.reserve(kHeaderWords + codes.size() * 2 + cands.size() * 5 + cities.size() * 3 +
                pool.size() / 4 + 4);
  image = {kMagicWord,
           kImageVersion,
           static_cast<std::uint32_t>(fingerprint),
           static_cast<std::uint32_t>(fingerprint >> 32),
           static_cast<std::uint32_t>(codes.size()),
           static_cast<std::uint32_t>(cands.size()),
           static_cast<std::uint32_t>(cities.size()),
           static_cast<std::uint32_t>(pool.size())};
  image.insert(image.end(), codes.begin(), codes.end());
  image.insert(image.end(), candStart.begin(), candStart.end());
  for (const BuiltCandidate& c : cands) {
    image.push_back(c.city);
    image.push_back(c.townOffset);
    image.push_back(c.townLength << 16 | c.officeLength);
    image.push_back(c.officeOffset);
  }
  for (const auto& [offset, lengths] : cities) {
    image.push_back(offset);
    image.push_back(lengths);
  }
  image.insert(image.end(), cityStart.begin(), cityStart.end());
  image.insert(image.end(), cityCands.begin(), cityCands.end());
  const std::size_t poolAt = image.size();
  image.resize(poolAt + (pool.size() + 3) / 4, 0);
  std::memcpy(image.data() + poolAt, pool.data(), pool.size());
  return image;
}

bool PostalDictionary::adopt(Image image) {
  image_ = std::move(image);
  auto fail = [this] {
    image_.clear();
    return false;
  };
  if (image_.size() < kHeaderWords || image_[kMagic] != kMagicWord ||
      image_[kVersion] != kImageVersion)
    return fail();
  const std::size_t poolWords = (std::size_t{header(kPoolBytes)} + 3) / 4;
  if (image_.size() != poolAt() + poolWords) return fail();
  const std::uint32_t poolBytes = header(kPoolBytes);
  auto within = [poolBytes](std::uint32_t offset, std::uint32_t length) {
    return offset <= poolBytes && length <= poolBytes - offset;
  };
  const std::uint32_t codes = codeCount();
  const std::uint32_t cands = candidateCount();
  const std::uint32_t cities = cityCount();
  for (std::uint32_t i = 0; i < codes; ++i) {
    if (i > 0 && image_[codesAt() + i] <= image_[codesAt() + i - 1]) return fail();
    if (image_[candStartAt() + i] > image_[candStartAt() + i + 1]) return fail();
  }
  if (image_[candStartAt()] != 0 || image_[candStartAt() + codes] != cands) return fail();
  for (std::uint32_t n = 0; n < cands; ++n) {
    const std::uint32_t* c = &image_[candsAt() + std::size_t{n} * kCandidateWords];
    if (c[0] >= cities || !within(c[1], c[2] >> 16) || !within(c[3], c[2] & 0xFFFF)) return fail();
  }
  for (std::uint32_t i = 0; i < cities; ++i) {
    const std::uint32_t* c = &image_[citiesAt() + std::size_t{i} * kCityWords];
    if (!within(c[0], (c[1] >> 16) + (c[1] & 0xFFFF))) return fail();
    if (image_[cityStartAt() + i] > image_[cityStartAt() + i + 1]) return fail();
  }
  if (image_[cityStartAt()] != 0 || image_[cityStartAt() + cities] != cands) return fail();
  for (std::uint32_t n = 0; n < cands; ++n)
    if (image_[cityCandsAt() + n] >= cands) return fail();
  return true;
}

std::uint64_t PostalDictionary::fingerprint() const {
  return std::uint64_t{header(kFingerprintHigh)} << 32 | header(kFingerprintLow);
}

std::string_view PostalDictionary::pool(std::uint32_t offset, std::uint32_t length) const {
  const char* base = reinterpret_cast<const char*>(image_.data() + poolAt());
  return {base + offset, length};
}

PostalDictionary::Range PostalDictionary::find(std::uint32_t code) const {
  if (image_.empty()) return {};
  const std::uint32_t* first = image_.data() + codesAt();
  const std::uint32_t* last = first + codeCount();
  const std::uint32_t* it = std::lower_bound(first, last, code);
  if (it == last || *it != code) return {};
  const std::size_t i = static_cast<std::size_t>(it - first);
  return {image_[candStartAt() + i], image_[candStartAt() + i + 1]};
}

PostalCandidate PostalDictionary::candidate(std::uint32_t number) const {
  const std::uint32_t* c = &image_[candsAt() + std::size_t{number} * kCandidateWords];
  return {cityPrefecture(c[0]), cityName(c[0]), pool(c[1], c[2] >> 16), pool(c[3], c[2] & 0xFFFF)};
}

std::uint32_t PostalDictionary::cityOfCandidate(std::uint32_t number) const {
  return image_[candsAt() + std::size_t{number} * kCandidateWords];
}

std::uint32_t PostalDictionary::codeOfCandidate(std::uint32_t number) const {
  const std::uint32_t* first = image_.data() + candStartAt();
  const std::uint32_t* last = first + codeCount() + 1;
  const std::uint32_t* it = std::upper_bound(first, last, number);
  return image_[codesAt() + static_cast<std::size_t>(it - first) - 1];
}

std::string_view PostalDictionary::cityPrefecture(std::uint32_t i) const {
  const std::uint32_t* c = &image_[citiesAt() + std::size_t{i} * kCityWords];
  return pool(c[0], c[1] >> 16);
}

std::string_view PostalDictionary::cityName(std::uint32_t i) const {
  const std::uint32_t* c = &image_[citiesAt() + std::size_t{i} * kCityWords];
  return pool(c[0] + (c[1] >> 16), c[1] & 0xFFFF);
}

std::span<const std::uint32_t> PostalDictionary::candidatesOfCity(std::uint32_t i) const {
  const std::uint32_t first = image_[cityStartAt() + i];
  const std::uint32_t last = image_[cityStartAt() + i + 1];
  return {image_.data() + cityCandsAt() + first, last - first};
}

}  // namespace orivel::postal
