#include "win32/file_dialogs.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace quorvel {

namespace {

// The filters as one string of description and pattern pairs, each ended by a bar, the list
// ended by a second bar; the dialog wants NULs where the bars are.
std::wstring FilterText(FileKind kind) {
    std::wstring filter = kind == FileKind::Bitmap
                              ? L"Windows Bitmap (*.BMP)|*.bmp|All files (*.*)|*.*||"
                              : L"Creatures Sprite (*.SPR)|*.spr|All files (*.*)|*.*||";
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    return filter;
}

const wchar_t* Extension(FileKind kind) {
    return kind == FileKind::Bitmap ? L"bmp" : L"spr";
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

}  // namespace

std::wstring CommonFileDialogs::Choose(HWND owner, FileKind kind, FileAction action) {
    const std::wstring filter = FilterText(kind);
    // Room for long paths; the initial name lists the folder's files of the kind.
    std::vector<wchar_t> name(32768, L'\0');
    const std::wstring initial = std::wstring(L"*.") + Extension(kind);
    std::copy(initial.begin(), initial.end(), name.begin());

    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = name.data();
    dialog.nMaxFile = static_cast<DWORD>(name.size());
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_SHOWHELP;

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
    return chosen ? std::wstring(name.data()) : std::wstring();
}

std::optional<FileKind> KindOfFileName(const std::wstring& path) {
    const std::size_t dot = path.find_last_of(L'.');
    const std::size_t separator = path.find_last_of(L"\\/");
    if (dot == std::wstring::npos || (separator != std::wstring::npos && dot < separator)) {
        return std::nullopt;
    }
    const std::wstring extension = path.substr(dot + 1);
    for (const FileKind candidate : {FileKind::Bitmap, FileKind::Sprite}) {
        if (CompareStringOrdinal(extension.c_str(), -1, Extension(candidate), -1, TRUE) ==
            CSTR_EQUAL) {
            return candidate;
        }
    }
    return std::nullopt;
}

}  // namespace quorvel
