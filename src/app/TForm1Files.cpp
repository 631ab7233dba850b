#include <QFileInfo>

#include "app/TForm1.h"
#include "book/CheckListBox.h"
#include "common/Dialogs.h"
#include "common/Messages.h"
#include "files/BookFile.h"
#include "files/FileMessages.h"

// Saving and loading the address book.

void TForm1::N1Click() {
  const QString path = orivel::dialogs().saveFileName(this, kBookFilter, BookFile);
  if (path.isEmpty()) return;
  // Another file of the same name, picked by mistake from the dialog's list, would be lost.
  const QFileInfo chosen(path);
  if (chosen.isFile() && (BookFile.isEmpty() || chosen != QFileInfo(BookFile)) &&
      !orivel::AskYes(this, orivel::messages::overwriteFile(chosen.fileName())))
    return;
  if (!SaveBookFile(path)) {
    orivel::ShowError(this, orivel::messages::saveFailed());
    return;
  }
  BookFile = chosen.absoluteFilePath();
  Modified = false;
}

void TForm1::N2Click() {
  // The book is replaced only by an accepted file, so answering Yes discards nothing yet.
  if (Modified && !orivel::AskYes(this, orivel::messages::bookChangedLoad())) return;
  const QString path = orivel::dialogs().openFileName(this, kBookFilter, BookFile);
  if (path.isEmpty()) return;
  OpenBookFile(path);
}

void TForm1::OpenBookFile(const QString& path) {
  OpenBookFile(orivel::filePath(path));
}

void TForm1::OpenBookFile(const std::filesystem::path& path) {
  if (LoadBookFile(path)) {
    BookFile = QFileInfo(orivel::fileNameText(path)).absoluteFilePath();
    Modified = false;
    CheckListBox1->scrollToTop();  // a new book is read from its first line
    return;
  }
  orivel::ShowError(this, orivel::messages::loadFailed());
}

bool TForm1::SaveBookFile(const QString& path) {
  return orivel::SaveBook(Book, orivel::filePath(path));
}

bool TForm1::LoadBookFile(const QString& path) {
  return LoadBookFile(orivel::filePath(path));
}

bool TForm1::LoadBookFile(const std::filesystem::path& path) {
  const orivel::BookLoadResult result = orivel::LoadBook(path, Book);
  const QString refusal = orivel::messages::bookRefusal(result);
  if (!refusal.isEmpty()) orivel::ShowError(this, refusal);
  return result.ok();
}
