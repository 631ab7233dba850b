#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <optional>
#include <set>

#include "settings/usertype.h"

// The sender profiles in the user store: one usertype for each user k from 1 to
// user_count, and profile 0 for the settings kept while no user is set. Windows and
// orivel-cli reach the profiles only through here.
namespace orivel {

struct ProfileRead {
  usertype user;
  // The values that were there but read as their initial value: of another type, or out
  // of range. Missing values (a store from before profiles) read as initial silently.
  QStringList badValues;
};

// now_user; -1 when no user is set, the store is missing or the value cannot be read.
int ReadNowUser();

// user_name_k of user `user`; nullopt when it is missing or cannot be read.
std::optional<int> ReadUserName(int user);

// The store's user_count and max_user_count; nullopt where a value cannot be read.
struct UserCounts {
  std::optional<int> count;
  std::optional<int> max;
};
UserCounts ReadUserCounts();

// Whether `user` is one of the users added so far (1 to user_count).
bool IsRegisteredUser(int user);

// Reads the profile that holds user `nowUser`'s settings (profile 0 for -1).
ProfileRead ReadProfile(int nowUser);

// Which values of a profile a write takes.
struct ProfileFields {
  bool name = false;
  bool zip_code = false;
  bool address = false;
  bool print_own_address = false;
  std::array<bool, kOffsetCount> offsets{};
  bool kanji_digits = false;
  bool joints = false;
  bool face = false;

  static ProfileFields all();
  // The fields in which `a` and `b` differ.
  static ProfileFields changed(const usertype& a, const usertype& b);
  bool any() const;
};

// Writes the `fields` of `profile` to user `nowUser`'s profile in one write. False when the
// store is missing or could not be written.
bool WriteProfile(int nowUser, const usertype& profile, const ProfileFields& fields);

// Makes `user` the current user (now_user).
bool WriteNowUser(int user);

// Adds a user as the settings dialog does, with the user_count read before: user_count
// and now_user become count + 1 and `profile` is the new user's profile, in one write.
bool WriteNewUser(int count, const usertype& profile);

// The current profile as the windows hold it for a run: whose it is, what has reached the
// store, and what has already been reported to the user.
class SenderProfiles {
 public:
  // The user whose profile is held (-1: profile 0).
  int user() const { return user_; }
  const usertype& settings() const { return settings_; }

  // Reads user `nowUser`'s profile and holds it.
  const usertype& load(int nowUser);

  // Makes `user` the current user in the store and holds that user's profile. False when
  // now_user could not be written; the profile is held all the same.
  bool switchTo(int user);

  // Writes the changes from the held settings to the store. On failure the settings are
  // held all the same, and the next write that succeeds takes them along. After a failed
  // add nothing is written (false) until a profile is loaded again.
  bool save(const usertype& settings);

  // Adds a user (see WriteNewUser) and holds the new profile. On failure the settings are
  // held for this run, and written nowhere.
  bool add(int count, const usertype& profile);

  // The bad values of the profiles read so far that were not named before: each is
  // named once a run.
  QStringList takeBadValues();

  // Whether a failed write is to be reported: once, until a write succeeds again.
  bool takeSaveFailure();

 private:
  void noteWrite(bool ok);

  int user_ = -1;
  usertype settings_;
  usertype stored_;  // what the store holds of the profile, as far as this run knows
  QStringList badValues_;
  std::set<QString> named_;
  bool failed_ = false;
  bool failureReported_ = false;
  bool detached_ = false;  // the held settings belong to a user whose adding failed
};

}  // namespace orivel
