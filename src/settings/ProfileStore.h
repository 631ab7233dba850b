#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class QSettings;

namespace orivel {

// The per-user store of sender users: organisation "Quillmere", application "ORIVEL" in
// the native format (HKEY_CURRENT_USER\Software\Quillmere\ORIVEL on Windows, a file under
// the user's configuration folder elsewhere). Each operation opens it anew; opening never
// creates it.
class ProfileStore {
 public:
  // The store's organisation and application names.
  static inline const QString kOrganisation = QStringLiteral("Quillmere");
  static inline const QString kApplication = QStringLiteral("ORIVEL");

  // Opens the store if it exists. isOpen() tells whether it did.
  ProfileStore();
  ~ProfileStore();
  ProfileStore(const ProfileStore&) = delete;
  ProfileStore& operator=(const ProfileStore&) = delete;

  static bool exists();

  enum class InstallResult { Created, AlreadyThere, Failed };
  // What an installer does once: creates the store with its initial values (user_count 0,
  // max_user_count 5, now_user -1) when it does not exist yet. An existing store is
  // never touched.
  static InstallResult install();

  bool isOpen() const { return settings_ != nullptr; }
  // An integer value as readInteger reads it; nullopt when the store is closed, the value is
  // missing or not an integer.
  std::optional<int> readInt(const QString& name) const;
  // Writes an integer value. False when the store is closed or could not be written.
  bool writeInt(const QString& name, int value);

  // How a typed read went: the value, or why there is none.
  enum class ReadStatus { Read, Missing, WrongType };
  template <typename T>
  struct Read {
    ReadStatus status = ReadStatus::Missing;
    T value{};
  };
  // An integer value (a decimal integer of any stored type but bytes).
  Read<int> readInteger(const QString& name) const;
  // A binary value: the bytes exactly as written with writeValues.
  Read<QByteArray> readBytes(const QString& name) const;

  // Writes the values in one go: integers as integers, QByteArray as binary. False when
  // the store is closed or could not be written.
  using Values = std::vector<std::pair<QString, QVariant>>;
  bool writeValues(const Values& values);

 private:
  // The stored value, or an invalid one when the store is closed or holds no such value.
  QVariant stored(const QString& name) const;

  std::unique_ptr<QSettings> settings_;
};

}  // namespace orivel
