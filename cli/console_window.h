#pragma once
// The window services for a console: messages go to standard error, and the sprite list and
// the labels are kept in memory where the commands can read them.

#include <cstdint>
#include <string>
#include <vector>

namespace quorvel::cli {

struct ConsoleWindow {
    std::vector<std::string> lines;
    std::int32_t selectedLine = -1;
    std::string countLabel;
    std::string imageLabel;
};

// What the core has put into the list and labels so far.
const ConsoleWindow& Console();

}  // namespace quorvel::cli
