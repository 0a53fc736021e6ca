#include "cli/option_values.h"

namespace quorvel::cli {

std::optional<std::uint32_t> ParseWholeNumber(std::string_view text, std::uint32_t least) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > 0xFFFFFFFFu) {
            return std::nullopt;
        }
    }
    if (value < least) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<std::pair<std::uint32_t, std::uint32_t>> ParseDimensions(std::string_view text) {
    const std::size_t by = text.find_first_of("xX");
    if (by == std::string_view::npos) {
        return std::nullopt;
    }
    const auto first = ParseWholeNumber(text.substr(0, by), 1);
    const auto second = ParseWholeNumber(text.substr(by + 1), 1);
    if (!first || !second) {
        return std::nullopt;
    }
    return std::pair{*first, *second};
}

}  // namespace quorvel::cli
