#include "book/TForm4.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "common/Codec.h"
#include "support/FormsFixture.h"

namespace orivel::test {
namespace {

using EditorTest = FormsTest;

void pressEnter(QWidget* w) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
  QApplication::sendEvent(w, &press);
}

TEST_F(EditorTest, LayoutFollowsTheDesign) {
  EXPECT_EQ(Form4->windowTitle(), QStringLiteral("設定"));
  EXPECT_EQ(Form4->size(), QSize(389, 157));
  EXPECT_EQ(Form4->Edit1->geometry(), QRect(48, 8, 121, 20));
  EXPECT_EQ(Form4->Edit2->geometry(), QRect(184, 8, 49, 20));
  EXPECT_EQ(Form4->MaskEdit2->geometry(), QRect(320, 8, 57, 20));
  EXPECT_EQ(Form4->Edit3->geometry(), QRect(48, 40, 329, 20));
  EXPECT_EQ(Form4->Button1->geometry(), QRect(264, 72, 113, 33));
  EXPECT_EQ(Form4->Button2->text(), QStringLiteral("キャンセル"));
  EXPECT_EQ(Form4->CheckBox4->geometry(), QRect(24, 104, 97, 17));
  EXPECT_EQ(Form4->CheckBox3->text(), QStringLiteral("クリスマス"));
  EXPECT_FALSE(Form4->MaskEdit2->testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_TRUE(Form4->Edit1->testAttribute(Qt::WA_InputMethodEnabled));
  // Tab order: name, honorific, address, 設定, キャンセル, the six boxes, postal code.
  QWidget* expected[] = {Form4->Edit2,     Form4->Edit3,     Form4->Button1,   Form4->Button2,
                         Form4->CheckBox1, Form4->CheckBox2, Form4->CheckBox3, Form4->CheckBox4,
                         Form4->CheckBox5, Form4->CheckBox6, Form4->MaskEdit2};
  QWidget* w = Form4->Edit1;
  for (QWidget* next : expected) {
    w = w->nextInFocusChain();
    while (w->focusPolicy() == Qt::NoFocus) w = w->nextInFocusChain();
    EXPECT_EQ(w, next) << next->objectName().toStdString();
  }
}

TEST_F(EditorTest, NewEntryStartsEmptyWithTheHonorificProposed) {
  Form4->Edit1->setText(QStringLiteral("前の名前"));
  Form4->CheckBox3->setChecked(true);
  Form4->CheckBox5->setEnabled(false);
  Form4->Prepare(1, 2, 3);
  EXPECT_TRUE(Form4->Edit1->text().isEmpty());
  EXPECT_EQ(Form4->Edit2->text(), QStringLiteral("様"));
  EXPECT_TRUE(Form4->Edit3->text().isEmpty());
  EXPECT_EQ(Form4->MaskEdit2->maskedText(), QStringLiteral("   -    "));
  EXPECT_EQ(Form4->zipBytes(), "   -    ");
  for (int k = 1; k <= 6; ++k) {
    EXPECT_FALSE(Form4->categoryBox(k)->isChecked()) << k;
    EXPECT_TRUE(Form4->categoryBox(k)->isEnabled()) << k;
  }
}

TEST_F(EditorTest, PrepareActsOnEachAspectOnItsOwn) {
  Form4->Prepare(2, 1, 0);
  Form4->Edit1->setText(QStringLiteral("残る"));
  for (int k = 1; k <= 6; ++k) {
    EXPECT_TRUE(Form4->categoryBox(k)->isChecked());
    EXPECT_FALSE(Form4->categoryBox(k)->isEnabled());
  }
  Form4->Prepare(0, 0, 0);  // nothing changes
  EXPECT_TRUE(Form4->categoryBox(1)->isChecked());
  EXPECT_FALSE(Form4->categoryBox(1)->isEnabled());
  EXPECT_EQ(Form4->Edit1->text(), QStringLiteral("残る"));
}

TEST_F(EditorTest, CategoryBoxesFollowTheirCaptionsNotTheirNames) {
  Form4->Prepare(1, 2, 3);
  Form4->Edit1->setText(QStringLiteral("名"));
  Form4->CheckBox3->setChecked(true);  // captioned クリスマス: category 4
  EXPECT_EQ(Form4->entry().ml, (std::array<std::uint8_t, 6>{0, 0, 0, 1, 0, 0}));
  Form4->CheckBox3->setChecked(false);
  Form4->CheckBox4->setChecked(true);  // captioned バースデー: category 3
  EXPECT_EQ(Form4->entry().ml, (std::array<std::uint8_t, 6>{0, 0, 1, 0, 0, 0}));
}

TEST_F(EditorTest, EmptyNameIsRefusedAndTheDialogStaysOpen) {
  Form4->Prepare(1, 2, 3);
  bool stillOpen = false;
  bool focusInName = false;
  whenModal([&](QWidget*) {
    Form4->Button1->click();
    stillOpen = Form4->isVisible();
    focusInName = Form4->focusWidget() == Form4->Edit1;
    Form4->Button2->click();
  });
  EXPECT_EQ(Form4->ShowModal(), TForm4::kCancelled);
  EXPECT_TRUE(stillOpen);
  EXPECT_TRUE(focusInName);
  ASSERT_EQ(dialogs.shown.size(), 1u);
  EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("名前の入力は必須です。"));
  EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ＥＲＲＯＲ"));
}

TEST_F(EditorTest, ABlankNameAndEmptyFieldsAreAccepted) {
  Form4->Prepare(1, 2, 3);
  whenModal([&](QWidget*) {
    Form4->Edit1->setText(QStringLiteral(" "));
    Form4->Edit2->clear();
    Form4->Button1->click();
  });
  EXPECT_EQ(Form4->ShowModal(), TForm4::kConfirmed);
  EXPECT_TRUE(dialogs.shown.empty());
  EXPECT_EQ(Form4->entry().name, " ");
  EXPECT_EQ(Form4->entry().zip_code, "   -    ");
}

TEST_F(EditorTest, ClosingTheWindowCancels) {
  Form4->Prepare(1, 2, 3);
  whenModal([&](QWidget*) {
    Form4->Edit1->setText(QStringLiteral("名"));
    Form4->close();
  });
  EXPECT_EQ(Form4->ShowModal(), TForm4::kCancelled);
}

TEST_F(EditorTest, EnterMovesTheFocusAlongTheBoxes) {
  Form4->Prepare(1, 2, 3);
  QWidget* afterName = nullptr;
  QString typedZip;
  QWidget* afterZip = nullptr;
  QWidget* afterHonorific = nullptr;
  QWidget* afterAddress = nullptr;
  bool stillOpen = false;
  whenModal([&](QWidget*) {
    pressEnter(Form4->Edit1);
    afterName = Form4->focusWidget();
    // Digits typed straight after Enter land in the postal code.
    for (const char* digit : {"1", "2", "3", "4", "5", "6", "7"}) {
      QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + (digit[0] - '0'), Qt::NoModifier,
                    QString::fromLatin1(digit));
      QApplication::sendEvent(Form4->MaskEdit2, &key);
    }
    typedZip = Form4->MaskEdit2->maskedText();
    pressEnter(Form4->MaskEdit2);
    afterZip = Form4->focusWidget();
    pressEnter(Form4->Edit2);
    afterHonorific = Form4->focusWidget();
    pressEnter(Form4->Edit3);
    afterAddress = Form4->focusWidget();
    stillOpen = Form4->isVisible();  // Enter on the address only moves to 設定
    Form4->Button2->click();
  });
  Form4->ShowModal();
  EXPECT_EQ(afterName, Form4->MaskEdit2);
  EXPECT_EQ(typedZip, QStringLiteral("123-4567"));
  EXPECT_EQ(afterZip, Form4->Edit3);
  EXPECT_EQ(afterHonorific, Form4->Edit3);
  EXPECT_EQ(afterAddress, Form4->Button1);
  EXPECT_TRUE(stillOpen);
}

TEST_F(EditorTest, PostalCodeBoxGivesEightCharacters) {
  Form4->MaskEdit2->setMaskedText(QStringLiteral("123-4567"));
  EXPECT_EQ(Form4->MaskEdit2->maskedText(), QStringLiteral("123-4567"));
  Form4->MaskEdit2->setMaskedText(QString());
  Form4->MaskEdit2->setCursorPosition(0);
  Form4->MaskEdit2->insert(QStringLiteral("12"));
  EXPECT_EQ(Form4->MaskEdit2->maskedText(), QStringLiteral("12 -    "));
  Form4->MaskEdit2->setMaskedText(QStringLiteral("abc"));  // letters are not taken
  EXPECT_EQ(Form4->MaskEdit2->maskedText(), QStringLiteral("   -    "));
}

TEST_F(EditorTest, TextTheCodePageCannotHoldIsRefusedNamingTheCharacter) {
  Form4->Prepare(1, 2, 3);
  QWidget* focus = nullptr;
  whenModal([&](QWidget*) {
    Form4->Edit1->setText(QStringLiteral("吉田"));
    Form4->Edit3->setText(QStringLiteral("東京都\U00020BB7区"));
    Form4->Button1->click();
    focus = Form4->focusWidget();
    Form4->Edit3->setText(QStringLiteral("東京都〜区"));  // WAVE DASH is mapped, not refused
    Form4->Button1->click();
  });
  EXPECT_EQ(Form4->ShowModal(), TForm4::kConfirmed);
  ASSERT_EQ(dialogs.texts(), QStringList{QStringLiteral("「\U00020BB7」は使用できない文字です。")});
  EXPECT_EQ(focus, Form4->Edit3);
  EXPECT_EQ(Form4->entry().address, "\x93\x8c\x8b\x9e\x93\x73\x81\x60\x8b\xe6");
}

TEST_F(EditorTest, UneditedBoxesGiveBackTheirOriginalBytes) {
  datatype e;
  e.name = std::string("\x8e\x52\x93\x63\xff", 5);  // 山田 and a byte that does not decode
  e.address = std::string(
      "\x80"
      "abc",
      4);
  e.sama = "\x97\x6c";
  e.zip_code = "100-0001";
  Form4->Prepare(1, 0, 0);
  Form4->fillFrom(e);
  whenModal([&](QWidget*) { Form4->Button1->click(); });
  EXPECT_EQ(Form4->ShowModal(), TForm4::kConfirmed);
  EXPECT_EQ(Form4->entry(), e);
}

TEST_F(EditorTest, SenderUseGreysTheBoxesAndAddingShowsTheHonorificAgain) {
  Form4->Prepare(2, 2, 0);
  Form4->Edit2->hide();
  for (int k = 1; k <= 6; ++k) {
    EXPECT_FALSE(Form4->categoryBox(k)->isEnabled());
    EXPECT_FALSE(Form4->categoryBox(k)->isChecked());
  }
  Form4->Edit2->show();
  Form4->Prepare(1, 2, 3);
  EXPECT_FALSE(Form4->Edit2->isHidden());
  EXPECT_TRUE(Form4->categoryBox(6)->isEnabled());
}

}  // namespace
}  // namespace orivel::test
