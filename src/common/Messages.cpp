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

}  // namespace orivel::messages
