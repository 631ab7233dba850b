#include "book/Substitutes.h"

#include <algorithm>
#include <array>
#include <utility>

namespace orivel {
namespace {

// Sorted by the character. The sources, all public:
// - the 簡易慣用字体 that 表外漢字字体表 (国語審議会, 2000) allows beside the 印刷標準字体
//   that JIS X 0213:2004 added (剝 and 剥, 鷗 and 鴎), and the 許容字体 of 常用漢字表
//   (文化審議会, 2010) for 𠮟 剝 頰 塡;
// - for the variants of name characters outside JIS X 0213 (𠮷, 𡈽, 𣘺, 𥔎, 𦚰), the
//   stand-in that the MJ縮退マップ (文字情報技術促進協議会) gives.
// Every stand-in is in code page 932; the tests check both sides.
constexpr std::array<std::pair<char32_t, char32_t>, 18> kSubstitutes = {{
    {U'\u4FF1', U'\u5036'},      // 俱 倶
    {U'\u525D', U'\u5265'},      // 剝 剥
    {U'\u5861', U'\u586B'},      // 塡 填
    {U'\u6414', U'\u63BB'},      // 搔 掻
    {U'\u6451', U'\u63B4'},      // 摑 掴
    {U'\u6F51', U'\u6E8C'},      // 潑 溌
    {U'\u79B1', U'\u7977'},      // 禱 祷
    {U'\u7E6B', U'\u7E4B'},      // 繫 繋
    {U'\u8523', U'\u848B'},      // 蔣 蒋
    {U'\u91AC', U'\u91A4'},      // 醬 醤
    {U'\u9830', U'\u982C'},      // 頰 頬
    {U'\u9DD7', U'\u9D0E'},      // 鷗 鴎
    {U'\U00020B9F', U'\u53F1'},  // 𠮟 叱
    {U'\U00020BB7', U'\u5409'},  // 𠮷 吉
    {U'\U0002123D', U'\u571F'},  // 𡈽 土
    {U'\U0002363A', U'\u6A4B'},  // 𣘺 橋
    {U'\U0002550E', U'\u5D0E'},  // 𥔎 崎
    {U'\U000266B0', U'\u8107'},  // 𦚰 脇
}};

static_assert(std::is_sorted(kSubstitutes.begin(), kSubstitutes.end()));

}  // namespace

std::span<const std::pair<char32_t, char32_t>> KnownSubstitutes() {
  return kSubstitutes;
}

std::optional<char32_t> CommonSubstitute(char32_t character) {
  const auto found = std::lower_bound(kSubstitutes.begin(), kSubstitutes.end(),
                                      std::pair<char32_t, char32_t>(character, 0));
  if (found == kSubstitutes.end() || found->first != character) return std::nullopt;
  return found->second;
}

}  // namespace orivel
