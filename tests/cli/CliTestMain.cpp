#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  // orivel-cli keeps its user store under XDG_CONFIG_HOME and the converted postal code
  // table under XDG_CACHE_HOME: in folders of these tests, never in the user's own.
  QTemporaryDir configDir;
  qputenv("XDG_CONFIG_HOME", configDir.path().toUtf8());
  QTemporaryDir cacheDir;
  qputenv("XDG_CACHE_HOME", cacheDir.path().toUtf8());
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
