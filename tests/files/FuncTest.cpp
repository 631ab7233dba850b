#include "files/Func.h"

#include <gtest/gtest.h>

#include <string>

#include "TempFiles.h"
#include "files/FilePaths.h"

namespace orivel {
namespace {

using test::TempFolder;

// Every non-empty cell as "c,r=text", row by row, to compare whole grids at once.
std::vector<std::string> filled(const StringGrid& grid) {
  std::vector<std::string> out;
  for (int r = 0; r < grid.rowCount(); ++r)
    for (int c = 0; c < grid.colCount(); ++c)
      if (!grid.cell(c, r).empty())
        out.push_back(std::to_string(c) + "," + std::to_string(r) + "=" + grid.cell(c, r));
  return out;
}

using Cells = std::vector<std::string>;

TEST(StringGrid, StartsWithNineColumnsAndFiveEmptyRows) {
  StringGrid grid;
  EXPECT_EQ(grid.colCount(), 9);
  EXPECT_EQ(grid.rowCount(), 5);
  EXPECT_TRUE(filled(grid).empty());
}

TEST(StringGrid, CellsOutsideTheCountsReadEmptyAndCannotBeSet) {
  StringGrid grid;
  EXPECT_FALSE(grid.setCell(9, 0, "x"));
  EXPECT_FALSE(grid.setCell(0, 5, "x"));
  EXPECT_FALSE(grid.setCell(-1, 0, "x"));
  EXPECT_EQ(grid.cell(9, 0), "");
  EXPECT_EQ(grid.cell(0, -1), "");
  EXPECT_TRUE(grid.setCell(8, 4, "corner"));
  EXPECT_EQ(grid.cell(8, 4), "corner");
  grid.growColCount();
  EXPECT_TRUE(grid.setCell(9, 0, "x"));
  EXPECT_EQ(grid.cell(9, 0), "x");
}

TEST(StringGrid, ClearingEmptiesEveryCellAndKeepsTheCounts) {
  StringGrid grid;
  grid.growColCount();
  grid.growRowCount();
  grid.setCell(9, 5, "a");
  grid.setCell(0, 0, "b");
  grid.clearCells();
  EXPECT_EQ(grid.colCount(), 10);
  EXPECT_EQ(grid.rowCount(), 6);
  EXPECT_TRUE(filled(grid).empty());
}

TEST(ReadCsvToGrid, AMissingFileIsMinusOneAndLeavesTheGridAlone) {
  TempFolder dir;
  StringGrid grid;
  grid.setCell(1, 1, "kept");
  EXPECT_EQ(ReadCsvToGrid(dir.path("none.csv"), grid), -1);
  EXPECT_EQ(filled(grid), Cells{"1,1=kept"});
}

TEST(ReadCsvToGrid, AFolderCannotBeRead) {
  TempFolder dir;
  StringGrid grid;
  grid.setCell(1, 1, "kept");
  EXPECT_EQ(ReadCsvToGrid(dir.path(""), grid), -1);
  EXPECT_EQ(filled(grid), Cells{"1,1=kept"});
}

TEST(ReadCsvToGrid, AnEmptyFileLeavesAnEmptyGridOfTheFirstSize) {
  TempFolder dir;
  StringGrid grid;
  EXPECT_EQ(ReadCsvToGrid(dir.write("empty.csv", ""), grid), 0);
  EXPECT_TRUE(filled(grid).empty());
  EXPECT_EQ(grid.colCount(), 9);
  EXPECT_EQ(grid.rowCount(), 5);
}

TEST(ReadCsvToGrid, LinesLandInRowsAndFieldsInColumns) {
  TempFolder dir;
  StringGrid grid;
  ASSERT_EQ(ReadCsvToGrid(dir.write("a.csv", "h1,h2\na,b,c\n\n,x\nlast"), grid), 0);
  EXPECT_EQ(filled(grid),
            (Cells{"0,0=h1", "1,0=h2", "0,1=a", "1,1=b", "2,1=c", "1,3=x", "0,4=last"}));
  // Four line feeds: one row more than the five it started with.
  EXPECT_EQ(grid.rowCount(), 6);
}

TEST(ReadCsvToGrid, UpToThreeLineFeedsKeepFiveRowsAndEachFurtherOneAddsARow) {
  TempFolder dir;
  StringGrid grid;
  ReadCsvToGrid(dir.write("3.csv", "a\nb\nc\n"), grid);
  EXPECT_EQ(grid.rowCount(), 5);
  ReadCsvToGrid(dir.write("4.csv", "a\nb\nc\nd\n"), grid);
  EXPECT_EQ(grid.rowCount(), 6);
  EXPECT_EQ(grid.cell(0, 3), "d");
  EXPECT_EQ(grid.cell(0, 5), "");
}

TEST(ReadCsvToGrid, TwelveLinesOfElevenFieldsGrowTheGridWhichNeverShrinks) {
  TempFolder dir;
  std::string text;
  for (int line = 0; line < 12; ++line) {
    for (int f = 0; f < 11; ++f) text += (f ? "," : "") + std::to_string(line * 100 + f);
    text += "\n";
  }
  StringGrid grid;
  ASSERT_EQ(ReadCsvToGrid(dir.write("big.csv", text), grid), 0);
  EXPECT_EQ(grid.rowCount(), 14);
  EXPECT_EQ(grid.colCount(), 11);
  EXPECT_EQ(grid.cell(10, 11), "1110");
  EXPECT_EQ(grid.cell(0, 12), "");

  grid.clearCells();
  ASSERT_EQ(ReadCsvToGrid(dir.write("small.csv", "h\na\nb\n"), grid), 0);
  EXPECT_EQ(grid.rowCount(), 14);
  EXPECT_EQ(grid.colCount(), 11);
  EXPECT_EQ(filled(grid), (Cells{"0,0=h", "0,1=a", "0,2=b"}));
}

TEST(ReadCsvToGrid, CrLfReadsAsLfAndALoneCrIsDropped) {
  TempFolder dir;
  StringGrid lf;
  StringGrid crlf;
  ReadCsvToGrid(dir.write("lf.csv", "h\nname,zip,addr,,,,,,,\x97\x6c\nlast,1\n"), lf);
  ReadCsvToGrid(dir.write("crlf.csv", "h\r\nname,zip,addr,,,,,,,\x97\x6c\r\nlast,1\r\n"), crlf);
  EXPECT_EQ(filled(lf), filled(crlf));
  EXPECT_EQ(crlf.cell(9, 1), "\x97\x6c");
  EXPECT_EQ(crlf.rowCount(), lf.rowCount());

  StringGrid lone;
  ReadCsvToGrid(dir.write("cr.csv", "a\rb,c\r\r\nd"), lone);
  EXPECT_EQ(filled(lone), (Cells{"0,0=ab", "1,0=c", "0,1=d"}));
}

TEST(ReadCsvToGrid, CtrlZEndsTheInput) {
  TempFolder dir;
  StringGrid grid;
  ASSERT_EQ(ReadCsvToGrid(dir.write("z.csv",
                                    "h\nab\x1A"
                                    "cd,e\nnext\n"),
                          grid),
            0);
  EXPECT_EQ(filled(grid), (Cells{"0,0=h", "0,1=ab"}));
  EXPECT_EQ(grid.rowCount(), 5);
}

TEST(ReadCsvToGrid, QuotesAreOrdinaryAndEveryCommaSplits) {
  TempFolder dir;
  StringGrid grid;
  ReadCsvToGrid(dir.write("q.csv", "h\n\"a,b\",\"c\", d \n"), grid);
  EXPECT_EQ(filled(grid), (Cells{"0,0=h", "0,1=\"a", "1,1=b\"", "2,1=\"c\"", "3,1= d "}));
}

TEST(ReadCsvToGrid, DoubleByteCharactersAndOtherBytesAreCopiedAsTheyAre) {
  TempFolder dir;
  StringGrid grid;
  // 表 and ソ end in 0x5C; a NUL byte and a lone 0xFF stay too.
  const char raw[] = "h\n\x95\x5c\x83\x5c,a\0b,\xff\n";
  const std::string bytes(raw, sizeof raw - 1);
  ReadCsvToGrid(dir.write("sjis.csv", bytes), grid);
  EXPECT_EQ(grid.cell(0, 1), "\x95\x5c\x83\x5c");
  EXPECT_EQ(grid.cell(1, 1), std::string("a\0b", 3));
  EXPECT_EQ(grid.cell(2, 1), "\xff");
}

TEST(ReadCsvToGrid, ALongerLineThanAnyBeforeAddsOneColumnPerField) {
  StringGrid grid;
  SplitCsvBytes("a,b,c,d,e,f,g,h,i,j,k,l\n", grid);
  EXPECT_EQ(grid.colCount(), 12);
  EXPECT_EQ(grid.cell(11, 0), "l");
  SplitCsvBytes("1,2\n", grid);
  EXPECT_EQ(grid.colCount(), 12);
}

}  // namespace
}  // namespace orivel

namespace orivel::test {
namespace {

TEST(ReadCsvToGrid, AFileWithAJapaneseNameIsFound) {
  TempFolder folder;
  // The name as UTF-8, the way a file dialog or a command line hands it over.
  const std::filesystem::path name =
      PathFromUtf8("\xe4\xbd\x8f\xe6\x89\x80\xe9\x8c\xb2.csv");  // 住所録.csv
  folder.write(name, "h\nA,1\n");
  StringGrid grid;
  ASSERT_EQ(ReadCsvToGrid(folder.path(name), grid), 0);
  EXPECT_EQ(grid.cell(0, 1), "A");
}

}  // namespace
}  // namespace orivel::test
