#include "ui/win32/file_dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <string_view>
#include <vector>

namespace quorvel {

namespace {

const wchar_t* Extension(FileKind kind) {
    switch (kind) {
        case FileKind::Picture:
            return L"bmp";
        case FileKind::Sprite:
            return L"spr";
        case FileKind::Palette:
            break;
    }
    return L"gpl";
}

std::wstring WorkingFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::wstring(buffer.data(), length);
        }
        buffer.resize(length);
    }
}

// The chosen file's full path and its NUL, or, when several were chosen (the folder then ends
// in a NUL of its own, not a separator), the folder and the names each with its NUL.
std::wstring SelectionIn(const std::vector<wchar_t>& buffer, WORD nameOffset) {
    const std::wstring_view text(buffer.data(), buffer.size() - 1);  // the last NUL stays
    const bool several = nameOffset > 0 && buffer[nameOffset - 1u] == L'\0';
    const std::size_t end = several ? text.find(std::wstring_view(L"\0\0", 2)) : text.find(L'\0');
    return std::wstring(text.substr(0, end + 1));
}

// Shows the dialog with `extraFlags` added; nothing when cancelled.
std::wstring ShowDialog(HWND owner, FileKind kind, FileAction action, DWORD extraFlags) {
    const std::wstring filter = DialogFilter(kind);
    // Room for long paths and for many names; the initial name lists the folder's files of the
    // kind.
    std::vector<wchar_t> name(std::size_t{1} << 18, L'\0');
    const std::wstring initial = std::wstring(L"*.") + Extension(kind);
    std::copy(initial.begin(), initial.end(), name.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    // A palette file's format follows its extension, so a name typed without one takes the
    // chosen filter's (the dialog adds it, and asks about replacing under that name).
    dialog.lpstrDefExt = kind == FileKind::Palette ? Extension(kind) : nullptr;
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_SHOWHELP | extraFlags;

    // The open dialog moves the working folder as the user browses, even when cancelled; the
    // file commands decide about the working folder themselves.
    const std::wstring folderBefore = WorkingFolder();
    BOOL chosen = FALSE;
    if (action == FileAction::Open) {
        // Read-only files may be opened: loading never writes to them.
        dialog.Flags |= OFN_FILEMUSTEXIST;
        chosen = GetOpenFileNameW(&dialog);
    } else {
        dialog.Flags |= OFN_OVERWRITEPROMPT | OFN_NOREADONLYRETURN;
        chosen = GetSaveFileNameW(&dialog);
    }
    if (!folderBefore.empty()) {
        SetCurrentDirectoryW(folderBefore.c_str());
    }
    return chosen ? SelectionIn(name, dialog.nFileOffset) : std::wstring();
}

}  // namespace

// Written with bars where the dialog wants NULs.
std::wstring DialogFilter(FileKind kind) {
    std::wstring filter =
        kind == FileKind::Picture
            ? L"Windows Bitmap (*.BMP)|*.bmp|PNG Image (*.PNG)|*.png|All files (*.*)|*.*||"
        : kind == FileKind::Sprite
            ? L"Creatures Sprite (*.SPR)|*.spr|All files (*.*)|*.*||"
            : L"GIMP Palette (*.GPL)|*.gpl|Photoshop Colour Table (*.ACT)|*.act|"
              L"JASC Palette (*.PAL)|*.pal|All files (*.*)|*.*||";
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    return filter;
}

std::wstring CommonFileDialogs::Choose(HWND owner, FileKind kind, FileAction action) {
    const std::wstring selection = ShowDialog(owner, kind, action, 0);
    return selection.substr(0, selection.find(L'\0'));
}

std::wstring CommonFileDialogs::ChoosePictures(HWND owner) {
    return ShowDialog(owner, FileKind::Picture, FileAction::Open, OFN_ALLOWMULTISELECT);
}

}  // namespace quorvel
