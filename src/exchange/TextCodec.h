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

// Text that begins with a UTF-16 byte-order mark (FF FE little-endian, FE FF big-endian), as
// Thunderbird and Excel write CSV files, as UTF-8 with its own byte-order mark; the bytes
// as they are when they have no such mark. False, with *out untouched, for UTF-16 that is
// broken (an odd length, a lone surrogate).
bool Utf16AsUtf8(std::string_view bytes, std::string* out);

}  // namespace orivel
