#pragma once

#include <QString>

#include "files/BookFile.h"
#include "files/CsvImport.h"

// The messages of the file and print commands, shared by the windows and orivel-cli so
// that both say the same thing in the same case.
namespace orivel::messages {

inline QString fileMissing() { return QStringLiteral("ファイルがありません"); }
inline QString loadFailed() { return QStringLiteral("読み込みに失敗しました。"); }
inline QString saveFailed() { return QStringLiteral("保存に失敗しました。"); }
inline QString nothingToPrint() { return QStringLiteral("印刷する項目が未設定です"); }
inline QString printFailed() { return QStringLiteral("印刷できませんでした。"); }

// What is said about a refused book file before "読み込みに失敗しました。"; empty when
// nothing more is said (a count out of range, an unreadable file) or the book loaded.
QString bookRefusal(const BookLoadResult& result);

// What is said when the CSV file could not be read for the import; empty when it was read.
QString csvReadFailure(const CsvRead& read);

// The notice for addressees left out because the book is full; empty when none were.
QString importLeftOut(int leftOut);

}  // namespace orivel::messages
