#include "postal/SkkZipcode.h"

#include <array>

#include "postal/Cp932Chars.h"

namespace orivel::postal {
namespace {

// 北海道, 青森県, ... 沖縄県
constexpr std::array<std::string_view, 47> kPrefectures = {
    "\x96\x6B\x8A\x43\x93\xB9", "\x90\xC2\x90\x58\x8C\xA7",
    "\x8A\xE2\x8E\xE8\x8C\xA7", "\x8B\x7B\x8F\xE9\x8C\xA7",
    "\x8F\x48\x93\x63\x8C\xA7", "\x8E\x52\x8C\x60\x8C\xA7",
    "\x95\x9F\x93\x87\x8C\xA7", "\x88\xEF\x8F\xE9\x8C\xA7",
    "\x93\xC8\x96\xD8\x8C\xA7", "\x8C\x51\x94\x6E\x8C\xA7",
    "\x8D\xE9\x8B\xCA\x8C\xA7", "\x90\xE7\x97\x74\x8C\xA7",
    "\x93\x8C\x8B\x9E\x93\x73", "\x90\x5F\x93\xDE\x90\xEC\x8C\xA7",
    "\x90\x56\x8A\x83\x8C\xA7", "\x95\x78\x8E\x52\x8C\xA7",
    "\x90\xCE\x90\xEC\x8C\xA7", "\x95\x9F\x88\xE4\x8C\xA7",
    "\x8E\x52\x97\x9C\x8C\xA7", "\x92\xB7\x96\xEC\x8C\xA7",
    "\x8A\xF2\x95\x8C\x8C\xA7", "\x90\xC3\x89\xAA\x8C\xA7",
    "\x88\xA4\x92\x6D\x8C\xA7", "\x8E\x4F\x8F\x64\x8C\xA7",
    "\x8E\xA0\x89\xEA\x8C\xA7", "\x8B\x9E\x93\x73\x95\x7B",
    "\x91\xE5\x8D\xE3\x95\x7B", "\x95\xBA\x8C\xC9\x8C\xA7",
    "\x93\xDE\x97\xC7\x8C\xA7", "\x98\x61\x89\xCC\x8E\x52\x8C\xA7",
    "\x92\xB9\x8E\xE6\x8C\xA7", "\x93\x87\x8D\xAA\x8C\xA7",
    "\x89\xAA\x8E\x52\x8C\xA7", "\x8D\x4C\x93\x87\x8C\xA7",
    "\x8E\x52\x8C\xFB\x8C\xA7", "\x93\xBF\x93\x87\x8C\xA7",
    "\x8D\x81\x90\xEC\x8C\xA7", "\x88\xA4\x95\x51\x8C\xA7",
    "\x8D\x82\x92\x6D\x8C\xA7", "\x95\x9F\x89\xAA\x8C\xA7",
    "\x8D\xB2\x89\xEA\x8C\xA7", "\x92\xB7\x8D\xE8\x8C\xA7",
    "\x8C\x46\x96\x7B\x8C\xA7", "\x91\xE5\x95\xAA\x8C\xA7",
    "\x8B\x7B\x8D\xE8\x8C\xA7", "\x8E\xAD\x8E\x99\x93\x87\x8C\xA7",
    "\x89\xAB\x93\xEA\x8C\xA7"};

// 札幌市, 仙台市, ... 熊本市: cities divided into wards
constexpr std::array<std::string_view, 20> kWardCities = {
    "\x8E\x44\x96\x79\x8E\x73",
    "\x90\xE5\x91\xE4\x8E\x73",
    "\x82\xB3\x82\xA2\x82\xBD\x82\xDC\x8E\x73",
    "\x90\xE7\x97\x74\x8E\x73",
    "\x89\xA1\x95\x6C\x8E\x73",
    "\x90\xEC\x8D\xE8\x8E\x73",
    "\x91\x8A\x96\xCD\x8C\xB4\x8E\x73",
    "\x90\x56\x8A\x83\x8E\x73",
    "\x90\xC3\x89\xAA\x8E\x73",
    "\x95\x6C\x8F\xBC\x8E\x73",
    "\x96\xBC\x8C\xC3\x89\xAE\x8E\x73",
    "\x8B\x9E\x93\x73\x8E\x73",
    "\x91\xE5\x8D\xE3\x8E\x73",
    "\x8D\xE4\x8E\x73",
    "\x90\x5F\x8C\xCB\x8E\x73",
    "\x89\xAA\x8E\x52\x8E\x73",
    "\x8D\x4C\x93\x87\x8E\x73",
    "\x96\x6B\x8B\xE3\x8F\x42\x8E\x73",
    "\x95\x9F\x89\xAA\x8E\x73",
    "\x8C\x46\x96\x7B\x8E\x73"};

// 大和郡山市, 蒲郡市, 小郡市, 郡山市, 郡上市, 四日市市, 廿日市市, 野々市市, 市川市, 市原市,
// 余市郡余市町, 余市郡仁木町, 余市郡赤井川村, 高市郡高取町, 高市郡明日香村
constexpr std::array<std::string_view, 15> kIrregularCities = {
    "\x91\xE5\x98\x61\x8C\x53\x8E\x52\x8E\x73",
    "\x8A\x97\x8C\x53\x8E\x73",
    "\x8F\xAC\x8C\x53\x8E\x73",
    "\x8C\x53\x8E\x52\x8E\x73",
    "\x8C\x53\x8F\xE3\x8E\x73",
    "\x8E\x6C\x93\xFA\x8E\x73\x8E\x73",
    "\x93\xF9\x93\xFA\x8E\x73\x8E\x73",
    "\x96\xEC\x81\x58\x8E\x73\x8E\x73",
    "\x8E\x73\x90\xEC\x8E\x73",
    "\x8E\x73\x8C\xB4\x8E\x73",
    "\x97\x5D\x8E\x73\x8C\x53\x97\x5D\x8E\x73\x92\xAC",
    "\x97\x5D\x8E\x73\x8C\x53\x90\x6D\x96\xD8\x92\xAC",
    "\x97\x5D\x8E\x73\x8C\x53\x90\xD4\x88\xE4\x90\xEC\x91\xBA",
    "\x8D\x82\x8E\x73\x8C\x53\x8D\x82\x8E\xE6\x92\xAC",
    "\x8D\x82\x8E\x73\x8C\x53\x96\xBE\x93\xFA\x8D\x81\x91\xBA"};

constexpr std::string_view kCounty = "\x8C\x53";   // 郡
constexpr std::string_view kCity = "\x8E\x73";     // 市
constexpr std::string_view kWard = "\x8B\xE6";     // 区
constexpr std::string_view kTown = "\x92\xAC";     // 町
constexpr std::string_view kVillage = "\x91\xBA";  // 村

// The JIS X 0208 cells of rows 1 to 8, and the NEC characters of row 13 that JIS X 0213
// places in the same cells, as [first, last] cell ranges; every other row from 16 to 83 is
// whole, row 47 ends at cell 51 and row 84 at cell 6.
struct CellRange {
  int first;
  int last;
};
bool cellHeld(int row, int cell) {
  static constexpr std::array<CellRange, 6> kRow2 = {
      {{1, 14}, {26, 33}, {42, 48}, {60, 74}, {82, 89}, {94, 94}}};
  static constexpr std::array<CellRange, 3> kRow3 = {{{16, 25}, {33, 58}, {65, 90}}};
  static constexpr std::array<CellRange, 2> kRow6 = {{{1, 24}, {33, 56}}};
  static constexpr std::array<CellRange, 2> kRow7 = {{{1, 33}, {49, 81}}};
  static constexpr std::array<CellRange, 5> kRow13 = {
      {{1, 30}, {32, 54}, {63, 79}, {83, 83}, {88, 89}}};
  auto in = [cell](const auto& ranges) {
    for (const CellRange& r : ranges)
      if (cell >= r.first && cell <= r.last) return true;
    return false;
  };
  switch (row) {
    case 1:
      return true;
    case 2:
      return in(kRow2);
    case 3:
      return in(kRow3);
    case 4:
      return cell <= 83;
    case 5:
      return cell <= 86;
    case 6:
      return in(kRow6);
    case 7:
      return in(kRow7);
    case 8:
      return cell <= 32;
    case 13:
      return in(kRow13);
    case 47:
      return cell <= 51;
    case 84:
      return cell <= 6;
    default:
      return row >= 16 && row <= 83;
  }
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// The earlier of two offsets, npos counting as none.
std::size_t earlier(std::size_t a, std::size_t b) {
  return a < b ? a : b;
}

std::size_t cityEnd(std::string_view rest) {
  constexpr auto npos = std::string_view::npos;
  for (std::string_view c : kWardCities) {
    if (!rest.starts_with(c)) continue;
    // The ward follows the city within a few characters.
    const std::size_t ward = findCp932(rest, kWard, c.size());
    if (ward != npos && cp932CharCount(rest, ward) - cp932CharCount(rest, c.size()) <= 4)
      return ward + kWard.size();
    return c.size();
  }
  for (std::string_view c : kIrregularCities)
    if (rest.starts_with(c)) return c.size();
  const std::size_t second = cp932Offset(rest, 1);
  if (second == npos || second >= rest.size()) return rest.size();
  const std::size_t county = findCp932(rest, kCounty, second);
  const std::size_t city = findCp932(rest, kCity, second);
  if (county != npos && cp932CharCount(rest, county) <= 4 && (city == npos || city > county)) {
    const std::size_t after = county + kCounty.size();
    const std::size_t from = after < rest.size() ? after + cp932CharLength(rest, after) : after;
    const std::size_t town = earlier(findCp932(rest, kTown, from), findCp932(rest, kVillage, from));
    if (town != npos) return town + kTown.size();
  }
  const std::size_t ward = findCp932(rest, kWard, second);
  if (ward != npos && (city == npos || ward < city)) return ward + kWard.size();
  if (city != npos) return city + kCity.size();
  const std::size_t town =
      earlier(findCp932(rest, kTown, second), findCp932(rest, kVillage, second));
  return town != npos ? town + kTown.size() : rest.size();
}

}  // namespace

bool EucJis2004ToCp932(std::string_view euc, std::string* out) {
  out->clear();
  out->reserve(euc.size());
  for (std::size_t i = 0; i < euc.size(); ++i) {
    const auto b = static_cast<unsigned char>(euc[i]);
    if (b < 0x80) {
      out->push_back(static_cast<char>(b));
      continue;
    }
    if (i + 1 >= euc.size()) return false;
    const auto t = static_cast<unsigned char>(euc[i + 1]);
    if (b == 0x8E) {  // half-width katakana: the same byte in code page 932
      if (t < 0xA1 || t > 0xDF) return false;
      out->push_back(static_cast<char>(t));
      ++i;
      continue;
    }
    if (b < 0xA1 || b > 0xFE || t < 0xA1 || t > 0xFE) return false;  // plane 2 (0x8F) among them
    const int row = b - 0xA0;
    const int cell = t - 0xA0;
    if (!cellHeld(row, cell)) return false;
    const int j1 = row + 0x20;
    const int j2 = cell + 0x20;
    const int s1 = ((j1 + 1) >> 1) + (j1 <= 0x5E ? 0x70 : 0xB0);
    const int s2 = (j1 & 1) ? j2 + (j2 <= 0x5F ? 0x1F : 0x20) : j2 + 0x7E;
    out->push_back(static_cast<char>(s1));
    out->push_back(static_cast<char>(s2));
    ++i;
  }
  return true;
}

void ParseSkkZipcode(std::string_view euc, ZipParseResult* result) {
  std::string converted;
  std::size_t start = 0;
  while (start < euc.size()) {
    std::size_t end = euc.find('\n', start);
    if (end == std::string_view::npos) end = euc.size();
    std::string_view line = euc.substr(start, end - start);
    start = end + 1;
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.size() < 10 || line[7] != ' ' || line[8] != '/') continue;
    std::uint32_t code = 0;
    bool digits = true;
    for (std::size_t k = 0; k < 7; ++k) {
      digits = digits && isDigit(line[k]);
      code = code * 10 + static_cast<std::uint32_t>(line[k] - '0');
    }
    if (!digits) continue;
    ZipLine zip;
    zip.code = code;
    std::string_view rest = line.substr(9);
    while (!rest.empty()) {
      std::size_t slash = rest.find('/');
      if (slash == std::string_view::npos) slash = rest.size();
      std::string_view candidate = rest.substr(0, slash);
      rest.remove_prefix(slash < rest.size() ? slash + 1 : slash);
      if (const std::size_t semi = candidate.find(';'); semi != std::string_view::npos)
        candidate = candidate.substr(0, semi);
      if (candidate.empty()) continue;
      if (EucJis2004ToCp932(candidate, &converted))
        zip.candidates.push_back(converted);
      else
        ++result->candidatesLeftOut;
    }
    if (!zip.candidates.empty()) result->lines.push_back(std::move(zip));
  }
}

std::string_view PrefectureAtStart(std::string_view address) {
  for (std::string_view p : kPrefectures)
    if (address.starts_with(p)) return p;
  return {};
}

bool SplitAddress(std::string_view address, AddressParts* parts) {
  const std::string_view prefecture = PrefectureAtStart(address);
  if (prefecture.empty()) return false;
  const std::string_view rest = address.substr(prefecture.size());
  const std::size_t end = cityEnd(rest);
  parts->prefecture = prefecture;
  parts->city = rest.substr(0, end);
  parts->town = rest.substr(end);
  return true;
}

}  // namespace orivel::postal
