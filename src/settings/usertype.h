#pragma once

#include <array>
#include <string>
#include <vector>

#include "book/datatype.h"

namespace orivel {

inline constexpr int kOffsetCount = 12;
inline constexpr int kNeutralOffset = 50;

// The card's typeface unless the sender chooses another.
inline constexpr const char* kDefaultCardFace = "IPAPMincho";

// The sender's settings: the sender's own name, postal code and address (code page 932),
// whether they print, the twelve print offsets (offsets[k-1] is offset k, 0..100,
// 50 meaning no shift), whether the digits of the addresses print as kanji numerals, and
// the given names of the sender's family, and the card's typeface.
struct usertype {
  std::string name;
  std::string zip_code;
  std::string address;
  bool print_own_address = false;
  std::array<int, kOffsetCount> offsets = {50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50};
  bool kanji_digits = false;
  // The sender's family, given names printed each in a column beside the sender's name:
  // at most kMaxJoints, none empty.
  std::vector<std::string> joints{};
  // The family name (UTF-8) of the typeface the card prints in; empty for kDefaultCardFace.
  std::string face{};

  std::string cardFace() const { return face.empty() ? kDefaultCardFace : face; }

  int offset(int k) const { return offsets[static_cast<std::size_t>(k - 1)]; }
  friend bool operator==(const usertype&, const usertype&) = default;
};

}  // namespace orivel
