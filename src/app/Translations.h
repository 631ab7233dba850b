#pragma once

#include <QLocale>
#include <QString>
#include <QTranslator>

// Qt's own texts (message-box buttons, file dialogs, the edit boxes' menu) in Japanese,
// whatever the system language, as the rest of the interface is.
namespace orivel::app {

// Loads qtbase_ja from the folder and installs it for the lifetime of this object, with
// Japanese as the default locale (dates and file types in the file dialogs). Where the file
// is missing or unreadable nothing is installed and nothing is said: Qt stays English.
class QtTranslations final {
 public:
  explicit QtTranslations(const QString& folder = installedFolder());
  ~QtTranslations();
  QtTranslations(const QtTranslations&) = delete;
  QtTranslations& operator=(const QtTranslations&) = delete;

  bool installed() const { return installed_; }

  // Where Debian's qt6-translations-l10n puts them, as Qt itself was built to look.
  static QString installedFolder();

 private:
  QTranslator translator_;
  QLocale previousLocale_;
  bool installed_ = false;
};

}  // namespace orivel::app
