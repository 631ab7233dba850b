#include "app/StartUp.h"

#include <QGuiApplication>

#include "app/Composition.h"
#include "common/Version.h"
#include "settings/ProfileStore.h"

// The resource lives in a static library: make sure it is linked in and registered. Outside
// every namespace, as the registration function is.
static void registerIcons() {
  Q_INIT_RESOURCE(orivel_icons);
}

namespace orivel::app {

std::unique_ptr<Composition> ShowWindows() {
  ProfileStore::install();
  auto windows = std::make_unique<Composition>();
  windows->showMainWindow();
  return windows;
}

QIcon ProgramIcon() {
  registerIcons();
  QIcon icon;
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256})
    icon.addFile(QStringLiteral(":/orivel/icons/%1.png").arg(size), QSize(size, size));
  return icon;
}

void SetDesktopIdentity(QGuiApplication& app) {
  app.setApplicationVersion(QString::fromLatin1(kVersion));
  app.setDesktopFileName(QString::fromLatin1(kDesktopId));
  app.setWindowIcon(ProgramIcon());
}

std::optional<std::filesystem::path> StartBook(const StartOptions& options) {
  if (options.action != StartOptions::Action::Run || !options.hasBook) return std::nullopt;
  return std::filesystem::path(options.book);
}

}  // namespace orivel::app
