#include "postal/AddressCheck.h"

#include <algorithm>
#include <array>

#include "postal/Cp932Chars.h"
#include "postal/SkkZipcode.h"
#include "print/KanjiDigits.h"

namespace orivel::postal {
namespace {

constexpr std::string_view kChome = "\x92\x9A\x96\xDA";              // 丁目
constexpr std::string_view kOaza = "\x91\xE5\x8E\x9A";               // 大字
constexpr std::string_view kSmallKe = "\x83\x96";                    // ヶ
constexpr std::string_view kKatakanaNo = "\x83\x6D";                 // ノ
constexpr std::string_view kCounty = "\x8C\x53";                     // 郡
constexpr std::string_view kTen = "\x8F\x5C";                        // 十
constexpr std::string_view kKyotoCity = "\x8B\x9E\x93\x73\x8E\x73";  // 京都市
int kanjiDigit(std::string_view ch) {
  for (std::size_t d = 0; d < kKanjiNumerals.size(); ++d)
    if (ch == kKanjiNumerals[d]) return static_cast<int>(d);
  return ch == kTen ? 10 : -1;
}

// The value of a run of kanji numerals (二十三, 十五, 三十, 一二), or -1. A chōme number
// has at most a few of them; a longer run, which only a typing slip or a hostile file
// brings, stays text rather than overflow.
int kanjiNumber(const std::vector<std::string_view>& run) {
  if (run.size() > 4) return -1;
  int before = -1;
  int after = 0;
  bool ten = false;
  for (std::string_view ch : run) {
    const int d = kanjiDigit(ch);
    if (d == 10) {
      if (ten) return -1;
      ten = true;
    } else if (ten) {
      after = after * 10 + d;
    } else {
      before = (before < 0 ? 0 : before) * 10 + d;
    }
  }
  if (!ten) return before;
  return (before < 0 ? 1 : before) * 10 + after;
}

// The normalized form of one character, appended to out.
void appendNormalized(std::string_view ch, std::string* out) {
  if (ch.size() == 1) {
    const char c = ch[0];
    if (c == ' ' || c == '\t') return;
    out->push_back(c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c);
    return;
  }
  const auto lead = static_cast<unsigned char>(ch[0]);
  const auto trail = static_cast<unsigned char>(ch[1]);
  if (lead == 0x81) {
    switch (trail) {
      case 0x40:
        return;  // full-width space
      case 0x5B:
      case 0x5C:
      case 0x5D:
      case 0x7C:
        out->push_back('-');
        return;  // ー ― ‐ －
      default:
        break;
    }
  } else if (lead == 0x82) {
    if (trail >= 0x4F && trail <= 0x58) {
      out->push_back(static_cast<char>('0' + trail - 0x4F));
      return;
    }
    if (trail >= 0x60 && trail <= 0x79) {
      out->push_back(static_cast<char>('A' + trail - 0x60));
      return;
    }
    if (trail >= 0x81 && trail <= 0x9A) {
      out->push_back(static_cast<char>('A' + trail - 0x81));
      return;
    }
    if (trail == 0xAA) {  // が
      out->append(kSmallKe);
      return;
    }
    if (trail == 0xCC) {  // の
      out->append(kKatakanaNo);
      return;
    }
  } else if (lead == 0x83 && trail == 0x50) {  // ケ
    out->append(kSmallKe);
    return;
  } else if (lead == 0x94 && trail == 0x56) {  // 之
    out->append(kKatakanaNo);
    return;
  }
  out->append(ch);
}

// The part of an office's address that names its town: up to its first digit.
std::string_view officeTown(std::string_view normalized) {
  for (std::size_t i = 0; i < normalized.size(); i += cp932CharLength(normalized, i))
    if (normalized[i] >= '0' && normalized[i] <= '9') return normalized.substr(0, i);
  return normalized;
}

// True when the rest of the address starts with the town; a town that ends in a number of
// 丁目 also matches that number followed by a dash ("本町1-2" for 本町1丁目).
bool townMatches(std::string_view rest, std::string_view town, bool anywhere = false) {
  if (rest.starts_with(town)) return true;
  // In Kyoto the street and its direction (三条通河原町東入ル) come before the town.
  if (anywhere && !town.empty() && findCp932(rest, town) != std::string_view::npos) return true;
  if (!town.ends_with(kChome)) return false;
  const std::string_view number = town.substr(0, town.size() - kChome.size());
  if (number.empty() || number.back() < '0' || number.back() > '9' || !rest.starts_with(number))
    return false;
  return rest.size() == number.size() || rest[number.size()] == '-';
}

// The normalized town a candidate asks for.
std::string candidateTown(const PostalCandidate& c) {
  std::string town = NormalizeAddress(c.town);
  if (c.isOffice()) town.resize(officeTown(town).size());
  return town;
}

std::string commonBeginning(std::string_view a, std::string_view b) {
  std::size_t i = 0;
  while (i < a.size() && i < b.size()) {
    const std::size_t n = cp932CharLength(a, i);
    if (a.substr(i, n) != b.substr(i, n)) break;
    i += n;
  }
  return std::string(a.substr(0, i));
}

}  // namespace

ZipCode ParseZipCode(std::string_view cp932) {
  std::string ascii;
  bool onlyBlanks = true;
  for (std::size_t i = 0; i < cp932.size(); i += cp932CharLength(cp932, i)) {
    const std::string_view ch = cp932.substr(i, cp932CharLength(cp932, i));
    std::string n;
    appendNormalized(ch, &n);
    if (n.empty() || ch == "_") n = " ";  // a blank, full width or not, or an empty position
    if (n != " " && n != "-") onlyBlanks = false;
    ascii += n;
  }
  if (onlyBlanks) return {};
  const std::size_t first = ascii.find_first_not_of(' ');
  const std::size_t last = ascii.find_last_not_of(' ');
  const std::string_view text = std::string_view(ascii).substr(first, last - first + 1);
  std::string digits;
  if (text.size() == 7) {
    digits = text;
  } else if (text.size() == 8 && text[3] == '-') {
    digits = std::string(text.substr(0, 3)) + std::string(text.substr(4));
  } else {
    return {ZipCode::Form::Malformed, 0};
  }
  std::uint32_t code = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return {ZipCode::Form::Malformed, 0};
    code = code * 10 + static_cast<std::uint32_t>(c - '0');
  }
  return {ZipCode::Form::Valid, code};
}

std::string FormatZipCode(std::uint32_t code) {
  std::string digits = std::to_string(code);
  digits.insert(0, 7 - std::min<std::size_t>(7, digits.size()), '0');
  return digits.substr(0, 3) + "-" + digits.substr(3);
}

std::string NormalizeAddress(std::string_view cp932) {
  std::string out;
  out.reserve(cp932.size());
  std::vector<std::string_view> run;  // kanji numerals waiting to see whether 丁目 follows
  auto flush = [&out, &run](bool chome) {
    const int value = chome ? kanjiNumber(run) : -1;
    if (value >= 0)
      out += std::to_string(value);
    else
      for (std::string_view ch : run) appendNormalized(ch, &out);
    run.clear();
  };
  for (std::size_t i = 0; i < cp932.size();) {
    const std::string_view rest = cp932.substr(i);
    if (rest.starts_with(kOaza)) {
      flush(false);
      i += kOaza.size();
      continue;
    }
    const std::string_view ch = cp932.substr(i, cp932CharLength(cp932, i));
    if (kanjiDigit(ch) >= 0) {
      run.push_back(ch);
    } else {
      flush(rest.starts_with(kChome));
      appendNormalized(ch, &out);
    }
    i += ch.size();
  }
  flush(false);
  return out;
}

std::string FillAddress(const PostalDictionary& dictionary, std::uint32_t code) {
  const PostalDictionary::Range range = dictionary.find(code);
  if (range.empty()) return {};
  std::string address = dictionary.candidate(range.first).address();
  for (std::uint32_t n = range.first + 1; n < range.last; ++n)
    address = commonBeginning(address, dictionary.candidate(n).address());
  return address;
}

std::string_view ProblemName(Problem problem) {
  switch (problem) {
    case Problem::Missing:
      return "missing";
    case Problem::Malformed:
      return "malformed";
    case Problem::Unknown:
      return "unknown";
    case Problem::City:
      return "city";
    case Problem::Town:
      return "town";
  }
  return {};
}

BookChecker::BookChecker(const PostalDictionary& dictionary) : dictionary_(dictionary) {
  cities_.resize(dictionary.cityCount());
  for (std::uint32_t i = 0; i < dictionary.cityCount(); ++i) {
    City& c = cities_[i];
    c.prefecture = NormalizeAddress(dictionary.cityPrefecture(i));
    c.name = NormalizeAddress(dictionary.cityName(i));
    const std::size_t county = findCp932(c.name, kCounty);
    if (county != std::string::npos && county + kCounty.size() < c.name.size())
      c.shortName = c.name.substr(county + kCounty.size());
  }
}

std::size_t BookChecker::cityEnd(const std::string& address, const City& city) const {
  const std::string_view a = address;
  std::string_view rest = a;
  if (!city.prefecture.empty() && rest.starts_with(city.prefecture))
    rest.remove_prefix(city.prefecture.size());
  else if (!PrefectureAtStart(rest).empty())
    return std::string::npos;  // another prefecture
  for (const std::string* name : {&city.name, &city.shortName}) {
    if (!name->empty() && rest.starts_with(*name))
      return static_cast<std::size_t>(rest.data() - a.data()) + name->size();
  }
  if (city.name.empty()) return static_cast<std::size_t>(rest.data() - a.data());
  return std::string::npos;
}

bool BookChecker::check(const datatype& entry, int index, Finding* finding) const {
  *finding = Finding{};
  finding->index = index;
  const ZipCode zip = ParseZipCode(entry.zip_code);
  auto report = [&](Problem p) {
    finding->problem = p;
    finding->codes = codesFor(entry.address);
    if (zip.form == ZipCode::Form::Valid)
      finding->codes.erase(std::remove(finding->codes.begin(), finding->codes.end(), zip.code),
                           finding->codes.end());
    return true;
  };
  if (zip.form == ZipCode::Form::Missing) return report(Problem::Missing);
  if (zip.form == ZipCode::Form::Malformed) return report(Problem::Malformed);
  const PostalDictionary::Range range = dictionary_.find(zip.code);
  if (range.empty()) return report(Problem::Unknown);
  const std::string address = NormalizeAddress(entry.address);
  bool cityFound = false;
  for (std::uint32_t n = range.first; n < range.last; ++n) {
    const std::size_t end = cityEnd(address, cities_[dictionary_.cityOfCandidate(n)]);
    if (end == std::string::npos) continue;
    cityFound = true;
    const PostalCandidate c = dictionary_.candidate(n);
    if (townMatches(std::string_view(address).substr(end), candidateTown(c),
                    c.city.starts_with(kKyotoCity)))
      return false;
  }
  for (std::uint32_t n = range.first; n < range.last; ++n)
    finding->expected.push_back(dictionary_.candidate(n).address());
  return report(cityFound ? Problem::Town : Problem::City);
}

std::vector<std::uint32_t> BookChecker::codesFor(std::string_view address,
                                                 std::size_t limit) const {
  const std::string a = NormalizeAddress(address);
  std::vector<std::uint32_t> best;
  std::vector<std::uint32_t> cityWide;
  std::size_t bestLength = 0;
  for (std::uint32_t i = 0; i < cities_.size(); ++i) {
    if (cities_[i].name.empty()) continue;
    const std::size_t end = cityEnd(a, cities_[i]);
    if (end == std::string::npos) continue;
    const std::string_view rest = std::string_view(a).substr(end);
    const bool anywhere = std::string_view(cities_[i].name).starts_with(kKyotoCity);
    for (std::uint32_t n : dictionary_.candidatesOfCity(i)) {
      const PostalCandidate c = dictionary_.candidate(n);
      if (c.isOffice()) continue;
      const std::string town = NormalizeAddress(c.town);
      if (town.empty()) {
        cityWide.push_back(dictionary_.codeOfCandidate(n));
        continue;
      }
      if (!townMatches(rest, town, anywhere) || town.size() < bestLength) continue;
      if (town.size() > bestLength) best.clear();
      bestLength = town.size();
      best.push_back(dictionary_.codeOfCandidate(n));
    }
  }
  std::vector<std::uint32_t>& codes = best.empty() ? cityWide : best;
  std::sort(codes.begin(), codes.end());
  codes.erase(std::unique(codes.begin(), codes.end()), codes.end());
  if (codes.size() > limit) codes.resize(limit);
  return codes;
}

std::vector<Finding> CheckBook(const AddressBook& book, const PostalDictionary& dictionary) {
  const BookChecker checker(dictionary);
  std::vector<Finding> findings;
  Finding finding;
  for (int i = 0; i < book.count(); ++i)
    if (checker.check(book.entry(i), i, &finding)) findings.push_back(std::move(finding));
  return findings;
}

}  // namespace orivel::postal
