#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QSettings>

#include "app/Forms.h"
#include "app/TForm1.h"
#include "settings/ProfileStore.h"
#include "support/ScriptedDialogs.h"

namespace orivel::test {

// The user store, as an installer or an earlier run would have left it.
inline void writeStore(std::initializer_list<std::pair<const char*, int>> values) {
  QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quillmere"),
              QStringLiteral("ORIVEL"));
  for (const auto& [name, value] : values) s.setValue(QLatin1String(name), value);
  s.sync();
}

inline void removeStore() {
  QSettings s(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Quillmere"),
              QStringLiteral("ORIVEL"));
  const QString file = s.fileName();
  s.clear();
  s.sync();
  QFile::remove(file);
}

// Every window of the program, created afresh for each test, with scripted dialogs.
class FormsTest : public ::testing::Test {
 protected:
  // The program starts with the initial user store in place, as after installation.
  void SetUp() override {
    removeStore();
    ProfileStore::install();
    CreateForms();
  }
  void TearDown() override {
    DestroyForms();
    QApplication::processEvents();
  }
  ScriptedDialogs dialogs;
};

}  // namespace orivel::test
