#pragma once

#include <array>
#include <optional>
#include <string>

#include "settings/usertype.h"

// The rules of the personal settings dialog that need no window: the offset labels, the
// offset preview's texts and points, the reset groups, the user label and the user limit.
// Texts are code page 932 bytes.
namespace orivel {

// The groups of print offsets that a reset acts on: offsets 1 to 6 move the addressee's
// fields, 7 to 12 the sender's.
enum class OffsetGroups { Addressee = 1, Sender = 2, Both = 3 };

// Whether a reset of `groups` sets print offset k back to 50.
bool ResetTouches(OffsetGroups groups, int k);

// The label of print offset k at bar position p: "横(" for odd k (across), "縦(" for even
// k (down), then p - 50 in decimal (a minus sign only when negative), then ")".
std::string OffsetLabelText(int k, int position);

// The offset preview: a picture of 177 x 201 pixels, one pixel per offset unit. Its
// texts reach at most 160 pixels down, whatever the offsets.
inline constexpr int kPreviewWidth = 177;
inline constexpr int kPreviewHeight = 201;
inline constexpr int kPreviewTextCount = 5;

struct PreviewText {
  std::string text;
  int x = 0;  // top-left corner of the text
  int y = 0;
  friend bool operator==(const PreviewText&, const PreviewText&) = default;
};

// "宛", "名", "住", "所" and "郵便番号" at the points that the addressee's offsets 1 to 6
// give; offsets[k-1] is the position of bar k. The sender's offsets do not appear.
std::array<PreviewText, kPreviewTextCount> PreviewTexts(
    const std::array<int, kOffsetCount>& offsets);

// The store's value names and the values an installation starts with.
inline constexpr const char* kUserCount = "user_count";
inline constexpr const char* kMaxUserCount = "max_user_count";
inline constexpr const char* kNowUser = "now_user";
inline constexpr int kNoUser = -1;

struct StoreValue {
  const char* name;
  int value;
};
inline constexpr std::array<StoreValue, 3> kInitialStore = {
    {{kUserCount, 0}, {kMaxUserCount, 5}, {kNowUser, kNoUser}}};

// "user_name_" followed by the user number in decimal.
std::string UserNameValueName(int user);

// The sender profile that holds the settings while `nowUser` is current: the user's own
// number, 0 while no user is set.
int ProfileNumber(int nowUser);

// The names of a profile's values: sender_name_k, sender_zip_code_k, sender_address_k
// (code page 932 bytes), print_own_address_k and kanji_digits_k (0 or 1) and offset_k_j
// (print offset j, 0 to 100), k being the profile number.
std::string SenderNameValueName(int profile);
std::string SenderZipCodeValueName(int profile);
std::string SenderAddressValueName(int profile);
std::string PrintOwnAddressValueName(int profile);
std::string KanjiDigitsValueName(int profile);
// The k-th (1..5) given name of the sender's family.
std::string SenderJointValueName(int profile, int k);
std::string OffsetValueName(int profile, int j);
// card_face_k: the family name of the card's typeface (UTF-8 bytes); missing or empty for
// the default one.
std::string CardFaceValueName(int profile);

// Whether a stored integer is a valid value of its kind.
inline bool ValidSwitch(int value) {
  return value == 0 || value == 1;
}
inline bool ValidOffset(int value) {
  return value >= 0 && value <= 100;
}

// The user that the tool buttons step to from `nowUser` (-1 for none) among users 1 to
// `userCount`: `step` -1 is the previous one (the left triangle), +1 the next (the right
// triangle). nullopt at either end, where the buttons stop. From no user, the next one is
// user 1; a current user beyond the count steps back to the last one.
std::optional<int> SteppedUser(int nowUser, int userCount, int step);

// The user label: "ユーザー未設定" without a current user; otherwise the user's
// user_name_ value, or the user number itself when that value cannot be read.
std::string UserLabelText(int nowUser, std::optional<int> userName);

// Whether one more user may be added, from the store's user_count and max_user_count
// (nullopt when a value could not be read).
enum class UserAddition { Allowed, LimitReached, Unreadable };
UserAddition CheckUserAddition(std::optional<int> count, std::optional<int> max);

}  // namespace orivel
