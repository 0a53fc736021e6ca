#include "ui/win32/working_folder.h"

#include <algorithm>

#include "ui/win32/wide_text.h"

namespace quorvel {

std::wstring FileNameOf(const std::wstring& path) {
    const std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

std::wstring FolderOf(const std::wstring& path) {
    const std::size_t nameLength = FileNameOf(path).size();
    if (nameLength >= path.size()) {
        return {};  // a bare name: it lies in the working folder already
    }
    std::wstring folder = path.substr(0, path.size() - nameLength - 1);
    // "C:" alone names the drive's working folder, not its root; "" the current drive's root.
    const bool driveOnly = folder.size() == 2 && folder[1] == L':';
    if (driveOnly || folder.empty()) {
        folder += path[folder.size()];
    }
    return folder;
}

ChosenFile ChosenFileOf(const std::wstring& path) {
    return {WideToUtf8(FolderOf(path)), WideToUtf8(FileNameOf(path))};
}

std::vector<ChosenFile> ChosenFilesOf(std::wstring_view selection) {
    std::vector<std::wstring> strings;
    while (!selection.empty() && selection.front() != L'\0') {
        const std::size_t end = std::min(selection.find(L'\0'), selection.size());
        strings.emplace_back(selection.substr(0, end));
        selection.remove_prefix(std::min(end + 1, selection.size()));
    }
    if (strings.size() == 1) {
        return {ChosenFileOf(strings.front())};
    }
    std::vector<ChosenFile> files;
    for (std::size_t i = 1; i < strings.size(); ++i) {
        files.push_back({WideToUtf8(strings.front()), WideToUtf8(strings[i])});
    }
    return files;
}

}  // namespace quorvel
