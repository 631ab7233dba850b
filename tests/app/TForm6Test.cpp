#include "app/TForm6.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "app/TForm1.h"
#include "support/FormsFixture.h"

namespace orivel::test {
namespace {

using AboutBoxTest = FormsTest;

TEST_F(AboutBoxTest, LayoutFollowsTheDesign) {
  EXPECT_EQ(Form6->windowTitle(), QStringLiteral("Form6"));
  EXPECT_EQ(Form6->pos(), QPoint(274, 250));
  EXPECT_EQ(Form6->font().pixelSize(), 12);
  EXPECT_TRUE(Form6->windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_TRUE(Form6->windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_NE(Form6->minimumSize(), Form6->maximumSize());  // sizeable
  EXPECT_EQ(Form6->Image1->geometry(), QRect(64, 0, 177, 97));
  EXPECT_TRUE(Form6->Image1->pixmap().isNull());
  EXPECT_TRUE(Form6->Image1->text().isEmpty());
  EXPECT_EQ(Form6->Label1->geometry(), QRect(64, 104, 273, 65));
  EXPECT_EQ(Form6->Button1->geometry(), QRect(256, 56, 75, 25));
  EXPECT_EQ(Form6->Button1->text(), QStringLiteral("OK"));
}

TEST_F(AboutBoxTest, EveryShowingFromTheHelpMenuReadsTheSame) {
  QStringList seen;
  for (int i = 0; i < 2; ++i) {
    bool modal = false;
    whenModal([&](QWidget* w) {
      modal = w == Form6;
      seen << Form6->Label1->text();
      EXPECT_EQ(Form6->Label1->geometry(), QRect(64, 104, 273, 65));  // no automatic sizing
      Form6->Button1->click();
    });
    Form1->About1->trigger();
    EXPECT_TRUE(modal);
    EXPECT_FALSE(Form6->isVisible());
  }
  EXPECT_EQ(seen, (QStringList{"オリベル Ver1.00", "オリベル Ver1.00"}));
}

TEST_F(AboutBoxTest, TheCloseBoxClosesItToo) {
  whenModal([&](QWidget*) { Form6->close(); });
  Form6->ShowModal();
  EXPECT_FALSE(Form6->isVisible());
  EXPECT_EQ(Form6->Label1->text(), QStringLiteral("オリベル Ver1.00"));
}

}  // namespace
}  // namespace orivel::test
