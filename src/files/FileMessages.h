#pragma once

#include <QString>
#include <QStringList>

#include "exchange/ForeignBook.h"
#include "exchange/Import.h"
#include "exchange/VCard.h"
#include "files/BookFile.h"
#include "files/CsvExport.h"
#include "files/CsvImport.h"
#include "files/FileBytes.h"

// What the file commands say about a refused book or CSV file, for the windows and
// orivel-cli alike, worded from the commands' results.
namespace orivel::messages {

// What is said about a refused book file before "読み込みに失敗しました。"; empty when
// nothing more is said (a count out of range, an unreadable file) or the book loaded.
QString bookRefusal(const BookLoadResult& result);

// What is said when the CSV file could not be read for the import; empty when it was read.
QString csvReadFailure(const CsvRead& read);

// Why a file of another program's form was not imported, naming the line (CSV) or the card
// (vCard); empty when it was read.
QString foreignReadFailure(const ImportRead& read);

// Why an import added nothing, naming the line or card; empty when the file was read.
QString importFailure(const ImportOutcome& outcome);
// What an import that read its file says after it: records without a name, entries that
// found no free slot.
QStringList importNotices(const ImportOutcome& outcome);

// What is said when the file to import could not be read at all; empty when it was.
QString importFileFailure(FileReadStatus status);

// Why the vCard export wrote nothing; empty when it wrote the file.
QString vcardExportFailure(const VCardExportResult& result);

// Why the export wrote nothing, e.g. "3件目の住所に「,」があるため書き出せません。"; empty
// unless the result is Refused.
QString csvExportRefusal(const CsvExportResult& result);

}  // namespace orivel::messages
