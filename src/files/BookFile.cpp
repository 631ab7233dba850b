#include "files/BookFile.h"

#include <algorithm>
#include <array>
#include <string>

namespace orivel {
namespace {

constexpr std::string_view kHeader = "HEADER";
constexpr std::string_view kDatas = "DATAS";
constexpr std::array<std::string_view, kCategoryCount> kFlagStems = {"ml1_", "ml2_", "ml3_",
                                                                     "ml4_", "ml5_", "ml6_"};

// Builds "stem" + index without a fresh allocation for each of the ten keys.
class KeyName {
 public:
  void setIndex(int i) { index_ = std::to_string(i); }
  std::string_view operator()(std::string_view stem) {
    buffer_.assign(stem).append(index_);
    return buffer_;
  }

 private:
  std::string index_;
  std::string buffer_;
};

// The keys a book may hold beyond the first ten of an entry. Each is written when it has a
// value or when the file saved over holds it already: the profile keeps every key a save
// does not write, and an earlier entry's joints must not come back under a later one.
bool writeOptional(ProfileFile& profile, std::string_view key, std::string_view value) {
  if (value.empty() && !profile.hasKey(kDatas, key)) return true;
  return profile.WriteString(kDatas, key, value);
}

std::string jointKey(std::string_view stem, int k, int i) {
  return std::string(stem) + std::to_string(k) + "_" + std::to_string(i);
}

bool writeJointsAndCompany(ProfileFile& profile, KeyName& key, int i, const datatype& e) {
  bool ok = true;
  const int count = static_cast<int>(std::min<std::size_t>(e.joints.size(), kMaxJoints));
  if (count > 0 || profile.hasKey(kDatas, key("joints")))
    ok = profile.WriteInteger(kDatas, key("joints"), count) && ok;
  for (int k = 1; k <= kMaxJoints; ++k) {
    const JointName none;
    const JointName& joint = k <= count ? e.joints[static_cast<std::size_t>(k - 1)] : none;
    ok = writeOptional(profile, jointKey("joint_name", k, i), joint.name) && ok;
    ok = writeOptional(profile, jointKey("joint_sama", k, i), joint.sama) && ok;
  }
  ok = writeOptional(profile, key("company"), e.company) && ok;
  ok = writeOptional(profile, key("department"), e.department) && ok;
  ok = writeOptional(profile, key("title"), e.title) && ok;
  return ok;
}

void readJointsAndCompany(const ProfileFile& profile, KeyName& key, int i, datatype& e) {
  // A count beyond the limit reads as the limit, a negative or unreadable one as none.
  const int count = std::clamp(profile.ReadInteger(kDatas, key("joints"), 0), 0, kMaxJoints);
  std::vector<JointName> rows;
  for (int k = 1; k <= count; ++k)
    rows.push_back({profile.ReadString(kDatas, jointKey("joint_name", k, i), ""),
                    profile.ReadString(kDatas, jointKey("joint_sama", k, i), "")});
  e.joints = KeptJoints(rows);
  e.company = profile.ReadString(kDatas, key("company"), "");
  e.department = profile.ReadString(kDatas, key("department"), "");
  e.title = profile.ReadString(kDatas, key("title"), "");
}

}  // namespace

bool BookKeepsName(std::string_view name) {
  return ProfileFile::cleanValue(name) != kMissingName;
}

bool WriteBook(const AddressBook& book, ProfileFile& profile) {
  bool ok = profile.WriteString(kHeader, "Version", kBookVersion);
  ok = profile.WriteInteger(kHeader, "Cnt", book.count()) && ok;
  KeyName key;
  for (int i = 0; i < book.count(); ++i) {
    const datatype& e = book.entry(i);
    key.setIndex(i);
    ok = profile.WriteString(kDatas, key("name"), e.name) && ok;
    ok = profile.WriteString(kDatas, key("address"), e.address) && ok;
    ok = profile.WriteString(kDatas, key("zip_code"), e.zip_code) && ok;
    ok = profile.WriteString(kDatas, key("sama"), e.sama) && ok;
    for (std::size_t k = 0; k < kFlagStems.size(); ++k)
      ok = profile.WriteBool(kDatas, key(kFlagStems[k]), e.ml[k] != 0) && ok;
    ok = writeJointsAndCompany(profile, key, i, e) && ok;
    ok = writeOptional(profile, key("history"), e.history.text()) && ok;
  }
  return ok;
}

BookLoadResult ReadBook(const ProfileFile& profile, AddressBook& book) {
  BookLoadResult result;
  const int count = profile.ReadInteger(kHeader, "Cnt", 0);
  if (count < 0 || count > AddressBook::kCapacity) {
    result.status = BookLoadStatus::CountOutOfRange;
    return result;
  }
  result.version = profile.ReadString(kHeader, "Version", "0");
  if (result.version != kBookVersion) {
    result.status = BookLoadStatus::WrongVersion;
    return result;
  }

  book.clear();
  KeyName key;
  for (int i = 0; i < count; ++i) {
    key.setIndex(i);
    datatype e;
    e.name = profile.ReadString(kDatas, key("name"), kMissingName);
    // A name reading "0" (or none at all) leaves the index out.
    if (e.name == kMissingName) continue;
    e.address = profile.ReadString(kDatas, key("address"), "0");
    e.zip_code = profile.ReadString(kDatas, key("zip_code"), "0");
    e.sama = profile.ReadString(kDatas, key("sama"), "0");
    for (std::size_t k = 0; k < kFlagStems.size(); ++k)
      e.ml[k] = profile.ReadBool(kDatas, key(kFlagStems[k]), false) ? 1 : 0;
    readJointsAndCompany(profile, key, i, e);
    e.history = SeasonRecord::parse(profile.ReadString(kDatas, key("history"), ""));
    book.append(e);
  }
  result.status = BookLoadStatus::Loaded;
  return result;
}

bool SaveBook(const AddressBook& book, const std::filesystem::path& path) {
  ProfileFile profile;
  switch (ProfileFile::readFile(path, &profile)) {
    case ProfileFile::ReadStatus::Ok:
    case ProfileFile::ReadStatus::NotFound:
      break;
    case ProfileFile::ReadStatus::Unreadable:
    case ProfileFile::ReadStatus::TooLarge:
      // Writing without what is there would lose the keys this save does not write.
      return false;
  }
  return WriteBook(book, profile) && profile.writeFile(path);
}

BookLoadResult LoadBook(const std::filesystem::path& path, AddressBook& book) {
  ProfileFile profile;
  switch (ProfileFile::readFile(path, &profile)) {
    case ProfileFile::ReadStatus::Ok:
      return ReadBook(profile, book);
    case ProfileFile::ReadStatus::NotFound:
      return {BookLoadStatus::NotFound, {}};
    case ProfileFile::ReadStatus::Unreadable:
    case ProfileFile::ReadStatus::TooLarge:
      break;
  }
  return {BookLoadStatus::ReadFailed, {}};
}

}  // namespace orivel
