#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QMessageBox>

#include "common/Dialogs.h"
#include "support/ScriptedDialogs.h"

namespace orivel::test {
namespace {

// Each kind of message box, shown for real with a text shorter than its title, is wide
// enough for its title in a window manager's title bar, so the title is never cut off.
TEST(MessageBoxTest, EveryBoxIsAtLeastAsWideAsItsTitleNeeds) {
  setDialogs(nullptr);  // the real boxes
  for (MessageKind kind : {MessageKind::Error, MessageKind::Question, MessageKind::Information}) {
    QString title;
    int width = 0;
    int titleInBoxFont = 0;
    whenModal([&](QWidget* modal) {
      title = modal->windowTitle();
      width = modal->width();
      titleInBoxFont = QFontMetrics(modal->font()).horizontalAdvance(title);
      if (auto* box = qobject_cast<QMessageBox*>(modal)) box->done(QMessageBox::No);
    });
    dialogs().message(nullptr, kind, QStringLiteral("はい"));
    ASSERT_EQ(title, titleOf(kind));
    // The title bar needs the title and room for an icon and three buttons at least.
    EXPECT_GE(titleBarWidth(title), titleInBoxFont + 4 * 24) << title.toStdString();
    EXPECT_GE(width, titleBarWidth(title)) << title.toStdString();
  }
}

}  // namespace
}  // namespace orivel::test
