#include "files/FileMessages.h"

#include "common/Codec.h"
#include "common/Messages.h"

namespace orivel::messages {

QString bookRefusal(const BookLoadResult& result) {
  switch (result.status) {
    case BookLoadStatus::NotFound:
      return fileMissing();
    case BookLoadStatus::WrongVersion:
      return newerVersion(codec::toQString(result.version));
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
    case CsvRead::Status::TooLarge:
      return fileTooLarge();
    case CsvRead::Status::NameNotKept:
      return nameNotKeptOnLine(read.badLine);
    case CsvRead::Status::Unencodable:
      return unusableCharacterOnLine(
          read.badLine,
          codec::firstUnencodable(QString::fromUtf8(
              read.badLineUtf8.data(), static_cast<qsizetype>(read.badLineUtf8.size()))));
    default:
      return {};
  }
}

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
    case CsvField::JointName:
      field = QStringLiteral("連名");
      break;
    case CsvField::JointHonorific:
      field = QStringLiteral("連名の敬称");
      break;
    case CsvField::Company:
      field = QStringLiteral("会社名");
      break;
    case CsvField::Department:
      field = QStringLiteral("部署");
      break;
    case CsvField::Title:
      field = QStringLiteral("役職");
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

}  // namespace orivel::messages
