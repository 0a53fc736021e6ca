// The main of a fuzz target built without libFuzzer: runs every file of the folders (searched
// recursively) and files named on the command line once through LLVMFuzzerTestOneInput, in
// name order. The tests use it to replay the committed corpus and every input that once found
// a fault, on every build, with or without the sanitizers.
//
// Names starting with a dot are skipped, so a folder can be kept in git by a hidden file.
// An input that takes longer than kSlowestInput fails the replay, as a hang would under
// libFuzzer: every input of the corpus takes milliseconds, even under the sanitizers.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "fuzz/fuzz_support.h"

namespace {

namespace fs = std::filesystem;

constexpr std::chrono::seconds kSlowestInput{10};

bool IsHidden(const fs::path& path) {
    const std::string name = path.filename().string();
    return !name.empty() && name.front() == '.';
}

// Collects the inputs `argument` names; false when it names neither a file nor a folder.
bool CollectInputs(const fs::path& argument, std::vector<fs::path>& inputs) {
    std::error_code error;
    if (fs::is_regular_file(argument, error)) {
        inputs.push_back(argument);
        return true;
    }
    if (!fs::is_directory(argument, error)) {
        return false;
    }
    for (const auto& entry : fs::recursive_directory_iterator(argument)) {
        if (entry.is_regular_file() && !IsHidden(entry.path())) {
            inputs.push_back(entry.path());
        }
    }
    return true;
}

// The whole file in a buffer of exactly its size, so a read past the end is caught by the
// address sanitizer as it would be under libFuzzer.
bool ReadInput(const fs::path& path, std::vector<std::uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    std::error_code error;
    const auto size = fs::file_size(path, error);
    if (!in || error) {
        return false;
    }
    bytes.resize(static_cast<std::size_t>(size));
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<std::uint64_t>(in.gcount()) == size;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        if (!CollectInputs(argv[i], inputs)) {
            std::fprintf(stderr, "%s: no such file or folder\n", argv[i]);
            return 2;
        }
    }
    std::sort(inputs.begin(), inputs.end());

    for (const auto& path : inputs) {
        std::vector<std::uint8_t> bytes;
        if (!ReadInput(path, bytes)) {
            std::fprintf(stderr, "%s: cannot read\n", path.c_str());
            return 2;
        }
        // Named first, so the output of a failing run ends with the input that failed.
        std::printf("%s\n", path.c_str());
        std::fflush(stdout);
        const auto start = std::chrono::steady_clock::now();
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        const auto took = std::chrono::steady_clock::now() - start;
        if (took > kSlowestInput) {
            std::fprintf(stderr, "%s: took %.1f s, more than %lld s\n", path.c_str(),
                         std::chrono::duration<double>(took).count(),
                         static_cast<long long>(kSlowestInput.count()));
            return 1;
        }
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    return 0;
}
