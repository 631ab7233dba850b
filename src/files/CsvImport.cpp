#include "files/CsvImport.h"

#include <array>
#include <cstdint>

#include "files/BookFile.h"
#include "files/Cp932Bytes.h"
#include "files/FileBytes.h"

namespace orivel {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
using cp932::kCtrlZ;

// The marks, in code page 932: Y, Ｙ, O, Ｏ, ○.
constexpr std::array<std::string_view, 5> kMarks = {"Y", "\x82\x78", "O", "\x82\x6E", "\x81\x9B"};

// A UTF-8 file, with or without its mark: the bytes after the mark as a text-mode read gives them
// (no CR, nothing after Ctrl-Z), each line converted. False with the line's number and text on the
// first failure.
bool convertUtf8(std::string_view bytes, const Utf8ToCp932& toCp932, std::string* out, int* badLine,
                 std::string* badText) {
  if (bytes.starts_with(kUtf8Bom)) bytes.remove_prefix(kUtf8Bom.size());
  if (const auto z = bytes.find(kCtrlZ); z != std::string_view::npos) bytes = bytes.substr(0, z);
  std::string line;
  std::string converted;
  int number = 0;
  std::size_t start = 0;
  while (start <= bytes.size()) {
    auto lf = bytes.find('\n', start);
    if (lf == std::string_view::npos) lf = bytes.size();
    line.clear();
    for (char b : bytes.substr(start, lf - start))
      if (b != '\r') line.push_back(b);
    ++number;
    converted.clear();
    if (!line.empty() && (!toCp932 || !toCp932(line, &converted))) {
      *badLine = number;
      *badText = line;
      return false;
    }
    out->append(converted);
    if (lf == bytes.size()) break;
    out->push_back('\n');
    start = lf + 1;
  }
  return true;
}

// True when the bytes are UTF-8 throughout and hold at least one character beyond ASCII:
// what many programs export without the byte order mark. Code page 932 text with any
// double-byte character practically never passes.
bool isUtf8BeyondAscii(std::string_view bytes) {
  bool beyondAscii = false;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    std::size_t n = 0;
    std::uint32_t cp = 0;
    if (b >= 0xC2 && b <= 0xDF) {
      n = 1;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      n = 2;
      cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      n = 3;
      cp = b & 0x07;
    } else {
      return false;
    }
    if (n >= bytes.size() - i) return false;  // cut off at the end
    for (std::size_t k = 1; k <= n; ++k) {
      const auto t = static_cast<unsigned char>(bytes[i + k]);
      if ((t & 0xC0) != 0x80) return false;
      cp = cp << 6 | (t & 0x3F);
    }
    // No overlong form, no surrogate, nothing beyond U+10FFFF.
    if ((n == 2 && cp < 0x800) || (n == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    beyondAscii = true;
    i += n + 1;
  }
  return beyondAscii;
}

constexpr std::string_view kJointHeader = "\x98\x41\x96\xBC";            // 連名
constexpr std::string_view kSamaHeader = "\x8C\x68\x8F\xCC";             // 敬称
constexpr std::string_view kCompanyHeader = "\x89\xEF\x8E\xD0\x96\xBC";  // 会社名
constexpr std::string_view kDepartmentHeader = "\x95\x94\x8F\x90";       // 部署
constexpr std::string_view kTitleHeader = "\x96\xF0\x90\x45";            // 役職
constexpr int kFirstNamedColumn = 10;

std::string jointHeader(int k, std::string_view suffix = {}) {
  return std::string(kJointHeader).append(std::to_string(k)).append(suffix);
}

}  // namespace

std::vector<std::string> NamedColumnHeaders() {
  std::vector<std::string> headers;
  for (int k = 1; k <= kMaxJoints; ++k) {
    headers.push_back(jointHeader(k));
    headers.push_back(jointHeader(k, kSamaHeader));
  }
  headers.emplace_back(kCompanyHeader);
  headers.emplace_back(kDepartmentHeader);
  headers.emplace_back(kTitleHeader);
  return headers;
}

NamedColumns FindNamedColumns(const StringGrid& grid) {
  NamedColumns columns;
  // The first column of a name counts, as the first key of a name does in a book file.
  const auto take = [](int& slot, int c) {
    if (slot < 0) slot = c;
  };
  for (int c = kFirstNamedColumn; c < grid.colCount(); ++c) {
    const std::string& header = grid.cell(c, 0);
    for (int k = 1; k <= kMaxJoints; ++k) {
      const auto i = static_cast<std::size_t>(k - 1);
      if (header == jointHeader(k)) take(columns.jointName[i], c);
      if (header == jointHeader(k, kSamaHeader)) take(columns.jointSama[i], c);
    }
    if (header == kCompanyHeader) take(columns.company, c);
    if (header == kDepartmentHeader) take(columns.department, c);
    if (header == kTitleHeader) take(columns.title, c);
  }
  return columns;
}

std::string UpperCaseCp932(std::string_view text) {
  std::string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    const auto b = static_cast<unsigned char>(out[i]);
    if (cp932::IsLeadByte(b)) {
      if (i + 1 < out.size()) {
        const auto t = static_cast<unsigned char>(out[i + 1]);
        if (b == 0x82 && t >= 0x81 && t <= 0x9A) out[i + 1] = static_cast<char>(t - 0x21);
        ++i;  // the trail byte is never a letter of its own
      }
    } else if (b >= 'a' && b <= 'z') {
      out[i] = static_cast<char>(b - 'a' + 'A');
    }
  }
  return out;
}

bool ParseCsvFlag(std::string_view text) {
  if (text.empty() || text.size() > 2) return false;
  const std::string upper = UpperCaseCp932(text);
  for (std::string_view mark : kMarks)
    if (upper == mark) return true;
  return false;
}

CsvRead ReadCsvFileForImport(const std::filesystem::path& path, StringGrid& grid,
                             const Utf8ToCp932& toCp932) {
  std::string bytes;
  switch (ReadFileBytes(path, &bytes, kMaxCsvFileSize)) {
    case FileReadStatus::Ok:
      break;
    case FileReadStatus::NotFound:
      return {CsvRead::Status::NotFound, 0, {}};
    case FileReadStatus::TooLarge:
      return {CsvRead::Status::TooLarge, 0, {}};
    case FileReadStatus::Unreadable:
      return {CsvRead::Status::CannotOpen, 0, {}};
  }
  return ReadCsvBytesForImport(std::move(bytes), grid, toCp932);
}

CsvRead ReadCsvBytesForImport(std::string bytes, StringGrid& grid, const Utf8ToCp932& toCp932) {
  const bool bom = std::string_view(bytes).starts_with(kUtf8Bom);
  if (bom || isUtf8BeyondAscii(bytes)) {
    std::string cp932;
    CsvRead refused{CsvRead::Status::Unencodable, 0, {}};
    if (!convertUtf8(bytes, toCp932, &cp932, &refused.badLine, &refused.badLineUtf8))
      return refused;
    bytes = std::move(cp932);
  }
  StringGrid read = grid;
  SplitCsvBytes(bytes, read);
  if (const int row = FirstRowNotKept(read); row >= 0)
    return {CsvRead::Status::NameNotKept, row + 1, {}};  // rows count lines from 0
  grid = std::move(read);
  return {};
}

int FirstRowNotKept(const StringGrid& grid) {
  // The rows AppendGridRows takes: the header and the always-empty last row are no entries.
  for (int r = 1; r < grid.rowCount() - 1; ++r) {
    const std::string& name = grid.cell(0, r);
    if (!name.empty() && !BookKeepsName(name)) return r;
  }
  return -1;
}

datatype EntryFromGridRow(const StringGrid& grid, int row) {
  return EntryFromGridRow(grid, row, FindNamedColumns(grid));
}

datatype EntryFromGridRow(const StringGrid& grid, int row, const NamedColumns& columns) {
  // A column the header does not name reads as empty text.
  const auto named = [&](int c) { return c < 0 ? std::string() : grid.cell(c, row); };
  datatype e;
  e.name = grid.cell(0, row);
  e.zip_code = grid.cell(1, row);
  e.address = grid.cell(2, row);
  for (int k = 0; k < kCategoryCount; ++k)
    e.ml[static_cast<std::size_t>(k)] = ParseCsvFlag(grid.cell(3 + k, row)) ? 1 : 0;
  e.sama = grid.cell(9, row);
  std::vector<JointName> joints;
  for (std::size_t k = 0; k < columns.jointName.size(); ++k)
    joints.push_back({named(columns.jointName[k]), named(columns.jointSama[k])});
  e.joints = KeptJoints(joints);
  e.company = named(columns.company);
  e.department = named(columns.department);
  e.title = named(columns.title);
  return e;
}

CsvImportResult AppendGridRows(const StringGrid& grid, AddressBook& book) {
  CsvImportResult result;
  const NamedColumns columns = FindNamedColumns(grid);
  // Row 0 is the header; the last row is always empty.
  for (int r = 1; r < grid.rowCount() - 1; ++r) {
    if (grid.cell(0, r).empty()) continue;
    if (book.append(EntryFromGridRow(grid, r, columns)))
      ++result.added;
    else
      ++result.leftOut;
  }
  return result;
}

}  // namespace orivel
