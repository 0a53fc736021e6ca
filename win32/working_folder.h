#pragma once
// The file commands hand the file functions a bare name after making the chosen file's folder
// the working folder (drive included), so every later relative name resolves there too.

#include <functional>
#include <string>

#include "win32/file_dialogs.h"

namespace quorvel {

// The name part of a full path: what follows the last separator.
std::wstring FileNameOf(const std::wstring& path);

// The path without its name and the separator before it. A file in the root folder of a
// drive keeps the separator, so the folder is the root itself: "C:\a.bmp" gives "C:\".
std::wstring FolderOf(const std::wstring& path);

// Enters the folder of `path` and runs `operation` on the file's name in UTF-8. A folder that
// cannot be entered changes nothing and is reported as the file failing to open for `action`.
void RunInFolderOf(const std::wstring& path, FileAction action,
                   const std::function<void(const std::string& name)>& operation);

}  // namespace quorvel
