// quorvel-cli background [--dither] [--keep-black] PICTURE OUTPUT.spr
// quorvel-cli background --stitch INPUT.spr PICTURE
//
// Does what the window's "Make Background File..." and "Export Background Picture..." do, so
// it writes the same bytes; neither needs the current image or the sprite set.

#include "backgrounds/background_file.h"
#include "cli/command.h"

namespace quorvel::cli {

int RunBackground(const Invocation& invocation) {
    const std::vector<std::string>& files = invocation.files;
    if (!invocation.stitch) {
        return MakeBackgroundFile(files[0], files[1], invocation.mode, invocation.black)
                   ? kExitSuccess
                   : kExitFailure;
    }
    // A stitched picture is the file's indexes as they stand: nothing is reduced.
    if (invocation.mode != ConversionMode::Nearest ||
        invocation.black != BlackHandling::AsSearched) {
        return UsageError(*FindCommand("background"),
                          "--stitch takes neither --dither nor --keep-black");
    }
    return ExportBackgroundPicture(files[0], files[1]) ? kExitSuccess : kExitFailure;
}

}  // namespace quorvel::cli
