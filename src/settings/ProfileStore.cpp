#include "settings/ProfileStore.h"

#include <QFileInfo>
#include <QSettings>

#include "settings/SenderRules.h"

namespace orivel {
bool ProfileStore::exists() {
#ifdef Q_OS_WIN
  QSettings parent(QStringLiteral("HKEY_CURRENT_USER\\Software\\") + kOrganisation,
                   QSettings::NativeFormat);
  return parent.childGroups().contains(kApplication, Qt::CaseInsensitive);
#else
  QSettings probe(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, kApplication);
  return QFileInfo(probe.fileName()).isFile();
#endif
}

ProfileStore::InstallResult ProfileStore::install() {
  if (exists()) return InstallResult::AlreadyThere;
  {
    QSettings store(QSettings::NativeFormat, QSettings::UserScope, kOrganisation, kApplication);
    for (const StoreValue& v : kInitialStore) store.setValue(QLatin1String(v.name), v.value);
    store.sync();
    if (store.status() != QSettings::NoError) return InstallResult::Failed;
  }
  return exists() ? InstallResult::Created : InstallResult::Failed;
}

ProfileStore::ProfileStore() {
  if (exists())
    settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            kOrganisation, kApplication);
}

ProfileStore::~ProfileStore() = default;

std::optional<int> ProfileStore::readInt(const QString& name) const {
  if (!settings_) return std::nullopt;
  const QVariant value = settings_->value(name);
  if (!value.isValid()) return std::nullopt;
  bool ok = false;
  const int n = value.toString().trimmed().toInt(&ok);
  if (!ok) return std::nullopt;
  return n;
}

bool ProfileStore::writeInt(const QString& name, int value) {
  if (!settings_) return false;
  settings_->setValue(name, value);
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

}  // namespace orivel
