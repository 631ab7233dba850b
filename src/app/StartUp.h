#pragma once

#include <QIcon>
#include <QString>
#include <filesystem>
#include <memory>
#include <optional>

#include "app/CommandLine.h"

class QGuiApplication;

namespace orivel {
class Composition;
}

// What start-up does besides creating the windows: the program's name and icon for the
// desktop, and the book named on the command line.
namespace orivel::app {

// The name of the desktop entry, the AppStream component and the window class.
inline constexpr char kDesktopId[] = "com.quillmere.orivel";

// Creates the user store on the first run, as an installer would (the windows only ever
// open it; without it the program still runs with no user set), then the windows, and
// shows the main window.
std::unique_ptr<Composition> ShowWindows();

// The program's icon in every size it is drawn in, from the program's resources.
QIcon ProgramIcon();

// Gives the application its version, its desktop entry and its icon, which every window
// then shows.
void SetDesktopIdentity(QGuiApplication& app);

// The path of the book the command line names, its bytes as given (a name that is not
// UTF-8, copied from another system, still opens), for the main window to load once it is
// shown; none when it names none.
std::optional<std::filesystem::path> StartBook(const StartOptions& options);

}  // namespace orivel::app
