#include "settings/SenderRules.h"

#include <algorithm>

namespace orivel {
namespace {

// Code page 932 bytes of the fixed texts.
constexpr const char* kAcross = "\x89\xa1";                              // 横
constexpr const char* kDown = "\x8f\x63";                                // 縦
constexpr const char* kAddressTo1 = "\x88\xb6";                          // 宛
constexpr const char* kAddressTo2 = "\x96\xbc";                          // 名
constexpr const char* kAddress1 = "\x8f\x5a";                            // 住
constexpr const char* kAddress2 = "\x8f\x8a";                            // 所
constexpr const char* kPostalCode = "\x97\x58\x95\xd6\x94\xd4\x8d\x86";  // 郵便番号
constexpr const char* kNoUserSet =
    "\x83\x86\x81\x5b\x83\x55\x81\x5b\x96\xa2\x90\xdd\x92\xe8";  // ユーザー未設定

}  // namespace

bool ResetTouches(OffsetGroups groups, int k) {
  if (k < 1 || k > kOffsetCount) return false;
  const int bit =
      k <= 6 ? static_cast<int>(OffsetGroups::Addressee) : static_cast<int>(OffsetGroups::Sender);
  return (static_cast<int>(groups) & bit) != 0;
}

std::string OffsetLabelText(int k, int position) {
  std::string text = k % 2 != 0 ? kAcross : kDown;
  text += '(';
  text += std::to_string(position - kNeutralOffset);
  text += ')';
  return text;
}

std::array<PreviewText, kPreviewTextCount> PreviewTexts(
    const std::array<int, kOffsetCount>& offsets) {
  const int p1 = offsets[0], p2 = offsets[1], p3 = offsets[2];
  const int p4 = offsets[3], p5 = offsets[4], p6 = offsets[5];
  return {{{kAddressTo1, p1 + 20, p2 + 10},
           {kAddressTo2, p1 + 20, p2 + 25},
           {kAddress1, p3 + 70, p4 + 30},
           {kAddress2, p3 + 70, p4 + 45},
           {kPostalCode, p5 + 50, p6}}};
}

std::string UserNameValueName(int user) {
  return "user_name_" + std::to_string(user);
}

int ProfileNumber(int nowUser) {
  return nowUser == kNoUser ? 0 : nowUser;
}

std::string SenderNameValueName(int profile) {
  return "sender_name_" + std::to_string(profile);
}
std::string SenderZipCodeValueName(int profile) {
  return "sender_zip_code_" + std::to_string(profile);
}
std::string SenderAddressValueName(int profile) {
  return "sender_address_" + std::to_string(profile);
}
std::string PrintOwnAddressValueName(int profile) {
  return "print_own_address_" + std::to_string(profile);
}
std::string KanjiDigitsValueName(int profile) {
  return "kanji_digits_" + std::to_string(profile);
}
std::string SenderJointValueName(int profile, int k) {
  return "sender_joint_" + std::to_string(profile) + "_" + std::to_string(k);
}
std::string CardFaceValueName(int profile) {
  return "card_face_" + std::to_string(profile);
}
std::string OffsetValueName(int profile, int j) {
  return "offset_" + std::to_string(profile) + "_" + std::to_string(j);
}

std::optional<int> SteppedUser(int nowUser, int userCount, int step) {
  if (userCount < 1) return std::nullopt;
  int target = 0;
  if (step > 0) {
    if (nowUser == kNoUser || nowUser < 1) return 1;
    target = nowUser + 1;
  } else {
    if (nowUser == kNoUser || nowUser <= 1) return std::nullopt;
    target = std::min(nowUser - 1, userCount);
  }
  if (target > userCount) return std::nullopt;
  return target;
}

std::string UserLabelText(int nowUser, std::optional<int> userName) {
  if (nowUser == kNoUser) return kNoUserSet;
  return std::to_string(userName.value_or(nowUser));
}

UserAddition CheckUserAddition(std::optional<int> count, std::optional<int> max) {
  if (!count || !max) return UserAddition::Unreadable;
  return *count >= *max ? UserAddition::LimitReached : UserAddition::Allowed;
}

}  // namespace orivel
