#include "print/KanjiDigits.h"

#include "files/Cp932Bytes.h"

namespace orivel {

std::string KanjiDigits(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= '0' && c <= '9') {
      out += kKanjiNumerals[c - '0'];
      i += 1;
    } else if (cp932::IsLeadByte(c) && i + 1 < text.size()) {
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
