#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace orivel::app {

QtTranslations::QtTranslations(const QString& folder) {
  if (translator_.load(QStringLiteral("qtbase_ja"), folder))
    installed_ = QCoreApplication::installTranslator(&translator_);
}

QtTranslations::~QtTranslations() {
  if (installed_) QCoreApplication::removeTranslator(&translator_);
}

QString QtTranslations::installedFolder() {
  return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

}  // namespace orivel::app
