#include <algorithm>
#include <array>
#include <iostream>

#include "cli/command.h"

namespace quorvel::cli {

namespace {

constexpr std::array kCommands = {
    Command{"convert", "[--dither] INPUT.bmp OUTPUT.bmp",
            "Reduce a bitmap to the game palette (nearest colour, or diffusion dither) and "
            "save it as an 8-bit bitmap",
            RunConvert},
    Command{"pack", "[--dither] OUTPUT.spr INPUT.bmp...",
            "Reduce the bitmaps to the game palette and save them, in order, as one sprite file",
            RunPack},
    Command{"unpack", "INPUT.spr OUTPUT_DIR",
            "Save sprite N as the bitmap OUTPUT_DIR/NAME-NNN.bmp, NAME being INPUT's name "
            "without extension",
            RunUnpack},
    Command{"list", "INPUT.spr", "Print the sprite list the window shows for a sprite file",
            RunList},
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

Result<ParsedArguments> ParseArguments(const std::vector<std::string>& arguments,
                                       std::span<const std::string_view> known) {
    ParsedArguments parsed;
    bool optionsEnded = false;
    for (const std::string& argument : arguments) {
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            parsed.positional.push_back(argument);
        } else if (argument == "--") {
            optionsEnded = true;
        } else if (std::find(known.begin(), known.end(), argument) != known.end()) {
            parsed.options.push_back(argument);
        } else {
            return Failure{"unknown option '" + argument + "'"};
        }
    }
    return parsed;
}

bool HasOption(const ParsedArguments& parsed, std::string_view option) {
    return std::find(parsed.options.begin(), parsed.options.end(), option) != parsed.options.end();
}

}  // namespace quorvel::cli
