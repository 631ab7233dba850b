// Starts a program's windows as a user's start does and ends the process as soon as the
// first window is mapped, so that a script can time the whole start: built twice, as
// Orivel's main window and as a bare Qt window for comparison (ORIVEL_BARE_WINDOW).
#include <QApplication>
#include <QWindow>
#include <memory>

#ifdef ORIVEL_BARE_WINDOW
#include <QWidget>
#else
#include "app/Application.h"
#include "app/Composition.h"
#include "app/StartUp.h"
#include "app/Translations.h"
#endif

namespace {

// Quits the event loop at the first expose of any window.
class QuitWhenMapped : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose) {
      if (auto* window = qobject_cast<QWindow*>(watched); window && window->isExposed())
        QCoreApplication::quit();
    }
    return false;
  }
};

}  // namespace

int main(int, char** argv) {
  int qtArgc = 1;
#ifdef ORIVEL_BARE_WINDOW
  QApplication app(qtArgc, argv);
  QuitWhenMapped quit;
  app.installEventFilter(&quit);
  QWidget window;
  window.resize(640, 480);
  window.show();
  return app.exec();
#else
  // As the program's main() does, with the event loop ended at the first expose.
  OrivelApplication app(qtArgc, argv);
  QuitWhenMapped quit;
  app.installEventFilter(&quit);
  const orivel::app::QtTranslations qtTexts;
  orivel::app::SetDesktopIdentity(app);
  auto windows = orivel::app::ShowWindows();
  const int rc = app.exec();
  windows.reset();
  return rc;
#endif
}
