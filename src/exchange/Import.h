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

// Appends the entries, unchecked and in order, while the book has free slots; the rest are
// counted as left out.
CsvImportResult AppendEntries(const std::vector<datatype>& entries, AddressBook& book);

// The meanings of `--map 'COLUMN=MEANING,…'` (UTF-8) laid over the guesses of a header: a
// COLUMN is a header cell's text or its number from 1. False, naming the part, when a column
// or a meaning is unknown.
bool ApplyColumnMap(std::string_view map, const std::vector<std::string>& header,
                    std::vector<ColumnMeaning>* meanings, std::string* badPart);

}  // namespace orivel
