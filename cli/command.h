#pragma once
// The sub-commands of quorvel-cli. Each lives in its own <name>_command.cpp and is listed
// once in the table in commands.cpp.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/result.h"

namespace quorvel::cli {

inline constexpr int kExitSuccess = 0;
inline constexpr int kExitFailure = 1;  // the operation failed; the message is on stderr
inline constexpr int kExitUsage = 2;    // the command line was wrong

struct Command {
    std::string_view name;
    std::string_view arguments;  // as shown in the usage line, e.g. "[--dither] IN.bmp OUT.bmp"
    std::string_view summary;    // one line for --help
    // Runs with the arguments that follow the command's name and returns the exit status.
    // The channel tables are built before any command runs.
    int (*run)(const std::vector<std::string>& arguments);
};

std::span<const Command> Commands();
const Command* FindCommand(std::string_view name);

// Writes `problem`, the command's usage line and a hint to standard error; returns kExitUsage.
int UsageError(const Command& command, const std::string& problem);

struct ParsedArguments {
    std::vector<std::string> options;     // the "--name" arguments given, in order
    std::vector<std::string> positional;  // everything else
};

// Separates options from the other arguments. Anything starting with '-' (but not "-" alone)
// is an option until a lone "--", after which every argument is positional. Fails naming
// the first option not in `known`.
Result<ParsedArguments> ParseArguments(const std::vector<std::string>& arguments,
                                       std::span<const std::string_view> known);

bool HasOption(const ParsedArguments& parsed, std::string_view option);

// The commands themselves.
int RunConvert(const std::vector<std::string>& arguments);
int RunPack(const std::vector<std::string>& arguments);
int RunUnpack(const std::vector<std::string>& arguments);
int RunList(const std::vector<std::string>& arguments);

}  // namespace quorvel::cli
