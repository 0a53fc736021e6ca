#pragma once
// The sub-commands of quorvel-cli. Each lives in its own <name>_command.cpp and is listed
// once in the table in commands.cpp.

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/black_handling.h"
#include "core/conversion_mode.h"

namespace quorvel::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // the operation failed; the message is on stderr
inline constexpr int kExitUsage = 2;    // the command line was wrong

// The options a command may take, as bits. Each option is listed once, with the bit that
// admits it, in the table in commands.cpp.
enum Option : unsigned {
    kDitherOption = 1,     // --dither
    kKeepBlackOption = 2,  // --keep-black
    kPngOption = 4,        // --png
    kStitchOption = 8,     // --stitch
    kGridOptions = 16,     // --grid CxR, --cell WxH, --border N, --spacing N
    kKeyOption = 32,       // --key
    kColumnsOption = 64,   // --columns N
};

// What a command is given once its command line has been checked.
struct Invocation {
    ConversionMode mode = ConversionMode::Nearest;    // Dither when --dither was given
    BlackHandling black = BlackHandling::AsSearched;  // KeepVisible with --keep-black
    bool png = false;                                 // --png
    bool stitch = false;                              // --stitch
    bool key = false;                                 // --key
    // Valued options as given ("--grid 4x2" or "--grid=4x2"); the command checks the values.
    std::optional<std::string> grid;     // --grid
    std::optional<std::string> cell;     // --cell
    std::optional<std::string> border;   // --border
    std::optional<std::string> spacing;  // --spacing
    std::optional<std::string> columns;  // --columns
    std::vector<std::string> files;
};

struct Command {
    std::string_view name;
    std::string_view arguments;  // as shown in the usage line, e.g. "[--dither] IN.bmp OUT.bmp"
    std::string_view summary;    // one line for --help
    unsigned options;            // the Option bits the command takes
    std::size_t fewestFiles;
    std::size_t mostFiles;
    // Runs the checked command and returns the exit status.
    int (*run)(const Invocation& invocation);
};

std::span<const Command> Commands();
const Command* FindCommand(std::string_view name);

// Checks the arguments that follow the command's name and runs it. Anything starting with
// '-' (but not "-" alone) is an option until a lone "--", after which every argument is a
// file name. A valued option takes the next argument, or what follows '=' in the same one.
// An unknown option, a missing value or a wrong number of file names is written to standard
// error with the usage line and returns kExitUsage.
int RunCommand(const Command& command, const std::vector<std::string>& arguments);

// Writes `problem` and the command's usage line to standard error; returns kExitUsage.
int UsageError(const Command& command, const std::string& problem);

// The commands themselves.
int RunConvert(const Invocation& invocation);
int RunPack(const Invocation& invocation);
int RunUnpack(const Invocation& invocation);
int RunList(const Invocation& invocation);
int RunBackground(const Invocation& invocation);
int RunSheet(const Invocation& invocation);
int RunPalette(const Invocation& invocation);

}  // namespace quorvel::cli
