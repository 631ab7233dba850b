#pragma once

#include <cstddef>
#include <string_view>

#include "files/Cp932Bytes.h"

// Walking code page 932 text one character at a time, so that the second byte of a
// double-byte character is never taken for a character of its own.
namespace orivel::postal {

// The length in bytes (1 or 2) of the character that starts at byte i.
inline std::size_t cp932CharLength(std::string_view text, std::size_t i) {
  return cp932::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size() ? 2 : 1;
}

// The byte offset of the first whole character `ch` at or after byte `from`, or npos.
inline std::size_t findCp932(std::string_view text, std::string_view ch, std::size_t from = 0) {
  for (std::size_t i = 0; i < text.size(); i += cp932CharLength(text, i))
    if (i >= from && text.substr(i).starts_with(ch)) return i;
  return std::string_view::npos;
}

// The byte offset after the first n characters, or npos when the text is shorter.
inline std::size_t cp932Offset(std::string_view text, std::size_t n) {
  std::size_t i = 0;
  for (; i < text.size() && n > 0; --n) i += cp932CharLength(text, i);
  return n == 0 ? i : std::string_view::npos;
}

// The number of characters before byte offset `end`.
inline std::size_t cp932CharCount(std::string_view text, std::size_t end) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < end && i < text.size(); i += cp932CharLength(text, i)) ++n;
  return n;
}

}  // namespace orivel::postal
