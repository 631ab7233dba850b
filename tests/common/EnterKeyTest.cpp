#include "common/EnterKey.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <map>

#include "app/TForm6.h"
#include "book/TForm4.h"
#include "print/TPrevwin.h"
#include "settings/TForm5.h"
#include "support/FormsFixture.h"

namespace orivel::test {
namespace {

using EnterKeyTest = FormsTest;

void sendKey(QWidget* w, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(w, &press);
}

// Enter on the focused button presses it and no other, in every window; Shift+Enter and
// the space bar keep their ordinary meaning.
TEST_F(EnterKeyTest, EnterPressesTheFocusedButtonInEveryWindow) {
  QWidget* windows[] = {Form1, Form4, Form5, Form6, Prevwin};
  for (QWidget* window : windows) {
    const auto buttons = window->findChildren<QPushButton*>();
    ASSERT_FALSE(buttons.isEmpty()) << window->objectName().toStdString();
    std::map<QPushButton*, int> clicks;
    for (QPushButton* b : buttons) {
      // Count the presses instead of running the commands.
      QObject::disconnect(b, &QPushButton::clicked, nullptr, nullptr);
      QObject::connect(b, &QPushButton::clicked, b, [&clicks, b] { ++clicks[b]; });
    }
    for (QPushButton* b : buttons) {
      const std::string name =
          window->objectName().toStdString() + "." + b->objectName().toStdString();
      sendKey(b, Qt::Key_Return);
      sendKey(b, Qt::Key_Enter, Qt::KeypadModifier);
      EXPECT_EQ(clicks[b], 2) << name;
      sendKey(b, Qt::Key_Return, Qt::ShiftModifier);
      EXPECT_EQ(clicks[b], 2) << name;
    }
    // No key reached a button other than the focused one.
    int pressed = 0;
    for (const auto& [button, count] : clicks) pressed += count;
    EXPECT_EQ(pressed, 2 * buttons.size()) << window->objectName().toStdString();
  }
}

}  // namespace
}  // namespace orivel::test
