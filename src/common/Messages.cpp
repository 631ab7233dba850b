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

QString badSettings(const QStringList& valueNames) {
  QString names;
  for (const QString& name : valueNames) names += QStringLiteral("「%1」").arg(name);
  return QStringLiteral("設定値%1が正しくないため、初期値を使います。").arg(names);
}

}  // namespace orivel::messages
