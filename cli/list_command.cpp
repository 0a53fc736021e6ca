// quorvel-cli list INPUT.spr
//
// Prints the sprite list as the window shows it right after loading the file, one line per
// sprite, in UTF-8.

#include <iostream>

#include "cli/command.h"
#include "cli/console_window.h"
#include "sprites/sprite_file.h"

namespace quorvel::cli {

int RunList(const Invocation& invocation) {
    const std::vector<std::string>& files = invocation.files;
    if (!LoadSpriteFile(files[0])) {
        return kExitFailure;
    }
    for (const std::string& line : Console().lines) {
        std::cout << line << '\n';
    }
    std::cout.flush();
    return std::cout ? kExitSuccess : kExitFailure;
}

}  // namespace quorvel::cli
