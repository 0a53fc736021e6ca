#pragma once
// The window's dialogs give full paths; the commands take a file as its folder and its name,
// enter the folder (drive included) and open the bare name, so every later relative name
// resolves there too.

#include <string>
#include <string_view>
#include <vector>

#include "ui/commands/window_port.h"

namespace quorvel {

// The name part of a full path: what follows the last separator.
std::wstring FileNameOf(const std::wstring& path);

// The path without its name and the separator before it. A file in the root folder of a
// drive keeps the separator, so the folder is the root itself: "C:\a.bmp" gives "C:\".
std::wstring FolderOf(const std::wstring& path);

// A full path split by the two rules above, in UTF-8.
ChosenFile ChosenFileOf(const std::wstring& path);

// What a multiple-selection open dialog leaves in its buffer, a list of strings each ended by
// a NUL, the list by an empty one: the folder and then each chosen name, or a single file's
// full path. The files in their order; none for an empty list.
std::vector<ChosenFile> ChosenFilesOf(std::wstring_view selection);

}  // namespace quorvel
