#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace orivel {

// Number of greeting categories: 1 年賀状, 2 暑中見舞い, 3 バースデー, 4 クリスマス,
// 5 その他１, 6 その他２. Files, CSV columns, buttons and editor boxes all use this order.
inline constexpr int kCategoryCount = 6;

// One addressee. Texts are code page 932 bytes exactly as typed, loaded or imported.
struct datatype {
  std::string name;
  std::string address;
  std::string zip_code;
  std::string sama;  // honorific printed after the name
  // ml[k-1] is category flag k, 0 or 1.
  std::array<std::uint8_t, kCategoryCount> ml{};

  bool inCategory(int k) const { return k >= 1 && k <= kCategoryCount && ml[k - 1] != 0; }
  friend bool operator==(const datatype&, const datatype&) = default;
};

}  // namespace orivel
