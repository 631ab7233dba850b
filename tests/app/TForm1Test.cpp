#include "app/TForm1.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolButton>

#include "app/TForm6.h"
#include "book/CheckListBox.h"
#include "book/TForm4.h"
#include "common/Codec.h"
#include "print/TPrevwin.h"
#include "print/TQRFM.h"
#include "settings/TForm5.h"
#include "support/FormsFixture.h"

namespace orivel::test {
namespace {

using MainWindowTest = FormsTest;

std::string cp932(const QString& s) {
  return codec::encodeKnown(s);
}

QStringList lines() {
  QStringList out;
  auto* model = Form1->CheckListBox1->model();
  for (int i = 0; i < model->rowCount(); ++i) out << model->index(i, 0).data().toString();
  return out;
}

int opaquePixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += qAlpha(image.pixel(x, y)) > 128;
  return n;
}

bool lineChecked(int i) {
  return Form1->CheckListBox1->model()->index(i, 0).data(Qt::CheckStateRole).toInt() == Qt::Checked;
}

void addThroughEditor(const QString& name, const QString& address = {}) {
  whenModal([=](QWidget*) {
    Form4->Edit1->setText(name);
    Form4->Edit3->setText(address);
    Form4->Button1->click();
  });
  Form1->AddEntry();
}

datatype entryNamed(const QString& name, const QString& address) {
  datatype e;
  e.name = cp932(name);
  e.address = cp932(address);
  return e;
}

TEST_F(MainWindowTest, StartUpCreatesEveryWindowHiddenButTheMainOne) {
  ASSERT_TRUE(Form1 && QRFM && Prevwin && Form4 && Form5 && Form6);
  EXPECT_EQ(Form1->windowTitle(), QStringLiteral("Form1"));
  EXPECT_EQ(Prevwin->windowTitle(), QStringLiteral("Prevwin"));
  EXPECT_EQ(Form5->windowTitle(), QStringLiteral("個人設定"));
  EXPECT_EQ(Form6->windowTitle(), QStringLiteral("Form6"));
  for (QWidget* w : std::initializer_list<QWidget*>{QRFM, Prevwin, Form4, Form5, Form6})
    EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
  EXPECT_FALSE(Form1->Modified);
  EXPECT_EQ(Form1->PreviewIndex, 0);
  EXPECT_EQ(Form1->Book.count(), 0);
}

TEST_F(MainWindowTest, NowUserComesFromTheStoreOrIsMinusOne) {
  removeStore();
  Form1->FormCreate();
  EXPECT_EQ(Form1->NowUser, -1);

  writeStore({{"user_count", 2}, {"max_user_count", 5}, {"now_user", 2}});
  Form1->FormCreate();
  EXPECT_EQ(Form1->NowUser, 2);

  writeStore({{"now_user", -1}});
  Form1->FormCreate();
  EXPECT_EQ(Form1->NowUser, -1);
  removeStore();
}

TEST_F(MainWindowTest, LayoutFollowsTheDesign) {
  EXPECT_EQ(Form1->centralWidget()->size(), QSize(480, 231));
  EXPECT_FALSE(Form1->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(Form1->Panel1->geometry(), QRect(0, 0, 480, 32));
  EXPECT_EQ(Form1->Label1->text(), QStringLiteral("オリベル"));
  EXPECT_EQ(Form1->Label1->pos(), QPoint(8, 8));
  const int lefts[9] = {104, 128, 152, 176, 200, 224, 256, 280, 312};
  const QStringList tips = {"年賀状",           "暑中見舞い",       "バースデー",
                            "クリスマス",       "その他１",         "その他２",
                            "全てチェックオン", "全てチェックオフ", "チェック入れ替え"};
  for (int i = 0; i < 9; ++i) {
    QToolButton* b = Form1->SpeedButtons[static_cast<std::size_t>(i)];
    EXPECT_EQ(b->geometry(), QRect(lefts[i], 4, 25, 25));
    EXPECT_EQ(b->toolTip(), tips[i]);
    EXPECT_GT(opaquePixels(b->icon().pixmap(24, 24).toImage()), 60) << "picture " << i + 1;
  }
  const std::pair<QPushButton*, QRect> buttons[] = {
      {Form1->Button1, {8, 40, 113, 41}},    {Form1->Button2, {8, 88, 113, 41}},
      {Form1->Button3, {8, 136, 113, 41}},   {Form1->Button4, {8, 184, 113, 41}},
      {Form1->Button5, {128, 40, 113, 41}},  {Form1->Button6, {128, 88, 113, 41}},
      {Form1->Button7, {128, 136, 113, 41}}, {Form1->Button8, {128, 184, 113, 41}}};
  const QStringList texts = {"プレビュー", "印刷",         "削除",     "新規追加",
                             "インポート", "エクスポート", "住所確認", "設定"};
  for (int i = 0; i < 8; ++i) {
    EXPECT_EQ(buttons[i].first->geometry(), buttons[i].second) << i;
    EXPECT_EQ(buttons[i].first->text(), texts[i]);
  }
  EXPECT_EQ(Form1->CheckListBox1->geometry(), QRect(248, 40, 225, 185));
}

TEST_F(MainWindowTest, TheWindowCannotBeResizedOrMaximised) {
  Form1->show();
  QApplication::processEvents();
  const QSize size = Form1->size();
  EXPECT_EQ(Form1->minimumSize(), size);
  EXPECT_EQ(Form1->maximumSize(), size);
  for (const QSize asked : {QSize(900, 700), QSize(200, 100)}) {
    Form1->resize(asked);
    QApplication::processEvents();
    EXPECT_EQ(Form1->size(), size);
    EXPECT_EQ(Form1->centralWidget()->size(), QSize(480, 231));
  }
  EXPECT_FALSE(Form1->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(MainWindowTest, MenusHoldTheirEntriesInOrder) {
  QStringList titles;
  for (QAction* a : Form1->menuBar()->actions()) titles << a->text();
  EXPECT_EQ(titles, (QStringList{"ファイル", "編集", "印刷", "ヘルプ"}));
  auto entries = [](QMenu* m) {
    QStringList out;
    for (QAction* a : m->actions()) out << a->text();
    return out;
  };
  const auto menus = Form1->menuBar()->actions();
  EXPECT_EQ(entries(menus[0]->menu()),
            (QStringList{"保存", "読み込み", "インポート", "エクスポート"}));
  EXPECT_EQ(entries(menus[1]->menu()),
            (QStringList{"新規追加", "セレクト", "住所確認", "送受履歴"}));
  EXPECT_EQ(entries(menus[1]->menu()->actions()[1]->menu()),
            (QStringList{"年賀状", "暑中見舞い", "バースデー", "クリスマス", "その他１", "その他２",
                         "全てチェックオン", "全てチェックオフ", "チェックの入れ替え", "",
                         "今年の年賀状", "返事が必要", "喪中の方"}));
  EXPECT_EQ(entries(menus[2]->menu()), QStringList{"全て印刷"});
  EXPECT_EQ(entries(menus[3]->menu()), QStringList{"バージョン情報"});
  EXPECT_EQ(entries(Form1->PopupMenu1), (QStringList{"チェック", "削除", "変更"}));
}

// Each key is held by one action of the main window, which runs the command; the menus show
// the keys beside their unchanged texts.
TEST_F(MainWindowTest, EachShortcutReachesItsCommand) {
  struct Case {
    QKeySequence key;
    const char* opens;  // what the command shows first: a file dialog's filter or a message
  };
  const Case cases[] = {
      {QKeySequence(Qt::CTRL | Qt::Key_O), "オリベルファイル(*.orv)|*.orv|全てのファイル(*.*)|*.*"},
      {QKeySequence(Qt::CTRL | Qt::Key_S), "オリベルファイル(*.orv)|*.orv|全てのファイル(*.*)|*.*"},
      {QKeySequence(Qt::CTRL | Qt::Key_P), "印刷する項目が未設定です"},
      {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), "プレビューする項目が未設定です"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key.toString().toStdString());
    dialogs.shown.clear();
    dialogs.filters.clear();
    std::vector<QAction*> holders;
    for (QAction* a : Form1->findChildren<QAction*>())
      if (a->shortcut() == c.key) holders.push_back(a);
    ASSERT_EQ(holders.size(), 1u);
    holders[0]->trigger();
    const QString shown =
        dialogs.filters.isEmpty() ? dialogs.texts().value(0) : dialogs.filters.value(0);
    EXPECT_EQ(shown, QString::fromUtf8(c.opens));
  }
  EXPECT_EQ(Form1->N1->text(), QStringLiteral("保存"));
  EXPECT_EQ(Form1->N6->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));

  QAction* menuKey = nullptr;
  for (QAction* a : Form1->findChildren<QAction*>())
    if (a->shortcut() == QKeySequence(Qt::Key_F10)) menuKey = a;
  ASSERT_NE(menuKey, nullptr);
  Form1->show();  // a menu opens only on a window that is shown
  EXPECT_EQ(Form1->menuBar()->activeAction(), nullptr);
  menuKey->trigger();
  QAction* first = Form1->menuBar()->actions().value(0);
  EXPECT_EQ(Form1->menuBar()->activeAction(), first);
  EXPECT_TRUE(first->menu()->isVisible());
  first->menu()->close();
}

TEST_F(MainWindowTest, AddedEntriesKeepTheirOrderAndSetModified) {
  addThroughEditor(QStringLiteral("山田"), QStringLiteral("東京都"));
  addThroughEditor(QStringLiteral("阿部"), QStringLiteral("大阪府"));
  EXPECT_EQ(lines(), (QStringList{"山田", "阿部"}));
  EXPECT_EQ(Form1->Book.entry(1).address, cp932(QStringLiteral("大阪府")));
  EXPECT_EQ(Form1->Book.entry(1).sama, cp932(QStringLiteral("様")));
  EXPECT_EQ(Form1->Book.entry(1).zip_code, "   -    ");
  EXPECT_FALSE(lineChecked(1));
  EXPECT_TRUE(Form1->Modified);
}

TEST_F(MainWindowTest, CancelledAddChangesNothing) {
  whenModal([&](QWidget*) {
    Form4->Edit1->setText(QStringLiteral("取り消し"));
    Form4->Button2->click();
  });
  Form1->AddEntry();
  EXPECT_EQ(Form1->Book.count(), 0);
  EXPECT_FALSE(Form1->Modified);
}

TEST_F(MainWindowTest, TheThreeHundredAndFirstAddIsRefusedBeforeTheEditorOpens) {
  for (int i = 0; i < 300; ++i) Form1->Book.append(entryNamed(QString::number(i), {}));
  bool editorOpened = false;
  whenModal([&](QWidget*) {
    editorOpened = true;
    Form4->Button2->click();
  });
  Form1->AddEntry();
  QApplication::processEvents();
  EXPECT_FALSE(editorOpened);
  EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("登録できる件数は300件までです。")});
  EXPECT_EQ(Form1->Book.count(), 300);
}

TEST_F(MainWindowTest, ChangeFillsTheEditorAndReplacesTheLineInPlaceUnchecked) {
  datatype b = entryNamed(QStringLiteral("佐藤"), QStringLiteral("京都府"));
  b.zip_code = "600-8001";
  b.ml = {0, 1, 0, 0, 0, 1};
  Form1->Book.append(entryNamed(QStringLiteral("伊藤"), QStringLiteral("北海道")));
  Form1->Book.append(b);
  Form1->Book.append(entryNamed(QStringLiteral("加藤"), QStringLiteral("沖縄県")));
  Form1->Book.setChecked(1, true);
  Form1->CheckListBox1->setItemIndex(1);

  QString shownAddress, shownZip;
  bool summerTicked = false;
  whenModal([&](QWidget*) {
    shownAddress = Form4->Edit3->text();
    shownZip = Form4->MaskEdit2->maskedText();
    summerTicked = Form4->CheckBox2->isChecked();
    Form4->Edit1->setText(QStringLiteral("佐藤花子"));
    Form4->Button1->click();
  });
  Form1->ChangeSelectedEntry();
  EXPECT_EQ(shownAddress, QStringLiteral("京都府"));
  EXPECT_EQ(shownZip, QStringLiteral("600-8001"));
  EXPECT_TRUE(summerTicked);
  EXPECT_EQ(lines(), (QStringList{"伊藤", "佐藤花子", "加藤"}));
  EXPECT_FALSE(lineChecked(1));
  EXPECT_EQ(Form1->Book.entry(1).address, b.address);
  EXPECT_EQ(Form1->Book.entry(1).ml, b.ml);
  EXPECT_TRUE(Form1->Modified);
}

TEST_F(MainWindowTest, CancelledChangeKeepsEntryAndCheck) {
  Form1->Book.append(entryNamed(QStringLiteral("伊藤"), QStringLiteral("北海道")));
  Form1->Book.setChecked(0, true);
  Form1->CheckListBox1->setItemIndex(0);
  whenModal([&](QWidget*) {
    Form4->Edit1->setText(QStringLiteral("別人"));
    Form4->Button2->click();
  });
  Form1->ChangeSelectedEntry();
  EXPECT_EQ(lines(), QStringList{"伊藤"});
  EXPECT_TRUE(lineChecked(0));
  EXPECT_FALSE(Form1->Modified);
}

TEST_F(MainWindowTest, WithoutASelectedLineChangeAndDeleteDoNothing) {
  Form1->Book.append(entryNamed(QStringLiteral("伊藤"), {}));
  bool editorOpened = false;
  whenModal([&](QWidget*) {
    editorOpened = true;
    Form4->Button2->click();
  });
  Form1->ChangeSelectedEntry();
  Form1->DeleteSelectedEntry();
  QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(Form1->CheckListBox1, &del);
  QApplication::processEvents();
  EXPECT_FALSE(editorOpened);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(Form1->Book.count(), 1);
}

TEST_F(MainWindowTest, DeleteAsksAndOnlyYesDeletes) {
  Form1->Book.append(entryNamed(QStringLiteral("一"), QStringLiteral("a")));
  Form1->Book.append(entryNamed(QStringLiteral("二"), QStringLiteral("b")));
  Form1->Book.append(entryNamed(QStringLiteral("三"), QStringLiteral("c")));
  Form1->Book.setChecked(1, true);
  Form1->CheckListBox1->setItemIndex(1);

  dialogs.answers = {Answer::No};
  Form1->DeleteSelectedEntry();
  EXPECT_EQ(lines(), (QStringList{"一", "二", "三"}));
  EXPECT_TRUE(lineChecked(1));
  EXPECT_FALSE(Form1->Modified);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("本当に削除してよろしいですか？"));
  EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Question);

  dialogs.answers = {Answer::Yes};
  QKeyEvent del(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
  QApplication::sendEvent(Form1->CheckListBox1, &del);  // the Delete key
  EXPECT_EQ(lines(), (QStringList{"一", "三"}));
  EXPECT_EQ(Form1->Book.entry(1).address, "c");
  EXPECT_TRUE(Form1->Modified);
}

TEST_F(MainWindowTest, DeletingTheSecondOfTwoAlikeKeepsTheFirst) {
  Form1->Book.append(entryNamed(QStringLiteral("田中"), QStringLiteral("first")));
  Form1->Book.append(entryNamed(QStringLiteral("田中"), QStringLiteral("second")));
  Form1->CheckListBox1->setItemIndex(1);
  dialogs.answers = {Answer::Yes};
  Form1->Delete2->trigger();
  ASSERT_EQ(lines(), QStringList{"田中"});
  EXPECT_EQ(Form1->Book.entry(0).address, "first");
}

TEST_F(MainWindowTest, RightButtonOpensThePopupWithoutMovingTheSelection) {
  Form1->show();
  Form1->Book.append(entryNamed(QStringLiteral("一"), {}));
  Form1->Book.append(entryNamed(QStringLiteral("二"), {}));
  Form1->CheckListBox1->setItemIndex(0);
  QWidget* viewport = Form1->CheckListBox1->viewport();
  const QRect second = Form1->CheckListBox1->visualRect(Form1->CheckListBox1->model()->index(1, 0));
  const QPoint at = second.center();
  QMouseEvent press(QEvent::MouseButtonPress, at, viewport->mapToGlobal(at), Qt::RightButton,
                    Qt::RightButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &press);
  EXPECT_TRUE(Form1->PopupMenu1->isVisible());
  EXPECT_EQ(Form1->CheckListBox1->ItemIndex(), 0);
  Form1->PopupMenu1->hide();
  // The pop-up's チェック acts on the line selected before.
  Form1->N18->trigger();
  EXPECT_TRUE(lineChecked(0));
  EXPECT_FALSE(lineChecked(1));
  Form1->N18->trigger();  // no toggle
  EXPECT_TRUE(lineChecked(0));
}

TEST_F(MainWindowTest, ClosingAsksOnlyWhenTheBookWasModified) {
  Form1->show();
  EXPECT_TRUE(Form1->close());
  EXPECT_TRUE(dialogs.shown.empty());

  Form1->show();
  Form1->Modified = true;
  dialogs.answers = {Answer::No};
  EXPECT_FALSE(Form1->close());
  EXPECT_TRUE(Form1->isVisible());
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text,
            QStringLiteral("データが変更されています。終了してよろしいですか？"));
  dialogs.answers = {Answer::Yes};
  EXPECT_TRUE(Form1->close());
}

TEST_F(MainWindowTest, SpeedButtonsAndMenuTwinsSetTheChecks) {
  datatype a = entryNamed(QStringLiteral("A"), {});
  a.ml[0] = 1;
  Form1->Book.append(a);
  Form1->Book.append(entryNamed(QStringLiteral("B"), {}));
  Form1->Book.setChecked(1, true);
  Form1->SpeedButtons[0]->click();  // 年賀状
  EXPECT_TRUE(lineChecked(0));
  EXPECT_FALSE(lineChecked(1));
  Form1->SelectActions[8]->trigger();  // チェックの入れ替え
  EXPECT_FALSE(lineChecked(0));
  EXPECT_TRUE(lineChecked(1));
  EXPECT_FALSE(Form1->Modified);
}

}  // namespace
}  // namespace orivel::test
