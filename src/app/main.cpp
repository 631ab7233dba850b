#include <exception>
#include <memory>

#include "app/Application.h"
#include "app/Composition.h"
#include "common/Dialogs.h"
#include "settings/ProfileStore.h"

int main(int argc, char** argv) {
  OrivelApplication app(argc, argv);
  int rc = 0;
  std::unique_ptr<orivel::Composition> windows;
  try {
    // The user store comes into being on the first run, as an installer would create it;
    // the windows only ever open it. Without it the program still runs with no user set.
    orivel::ProfileStore::install();
    windows = std::make_unique<orivel::Composition>();
    windows->showMainWindow();
    rc = app.exec();
  } catch (const std::exception& e) {
    // An error that escapes start-up is shown, and the program ends normally.
    orivel::ShowError(nullptr, QString::fromLocal8Bit(e.what()));
  }
  windows.reset();
  return rc;
}
