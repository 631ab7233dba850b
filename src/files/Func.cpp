#include "files/Func.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

namespace orivel {
namespace {

const std::string kEmpty;

constexpr char kCtrlZ = 0x1A;

bool isSpecial(char b) {
  return b == ',' || b == '\n' || b == '\r' || b == kCtrlZ;
}

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

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

bool ReadFileBytes(const std::string& path, std::string* bytes) {
  std::unique_ptr<std::FILE, FileCloser> f(std::fopen(path.c_str(), "rb"));
  if (!f) return false;
  std::string data;
  std::error_code ec;
  const auto size = std::filesystem::file_size(path, ec);
  if (!ec) data.resize(static_cast<std::size_t>(size));
  data.resize(std::fread(data.data(), 1, data.size(), f.get()));
  // Whatever lies past the size known at opening (a file still growing, a device).
  char more[65536];
  std::size_t n;
  while ((n = std::fread(more, 1, sizeof more, f.get())) > 0) data.append(more, n);
  // A folder opens, but reading it fails.
  if (std::ferror(f.get())) return false;
  *bytes = std::move(data);
  return true;
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

int ReadCsvToGrid(const std::string& path, StringGrid& grid) {
  std::string bytes;
  if (!ReadFileBytes(path, &bytes)) return -1;
  SplitCsvBytes(bytes, grid);
  return 0;
}

}  // namespace orivel
