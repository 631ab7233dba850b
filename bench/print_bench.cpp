#include <benchmark/benchmark.h>

#include "print/Postcard.h"

namespace {

// A long address with spaces and minus signs, the sender on: every rule of the composition.
void BM_ComposeOneCard(benchmark::State& state) {
  orivel::datatype entry;
  entry.name = "\x8E\x52\x93\x63\x81\x40\x91\xBE\x98\x59";  // 山田　太郎
  entry.address.clear();
  for (int i = 0; i < 3; ++i) entry.address += "\x93\x8C\x8B\x9E\x93\x73\x81\x40";
  entry.address += "\x82\x50\x81\x7C\x82\x51\x81\x7C\x82\x52";
  entry.zip_code = "100-0001";
  entry.sama = "\x97\x6C";
  orivel::usertype user;
  user.name = "\x8D\xB2\x93\xA1";
  user.zip_code = "123-4567";
  user.address = entry.address;
  user.print_own_address = true;
  orivel::Postcard card = orivel::Postcard::design();
  for (auto _ : state) {
    orivel::ComposePostcard(card, entry, user);
    benchmark::DoNotOptimize(card);
  }
}
BENCHMARK(BM_ComposeOneCard);

}  // namespace
