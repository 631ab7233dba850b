#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The general CSV reader: copies a comma-separated file into a grid of text cells.
// It knows nothing of the address book.
namespace orivel {

// A grid of text cells addressed as (column, row), both from 0. Its column and row
// counts only grow; a cell outside them reads as empty text.
class StringGrid {
 public:
  static constexpr int kInitialColCount = 9;
  static constexpr int kInitialRowCount = 5;

  StringGrid();

  int colCount() const { return colCount_; }
  int rowCount() const { return static_cast<int>(rows_.size()); }
  void growColCount() { ++colCount_; }
  void growRowCount() { rows_.emplace_back(); }

  // The cell's text; empty text outside the counts.
  const std::string& cell(int col, int row) const;
  // Sets a cell within the counts; false (and nothing set) outside them.
  bool setCell(int col, int row, std::string text);
  // Empties every cell; the counts stay.
  void clearCells();

 private:
  int colCount_ = kInitialColCount;
  // One vector per row, only as long as its last written cell.
  std::vector<std::vector<std::string>> rows_;
};

// Splits file bytes into the grid the way a text-mode read would deliver them: a CR is
// dropped (so CR LF arrives as LF), a Ctrl-Z (0x1A) ends the input. Line k lands in row k,
// its fields in columns 0, 1, 2, ...; the counts grow as needed, so that the last row is
// always empty. No quoting: every comma separates, every other byte is copied as it is.
void SplitCsvBytes(std::string_view bytes, StringGrid& grid);

// -1 when the file cannot be opened (the grid is untouched), 0 when it was read.
int ReadCsvToGrid(const std::filesystem::path& path, StringGrid& grid);

}  // namespace orivel
