#pragma once
// The values of the command line's valued options: whole numbers and sizes written "AxB".

#include <cstdint>
#include <optional>
#include <string_view>
#include <utility>

namespace quorvel::cli {

// A whole number in decimal digits alone (no sign, no spaces), from `least` to 2^32 - 1.
std::optional<std::uint32_t> ParseWholeNumber(std::string_view text, std::uint32_t least);

// Two whole numbers from 1 joined by 'x' (or 'X'), as in "4x2".
std::optional<std::pair<std::uint32_t, std::uint32_t>> ParseDimensions(std::string_view text);

}  // namespace quorvel::cli
