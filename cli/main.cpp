// quorvel-cli: the conversions of the window, for scripts and batch jobs.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/process_setup.h"
#include "quorvel_version.h"

namespace quorvel::cli {
namespace {

void PrintHelp() {
    std::cout
        << "Usage: quorvel-cli COMMAND [ARGUMENTS]\n"
           "Converts Windows bitmaps and PNG pictures to the 256-colour palette of\n"
           "Creatures sprites and packs them into, and out of, Creatures sprite files (.spr).\n"
           "\n"
           "Commands:\n";
    for (const Command& command : Commands()) {
        std::cout << "  " << command.name << " " << command.arguments << "\n      "
                  << command.summary << "\n";
    }
    std::cout << "\n"
                 "Options:\n"
                 "  --help       show this help and exit\n"
                 "  --version    show the version and exit\n"
                 "  --dither     reduce by diffusion dither instead of nearest colour\n"
                 "  --keep-black write black that the game would draw as transparent (index 0)\n"
                 "               as the visible black 243; transparent PNG pixels stay 0\n"
                 "  --png        write PNG files instead of bitmaps\n"
                 "  --stitch     make the picture of a background file or the sheet of a\n"
                 "               sprite file instead of the file\n"
                 "  --grid CxR   cut a sheet into C columns by R rows of equal cells\n"
                 "  --cell WxH   cut a sheet into cells of W x H pixels, as many as fit\n"
                 "  --border N   with --grid or --cell: N pixels left and above the cells\n"
                 "  --spacing N  with --grid or --cell: N pixels between the cells\n"
                 "  --key        cut a sheet by the key colour of its top-left pixel; with\n"
                 "               --stitch, lay the sprites out on key colour, without JSON\n"
                 "  --columns N  with --stitch: N cells to a row\n"
                 "\n"
                 "Pictures come in at their width rounded up to a multiple of 4; the added\n"
                 "columns are index 0, which the game draws as transparent.\n"
                 "\n"
                 "Exit status: 0 on success, 1 when the command failed (the reason is on\n"
                 "standard error; convert, pack, background and sheet then write nothing, unpack\n"
                 "keeps the bitmaps it saved before the failure), 2 for a wrong command line.\n";
}

int UnknownUsage(const std::string& problem) {
    std::cerr << "quorvel-cli: " << problem << "\n"
              << "Try 'quorvel-cli --help' for more information.\n";
    return kExitUsage;
}

int Run(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return UnknownUsage("no command given");
    }
    const std::string& first = arguments.front();
    if (first == "--help" || first == "-h" || first == "help") {
        PrintHelp();
        return kExitSuccess;
    }
    if (first == "--version") {
        std::cout << "quorvel-cli " << QUORVEL_VERSION << "\n";
        return kExitSuccess;
    }
    const Command* command = FindCommand(first);
    if (command == nullptr) {
        return UnknownUsage("unknown command '" + first + "'");
    }
    const std::vector<std::string> rest(arguments.begin() + 1, arguments.end());
    for (const std::string& argument : rest) {
        if (argument == "--") {
            break;
        }
        if (argument == "--help" || argument == "-h") {
            std::cout << "Usage: quorvel-cli " << command->name << " " << command->arguments << "\n"
                      << command->summary << ".\n";
            return kExitSuccess;
        }
    }
    return RunCommand(*command, rest);
}

}  // namespace
}  // namespace quorvel::cli

int main(int argc, char** argv) {
    try {
        return quorvel::cli::Run(quorvel::cli::PrepareProcess(argc, argv));
    } catch (const std::exception& e) {
        std::cerr << "quorvel-cli: " << e.what() << "\n";
        return quorvel::cli::kExitFailure;
    }
}
