#include "app/Application.h"

#include <exception>

#include "common/Dialogs.h"
#include "common/Fonts.h"

OrivelApplication::OrivelApplication(int& argc, char** argv) : QApplication(argc, argv) {
  setApplicationName(QStringLiteral("ORIVEL"));
  setOrganizationName(QStringLiteral("Quillmere"));
  setFont(orivel::fonts::proportionalGothic(12));
}

bool OrivelApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    orivel::ShowError(activeWindow(), QString::fromLocal8Bit(e.what()));
  } catch (...) {
    orivel::ShowError(activeWindow(), QStringLiteral("予期しないエラーが発生しました。"));
  }
  return false;
}
