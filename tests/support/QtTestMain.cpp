#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "support/ScriptedDialogs.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // The user store of every test lives in a folder of its own, never in the user's.
  QTemporaryDir configDir;
  qputenv("XDG_CONFIG_HOME", configDir.path().toUtf8());
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir.path());
  // The postal code dictionary is the small one of the test data, cached in the same folder.
#ifdef ORIVEL_TEST_DATA
  qputenv("ORIVEL_POSTAL_DICT", ORIVEL_TEST_DATA "/postal-dict.txt");
#endif
  qputenv("XDG_CACHE_HOME", configDir.path().toUtf8());
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  orivel::test::installModalActionScope();
  return RUN_ALL_TESTS();
}
