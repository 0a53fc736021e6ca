#include "core/file_names.h"

#include <algorithm>
#include <string>

namespace quorvel {

bool EndsWithNoCase(std::string_view name, std::string_view ending) {
    if (name.size() < ending.size()) {
        return false;
    }
    const std::string_view end = name.substr(name.size() - ending.size());
    return std::equal(end.begin(), end.end(), ending.begin(), [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
    });
}

std::filesystem::path PathOfUtf8(std::string_view name) {
    return std::filesystem::path(std::u8string(name.begin(), name.end()));
}

}  // namespace quorvel
