#pragma once
// File names as the front ends hold them: UTF-8 text on every system.

#include <filesystem>
#include <string_view>

namespace quorvel {

// Whether `name` ends in `ending` (ASCII, lower case), letters compared in any case.
bool EndsWithNoCase(std::string_view name, std::string_view ending);

// `name` as a path; std::filesystem takes UTF-8 as such only through u8string.
std::filesystem::path PathOfUtf8(std::string_view name);

}  // namespace quorvel
