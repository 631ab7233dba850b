#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "book/AddressBook.h"
#include "exchange/ForeignBook.h"
#include "files/CsvImport.h"
#include "files/FileBytes.h"

// The one import: the form of the file is found from its content. The program's own CSV
// goes on to its own reader unchanged; the other forms are read into entries here.
namespace orivel {

struct ImportSource {
  FileReadStatus status = FileReadStatus::Ok;
  std::string bytes;
  ImportFormat format = ImportFormat::Unknown;
};

// Reads the file, no larger than a book may be, and finds its form.
ImportSource OpenImportSource(const std::filesystem::path& path, const TextCodec& codec);

// What an import did: how the file was read (the program's own CSV, or another program's
// book) and what went into the book. Nothing is added unless the file was read whole.
struct ImportOutcome {
  CsvRead csv;
  ImportRead foreign;
  CsvImportResult appended;
  bool read() const {
    return csv.status == CsvRead::Status::Read && foreign.status == ImportRead::Status::Read;
  }
};

// Reads the source in its form and appends its entries to the book: the program's own CSV
// through `grid` as its import always did, another program's book by `meanings` (for a CSV
// file of an unknown program; the guesses of its header when empty).
ImportOutcome ImportInto(const ImportSource& source, const std::vector<ColumnMeaning>& meanings,
                         const TextCodec& codec, StringGrid& grid, AddressBook& book);

// Appends the entries, unchecked and in order, while the book has free slots; the rest are
// counted as left out.
CsvImportResult AppendEntries(const std::vector<datatype>& entries, AddressBook& book);

// The meanings of `--map 'COLUMN=MEANING,…'` (UTF-8) laid over the guesses of a header: a
// COLUMN is a header cell's text or its number from 1. False, naming the part, when a column
// or a meaning is unknown.
bool ApplyColumnMap(std::string_view map, const std::vector<std::string>& header,
                    std::vector<ColumnMeaning>* meanings, std::string* badPart);

}  // namespace orivel
