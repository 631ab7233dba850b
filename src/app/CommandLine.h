#pragma once

#include <string>
#include <vector>

// The command line of the program with windows: `orivel [BOOK.orv]`, `orivel --version`,
// `orivel --help`. Read before the application object exists, so that the version and the
// usage need no display.
namespace orivel::app {

struct StartOptions {
  enum class Action {
    Run,      // open the windows, loading `book` when hasBook
    Version,  // print the version and end
    Help,     // print the usage on standard output and end
    Wrong,    // print `problem` and the usage on standard error and end with kExitUsage
  };
  Action action = Action::Run;
  bool hasBook = false;
  std::string book;  // the path as given, its bytes unchanged
  std::string problem;
};

inline constexpr int kExitUsage = 2;

// Reads the arguments after the program's name.
StartOptions ParseCommandLine(const std::vector<std::string>& args);

// The one usage line.
std::string UsageLine();

// Prints what a Version, Help or Wrong action says, on the stream it belongs to, and gives
// the exit code; for Run it prints nothing and gives -1.
int ReportWithoutWindows(const StartOptions& options);

}  // namespace orivel::app
