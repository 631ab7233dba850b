#include "common/EnterKey.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QPushButton>

namespace orivel {
namespace {

class EnterPressesButton final : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* button = qobject_cast<QPushButton*>(watched);
    if (!button) return false;
    if (event->type() == QEvent::FocusIn) {
      // Qt draws the focus frame only after a focus change by the keyboard; a button
      // reached by Enter in a box or given the focus by a dialog shows it as well.
      if (static_cast<QFocusEvent*>(event)->reason() != Qt::MouseFocusReason)
        button->window()->setAttribute(Qt::WA_KeyboardFocusChange);
      return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (!enter || (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return false;
    if (!key->isAutoRepeat() && button->isEnabled()) button->click();
    return true;
  }
};

}  // namespace

void pressFocusedButtonOnEnter(QWidget* window) {
  auto* filter = new EnterPressesButton(window);
  for (QPushButton* button : window->findChildren<QPushButton*>()) {
    button->setAutoDefault(false);  // no dialog-wide default: Enter acts on the focus only
    button->installEventFilter(filter);
  }
}

}  // namespace orivel
