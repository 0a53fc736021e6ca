#pragma once
// The file commands hand the file functions a bare name after making the file's folder the
// working folder, so every later relative name resolves there too.

#include <QString>
#include <functional>
#include <string>

#include "ui/file_choice.h"

namespace quorvel {

// Whether `path` names a file at all; a cancelled dialog gives an empty path.
bool NamesAFile(const QString& path);

// The last component of `path` in the file system's encoding, as the file functions take it.
std::string BareFileName(const QString& path);

// Makes the folder holding `path` the working folder (the root folder for a file at the top)
// and runs `operation` on the file's bare name. A folder that cannot be entered changes
// nothing and is reported as the file failing to open for `action`.
void RunInFolderOf(const QString& path, FileAction action,
                   const std::function<void(const std::string& name)>& operation);

}  // namespace quorvel
