#include "app/TForm1.h"
#include "book/CheckListBox.h"
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
  const int firstNew = Book.count();
  const orivel::CsvImportResult result = orivel::AppendGridRows(StringGrid1, Book);
  if (result.added > 0) {
    Modified = true;
    // The list shows what was just imported, from its first line.
    CheckListBox1->scrollTo(CheckListBox1->model()->index(firstNew, 0),
                            QAbstractItemView::PositionAtTop);
  }
  const QString leftOut = orivel::messages::importLeftOut(result.leftOut);
  if (!leftOut.isEmpty()) orivel::ShowInformation(this, leftOut);
}
