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
  const Read<int> read = readInteger(name);
  if (read.status != ReadStatus::Read) return std::nullopt;
  return read.value;
}

bool ProfileStore::writeInt(const QString& name, int value) {
  return writeValues({{name, value}});
}

QVariant ProfileStore::stored(const QString& name) const {
  return settings_ ? settings_->value(name) : QVariant();
}

ProfileStore::Read<int> ProfileStore::readInteger(const QString& name) const {
  Read<int> read;
  const QVariant value = stored(name);
  if (!value.isValid()) return read;
  read.status = ReadStatus::WrongType;
  // A store on disk gives integers back as text; the registry as integers. Bytes are not
  // an integer, whatever they hold.
  if (value.typeId() == QMetaType::QByteArray) return read;
  bool ok = false;
  read.value = value.toString().trimmed().toInt(&ok);
  if (ok) read.status = ReadStatus::Read;
  return read;
}

ProfileStore::Read<QByteArray> ProfileStore::readBytes(const QString& name) const {
  Read<QByteArray> read;
  const QVariant value = stored(name);
  if (!value.isValid()) return read;
  read.status = ReadStatus::WrongType;
  if (value.typeId() != QMetaType::QByteArray) return read;
  read.status = ReadStatus::Read;
  read.value = value.toByteArray();
  return read;
}

bool ProfileStore::writeValues(const Values& values) {
  if (!settings_) return false;
  for (const auto& [name, value] : values) settings_->setValue(name, value);
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

}  // namespace orivel
