#include "common/Messages.h"

#include <QList>

#include "common/Codec.h"

namespace orivel::messages {
namespace {

// 「X」(U+XXXX): the character and its code point, at least four hexadecimal digits.
QString namedCharacter(const QString& character) {
  const QList<uint> points = character.toUcs4();
  const uint point = points.isEmpty() ? 0 : points.front();
  return QStringLiteral("「%1」(U+%2)")
      .arg(character, QString::number(point, 16).toUpper().rightJustified(4, QLatin1Char('0')));
}

}  // namespace

QString unusableCharacter(const QString& character) {
  return namedCharacter(character) + QStringLiteral("は使用できない文字です。");
}

QString unusableCharacterOnLine(int line, const QString& character) {
  return QStringLiteral("%1行目の").arg(line) + unusableCharacter(character);
}

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
      return unusableCharacterOnLine(
          read.badLine,
          codec::firstUnencodable(QString::fromUtf8(
              read.badLineUtf8.data(), static_cast<qsizetype>(read.badLineUtf8.size()))));
    default:
      return {};
  }
}

QString importLeftOut(int leftOut) {
  if (leftOut <= 0) return {};
  return QStringLiteral("登録できる件数（300件）を超えたため、%1件は読み込まれませんでした。")
      .arg(leftOut);
}

}  // namespace orivel::messages
