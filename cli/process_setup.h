#pragma once
// What differs between operating systems at the start of quorvel-cli.

#include <string>
#include <vector>

namespace quorvel::cli {

// The arguments after the program's name, as UTF-8 whatever the system's code page, with the
// standard streams set up to pass bytes through unchanged ("\n" stays one byte), so that the
// output is the same on every system.
std::vector<std::string> PrepareProcess(int argc, char** argv);

}  // namespace quorvel::cli
