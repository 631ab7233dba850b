#include "app/TForm1.h"
#include "common/Codec.h"
#include "common/Dialogs.h"
#include "common/Messages.h"
#include "files/CsvImport.h"
#include "files/FileMessages.h"

// The CSV import.

bool TForm1::ParseCsvFlag(const std::string& text) {
  return orivel::ParseCsvFlag(text);
}

void TForm1::Button5Click() {
  ImportCsv();
}

void TForm1::ImportCsv() {
  const QString path = orivel::dialogs().openFileName(this, kCsvFilter);
  if (path.isEmpty()) return;
  StringGrid1.clearCells();
  const orivel::CsvRead read =
      orivel::ReadCsvFileForImport(orivel::filePath(path), StringGrid1, orivel::codec::fromUtf8);
  const QString failure = orivel::messages::csvReadFailure(read);
  if (!failure.isEmpty()) {
    orivel::ShowError(this, failure);
    return;
  }
  const orivel::CsvImportResult result = orivel::AppendGridRows(StringGrid1, Book);
  if (result.added > 0) Modified = true;
  const QString leftOut = orivel::messages::importLeftOut(result.leftOut);
  if (!leftOut.isEmpty()) orivel::ShowInformation(this, leftOut);
}
