#pragma once

#include <QApplication>

// The application object. An error that escapes an event handler is shown in an
// "ＥＲＲＯＲ" box and the program goes on with the next event.
class OrivelApplication final : public QApplication {
  Q_OBJECT
 public:
  OrivelApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};
