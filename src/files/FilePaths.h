#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// The one conversion between file names as UTF-8 text (a command line argument, a name
// from a file dialog) and std::filesystem::path. On Windows the text becomes UTF-16; on
// other systems the bytes are the name as they are. A name never passes through a plain
// std::string on its way to a path: on Windows that would read the bytes in the ANSI code
// page and mangle every Japanese name.
namespace orivel {

std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace orivel
