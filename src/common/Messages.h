#pragma once

#include <QString>

#include "files/BookFile.h"
#include "files/CsvImport.h"

// The messages of the file and print commands, shared by the windows and orivel-cli so
// that both say the same thing in the same case.
namespace orivel::messages {

inline QString fileMissing() {
  return QStringLiteral("ファイルがありません");
}
inline QString loadFailed() {
  return QStringLiteral("読み込みに失敗しました。");
}
inline QString saveFailed() {
  return QStringLiteral("保存に失敗しました。");
}
inline QString nothingToPrint() {
  return QStringLiteral("印刷する項目が未設定です");
}
inline QString printFailed() {
  return QStringLiteral("印刷できませんでした。");
}

// What is said about a refused book file before "読み込みに失敗しました。"; empty when
// nothing more is said (a count out of range, an unreadable file) or the book loaded.
QString bookRefusal(const BookLoadResult& result);

// What is said when the CSV file could not be read for the import; empty when it was read.
QString csvReadFailure(const CsvRead& read);

inline QString zipIncomplete() {
  return QStringLiteral("郵便番号を正しく入力してください。");
}

// A character code page 932 cannot hold, named with its code point so that it can be
// told even where the font has no glyph for it: 「𠮷」(U+20BB7)は使用できない文字です。
QString unusableCharacter(const QString& character);
// The same for a line of a CSV file: 3行目の「𠮷」(U+20BB7)は使用できない文字です。
QString unusableCharacterOnLine(int line, const QString& character);

// The notice for addressees left out because the book is full; empty when none were.
QString importLeftOut(int leftOut);

}  // namespace orivel::messages
