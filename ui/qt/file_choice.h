#pragma once
// What each file command asks the user for: which dialog, which filters, which name to start
// from, and which targets a save may not use.

#include <QString>
#include <QStringList>

#include "core/file_access.h"

namespace quorvel {

struct FileChoice {
    FileKind kind = FileKind::Picture;
    FileAction action = FileAction::Open;
    bool many = false;  // an open dialog that takes several files
};

// "*.bmp" or "*.spr": shown in the name box so the folder's files of that kind are listed.
QString InitialFileName(FileKind kind);

// The dialog's filters in Qt's "description (patterns)" form, the same for opening and saving.
// Each description carries its own pattern for the user to read, "Windows Bitmap (*.BMP)"; the
// pattern that really filters follows in a second pair of parentheses, which the dialog hides.
// Extensions match in any case, and "All files", always last, shows every file, dotted or not.
QStringList NameFilters(FileKind kind);

// The path to save to when `filter` (an index into NameFilters) was chosen for `path`. A palette
// file's format follows its extension, so a palette name without one takes the chosen
// filter's; every other path stands as it is.
QString WithChosenExtension(FileKind kind, const QString& path, qsizetype filter);

// Why a save may not write `path`: empty when it may. A file or folder that nobody may write
// counts as read-only even for a user the system would let through (root), the way a file
// marked read-only is respected by everyone; so does one this user may not write.
QString SaveTargetRefusal(const QString& path);

}  // namespace quorvel
