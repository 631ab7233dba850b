#include "settings/SenderRules.h"

#include <gtest/gtest.h>

namespace orivel {
namespace {

// Code page 932 bytes of the texts the rules give.
const std::string kYoko = "\x89\xa1";                                // 横
const std::string kTate = "\x8f\x63";                                // 縦
const std::string kAte = "\x88\xb6";                                 // 宛
const std::string kNa = "\x96\xbc";                                  // 名
const std::string kJu = "\x8f\x5a";                                  // 住
const std::string kSho = "\x8f\x8a";                                 // 所
const std::string kYubinBango = "\x97\x58\x95\xd6\x94\xd4\x8d\x86";  // 郵便番号

std::array<int, kOffsetCount> neutral() {
  std::array<int, kOffsetCount> a;
  a.fill(50);
  return a;
}

TEST(SenderRulesTest, LabelsShowTheShiftFromTheMiddle) {
  EXPECT_EQ(OffsetLabelText(1, 0), kYoko + "(-50)");
  EXPECT_EQ(OffsetLabelText(1, 50), kYoko + "(0)");
  EXPECT_EQ(OffsetLabelText(1, 100), kYoko + "(50)");
  EXPECT_EQ(OffsetLabelText(3, 49), kYoko + "(-1)");
  EXPECT_EQ(OffsetLabelText(11, 51), kYoko + "(1)");
}

TEST(SenderRulesTest, EvenOffsetsAreDownOddOnesAcross) {
  for (int k = 1; k <= kOffsetCount; ++k) {
    const std::string word = k % 2 == 0 ? kTate : kYoko;
    EXPECT_EQ(OffsetLabelText(k, 50), word + "(0)") << k;
  }
  EXPECT_EQ(OffsetLabelText(12, 0), kTate + "(-50)");
  EXPECT_EQ(OffsetLabelText(6, 100), kTate + "(50)");
}

TEST(SenderRulesTest, PreviewAtTheMiddlePositions) {
  const auto texts = PreviewTexts(neutral());
  EXPECT_EQ(texts[0], (PreviewText{kAte, 70, 60}));
  EXPECT_EQ(texts[1], (PreviewText{kNa, 70, 75}));
  EXPECT_EQ(texts[2], (PreviewText{kJu, 120, 80}));
  EXPECT_EQ(texts[3], (PreviewText{kSho, 120, 95}));
  EXPECT_EQ(texts[4], (PreviewText{kYubinBango, 100, 50}));
}

TEST(SenderRulesTest, EachAddresseeOffsetMovesItsOwnText) {
  auto p = neutral();
  p[2] = 0;  // bar 3: the address across
  auto texts = PreviewTexts(p);
  EXPECT_EQ(texts[2].x, 70);
  EXPECT_EQ(texts[3].x, 70);
  EXPECT_EQ(texts[2].y, 80);
  EXPECT_EQ(texts[0].x, 70);  // the name stays

  p = neutral();
  p[5] = 100;  // bar 6: the postal code down
  texts = PreviewTexts(p);
  EXPECT_EQ(texts[4], (PreviewText{kYubinBango, 100, 100}));
  EXPECT_EQ(texts[2].y, 80);

  p = neutral();
  p[0] = 0;
  p[1] = 100;  // bars 1 and 2: the name
  texts = PreviewTexts(p);
  EXPECT_EQ(texts[0], (PreviewText{kAte, 20, 110}));
  EXPECT_EQ(texts[1], (PreviewText{kNa, 20, 125}));

  p = neutral();
  p[3] = 10;
  p[4] = 0;
  texts = PreviewTexts(p);
  EXPECT_EQ(texts[2].y, 40);
  EXPECT_EQ(texts[3].y, 55);
  EXPECT_EQ(texts[4].x, 50);
}

TEST(SenderRulesTest, SenderOffsetsDoNotMoveThePreview) {
  auto p = neutral();
  for (int i = 6; i < kOffsetCount; ++i) p[static_cast<std::size_t>(i)] = i % 2 ? 0 : 100;
  EXPECT_EQ(PreviewTexts(p), PreviewTexts(neutral()));
}

TEST(SenderRulesTest, ResetGroupsTouchTheirOwnOffsets) {
  for (int k = 1; k <= 6; ++k) {
    EXPECT_TRUE(ResetTouches(OffsetGroups::Addressee, k)) << k;
    EXPECT_FALSE(ResetTouches(OffsetGroups::Sender, k)) << k;
    EXPECT_TRUE(ResetTouches(OffsetGroups::Both, k)) << k;
  }
  for (int k = 7; k <= 12; ++k) {
    EXPECT_FALSE(ResetTouches(OffsetGroups::Addressee, k)) << k;
    EXPECT_TRUE(ResetTouches(OffsetGroups::Sender, k)) << k;
    EXPECT_TRUE(ResetTouches(OffsetGroups::Both, k)) << k;
  }
  EXPECT_FALSE(ResetTouches(OffsetGroups::Both, 0));
  EXPECT_FALSE(ResetTouches(OffsetGroups::Both, 13));
}

TEST(SenderRulesTest, UserLabel) {
  // ユーザー未設定
  const std::string noUser = "\x83\x86\x81\x5b\x83\x55\x81\x5b\x96\xa2\x90\xdd\x92\xe8";
  EXPECT_EQ(UserLabelText(-1, std::nullopt), noUser);
  EXPECT_EQ(UserLabelText(-1, 7), noUser);
  EXPECT_EQ(UserLabelText(2, 1234), "1234");
  EXPECT_EQ(UserLabelText(2, -5), "-5");
  EXPECT_EQ(UserLabelText(3, std::nullopt), "3");  // the value is missing
  EXPECT_EQ(UserNameValueName(1), "user_name_1");
  EXPECT_EQ(UserNameValueName(12), "user_name_12");
}

TEST(SenderRulesTest, UserLimit) {
  EXPECT_EQ(CheckUserAddition(0, 5), UserAddition::Allowed);
  EXPECT_EQ(CheckUserAddition(4, 5), UserAddition::Allowed);
  EXPECT_EQ(CheckUserAddition(5, 5), UserAddition::LimitReached);
  EXPECT_EQ(CheckUserAddition(9, 5), UserAddition::LimitReached);
  EXPECT_EQ(CheckUserAddition(0, 0), UserAddition::LimitReached);
  EXPECT_EQ(CheckUserAddition(std::nullopt, 5), UserAddition::Unreadable);
  EXPECT_EQ(CheckUserAddition(0, std::nullopt), UserAddition::Unreadable);
}

TEST(SenderRulesTest, ProfileValuesAreNamedByTheProfileNumber) {
  // No user set: profile 0.
  EXPECT_EQ(ProfileNumber(-1), 0);
  EXPECT_EQ(ProfileNumber(3), 3);
  const struct {
    std::string name;
    std::string expected;
  } names[] = {
      {SenderNameValueName(0), "sender_name_0"},
      {SenderZipCodeValueName(2), "sender_zip_code_2"},
      {SenderAddressValueName(5), "sender_address_5"},
      {PrintOwnAddressValueName(1), "print_own_address_1"},
      {KanjiDigitsValueName(4), "kanji_digits_4"},
      {OffsetValueName(3, 1), "offset_3_1"},
      {OffsetValueName(0, 12), "offset_0_12"},
  };
  for (const auto& n : names) EXPECT_EQ(n.name, n.expected);
}

TEST(SenderRulesTest, ValidStoredValues) {
  EXPECT_TRUE(ValidSwitch(0));
  EXPECT_TRUE(ValidSwitch(1));
  EXPECT_FALSE(ValidSwitch(2));
  EXPECT_FALSE(ValidSwitch(-1));
  EXPECT_TRUE(ValidOffset(0));
  EXPECT_TRUE(ValidOffset(100));
  EXPECT_FALSE(ValidOffset(101));
  EXPECT_FALSE(ValidOffset(-1));
}

TEST(SenderRulesTest, SteppingUsersStopsAtTheEnds) {
  const struct {
    int now, count, step;
    std::optional<int> to;
  } cases[] = {
      {-1, 0, +1, std::nullopt},  // no users at all
      {-1, 0, -1, std::nullopt},
      {-1, 3, +1, 1},  // from no user to the first
      {-1, 3, -1, std::nullopt},
      {1, 3, +1, 2},
      {2, 3, +1, 3},
      {3, 3, +1, std::nullopt},  // the last one
      {3, 3, -1, 2},
      {1, 3, -1, std::nullopt},  // the first one
      {7, 3, -1, 3},             // beyond the count (a store changed by hand)
      {7, 3, +1, std::nullopt},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SteppedUser(c.now, c.count, c.step), c.to)
        << c.now << " of " << c.count << " step " << c.step;
}

}  // namespace
}  // namespace orivel
