#include "app/TForm1.h"
#include "book/CheckListBox.h"
#include "common/Codec.h"
#include "common/Dialogs.h"
#include "common/Messages.h"
#include "exchange/ColumnMapDialog.h"
#include "exchange/Import.h"
#include "files/CsvImport.h"
#include "files/FileMessages.h"

// The import: the program's own CSV, はがきデザインキット, Google Contacts, vCard, or any CSV
// file with a header, whose columns the user gives a meaning.

bool TForm1::ParseCsvFlag(const std::string& text) {
  return orivel::ParseCsvFlag(text);
}

void TForm1::Button5Click() {
  ImportCsv();
}

std::optional<std::vector<orivel::ColumnMeaning>> TForm1::AskColumnMeanings(
    const orivel::CsvPreview& preview) {
  if (askColumnMeanings_) return askColumnMeanings_(preview);
  orivel::ColumnMapDialog dialog(preview, this);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.meanings();
}

void TForm1::ImportCsv() {
  const QString path = orivel::dialogs().openFileName(this, orivel::messages::importFileFilter());
  if (path.isEmpty()) return;
  StringGrid1.clearCells();
  const orivel::TextCodec& codec = orivel::codec::textCodec();
  const orivel::ImportSource source = orivel::OpenImportSource(orivel::filePath(path), codec);
  const QString unread = orivel::messages::importFileFailure(source.status);
  if (!unread.isEmpty()) {
    orivel::ShowError(this, unread);
    return;
  }
  const int firstNew = Book.count();
  orivel::CsvImportResult result;
  int nameless = 0;
  if (source.format == orivel::ImportFormat::Orivel) {
    const orivel::CsvRead read =
        orivel::ReadCsvFileForImport(orivel::filePath(path), StringGrid1, orivel::codec::fromUtf8);
    const QString failure = orivel::messages::csvReadFailure(read);
    if (!failure.isEmpty()) {
      orivel::ShowError(this, failure);
      return;
    }
    result = orivel::AppendGridRows(StringGrid1, Book);
  } else {
    std::vector<orivel::ColumnMeaning> meanings;
    if (source.format == orivel::ImportFormat::OtherCsv) {
      const std::optional<orivel::CsvPreview> preview =
          orivel::PreviewCsv(source.bytes, codec, kMappingPreviewRows);
      if (preview) {
        const auto chosen = AskColumnMeanings(*preview);
        if (!chosen) return;
        meanings = *chosen;
      }
    }
    const orivel::ImportRead read =
        orivel::ReadForeignBook(source.bytes, source.format, codec, meanings);
    const QString failure = orivel::messages::foreignReadFailure(read);
    if (!failure.isEmpty()) {
      orivel::ShowError(this, failure);
      return;
    }
    result = orivel::AppendEntries(read.entries, Book);
    nameless = read.nameless;
  }
  if (result.added > 0) {
    Modified = true;
    // The list shows what was just imported, from its first line.
    CheckListBox1->scrollTo(CheckListBox1->model()->index(firstNew, 0),
                            QAbstractItemView::PositionAtTop);
  }
  for (const QString& notice : {orivel::messages::importNameless(nameless),
                                orivel::messages::importLeftOut(result.leftOut)})
    if (!notice.isEmpty()) orivel::ShowInformation(this, notice);
}
