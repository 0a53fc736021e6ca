#pragma once
// What each of the four file commands asks the user for: which dialog, which filters, which
// name to start from, and which targets a save may not use.

#include <QString>
#include <QStringList>
#include <optional>

namespace quorvel {

enum class FileKind { Bitmap, Sprite };
enum class FileAction { Open, Save };

struct FileChoice {
    FileKind kind = FileKind::Bitmap;
    FileAction action = FileAction::Open;
};

// "*.bmp" or "*.spr": shown in the name box so the folder's files of that kind are listed.
QString InitialFileName(FileKind kind);

// The dialog's filters in Qt's "description (patterns)" form. Each description carries its own
// pattern for the user to read, "Windows Bitmap (*.BMP)"; the pattern that really filters
// follows in a second pair of parentheses, which the dialog hides. Extensions match in any
// case, and "All files" shows every file, dotted or not.
QStringList NameFilters(FileKind kind);

// The descriptions alone, as the dialog shows them.
QStringList FilterDescriptions(FileKind kind);

// The kind a file name's extension names, in any case: ".bmp" a bitmap, ".spr" a sprite file.
std::optional<FileKind> KindOfFileName(const QString& name);

// Why a save may not write `path`: empty when it may. A file or folder that nobody may write
// counts as read-only even for a user the system would let through (root), the way a file
// marked read-only is respected by everyone; so does one this user may not write.
QString SaveTargetRefusal(const QString& path);

}  // namespace quorvel
