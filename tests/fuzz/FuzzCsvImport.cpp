// The CSV reader and the import rules on arbitrary bytes. The first bytes choose how many
// entries the book holds already and whether the grid was grown by an earlier import; the
// rest is the file.
//
// Properties: line k of the file lands in row k, field j in column j, all else of the grid
// is empty; the counts grow exactly as far as needed, so the last row is always empty; the
// import appends the rows with a name, in order, with the marks read by the five mark texts,
// never passing 300 entries, leaves the earlier lines alone, and line i shows slot i. A file
// that begins with the UTF-8 byte order mark is converted line by line first, and refused
// when an addressee line names someone the book file cannot keep.
#include <fuzzer/FuzzedDataProvider.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "files/BookFile.h"
#include "files/CsvImport.h"
#include "files/Func.h"

namespace {

using namespace orivel;

using Lines = std::vector<std::vector<std::string>>;

// The file as a text-mode read gives it, split at every LF and every comma.
Lines splitModel(std::string_view bytes) {
  if (const auto z = bytes.find('\x1A'); z != std::string_view::npos) bytes = bytes.substr(0, z);
  Lines lines(1, std::vector<std::string>(1));
  for (char b : bytes) {
    if (b == '\r') continue;
    if (b == '\n')
      lines.emplace_back(1);
    else if (b == ',')
      lines.back().emplace_back();
    else
      lines.back().back() += b;
  }
  return lines;
}

bool markModel(const std::string& cell) {
  static const std::array<std::string_view, 9> marks = {
      "Y", "y", "O", "o", "\x82\x78", "\x82\x99", "\x82\x6E", "\x82\x8F", "\x81\x9B"};
  return std::find(marks.begin(), marks.end(), cell) != marks.end();
}

void checkGrid(const StringGrid& grid, const Lines& lines, int rowsBefore, int colsBefore) {
  std::size_t widest = 0;
  for (const auto& l : lines) widest = std::max(widest, l.size());
  FUZZ_CHECK(grid.rowCount() == std::max<int>(rowsBefore, static_cast<int>(lines.size()) + 1));
  FUZZ_CHECK(grid.colCount() == std::max<int>(colsBefore, static_cast<int>(widest)));
  for (int r = 0; r <= grid.rowCount(); ++r) {
    const auto row = static_cast<std::size_t>(r);
    const int fields = row < lines.size() ? static_cast<int>(lines[row].size()) : 0;
    auto check = [&](int c) {
      const auto col = static_cast<std::size_t>(c);
      const bool inFile = row < lines.size() && col < lines[row].size();
      FUZZ_CHECK(grid.cell(c, r) == (inFile ? lines[row][col] : std::string()));
    };
    // Every field and the cells just past it; the rest of a wide grid by its far edge.
    for (int c = 0; c <= std::min(grid.colCount(), fields + 2); ++c) check(c);
    check(grid.colCount() - 1);
    check(grid.colCount());
  }
  // The last row is always empty, so the import never takes it for a line.
  for (int c = 0; c < grid.colCount(); ++c) FUZZ_CHECK(grid.cell(c, grid.rowCount() - 1).empty());
}

datatype present(int i) {
  datatype e;
  e.name = "pre" + std::to_string(i);
  e.ml[static_cast<std::size_t>(i % 6)] = 1;
  return e;
}

void checkImport(const StringGrid& grid, const Lines& lines, int already) {
  AddressBook book;
  for (int i = 0; i < already; ++i) {
    book.append(present(i));
    book.setChecked(i, i % 2 == 0);
  }
  const CsvImportResult result = AppendGridRows(grid, book);

  std::vector<std::size_t> named;  // file lines that make an entry
  for (std::size_t k = 1; k < lines.size(); ++k)
    if (!lines[k][0].empty()) named.push_back(k);
  const int fits = std::min<int>(static_cast<int>(named.size()), AddressBook::kCapacity - already);
  FUZZ_CHECK(result.added == fits);
  FUZZ_CHECK(result.leftOut == static_cast<int>(named.size()) - fits);
  FUZZ_CHECK(book.count() == already + fits && book.count() <= AddressBook::kCapacity);

  for (int i = 0; i < already; ++i) {
    FUZZ_CHECK(book.entry(i) == present(i));
    FUZZ_CHECK(book.isChecked(i) == (i % 2 == 0));
  }
  for (int i = already; i < book.count(); ++i) {
    const auto& fields = lines[named[static_cast<std::size_t>(i - already)]];
    auto field = [&](std::size_t j) { return j < fields.size() ? fields[j] : std::string(); };
    const datatype& e = book.entry(i);
    FUZZ_CHECK(e.name == field(0) && e.zip_code == field(1) && e.address == field(2) &&
               e.sama == field(9));
    for (std::size_t k = 0; k < 6; ++k) FUZZ_CHECK(e.ml[k] == (markModel(field(3 + k)) ? 1 : 0));
    FUZZ_CHECK(!book.isChecked(i));
  }
  for (int i = book.count(); i < AddressBook::kCapacity; ++i)
    FUZZ_CHECK(book.entry(i) == datatype{});
}

// The converter of a UTF-8 file: here, ASCII lines only, copied.
bool asciiOnly(std::string_view line, std::string* out) {
  for (char c : line)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  out->assign(line);
  return true;
}

void checkUtf8File(std::string_view bytes) {
  static const std::string path = "/tmp/orivel-fuzz-csv-" + std::to_string(getpid()) + ".csv";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  FUZZ_CHECK(f != nullptr);
  FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size());
  std::fclose(f);

  std::string_view body = bytes.substr(3);
  if (const auto z = body.find('\x1A'); z != std::string_view::npos) body = body.substr(0, z);
  int badLine = 0;
  int line = 1;
  std::string expected;
  for (char c : body) {
    if (c == '\n') ++line;
    if (c == '\r') continue;
    if (static_cast<unsigned char>(c) >= 0x80 && badLine == 0) badLine = line;
    expected += c;
  }
  StringGrid grid;
  const CsvRead read = ReadCsvFileForImport(path, grid, asciiOnly);
  std::remove(path.c_str());
  if (badLine != 0) {
    FUZZ_CHECK(read.status == CsvRead::Status::Unencodable && read.badLine == badLine);
    checkGrid(grid, Lines(1, std::vector<std::string>(1)), StringGrid::kInitialRowCount,
              StringGrid::kInitialColCount);
    return;
  }
  // An addressee line whose name the book file would lose refuses the file, grid untouched.
  const Lines lines = splitModel(expected);
  for (std::size_t k = 1; k < lines.size(); ++k) {
    if (lines[k][0].empty() || BookKeepsName(lines[k][0])) continue;
    FUZZ_CHECK(read.status == CsvRead::Status::NameNotKept &&
               read.badLine == static_cast<int>(k) + 1);
    checkGrid(grid, Lines(1, std::vector<std::string>(1)), StringGrid::kInitialRowCount,
              StringGrid::kInitialColCount);
    return;
  }
  FUZZ_CHECK(read.status == CsvRead::Status::Read);
  checkGrid(grid, lines, StringGrid::kInitialRowCount, StringGrid::kInitialColCount);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  const int already = provider.ConsumeIntegralInRange<int>(0, AddressBook::kCapacity);
  const bool grown = provider.ConsumeBool();
  const std::string bytes = provider.ConsumeRemainingBytesAsString();

  StringGrid grid;
  if (grown) {
    // An earlier import of 12 lines of 11 fields; the grid keeps its size, not its cells.
    std::string earlier;
    for (int i = 0; i < 12; ++i) earlier += "a,b,c,d,e,f,g,h,i,j,k\n";
    SplitCsvBytes(earlier, grid);
    grid.clearCells();
  }
  const int rowsBefore = grid.rowCount();
  const int colsBefore = grid.colCount();
  SplitCsvBytes(bytes, grid);
  const Lines lines = splitModel(bytes);
  checkGrid(grid, lines, rowsBefore, colsBefore);
  checkImport(grid, lines, already);

  if (std::string_view(bytes).starts_with("\xEF\xBB\xBF")) checkUtf8File(bytes);
  return 0;
}
