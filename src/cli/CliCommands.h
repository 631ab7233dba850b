#pragma once

#include <QByteArray>
#include <string>

#include "book/AddressBook.h"
#include "cli/CliArguments.h"

// The commands of orivel-cli. Each returns the process's exit code; the messages the windows
// would show go to standard error, one a line, exactly as the windows word them.
namespace orivel::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

// One JSON object a line for each entry of the book, in book order.
int Show(const Arguments& args);
// Imports the CSV files in turn into the book (or an empty one) and saves it.
int Import(const Arguments& args);
// The composed card of one row as one JSON object.
int Compose(const Arguments& args);
// Prints the selected rows, one job a card, or writes them into one PDF. Needs a
// QGuiApplication for the fonts.
int Print(const Arguments& args);
// Prints the calibration card on the printer, or writes it into a PDF.
int Calibration(const Arguments& args);

// The profile commands: show, add, set and use.
int Profile(const Arguments& args);
// Writes the book as a CSV file the import reads back.
int Export(const Arguments& args);
// One JSON object a line for each finding of the postal code check; 0 when the check ran.
int Check(const Arguments& args);

// Marks the chosen rows in the season's record (or clears it) and saves the book.
int Mark(const Arguments& args);
// The rows a season selection takes, as one line "0,3,7".
int Select(const Arguments& args);

// Loads the book as the load command does; says what the window would show when refused.
bool LoadBookOrSay(const std::filesystem::path& path, AddressBook& book);
// False, having said so, when standard output did not take it all.
bool WriteOut(const QByteArray& bytes);

// Writes a message line to standard error.
void Say(const QString& message);

}  // namespace orivel::cli
