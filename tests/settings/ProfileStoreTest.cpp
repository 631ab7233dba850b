#include "settings/ProfileStore.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSettings>

#include "support/FormsFixture.h"

namespace orivel::test {
namespace {

TEST(ProfileStoreTest, InstallCreatesTheInitialValues) {
  removeStore();
  ASSERT_FALSE(ProfileStore::exists());
  EXPECT_EQ(ProfileStore::install(), ProfileStore::InstallResult::Created);
  ASSERT_TRUE(ProfileStore::exists());
  ProfileStore store;
  ASSERT_TRUE(store.isOpen());
  EXPECT_EQ(store.readInt(QStringLiteral("user_count")), 0);
  EXPECT_EQ(store.readInt(QStringLiteral("max_user_count")), 5);
  EXPECT_EQ(store.readInt(QStringLiteral("now_user")), -1);
  EXPECT_FALSE(store.readInt(QStringLiteral("user_name_1")).has_value());
  removeStore();
}

TEST(ProfileStoreTest, InstallNeverOverwrites) {
  removeStore();
  writeStore({{"user_count", 3}, {"max_user_count", 9}, {"now_user", 2}, {"user_name_2", 8}});
  EXPECT_EQ(ProfileStore::install(), ProfileStore::InstallResult::AlreadyThere);
  EXPECT_EQ(ProfileStore::install(), ProfileStore::InstallResult::AlreadyThere);
  ProfileStore store;
  EXPECT_EQ(store.readInt(QStringLiteral("user_count")), 3);
  EXPECT_EQ(store.readInt(QStringLiteral("max_user_count")), 9);
  EXPECT_EQ(store.readInt(QStringLiteral("now_user")), 2);
  EXPECT_EQ(store.readInt(QStringLiteral("user_name_2")), 8);

  // Even a store that lacks values is left as it is.
  removeStore();
  writeStore({{"now_user", 4}});
  EXPECT_EQ(ProfileStore::install(), ProfileStore::InstallResult::AlreadyThere);
  ProfileStore again;
  EXPECT_FALSE(again.readInt(QStringLiteral("user_count")).has_value());
  EXPECT_EQ(again.readInt(QStringLiteral("now_user")), 4);
  removeStore();
}

TEST(ProfileStoreTest, OperationsNeverCreateTheStore) {
  removeStore();
  {
    ProfileStore store;
    EXPECT_FALSE(store.isOpen());
    EXPECT_FALSE(store.readInt(QStringLiteral("now_user")).has_value());
    EXPECT_FALSE(store.writeInt(QStringLiteral("now_user"), 1));
  }
  EXPECT_FALSE(ProfileStore::exists());
}

TEST(ProfileStoreTest, EachOpeningSeesTheLatestValues) {
  removeStore();
  writeStore({{"user_count", 1}});
  ProfileStore first;
  EXPECT_TRUE(first.writeInt(QStringLiteral("user_count"), 2));
  ProfileStore second;
  EXPECT_EQ(second.readInt(QStringLiteral("user_count")), 2);
  removeStore();
}

TEST(ProfileStoreTest, ValuesThatAreNoIntegersDoNotRead) {
  removeStore();
  {
    QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quillmere"),
                QStringLiteral("ORIVEL"));
    s.setValue(QStringLiteral("user_count"), QStringLiteral("viele"));
    s.setValue(QStringLiteral("now_user"), QStringLiteral("-1"));
  }
  ProfileStore store;
  EXPECT_FALSE(store.readInt(QStringLiteral("user_count")).has_value());
  EXPECT_FALSE(store.readInt(QStringLiteral("max_user_count")).has_value());
  EXPECT_EQ(store.readInt(QStringLiteral("now_user")), -1);
  removeStore();
}

}  // namespace
}  // namespace orivel::test
