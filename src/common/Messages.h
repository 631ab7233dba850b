#pragma once

#include <QString>

#include "files/BookFile.h"
#include "files/CsvExport.h"
#include "files/CsvImport.h"
#include "postal/AddressCheck.h"

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

// The notice for addressees left out because the book is full; empty when none were.
QString importLeftOut(int leftOut);

// CSV export and the postal code dictionary.
inline QString csvExportFilter() {
  return QStringLiteral("CSVファイル (*.csv)|*.csv");
}
inline QString postalDictionaryMissing() {
  return QStringLiteral("郵便番号辞書が見つかりません。");
}
inline QString noAddressProblems() {
  return QStringLiteral("問題は見つかりませんでした。");
}
// Why the export wrote nothing, e.g. "3件目の住所に「,」があるため書き出せません。"; empty
// unless the result is Refused.
QString csvExportRefusal(const CsvExportResult& result);
// What a finding of the address check says, in the findings window.
QString addressProblem(postal::Problem problem);

}  // namespace orivel::messages
