// The readers of other programs' address books (the kit's and Google's CSV, any CSV with a
// header, vCard) on arbitrary bytes, through the program's own code page 932 codec.
//
// Properties: a file is read whole or not at all, and a refusal names a line or card from 1;
// every entry read has a name and at most five joints, each with a name; the book's vCard
// export of the entries read, when there are any, imports back to as many entries.
#include <algorithm>
#include <cstdint>
#include <string>

#include "FuzzCheck.h"
#include "book/AddressBook.h"
#include "common/Codec.h"
#include "exchange/ForeignBook.h"
#include "exchange/VCard.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace orivel;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const TextCodec& codec = codec::textCodec();
  ImportFormat format = DetectImportFormat(bytes, codec);
  if (format == ImportFormat::Orivel) format = ImportFormat::OtherCsv;  // the mapping reader
  std::vector<ColumnMeaning> meanings;
  if (format == ImportFormat::OtherCsv) {
    if (const auto preview = PreviewCsv(bytes, codec, 3)) meanings = preview->guesses;
  }
  const ImportRead read = ReadForeignBook(bytes, format, codec, meanings);
  if (read.status != ImportRead::Status::Read) {
    FUZZ_CHECK(read.entries.empty());
    FUZZ_CHECK(read.status == ImportRead::Status::UnknownFormat || read.where >= 1);
    return 0;
  }
  AddressBook book;
  for (const datatype& e : read.entries) {
    FUZZ_CHECK(!e.name.empty());
    FUZZ_CHECK(e.joints.size() <= static_cast<std::size_t>(kMaxJoints));
    FUZZ_CHECK(std::none_of(e.joints.begin(), e.joints.end(),
                            [](const JointName& j) { return j.name.empty(); }));
    book.append(e);
  }
  if (book.count() == 0) return 0;  // an empty export is no vCard file
  std::string vcf;
  FUZZ_CHECK(BuildVCards(book, codec, &vcf).status == VCardExportResult::Status::Written);
  const ImportRead back = ReadVCards(vcf, codec);
  FUZZ_CHECK(back.status == ImportRead::Status::Read);
  FUZZ_CHECK(back.entries.size() == static_cast<std::size_t>(book.count()));
  return 0;
}
