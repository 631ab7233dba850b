#pragma once

#include <string>
#include <vector>

// The arguments after the program's name as UTF-8, whatever the system hands main. Each
// system has its own file (CommandLinePosix.cpp, CommandLineWindows.cpp).
namespace orivel::cli {

std::vector<std::string> Utf8Arguments(int argc, char** argv);

}  // namespace orivel::cli
