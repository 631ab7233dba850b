#pragma once

#include <filesystem>
#include <string_view>

// Replacing a file so that a failure at any point leaves the file that was there as it was:
// the text goes to a new temporary file beside the target, is flushed to the disk and then
// renamed over the target. Each system has its own file (AtomicWritePosix.cpp,
// AtomicWriteWindows.cpp) behind this one interface.
namespace orivel {

// How many temporary names a save tries before it gives up.
inline constexpr int kTemporaryNameCount = 100;

// The k-th temporary name a save of a file in dir tries, k from 0. A name that is taken
// (another save under way, or a file left by one that was cut off) is never opened, emptied
// or removed: the save takes the next one.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& dir, int k);

// Writes bytes to path. A link is followed and the file it points to replaced. Only a
// regular file is ever replaced, and not a read-only one. False, with no temporary file
// left and the target as it was, when anything fails.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

namespace detail {

// What both systems do before writing: the file to replace (a link resolved) and its
// folder, or false when the target cannot be replaced at all (a folder, a device, a pipe,
// no name).
bool ResolveTarget(const std::filesystem::path& path, std::filesystem::path* target,
                   std::filesystem::path* dir);

}  // namespace detail
}  // namespace orivel
