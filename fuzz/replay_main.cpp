// The main of a fuzz target built without libFuzzer: passes every file of the folders named on
// the command line (searched recursively, names starting with a dot skipped) once through
// LLVMFuzzerTestOneInput, in name order. The tests use it to replay the committed corpus and
// every input that once found a fault. A missing folder, or an input that takes longer than
// 10 s (a hang, under libFuzzer), fails the replay.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "fuzz/fuzz_support.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : fs::recursive_directory_iterator(argv[i])) {  // throws if missing
            if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') {
                inputs.push_back(entry.path());
            }
        }
    }
    std::sort(inputs.begin(), inputs.end());
    for (const auto& path : inputs) {
        // Exactly the file's size, so the address sanitizer catches a read past its end.
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(fs::file_size(path)));
        std::ifstream(path, std::ios::binary)
            .read(reinterpret_cast<char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        std::printf("%s\n", path.string().c_str());  // a failing run's output ends with its input
        std::fflush(stdout);
        const auto start = std::chrono::steady_clock::now();
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        if (std::chrono::steady_clock::now() - start > std::chrono::seconds(10)) {
            std::fprintf(stderr, "%s: took more than 10 s\n", path.string().c_str());
            return 1;
        }
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    return 0;
}
