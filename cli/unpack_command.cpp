// quorvel-cli unpack [--png] INPUT.spr OUTPUT_DIR
//
// Writes each sprite as the bitmap (or, with --png, the PNG file) the window would save after
// taking it back with "<-": the same encoder on the same pixels, so the same bytes, without
// going through the list.

#include <cstdio>
#include <filesystem>
#include <optional>

#include "cli/command.h"
#include "core/file_operations.h"
#include "core/indexed_image.h"
#include "core/save_encoded.h"
#include "pictures/picture_file.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"

namespace quorvel::cli {

namespace {

// "<stem>-007.bmp": the sprite's number zero-padded to at least three digits.
std::string PictureNameFor(const std::string& stem, std::uint32_t index, const char* extension) {
    char number[16];
    std::snprintf(number, sizeof number, "%03u", static_cast<unsigned>(index));
    return stem + "-" + number + extension;
}

// The file's name without its folder and extension, as std::filesystem takes it apart; the
// names are UTF-8 on every system.
std::string StemOf(const std::string& path) {
    const std::u8string stem =
        std::filesystem::path(std::u8string(path.begin(), path.end())).stem().u8string();
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
    const char* extension = invocation.png ? ".png" : ".bmp";
    for (std::uint32_t i = 0; i < set->count; ++i) {
        const IndexedImage sprite{set->widths[i], set->heights[i], set->images[i]};
        const std::string name = InFolder(files[1], PictureNameFor(stem, i, extension));
        if (!SaveEncodedFile(name, EncodePicture(sprite, name))) {
            return kExitFailure;
        }
    }
    return kExitSuccess;
}

}  // namespace quorvel::cli
