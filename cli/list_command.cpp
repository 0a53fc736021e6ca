// quorvel-cli list INPUT.spr
//
// Prints the sprite list as the window shows it right after loading the file, one line per
// sprite, in UTF-8.

#include <iostream>

#include "cli/command.h"
#include "cli/console_window.h"
#include "sprites/sprite_file.h"

namespace quorvel::cli {

int RunList(const std::vector<std::string>& arguments) {
    const Command& command = *FindCommand("list");
    const Result<ParsedArguments> parsed = ParseArguments(arguments, {});
    if (!parsed) {
        return UsageError(command, parsed.error());
    }
    const std::vector<std::string>& files = parsed.value().positional;
    if (files.size() != 1) {
        return UsageError(command, files.empty() ? "missing file name" : "too many file names");
    }
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
