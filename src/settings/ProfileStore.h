#pragma once

#include <QString>
#include <memory>
#include <optional>

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
  // An integer value; nullopt when the store is closed, the value is missing or not an integer.
  std::optional<int> readInt(const QString& name) const;
  // Writes an integer value. False when the store is closed or could not be written.
  bool writeInt(const QString& name, int value);

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace orivel
