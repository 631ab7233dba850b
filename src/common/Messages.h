#pragma once

#include <QString>
#include <QStringList>

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

// The messages of the sender settings and their users.
inline QString userLimit() {
  return QStringLiteral("ユーザーの最大数を越えました\r\n新しい追加は出来ません");
}
inline QString usersUnreadable() {
  return QStringLiteral("ユーザー情報を読み込めませんでした。");
}
inline QString settingsNotSaved() {
  return QStringLiteral("設定を保存できませんでした。");
}
inline QString userNotRegistered(int user) {
  return QStringLiteral("ユーザー%1は登録されていません。").arg(user);
}
// The notice for values of the user store that read as their initial values, each named.
QString badSettings(const QStringList& valueNames);

// What is said about a refused book file before "読み込みに失敗しました。"; empty when
// nothing more is said (a count out of range, an unreadable file) or the book loaded.
QString bookRefusal(const BookLoadResult& result);

// What is said when the CSV file could not be read for the import; empty when it was read.
QString csvReadFailure(const CsvRead& read);

// The notice for addressees left out because the book is full; empty when none were.
QString importLeftOut(int leftOut);

}  // namespace orivel::messages
