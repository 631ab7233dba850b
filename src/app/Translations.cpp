#include "app/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace orivel::app {

QtTranslations::QtTranslations(const QString& folder) {
  if (!translator_.load(QStringLiteral("qtbase_ja"), folder)) return;
  installed_ = QCoreApplication::installTranslator(&translator_);
  if (installed_) QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
}

QtTranslations::~QtTranslations() {
  if (!installed_) return;
  QCoreApplication::removeTranslator(&translator_);
  QLocale::setDefault(previousLocale_);
}

QString QtTranslations::installedFolder() {
  return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
}

}  // namespace orivel::app
