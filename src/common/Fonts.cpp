#include "common/Fonts.h"

#include <QStringList>

namespace orivel::fonts {
namespace {

QFont make(const QStringList& families, QFont::StyleHint hint, int pixelSize) {
  QFont font;
  font.setFamilies(families);
  font.setStyleHint(hint);
  font.setPixelSize(pixelSize);
  return font;
}

}  // namespace

QFont proportionalGothic(int pixelSize) {
  return make(
      {QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"), QStringLiteral("IPAGothic"),
       QStringLiteral("Noto Sans CJK JP"), QStringLiteral("MS PGothic")},
      QFont::SansSerif, pixelSize);
}

QFont fixedGothic(int pixelSize) {
  return make({QStringLiteral("IPAGothic"), QStringLiteral("IPAexGothic"),
               QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("MS Gothic")},
              QFont::TypeWriter, pixelSize);
}

QFont proportionalMincho(int pixelSize) {
  return make(
      {QStringLiteral("IPAPMincho"), QStringLiteral("IPAexMincho"), QStringLiteral("IPAMincho"),
       QStringLiteral("Noto Serif CJK JP"), QStringLiteral("MS PMincho")},
      QFont::Serif, pixelSize);
}

}  // namespace orivel::fonts
