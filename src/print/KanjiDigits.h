#pragma once

#include <array>
#include <string>
#include <string_view>

namespace orivel {

// The kanji numerals for 0 to 9 in code page 932: 〇 一 二 三 四 五 六 七 八 九.
inline constexpr std::array<std::string_view, 10> kKanjiNumerals = {
    "\x81\x5A", "\x88\xEA", "\x93\xF1", "\x8E\x4F", "\x8E\x6C",
    "\x8C\xDC", "\x98\x5A", "\x8E\xB5", "\x94\xAA", "\x8B\xE3"};

// The text with each digit, ASCII ("4") or full width ("４"), written as its kanji numeral
// ("四"), digit by digit: "４ー１２ー８" becomes "四ー一二ー八" and "１０５" "一〇五".
// Everything else, two-byte characters whole, stays as it is. Code page 932 in and out.
std::string KanjiDigits(std::string_view text);

}  // namespace orivel
