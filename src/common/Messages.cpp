#include "common/Messages.h"

#include "common/Codec.h"

namespace orivel::messages {

QString bookRefusal(const BookLoadResult& result) {
  switch (result.status) {
    case BookLoadStatus::NotFound:
      return fileMissing();
    case BookLoadStatus::WrongVersion:
      return QStringLiteral("データが新しいバージョンです（") + codec::toQString(result.version) +
             QStringLiteral("）");
    case BookLoadStatus::Loaded:
    case BookLoadStatus::CountOutOfRange:
    case BookLoadStatus::ReadFailed:
      break;
  }
  return {};
}

QString csvReadFailure(const CsvRead& read) {
  switch (read.status) {
    case CsvRead::Status::NotFound:
      return fileMissing();
    case CsvRead::Status::CannotOpen:
      return loadFailed();
    case CsvRead::Status::Unencodable:
      return QStringLiteral("%1行目に使用できない文字があります。").arg(read.badLine);
    default:
      return {};
  }
}

QString importLeftOut(int leftOut) {
  if (leftOut <= 0) return {};
  return QStringLiteral("登録できる件数（300件）を超えたため、%1件は読み込まれませんでした。")
      .arg(leftOut);
}

// CSV export and the postal code dictionary.

QString csvExportRefusal(const CsvExportResult& result) {
  if (result.status != CsvExportResult::Status::Refused) return {};
  const int line = result.entry + 1;
  if (result.reason == CsvExportResult::Reason::EmptyName)
    return QStringLiteral("%1件目の名前が空のため書き出せません。").arg(line);
  QString field;
  switch (result.field) {
    case CsvField::Name:
      field = QStringLiteral("名前");
      break;
    case CsvField::ZipCode:
      field = QStringLiteral("郵便番号");
      break;
    case CsvField::Address:
      field = QStringLiteral("住所");
      break;
    case CsvField::Honorific:
      field = QStringLiteral("敬称");
      break;
  }
  QString what;
  switch (result.reason) {
    case CsvExportResult::Reason::Comma:
      what = QStringLiteral("「,」");
      break;
    case CsvExportResult::Reason::LineBreak:
      what = QStringLiteral("改行");
      break;
    default:
      what = QStringLiteral("制御文字");
      break;
  }
  return QStringLiteral("%1件目の%2に%3があるため書き出せません。").arg(line).arg(field, what);
}

QString addressProblem(postal::Problem problem) {
  switch (problem) {
    case postal::Problem::Missing:
      return QStringLiteral("郵便番号がありません");
    case postal::Problem::Malformed:
      return QStringLiteral("郵便番号が7桁ではありません");
    case postal::Problem::Unknown:
      return QStringLiteral("辞書にない郵便番号です");
    case postal::Problem::City:
      return QStringLiteral("住所の市区町村が郵便番号と合いません");
    case postal::Problem::Town:
      return QStringLiteral("住所の町域が郵便番号と合いません");
  }
  return {};
}

}  // namespace orivel::messages
