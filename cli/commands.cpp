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
    Command{"sheet",
            "[--dither] [--keep-black] [--grid CxR | --cell WxH [--border N] [--spacing N] | "
            "--key] PICTURE OUTPUT.spr | --stitch [--columns N] [--key] INPUT.spr PICTURE",
            "Cut a sprite sheet into frames, each reduced as a picture of its own, and save them "
            "as one sprite file: by the JSON file beside PICTURE (same name, .json), by a grid "
            "of C x R cells or of cells of W x H, or by the key colour of its top-left pixel; "
            "with --stitch, save the sprites as one grid picture and its JSON file (--key: on "
            "key colour, without JSON)",
            kDitherOption | kKeepBlackOption | kStitchOption | kGridOptions | kKeyOption |
                kColumnsOption,
            2, 2, RunSheet},
    Command{"palette", "OUTPUT",
            "Save the game palette as a palette file for paint programs, all 256 colours in "
            "index order: a GIMP palette if OUTPUT ends in .gpl, a colour table if .act, a "
            "JASC palette if .pal",
            0u, 1, 1, RunPalette},
};

// Every option once: its name, the bit that admits it, whether it takes a value, and where it
// goes in the invocation.
struct OptionSpec {
    std::string_view name;
    unsigned bit;
    bool valued;
    void (*apply)(Invocation& invocation, const std::string& value);
};

constexpr std::array kOptions = {
    OptionSpec{"--dither", kDitherOption, false,
               [](Invocation& i, const std::string&) { i.mode = ConversionMode::Dither; }},
    OptionSpec{"--keep-black", kKeepBlackOption, false,
               [](Invocation& i, const std::string&) { i.black = BlackHandling::KeepVisible; }},
    OptionSpec{"--png", kPngOption, false, [](Invocation& i, const std::string&) { i.png = true; }},
    OptionSpec{"--stitch", kStitchOption, false,
               [](Invocation& i, const std::string&) { i.stitch = true; }},
    OptionSpec{"--key", kKeyOption, false, [](Invocation& i, const std::string&) { i.key = true; }},
    OptionSpec{"--grid", kGridOptions, true,
               [](Invocation& i, const std::string& value) { i.grid = value; }},
    OptionSpec{"--cell", kGridOptions, true,
               [](Invocation& i, const std::string& value) { i.cell = value; }},
    OptionSpec{"--border", kGridOptions, true,
               [](Invocation& i, const std::string& value) { i.border = value; }},
    OptionSpec{"--spacing", kGridOptions, true,
               [](Invocation& i, const std::string& value) { i.spacing = value; }},
    OptionSpec{"--columns", kColumnsOption, true,
               [](Invocation& i, const std::string& value) { i.columns = value; }},
};

const OptionSpec* FindOption(std::string_view name, unsigned admitted) {
    const auto found = std::find_if(kOptions.begin(), kOptions.end(), [&](const OptionSpec& o) {
        return o.name == name && (o.bit & admitted) != 0;
    });
    return found == kOptions.end() ? nullptr : &*found;
}

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
    for (std::size_t a = 0; a < arguments.size(); ++a) {
        const std::string& argument = arguments[a];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            invocation.files.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const OptionSpec* option = FindOption(argument.substr(0, equals), command.options);
        if (option == nullptr || (!option->valued && equals != std::string::npos)) {
            return UsageError(command, "unknown option '" + argument + "'");
        }
        std::string value;
        if (equals != std::string::npos) {
            value = argument.substr(equals + 1);
        } else if (option->valued) {
            if (a + 1 == arguments.size()) {
                return UsageError(command, "option '" + argument + "' needs a value");
            }
            value = arguments[++a];
        }
        option->apply(invocation, value);
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
