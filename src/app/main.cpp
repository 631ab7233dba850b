#include <exception>

#include "app/Application.h"
#include "app/Forms.h"
#include "app/TForm1.h"
#include "common/Dialogs.h"

int main(int argc, char** argv) {
  OrivelApplication app(argc, argv);
  int rc = 0;
  try {
    CreateForms();
    Form1->show();
    rc = app.exec();
  } catch (const std::exception& e) {
    // An error that escapes start-up is shown, and the program ends normally.
    orivel::ShowError(nullptr, QString::fromLocal8Bit(e.what()));
  }
  DestroyForms();
  return rc;
}
