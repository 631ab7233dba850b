// On Windows argv holds the arguments in the ANSI code page, which cannot hold most
// Japanese names; the wide command line holds them all.
#include <windows.h>

#include <shellapi.h>

#include "cli/CommandLine.h"

namespace orivel::cli {
namespace {

std::string utf8(const wchar_t* wide) {
  const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string out(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, out.data(), size, nullptr, nullptr);
  out.pop_back();  // the terminating NUL
  return out;
}

}  // namespace

std::vector<std::string> Utf8Arguments(int, char**) {
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> out;
  for (int i = 1; wide && i < count; ++i) out.push_back(utf8(wide[i]));
  LocalFree(wide);
  return out;
}

}  // namespace orivel::cli
