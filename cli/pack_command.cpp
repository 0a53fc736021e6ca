// quorvel-cli pack [--dither] [--keep-black] OUTPUT.spr INPUT...
//
// Does what the window does when the user loads each picture in turn, clicks "Add ->" after
// each, and finally saves the sprite file, so it writes the same bytes. An INPUT that is a
// folder stands for its .bmp and .png files in natural order; names given one by one keep
// the order they are given in. A picture without pixels (as `unpack` writes the empty sprites
// of game files, 0 × 0 or W × 0) becomes a sprite of its size, which "Add ->" would pass over.

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "cli/command.h"
#include "core/file_access.h"
#include "core/file_messages.h"
#include "core/file_names.h"
#include "core/file_operations.h"
#include "core/indexed_image.h"
#include "core/natural_order.h"
#include "core/window_services.h"
#include "pictures/picture_file.h"
#include "sprites/sprite_editing.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"

namespace quorvel::cli {

namespace {

bool NamesPicture(std::string_view name) {
    return KindOfFileName(name) == FileKind::Picture;
}

// The pictures in `folder`, in natural order of their names, each joined to the folder with
// '/' as unpack joins its names; nothing (after a message) when the folder cannot be listed
// or holds none.
std::optional<std::vector<std::string>> PicturesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(PathOfUtf8(folder), error), end;
         !error && it != end; it.increment(error)) {
        const std::u8string utf8 = it->path().filename().u8string();
        const std::string name(utf8.begin(), utf8.end());
        std::error_code kindError;
        if (NamesPicture(name) && it->is_regular_file(kindError)) {
            names.push_back(name);
        }
    }
    if (error) {
        ShowFileError(CannotOpenForRead(folder));
        return std::nullopt;
    }
    if (names.empty()) {
        ShowFileError(CannotUse(folder, "the folder holds no .bmp or .png files"));
        return std::nullopt;
    }
    std::sort(names.begin(), names.end(), NaturalLess);
    const bool separated = !folder.empty() && IsFolderSeparator(folder.back());
    for (std::string& name : names) {
        name = folder + (separated ? "" : "/") + name;
    }
    return names;
}

// The output name, then the inputs with every folder replaced by its pictures.
bool ExpandFolders(const std::vector<std::string>& given, std::vector<std::string>& files) {
    files.push_back(given[0]);
    for (std::size_t i = 1; i < given.size(); ++i) {
        std::error_code error;
        if (!std::filesystem::is_directory(PathOfUtf8(given[i]), error)) {
            files.push_back(given[i]);
        } else if (const auto pictures = PicturesIn(given[i])) {
            files.insert(files.end(), pictures->begin(), pictures->end());
        } else {
            return false;
        }
    }
    return true;
}

// Puts a sprite without pixels at the end of the set, keeping the numbers of the later ones.
void AppendEmptySprite(const IndexedImage& image) {
    SpriteSet& set = CurrentSpriteSet();
    set.widths.push_back(image.width);
    set.heights.push_back(image.height);
    set.images.emplace_back();
    ++set.count;
}

}  // namespace

int RunPack(const Invocation& invocation) {
    std::vector<std::string> files;
    if (!ExpandFolders(invocation.files, files)) {
        return kExitFailure;
    }
    for (std::size_t i = 1; i < files.size(); ++i) {
        // A failed load has already been reported on standard error.
        if (!LoadPictureFile(files[i], invocation.mode, invocation.black)) {
            return kExitFailure;
        }
        if (CurrentImage().HasArea()) {
            AddSprite();
        } else {
            AppendEmptySprite(CurrentImage());
        }
    }
    return SaveSpriteFile(files[0]) ? kExitSuccess : kExitFailure;
}

}  // namespace quorvel::cli
