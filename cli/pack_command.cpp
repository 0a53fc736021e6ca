// quorvel-cli pack [--dither] [--keep-black] OUTPUT.spr INPUT...
//
// Does what the window does when the user loads each picture in turn, clicks "Add ->" after
// each, and finally saves the sprite file, so it writes the same bytes.

#include "cli/command.h"
#include "core/file_messages.h"
#include "core/indexed_image.h"
#include "core/window_services.h"
#include "pictures/picture_file.h"
#include "sprites/sprite_editing.h"
#include "sprites/sprite_file.h"
#include "sprites/sprite_set.h"

namespace quorvel::cli {

int RunPack(const Invocation& invocation) {
    const std::vector<std::string>& files = invocation.files;
    for (std::size_t i = 1; i < files.size(); ++i) {
        // A failed load has already been reported on standard error.
        if (!LoadPictureFile(files[i], invocation.mode, invocation.black)) {
            return kExitFailure;
        }
        // "Add ->" passes over an image without pixels; in a batch that would silently
        // renumber every later sprite, so it stops the command instead.
        if (!CurrentImage().HasArea()) {
            ShowFileError(CannotAddWithoutPixels(files[i]));
            return kExitFailure;
        }
        AddSprite();
    }
    return SaveSpriteFile(files[0]) ? kExitSuccess : kExitFailure;
}

}  // namespace quorvel::cli
