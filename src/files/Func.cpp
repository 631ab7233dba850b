#include "files/Func.h"

#include <algorithm>

#include "files/Cp932Bytes.h"
#include "files/FileBytes.h"

namespace orivel {
namespace {

const std::string kEmpty;

using cp932::kCtrlZ;

bool isSpecial(char b) {
  return b == ',' || b == '\n' || b == '\r' || b == kCtrlZ;
}

}  // namespace

StringGrid::StringGrid() : rows_(kInitialRowCount) {}

const std::string& StringGrid::cell(int col, int row) const {
  if (row < 0 || row >= rowCount() || col < 0 || col >= colCount_) return kEmpty;
  const auto& cells = rows_[static_cast<std::size_t>(row)];
  if (static_cast<std::size_t>(col) >= cells.size()) return kEmpty;
  return cells[static_cast<std::size_t>(col)];
}

bool StringGrid::setCell(int col, int row, std::string text) {
  if (row < 0 || row >= rowCount() || col < 0 || col >= colCount_) return false;
  auto& cells = rows_[static_cast<std::size_t>(row)];
  const auto c = static_cast<std::size_t>(col);
  if (c >= cells.size()) {
    if (text.empty()) return true;  // reads as empty already
    // A row is mostly written left to right: size it once for the whole width.
    if (cells.capacity() <= c) cells.reserve(std::max(c + 1, static_cast<std::size_t>(colCount_)));
    cells.resize(c + 1);
  }
  cells[c] = std::move(text);
  return true;
}

void StringGrid::clearCells() {
  for (auto& cells : rows_) cells.clear();
}

void SplitCsvBytes(std::string_view bytes, StringGrid& grid) {
  std::string text;
  int c = 0;
  int r = 0;
  auto store = [&] {
    while (c >= grid.colCount()) grid.growColCount();
    grid.setCell(c, r, std::move(text));
    text.clear();
  };
  const char* p = bytes.data();
  const char* const end = p + bytes.size();
  while (p != end) {
    const char* run = p;
    while (p != end && !isSpecial(*p)) ++p;
    text.append(run, static_cast<std::size_t>(p - run));
    if (p == end) break;
    const char b = *p++;
    if (b == kCtrlZ) break;
    if (b == '\r') continue;  // CR LF arrives as LF; a CR on its own is dropped too
    store();
    if (b == ',') {
      ++c;
      continue;
    }
    c = 0;  // LF
    if (r == grid.rowCount() - 2) grid.growRowCount();
    ++r;
  }
  store();
}

int ReadCsvToGrid(const std::filesystem::path& path, StringGrid& grid) {
  std::string bytes;
  if (ReadFileBytes(path, &bytes) != FileReadStatus::Ok) return -1;
  SplitCsvBytes(bytes, grid);
  return 0;
}

}  // namespace orivel
