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
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  orivel::test::installModalActionScope();
  return RUN_ALL_TESTS();
}
