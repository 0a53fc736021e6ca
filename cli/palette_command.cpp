// quorvel-cli palette OUTPUT
//
// Writes the game palette as a palette file for paint programs, in the format OUTPUT's
// extension names: .gpl, .act or .pal.

#include "cli/command.h"
#include "palettes/palette_file.h"

namespace quorvel::cli {

int RunPalette(const Invocation& invocation) {
    return SavePaletteFile(invocation.files[0]) ? kExitSuccess : kExitFailure;
}

}  // namespace quorvel::cli
