#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "postal/SkkZipcode.h"

// The postal code dictionary as one compact table: the codes in order, their candidates
// (prefecture, city, town; for an office also its name) and the cities with their
// candidates. The table is one block of 32-bit words that is written to and read from a
// cache file as it stands, so that loading it is a single read.
namespace orivel::postal {

struct PostalCandidate {
  std::string_view prefecture;
  std::string_view city;
  std::string_view town;    // for an office: the rest of its address, block number included
  std::string_view office;  // the office's name; empty for an ordinary code
  bool isOffice() const { return !office.empty(); }
  std::string address() const;  // prefecture + city + town
};

class PostalDictionary {
 public:
  using Image = std::vector<std::uint32_t>;

  // Builds the table of the dictionary lines; `fingerprint` names the sources it was made of.
  static Image Build(const std::vector<ZipLine>& lines, std::uint64_t fingerprint);

  // Takes the table over when it is whole and consistent; false (the dictionary left empty)
  // otherwise.
  bool adopt(Image image);
  const Image& image() const { return image_; }
  bool empty() const { return codeCount() == 0; }
  std::uint64_t fingerprint() const;

  std::uint32_t codeCount() const { return header(kCodes); }
  std::uint32_t candidateCount() const { return header(kCandidates); }
  std::uint32_t cityCount() const { return header(kCities); }

  // The candidates of a code, as a range of candidate numbers [first, last).
  struct Range {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    bool empty() const { return first == last; }
    std::uint32_t size() const { return last - first; }
  };
  Range find(std::uint32_t code) const;
  PostalCandidate candidate(std::uint32_t number) const;
  std::uint32_t codeOfCandidate(std::uint32_t number) const;
  std::uint32_t cityOfCandidate(std::uint32_t number) const;

  // City i: its prefecture and name, and the numbers of its candidates.
  std::string_view cityPrefecture(std::uint32_t i) const;
  std::string_view cityName(std::uint32_t i) const;
  std::span<const std::uint32_t> candidatesOfCity(std::uint32_t i) const;

 private:
  enum HeaderWord {
    kMagic,
    kVersion,
    kFingerprintLow,
    kFingerprintHigh,
    kCodes,
    kCandidates,
    kCities,
    kPoolBytes,
    kHeaderWords
  };
  static constexpr std::uint32_t kCandidateWords = 4;
  static constexpr std::uint32_t kCityWords = 2;

  std::uint32_t header(HeaderWord w) const { return image_.empty() ? 0 : image_[w]; }
  // Offsets of the arrays, in words.
  std::size_t codesAt() const { return kHeaderWords; }
  std::size_t candStartAt() const { return codesAt() + codeCount(); }
  std::size_t candsAt() const { return candStartAt() + codeCount() + 1; }
  std::size_t citiesAt() const {
    return candsAt() + std::size_t{candidateCount()} * kCandidateWords;
  }
  std::size_t cityStartAt() const { return citiesAt() + std::size_t{cityCount()} * kCityWords; }
  std::size_t cityCandsAt() const { return cityStartAt() + cityCount() + 1; }
  std::size_t poolAt() const { return cityCandsAt() + candidateCount(); }
  std::string_view pool(std::uint32_t offset, std::uint32_t length) const;

  Image image_;
};

}  // namespace orivel::postal
