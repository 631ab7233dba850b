#pragma once

#include <QString>

#include "common/FileNames.h"  // filePath, for the names the file dialogs give

class QWidget;

// Every message box and file dialog of the program passes through this seam, so that
// tests can read exactly what was shown and script the answers.
namespace orivel {

enum class MessageKind {
  Error,        // "ＥＲＲＯＲ", OK, stop icon
  Question,     // "Ｃｏｎｆｉｒｍａｔｉｏｎ", Yes/No, question icon
  Information,  // "Ｉｎｆｏｒｍａｔｉｏｎ", OK, information icon
};

enum class Answer { Ok, Yes, No };

QString titleOf(MessageKind kind);

// The width a window needs to show `title` whole in a window manager's title bar: the title
// set in a bold title font of at least 11 points, beside the bar's icon and its three
// buttons. Every message box is at least this wide; Qt itself allows the title only
// 50 pixels beside its text in the application's font, too little for the full-width
// letters of "Ｃｏｎｆｉｒｍａｔｉｏｎ" under the larger bold title fonts of common desktops.
int titleBarWidth(const QString& title);

class DialogSeam {
 public:
  virtual ~DialogSeam() = default;
  virtual Answer message(QWidget* parent, MessageKind kind, const QString& text) = 0;
  // Empty when cancelled. The dialog starts at `start` (its folder and its name) unless it
  // is empty.
  virtual QString openFileName(QWidget* parent, const QString& filter, const QString& start) = 0;
  virtual QString saveFileName(QWidget* parent, const QString& filter, const QString& start) = 0;
};

// The seam in use; the real dialogs unless a test installed its own.
DialogSeam& dialogs();
// Installs a seam (nullptr restores the real dialogs). The caller keeps ownership.
void setDialogs(DialogSeam* seam);

// The three kinds of message box.
void ShowError(QWidget* parent, const QString& text);
void ShowInformation(QWidget* parent, const QString& text);
bool AskYes(QWidget* parent, const QString& text);  // true only for Yes

// Turns a filter of the form "Text(*.a)|*.a|Other(*.*)|*.*" into Qt's form.
QString qtFilter(const QString& pipeFilter);

}  // namespace orivel
