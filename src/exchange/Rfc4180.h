#pragma once

#include <string>
#include <string_view>
#include <vector>

// Comma-separated text as RFC 4180 has it: a field may stand in double quotes, with "" for
// a quote inside and commas and line breaks kept; records end at LF or CR LF.
namespace orivel {

struct CsvRecord {
  std::vector<std::string> fields;
  int line = 0;  // the line the record starts on, from 1
};

struct CsvTable {
  std::vector<CsvRecord> records;  // empty lines left out
  // The line of a quote opened and never closed, from 1; 0 when the text is whole.
  int unclosedQuoteLine = 0;
};

CsvTable ParseRfc4180(std::string_view text);

}  // namespace orivel
