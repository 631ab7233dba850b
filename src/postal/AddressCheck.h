#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "book/AddressBook.h"
#include "book/datatype.h"
#include "postal/PostalDictionary.h"

// Filling in an address from its postal code, and checking every entry of a book against
// the postal code dictionary.
namespace orivel::postal {

struct ZipCode {
  enum class Form { Missing, Malformed, Valid };
  Form form = Form::Missing;
  std::uint32_t code = 0;  // the seven digits as a number, when Valid
};

// Reads a postal code as the book holds it: seven digits, with or without a hyphen after the
// third, in ASCII or full width, blanks at the ends allowed. Empty text and the untouched
// postal code box ("   -    ") are Missing.
ZipCode ParseZipCode(std::string_view cp932);

// "150-0001".
std::string FormatZipCode(std::uint32_t code);

// The form in which addresses are compared: full- and half-width digits and letters as ASCII
// capitals, ケ/ヶ/が as ヶ, ノ/之/の as ノ, every dash as "-", kanji numerals before 丁目 as
// digits, without blanks and without 大字.
std::string NormalizeAddress(std::string_view cp932);

// The address for a code: its candidate's prefecture, city and town, or, with several
// candidates, their common beginning. Empty when the code is not in the dictionary.
std::string FillAddress(const PostalDictionary& dictionary, std::uint32_t code);

enum class Problem { Missing, Malformed, Unknown, City, Town };

// "missing", "malformed", "unknown", "city", "town".
std::string_view ProblemName(Problem problem);

struct Finding {
  int index = 0;  // the entry's line
  Problem problem = Problem::Missing;
  std::vector<std::string> expected;  // the dictionary's addresses for the entry's code
  std::vector<std::uint32_t> codes;   // other codes whose town the address names
};

// Checks one entry; false when nothing is wrong with it.
class BookChecker {
 public:
  explicit BookChecker(const PostalDictionary& dictionary);
  bool check(const datatype& entry, int index, Finding* finding) const;
  // The codes whose city and town the address names (the longest town that matches), or the
  // city's own codes when no town does; at most `limit`.
  std::vector<std::uint32_t> codesFor(std::string_view address, std::size_t limit = 20) const;

 private:
  struct City {
    std::string prefecture;
    std::string name;
    std::string shortName;  // the town or village of a county, without the county
  };
  // Where the city's text ends in the normalized address, or npos when it does not name it.
  std::size_t cityEnd(const std::string& address, const City& city) const;

  const PostalDictionary& dictionary_;
  std::vector<City> cities_;
};

// Checks every entry of the book, in list order.
std::vector<Finding> CheckBook(const AddressBook& book, const PostalDictionary& dictionary);

}  // namespace orivel::postal
