#include "settings/SenderProfiles.h"

#include <QByteArray>

#include "settings/ProfileStore.h"
#include "settings/SenderRules.h"

namespace orivel {
namespace {

QString valueName(const std::string& name) {
  return QString::fromStdString(name);
}

QByteArray bytes(const std::string& text) {
  return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// Reads the profile's values one by one; a value that is there but not of its kind or
// range is named and read as initial.
class ProfileReader {
 public:
  ProfileReader(const ProfileStore& store, ProfileRead& read) : store_(store), read_(read) {}

  void text(const std::string& name, std::string* out) {
    const auto value = store_.readBytes(valueName(name));
    if (value.status == ProfileStore::ReadStatus::Read)
      *out = value.value.toStdString();
    else if (value.status == ProfileStore::ReadStatus::WrongType)
      bad(name);
  }

  void integer(const std::string& name, bool (*valid)(int), int* out) {
    const auto value = store_.readInteger(valueName(name));
    if (value.status == ProfileStore::ReadStatus::Missing) return;
    if (value.status == ProfileStore::ReadStatus::Read && valid(value.value))
      *out = value.value;
    else
      bad(name);
  }

  void flag(const std::string& name, bool* out) {
    int value = *out ? 1 : 0;
    integer(name, ValidSwitch, &value);
    *out = value == 1;
  }

 private:
  void bad(const std::string& name) { read_.badValues << valueName(name); }

  const ProfileStore& store_;
  ProfileRead& read_;
};

}  // namespace

int ReadNowUser() {
  ProfileStore store;
  return store.readInt(QLatin1String(kNowUser)).value_or(kNoUser);
}

std::optional<int> ReadUserName(int user) {
  ProfileStore store;
  return store.readInt(QString::fromStdString(UserNameValueName(user)));
}

UserCounts ReadUserCounts() {
  ProfileStore store;
  return {store.readInt(QLatin1String(kUserCount)), store.readInt(QLatin1String(kMaxUserCount))};
}

bool IsRegisteredUser(int user) {
  const std::optional<int> count = ReadUserCounts().count;
  return count && user >= 1 && user <= *count;
}

ProfileRead ReadProfile(int nowUser) {
  const int k = ProfileNumber(nowUser);
  ProfileRead read;
  ProfileStore store;
  ProfileReader reader(store, read);
  usertype& u = read.user;
  reader.text(SenderNameValueName(k), &u.name);
  reader.text(SenderZipCodeValueName(k), &u.zip_code);
  reader.text(SenderAddressValueName(k), &u.address);
  reader.flag(PrintOwnAddressValueName(k), &u.print_own_address);
  for (int j = 1; j <= kOffsetCount; ++j)
    reader.integer(OffsetValueName(k, j), ValidOffset, &u.offsets[static_cast<std::size_t>(j - 1)]);
  reader.flag(KanjiDigitsValueName(k), &u.kanji_digits);
  for (int j = 1; j <= kMaxJoints; ++j) {
    std::string joint;
    reader.text(SenderJointValueName(k, j), &joint);
    if (!joint.empty()) u.joints.push_back(joint);
  }
  reader.text(CardFaceValueName(k), &u.face);
  return read;
}

ProfileFields ProfileFields::all() {
  ProfileFields f;
  f.name = f.zip_code = f.address = f.print_own_address = f.kanji_digits = f.joints = f.face = true;
  f.offsets.fill(true);
  return f;
}

ProfileFields ProfileFields::changed(const usertype& a, const usertype& b) {
  ProfileFields f;
  f.name = a.name != b.name;
  f.zip_code = a.zip_code != b.zip_code;
  f.address = a.address != b.address;
  f.print_own_address = a.print_own_address != b.print_own_address;
  for (std::size_t j = 0; j < f.offsets.size(); ++j) f.offsets[j] = a.offsets[j] != b.offsets[j];
  f.kanji_digits = a.kanji_digits != b.kanji_digits;
  f.joints = a.joints != b.joints;
  f.face = a.face != b.face;
  return f;
}

bool ProfileFields::any() const {
  bool offset = false;
  for (const bool o : offsets) offset = offset || o;
  return name || zip_code || address || print_own_address || offset || kanji_digits || joints ||
         face;
}

namespace {

void addProfileValues(ProfileStore::Values& values, int nowUser, const usertype& p,
                      const ProfileFields& fields) {
  const int k = ProfileNumber(nowUser);
  auto add = [&](bool wanted, const std::string& name, QVariant value) {
    if (wanted) values.emplace_back(valueName(name), std::move(value));
  };
  add(fields.name, SenderNameValueName(k), bytes(p.name));
  add(fields.zip_code, SenderZipCodeValueName(k), bytes(p.zip_code));
  add(fields.address, SenderAddressValueName(k), bytes(p.address));
  add(fields.print_own_address, PrintOwnAddressValueName(k), p.print_own_address ? 1 : 0);
  for (int j = 1; j <= kOffsetCount; ++j)
    add(fields.offsets[static_cast<std::size_t>(j - 1)], OffsetValueName(k, j), p.offset(j));
  add(fields.kanji_digits, KanjiDigitsValueName(k), p.kanji_digits ? 1 : 0);
  // All five, so that a name taken away does not stay in the store.
  for (int j = 1; j <= kMaxJoints; ++j) {
    const auto i = static_cast<std::size_t>(j - 1);
    add(fields.joints, SenderJointValueName(k, j),
        bytes(i < p.joints.size() ? p.joints[i] : std::string()));
  }
  add(fields.face, CardFaceValueName(k), bytes(p.face));
}

}  // namespace

bool WriteProfile(int nowUser, const usertype& profile, const ProfileFields& fields) {
  if (!fields.any()) return true;
  ProfileStore::Values values;
  addProfileValues(values, nowUser, profile, fields);
  ProfileStore store;
  return store.writeValues(values);
}

bool WriteNowUser(int user) {
  ProfileStore store;
  return store.writeInt(QLatin1String(kNowUser), user);
}

bool WriteNewUser(int count, const usertype& profile) {
  const int added = count + 1;
  ProfileStore::Values values = {{QLatin1String(kUserCount), added},
                                 {QLatin1String(kNowUser), added}};
  // A new user in the default face gains no value for it.
  ProfileFields fields = ProfileFields::all();
  fields.face = !profile.face.empty();
  addProfileValues(values, added, profile, fields);
  ProfileStore store;
  return store.writeValues(values);
}

// --- SenderProfiles ---

const usertype& SenderProfiles::load(int nowUser) {
  ProfileRead read = ReadProfile(nowUser);
  user_ = nowUser;
  detached_ = false;
  settings_ = read.user;
  stored_ = read.user;
  badValues_ << read.badValues;
  return settings_;
}

bool SenderProfiles::switchTo(int user) {
  const bool ok = WriteNowUser(user);
  noteWrite(ok);
  load(user);
  return ok;
}

bool SenderProfiles::save(const usertype& settings) {
  settings_ = settings;
  if (detached_) {
    noteWrite(false);
    return false;
  }
  const bool ok = WriteProfile(user_, settings, ProfileFields::changed(stored_, settings));
  if (ok) stored_ = settings;
  noteWrite(ok);
  return ok;
}

bool SenderProfiles::add(int count, const usertype& profile) {
  const bool ok = WriteNewUser(count, profile);
  if (ok) user_ = count + 1;
  // On failure the new sender has no profile to go to; the old one must not take it.
  detached_ = !ok;
  settings_ = profile;
  stored_ = profile;
  noteWrite(ok);
  return ok;
}

QStringList SenderProfiles::takeBadValues() {
  QStringList fresh;
  for (const QString& name : badValues_)
    if (named_.insert(name).second) fresh << name;
  badValues_.clear();
  return fresh;
}

bool SenderProfiles::takeSaveFailure() {
  if (!failed_ || failureReported_) return false;
  failureReported_ = true;
  return true;
}

void SenderProfiles::noteWrite(bool ok) {
  failed_ = !ok;
  if (ok) failureReported_ = false;
}

}  // namespace orivel
