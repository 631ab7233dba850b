#include "app/StartUp.h"

#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>

#include "app/CommandLine.h"
#include "app/TForm6.h"
#include "app/Translations.h"
#include "book/CheckListBox.h"
#include "book/TForm4.h"
#include "print/TPrevwin.h"
#include "print/TQRFM.h"
#include "settings/TForm5.h"
#include "support/FormsFixture.h"

namespace orivel::test {
namespace {

QStringList lines() {
  QStringList out;
  auto* model = Form1->CheckListBox1->model();
  for (int i = 0; i < model->rowCount(); ++i) out << model->index(i, 0).data().toString();
  return out;
}

// The texts on the buttons of a message box of each kind, as the program shows it.
QStringList buttonTexts(MessageKind kind) {
  auto texts = std::make_shared<QStringList>();
  whenModal([texts](QWidget* w) {
    auto* box = qobject_cast<QMessageBox*>(w);
    if (!box) {
      w->close();
      return;
    }
    for (QAbstractButton* b : box->buttons()) *texts << b->text();
    box->done(QMessageBox::No);
  });
  dialogs().message(nullptr, kind, QStringLiteral("本文"));
  texts->sort();
  return *texts;
}

// The labels and buttons of the book's open dialog, as the program shows it.
QStringList openDialogTexts() {
  auto texts = std::make_shared<QStringList>();
  whenModal([texts](QWidget* w) {
    for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"})
      if (auto* label = w->findChild<QLabel*>(QLatin1String(name))) *texts << label->text();
    for (QPushButton* b : w->findChildren<QPushButton*>()) *texts << b->text();
    w->close();
  });
  dialogs().openFileName(nullptr, TForm1::kBookFilter, {});
  return *texts;
}

// The first entries of an edit box's right-click menu.
QStringList editMenuTexts() {
  QLineEdit edit;
  const std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
  QStringList texts;
  for (QAction* a : menu->actions())
    if (!a->isSeparator() && texts.size() < 3) texts << a->text().section(u'\t', 0, 0);
  return texts;
}

TEST(QtTranslationsTest, MessageBoxButtonsAndTheFileDialogAreJapanese) {
  const app::QtTranslations qtTexts;
  ASSERT_TRUE(qtTexts.installed())
      << "qtbase_ja not found in " << app::QtTranslations::installedFolder().toStdString();
  EXPECT_EQ(QLocale().language(), QLocale::Japanese);
  EXPECT_EQ(buttonTexts(MessageKind::Question), (QStringList{"いいえ(&N)", "はい(&Y)"}));
  EXPECT_EQ(buttonTexts(MessageKind::Error), QStringList{"OK"});
  EXPECT_EQ(
      openDialogTexts(),
      (QStringList{"アドレス:", "ファイル名(&N):", "ファイルの種類:", "開く(&O)", "キャンセル"}));
  EXPECT_EQ(editMenuTexts(), (QStringList{"元に戻す(&U)", "やり直す(&R)", "切り取り(&T)"}));
}

TEST(QtTranslationsTest, WithoutTheFileQtStaysEnglish) {
  QTemporaryDir empty;
  const QLocale systemLocale;
  const app::QtTranslations qtTexts(empty.path());
  EXPECT_FALSE(qtTexts.installed());
  EXPECT_EQ(QLocale(), systemLocale);
  EXPECT_EQ(buttonTexts(MessageKind::Question), (QStringList{"&No", "&Yes"}));
  EXPECT_EQ(editMenuTexts(), (QStringList{"&Undo", "&Redo", "Cu&t"}));
}

class StartBookTest : public FormsTest {
 protected:
  void start(const std::string& arg) {
    Form1->show();
    const auto book = app::StartBook(app::ParseCommandLine({arg}));
    ASSERT_TRUE(book.has_value());
    forms->openBook(*book);
  }
};

TEST_F(StartBookTest, ABookNamedOnTheCommandLineIsLoaded) {
  start(ORIVEL_SAMPLE_BOOK);
  EXPECT_TRUE(dialogs.shown.empty());
  ASSERT_EQ(lines().size(), 20);
  EXPECT_EQ(lines().front(), QStringLiteral("青木　浩一"));
  EXPECT_EQ(lines().back(), QStringLiteral("松本　悠"));
  EXPECT_FALSE(Form1->Modified);
}

TEST_F(StartBookTest, ABookWhoseNameIsNotUtf8IsLoadedByItsBytes) {
  // テスト.orv in code page 932, as a copy from Windows may name it.
  QTemporaryDir dir;
  const std::string name = dir.path().toStdString() + "/\x83\x65\x83\x58\x83\x67.orv";
  std::filesystem::copy_file(ORIVEL_SAMPLE_BOOK, std::filesystem::path(name));
  start(name);
  EXPECT_TRUE(dialogs.shown.empty()) << dialogs.texts().join(u'|').toStdString();
  EXPECT_EQ(lines().size(), 20);
}

TEST_F(StartBookTest, AMissingBookIsSaidAndTheBookStaysEmpty) {
  QTemporaryDir dir;
  start((dir.path() + QStringLiteral("/ない.orv")).toStdString());
  EXPECT_EQ(dialogs.texts(), (QStringList{QStringLiteral("ファイルがありません"),
                                          QStringLiteral("読み込みに失敗しました。")}));
  EXPECT_EQ(dialogs.shown.front().title, QStringLiteral("ＥＲＲＯＲ"));
  EXPECT_TRUE(lines().isEmpty());
  EXPECT_TRUE(Form1->isVisible());
}

TEST_F(StartBookTest, ARefusedBookSaysTheLoadFailed) {
  start(ORIVEL_TEST_DATA "/cli-wrong-version.orv");
  EXPECT_EQ(dialogs.texts().back(), QStringLiteral("読み込みに失敗しました。"));
  EXPECT_TRUE(lines().isEmpty());
}

TEST_F(StartBookTest, EveryWindowShowsTheProgramsIcon) {
  app::SetDesktopIdentity(*qApp);
  const QImage icon = app::ProgramIcon().pixmap(32).toImage();
  ASSERT_FALSE(icon.isNull());
  for (QWidget* w : std::initializer_list<QWidget*>{Form1, Form4, Form5, Form6, Prevwin, QRFM})
    EXPECT_EQ(w->windowIcon().pixmap(32).toImage(), icon) << w->metaObject()->className();
  QApplication::setWindowIcon(QIcon());
}

}  // namespace
}  // namespace orivel::test
