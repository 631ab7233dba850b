#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QSettings>
#include <memory>

#include "app/Composition.h"
#include "app/TForm1.h"
#include "app/TForm6.h"
#include "book/TForm4.h"
#include "print/TPrevwin.h"
#include "print/TQRFM.h"
#include "settings/ProfileStore.h"
#include "settings/TForm5.h"
#include "support/ScriptedDialogs.h"

namespace orivel::test {

// The windows of the test that runs now, by their usual names, for the test and its
// helpers; set while a FormsTest runs, null otherwise.
inline TForm1* Form1 = nullptr;
inline TQRFM* QRFM = nullptr;
inline TPrevwin* Prevwin = nullptr;
inline TForm4* Form4 = nullptr;
inline TForm5* Form5 = nullptr;
inline TForm6* Form6 = nullptr;

// Every window of the program, built afresh for each test by the composition root, with
// scripted dialogs.
class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    forms = std::make_unique<Composition>();
    Form1 = forms->Form1();
    QRFM = forms->QRFM();
    Prevwin = forms->Prevwin();
    Form4 = forms->Form4();
    Form5 = forms->Form5();
    Form6 = forms->Form6();
  }
  void TearDown() override {
    Form1 = nullptr;
    QRFM = nullptr;
    Prevwin = nullptr;
    Form4 = nullptr;
    Form5 = nullptr;
    Form6 = nullptr;
    forms.reset();
    QApplication::processEvents();
  }
  ScriptedDialogs dialogs;
  std::unique_ptr<Composition> forms;
};

// The user store, as an installer or an earlier run would have left it.
inline void writeStore(std::initializer_list<std::pair<const char*, int>> values) {
  QSettings s(QSettings::NativeFormat, QSettings::UserScope, ProfileStore::kOrganisation,
              ProfileStore::kApplication);
  for (const auto& [name, value] : values) s.setValue(QLatin1String(name), value);
  s.sync();
}

inline void removeStore() {
  QSettings s(QSettings::NativeFormat, QSettings::UserScope, ProfileStore::kOrganisation,
              ProfileStore::kApplication);
  const QString file = s.fileName();
  s.clear();
  s.sync();
  QFile::remove(file);
}

}  // namespace orivel::test
