#include "exchange/TextCodec.h"

namespace orivel {
namespace {

// The length of the UTF-8 sequence starting at text[i], 0 when it is malformed.
std::size_t sequenceLength(std::string_view text, std::size_t i, char32_t* code) {
  const auto b = static_cast<unsigned char>(text[i]);
  std::size_t length = 0;
  char32_t c = 0;
  if (b < 0x80) {
    *code = b;
    return 1;
  }
  if ((b & 0xE0) == 0xC0) {
    length = 2;
    c = b & 0x1F;
  } else if ((b & 0xF0) == 0xE0) {
    length = 3;
    c = b & 0x0F;
  } else if ((b & 0xF8) == 0xF0) {
    length = 4;
    c = b & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    const auto t = static_cast<unsigned char>(text[i + k]);
    if ((t & 0xC0) != 0x80) return 0;
    c = (c << 6) | (t & 0x3F);
  }
  // Overlong forms, surrogates and code points beyond Unicode are not UTF-8.
  static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
  if (c < kLeast[length] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return 0;
  *code = c;
  return length;
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t c = 0;
    const std::size_t n = sequenceLength(bytes, i, &c);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

char32_t FirstCodePoint(std::string_view utf8) {
  if (utf8.empty()) return 0;
  char32_t c = 0;
  return sequenceLength(utf8, 0, &c) == 0 ? 0 : c;
}

namespace {

void appendUtf8(char32_t c, std::string* out) {
  if (c < 0x80) {
    *out += static_cast<char>(c);
  } else if (c < 0x800) {
    *out += static_cast<char>(0xC0 | (c >> 6));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    *out += static_cast<char>(0xE0 | (c >> 12));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    *out += static_cast<char>(0xF0 | (c >> 18));
    *out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    *out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

bool Utf16AsUtf8(std::string_view bytes, std::string* out) {
  const bool little = bytes.starts_with("\xFF\xFE");
  if (!little && !bytes.starts_with("\xFE\xFF")) {
    *out = std::string(bytes);
    return true;
  }
  bytes.remove_prefix(2);
  if (bytes.size() % 2 != 0) return false;
  const auto unit = [&](std::size_t i) -> char32_t {
    const auto a = static_cast<unsigned char>(bytes[i]);
    const auto b = static_cast<unsigned char>(bytes[i + 1]);
    return little ? (b << 8 | a) : (a << 8 | b);
  };
  std::string utf8 = "\xEF\xBB\xBF";
  utf8.reserve(bytes.size() * 3 / 2 + 3);
  for (std::size_t i = 0; i < bytes.size(); i += 2) {
    char32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF) {  // a high surrogate needs its low one next
      if (i + 3 >= bytes.size()) return false;
      const char32_t low = unit(i + 2);
      if (low < 0xDC00 || low > 0xDFFF) return false;
      c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    } else if (c >= 0xDC00 && c <= 0xDFFF) {
      return false;
    }
    appendUtf8(c, &utf8);
  }
  *out = std::move(utf8);
  return true;
}

}  // namespace orivel
