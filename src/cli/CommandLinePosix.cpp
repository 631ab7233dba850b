// On POSIX systems the arguments are the bytes as given: a file name is those bytes, and
// under a UTF-8 locale a text is UTF-8.
#include "cli/CommandLine.h"

namespace orivel::cli {

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace orivel::cli
