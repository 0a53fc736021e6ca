#include "sheets/sheet_description_writer.h"

#include <nlohmann/json.hpp>

#include "core/file_operations.h"
#include "quorvel_version.h"

namespace quorvel {

namespace {

using Json = nlohmann::ordered_json;

std::string_view FileNameOf(std::string_view path) {
    std::size_t start = path.size();
    while (start > 0 && !IsFolderSeparator(path[start - 1])) {
        --start;
    }
    return path.substr(start);
}

// Where the extension of the last file name in `path` starts, or npos.
std::size_t ExtensionAt(std::string_view path) {
    const std::size_t nameAt = path.size() - FileNameOf(path).size();
    const std::size_t dot = path.rfind('.');
    return dot != std::string_view::npos && dot > nameAt ? dot : std::string_view::npos;
}

// Names that are not UTF-8 are written with replacement characters rather than refused.
std::string Dump(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

Json Rectangle(const PlacedSprite& place) {
    return {{"x", place.x}, {"y", place.y}, {"w", place.width}, {"h", place.height}};
}

}  // namespace

std::string DescribeSheet(const StitchedSheet& sheet, std::string_view pictureName) {
    const std::string_view fileName = FileNameOf(pictureName);
    const std::string stem(fileName.substr(0, std::min(fileName.size(), ExtensionAt(fileName))));
    Json frames = Json::array();
    for (std::size_t n = 0; n < sheet.places.size(); ++n) {
        const PlacedSprite& place = sheet.places[n];
        frames.push_back({{"filename", stem + " " + std::to_string(n)},
                          {"frame", Rectangle(place)},
                          {"rotated", false},
                          {"trimmed", false},
                          {"spriteSourceSize", Rectangle({0, 0, place.width, place.height})},
                          {"sourceSize", {{"w", place.width}, {"h", place.height}}},
                          {"duration", 100}});
    }
    const Json meta = {{"app", "quorvel"},
                       {"version", QUORVEL_VERSION},
                       {"image", std::string(fileName)},
                       {"format", "I8"},
                       {"size", {{"w", sheet.picture.width}, {"h", sheet.picture.height}}},
                       {"scale", "1"}};
    // One frame to a line, as paint programs write their descriptions.
    std::string text = "{\"frames\": [\n";
    for (std::size_t n = 0; n < frames.size(); ++n) {
        text += " " + Dump(frames[n]) + (n + 1 < frames.size() ? ",\n" : "\n");
    }
    return text + "],\n\"meta\": " + Dump(meta) + "\n}\n";
}

std::string DescriptionNameFor(const std::string& pictureName) {
    const std::size_t dot = ExtensionAt(pictureName);
    return (dot == std::string::npos ? pictureName : pictureName.substr(0, dot)) + ".json";
}

}  // namespace quorvel
