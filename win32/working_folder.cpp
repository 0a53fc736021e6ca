#include "win32/working_folder.h"

#include <windows.h>

#include "core/file_messages.h"
#include "core/window_services.h"
#include "win32/wide_text.h"

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

void RunInFolderOf(const std::wstring& path, FileAction action,
                   const std::function<void(const std::string& name)>& operation) {
    const std::string name = WideToUtf8(FileNameOf(path));
    const std::wstring folder = FolderOf(path);
    if (folder.empty() || SetCurrentDirectoryW(folder.c_str())) {
        operation(name);
    } else {
        ShowFileError(action == FileAction::Open ? CannotOpenForRead(name)
                                                 : CannotOpenForWrite(name));
    }
}

}  // namespace quorvel
