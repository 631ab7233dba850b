#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QSettings>

#include "app/Forms.h"
#include "app/TForm1.h"
#include "support/ScriptedDialogs.h"

namespace orivel::test {

// Every window of the program, created afresh for each test, with scripted dialogs.
class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override { CreateForms(); }
  void TearDown() override {
    DestroyForms();
    QApplication::processEvents();
  }
  ScriptedDialogs dialogs;
};

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

}  // namespace orivel::test
