#pragma once

#include <QIcon>

#include "app/CommandLine.h"

class QGuiApplication;
class TForm1;

// What start-up does besides creating the windows: the program's name and icon for the
// desktop, and the book named on the command line.
namespace orivel::app {

// The name of the desktop entry, the AppStream component and the window class.
inline constexpr char kDesktopId[] = "com.quillmere.orivel";

// The program's icon in every size it is drawn in, from the program's resources.
QIcon ProgramIcon();

// Gives the application its version, its desktop entry and its icon, which every window
// then shows.
void SetDesktopIdentity(QGuiApplication& app);

// Loads the book the options name, if any, into the main window, with the rules and the
// messages of ファイル → 読み込み. Call it once the main window is shown.
void OpenStartBook(TForm1& window, const StartOptions& options);

}  // namespace orivel::app
