#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "book/Season.h"

namespace orivel {

// Number of greeting categories: 1 年賀状, 2 暑中見舞い, 3 バースデー, 4 クリスマス,
// 5 その他１, 6 その他２. Files, CSV columns, buttons and editor boxes all use this order.
inline constexpr int kCategoryCount = 6;

// The most people a card names beside its main addressee (連名).
inline constexpr int kMaxJoints = 5;

// One more person a card is addressed to, with an honorific of their own. A name without a
// full-width space is a given name that shares the main name's surname ("花子"); one with a
// full-width space is a full name ("佐藤　花子").
struct JointName {
  std::string name;
  std::string sama;
  friend bool operator==(const JointName&, const JointName&) = default;
};

// Whether the name holds no full-width space, character by character, and so is a given name.
bool IsGivenNameOnly(std::string_view name);

// The joints worth keeping: rows without a name left out, at most kMaxJoints, in order.
std::vector<JointName> KeptJoints(const std::vector<JointName>& rows);

// One addressee. Texts are code page 932 bytes exactly as typed, loaded or imported.
struct datatype {
  std::string name;
  std::string address;
  std::string zip_code;
  std::string sama;  // honorific printed after the name
  // ml[k-1] is category flag k, 0 or 1.
  std::array<std::uint8_t, kCategoryCount> ml{};
  // Further people on the card, in order: at most kMaxJoints, none without a name.
  std::vector<JointName> joints{};
  // For a card to someone at work: printed between the address and the name.
  std::string company{};
  std::string department{};
  std::string title{};  // 役職, printed small before the name
  // Who sent, received or mourned in each season.
  SeasonRecord history{};

  bool inCategory(int k) const { return k >= 1 && k <= kCategoryCount && ml[k - 1] != 0; }
  // Whether any of the fields beyond the first ten is used.
  bool usesJointOrCompany() const {
    return !joints.empty() || !company.empty() || !department.empty() || !title.empty();
  }
  friend bool operator==(const datatype&, const datatype&) = default;
};

}  // namespace orivel
