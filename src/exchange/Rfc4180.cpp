#include "exchange/Rfc4180.h"

namespace orivel {

CsvTable ParseRfc4180(std::string_view text) {
  CsvTable table;
  CsvRecord record;
  std::string field;
  int line = 1;
  record.line = 1;
  bool fieldStarted = false;  // something of the record has been read
  auto endField = [&] {
    record.fields.push_back(std::move(field));
    field.clear();
  };
  auto endRecord = [&] {
    endField();
    const bool empty = record.fields.size() == 1 && record.fields[0].empty();
    if (!empty) table.records.push_back(std::move(record));
    record = CsvRecord{};
    record.line = line;
    fieldStarted = false;
  };
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == '"' && field.empty()) {
      // A quoted field: up to the quote not doubled.
      const int opened = line;
      ++i;
      bool closed = false;
      while (i < text.size()) {
        const char q = text[i];
        if (q == '"') {
          if (i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        if (q == '\n') ++line;
        field += q;
        ++i;
      }
      if (!closed) {
        table.unclosedQuoteLine = opened;
        return table;
      }
      fieldStarted = true;
      continue;  // what follows up to the separator is kept as it stands
    }
    if (c == ',') {
      endField();
      fieldStarted = true;
      ++i;
      continue;
    }
    if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
      i += c == '\r' ? 2 : 1;
      ++line;
      endRecord();
      continue;
    }
    field += c;
    fieldStarted = true;
    ++i;
  }
  if (fieldStarted || !field.empty()) endRecord();
  return table;
}

}  // namespace orivel
