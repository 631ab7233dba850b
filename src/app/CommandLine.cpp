#include "app/CommandLine.h"

#include <cstdio>

#include "common/Version.h"

namespace orivel::app {

StartOptions ParseCommandLine(const std::vector<std::string>& args) {
  StartOptions options;
  if (args.empty()) return options;
  if (args.size() > 1) {
    options.action = StartOptions::Action::Wrong;
    options.problem = "only one book can be opened";
    return options;
  }
  const std::string& arg = args.front();
  if (arg == "--version") {
    options.action = StartOptions::Action::Version;
  } else if (arg == "--help" || arg == "-h") {
    options.action = StartOptions::Action::Help;
  } else if (arg.starts_with('-')) {
    // A book whose name starts with "-" is opened as ./-name.orv.
    options.action = StartOptions::Action::Wrong;
    options.problem = "unknown option \"" + arg + "\"";
  } else {
    options.hasBook = true;
    options.book = arg;
  }
  return options;
}

std::string UsageLine() {
  return "usage: orivel [--version | --help | BOOK.orv]";
}

int ReportWithoutWindows(const StartOptions& options) {
  switch (options.action) {
    case StartOptions::Action::Run:
      return -1;
    case StartOptions::Action::Version:
      std::printf("orivel %s\n", kVersion);
      return 0;
    case StartOptions::Action::Help:
      std::printf("%s\n", UsageLine().c_str());
      return 0;
    case StartOptions::Action::Wrong:
      std::fprintf(stderr, "orivel: %s\n%s\n", options.problem.c_str(), UsageLine().c_str());
      return kExitUsage;
  }
  return kExitUsage;
}

}  // namespace orivel::app
