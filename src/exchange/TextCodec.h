#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace orivel {

// The conversions the readers and writers of other programs' files need, handed in by the
// caller: the core has no codec of its own, the one conversion lives with the widgets.
struct TextCodec {
  // UTF-8 to code page 932. False when a character cannot be held; *bad then holds the
  // first such character, as UTF-8.
  std::function<bool(std::string_view utf8, std::string* cp932, std::string* bad)> toCp932;
  // Code page 932 to UTF-8. False when the bytes are not code page 932.
  std::function<bool(std::string_view cp932, std::string* utf8)> toUtf8;
};

// Whether the bytes are UTF-8 throughout (ASCII included).
bool IsValidUtf8(std::string_view bytes);

// The code point of the first character of UTF-8 text; 0 for empty or malformed text.
char32_t FirstCodePoint(std::string_view utf8);

}  // namespace orivel
