#pragma once
// The open and save dialogs behind the four file commands. The window asks through this
// interface, so tests can answer in the dialogs' place.

#include <windows.h>

#include <optional>
#include <string>

namespace quorvel {

enum class FileKind { Bitmap, Sprite };
enum class FileAction { Open, Save };

class FileDialogs {
  public:
    virtual ~FileDialogs() = default;

    // Shows the dialog for `kind` and `action`, owned by `owner`, and returns the chosen
    // file's full path, or an empty string when the user cancelled or the dialog failed.
    virtual std::wstring Choose(HWND owner, FileKind kind, FileAction action) = 0;
};

// The common open and save dialogs. They start in the working folder with "*.bmp" or "*.spr"
// in the name box, under the filters "Windows Bitmap (*.BMP)" or "Creatures Sprite (*.SPR)"
// and "All files (*.*)". Both hide the read-only box and show a Help button, whose press
// reaches `owner` as the registered HELPMSGSTRING message. Opening needs an existing file
// and accepts a read-only one; saving refuses read-only files and write-protected folders and
// asks before replacing a file. Whatever folder the user browses to, the working folder is
// the same afterwards.
class CommonFileDialogs final : public FileDialogs {
  public:
    std::wstring Choose(HWND owner, FileKind kind, FileAction action) override;
};

// The kind the extension of `path` names, in any case: ".bmp" a bitmap, ".spr" a sprite file.
std::optional<FileKind> KindOfFileName(const std::wstring& path);

}  // namespace quorvel
