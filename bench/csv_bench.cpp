#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "book/AddressBook.h"
#include "files/CsvImport.h"
#include "files/Func.h"

namespace {

// A line of an address book export: name, postal code, address, six marks, honorific.
std::string csvLine(int i) {
  std::string line = "\x8e\x52\x93\x63\x91\xbe\x98\x59" + std::to_string(i);  // 山田太郎
  line += ",100-0001,\x93\x8c\x8b\x9e\x93\x73\x90\xe7\x91\xe3\x93\x63\x8b\xe6";  // 東京都千代田区
  line += std::to_string(i % 9 + 1) + "-" + std::to_string(i % 30 + 1);
  for (int k = 0; k < 6; ++k) line += (i + k) % 3 == 0 ? ",\x81\x9b" : ",";  // ○
  line += ",\x97\x6c\r\n";                                                   // 様
  return line;
}

std::string writeFile(const std::string& name, std::size_t minBytes, int minRows) {
  std::string text = "name,zip,address,1,2,3,4,5,6,sama\r\n";
  for (int i = 0; text.size() < minBytes || i < minRows; ++i) text += csvLine(i);
  const auto path = (std::filesystem::temp_directory_path() /
                     ("orivel-bench-" + std::to_string(std::random_device{}()) + "-" + name))
                        .string();
  std::ofstream(path, std::ios::binary)
      .write(text.data(), static_cast<std::streamsize>(text.size()));
  return path;
}

// Reading a file of 300 addressees and importing it into an empty book.
void BM_ReadAndImport300Rows(benchmark::State& state) {
  const std::string path = writeFile("300.csv", 0, 300);
  orivel::StringGrid grid;
  orivel::AddressBook book;
  for (auto _ : state) {
    grid.clearCells();
    book.clear();
    orivel::ReadCsvToGrid(path, grid);
    const auto result = orivel::AppendGridRows(grid, book);
    benchmark::DoNotOptimize(result);
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadAndImport300Rows)->Unit(benchmark::kMicrosecond);

// Reading ever larger files into the grid: the time should grow with the size alone.
void BM_ReadCsvToGrid(benchmark::State& state) {
  const auto bytes = static_cast<std::size_t>(state.range(0)) << 20;
  const std::string path = writeFile(std::to_string(state.range(0)) + "MB.csv", bytes, 0);
  const auto size = std::filesystem::file_size(path);
  orivel::StringGrid grid;
  for (auto _ : state) {
    grid.clearCells();
    benchmark::DoNotOptimize(orivel::ReadCsvToGrid(path, grid));
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
  state.SetComplexityN(static_cast<std::int64_t>(size));
  std::filesystem::remove(path);
}
BENCHMARK(BM_ReadCsvToGrid)
    ->Arg(1)
    ->Arg(4)
    ->Arg(10)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace
