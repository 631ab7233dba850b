#include "common/Messages.h"

namespace orivel::messages {

QString newerVersion(const QString& version) {
  return QStringLiteral("データが新しいバージョンです（") + version + QStringLiteral("）");
}

QString unusableCharacterOnLine(int line) {
  return QStringLiteral("%1行目に使用できない文字があります。").arg(line);
}

QString importLeftOut(int leftOut) {
  if (leftOut <= 0) return {};
  return QStringLiteral("登録できる件数（300件）を超えたため、%1件は読み込まれませんでした。")
      .arg(leftOut);
}

QString unusableCharacter(const QString& character) {
  return QStringLiteral("「%1」は使用できない文字です。").arg(character);
}

QString badSettings(const QStringList& valueNames) {
  QString names;
  for (const QString& name : valueNames) names += QStringLiteral("「%1」").arg(name);
  return QStringLiteral("設定値%1が正しくないため、初期値を使います。").arg(names);
}

}  // namespace orivel::messages
