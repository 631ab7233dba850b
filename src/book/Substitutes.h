#pragma once

#include <optional>
#include <span>
#include <utility>

// Characters that code page 932 cannot hold, each with the one commonly written in its place
// that it can: 𠮷 (つちよし) with 吉, 剝 with 剥. The program never puts one in by itself;
// it only names it, so that the user can choose it.
namespace orivel {

// The character commonly written for `character`, or nullopt when there is none we know.
std::optional<char32_t> CommonSubstitute(char32_t character);

// Every pair known: the character, and the one written in its place.
std::span<const std::pair<char32_t, char32_t>> KnownSubstitutes();

}  // namespace orivel
