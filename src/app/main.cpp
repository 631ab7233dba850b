#include <exception>
#include <memory>

#include "app/Application.h"
#include "app/CommandLine.h"
#include "app/Composition.h"
#include "app/StartUp.h"
#include "app/Translations.h"
#include "common/Dialogs.h"

int main(int argc, char** argv) {
  // The version, the usage and a wrong command line need no display.
  const orivel::app::StartOptions options =
      orivel::app::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (const int code = orivel::app::ReportWithoutWindows(options); code >= 0) return code;

  // Qt is given no arguments of ours: a book named like one of its options stays a book.
  int qtArgc = 1;
  OrivelApplication app(qtArgc, argv);
  const orivel::app::QtTranslations qtTexts;
  orivel::app::SetDesktopIdentity(app);
  int rc = 0;
  std::unique_ptr<orivel::Composition> windows;
  try {
    windows = orivel::app::ShowWindows();
    if (const auto book = orivel::app::StartBook(options)) windows->openBook(*book);
    rc = app.exec();
  } catch (const std::exception& e) {
    // An error that escapes start-up is shown, and the program ends normally.
    orivel::ShowError(nullptr, QString::fromLocal8Bit(e.what()));
  }
  windows.reset();
  return rc;
}
