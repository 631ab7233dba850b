#pragma once

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "common/Dialogs.h"

namespace orivel::test {

// Records every message box and file dialog, and answers from a script. Installed for
// the lifetime of the object.
class ScriptedDialogs final : public DialogSeam {
 public:
  struct Shown {
    MessageKind kind;
    QString title;
    QString text;
  };

  ScriptedDialogs();
  ~ScriptedDialogs() override;

  Answer message(QWidget* parent, MessageKind kind, const QString& text) override;
  QString openFileName(QWidget* parent, const QString& filter, const QString& start) override;
  QString saveFileName(QWidget* parent, const QString& filter, const QString& start) override;

  // Answers for questions, in order; a question without a scripted answer gets No.
  std::deque<Answer> answers;
  // Paths the file dialogs return, in order; an empty path means cancelled.
  std::deque<QString> paths;

  std::vector<Shown> shown;
  QStringList filters;  // the filter of each file dialog opened
  QStringList starts;   // where each file dialog started

  QStringList texts() const;
};

// Runs `action` once a modal dialog is showing (the entry editor, the settings dialog),
// from inside its event loop. Call it before the command that opens the dialog. The action
// belongs to the running test: when the test ends, an action that has not run is dropped.
void whenModal(std::function<void(QWidget*)> action);

// Drops every modal action that has not run yet.
void cancelModalActions();
// Makes every test end with cancelModalActions(); called once by the test main.
void installModalActionScope();

}  // namespace orivel::test
