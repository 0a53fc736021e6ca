#include "cli/process_setup.h"

namespace quorvel::cli {

// The arguments are already bytes, UTF-8 on any current system, and streams are untranslated.
std::vector<std::string> PrepareProcess(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

}  // namespace quorvel::cli
