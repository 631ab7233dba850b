// A full load of arbitrary bytes as an address book file.
//
// Properties: a rejected file leaves the book as it was; an accepted one gives at most 300
// unchecked entries, slot i on line i, every slot past them empty; the loaded book can always
// be saved, into a new file and over the file it came from, and loading that again gives the
// same entries, each text read once more by the file's rules (blanks and one pair of quotes
// at its ends dropped, a name reading "0" left out).
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "ProfileModel.h"
#include "files/BookFile.h"

namespace {

using namespace orivel;
namespace fz = orivel::fuzz;

datatype keeper() {
  datatype e;
  e.name = "keep";
  e.ml[2] = 1;
  return e;
}

void checkShape(const AddressBook& book) {
  FUZZ_CHECK(book.count() >= 0 && book.count() <= AddressBook::kCapacity);
  FUZZ_CHECK(book.checkedCount() == 0);
  for (int i = book.count(); i < AddressBook::kCapacity; ++i)
    FUZZ_CHECK(book.entry(i) == datatype{});
}

// What a load gives for the entries of a saved book.
std::vector<datatype> readAgain(const AddressBook& book) {
  std::vector<datatype> out;
  for (int i = 0; i < book.count(); ++i) {
    datatype e = book.entry(i);
    e.name = fz::cleanRaw(e.name);
    if (e.name == "0") continue;
    e.address = fz::cleanRaw(e.address);
    e.zip_code = fz::cleanRaw(e.zip_code);
    e.sama = fz::cleanRaw(e.sama);
    out.push_back(e);
  }
  return out;
}

void checkSavedAndLoaded(const AddressBook& book, ProfileFile& file) {
  FUZZ_CHECK(WriteBook(book, file));
  const ProfileFile written(file.text());
  AddressBook again;
  again.append(keeper());
  FUZZ_CHECK(ReadBook(written, again).ok());
  checkShape(again);
  const std::vector<datatype> expected = readAgain(book);
  FUZZ_CHECK(again.count() == static_cast<int>(expected.size()));
  for (int i = 0; i < again.count(); ++i)
    FUZZ_CHECK(again.entry(i) == expected[static_cast<std::size_t>(i)]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const ProfileFile profile(text);
  AddressBook book;
  book.append(keeper());
  book.setChecked(0, true);
  const BookLoadResult r = ReadBook(profile, book);
  const int cnt = profile.ReadInteger("HEADER", "Cnt", 0);
  if (!r.ok()) {
    FUZZ_CHECK(book.count() == 1 && book.entry(0) == keeper() && book.isChecked(0));
    FUZZ_CHECK(cnt < 0 || cnt > 300 || profile.ReadString("HEADER", "Version", "0") != "Ver1.00");
    return 0;
  }
  FUZZ_CHECK(cnt >= 0 && cnt <= 300 && r.version == "Ver1.00");
  checkShape(book);
  FUZZ_CHECK(book.count() <= cnt);

  ProfileFile fresh;
  checkSavedAndLoaded(book, fresh);
  ProfileFile over(text);
  checkSavedAndLoaded(book, over);
  return 0;
}
