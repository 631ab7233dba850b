#include "support/ScriptedDialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <vector>

namespace orivel::test {

ScriptedDialogs::ScriptedDialogs() {
  setDialogs(this);
}
ScriptedDialogs::~ScriptedDialogs() {
  setDialogs(nullptr);
}

Answer ScriptedDialogs::message(QWidget*, MessageKind kind, const QString& text) {
  shown.push_back({kind, titleOf(kind), text});
  if (kind != MessageKind::Question) return Answer::Ok;
  if (answers.empty()) return Answer::No;
  const Answer a = answers.front();
  answers.pop_front();
  return a;
}

QString ScriptedDialogs::openFileName(QWidget*, const QString& filter, const QString& start) {
  filters << filter;
  starts << start;
  if (paths.empty()) return {};
  const QString p = paths.front();
  paths.pop_front();
  return p;
}

QString ScriptedDialogs::saveFileName(QWidget* parent, const QString& filter,
                                      const QString& start) {
  return openFileName(parent, filter, start);
}

QStringList ScriptedDialogs::texts() const {
  QStringList out;
  for (const Shown& s : shown) out << s.text;
  return out;
}

namespace {

// The modal actions the running test has set and that have not run yet.
std::vector<QPointer<QTimer>>& pendingModalTimers() {
  static std::vector<QPointer<QTimer>> timers;
  return timers;
}

// Cancels them when the test ends, so that an action waiting for a dialog that never
// opened cannot fire in a later test with that test's locals long gone.
class CancelModalActionsAtTestEnd final : public ::testing::EmptyTestEventListener {
  void OnTestEnd(const ::testing::TestInfo&) override { cancelModalActions(); }
};

}  // namespace

void whenModal(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  auto waited = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, waited, action = std::move(action)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !timer->isActive()) return;
    // Keys go where a user's would only once the dialog is the active window; give it
    // a moment to become one.
    if (!modal->isActiveWindow() && ++*waited < 40) return;
    timer->stop();
    action(modal);
  });
  pendingModalTimers().emplace_back(timer);
  timer->start();
}

void cancelModalActions() {
  for (const QPointer<QTimer>& timer : pendingModalTimers()) delete timer.data();
  pendingModalTimers().clear();
}

void installModalActionScope() {
  ::testing::UnitTest::GetInstance()->listeners().Append(new CancelModalActionsAtTestEnd);
}

}  // namespace orivel::test
