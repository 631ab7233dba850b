#pragma once

#include <QString>
#include <QStringList>

// The program's own texts for the user, shared by the windows and orivel-cli so that both
// say the same thing in the same case. This module depends on nothing but Qt's strings:
// the messages that depend on a file command's result are worded in files/FileMessages.h
// from the plain values given here.
namespace orivel::messages {

// Files. The file dialogs' filters: "Text(*.a)|*.a|Other(*.*)|*.*".
inline QString bookFileFilter() {
  return QStringLiteral("オリベルファイル(*.orv)|*.orv|全てのファイル(*.*)|*.*");
}
inline QString fileMissing() {
  return QStringLiteral("ファイルがありません");
}
inline QString loadFailed() {
  return QStringLiteral("読み込みに失敗しました。");
}
inline QString saveFailed() {
  return QStringLiteral("保存に失敗しました。");
}
// A book file of another version, with the version it names (decoded).
QString newerVersion(const QString& version);
// A CSV line holding a character code page 932 cannot hold, named as unusableCharacter
// names it: 3行目の「𠮷」(U+20BB7)は使用できない文字です。
QString unusableCharacterOnLine(int line, const QString& character);
inline QString fileTooLarge() {
  return QStringLiteral("ファイルが大きすぎます。");
}
// A CSV line naming an addressee by a name the book file cannot keep:
// 3行目の「0」という名前は保存できません。
QString nameNotKeptOnLine(int line);
// The notice for addressees left out because the book is full; empty when none were.
QString importLeftOut(int leftOut);
// The notice for records of another program's book that name nobody; empty when none.
QString importNameless(int nameless);
inline QString bookChangedLoad() {
  return QStringLiteral("データが変更されています。？");
}
inline QString bookChangedQuit() {
  return QStringLiteral("データが変更されています。終了してよろしいですか？");
}

// The address book.
inline QString bookFull() {
  return QStringLiteral("登録できる件数は300件までです。");
}
inline QString confirmDelete() {
  return QStringLiteral("本当に削除してよろしいですか？");
}
inline QString nameRequired() {
  return QStringLiteral("名前の入力は必須です。");
}
// A name the book file would read back as a missing entry, so that it would be lost.
inline QString nameNotKept() {
  return QStringLiteral("「0」という名前は保存できません。");
}
// A typed character code page 932 cannot hold, named with its code point so that it can
// be told even where the font has no glyph for it, and with the character commonly written
// in its place when there is one: 「𠮷」(U+20BB7)は使用できない文字です。「吉」で代用できます。
QString unusableCharacter(const QString& character);
// The character commonly written for `character` that code page 932 holds; empty if none.
QString substituteFor(const QString& character);
// The entry editor's offer after the refusal: 「𠮷」を「吉」に置き換えますか？
inline QString replaceWithSubstitute(const QString& character, const QString& substitute) {
  return QStringLiteral("「%1」を「%2」に置き換えますか？").arg(character, substitute);
}
inline QString zipIncomplete() {
  return QStringLiteral("郵便番号を正しく入力してください。");
}

// 保存 onto a file that is not the book's own: 「家族.orv は既にあります。上書きしますか？」
inline QString overwriteFile(const QString& fileName) {
  return QStringLiteral("%1 は既にあります。上書きしますか？").arg(fileName);
}

// Printing.
// Before the calibration card goes to the printer.
inline QString loadCalibrationCard() {
  return QStringLiteral("はがきを1枚、宛名面を印刷する向きでセットしてください。印刷しますか？");
}
inline QString nothingToPreview() {
  return QStringLiteral("プレビューする項目が未設定です");
}
inline QString nothingToPrint() {
  return QStringLiteral("印刷する項目が未設定です");
}
// After every ticked card printed: 印刷した12件を2027年の「送」に記録しますか？
inline QString recordPrintedAsSent(int count, int season) {
  return QStringLiteral("印刷した%1件を%2年の「送」に記録しますか？").arg(count).arg(season);
}
// The reason follows on a line of its own when the print system or Qt gave one.
inline QString printFailed(const QString& reason = {}) {
  const QString failed = QStringLiteral("印刷できませんでした。");
  return reason.isEmpty() ? failed : failed + QLatin1Char('\n') + reason;
}
// Why a card could not go to a printer.
inline QString noDefaultPrinter() {
  return QStringLiteral("既定のプリンターがありません。");
}
inline QString noSuchPrinter(const QString& printer) {
  return QStringLiteral("プリンター「%1」が見つかりません。").arg(printer);
}
inline QString printerNotOpened() {
  return QStringLiteral("プリンターを開けませんでした。");
}
inline QString printJobNotAccepted() {
  return QStringLiteral("印刷ジョブが受け付けられませんでした。");
}
// The print system itself is not there to ask (CUPS not running, say).
inline QString printSystemUnreachable() {
  return QStringLiteral("印刷システム（CUPS）に接続できませんでした。");
}
// Before the first card: a printer, named as the system shows it, that cannot take postcards.
inline QString noPostcardPaper(const QString& printer) {
  return QStringLiteral("「%1」ははがきの用紙に対応していません。").arg(printer);
}
inline QString printerStopped(const QString& printer) {
  return QStringLiteral("「%1」は停止しています。").arg(printer);
}
inline QString printerNotAccepting(const QString& printer) {
  return QStringLiteral("「%1」は印刷を受け付けていません。").arg(printer);
}
// A typeface asked for by name that is not installed, or does not cover Japanese.
inline QString unknownFace(const QString& family) {
  return QStringLiteral("書体「%1」が見つかりません。日本語の書体の名前を指定してください。")
      .arg(family);
}
// While the cards go to the printer: 印刷中 12 / 300, with a button to stop.
inline QString printingProgress(int printed, int total) {
  return QStringLiteral("印刷中 %1 / %2").arg(printed).arg(total);
}
inline QString stopPrinting() {
  return QStringLiteral("中止");
}
// After 中止: 300枚のうち12枚を印刷しました。
inline QString printStopped(int printed, int total) {
  return QStringLiteral("印刷を中止しました。%1枚のうち%2枚を印刷しました。")
      .arg(total)
      .arg(printed);
}

// Sender users.
inline QString userUnreadable() {
  return QStringLiteral("ユーザー情報を読み込めませんでした。");
}
inline QString userLimitReached() {
  return QStringLiteral("ユーザーの最大数を越えました\r\n新しい追加は出来ません");
}
inline QString settingsNotSaved() {
  return QStringLiteral("設定を保存できませんでした。");
}
inline QString userNotRegistered(int user) {
  return QStringLiteral("ユーザー%1は登録されていません。").arg(user);
}
// The notice for values of the user store that read as their initial values, each named.
QString badSettings(const QStringList& valueNames);

// An error that reached the event loop without a message of its own.
inline QString unexpectedError() {
  return QStringLiteral("予期しないエラーが発生しました。");
}

// CSV export and the postal code dictionary.
inline QString csvExportFilter() {
  return QStringLiteral("CSVファイル (*.csv)|*.csv|vCard (*.vcf)|*.vcf");
}
// The import's dialog; a vCard file is chosen under 全てのファイル.
inline QString importFileFilter() {
  return QStringLiteral("ＣＳＶファイル(*.csv)|*.csv|全てのファイル(*.*)|*.*");
}
inline QString unknownImportFormat() {
  return QStringLiteral("読み込めない形式です");
}
inline QString postalDictionaryMissing() {
  return QStringLiteral("郵便番号辞書が見つかりません。");
}
inline QString noAddressProblems() {
  return QStringLiteral("問題は見つかりませんでした。");
}

}  // namespace orivel::messages
