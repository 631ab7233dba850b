// orivel-cli export (CSV, or vCard for a name ending in .vcf) and check.

#include <QByteArray>
#include <filesystem>

#include "cli/CliCommands.h"
#include "cli/Json.h"
#include "common/Codec.h"
#include "common/Messages.h"
#include "exchange/VCard.h"
#include "files/CsvExport.h"
#include "files/FileMessages.h"
#include "postal/AddressCheck.h"
#include "postal/PostalService.h"

namespace orivel::cli {

int Export(const Arguments& args) {
  AddressBook book;
  if (!LoadBookOrSay(args.book, book)) return kExitFailure;
  if (IsVCardPath(args.out)) {
    const QString failure =
        messages::vcardExportFailure(ExportVCards(book, args.out, codec::textCodec()));
    if (failure.isEmpty()) return kExitSuccess;
    Say(failure);
    return kExitFailure;
  }
  const CsvExportResult result = ExportCsv(book, args.out);
  switch (result.status) {
    case CsvExportResult::Status::Written:
      return kExitSuccess;
    case CsvExportResult::Status::Refused:
      Say(messages::csvExportRefusal(result));
      break;
    case CsvExportResult::Status::WriteFailed:
      Say(messages::saveFailed());
      break;
  }
  return kExitFailure;
}

int Check(const Arguments& args) {
  AddressBook book;
  if (!LoadBookOrSay(args.book, book)) return kExitFailure;
  postal::PostalService service;
  const postal::PostalDictionary* dictionary = service.dictionary();
  if (!dictionary) {
    Say(messages::postalDictionaryMissing());
    return kExitFailure;
  }
  QByteArray out;
  for (const postal::Finding& f : postal::CheckBook(book, *dictionary)) {
    AppendEntryHead(out, f.index, book.entry(f.index));
    out += ", \"problem\": \"";
    out += QByteArray::fromStdString(std::string(postal::ProblemName(f.problem)));
    out += "\", \"expected\": [";
    for (std::size_t k = 0; k < f.expected.size(); ++k) {
      if (k > 0) out += ", ";
      AppendJsonCp932(out, f.expected[k]);
    }
    out += "], \"codes\": [";
    for (std::size_t k = 0; k < f.codes.size(); ++k) {
      if (k > 0) out += ", ";
      out += '"' + QByteArray::fromStdString(postal::FormatZipCode(f.codes[k])) + '"';
    }
    out += "]}\n";
  }
  return WriteOut(out) ? kExitSuccess : kExitFailure;
}

}  // namespace orivel::cli
