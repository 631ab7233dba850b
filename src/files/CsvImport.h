#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "book/AddressBook.h"
#include "book/datatype.h"
#include "files/Func.h"
#include "files/ProfileFile.h"

// Turning the rows of a CSV grid into address book entries.
namespace orivel {

// Converts one line of UTF-8 to code page 932; false when the line holds a character
// that code page 932 cannot hold (the converter lives with the widgets' codec).
using Utf8ToCp932 = std::function<bool(std::string_view utf8Line, std::string* cp932)>;

// Upper case for code page 932 text: ASCII a-z and full-width ａ-ｚ. The second byte of
// a double-byte character is never taken for a letter.
std::string UpperCaseCp932(std::string_view text);

// True when the cell, upper-cased, is exactly "Y", "Ｙ", "O", "Ｏ" or "○".
bool ParseCsvFlag(std::string_view text);

struct CsvRead {
  enum class Status { Read, NotFound, CannotOpen, TooLarge, Unencodable, NameNotKept };
  Status status = Status::Read;
  // For Unencodable: the first line that cannot be converted; for NameNotKept: the first
  // addressee line whose name the book file cannot keep. Counted from 1.
  int badLine = 0;
  std::string badLineUtf8;  // for Unencodable: that line as the file holds it (UTF-8)
};

// The most bytes an import reads: the bound of a book file, which no address list nears.
inline constexpr std::uintmax_t kMaxCsvFileSize = ProfileFile::kMaxFileSize;

// Reads the file into the grid as ReadCsvToGrid does; NotFound when nothing exists at the
// path, CannotOpen when something does but cannot be read (a folder, no permission), TooLarge
// beyond kMaxCsvFileSize, found before the file is read whole. A file that begins with the
// UTF-8 byte order mark, or that is valid UTF-8 throughout and holds a character beyond ASCII,
// is converted line by line to code page 932 first; if a line cannot be, the line is named.
// An addressee line whose name the book file cannot keep (BookKeepsName) refuses the file
// too, named likewise. Any other file is read byte for byte. A refused file leaves the grid
// as it was.
CsvRead ReadCsvFileForImport(const std::filesystem::path& path, StringGrid& grid,
                             const Utf8ToCp932& toCp932);
// The same for the file's bytes, read already.
CsvRead ReadCsvBytesForImport(std::string bytes, StringGrid& grid, const Utf8ToCp932& toCp932);

// The first addressee row (from 1 to rowCount - 2, column 0 not empty) whose name the book
// file cannot keep; -1 when there is none.
int FirstRowNotKept(const StringGrid& grid);

// Where the fields beyond the ten positional columns stand: from column 10 on, the columns
// whose header cell reads exactly "連名1" .. "連名5", "連名1敬称" .. "連名5敬称", "会社名",
// "部署" or "役職". -1 where the header has no such column.
struct NamedColumns {
  std::array<int, kMaxJoints> jointName{-1, -1, -1, -1, -1};
  std::array<int, kMaxJoints> jointSama{-1, -1, -1, -1, -1};
  int company = -1;
  int department = -1;
  int title = -1;
};
NamedColumns FindNamedColumns(const StringGrid& grid);

// The header cells of the named columns, in the order the export writes them.
std::vector<std::string> NamedColumnHeaders();

// The entry of one grid row: name, zip_code, address from columns 0-2, the six
// category flags from columns 3-8, the honorific from column 9, and the named columns.
datatype EntryFromGridRow(const StringGrid& grid, int row, const NamedColumns& columns);
datatype EntryFromGridRow(const StringGrid& grid, int row);

struct CsvImportResult {
  int added = 0;    // entries appended to the book
  int leftOut = 0;  // addressee rows that found no free slot
};

// Appends an unchecked entry for every row from 1 to rowCount - 2 whose column 0 is not
// empty, in order, while the book has free slots; the rest are counted as left out.
CsvImportResult AppendGridRows(const StringGrid& grid, AddressBook& book);

}  // namespace orivel
