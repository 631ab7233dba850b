#include "common/Messages.h"

#include <QList>

#include "book/Substitutes.h"

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

QString newerVersion(const QString& version) {
  return QStringLiteral("データが新しいバージョンです（") + version + QStringLiteral("）");
}

QString unusableCharacterOnLine(int line, const QString& character) {
  return QStringLiteral("%1行目の").arg(line) + unusableCharacter(character);
}

QString nameNotKeptOnLine(int line) {
  return QStringLiteral("%1行目の").arg(line) + nameNotKept();
}

QString importLeftOut(int leftOut) {
  if (leftOut <= 0) return {};
  return QStringLiteral("登録できる件数（300件）を超えたため、%1件は読み込まれませんでした。")
      .arg(leftOut);
}

QString importNameless(int nameless) {
  if (nameless <= 0) return {};
  return QStringLiteral("名前のない%1件は読み込みませんでした。").arg(nameless);
}

QString unusableCharacter(const QString& character) {
  const QString refused = namedCharacter(character) + QStringLiteral("は使用できない文字です。");
  const QString substitute = substituteFor(character);
  return substitute.isEmpty() ? refused
                              : refused + QStringLiteral("「%1」で代用できます。").arg(substitute);
}

QString substituteFor(const QString& character) {
  const QList<uint> points = character.toUcs4();
  if (points.size() != 1) return {};
  const std::optional<char32_t> substitute = CommonSubstitute(points.front());
  if (!substitute) return {};
  const char32_t ucs4 = *substitute;
  return QString::fromUcs4(&ucs4, 1);
}

QString badSettings(const QStringList& valueNames) {
  QString names;
  for (const QString& name : valueNames) names += QStringLiteral("「%1」").arg(name);
  return QStringLiteral("設定値%1が正しくないため、初期値を使います。").arg(names);
}

}  // namespace orivel::messages
