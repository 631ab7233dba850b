#include "app/TForm1.h"
#include "common/Codec.h"
#include "common/Dialogs.h"
#include "files/BookFile.h"

// Saving and loading the address book.

void TForm1::N1Click() {
  const QString path = orivel::dialogs().saveFileName(this, kBookFilter);
  if (path.isEmpty()) return;
  if (!SaveBookFile(path)) {
    orivel::ShowError(this, QStringLiteral("保存に失敗しました。"));
    return;
  }
  Modified = false;
}

void TForm1::N2Click() {
  // The book is replaced only by an accepted file, so answering Yes discards nothing yet.
  if (Modified && !orivel::AskYes(this, QStringLiteral("データが変更されています。？"))) return;
  const QString path = orivel::dialogs().openFileName(this, kBookFilter);
  if (path.isEmpty()) return;
  if (LoadBookFile(path)) {
    Modified = false;
    return;
  }
  orivel::ShowError(this, QStringLiteral("読み込みに失敗しました。"));
}

bool TForm1::SaveBookFile(const QString& path) {
  return orivel::SaveBook(Book, orivel::filePath(path));
}

bool TForm1::LoadBookFile(const QString& path) {
  const orivel::BookLoadResult result = orivel::LoadBook(orivel::filePath(path), Book);
  switch (result.status) {
    case orivel::BookLoadStatus::Loaded:
      return true;
    case orivel::BookLoadStatus::NotFound:
      orivel::ShowError(this, QStringLiteral("ファイルがありません"));
      return false;
    case orivel::BookLoadStatus::WrongVersion:
      orivel::ShowError(this, QStringLiteral("データが新しいバージョンです（") +
                                  orivel::codec::toQString(result.version) + QStringLiteral("）"));
      return false;
    case orivel::BookLoadStatus::CountOutOfRange:
    case orivel::BookLoadStatus::ReadFailed:
      break;
  }
  return false;
}
