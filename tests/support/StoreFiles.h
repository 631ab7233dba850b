#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QByteArray>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QVariant>
#include <csignal>
#include <initializer_list>
#include <utility>

// The user store as a file: its bytes, values of any type written by hand, and a store
// that cannot be written.
namespace orivel::test {

// Asked once: a settings object would write what an earlier failed write left pending.
inline QString storeFileName() {
  static const QString name = QSettings(QSettings::NativeFormat, QSettings::UserScope,
                                        QStringLiteral("Quillmere"), QStringLiteral("ORIVEL"))
                                  .fileName();
  return name;
}

inline QByteArray storeBytes() {
  QFile f(storeFileName());
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Values of any type, as another program or an earlier version may have left them.
inline void writeStoreValues(std::initializer_list<std::pair<const char*, QVariant>> values) {
  QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quillmere"),
              QStringLiteral("ORIVEL"));
  for (const auto& [name, value] : values) s.setValue(QLatin1String(name), value);
  s.sync();
}

// A value as the store's file holds it, read through a copy of the file that no settings
// object of this process has seen: what a new process would read.
inline QVariant valueOnDisk(const char* name) {
  QTemporaryDir dir;
  const QString copy = dir.filePath(QStringLiteral("copy.conf"));
  if (!QFile::copy(storeFileName(), copy)) return {};
  return QSettings(copy, QSettings::IniFormat).value(QLatin1String(name));
}

// While it lives, no file of this process can grow, for root too: every write of the store
// fails as on a full disk.
class FilesCannotGrow {
 public:
  FilesCannotGrow() {
    getrlimit(RLIMIT_FSIZE, &old_);
    previous_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit none = old_;
    none.rlim_cur = 0;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &none), 0);
  }
  ~FilesCannotGrow() {
    setrlimit(RLIMIT_FSIZE, &old_);
    std::signal(SIGXFSZ, previous_);
  }
  FilesCannotGrow(const FilesCannotGrow&) = delete;
  FilesCannotGrow& operator=(const FilesCannotGrow&) = delete;

 private:
  rlimit old_{};
  void (*previous_)(int) = nullptr;
};

}  // namespace orivel::test
