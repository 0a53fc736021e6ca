#include "ui/win32/help.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "core/file_messages.h"
#include "core/window_services.h"

namespace quorvel {

namespace {

constexpr wchar_t kHelpFileName[] = L"help.html";

// The program's own folder, with its separator; empty if it cannot be found.
std::wstring ProgramFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            const std::wstring path(buffer.data(), length);
            return path.substr(0, path.find_last_of(L"\\/") + 1);
        }
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

void ShowHelp(HWND owner) {
    const std::wstring page = ProgramFolder() + kHelpFileName;
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(owner, L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    // ShellExecuteW reports success by a value above 32.
    if (result <= 32) {
        ShowFileError(CannotOpenForRead("help.html"));
    }
}

}  // namespace quorvel
