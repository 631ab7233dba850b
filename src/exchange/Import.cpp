#include "exchange/Import.h"

#include <charconv>

namespace orivel {

ImportSource OpenImportSource(const std::filesystem::path& path, const TextCodec& codec) {
  ImportSource source;
  source.status = ReadFileBytes(path, &source.bytes, kMaxCsvFileSize);
  if (source.status != FileReadStatus::Ok) return source;
  // UTF-16 (with its byte-order mark) is read as the same text in UTF-8; broken UTF-16 is
  // no form the import knows.
  if (std::string utf8; Utf16AsUtf8(source.bytes, &utf8))
    source.bytes = std::move(utf8);
  else
    return source;  // format Unknown
  source.format = DetectImportFormat(source.bytes, codec);
  return source;
}

ImportOutcome ImportInto(const ImportSource& source, const std::vector<ColumnMeaning>& meanings,
                         const TextCodec& codec, StringGrid& grid, AddressBook& book) {
  ImportOutcome outcome;
  if (source.format == ImportFormat::Orivel) {
    outcome.csv = ReadCsvBytesForImport(source.bytes, grid,
                                        [&codec](std::string_view utf8, std::string* cp932) {
                                          return codec.toCp932(utf8, cp932, nullptr);
                                        });
    if (outcome.read()) outcome.appended = AppendGridRows(grid, book);
    return outcome;
  }
  std::vector<ColumnMeaning> chosen = meanings;
  if (source.format == ImportFormat::OtherCsv && chosen.empty())
    if (const std::optional<CsvPreview> preview = PreviewCsv(source.bytes, codec, 0))
      chosen = preview->guesses;
  outcome.foreign = ReadForeignBook(source.bytes, source.format, codec, chosen);
  if (outcome.read()) outcome.appended = AppendEntries(outcome.foreign.entries, book);
  return outcome;
}

CsvImportResult AppendEntries(const std::vector<datatype>& entries, AddressBook& book) {
  CsvImportResult result;
  for (const datatype& entry : entries) {
    if (book.append(entry))
      ++result.added;
    else
      ++result.leftOut;
  }
  return result;
}

bool ApplyColumnMap(std::string_view map, const std::vector<std::string>& header,
                    std::vector<ColumnMeaning>* meanings, std::string* badPart) {
  meanings->resize(header.size(), ColumnMeaning::Unused);
  std::size_t start = 0;
  while (start < map.size()) {
    std::size_t end = map.find(',', start);
    if (end == std::string_view::npos) end = map.size();
    const std::string_view part = map.substr(start, end - start);
    start = end + 1;
    if (part.empty()) continue;
    const std::size_t eq = part.rfind('=');
    *badPart = std::string(part);
    if (eq == std::string_view::npos) return false;
    const std::string column = detail::Trimmed(part.substr(0, eq));
    const std::optional<ColumnMeaning> meaning = ColumnMeaningFromName(part.substr(eq + 1));
    if (!meaning) return false;
    int index = -1;
    for (std::size_t c = 0; c < header.size() && index < 0; ++c)
      if (detail::Trimmed(header[c]) == column) index = static_cast<int>(c);
    if (index < 0) {
      int number = 0;
      const auto [ptr, ec] = std::from_chars(column.data(), column.data() + column.size(), number);
      if (ec != std::errc() || ptr != column.data() + column.size() || number < 1 ||
          number > static_cast<int>(header.size()))
        return false;
      index = number - 1;
    }
    (*meanings)[static_cast<std::size_t>(index)] = *meaning;
  }
  badPart->clear();
  return true;
}

}  // namespace orivel
