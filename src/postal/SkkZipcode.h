#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Reading the postal code dictionaries of SKK (Debian's skkdic-extra): lines such as
// "1500001 /東京都渋谷区神宮前/" in EUC-JIS-2004, one or more candidates between slashes;
// in the office list a candidate reads "name @ address".
namespace orivel::postal {

// Converts EUC-JIS-2004 text to code page 932. False, with *out unspecified, when a
// character has no identical character in code page 932 (JIS X 0213 plane 2, the cells
// JIS X 0213 added to JIS X 0208 outside the NEC row 13 characters).
bool EucJis2004ToCp932(std::string_view euc, std::string* out);

struct ZipLine {
  std::uint32_t code = 0;               // the seven digits as a number
  std::vector<std::string> candidates;  // code page 932
};

struct ZipParseResult {
  std::vector<ZipLine> lines;
  std::size_t candidatesLeftOut = 0;  // candidates code page 932 cannot hold
};

// Appends the dictionary lines of `euc` to *result. Comment lines (";") and lines that do not
// start with seven digits and " /" are skipped; an annotation after ";" in a candidate is
// dropped. A line all of whose candidates are left out is left out too.
void ParseSkkZipcode(std::string_view euc, ZipParseResult* result);

// An address split into its prefecture, its city (a city, a ward of a city divided into
// wards, a Tokyo ward, or a county with its town or village) and the rest.
struct AddressParts {
  std::string_view prefecture;
  std::string_view city;
  std::string_view town;
};

// Splits a code page 932 address that starts with one of the 47 prefectures. False when it
// does not.
bool SplitAddress(std::string_view address, AddressParts* parts);

// The prefecture the address starts with, or empty.
std::string_view PrefectureAtStart(std::string_view address);

// " @ ", which parts the office's name from its address in the office list.
inline constexpr std::string_view kOfficeSeparator = " @ ";

}  // namespace orivel::postal
