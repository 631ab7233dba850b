#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "book/AddressBook.h"
#include "exchange/ForeignBook.h"

// vCard (RFC 2426, RFC 6350, and the 2.1 that phones write): read into entries, and the
// book written as vCard 3.0.
namespace orivel {

// Whether the text begins, after a byte order mark and blank lines, with BEGIN:VCARD.
bool LooksLikeVCard(std::string_view bytes);

// Every card of the file, in order: the name from N (family, given) or else FN, the home
// address (or the first one), its postal code, and the categories that CATEGORIES names.
ImportRead ReadVCards(std::string_view bytes, const TextCodec& codec);

struct VCardExportResult {
  enum class Status { Written, Refused, WriteFailed };
  Status status = Status::Written;
  int entry = -1;  // Refused: the entry whose text is not code page 932
};

// Whether the export writes vCard to this path: its name ends in ".vcf", in any case.
bool IsVCardPath(const std::filesystem::path& path);

// The book as vCard 3.0 in UTF-8 with CR LF, lines folded at 75 octets.
VCardExportResult BuildVCards(const AddressBook& book, const TextCodec& codec, std::string* out);
VCardExportResult ExportVCards(const AddressBook& book, const std::filesystem::path& path,
                               const TextCodec& codec);

}  // namespace orivel
