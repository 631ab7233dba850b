#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "files/BookFile.h"

namespace {

namespace fs = std::filesystem;

orivel::datatype sampleEntry(int i) {
  orivel::datatype e;
  // 山田 太郎 i, an address of about 60 bytes with a full-width space before the building.
  e.name = "\x8e\x52\x93\x63\x81\x40\x91\xbe\x98\x59" + std::to_string(i);
  e.address =
      "\x93\x8c\x8b\x9e\x93\x73\x90\xe7\x91\xe3\x93\x63\x8b\xe6\x8a\xdb\x82\xcc\x93\xe0"
      "\x82\x50\x81\x7c\x82\x51\x81\x7c\x82\x52\x81\x40\x8a\xdb\x82\xcc\x93\xe0"
      "\x83\x72\x83\x8b\x82\x50\x82\x4f\x8a\x4b" +
      std::to_string(i);
  e.zip_code = "100-0005";
  e.sama = "\x97\x6c";
  e.ml[static_cast<std::size_t>(i % 6)] = 1;
  return e;
}

void fill(orivel::AddressBook& book, int n) {
  for (int i = 0; i < n && i < orivel::AddressBook::kCapacity; ++i) book.append(sampleEntry(i));
}

// The text of a file holding the keys of n entries (Cnt names at most 300 of them).
std::string fileText(int n) {
  orivel::ProfileFile p;
  orivel::AddressBook book;
  fill(book, n);
  orivel::WriteBook(book, p);
  // Entries beyond 300 are the leftovers of rewritten files: only their keys are there.
  for (int i = orivel::AddressBook::kCapacity; i < n; ++i) {
    const std::string k = std::to_string(i);
    const orivel::datatype e = sampleEntry(i);
    p.WriteString("DATAS", "name" + k, e.name);
    p.WriteString("DATAS", "address" + k, e.address);
    p.WriteString("DATAS", "zip_code" + k, e.zip_code);
    p.WriteString("DATAS", "sama" + k, e.sama);
    for (int f = 1; f <= 6; ++f) p.WriteBool("DATAS", "ml" + std::to_string(f) + "_" + k, false);
  }
  return p.text();
}

struct TempDir {
  TempDir() {
    std::random_device rd;
    path = fs::temp_directory_path() / ("orivel-bench-" + std::to_string(rd()));
    fs::create_directories(path);
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  fs::path path;
};

// In memory: parse the text of a file with the keys of n entries and load the book.
void BM_ParseAndReadBook(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string text = fileText(n);
  orivel::AddressBook book;
  for (auto _ : state) {
    orivel::ProfileFile p(text);
    benchmark::DoNotOptimize(orivel::ReadBook(p, book));
  }
  state.SetComplexityN(n);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseAndReadBook)->Arg(300)->Arg(1000)->Arg(3000)->Complexity(benchmark::oN);

// In memory: a save of a full book over a file with the keys of n entries.
void BM_SaveOverInMemory(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const std::string text = fileText(n);
  orivel::AddressBook book;
  fill(book, orivel::AddressBook::kCapacity);
  for (auto _ : state) {
    orivel::ProfileFile p(text);
    orivel::WriteBook(book, p);
    benchmark::DoNotOptimize(p.text());
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_SaveOverInMemory)->Arg(300)->Arg(1000)->Arg(3000)->Complexity(benchmark::oN);

// In memory: a book of n entries written into a new file, the whole layer's write path.
void BM_WriteNewBook(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  orivel::AddressBook book;
  fill(book, n);
  for (auto _ : state) {
    orivel::ProfileFile p;
    orivel::WriteBook(book, p);
    benchmark::DoNotOptimize(p.text());
  }
  state.SetComplexityN(n);
}
BENCHMARK(BM_WriteNewBook)->Arg(30)->Arg(100)->Arg(300)->Complexity(benchmark::oN);

// The layer alone: writing 10 n new keys into one section and reading them back.
void BM_ProfileKeys(benchmark::State& state) {
  const int keys = static_cast<int>(state.range(0)) * 10;
  std::vector<std::string> names;
  for (int i = 0; i < keys; ++i) names.push_back("key" + std::to_string(i));
  for (auto _ : state) {
    orivel::ProfileFile p;
    for (const std::string& k : names) p.WriteString("DATAS", k, k);
    int sum = 0;
    for (const std::string& k : names) sum += static_cast<int>(p.ReadString("datas", k, "").size());
    benchmark::DoNotOptimize(sum);
  }
  state.SetComplexityN(keys);
}
BENCHMARK(BM_ProfileKeys)->Arg(300)->Arg(1000)->Arg(3000)->Complexity(benchmark::oN);

// On disk: loading a file with the keys of n entries.
void BM_LoadFile(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TempDir dir;
  const fs::path path = dir.path / "book.orv";
  std::ofstream(path, std::ios::binary) << fileText(n);
  orivel::AddressBook book;
  for (auto _ : state) benchmark::DoNotOptimize(orivel::LoadBook(path, book));
  state.SetComplexityN(n);
}
BENCHMARK(BM_LoadFile)->Arg(300)->Arg(3000)->Complexity(benchmark::oN);

// On disk: saving a full book over a file with the keys of n entries, with its flush to disk.
void BM_SaveFile(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  TempDir dir;
  const fs::path path = dir.path / "book.orv";
  std::ofstream(path, std::ios::binary) << fileText(n);
  orivel::AddressBook book;
  fill(book, orivel::AddressBook::kCapacity);
  for (auto _ : state) benchmark::DoNotOptimize(orivel::SaveBook(book, path));
  state.SetComplexityN(n);
}
BENCHMARK(BM_SaveFile)->Arg(300)->Arg(3000)->Unit(benchmark::kMillisecond);

}  // namespace
