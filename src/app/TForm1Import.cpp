#include "app/TForm1.h"
#include "book/CheckListBox.h"
#include "common/Codec.h"
#include "common/Dialogs.h"
#include "common/Messages.h"
#include "exchange/ColumnMapDialog.h"
#include "exchange/Import.h"
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
  const QString path =
      orivel::dialogs().openFileName(this, orivel::messages::importFileFilter(), {});
  if (path.isEmpty()) return;
  StringGrid1.clearCells();
  const orivel::TextCodec& codec = orivel::codec::textCodec();
  const orivel::ImportSource source = orivel::OpenImportSource(orivel::filePath(path), codec);
  const QString unread = orivel::messages::importFileFailure(source.status);
  if (!unread.isEmpty()) {
    orivel::ShowError(this, unread);
    return;
  }
  // A CSV file of an unknown program: the user says what its columns hold.
  std::vector<orivel::ColumnMeaning> meanings;
  if (source.format == orivel::ImportFormat::OtherCsv) {
    if (const auto preview = orivel::PreviewCsv(source.bytes, codec, kMappingPreviewRows)) {
      const auto chosen = AskColumnMeanings(*preview);
      if (!chosen) return;
      meanings = *chosen;
    }
  }
  const int firstNew = Book.count();
  const orivel::ImportOutcome outcome =
      orivel::ImportInto(source, meanings, codec, StringGrid1, Book);
  if (const QString failure = orivel::messages::importFailure(outcome); !failure.isEmpty()) {
    orivel::ShowError(this, failure);
    return;
  }
  if (outcome.appended.added > 0) {
    Modified = true;
    // The list shows what was just imported, from its first line.
    CheckListBox1->scrollTo(CheckListBox1->model()->index(firstNew, 0),
                            QAbstractItemView::PositionAtTop);
  }
  for (const QString& notice : orivel::messages::importNotices(outcome))
    orivel::ShowInformation(this, notice);
}
