#pragma once

// The byte rules of code page 932 text that every reader of the program's files shares.
namespace orivel::cp932 {

// A lead byte: the byte after it is a trail byte of the same character and may look like
// ASCII (a comma, a backslash, a bracket).
constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Ctrl-Z: a text-mode read of a file ends at it.
inline constexpr char kCtrlZ = 0x1A;

}  // namespace orivel::cp932
