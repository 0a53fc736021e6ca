#pragma once
// The file commands hand the file functions a bare name after making the file's folder the
// working folder, so every later relative name resolves there too.

#include <QString>
#include <string>

namespace quorvel {

// Whether `path` names a file at all; a cancelled dialog gives an empty path.
bool NamesAFile(const QString& path);

// The last component of `path` in the file system's encoding, as the file functions take it.
std::string BareFileName(const QString& path);

// Makes the folder holding `path` the working folder (the root folder for a file at the top).
// Returns false, changing nothing, when that folder cannot be entered.
bool EnterFolderOf(const QString& path);

}  // namespace quorvel
