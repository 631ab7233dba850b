#pragma once

#include <string>
#include <string_view>

namespace orivel {

// The text with each digit, ASCII ("4") or full width ("４"), written as its kanji numeral
// ("四"), digit by digit: "４ー１２ー８" becomes "四ー一二ー八" and "１０５" "一〇五".
// Everything else, two-byte characters whole, stays as it is. Code page 932 in and out.
std::string KanjiDigits(std::string_view text);

}  // namespace orivel
