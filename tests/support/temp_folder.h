#pragma once
// A fresh folder for one test, removed with everything in it when the test ends. Names go in
// and come out as UTF-8 on every system.

#include <algorithm>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvel::testing {

// A std::string path is in the ANSI code page on Windows; these convert from and to UTF-8.
inline std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}
inline std::string Utf8Of(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

class TempFolder {
  public:
    TempFolder() {
        std::random_device random;
        for (int attempt = 0; path_.empty(); ++attempt) {
            const auto candidate = std::filesystem::temp_directory_path() /
                                   ("quorvel-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(candidate)) {
                path_ = candidate;
            } else if (attempt == 100) {
                throw std::runtime_error("cannot create a temporary folder");
            }
        }
    }
    ~TempFolder() { std::filesystem::remove_all(path_, removeError_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string File(const std::string& name) const { return Utf8Of(path_ / PathOf(name)); }
    std::vector<std::string> Entries() const { return EntriesOf(path_); }
    // The names in `folder`, sorted.
    static std::vector<std::string> EntriesOf(const std::filesystem::path& folder) {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            names.push_back(Utf8Of(entry.path().filename()));
        }
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    std::filesystem::path path_;
    std::error_code removeError_;  // removal is best effort
};

}  // namespace quorvel::testing
