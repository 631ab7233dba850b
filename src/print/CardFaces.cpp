#include "print/CardFaces.h"

#include <fontconfig/fontconfig.h>

#include <QCollator>
#include <QLocale>
#include <algorithm>

namespace orivel {
namespace {

QString text(const FcChar8* value) {
  return QString::fromUtf8(reinterpret_cast<const char*>(value));
}

// The face that one font file of fontconfig's list gives: its family names with their
// languages.
std::optional<CardFace> faceOf(FcPattern* font) {
  CardFace face;
  QString english;
  for (int i = 0;; ++i) {
    FcChar8* family = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, i, &family) != FcResultMatch) break;
    FcChar8* lang = nullptr;
    const QString language =
        FcPatternGetString(font, FC_FAMILYLANG, i, &lang) == FcResultMatch ? text(lang) : QString();
    const QString name = text(family);
    face.names << name;
    if (english.isEmpty() && language.startsWith(QLatin1String("en"))) english = name;
    if (face.japaneseName.isEmpty() && language.startsWith(QLatin1String("ja")))
      face.japaneseName = name;
  }
  if (face.names.isEmpty()) return std::nullopt;
  face.family = english.isEmpty() ? face.names.front() : english;
  if (face.japaneseName.isEmpty()) face.japaneseName = face.family;
  return face;
}

}  // namespace

std::vector<CardFace> JapaneseFaces() {
  std::vector<CardFace> faces;
  if (!FcInit()) return faces;
  FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(":lang=ja:outline=true"));
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, nullptr);
  FcFontSet* fonts = FcFontList(nullptr, pattern, objects);
  FcObjectSetDestroy(objects);
  FcPatternDestroy(pattern);
  for (int i = 0; fonts && i < fonts->nfont; ++i) {
    std::optional<CardFace> face = faceOf(fonts->fonts[i]);
    if (!face) continue;
    const auto same = [&](const CardFace& f) { return f.family == face->family; };
    const auto known = std::find_if(faces.begin(), faces.end(), same);
    if (known == faces.end()) {
      faces.push_back(*face);
    } else {
      for (const QString& name : face->names)
        if (!known->names.contains(name)) known->names << name;
    }
  }
  if (fonts) FcFontSetDestroy(fonts);
  QCollator collator{QLocale(QLocale::Japanese, QLocale::Japan)};
  std::sort(faces.begin(), faces.end(), [&](const CardFace& a, const CardFace& b) {
    return collator.compare(a.japaneseName, b.japaneseName) < 0;
  });
  return faces;
}

std::optional<CardFace> FindCardFace(const QString& name) {
  for (const CardFace& face : JapaneseFaces())
    for (const QString& known : face.names)
      if (known.compare(name, Qt::CaseInsensitive) == 0) return face;
  return std::nullopt;
}

}  // namespace orivel
