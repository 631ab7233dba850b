#include "settings/SenderProfiles.h"

#include <gtest/gtest.h>

#include "support/FormsFixture.h"
#include "support/StoreFiles.h"

namespace orivel::test {
namespace {

void freshStore() {
  removeStore();
  writeStore({{"user_count", 0}, {"max_user_count", 5}, {"now_user", -1}});
}

usertype someSender() {
  usertype u;
  u.name = "\x8e\x52\x93\x63";  // 山田
  u.zip_code = "123-4567";
  u.address = "\x93\x8c\x8b\x9e";  // 東京
  u.print_own_address = true;
  for (int j = 1; j <= kOffsetCount; ++j) u.offsets[static_cast<std::size_t>(j - 1)] = 4 * j;
  u.kanji_digits = true;
  return u;
}

TEST(SenderProfilesTest, AStoreWithoutProfilesReadsAsTheInitialSettings) {
  freshStore();
  writeStore({{"user_count", 2}, {"now_user", 2}, {"user_name_2", 7}});
  for (const int user : {-1, 1, 2, 4}) {
    const ProfileRead read = ReadProfile(user);
    EXPECT_EQ(read.user, usertype{}) << user;
    EXPECT_TRUE(read.badValues.isEmpty()) << user;
  }
  removeStore();
  EXPECT_EQ(ReadProfile(-1).user, usertype{}) << "no store at all";
  EXPECT_EQ(ReadNowUser(), -1);
}

// The card's face is kept beside the profile's other values; a profile in the default face
// gains no value for it, and one without the value prints in IPAPMincho.
TEST(SenderProfilesTest, TheCardsFaceIsKeptOnlyWhenChosen) {
  struct Case {
    std::string face;
    QVariant onDisk;
    std::string cardFace;
  };
  const Case cases[] = {
      {"", QVariant(), "IPAPMincho"},
      {"KouzanBrushFont", QVariant(QByteArray("KouzanBrushFont")), "KouzanBrushFont"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.face);
    freshStore();
    usertype sender = someSender();
    sender.face = c.face;
    ASSERT_TRUE(WriteNewUser(0, sender));
    EXPECT_EQ(valueOnDisk("card_face_1"), c.onDisk);
    const usertype read = ReadProfile(1).user;
    EXPECT_EQ(read, sender);
    EXPECT_EQ(read.cardFace(), c.cardFace);
  }
  // A change of face writes that value alone.
  usertype changed = ReadProfile(1).user;
  changed.face = "AoyagiSosekiFont2";
  const ProfileFields fields = ProfileFields::changed(ReadProfile(1).user, changed);
  EXPECT_TRUE(fields.face);
  EXPECT_FALSE(fields.name);
  ASSERT_TRUE(WriteProfile(1, changed, fields));
  EXPECT_EQ(ReadProfile(1).user.face, "AoyagiSosekiFont2");
}

TEST(SenderProfilesTest, TextsKeepEveryByteOnDisk) {
  freshStore();
  usertype u;
  // Every byte value, with those the file's own syntax uses among them.
  for (int b = 0; b < 256; ++b) u.name += static_cast<char>(b);
  u.zip_code = " =;#\"\\,@ByteArray(x)\r\n ";
  u.address = "\x83\x5c\x95\x5c\xff\x80\xa0";  // ソ表 and bytes that decode to nothing
  ASSERT_TRUE(WriteProfile(-1, u, ProfileFields::all()));
  EXPECT_EQ(valueOnDisk("sender_name_0").toByteArray().toStdString(), u.name);
  EXPECT_EQ(valueOnDisk("sender_zip_code_0").toByteArray().toStdString(), u.zip_code);
  EXPECT_EQ(valueOnDisk("sender_address_0").toByteArray().toStdString(), u.address);
  EXPECT_EQ(ReadProfile(-1).user, u);
}

TEST(SenderProfilesTest, EachUserHasAProfileOfItsOwn) {
  freshStore();
  usertype first = someSender();
  usertype none;
  none.name = "A";
  none.offsets[0] = 0;
  ASSERT_TRUE(WriteNewUser(0, first));
  EXPECT_EQ(ReadNowUser(), 1);
  EXPECT_EQ(ReadUserCounts().count, 1);
  ASSERT_TRUE(WriteProfile(-1, none, ProfileFields::all()));
  EXPECT_EQ(ReadProfile(1).user, first);
  EXPECT_EQ(ReadProfile(-1).user, none);
  EXPECT_EQ(ReadProfile(2).user, usertype{});
  EXPECT_EQ(valueOnDisk("offset_1_12"), QVariant(QStringLiteral("48")));
  EXPECT_EQ(valueOnDisk("print_own_address_1"), QVariant(QStringLiteral("1")));
  EXPECT_EQ(valueOnDisk("kanji_digits_0"), QVariant(QStringLiteral("0")));
  EXPECT_TRUE(IsRegisteredUser(1));
  EXPECT_FALSE(IsRegisteredUser(2));
  EXPECT_FALSE(IsRegisteredUser(0));
}

TEST(SenderProfilesTest, WrongTypesAndRangesReadAsInitialAndAreNamed) {
  freshStore();
  const usertype good = someSender();
  ASSERT_TRUE(WriteProfile(1, good, ProfileFields::all()));
  writeStoreValues({
      {"sender_name_1", QStringLiteral("text, not bytes")},
      {"sender_zip_code_1", 1234567},
      {"print_own_address_1", 2},
      {"offset_1_3", 101},
      {"offset_1_4", -1},
      {"offset_1_5", QStringLiteral("viel")},
      {"offset_1_6", QByteArray("50")},
      {"kanji_digits_1", QStringLiteral("ja")},
  });
  const QByteArray before = storeBytes();
  const ProfileRead read = ReadProfile(1);
  usertype expected = good;
  expected.name.clear();
  expected.zip_code.clear();
  expected.print_own_address = false;
  for (const int j : {3, 4, 5, 6}) expected.offsets[static_cast<std::size_t>(j - 1)] = 50;
  expected.kanji_digits = false;
  EXPECT_EQ(read.user, expected);
  EXPECT_EQ(read.badValues,
            QStringList({"sender_name_1", "sender_zip_code_1", "print_own_address_1", "offset_1_3",
                         "offset_1_4", "offset_1_5", "offset_1_6", "kanji_digits_1"}));
  EXPECT_EQ(storeBytes(), before) << "reading leaves the values as they are";
}

TEST(SenderProfilesTest, SavingWritesTheChangedValuesOnly) {
  freshStore();
  writeStoreValues({{"offset_0_3", 150}});
  SenderProfiles profiles;
  EXPECT_EQ(profiles.load(-1), usertype{});
  EXPECT_EQ(profiles.takeBadValues(), QStringList{"offset_0_3"});
  usertype changed = profiles.settings();
  changed.offsets[4] = 7;
  changed.name = "N";
  ASSERT_TRUE(profiles.save(changed));
  EXPECT_EQ(valueOnDisk("offset_0_5"), QVariant(QStringLiteral("7")));
  EXPECT_EQ(valueOnDisk("sender_name_0"), QVariant(QByteArray("N")));
  EXPECT_EQ(valueOnDisk("offset_0_3"), QVariant(QStringLiteral("150"))) << "until changed";
  EXPECT_FALSE(valueOnDisk("offset_0_1").isValid());

  // A bad value is named once a run, however often it is read.
  profiles.load(-1);
  EXPECT_TRUE(profiles.takeBadValues().isEmpty());
}

TEST(SenderProfilesTest, AStoreThatCannotBeWrittenIsReportedOnceAndKeepsItsFile) {
  freshStore();
  SenderProfiles profiles;
  profiles.load(-1);
  usertype changed = profiles.settings();
  const QByteArray before = storeBytes();
  {
    FilesCannotGrow full;
    changed.offsets[0] = 10;
    EXPECT_FALSE(profiles.save(changed));
    EXPECT_TRUE(profiles.takeSaveFailure());
    changed.offsets[0] = 11;
    EXPECT_FALSE(profiles.save(changed));
    EXPECT_FALSE(profiles.takeSaveFailure()) << "said once";
    EXPECT_EQ(profiles.settings().offset(1), 11) << "held for this run";
    EXPECT_FALSE(profiles.switchTo(1));
    profiles.load(-1);
  }
  EXPECT_EQ(storeBytes(), before);

  // The next write that succeeds takes the held settings along; a later failure is said again.
  changed = profiles.settings();
  changed.offsets[0] = 12;
  changed.offsets[1] = 13;
  ASSERT_TRUE(profiles.save(changed));
  EXPECT_EQ(valueOnDisk("offset_0_1"), QVariant(QStringLiteral("12")));
  EXPECT_EQ(valueOnDisk("offset_0_2"), QVariant(QStringLiteral("13")));
  {
    FilesCannotGrow full;
    changed.offsets[0] = 14;
    EXPECT_FALSE(profiles.save(changed));
    EXPECT_TRUE(profiles.takeSaveFailure());
  }

  removeStore();  // a missing store cannot be written either; it is never created
  EXPECT_FALSE(WriteProfile(-1, changed, ProfileFields::all()));
  EXPECT_FALSE(WriteNewUser(0, changed));
  EXPECT_FALSE(WriteNowUser(1));
  EXPECT_FALSE(QFile::exists(storeFileName()));
}

TEST(SenderProfilesTest, ASenderWhoseAddingFailedIsNeverWrittenToTheUserBefore) {
  freshStore();
  SenderProfiles profiles;
  profiles.load(-1);
  const QByteArray before = storeBytes();
  {
    FilesCannotGrow full;
    EXPECT_FALSE(profiles.add(0, someSender()));
  }
  usertype changed = profiles.settings();
  changed.name = "N";
  EXPECT_FALSE(profiles.save(changed));
  EXPECT_EQ(profiles.settings().name, "N") << "held for this run";
  EXPECT_EQ(storeBytes(), before) << "written nowhere, least of all to profile 0";

  profiles.load(-1);  // profile 0 again: its changes are written
  changed = profiles.settings();
  changed.offsets[0] = 9;
  ASSERT_TRUE(profiles.save(changed));
  EXPECT_EQ(valueOnDisk("offset_0_1"), QVariant(QStringLiteral("9")));
  EXPECT_FALSE(valueOnDisk("sender_name_0").isValid());
}

}  // namespace
}  // namespace orivel::test
