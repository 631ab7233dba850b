#pragma once

#include <filesystem>
#include <string>

#include "book/AddressBook.h"

// Writing the book as a CSV file that the import reads back to the same entries: code page 932
// bytes as held, CR LF line ends, a header line, then one line per entry in list order with
// the name, postal code, address, the six category marks ("○" or empty) and the honorific;
// when an entry names joint addressees or a company, the columns the import finds by their
// header ("連名1", "連名1敬称" .. "会社名", "部署", "役職") follow on every line.
namespace orivel {

enum class CsvField {
  Name,
  ZipCode,
  Address,
  Honorific,
  JointName,
  JointHonorific,
  Company,
  Department,
  Title,
};

struct CsvExportResult {
  enum class Status {
    Written,
    Refused,      // a field cannot be written so that the import reads it back
    WriteFailed,  // the file could not be written; an existing file is as it was
  };
  // Why a field is refused: the import has no quoting, ends a field at ",", a line at a line
  // break, its input at Ctrl-Z, and skips a line without a name.
  enum class Reason { Comma, LineBreak, ControlCharacter, EmptyName };
  Status status = Status::Written;
  int entry = 0;  // the refused entry's line, from 0
  CsvField field = CsvField::Name;
  Reason reason = Reason::Comma;
};

// The whole file's bytes; Refused (with *csv unspecified) when a field cannot be written.
CsvExportResult BuildCsv(const AddressBook& book, std::string* csv);

// Writes the book to path through a temporary file beside it, renamed over the target.
CsvExportResult ExportCsv(const AddressBook& book, const std::filesystem::path& path);

}  // namespace orivel
