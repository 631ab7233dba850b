#include "app/Application.h"

#include <exception>

#include "common/Dialogs.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "settings/ProfileStore.h"

OrivelApplication::OrivelApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(orivel::ProfileStore::kApplication);
  setOrganizationName(orivel::ProfileStore::kOrganisation);
  setFont(orivel::fonts::proportionalGothic(12));
}

bool OrivelApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    orivel::ShowError(activeWindow(), QString::fromLocal8Bit(e.what()));
  } catch (...) {
    orivel::ShowError(activeWindow(), orivel::messages::unexpectedError());
  }
  return false;
}
