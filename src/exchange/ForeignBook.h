#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "book/datatype.h"
#include "exchange/TextCodec.h"

// Address books from other programs: Japan Post's はがきデザインキット, Google Contacts,
// vCard from phones and mail programs, and any CSV file with a header whose columns are
// given a meaning. Everything is read into entries before any is added, so that a file
// refused halfway adds nothing.
namespace orivel {

enum class ImportFormat {
  Orivel,          // the program's own ten columns, read as its import always did
  HagakiKit,       // はがきデザインキット's address export
  GoogleContacts,  // Google Contacts, current or older header
  VCard,           // vCard 2.1, 3.0 or 4.0
  OtherCsv,        // a CSV file with a header, read by the meanings of its columns
  Unknown,         // none of these: not text, or not a table
};

// What a column of another CSV file stands for.
enum class ColumnMeaning {
  Unused,
  Name,
  FamilyName,
  GivenName,
  ZipCode,
  Address,
  Address1,
  Address2,
  Building,
  Honorific,
  Joint,
  Company,
  Department,
  Title,
};
inline constexpr int kColumnMeaningCount = 14;

// The meaning's name as the mapping window and --map use it (UTF-8): 使わない, 名前, 姓, 名,
// 郵便番号, 住所, 住所1, 住所2, 建物, 敬称, 連名, 会社, 部署, 役職.
std::string_view ColumnMeaningName(ColumnMeaning meaning);
// The meaning named so (also 〒 for the postal code); nullopt for no meaning.
std::optional<ColumnMeaning> ColumnMeaningFromName(std::string_view utf8);
// The meaning a header cell suggests; Unused when it suggests none.
ColumnMeaning GuessColumnMeaning(std::string_view headerUtf8);

struct ImportRead {
  enum class Status {
    Read,
    UnknownFormat,  // none of the forms above
    Malformed,      // an open quote, a card without END
    InvalidText,    // bytes that are not the file's encoding
    Unencodable,    // a character code page 932 lacks
    NameNotKept,    // a name the book file would read back as an empty slot ("0")
  };
  Status status = Status::Read;
  ImportFormat format = ImportFormat::Orivel;
  std::vector<datatype> entries;  // Read: in file order
  // Where a refusal lies: a line of a CSV file, or a card of a vCard file, from 1.
  int where = 0;
  bool whereIsCard = false;
  std::string badCharacter;  // Unencodable: the character, as UTF-8
  int nameless = 0;          // records without a name, left out
};

// A CSV file other than the program's own, header and first rows as UTF-8, for the mapping.
struct CsvPreview {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;  // up to maxRows
  std::vector<ColumnMeaning> guesses;          // one a header cell
};

// Which form the file's bytes have. A file read as the program's own (Orivel) goes to its
// own import unchanged; a CSV file whose header names no column this program knows, or names
// them in the program's own order, is one of those.
ImportFormat DetectImportFormat(std::string_view bytes, const TextCodec& codec);

// The header and first rows of a CSV file of another form, for the mapping; nullopt when
// the text cannot be read (then ReadForeignBook says why).
std::optional<CsvPreview> PreviewCsv(std::string_view bytes, const TextCodec& codec, int maxRows);

// Reads a file of the given form (not Orivel). For OtherCsv, `meanings` gives each
// column's meaning (missing ones are unused).
ImportRead ReadForeignBook(std::string_view bytes, ImportFormat format, const TextCodec& codec,
                           const std::vector<ColumnMeaning>& meanings = {});

// A postal code of seven digits (half- or full-width, with or without a hyphen) written
// "123-4567"; anything else as it stands, trimmed.
std::string NormalizedZipCode(std::string_view utf8);

namespace detail {
// Decodes a file's text: UTF-8 after a byte order mark or when valid throughout, otherwise
// code page 932. False (and *badLine) when code page 932 does not decode either.
bool DecodeText(std::string_view bytes, const TextCodec& codec, std::string* utf8, int* badLine);
// The entry's texts from UTF-8 to code page 932; false naming the first character lacking.
bool EncodeEntry(const datatype& utf8Entry, const TextCodec& codec, datatype* cp932,
                 std::string* bad);
// A text of several lines as one, each line break a full-width space.
std::string OneLine(std::string_view text);
// Appends the entry read (UTF-8) to read->entries in code page 932, each field on one line;
// a nameless one is counted and left out. False, with the refusal and `where` in *read and no
// entries kept, when the entry cannot be held.
bool AddReadEntry(const datatype& utf8Entry, int where, const TextCodec& codec, ImportRead* read);
// The category named so (年賀状 … その他２, also その他1/2), 0 for none.
int CategoryNamed(std::string_view utf8);
std::string_view CategoryName(int k);
// Name = family + "　" + given, one alone when the other is empty.
std::string JoinName(std::string_view family, std::string_view given);
// Address = region + locality + street, then "　" and the building when there is one.
std::string JoinAddress(std::string_view region, std::string_view locality, std::string_view street,
                        std::string_view building);
std::string Trimmed(std::string_view text);
}  // namespace detail

}  // namespace orivel
