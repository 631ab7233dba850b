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

QString foreignReadFailure(const ImportRead& read) {
  // 3行目の… for a CSV line, 2件目の… for a card of a vCard file.
  const QString where = read.whereIsCard ? QStringLiteral("%1件目の").arg(read.where)
                                         : QStringLiteral("%1行目の").arg(read.where);
  switch (read.status) {
    case ImportRead::Status::Read:
      return {};
    case ImportRead::Status::UnknownFormat:
      return unknownImportFormat();
    case ImportRead::Status::Malformed:
      return where + (read.whereIsCard
                          ? QStringLiteral("カードに END:VCARD がないため読み込めません。")
                          : QStringLiteral("「\"」が閉じていないため読み込めません。"));
    case ImportRead::Status::InvalidText:
      return where + QStringLiteral("文字コードが正しくないため読み込めません。");
    case ImportRead::Status::Unencodable:
      return where + unusableCharacter(QString::fromStdString(read.badCharacter));
    case ImportRead::Status::NameNotKept:
      return where + nameNotKept();
  }
  return {};
}

QString importFailure(const ImportOutcome& outcome) {
  const QString csv = csvReadFailure(outcome.csv);
  return csv.isEmpty() ? foreignReadFailure(outcome.foreign) : csv;
}

QStringList importNotices(const ImportOutcome& outcome) {
  QStringList notices;
  for (const QString& notice :
       {importNameless(outcome.foreign.nameless), importLeftOut(outcome.appended.leftOut)})
    if (!notice.isEmpty()) notices << notice;
  return notices;
}

QString importFileFailure(FileReadStatus status) {
  switch (status) {
    case FileReadStatus::Ok:
      return {};
    case FileReadStatus::NotFound:
      return fileMissing();
    case FileReadStatus::TooLarge:
      return fileTooLarge();
    case FileReadStatus::Unreadable:
      break;
  }
  return loadFailed();
}

QString vcardExportFailure(const VCardExportResult& result) {
  switch (result.status) {
    case VCardExportResult::Status::Written:
      return {};
    case VCardExportResult::Status::Refused:
      return QStringLiteral("%1件目に読めない文字があるため書き出せません。").arg(result.entry + 1);
    case VCardExportResult::Status::WriteFailed:
      break;
  }
  return saveFailed();
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
