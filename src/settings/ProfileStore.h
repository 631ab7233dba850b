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
  // Opens the store if it exists. isOpen() tells whether it did.
  ProfileStore();
  ~ProfileStore();
  ProfileStore(const ProfileStore&) = delete;
  ProfileStore& operator=(const ProfileStore&) = delete;

  static bool exists();

  bool isOpen() const { return settings_ != nullptr; }
  // An integer value; nullopt when the store is closed, the value is missing or not an integer.
  std::optional<int> readInt(const QString& name) const;
  // Writes an integer value. False when the store is closed or could not be written.
  bool writeInt(const QString& name, int value);

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace orivel
