#include "settings/TForm5.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>
#include <functional>

#include "book/TForm4.h"
#include "common/Codec.h"
#include "print/TQRFM.h"
#include "settings/ProfileStore.h"
#include "settings/SenderProfiles.h"
#include "support/FormsFixture.h"
#include "support/StoreFiles.h"

namespace orivel::test {
namespace {

using SettingsDialogTest = FormsTest;

const QString kLimitText = QStringLiteral("ユーザーの最大数を越えました\r\n新しい追加は出来ません");

std::optional<int> stored(const char* name) {
  ProfileStore store;
  return store.readInt(QLatin1String(name));
}

void freshStore() {
  removeStore();
  writeStore({{"user_count", 0}, {"max_user_count", 5}, {"now_user", -1}});
}

// Answers the entry editor that AddUser or "変更" opens.
void confirmEditor(const QString& name, const QString& zip, const QString& address) {
  whenModal([=](QWidget*) {
    Form4->Edit1->setText(name);
    Form4->MaskEdit2->setMaskedText(zip);
    Form4->Edit3->setText(address);
    Form4->Button1->click();
  });
}

// Records whether any dialog opens while it lives, and closes it at once, so that a
// command that must not open one cannot leave a scripted answer behind.
class DialogWatch final : public QObject {
 public:
  DialogWatch() { qApp->installEventFilter(this); }
  ~DialogWatch() override { qApp->removeEventFilter(this); }
  bool opened = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* dialog = qobject_cast<QDialog*>(watched);
    if (dialog && event->type() == QEvent::Show) {
      opened = true;
      QMetaObject::invokeMethod(dialog, &QDialog::reject, Qt::QueuedConnection);
    }
    return false;
  }
};

// Pixels darker than mid grey inside `area` of the preview picture.
int inkIn(const QRect& area) {
  const QImage& picture = Form5->Image1->picture();
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x)
      if (picture.rect().contains(x, y) && qGray(picture.pixel(x, y)) < 128) ++n;
  return n;
}

QStringList offsetLabelTexts() {
  QStringList out;
  for (QLabel* l : Form5->OffsetLabels) out << l->text();
  return out;
}

const QStringList kNeutralLabels = {"横(0)", "縦(0)", "横(0)", "縦(0)", "横(0)", "縦(0)",
                                    "横(0)", "縦(0)", "横(0)", "縦(0)", "横(0)", "縦(0)"};

void expectAllOffsetsNeutral() {
  for (int k = 1; k <= 12; ++k) EXPECT_EQ(Form5->OffsetBar(k)->value(), 50) << k;
  EXPECT_EQ(offsetLabelTexts(), kNeutralLabels);
}

TEST_F(SettingsDialogTest, WindowAndClientArea) {
  EXPECT_EQ(Form5->windowTitle(), QStringLiteral("個人設定"));
  EXPECT_EQ(Form5->pos(), QPoint(183, 284));
  EXPECT_FALSE(Form5->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_FALSE(Form5->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_EQ(Form5->font().pixelSize(), 12);
  Form5->layout()->activate();
  const int menuHeight = Form5->MainMenu1->height();
  // The family's group lies below the 430 pixels of the rest.
  EXPECT_EQ(Form5->ClientArea->geometry().width(), 452);
  EXPECT_EQ(Form5->GroupBox5->geometry().top(), 430);
  EXPECT_EQ(Form5->ClientArea->height(), Form5->GroupBox6->geometry().bottom() + 8);
  EXPECT_EQ(Form5->size(), QSize(452, Form5->ClientArea->height() + menuHeight));
  EXPECT_EQ(Form5->minimumSize(), Form5->maximumSize());  // not resizable
}

TEST_F(SettingsDialogTest, ToolBarAndSenderControls) {
  EXPECT_EQ(Form5->Panel1->geometry(), QRect(0, 0, 452, 32));
  const std::pair<QToolButton*, int> tools[] = {{Form5->SpeedButton1, 16},
                                                {Form5->SpeedButton2, 40},
                                                {Form5->SpeedButton5, 72},
                                                {Form5->SpeedButton4, 96}};
  for (const auto& [b, left] : tools) {
    EXPECT_EQ(b->parentWidget(), Form5->Panel1);
    EXPECT_EQ(b->geometry(), QRect(left, 4, 25, 25));
    const QImage picture = b->icon().pixmap(24, 24).toImage();
    int opaque = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 24; ++x) opaque += qAlpha(picture.pixel(x, y)) > 128;
    EXPECT_GT(opaque, 40) << b->objectName().toStdString();
    EXPECT_LT(opaque, 24 * 24) << "the ground shows through";
  }
  EXPECT_EQ(Form5->Label13->font().pixelSize(), 16);
  EXPECT_TRUE(Form5->Label13->alignment() & Qt::AlignRight);

  EXPECT_EQ(Form5->GroupBox2->title(), QStringLiteral("個人設定"));
  EXPECT_EQ(Form5->GroupBox2->geometry(), QRect(8, 32, 441, 89));
  EXPECT_EQ(Form5->GroupBox2->font().pixelSize(), 16);
  EXPECT_EQ(Form5->Label12->text(), QStringLiteral("名前"));
  EXPECT_EQ(Form5->Label12->pos(), QPoint(8, 24));
  EXPECT_EQ(Form5->Label11->text(), QStringLiteral("郵便番号"));
  EXPECT_EQ(Form5->Label11->pos(), QPoint(224, 24));
  EXPECT_EQ(Form5->Label10->text(), QStringLiteral("住所"));
  EXPECT_EQ(Form5->Label10->pos(), QPoint(8, 56));
  EXPECT_EQ(Form5->Edit1->geometry(), QRect(48, 24, 169, 24));
  EXPECT_EQ(Form5->Edit2->geometry(), QRect(296, 24, 81, 24));
  EXPECT_EQ(Form5->Edit3->geometry(), QRect(48, 56, 377, 24));
  for (QLineEdit* e : {Form5->Edit1, Form5->Edit2, Form5->Edit3}) {
    EXPECT_TRUE(e->isReadOnly());
    EXPECT_TRUE(e->text().isEmpty());
    EXPECT_EQ(e->parentWidget(), Form5->GroupBox2);
  }
  EXPECT_EQ(Form5->Button3->text(), QStringLiteral("変更"));
  EXPECT_EQ(Form5->Button3->geometry(), QRect(384, 24, 41, 25));

  EXPECT_EQ(Form5->GroupBox3->title(), QStringLiteral("印字種別"));
  EXPECT_EQ(Form5->GroupBox3->geometry(), QRect(256, 128, 193, 57));
  EXPECT_EQ(Form5->CheckBox1->text(), QStringLiteral("自分の宛名を印字する"));
  EXPECT_EQ(Form5->CheckBox1->geometry(), QRect(8, 16, 177, 17));
  EXPECT_FALSE(Form5->CheckBox1->isChecked());
  EXPECT_EQ(Form5->CheckBox2->text(), QStringLiteral("住所の数字を漢数字で印字する"));
  EXPECT_EQ(Form5->CheckBox2->parentWidget(), Form5->GroupBox3);
  EXPECT_EQ(Form5->CheckBox2->geometry(), QRect(4, 35, 187, 17));
  EXPECT_LE(Form5->CheckBox2->sizeHint().width(), 187) << "the whole caption shows";
  EXPECT_FALSE(Form5->CheckBox2->isChecked());
  EXPECT_EQ(Form5->Image1->geometry(), QRect(264, 192, 177, 201));
  EXPECT_TRUE(Form5->Image1->picture().isNull()) << "blank until the first showing";
  EXPECT_EQ(Form5->Button1->text(), QStringLiteral("設定"));
  EXPECT_EQ(Form5->Button1->geometry(), QRect(264, 400, 81, 25));
  EXPECT_EQ(Form5->Button2->text(), QStringLiteral("キャンセル"));
  EXPECT_EQ(Form5->Button2->geometry(), QRect(360, 400, 81, 25));
}

TEST_F(SettingsDialogTest, OffsetGroupsScrollBarsAndLabels) {
  EXPECT_EQ(Form5->GroupBox1->title(), QStringLiteral("印字位置（宛先）"));
  EXPECT_EQ(Form5->GroupBox1->geometry(), QRect(8, 128, 241, 145));
  EXPECT_EQ(Form5->GroupBox4->title(), QStringLiteral("印字位置（自分）"));
  EXPECT_EQ(Form5->GroupBox4->geometry(), QRect(8, 280, 241, 145));
  EXPECT_EQ(Form5->GroupBox4->font().pixelSize(), 16);
  for (QPushButton* d : {Form5->Button4, Form5->Button5}) {
    EXPECT_EQ(d->text(), QStringLiteral("D"));
    EXPECT_EQ(d->geometry(), QRect(120, 0, 17, 17));
  }
  EXPECT_EQ(Form5->Button4->parentWidget(), Form5->GroupBox1);
  EXPECT_EQ(Form5->Button5->parentWidget(), Form5->GroupBox4);

  const QStringList labelNames = {"Label4",  "Label5",  "Label6",  "Label7",  "Label8",  "Label9",
                                  "Label17", "Label18", "Label19", "Label20", "Label21", "Label22"};
  const int rowTops[6] = {24, 40, 64, 80, 104, 120};
  for (int k = 1; k <= 12; ++k) {
    QScrollBar* bar = Form5->OffsetBar(k);
    QLabel* label = Form5->OffsetLabels[static_cast<std::size_t>(k - 1)];
    QGroupBox* group = k <= 6 ? Form5->GroupBox1 : Form5->GroupBox4;
    const int top = rowTops[(k - 1) % 6];
    EXPECT_EQ(bar->objectName(), QStringLiteral("ScrollBar%1").arg(k));
    EXPECT_EQ(bar->property("Tag").toInt(), k);
    EXPECT_EQ(bar->orientation(), Qt::Horizontal);
    EXPECT_EQ(bar->minimum(), 0);
    EXPECT_EQ(bar->maximum(), 100);
    EXPECT_EQ(bar->singleStep(), 1);
    EXPECT_EQ(bar->value(), 50);
    EXPECT_EQ(bar->parentWidget(), group);
    EXPECT_EQ(bar->geometry(), QRect(136, top, 97, 14)) << k;
    EXPECT_EQ(label->objectName(), labelNames[k - 1]);
    EXPECT_EQ(label->parentWidget(), group);
    EXPECT_EQ(label->pos(), QPoint(80, top)) << k;
  }
  EXPECT_EQ(offsetLabelTexts(), kNeutralLabels);
  EXPECT_EQ(Form5->ScrollBar7, Form5->OffsetBar(7));
  EXPECT_EQ(Form5->Label9, Form5->OffsetLabels[5]);

  for (QGroupBox* group : {Form5->GroupBox1, Form5->GroupBox4}) {
    QStringList captions;
    for (QLabel* l : group->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
      if (l->x() == 8) captions << QStringLiteral("%1@%2").arg(l->text()).arg(l->y());
    EXPECT_EQ(captions, QStringList({"宛名@24", "住所@64", "郵便番号@104"}));
  }
}

TEST_F(SettingsDialogTest, MenuBar) {
  const QList<QAction*> menus = Form5->MainMenu1->actions();
  ASSERT_EQ(menus.size(), 2);
  EXPECT_EQ(menus[0]->text(), QStringLiteral("ユーザー"));
  EXPECT_EQ(menus[1]->text(), QStringLiteral("初期値"));
  const QList<QAction*> users = menus[0]->menu()->actions();
  ASSERT_EQ(users.size(), 2);
  EXPECT_EQ(users[0], Form5->N3);
  EXPECT_EQ(users[0]->text(), QStringLiteral("追加"));
  EXPECT_EQ(users[1], Form5->N2);
  EXPECT_EQ(users[1]->text(), QStringLiteral("削除"));
  const QList<QAction*> defaults = menus[1]->menu()->actions();
  ASSERT_EQ(defaults.size(), 3);
  EXPECT_EQ(defaults[0], Form5->N5);
  EXPECT_EQ(defaults[0]->text(), QStringLiteral("宛先位置の初期化"));
  EXPECT_EQ(defaults[1], Form5->N6);
  EXPECT_EQ(defaults[1]->text(), QStringLiteral("送りもと位置の初期化"));
  EXPECT_EQ(defaults[2], Form5->N7);
  EXPECT_EQ(defaults[2]->text(), QStringLiteral("印刷位置の確認"));
}

TEST_F(SettingsDialogTest, FirstShowingWithTheInitialStore) {
  freshStore();
  Form1->NowUser = 3;
  Form5->FormShow();
  EXPECT_EQ(Form1->NowUser, -1);
  EXPECT_EQ(Form5->Label13->text(), QStringLiteral("ユーザー未設定"));
  EXPECT_EQ(Form5->Label13->geometry().right() + 1, 441);
  EXPECT_EQ(Form5->Label13->y(), 8);
  EXPECT_EQ(offsetLabelTexts(), kNeutralLabels);
  ASSERT_EQ(Form5->Image1->picture().size(), QSize(177, 201));
  // Each text at its point: ink right there, none just above it.
  const QPoint points[] = {{70, 60}, {70, 75}, {120, 80}, {120, 95}, {100, 50}};
  for (const QPoint& pt : points) {
    EXPECT_GT(inkIn(QRect(pt, QSize(12, 14))), 5) << pt.x() << "," << pt.y();
  }
  EXPECT_EQ(inkIn(QRect(0, 0, 177, 48)), 0);
  EXPECT_GT(inkIn(QRect(136, 50, 12, 14)), 5) << "the fourth character of 郵便番号";
  EXPECT_EQ(inkIn(QRect(0, 0, 60, 217)), 0);
}

TEST_F(SettingsDialogTest, StoreAbsentMeansNoUser) {
  removeStore();
  Form1->NowUser = 4;
  Form5->FormShow();
  EXPECT_EQ(Form1->NowUser, -1);
  EXPECT_EQ(Form5->Label13->text(), QStringLiteral("ユーザー未設定"));
  EXPECT_FALSE(ProfileStore::exists()) << "showing never creates the store";
}

TEST_F(SettingsDialogTest, UserLabelShowsTheUsersValueOrItsNumber) {
  removeStore();
  writeStore({{"user_count", 2}, {"max_user_count", 5}, {"now_user", 2}, {"user_name_2", 4711}});
  Form5->FormShow();
  EXPECT_EQ(Form1->NowUser, 2);
  EXPECT_EQ(Form5->Label13->text(), QStringLiteral("4711"));
  EXPECT_EQ(Form5->Label13->geometry().right() + 1, 441);

  writeStore({{"now_user", 1}});  // user_name_1 was never written
  Form5->FormShow();
  EXPECT_EQ(Form1->NowUser, 1);
  EXPECT_EQ(Form5->Label13->text(), QStringLiteral("1"));
  EXPECT_EQ(Form5->Label13->geometry().right() + 1, 441);
  EXPECT_FALSE(Form5->Image1->picture().isNull()) << "the showing went on to the preview";
}

TEST_F(SettingsDialogTest, LabelsFollowTheBars) {
  Form5->ScrollBar3->setValue(0);
  EXPECT_EQ(Form5->Label6->text(), QStringLiteral("横(-50)"));
  Form5->ScrollBar3->setValue(50);
  EXPECT_EQ(Form5->Label6->text(), QStringLiteral("横(0)"));
  Form5->ScrollBar3->setValue(100);
  EXPECT_EQ(Form5->Label6->text(), QStringLiteral("横(50)"));
  Form5->ScrollBar6->setValue(100);
  EXPECT_EQ(Form5->Label9->text(), QStringLiteral("縦(50)"));
  Form5->ScrollBar12->setValue(13);
  EXPECT_EQ(Form5->Label22->text(), QStringLiteral("縦(-37)"));
  Form5->ScrollBar12->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(Form5->Label22->text(), QStringLiteral("縦(-36)"));
  EXPECT_EQ(Form5->ScrollBar12->value(), 14);
}

TEST_F(SettingsDialogTest, PreviewFollowsTheAddresseeBars) {
  Form5->FormShow();
  Form5->ScrollBar3->setValue(0);
  EXPECT_GT(inkIn(QRect(70, 80, 12, 14)), 5) << "住 at x = 70";
  EXPECT_GT(inkIn(QRect(70, 95, 12, 14)), 5) << "所 at x = 70";
  EXPECT_EQ(inkIn(QRect(120, 80, 14, 30)), 0) << "nothing left where they were";

  Form5->ScrollBar6->setValue(100);
  EXPECT_EQ(inkIn(QRect(100, 50, 48, 14)), 0) << "郵便番号 moved away";
  EXPECT_GT(inkIn(QRect(100, 100, 12, 14)), 5) << "郵便番号 at y = 100";
  EXPECT_GT(inkIn(QRect(136, 100, 12, 14)), 5);
}

TEST_F(SettingsDialogTest, SenderBarsChangeTheirLabelButNotThePreview) {
  Form5->FormShow();
  const QImage before = Form5->Image1->picture().copy();
  Form5->ScrollBar7->setValue(0);
  Form5->ScrollBar10->setValue(90);
  EXPECT_EQ(Form5->Label17->text(), QStringLiteral("横(-50)"));
  EXPECT_EQ(Form5->Label20->text(), QStringLiteral("縦(40)"));
  EXPECT_EQ(Form5->Image1->picture(), before);
  Form5->CheckBox1->setChecked(true);
  Form5->DrawOffsetPreview();
  EXPECT_EQ(Form5->Image1->picture(), before);
}

TEST_F(SettingsDialogTest, ResetButtonsActOnTheirOwnGroup) {
  Form5->ScrollBar2->setValue(10);
  Form5->ScrollBar5->setValue(99);
  Form5->ScrollBar8->setValue(70);
  Form5->Button4->click();
  EXPECT_EQ(Form5->ScrollBar2->value(), 50);
  EXPECT_EQ(Form5->ScrollBar5->value(), 50);
  EXPECT_EQ(Form5->Label5->text(), QStringLiteral("縦(0)"));
  EXPECT_EQ(Form5->Label8->text(), QStringLiteral("横(0)"));
  EXPECT_EQ(Form5->ScrollBar8->value(), 70);
  EXPECT_EQ(Form5->Label18->text(), QStringLiteral("縦(20)"));

  Form5->ScrollBar1->setValue(0);
  Form5->Button5->click();
  EXPECT_EQ(Form5->ScrollBar8->value(), 50);
  EXPECT_EQ(Form5->Label18->text(), QStringLiteral("縦(0)"));
  EXPECT_EQ(Form5->ScrollBar1->value(), 0);

  Form5->ScrollBar4->setValue(1);
  Form5->ScrollBar11->setValue(2);
  Form5->N6->trigger();
  EXPECT_EQ(Form5->ScrollBar11->value(), 50);
  EXPECT_EQ(Form5->ScrollBar4->value(), 1);
  Form5->N5->trigger();
  expectAllOffsetsNeutral();
}

TEST_F(SettingsDialogTest, ResetRedrawsThePreview) {
  Form5->FormShow();
  const QImage neutral = Form5->Image1->picture().copy();
  Form5->ScrollBar1->setValue(0);
  EXPECT_NE(Form5->Image1->picture(), neutral);
  Form5->ResetOffsets(OffsetGroups::Addressee);
  EXPECT_EQ(Form5->Image1->picture(), neutral);
}

TEST_F(SettingsDialogTest, FiveUsersThenTheLimit) {
  freshStore();
  for (int i = 1; i <= 5; ++i) {
    confirmEditor(QStringLiteral("送り主%1").arg(i), QStringLiteral("100-000%1").arg(i),
                  QStringLiteral("東京都"));
    Form5->SpeedButton5->click();
    EXPECT_EQ(stored("user_count"), i);
    EXPECT_EQ(stored("now_user"), i);
  }
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(Form5->Edit1->text(), QStringLiteral("送り主5"));

  DialogWatch watch;
  Form5->SpeedButton5->click();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Information);
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Ｉｎｆｏｒｍａｔｉｏｎ"));
  EXPECT_EQ(dialogs.shown[0].text, kLimitText);
  EXPECT_FALSE(watch.opened);
  EXPECT_EQ(stored("user_count"), 5);
  EXPECT_EQ(stored("now_user"), 5);
  EXPECT_EQ(stored("max_user_count"), 5);
  EXPECT_EQ(Form5->Edit1->text(), QStringLiteral("送り主5"));
}

TEST_F(SettingsDialogTest, AMaximumOfSevenAllowsSevenUsers) {
  removeStore();
  writeStore({{"user_count", 0}, {"max_user_count", 7}, {"now_user", -1}});
  for (int i = 1; i <= 7; ++i) {
    confirmEditor(QStringLiteral("名%1").arg(i), QString(), QString());
    Form5->N3->trigger();
  }
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(stored("user_count"), 7);
  EXPECT_EQ(stored("now_user"), 7);
  DialogWatch watch;
  Form5->N3->trigger();
  EXPECT_FALSE(watch.opened);
  EXPECT_EQ(dialogs.texts(), QStringList{kLimitText});
  EXPECT_EQ(stored("user_count"), 7);
}

TEST_F(SettingsDialogTest, AdditionSetsTheSenderAndResetsTheOffsets) {
  removeStore();
  writeStore({{"user_count", 1}, {"max_user_count", 5}, {"now_user", 1}, {"user_name_1", 31}});
  Form5->FormShow();
  ASSERT_EQ(Form5->Label13->text(), QStringLiteral("31"));
  Form5->setNameBytes(codec::encodeKnown(QStringLiteral("前の人")));
  Form5->ScrollBar1->setValue(3);
  Form5->ScrollBar12->setValue(97);
  Form5->CheckBox1->setChecked(true);

  whenModal([&](QWidget*) {
    // The editor comes for a sender: empty, honorific hidden, categories off.
    EXPECT_TRUE(Form4->Edit1->text().isEmpty());
    EXPECT_TRUE(Form4->Edit3->text().isEmpty());
    EXPECT_EQ(Form4->MaskEdit2->maskedText(), QStringLiteral("   -    "));
    EXPECT_EQ(Form4->Edit2->text(), QStringLiteral("様"));
    EXPECT_FALSE(Form4->Edit2->isVisible());
    for (int k = 1; k <= 6; ++k) {
      EXPECT_FALSE(Form4->categoryBox(k)->isEnabled());
      EXPECT_FALSE(Form4->categoryBox(k)->isChecked());
    }
    Form4->Edit1->setText(QStringLiteral("山田　太郎"));
    Form4->MaskEdit2->setMaskedText(QStringLiteral("123-4567"));
    Form4->Edit3->setText(QStringLiteral("東京都千代田区１－１"));
    Form4->Button1->click();
  });
  const usertype previous = Form5->CurrentUser();
  Form5->AddUser();

  EXPECT_FALSE(Form4->Edit2->isHidden()) << "the honorific box is back for the address book";
  EXPECT_EQ(Form5->Edit1->text(), QStringLiteral("山田　太郎"));
  EXPECT_EQ(Form5->Edit2->text(), QStringLiteral("123-4567"));
  EXPECT_EQ(Form5->Edit3->text(), QStringLiteral("東京都千代田区１－１"));
  expectAllOffsetsNeutral();
  EXPECT_TRUE(Form5->CheckBox1->isChecked()) << "the check box is no offset";
  // The dialog edits the new user's profile from now on and names that user.
  EXPECT_EQ(Form5->Label13->text(), QStringLiteral("2"));
  EXPECT_EQ(Form1->NowUser, 2);
  EXPECT_EQ(stored("user_count"), 2);
  EXPECT_EQ(stored("now_user"), 2);

  const usertype user = Form5->CurrentUser();
  EXPECT_EQ(user.name, codec::encodeKnown(QStringLiteral("山田　太郎")));
  EXPECT_EQ(user.zip_code, "123-4567");
  EXPECT_EQ(user.address, codec::encodeKnown(QStringLiteral("東京都千代田区１－１")));
  EXPECT_EQ(ReadProfile(2).user, user);
  const usertype former = ReadProfile(1).user;
  EXPECT_EQ(former.name, previous.name);
  EXPECT_EQ(former.zip_code, previous.zip_code);
  EXPECT_EQ(former.offsets, previous.offsets);
  EXPECT_EQ(former, previous) << "the former user keeps the profile as it was";
}

TEST_F(SettingsDialogTest, CancelledAdditionChangesNothing) {
  freshStore();
  Form5->setNameBytes(codec::encodeKnown(QStringLiteral("残る名前")));
  Form5->setZipBytes("111-2222");
  Form5->ScrollBar4->setValue(20);
  Form5->ScrollBar9->setValue(80);
  const usertype before = Form5->CurrentUser();
  whenModal([&](QWidget*) {
    Form4->Edit1->setText(QStringLiteral("取り消す人"));
    Form4->Button2->click();
  });
  Form5->AddUser();
  EXPECT_EQ(Form5->CurrentUser(), before);
  EXPECT_EQ(Form5->Label7->text(), QStringLiteral("縦(-30)"));
  EXPECT_EQ(stored("user_count"), 0);
  EXPECT_EQ(stored("now_user"), -1);
  EXPECT_FALSE(Form4->Edit2->isHidden());
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SettingsDialogTest, UnreadableCountsStopTheAddition) {
  removeStore();
  writeStore({{"max_user_count", 5}, {"now_user", -1}});  // user_count missing
  DialogWatch watch;
  Form5->AddUser();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ＥＲＲＯＲ"));
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("ユーザー情報を読み込めませんでした。"));
  EXPECT_FALSE(watch.opened);
  EXPECT_FALSE(stored("user_count").has_value());
  EXPECT_EQ(stored("now_user"), -1);

  removeStore();
  Form5->AddUser();  // no store at all
  EXPECT_EQ(dialogs.texts().size(), 2);
  EXPECT_EQ(dialogs.texts().last(), QStringLiteral("ユーザー情報を読み込めませんでした。"));
  EXPECT_FALSE(ProfileStore::exists());
}

TEST_F(SettingsDialogTest, StoreGoneBeforeWritingKeepsTheNewSender) {
  freshStore();
  Form5->ScrollBar1->setValue(0);
  whenModal([&](QWidget*) {
    removeStore();  // taken away while the editor is open
    Form4->Edit1->setText(QStringLiteral("新しい人"));
    Form4->Button1->click();
  });
  Form5->AddUser();
  EXPECT_FALSE(ProfileStore::exists()) << "adding a user never creates the store";
  EXPECT_EQ(Form5->Edit1->text(), QStringLiteral("新しい人"));
  expectAllOffsetsNeutral();
  EXPECT_EQ(dialogs.texts(), QStringList{"設定を保存できませんでした。"});
  EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
}

TEST_F(SettingsDialogTest, ChangeConfirmedTakesTheEditorsTexts) {
  freshStore();
  // A name byte that code page 932 cannot decode: it must come back unchanged.
  const std::string oddName = "\x8e\x52\xff";
  Form5->setNameBytes(oddName);
  Form5->setZipBytes("123-4567");
  Form5->setAddressBytes(codec::encodeKnown(QStringLiteral("大阪府")));
  Form5->ScrollBar2->setValue(33);
  Form4->Edit2->setText(QStringLiteral("殿"));
  whenModal([&](QWidget*) {
    EXPECT_EQ(Form4->MaskEdit2->maskedText(), QStringLiteral("123-4567"));
    EXPECT_EQ(Form4->Edit3->text(), QStringLiteral("大阪府"));
    EXPECT_EQ(Form4->Edit2->text(), QStringLiteral("殿")) << "texts are not emptied";
    EXPECT_FALSE(Form4->Edit2->isVisible());
    for (int k = 1; k <= 6; ++k) {
      EXPECT_FALSE(Form4->categoryBox(k)->isEnabled());
      EXPECT_FALSE(Form4->categoryBox(k)->isChecked());
    }
    Form4->Edit3->setText(QStringLiteral("京都府"));
    Form4->MaskEdit2->setMaskedText(QStringLiteral("765-4321"));
    Form4->Button1->click();
  });
  Form5->Button3->click();
  EXPECT_FALSE(Form4->Edit2->isHidden());
  const usertype user = Form5->CurrentUser();
  EXPECT_EQ(user.name, oddName);
  EXPECT_EQ(user.zip_code, "765-4321");
  EXPECT_EQ(user.address, codec::encodeKnown(QStringLiteral("京都府")));
  EXPECT_EQ(Form5->Edit3->text(), QStringLiteral("京都府"));
  EXPECT_EQ(user.offset(2), 33);
  EXPECT_EQ(stored("user_count"), 0);
  EXPECT_EQ(stored("now_user"), -1);
}

TEST_F(SettingsDialogTest, TheFamilyIsEditedWithChangeAndKeptInTheProfile) {
  freshStore();
  Form5->setNameBytes(codec::encodeKnown(QStringLiteral("山田　太郎")));
  whenModal([&](QWidget*) {
    EXPECT_FALSE(Form4->JointSamaEdits[0]->isVisible());
    EXPECT_FALSE(Form4->CompanyEdit->isVisible());
    Form4->JointNameEdits[0]->setText(QStringLiteral("花子"));
    Form4->JointNameEdits[2]->setText(QStringLiteral("健太"));  // a row left empty between
    Form4->Button1->click();
  });
  Form5->Button3->click();
  EXPECT_EQ(Form5->Edit4->text(), QStringLiteral("花子、健太"));
  const std::vector<std::string> family = {codec::encodeKnown(QStringLiteral("花子")),
                                           codec::encodeKnown(QStringLiteral("健太"))};
  EXPECT_EQ(Form5->CurrentUser().joints, family);
  EXPECT_EQ(ReadProfile(-1).user.joints, family);
  EXPECT_TRUE(Form4->JointSamaEdits[0]->isVisibleTo(Form4)) << "an addressee's rows come back";
  // The next 変更 starts from the family as kept; emptying a row removes that name.
  whenModal([&](QWidget*) {
    EXPECT_EQ(Form4->JointNameEdits[0]->text(), QStringLiteral("花子"));
    EXPECT_EQ(Form4->JointNameEdits[1]->text(), QStringLiteral("健太"));
    Form4->JointNameEdits[0]->clear();
    Form4->Button1->click();
  });
  Form5->Button3->click();
  EXPECT_EQ(Form5->Edit4->text(), QStringLiteral("健太"));
  EXPECT_EQ(ReadProfile(-1).user.joints, std::vector<std::string>{family[1]});
}

TEST_F(SettingsDialogTest, ChangeCancelledKeepsTheTexts) {
  Form5->setNameBytes(codec::encodeKnown(QStringLiteral("佐藤")));
  Form5->setZipBytes("   -    ");
  const usertype before = Form5->CurrentUser();
  whenModal([&](QWidget*) {
    Form4->Edit1->setText(QStringLiteral("鈴木"));
    Form4->Button2->click();
  });
  Form5->Button3Click();
  EXPECT_EQ(Form5->CurrentUser(), before);
  EXPECT_EQ(Form5->Edit1->text(), QStringLiteral("佐藤"));
  EXPECT_FALSE(Form4->Edit2->isHidden());
}

TEST_F(SettingsDialogTest, OpeningFromTheMainWindowShowsTheProfileAsItWasLeft) {
  Form5->CheckBox1->setChecked(true);
  Form5->ScrollBar5->setValue(12);
  Form5->ScrollBar11->setValue(88);
  confirmEditor(QStringLiteral("山田"), QStringLiteral("123-4567"), QStringLiteral("東京都"));
  Form5->Button3->click();
  QStringList seen;
  for (int opening = 0; opening < 2; ++opening) {
    whenModal([&](QWidget* modal) {
      seen << (modal == Form5 ? QStringLiteral("Form5") : modal->objectName());
      seen << Form5->Edit1->text() << Form5->Edit2->text() << Form5->Edit3->text();
      seen << Form5->Label13->text();
      Form5->Button2->click();
    });
    Form1->Button8->click();
  }
  const QStringList once = {"Form5", "山田", "123-4567", "東京都", "ユーザー未設定"};
  EXPECT_EQ(seen, once + once);
  const usertype user = Form5->CurrentUser();
  EXPECT_TRUE(user.print_own_address);
  EXPECT_EQ(user.offset(5), 12);
  EXPECT_EQ(user.offset(11), 88);
  EXPECT_EQ(Form5->Label8->text(), QStringLiteral("横(-38)"));
  EXPECT_EQ(ReadProfile(-1).user, user);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SettingsDialogTest, ResultsOfTheButtonsAndTheCloseBox) {
  removeStore();
  whenModal([&](QWidget*) { Form5->Button1->click(); });
  EXPECT_EQ(Form5->ShowModal(), ModalResult::Confirmed);
  whenModal([&](QWidget*) { Form5->Button2->click(); });
  EXPECT_EQ(Form5->ShowModal(), ModalResult::Cancelled);
  whenModal([&](QWidget*) { Form5->close(); });
  EXPECT_EQ(Form5->ShowModal(), ModalResult::Cancelled);
  whenModal([&](QWidget*) { Form5->reject(); });
  EXPECT_EQ(Form5->exec(), 2);
}

TEST_F(SettingsDialogTest, ChangesStayHoweverTheDialogCloses) {
  removeStore();
  whenModal([&](QWidget*) {
    Form5->ScrollBar1->setValue(7);
    Form5->CheckBox1->setChecked(true);
    Form5->Button2->click();
  });
  Form5->ShowModal();
  EXPECT_EQ(Form5->CurrentUser().offset(1), 7);
  EXPECT_TRUE(Form5->CurrentUser().print_own_address);
}

TEST_F(SettingsDialogTest, CommandlessControlsDoNothing) {
  freshStore();
  Form5->ScrollBar3->setValue(10);
  Form5->setNameBytes(codec::encodeKnown(QStringLiteral("田中")));
  const usertype before = Form5->CurrentUser();
  const QByteArray store = storeBytes();
  DialogWatch watch;
  Form5->N2->trigger();
  Form5->SpeedButton4->click();
  for (int i = 0; i < 10; ++i) QApplication::processEvents();
  EXPECT_FALSE(watch.opened);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(Form5->CurrentUser(), before);
  EXPECT_EQ(stored("user_count"), 0);
  EXPECT_EQ(stored("now_user"), -1);
  EXPECT_EQ(storeBytes(), store);
}

TEST_F(SettingsDialogTest, CurrentUserReflectsTheControls) {
  EXPECT_EQ(Form5->CurrentUser(), usertype{}) << "initial settings";
  Form5->setNameBytes("\x8e\x52\x93\x63");  // 山田
  Form5->setZipBytes("100-0001");
  Form5->setAddressBytes("\x93\x8c\x8b\x9e");  // 東京
  Form5->CheckBox1->setChecked(true);
  for (int k = 1; k <= 12; ++k) Form5->OffsetBar(k)->setValue(k * 8);
  const usertype user = Form5->CurrentUser();
  EXPECT_EQ(user.name, "\x8e\x52\x93\x63");
  EXPECT_EQ(Form5->Edit1->text(), QStringLiteral("山田"));
  EXPECT_EQ(user.zip_code, "100-0001");
  EXPECT_EQ(user.address, "\x93\x8c\x8b\x9e");
  EXPECT_TRUE(user.print_own_address);
  for (int k = 1; k <= 12; ++k) EXPECT_EQ(user.offset(k), k * 8) << k;
  Form5->CheckBox1->setChecked(false);
  EXPECT_FALSE(Form5->CurrentUser().print_own_address);
}

// --- Profiles ---

// Pixels darker than mid grey in `area` given in the dialog's pixels, read at the picture's
// own resolution.
int inkAtRatio(const QRect& area) {
  const QImage& picture = Form5->Image1->picture();
  const qreal r = picture.devicePixelRatio();
  const QRect device(QPoint(qRound(area.left() * r), qRound(area.top() * r)),
                     QSize(qRound(area.width() * r), qRound(area.height() * r)));
  int n = 0;
  for (int y = device.top(); y <= device.bottom(); ++y)
    for (int x = device.left(); x <= device.right(); ++x)
      if (picture.rect().contains(x, y) && qGray(picture.pixel(x, y)) < 128) ++n;
  return n;
}

void sendKey(QWidget* to, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(to, &press);
}

TEST_F(SettingsDialogTest, EachCommandWritesItsFieldAtOnce) {
  freshStore();
  struct Case {
    const char* what;
    std::function<void()> command;
    std::vector<std::pair<const char*, QVariant>> written;
  };
  const std::vector<Case> cases = {
      {"変更",
       [] {
         confirmEditor(QStringLiteral("鈴木"), QStringLiteral("765-4321"), QStringLiteral("京都"));
         Form5->Button3->click();
       },
       {{"sender_name_0", QByteArray("\x97\xe9\x96\xd8")},
        {"sender_zip_code_0", QByteArray("765-4321")},
        {"sender_address_0", QByteArray("\x8b\x9e\x93\x73")}}},
      {"自分の宛名を印字する", [] { Form5->CheckBox1->click(); }, {{"print_own_address_0", "1"}}},
      {"住所の数字を漢数字で印字する",
       [] { Form5->CheckBox2->click(); },
       {{"kanji_digits_0", "1"}}},
      {"ScrollBar4", [] { Form5->ScrollBar4->setValue(0); }, {{"offset_0_4", "0"}}},
      {"ScrollBar9", [] { Form5->ScrollBar9->setValue(100); }, {{"offset_0_9", "100"}}},
      {"Button4", [] { Form5->Button4->click(); }, {{"offset_0_4", "50"}}},
      {"Button5", [] { Form5->Button5->click(); }, {{"offset_0_9", "50"}}},
      {"N5",
       [] {
         Form5->ScrollBar1->setValue(1);
         Form5->N5->trigger();
       },
       {{"offset_0_1", "50"}}},
      {"N6",
       [] {
         Form5->ScrollBar12->setValue(99);
         Form5->N6->trigger();
       },
       {{"offset_0_12", "50"}}},
      {"the check box again", [] { Form5->CheckBox1->click(); }, {{"print_own_address_0", "0"}}},
      {"書体",
       [] {
         Form5->ComboBox1->setCurrentIndex(
             Form5->ComboBox1->findText(QStringLiteral("衡山毛筆フォント")));
       },
       {{"card_face_0", QByteArray("KouzanBrushFont")}}},
      {"書体 back to the default",
       [] {
         Form5->ComboBox1->setCurrentIndex(Form5->ComboBox1->findText(QStringLiteral("IPA P明朝")));
       },
       {{"card_face_0", QByteArray()}}},
  };
  for (const Case& c : cases) {
    c.command();
    for (const auto& [name, value] : c.written)
      EXPECT_EQ(valueOnDisk(name), value) << c.what << ": " << name;
  }
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SettingsDialogTest, AProfileSurvivesARestartAndPrintsOnTheFirstCard) {
  freshStore();
  confirmEditor(QStringLiteral("差出　人"), QStringLiteral("100-0001"), QStringLiteral("東京都"));
  Form5->AddUser();
  Form5->CheckBox1->setChecked(true);
  Form5->CheckBox2->setChecked(true);
  for (int k = 1; k <= 12; ++k) Form5->OffsetBar(k)->setValue(3 * k);
  const usertype saved = Form5->CurrentUser();

  restart();
  EXPECT_EQ(Form5->CurrentUser(), saved);
  EXPECT_EQ(Form5->ProfileUser(), 1);
  EXPECT_EQ(Form5->Edit1->text(), QStringLiteral("差出　人"));
  EXPECT_EQ(Form5->Label21->text(), QStringLiteral("横(-17)"));

  datatype entry;
  entry.name = "\x88\xb6\x96\xbc";  // 宛名
  entry.zip_code = "123-4567";
  ASSERT_TRUE(Form1->Book.append(entry));
  Form1->SetupPostcard(0);
  Postcard expected = Postcard::design();
  ComposePostcard(expected, entry, saved);
  EXPECT_EQ(QRFM->Card, expected);
  EXPECT_EQ(QRFM->Card.QRu_name.text, saved.name) << "the first card carries the sender";
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SettingsDialogTest, ANewProcessReadsWhatTheDialogWrote) {
  freshStore();
  confirmEditor(QStringLiteral("大野\"ソ\\表"), QStringLiteral("060-0042"),
                QStringLiteral("札幌市　中央区"));
  Form5->AddUser();
  Form5->CheckBox1->setChecked(true);
  Form5->ScrollBar2->setValue(0);
  Form5->ScrollBar12->setValue(100);
  QProcess cli;
  cli.start(QStringLiteral(ORIVEL_CLI), {QStringLiteral("profile"), QStringLiteral("show")});
  ASSERT_TRUE(cli.waitForFinished(60000));
  EXPECT_EQ(
      QString::fromUtf8(cli.readAllStandardOutput()),
      QStringLiteral("{\"user\": 1, \"name\": \"大野\\\"ソ\\\\表\", \"zip_code\": \"060-0042\", "
                     "\"address\": \"札幌市　中央区\", \"print_own_address\": true, "
                     "\"offsets\": [50, 0, 50, 50, 50, 50, 50, 50, 50, 50, 50, 100], "
                     "\"kanji_digits\": false, \"joints\": []}\n"));
  EXPECT_EQ(cli.exitCode(), 0);
}

TEST_F(SettingsDialogTest, TheArrowButtonsStepThroughTheUsers) {
  freshStore();
  const QStringList names = {"一郎", "二郎", "三郎"};
  for (int i = 0; i < 3; ++i) {
    confirmEditor(names[i], QStringLiteral("100-000%1").arg(i + 1), QString());
    Form5->AddUser();
    Form5->ScrollBar1->setValue(10 * (i + 1));
  }
  writeStore({{"user_name_2", 222}});
  ASSERT_EQ(stored("now_user"), 3);

  struct Step {
    QToolButton* button;
    int user;
    QString label;
  };
  const Step steps[] = {{Form5->SpeedButton1, 2, "222"}, {Form5->SpeedButton1, 1, "1"},
                        {Form5->SpeedButton1, 1, "1"},   {Form5->SpeedButton2, 2, "222"},
                        {Form5->SpeedButton2, 3, "3"},   {Form5->SpeedButton2, 3, "3"}};
  for (const Step& step : steps) {
    step.button->click();
    const int i = step.user - 1;
    EXPECT_EQ(stored("now_user"), step.user);
    EXPECT_EQ(Form1->NowUser, step.user);
    EXPECT_EQ(Form5->Label13->text(), step.label);
    EXPECT_EQ(Form5->Label13->geometry().right() + 1, 441);
    EXPECT_EQ(Form5->Edit1->text(), names[i]);
    EXPECT_EQ(Form5->Edit2->text(), QStringLiteral("100-000%1").arg(step.user));
    EXPECT_EQ(Form5->ScrollBar1->value(), 10 * step.user);
    EXPECT_EQ(Form5->Label4->text(), QStringLiteral("横(%1)").arg(10 * step.user - 50));
  }
  // Loading a profile writes nothing back.
  for (int user = 1; user <= 3; ++user) EXPECT_EQ(ReadProfile(user).user.offset(1), 10 * user);
  EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(SettingsDialogTest, WithoutUsersTheArrowButtonsDoNothing) {
  const QByteArray store = storeBytes();
  Form5->SpeedButton1->click();
  Form5->SpeedButton2->click();
  EXPECT_EQ(storeBytes(), store);
  EXPECT_EQ(Form5->ProfileUser(), -1);
}

TEST_F(SettingsDialogTest, AUserMadeCurrentElsewhereIsShownAtTheNextOpening) {
  freshStore();
  confirmEditor(QStringLiteral("一郎"), QString(), QString());
  Form5->AddUser();
  Form5->ScrollBar3->setValue(5);
  writeStore({{"now_user", -1}});  // as orivel-cli profile use would
  Form5->FormShow();
  EXPECT_EQ(Form5->ProfileUser(), -1);
  EXPECT_EQ(Form5->CurrentUser(), usertype{});
  EXPECT_EQ(Form5->Label13->text(), QStringLiteral("ユーザー未設定"));
}

TEST_F(SettingsDialogTest, BadValuesReadAsInitialAndAreNamedOnce) {
  forms.reset();
  writeStore({{"user_count", 2}, {"now_user", 1}});
  writeStoreValues({{"sender_name_1", QStringLiteral("text")},
                    {"offset_1_2", QByteArray("1")},
                    {"offset_1_7", 101},
                    {"offset_1_8", 30},
                    {"print_own_address_1", 5},
                    {"offset_2_1", -3}});
  const QByteArray before = storeBytes();
  start();
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Information);
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("Ｉｎｆｏｒｍａｔｉｏｎ"));
  EXPECT_EQ(
      dialogs.shown[0].text,
      QStringLiteral("設定値「sender_name_1」「print_own_address_1」「offset_1_2」「offset_1_7」"
                     "が正しくないため、初期値を使います。"));
  usertype expected;
  expected.offsets[7] = 30;
  EXPECT_EQ(Form5->CurrentUser(), expected);
  EXPECT_EQ(storeBytes(), before) << "the values stay until the user changes them";

  Form5->SpeedButton2->click();
  Form5->SpeedButton1->click();
  Form5->SpeedButton2->click();
  Form5->FormShow();
  EXPECT_EQ(
      dialogs.texts(),
      QStringList({dialogs.shown[0].text,
                   QStringLiteral("設定値「offset_2_1」が正しくないため、初期値を使います。")}));

  // Changing one value writes that one; the others stay as they were.
  Form5->SpeedButton1->click();
  Form5->ScrollBar7->setValue(60);
  EXPECT_EQ(valueOnDisk("offset_1_7"), QVariant(QStringLiteral("60")));
  EXPECT_EQ(valueOnDisk("sender_name_1"), QVariant(QStringLiteral("text")));
}

TEST_F(SettingsDialogTest, AStoreThatCannotBeWrittenIsReportedOnce) {
  freshStore();
  const QByteArray before = storeBytes();
  {
    FilesCannotGrow full;
    Form5->ScrollBar1->setValue(20);
    Form5->ScrollBar1->setValue(21);
    Form5->CheckBox1->click();
    Form5->Button4->click();
  }
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Error);
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ＥＲＲＯＲ"));
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("設定を保存できませんでした。"));
  EXPECT_EQ(storeBytes(), before);
  EXPECT_TRUE(Form5->CheckBox1->isChecked()) << "the dialog keeps its values for this run";
  EXPECT_EQ(Form5->CurrentUser().offset(1), 50);
}

TEST_F(SettingsDialogTest, TheOffsetBarsByKeyboard) {
  Form5->show();
  QApplication::setActiveWindow(Form5);
  Form5->ScrollBar1->setFocus();
  for (int k = 2; k <= 12; ++k) {
    sendKey(QApplication::focusWidget(), Qt::Key_Tab);
    QWidget* expected = Form5->OffsetBar(k);
    if (k == 7) {  // the sender group's reset button comes before its bars
      EXPECT_EQ(QApplication::focusWidget(), Form5->Button5);
      sendKey(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(QApplication::focusWidget(), expected) << k;
  }
  QScrollBar* bar = Form5->ScrollBar12;
  const struct {
    int key;
    int value;
  } keys[] = {{Qt::Key_Right, 51},  {Qt::Key_Left, 50},   {Qt::Key_PageDown, 60},
              {Qt::Key_PageUp, 50}, {Qt::Key_PageUp, 40}, {Qt::Key_Down, 41},
              {Qt::Key_Up, 40},     {Qt::Key_PageUp, 30}, {Qt::Key_PageUp, 20},
              {Qt::Key_PageUp, 10}, {Qt::Key_PageUp, 0},  {Qt::Key_PageUp, 0},
              {Qt::Key_Left, 0},    {Qt::Key_End, 100},   {Qt::Key_PageDown, 100}};
  for (const auto& k : keys) {
    sendKey(bar, k.key);
    EXPECT_EQ(bar->value(), k.value) << k.key;
  }
  EXPECT_EQ(Form5->Label22->text(), QStringLiteral("縦(50)"));
  EXPECT_EQ(valueOnDisk("offset_0_12"), QVariant(QStringLiteral("100")));
  Form5->hide();
}

TEST_F(SettingsDialogTest, ThePreviewIsDrawnAtTheScreensPixelRatio) {
  Form5->FormShow();
  const QImage& picture = Form5->Image1->picture();
  const qreal ratio = Form5->Image1->devicePixelRatioF();
  // Run once more with QT_SCALE_FACTOR=2 by ctest (qt_tests_scaled).
  if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
    EXPECT_EQ(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
  }
  EXPECT_EQ(picture.devicePixelRatio(), ratio);
  EXPECT_EQ(picture.size(), (QSizeF(177, 201) * ratio).toSize());
  EXPECT_EQ(picture.deviceIndependentSize(), QSizeF(177, 201));
  const QPoint points[] = {{70, 60}, {70, 75}, {120, 80}, {120, 95}, {100, 50}};
  for (const QPoint& pt : points)
    EXPECT_GT(inkAtRatio(QRect(pt, QSize(12, 14))), 5 * ratio * ratio) << pt.x() << "," << pt.y();
  EXPECT_EQ(inkAtRatio(QRect(0, 0, 177, 48)), 0);
}

}  // namespace
}  // namespace orivel::test
