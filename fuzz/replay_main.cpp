// The main of a fuzz target built without libFuzzer: every file under the folders named on the
// command line (dot files skipped) goes once through the target. The tests replay the corpus
// and the inputs that once found a fault with it; a missing folder throws.

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "fuzz/fuzz_support.h"

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i])) {
            if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') {
                std::ostringstream text;
                text << std::ifstream(entry.path(), std::ios::binary).rdbuf();
                const std::string s = text.str();
                // Exactly the file's size, so the address sanitizer catches a read past its end.
                const std::vector<std::uint8_t> bytes(s.begin(), s.end());
                std::printf("%s\n",
                            entry.path().string().c_str());  // a failing run ends with its input
                std::fflush(stdout);
                LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            }
        }
    }
}
