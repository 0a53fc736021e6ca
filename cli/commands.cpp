#include <algorithm>
#include <array>
#include <cstdint>
#include <iostream>

#include "cli/command.h"

namespace quorvel::cli {

namespace {

constexpr std::array kCommands = {
    Command{"convert", "[--dither] [--keep-black] INPUT OUTPUT",
            "Reduce a bitmap or PNG picture to the game palette (nearest colour, or diffusion "
            "dither) and save it as a PNG file if OUTPUT ends in .png, else as an 8-bit bitmap",
            kDitherOption | kKeepBlackOption, 2, 2, RunConvert},
    Command{"pack", "[--dither] [--keep-black] OUTPUT.spr INPUT...",
            "Reduce the bitmaps or PNG pictures to the game palette and save them, in order, as "
            "one sprite file; an INPUT that is a folder stands for its .bmp and .png files in "
            "natural order (\"walk2\" before \"walk10\"); a bitmap without pixels (a side of "
            "0, as unpack writes an empty sprite) becomes an empty sprite of that size",
            kDitherOption | kKeepBlackOption, 2, SIZE_MAX, RunPack},
    Command{"unpack", "[--png] INPUT.spr OUTPUT_DIR",
            "Save sprite N as the bitmap OUTPUT_DIR/NAME-NNN.bmp (with --png the PNG file "
            "NAME-NNN.png), NAME being INPUT's name without extension; OUTPUT_DIR is made if "
            "missing; an empty sprite (a side of 0) is saved as a bitmap without pixels, even "
            "with --png",
            kPngOption, 2, 2, RunUnpack},
    Command{"list", "INPUT.spr", "Print the sprite list the window shows for a sprite file", 0u, 1,
            1, RunList},
    Command{"background",
            "[--dither] [--keep-black] PICTURE OUTPUT.spr | --stitch INPUT.spr PICTURE",
            "Reduce an 8352 x 1200 picture to the game palette as a whole and save it as a room "
            "background: 464 sprites of 144 x 150, column by column; with --stitch, save the "
            "picture of such a file (a PNG file if PICTURE ends in .png, else a bitmap)",
            kDitherOption | kKeepBlackOption | kStitchOption, 2, 2, RunBackground},
};

}  // namespace

std::span<const Command> Commands() {
    return kCommands;
}

const Command* FindCommand(std::string_view name) {
    const auto found = std::find_if(kCommands.begin(), kCommands.end(),
                                    [&](const Command& c) { return c.name == name; });
    return found == kCommands.end() ? nullptr : &*found;
}

int UsageError(const Command& command, const std::string& problem) {
    std::cerr << "quorvel-cli " << command.name << ": " << problem << "\n"
              << "Usage: quorvel-cli " << command.name << " " << command.arguments << "\n"
              << "Try 'quorvel-cli --help' for more information.\n";
    return kExitUsage;
}

int RunCommand(const Command& command, const std::vector<std::string>& arguments) {
    Invocation invocation;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            invocation.files.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (argument == "--dither" && (command.options & kDitherOption) != 0) {
            invocation.mode = ConversionMode::Dither;
        } else if (argument == "--keep-black" && (command.options & kKeepBlackOption) != 0) {
            invocation.black = BlackHandling::KeepVisible;
        } else if (argument == "--png" && (command.options & kPngOption) != 0) {
            invocation.png = true;
        } else if (argument == "--stitch" && (command.options & kStitchOption) != 0) {
            invocation.stitch = true;
        } else {
            return UsageError(command, "unknown option '" + argument + "'");
        }
    }
    if (invocation.files.size() < command.fewestFiles) {
        return UsageError(command, "missing file name");
    }
    if (invocation.files.size() > command.mostFiles) {
        return UsageError(command, "too many file names");
    }
    return command.run(invocation);
}

}  // namespace quorvel::cli
