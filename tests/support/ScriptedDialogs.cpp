#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <memory>

namespace orivel::test {

ScriptedDialogs::ScriptedDialogs() { setDialogs(this); }
ScriptedDialogs::~ScriptedDialogs() { setDialogs(nullptr); }

Answer ScriptedDialogs::message(QWidget*, MessageKind kind, const QString& text) {
  shown.push_back({kind, titleOf(kind), text});
  if (kind != MessageKind::Question) return Answer::Ok;
  if (answers.empty()) return Answer::No;
  const Answer a = answers.front();
  answers.pop_front();
  return a;
}

QString ScriptedDialogs::openFileName(QWidget*, const QString& filter) {
  filters << filter;
  if (paths.empty()) return {};
  const QString p = paths.front();
  paths.pop_front();
  return p;
}

QString ScriptedDialogs::saveFileName(QWidget* parent, const QString& filter) {
  return openFileName(parent, filter);
}

QStringList ScriptedDialogs::texts() const {
  QStringList out;
  for (const Shown& s : shown) out << s.text;
  return out;
}

void whenModal(std::function<void(QWidget*)> action) {
  auto timer = std::make_shared<QTimer>();
  timer->setInterval(5);
  auto fired = std::make_shared<bool>(false);
  auto waited = std::make_shared<int>(0);
  QObject::connect(timer.get(), &QTimer::timeout, [timer, fired, waited, action] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || *fired) return;
    // Keys go where a user's would only once the dialog is the active window; give it
    // a moment to become one.
    if (!modal->isActiveWindow() && ++*waited < 40) return;
    *fired = true;
    timer->stop();
    action(modal);
  });
  timer->start();
  // The timer keeps itself alive through its own connection until it fires; give up
  // after a while so a test whose dialog never opens does not leave it running.
  QTimer::singleShot(10000, [timer] { timer->stop(); });
}

}  // namespace orivel::test
