#pragma once
// Runs a program through the shell as a user would, capturing its exit status and its two
// output streams, which pass through files in `scratch`.

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/bitmap_builder.h"
#include "tests/support/temp_folder.h"

namespace quorvel::testing {

struct Outcome {
    int status = -1;  // the exit status, 128 + the signal number if killed, -1 if not started
    std::string out;
    std::string err;
};

inline Outcome RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const TempFolder& scratch) {
    const auto word = [](const std::string& text) {  // quoted for the shell
        std::string quoted = "'";
        for (char c : text) {
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        return quoted + "'";
    };
    std::string command = word(program);
    for (const std::string& argument : arguments) {
        command += " " + word(argument);
    }
    const std::string out = scratch.File("stdout"), err = scratch.File("stderr");
    const int status = std::system((command + " >" + word(out) + " 2>" + word(err)).c_str());
    const auto text = [](const std::vector<std::uint8_t>& bytes) {
        return std::string(bytes.begin(), bytes.end());
    };
    return {status == -1        ? -1
            : WIFEXITED(status) ? WEXITSTATUS(status)
                                : 128 + WTERMSIG(status),
            text(ReadTestFile(out)), text(ReadTestFile(err))};
}

}  // namespace quorvel::testing
