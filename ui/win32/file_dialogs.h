#pragma once
// The open and save dialogs behind the file commands. The window asks through this interface,
// so tests can answer in the dialogs' place.

#include <windows.h>

#include <string>

#include "core/file_access.h"

namespace quorvel {

class FileDialogs {
  public:
    virtual ~FileDialogs() = default;

    // Shows the dialog for `kind` and `action`, owned by `owner`, and returns the chosen
    // file's full path, or an empty string when the user cancelled or the dialog failed.
    virtual std::wstring Choose(HWND owner, FileKind kind, FileAction action) = 0;
    // The picture open dialog allowing several files. Returns the selection as the dialog
    // writes it (see ChosenFilesOf), empty when the user cancelled or the dialog failed.
    virtual std::wstring ChoosePictures(HWND owner) = 0;
};

// The common open and save dialogs. They start in the working folder with "*.bmp", "*.spr" or
// "*.gpl" in the name box, under the filters of DialogFilter. Both hide the read-only box and show
// a Help button, whose press reaches `owner` as the registered HELPMSGSTRING message. Opening needs
// an existing file and accepts a read-only one; saving refuses read-only files and write-protected
// folders and asks before replacing a file. Whatever folder the user browses to, the working folder
// is the same afterwards.
class CommonFileDialogs final : public FileDialogs {
  public:
    std::wstring Choose(HWND owner, FileKind kind, FileAction action) override;
    std::wstring ChoosePictures(HWND owner) override;
};

// The dialogs' filters for `kind`, the same for opening and saving, as the dialog takes them:
// description and pattern pairs, each string ended by a NUL, the list by a second NUL. Pictures
// have "Windows Bitmap (*.BMP)", "PNG Image (*.PNG)", sprite files "Creatures Sprite (*.SPR)",
// palette files "GIMP Palette (*.GPL)", "Photoshop Colour Table (*.ACT)", "JASC Palette
// (*.PAL)", and each "All files (*.*)" last. A palette name saved without an extension takes
// the chosen filter's.
std::wstring DialogFilter(FileKind kind);

}  // namespace quorvel
