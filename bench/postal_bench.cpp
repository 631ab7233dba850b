// The postal code dictionary: loading its cached table and checking a full book of 300
// entries, and one lookup. Uses the installed skkdic-extra lists (or ORIVEL_POSTAL_DICT).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "book/AddressBook.h"
#include "postal/AddressCheck.h"
#include "postal/PostalDictionary.h"
#include "postal/PostalSources.h"

namespace {

using namespace orivel;
using namespace orivel::postal;

std::filesystem::path cacheFile() {
  return std::filesystem::temp_directory_path() / "orivel-postal-bench" / "postal.table";
}

// Converts the lists once so that every iteration loads the cached table, as a run after the
// first does.
bool prepare(PostalDictionary* d) {
  return OpenPostalDictionary(FindPostalSources(), cacheFile(), d) != PostalOpenStatus::NotFound &&
         !d->empty();
}

// 300 entries taken from the dictionary itself, every tenth one with a wrong code.
void fillBook(const PostalDictionary& d, AddressBook& book) {
  const std::uint32_t step = d.codeCount() / 300;
  for (int i = 0; i < 300; ++i) {
    datatype e;
    e.name = "n" + std::to_string(i);
    const std::uint32_t index = static_cast<std::uint32_t>(i) * step;
    const auto range = d.find(d.codeOfCandidate(index));
    const PostalCandidate c = d.candidate(range.first);
    e.address = c.address() + "1-2-3";
    e.zip_code = FormatZipCode(d.codeOfCandidate(i % 10 == 0 ? index + step / 2 : index));
    book.append(e);
  }
}

void BM_CheckBookWithLoad(benchmark::State& state) {
  PostalDictionary prepared;
  if (!prepare(&prepared)) {
    state.SkipWithError("no postal code dictionary installed");
    return;
  }
  AddressBook book;
  fillBook(prepared, book);
  std::size_t findings = 0;
  for (auto _ : state) {
    PostalDictionary d;
    PostalDictionary::Image image;
    if (!ReadTableFile(cacheFile(), &image) || !d.adopt(std::move(image))) {
      state.SkipWithError("cache not readable");
      return;
    }
    findings = CheckBook(book, d).size();
    benchmark::DoNotOptimize(findings);
  }
  state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_CheckBookWithLoad)->Unit(benchmark::kMillisecond);

void BM_Load(benchmark::State& state) {
  PostalDictionary prepared;
  if (!prepare(&prepared)) {
    state.SkipWithError("no postal code dictionary installed");
    return;
  }
  for (auto _ : state) {
    PostalDictionary d;
    PostalDictionary::Image image;
    ReadTableFile(cacheFile(), &image);
    benchmark::DoNotOptimize(d.adopt(std::move(image)));
  }
}
BENCHMARK(BM_Load)->Unit(benchmark::kMillisecond);

void BM_Lookup(benchmark::State& state) {
  PostalDictionary d;
  if (!prepare(&d)) {
    state.SkipWithError("no postal code dictionary installed");
    return;
  }
  std::uint32_t code = 1500001;
  for (auto _ : state) {
    const auto range = d.find(code);
    benchmark::DoNotOptimize(d.candidate(range.first));
    code = code == 1500001 ? 9800811 : 1500001;
  }
}
BENCHMARK(BM_Lookup);

}  // namespace
