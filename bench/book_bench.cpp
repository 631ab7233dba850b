#include <benchmark/benchmark.h>

#include "book/AddressBook.h"

namespace {

orivel::datatype sampleEntry(int i) {
  orivel::datatype e;
  e.name = "name" + std::to_string(i);
  e.address = std::string(60, 'a');
  e.zip_code = "100-0001";
  e.sama = "\x97\x6c";
  e.ml[static_cast<std::size_t>(i % 6)] = 1;
  return e;
}

// Filling a whole book and emptying it again.
void BM_FillBook(benchmark::State& state) {
  orivel::AddressBook book;
  for (auto _ : state) {
    for (int i = 0; i < orivel::AddressBook::kCapacity; ++i) book.append(sampleEntry(i));
    book.clear();
  }
}
BENCHMARK(BM_FillBook);

// The category commands over a full book.
void BM_SelectChecks(benchmark::State& state) {
  orivel::AddressBook book;
  for (int i = 0; i < orivel::AddressBook::kCapacity; ++i) book.append(sampleEntry(i));
  int kind = 1;
  for (auto _ : state) {
    book.SelectChecks(kind);
    kind = kind % 9 + 1;
    benchmark::DoNotOptimize(book.checkedCount());
  }
}
BENCHMARK(BM_SelectChecks);

}  // namespace
