#pragma once
// Runs a program as a user would, capturing its exit status and its two output streams.

#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace quorvel::testing {

struct Outcome {
    int status = -1;  // the exit status, 128 + the signal number if killed, -1 if not started
    std::string out;
    std::string err;
};

// The two streams pass through files in `scratch`.
Outcome RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const TempFolder& scratch);

}  // namespace quorvel::testing
