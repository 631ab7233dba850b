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

void pressKey(QWidget* w, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(w, &press);
}

// Types the digits into the box as a user would.
void typeDigits(QWidget* w, const char* digits) {
  for (const char* d = digits; *d; ++d) {
    QKeyEvent key(QEvent::KeyPress, Qt::Key_0 + (*d - '0'), Qt::NoModifier,
                  QString(QLatin1Char(*d)));
    QApplication::sendEvent(w, &key);
  }
}

// How far the text's start lies from its end as the box draws it, with the cursor at the
// end: less than the text's width when the box had to scroll the first characters away.
int shownTextWidth(orivel::MaskEdit* box) {
  box->setCursorPosition(0);
  box->grab();  // the box places its text when it paints
  const int start = box->inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
  box->setCursorPosition(static_cast<int>(box->text().size()));
  box->grab();
  return box->inputMethodQuery(Qt::ImCursorRectangle).toRect().left() - start;
}

TEST_F(EditorTest, LayoutFollowsTheDesign) {
  EXPECT_EQ(Form4->windowTitle(), QStringLiteral("設定"));
  // The joint rows and the fields for a card to work lie below the specified 157 pixels.
  EXPECT_EQ(Form4->width(), 389);
  EXPECT_GE(Form4->JointNameEdits[0]->geometry().top(), 157);
  EXPECT_EQ(Form4->height(), Form4->TitleEdit->geometry().bottom() + 9);
  EXPECT_EQ(Form4->Edit1->geometry(), QRect(48, 8, 121, 20));
  EXPECT_EQ(Form4->Edit2->geometry(), QRect(184, 8, 49, 20));
  // The postal code box keeps its place, growing leftwards only as far as its font needs.
  const QRect zip = Form4->MaskEdit2->geometry();
  EXPECT_EQ(zip.right(), 376);
  EXPECT_EQ(zip.top(), 8);
  EXPECT_EQ(zip.height(), 20);
  EXPECT_GE(zip.width(), 57);
  EXPECT_GT(zip.left(), Form4->Label2->geometry().right());
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

TEST_F(EditorTest, JointRowsAndWorkFieldsFollowTheSpecifiedBoxes) {
  datatype held;
  held.name = codec::encodeKnown(QStringLiteral("山田　太郎"));
  held.joints = {
      {codec::encodeKnown(QStringLiteral("花子")), codec::encodeKnown(QStringLiteral("様"))},
      {codec::encodeKnown(QStringLiteral("健太")), codec::encodeKnown(QStringLiteral("くん"))}};
  held.company = codec::encodeKnown(QStringLiteral("株式会社オリベル"));
  held.title = codec::encodeKnown(QStringLiteral("部長"));
  Form4->Prepare(1, 0, 0);
  Form4->fillFrom(held);
  EXPECT_EQ(Form4->JointNameEdits[1]->text(), QStringLiteral("健太"));
  EXPECT_EQ(Form4->JointSamaEdits[1]->text(), QStringLiteral("くん"));
  EXPECT_EQ(Form4->JointSamaEdits[2]->text(), QStringLiteral("様")) << "a new row proposes 様";
  EXPECT_EQ(Form4->entry(), held) << "the unused rows are left out";

  // Tab goes on from the postal code, row by row, then company, department, title.
  QWidget* w = Form4->MaskEdit2;
  std::vector<QWidget*> expected;
  for (int k = 0; k < kMaxJoints; ++k) {
    expected.push_back(Form4->JointNameEdits[static_cast<std::size_t>(k)]);
    expected.push_back(Form4->JointSamaEdits[static_cast<std::size_t>(k)]);
  }
  expected.insert(expected.end(), {Form4->CompanyEdit, Form4->DepartmentEdit, Form4->TitleEdit});
  for (QWidget* next : expected) {
    w = w->nextInFocusChain();
    while (w->focusPolicy() == Qt::NoFocus) w = w->nextInFocusChain();
    EXPECT_EQ(w, next) << next->objectName().toStdString();
  }

  // A middle row emptied closes up; a new entry empties every row.
  Form4->JointNameEdits[0]->clear();
  Form4->JointNameEdits[3]->setText(QStringLiteral("佐藤　花子"));
  ASSERT_EQ(Form4->entry().joints.size(), 2u);
  EXPECT_EQ(Form4->entry().joints[1].sama, codec::encodeKnown(QStringLiteral("様")));
  Form4->Prepare(1, 2, 3);
  const datatype fresh = Form4->entry();
  EXPECT_TRUE(fresh.joints.empty());
  EXPECT_FALSE(fresh.usesJointOrCompany());
}

TEST_F(EditorTest, TheSenderSeesTheJointNamesOnly) {
  const int addresseeHeight = Form4->height();
  Form4->setHonorificShown(false);
  EXPECT_LT(Form4->height(), addresseeHeight);
  EXPECT_EQ(Form4->height(), Form4->JointNameEdits[4]->geometry().bottom() + 9);
  for (QWidget* hidden : std::initializer_list<QWidget*>{
           Form4->JointSamaEdits[0], Form4->CompanyEdit, Form4->DepartmentEdit, Form4->TitleEdit})
    EXPECT_FALSE(hidden->isVisibleTo(Form4)) << hidden->objectName().toStdString();
  Form4->setJointNames({codec::encodeKnown(QStringLiteral("花子"))});
  EXPECT_EQ(Form4->jointNames(),
            std::vector<std::string>{codec::encodeKnown(QStringLiteral("花子"))});
  Form4->setHonorificShown(true);
  EXPECT_EQ(Form4->height(), addresseeHeight);
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

// An addressee named so that the book file reads the name back as a missing entry would be
// lost at the next load: refused like an empty name. The sender's own name is no entry.
TEST_F(EditorTest, ANameTheBookFileCannotKeepIsRefused) {
  const struct {
    QString name;
    bool sender;
    bool refused;
  } cases[] = {
      {QStringLiteral("0"), false, true},     {QStringLiteral(" 0 "), false, true},
      {QStringLiteral("\"0\""), false, true}, {QStringLiteral("０"), false, false},
      {QStringLiteral("00"), false, false},   {QStringLiteral("0"), true, false},
  };
  for (const auto& c : cases) {
    dialogs.shown.clear();
    Form4->Prepare(c.sender ? 2 : 1, 2, 3);
    Form4->setHonorificShown(!c.sender);
    bool stillOpen = false;
    bool focusInName = false;
    whenModal([&](QWidget*) {
      Form4->Edit1->setText(c.name);
      Form4->Button1->click();
      stillOpen = Form4->isVisible();
      focusInName = Form4->focusWidget() == Form4->Edit1;
      if (stillOpen) Form4->Button2->click();
    });
    const ModalResult result = Form4->ShowModal();
    Form4->setHonorificShown(true);
    EXPECT_EQ(result, c.refused ? TForm4::kCancelled : TForm4::kConfirmed) << c.name.toStdString();
    if (!c.refused) {
      EXPECT_TRUE(dialogs.shown.empty()) << c.name.toStdString();
      continue;
    }
    EXPECT_TRUE(stillOpen);
    EXPECT_TRUE(focusInName);
    ASSERT_EQ(dialogs.shown.size(), 1u) << c.name.toStdString();
    EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("「0」という名前は保存できません。"));
    EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ＥＲＲＯＲ"));
  }
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

TEST_F(EditorTest, PostalCodeBoxShowsAllEightCharacters) {
  orivel::MaskEdit wide;  // the same box with room to spare
  wide.setFont(Form4->MaskEdit2->font());
  wide.resize(300, 20);
  for (const char* code : {"100-0001", "888-8888", "000-0000"}) {
    Form4->setZipBytes(code);  // as a change opens
    wide.setMaskedText(QString::fromLatin1(code));
    EXPECT_EQ(shownTextWidth(Form4->MaskEdit2), shownTextWidth(&wide)) << code;
  }
  // No wider than it must be: one pixel less and the first digit goes.
  const QRect fitted = Form4->MaskEdit2->geometry();
  if (fitted.width() > 57) {
    Form4->MaskEdit2->setGeometry(fitted.adjusted(1, 0, 0, 0));
    Form4->setZipBytes("888-8888");
    wide.setMaskedText(QStringLiteral("888-8888"));
    EXPECT_LT(shownTextWidth(Form4->MaskEdit2), shownTextWidth(&wide));
  }
}

TEST_F(EditorTest, EnterWalksToTheConfirmButtonAndPressesIt) {
  Form4->Prepare(1, 2, 3);
  QWidget* reached = nullptr;
  QImage focusedLook;
  QImage unfocusedLook;
  whenModal([&](QWidget*) {
    Form4->Edit1->setText(QStringLiteral("山田"));
    pressEnter(Form4->Edit1);
    typeDigits(Form4->MaskEdit2, "1000001");
    pressEnter(Form4->MaskEdit2);
    pressEnter(Form4->Edit3);
    reached = QApplication::focusWidget();
    focusedLook = Form4->Button1->grab().toImage();
    Form4->Button2->setFocus();
    unfocusedLook = Form4->Button1->grab().toImage();
    Form4->Button1->setFocus();
    pressEnter(Form4->Button1);
    if (Form4->isVisible()) Form4->Button2->click();
  });
  EXPECT_EQ(Form4->ShowModal(), TForm4::kConfirmed);
  EXPECT_EQ(reached, Form4->Button1);
  EXPECT_NE(focusedLook, unfocusedLook);  // the focus frame shows
  EXPECT_EQ(Form4->entry().zip_code, "100-0001");
}

// 設定 with one to six digits typed: the message, the focus back in the box, the dialog
// open; an emptied or complete code is taken.
TEST_F(EditorTest, AnIncompletePostalCodeIsRefused) {
  struct Case {
    const char* typed;
    bool refused;
    std::string stored;
  };
  const Case cases[] = {
      {"1", true, ""},         {"12345", true, ""},
      {"123456", true, ""},    {"1234567", false, "123-4567"},
      {"", false, "   -    "},  // typed, then taken back
  };
  for (const Case& c : cases) {
    dialogs.shown.clear();
    Form4->Prepare(1, 2, 3);
    bool stillOpen = false;
    QWidget* focus = nullptr;
    whenModal([&](QWidget*) {
      Form4->Edit1->setText(QStringLiteral("山田"));
      Form4->MaskEdit2->setFocus();
      typeDigits(Form4->MaskEdit2, "9");
      pressKey(Form4->MaskEdit2, Qt::Key_Backspace);
      typeDigits(Form4->MaskEdit2, c.typed);
      Form4->Button1->click();
      stillOpen = Form4->isVisible();
      focus = Form4->focusWidget();
      if (stillOpen) Form4->Button2->click();
    });
    const ModalResult result = Form4->ShowModal();
    EXPECT_EQ(stillOpen, c.refused) << c.typed;
    if (c.refused) {
      EXPECT_EQ(result, TForm4::kCancelled);
      EXPECT_EQ(focus, Form4->MaskEdit2) << c.typed;
      ASSERT_EQ(dialogs.shown.size(), 1u) << c.typed;
      EXPECT_EQ(dialogs.shown[0].title, QStringLiteral("ＥＲＲＯＲ"));
      EXPECT_EQ(dialogs.shown[0].text, QStringLiteral("郵便番号を正しく入力してください。"));
    } else {
      EXPECT_EQ(result, TForm4::kConfirmed) << c.typed;
      EXPECT_TRUE(dialogs.shown.empty()) << c.typed;
      EXPECT_EQ(Form4->entry().zip_code, c.stored);
    }
  }
}

TEST_F(EditorTest, LeavingAnIncompletePostalCodeSaysWhy) {
  Form4->Prepare(1, 2, 3);
  QWidget* focus = nullptr;
  whenModal([&](QWidget*) {
    Form4->MaskEdit2->setFocus();
    typeDigits(Form4->MaskEdit2, "12345");
    pressKey(Form4->MaskEdit2, Qt::Key_Tab);
    QApplication::processEvents();
    focus = Form4->focusWidget();
    Form4->Button2->click();
  });
  EXPECT_EQ(Form4->ShowModal(), TForm4::kCancelled);
  EXPECT_EQ(focus, Form4->MaskEdit2);
  EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("郵便番号を正しく入力してください。")});
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
  // The character commonly written in its place is named and offered; answered No, the text
  // stays as typed.
  ASSERT_EQ(
      dialogs.texts(),
      (QStringList{QStringLiteral("「\U00020BB7」(U+20BB7)は使用できない文字です。「吉」で代用"
                                  "できます。"),
                   QStringLiteral("「\U00020BB7」を「吉」に置き換えますか？")}));
  EXPECT_EQ(dialogs.shown[1].kind, MessageKind::Question);
  EXPECT_EQ(focus, Form4->Edit3);
  EXPECT_EQ(Form4->entry().address, "\x93\x8c\x8b\x9e\x93\x73\x81\x60\x8b\xe6");
}

TEST_F(EditorTest, TheJointAndWorkBoxesRefuseWhatTheCodePageCannotHold) {
  for (Cp932LineEdit* box :
       {Form4->JointNameEdits[0], Form4->JointSamaEdits[4], Form4->TitleEdit}) {
    dialogs.shown.clear();
    Form4->Prepare(1, 2, 3);
    QWidget* focus = nullptr;
    bool stillOpen = false;
    whenModal([&](QWidget*) {
      Form4->Edit1->setText(QStringLiteral("吉田"));
      box->setText(QStringLiteral("\U00020BB7"));
      Form4->Button1->click();
      focus = Form4->focusWidget();
      stillOpen = Form4->isVisible();
      Form4->Button2->click();
    });
    Form4->ShowModal();
    EXPECT_TRUE(stillOpen) << box->objectName().toStdString();
    EXPECT_EQ(focus, box);
    EXPECT_EQ(
        dialogs.texts().value(0),
        QStringLiteral("「\U00020BB7」(U+20BB7)は使用できない文字です。「吉」で代用できます。"));
  }
}

// Answered Yes, the offer puts the common character in place of every one of the refused
// character in that box, and the editor stays open for the user to see it and confirm.
TEST_F(EditorTest, TheOfferedSubstituteReplacesTheCharacterOnlyWhenAccepted) {
  struct Case {
    QString typed;
    Answer answer;
    QString after;
    int questions;
  };
  const Case cases[] = {
      {QStringLiteral("\U00020BB7野　\U00020BB7子"), Answer::Yes, QStringLiteral("吉野　吉子"), 1},
      {QStringLiteral("\U00020BB7野"), Answer::No, QStringLiteral("\U00020BB7野"), 1},
      {QStringLiteral("\U0001F600"), Answer::Yes, QStringLiteral("\U0001F600"), 0},  // none known
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.toStdString());
    dialogs.shown.clear();
    dialogs.answers = {c.answer};
    Form4->Prepare(1, 2, 3);
    QString after;
    bool stillOpen = false;
    whenModal([&](QWidget*) {
      Form4->Edit1->setText(c.typed);
      Form4->Button1->click();
      after = Form4->Edit1->text();
      stillOpen = Form4->isVisible();
      Form4->Button2->click();
    });
    Form4->ShowModal();
    EXPECT_EQ(after, c.after);
    EXPECT_TRUE(stillOpen);
    int questions = 0;
    for (const auto& shown : dialogs.shown) questions += shown.kind == MessageKind::Question;
    EXPECT_EQ(questions, c.questions);
  }
}

TEST_F(EditorTest, UneditedBoxesGiveBackTheirOriginalBytes) {
  datatype e;
  e.name = std::string("\x8e\x52\x93\x63\xff", 5);  // 山田 and a byte that does not decode
  e.address = std::string(
      "\x80"
      "abc",
      4);
  e.sama = "\x97\x6c";
  // Postal codes as a book or a CSV file may hold them, however the mask shows them.
  for (const std::string zip : {"100-0001", "", "1000001", "SW1A 1AA", "\x81\xA7\x31\x30\x30"}) {
    e.zip_code = zip;
    Form4->Prepare(1, 0, 0);
    Form4->fillFrom(e);
    whenModal([&](QWidget*) { Form4->Button1->click(); });
    EXPECT_EQ(Form4->ShowModal(), TForm4::kConfirmed) << zip;
    EXPECT_EQ(Form4->entry(), e) << zip;
  }
  // An edited code is what the box shows.
  Form4->Prepare(1, 0, 0);
  Form4->fillFrom(e);
  Form4->MaskEdit2->setMaskedText(QStringLiteral("123-4567"));
  EXPECT_EQ(Form4->entry().zip_code, "123-4567");
}

TEST_F(EditorTest, APostalCodeDigitTheCodePageCannotHoldIsRefused) {
  Form4->Prepare(1, 2, 3);
  whenModal([&](QWidget*) {
    Form4->Edit1->setText(QStringLiteral("山田"));
    Form4->MaskEdit2->setMaskedText(QStringLiteral("١٢٣-٤٥٦٧"));  // Arabic-Indic digits
    Form4->Button1->click();
    Form4->Button2->click();
  });
  EXPECT_EQ(Form4->ShowModal(), TForm4::kCancelled);
  EXPECT_EQ(dialogs.texts(), QStringList{QStringLiteral("「١」(U+0661)は使用できない文字です。")});
}

TEST_F(EditorTest, AHiddenHonorificIsNotAskedFor) {
  // What an earlier entry left in the honorific box does not stop the sender's edit.
  Form4->Prepare(1, 2, 3);
  Form4->Edit2->setText(QStringLiteral("\U00020BB7"));
  Form4->Prepare(2, 2, 0);
  Form4->setHonorificShown(false);
  whenModal([&](QWidget*) {
    Form4->Edit1->setText(QStringLiteral("山田"));
    Form4->Button1->click();
  });
  EXPECT_EQ(Form4->ShowModal(), TForm4::kConfirmed);
  EXPECT_TRUE(dialogs.shown.empty()) << dialogs.texts().join(u'|').toStdString();
}

TEST_F(EditorTest, SenderUseGreysTheBoxesAndAddingEnablesThemAgain) {
  Form4->Prepare(2, 2, 0);
  for (int k = 1; k <= 6; ++k) {
    EXPECT_FALSE(Form4->categoryBox(k)->isEnabled());
    EXPECT_FALSE(Form4->categoryBox(k)->isChecked());
  }
  Form4->Prepare(1, 2, 3);
  for (int k = 1; k <= 6; ++k) EXPECT_TRUE(Form4->categoryBox(k)->isEnabled());
}

}  // namespace
}  // namespace orivel::test
