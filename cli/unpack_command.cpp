// quorvel-cli unpack [--png] INPUT.spr OUTPUT_DIR
//
// Writes each sprite as the bitmap (or, with --png, the PNG file) the window would save after
// taking it back with "<-": the same encoder on the same pixels, so the same bytes, without
// going through the list. OUTPUT_DIR is made if it does not exist (its parent must). A sprite
// without pixels (0 × 0 or W × 0, found in the game's own files) is saved as a bitmap even with
// --png, since a PNG file cannot hold it; standard error says so.

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <system_error>

#include "cli/command.h"
#include "core/file_names.h"
#include "core/file_operations.h"
#include "core/indexed_image.h"
#include "core/label_texts.h"
#include "pictures/picture_file.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"

namespace quorvel::cli {

namespace {

// "<stem>-007.bmp": the sprite's number zero-padded to `digits` digits.
std::string PictureNameFor(const std::string& stem, std::uint32_t index, std::size_t digits,
                           const char* extension) {
    std::string number = std::to_string(index);
    number.insert(0, digits - std::min(digits, number.size()), '0');
    return stem + "-" + number + extension;
}

// Three digits, or as many as the count has, so that the names sort in sprite order in any
// listing: a file of 1000 sprites gives "-0000" to "-0999".
std::size_t NumberDigits(std::uint32_t count) {
    return std::max<std::size_t>(std::to_string(count).size(), 3);
}

// The file's name without its folder and extension, as std::filesystem takes it apart.
std::string StemOf(const std::string& path) {
    const std::u8string stem = PathOfUtf8(path).stem().u8string();
    return std::string(stem.begin(), stem.end());
}

// "out" + "a.bmp" -> "out/a.bmp", with '/' on every system so that messages are the same.
std::string InFolder(const std::string& folder, const std::string& name) {
    if (folder.empty() || IsFolderSeparator(folder.back())) {
        return folder + name;
    }
    return folder + "/" + name;
}

}  // namespace

int RunUnpack(const Invocation& invocation) {
    const std::vector<std::string>& files = invocation.files;
    const std::optional<SpriteSet> set = ReadSpriteFile(files[0]);
    if (!set) {
        return kExitFailure;
    }
    const std::string stem = StemOf(files[0]);
    const std::size_t digits = NumberDigits(set->count);
    // A folder that cannot be made is reported by the first save into it.
    std::error_code ignored;
    std::filesystem::create_directory(PathOfUtf8(files[1]), ignored);
    for (std::uint32_t i = 0; i < set->count; ++i) {
        const IndexedImage sprite{set->widths[i], set->heights[i], set->images[i]};
        const bool png = invocation.png && sprite.HasArea();
        const std::string name =
            InFolder(files[1], PictureNameFor(stem, i, digits, png ? ".png" : ".bmp"));
        if (!SaveImageAsPicture(sprite, name)) {
            return kExitFailure;
        }
        if (png != invocation.png) {
            std::cerr << "Sprite " << i << " is " << SizeText(sprite.width, sprite.height)
                      << " pixels, which a PNG file cannot hold; saved as the bitmap " << name
                      << ".\n";
        }
    }
    return kExitSuccess;
}

}  // namespace quorvel::cli
