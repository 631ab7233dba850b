#include "print/KanjiDigits.h"

#include <array>

namespace orivel {
namespace {

// 〇 一 二 三 四 五 六 七 八 九
constexpr std::array<std::string_view, 10> kKanjiNumerals = {
    "\x81\x5A", "\x88\xEA", "\x93\xF1", "\x8E\x4F", "\x8E\x6C",
    "\x8C\xDC", "\x98\x5A", "\x8E\xB5", "\x94\xAA", "\x8B\xE3"};

bool isLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

}  // namespace

std::string KanjiDigits(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= '0' && c <= '9') {
      out += kKanjiNumerals[c - '0'];
      i += 1;
    } else if (isLeadByte(c) && i + 1 < text.size()) {
      const auto trail = static_cast<unsigned char>(text[i + 1]);
      // Full-width digits are 82 4F to 82 58.
      if (c == 0x82 && trail >= 0x4F && trail <= 0x58)
        out += kKanjiNumerals[trail - 0x4F];
      else
        out.append(text.substr(i, 2));
      i += 2;
    } else {
      out += text[i];
      i += 1;
    }
  }
  return out;
}

}  // namespace orivel
