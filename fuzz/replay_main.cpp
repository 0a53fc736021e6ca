// The main of a fuzz target built without libFuzzer: runs every file of the folders (searched
// recursively, names starting with a dot skipped) and files named on the command line once
// through LLVMFuzzerTestOneInput, in name order. The tests use it to replay the committed
// corpus and every input that once found a fault, on every build. An input that takes longer
// than kSlowestInput fails the replay, as a hang would under libFuzzer.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "fuzz/fuzz_support.h"

namespace fs = std::filesystem;

constexpr std::chrono::seconds kSlowestInput{10};

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (fs::is_regular_file(argv[i])) {
            inputs.emplace_back(argv[i]);
        } else if (fs::is_directory(argv[i])) {
            for (const auto& entry : fs::recursive_directory_iterator(argv[i])) {
                if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') {
                    inputs.push_back(entry.path());
                }
            }
        } else {
            std::fprintf(stderr, "%s: no such file or folder\n", argv[i]);
            return 2;
        }
    }
    std::sort(inputs.begin(), inputs.end());
    for (const auto& path : inputs) {
        // Exactly the file's size, so the address sanitizer catches a read past its end.
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(fs::file_size(path)));
        std::ifstream in(path, std::ios::binary);
        if (!in.read(reinterpret_cast<char*>(bytes.data()),
                     static_cast<std::streamsize>(bytes.size()))) {
            std::fprintf(stderr, "%s: cannot read\n", path.string().c_str());
            return 2;
        }
        // Named first, so the output of a failing run ends with the input that failed.
        std::printf("%s\n", path.string().c_str());
        std::fflush(stdout);
        const auto start = std::chrono::steady_clock::now();
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        if (std::chrono::steady_clock::now() - start > kSlowestInput) {
            std::fprintf(stderr, "%s: took more than %lld s\n", path.string().c_str(),
                         static_cast<long long>(kSlowestInput.count()));
            return 1;
        }
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    return 0;
}
