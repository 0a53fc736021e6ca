#pragma once
// A fresh folder for one test, removed with everything in it when the test ends.

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace quorvel::testing {

class TempFolder {
  public:
    TempFolder() : path_(std::filesystem::temp_directory_path() / "quorvel-test-XXXXXX") {
        std::string pattern = path_.string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a temporary folder");
        }
        path_ = pattern;
    }
    ~TempFolder() { std::filesystem::remove_all(path_, removeError_); }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::vector<std::string> Entries() const {  // the names in the folder, sorted
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

  private:
    std::filesystem::path path_;
    std::error_code removeError_;  // removal is best effort
};

}  // namespace quorvel::testing
