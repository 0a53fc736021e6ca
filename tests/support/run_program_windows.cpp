// RunProgram on Windows: CreateProcessW with the two streams redirected to files. The
// arguments are UTF-8 and go through the wide API, so any name reaches the program intact.

#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <fstream>
#include <iterator>

#include "tests/support/run_program.h"

namespace quorvel::testing {

namespace {

std::wstring Wide(const std::string& utf8) {
    return PathOf(utf8).wstring();
}

// One argument quoted so that the program's CommandLineToArgvW gives it back unchanged:
// backslashes are doubled only where a quote follows them.
void AppendQuoted(std::wstring& line, const std::wstring& argument) {
    line += L'"';
    std::size_t backslashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(2 * backslashes, L'\\');
    line += L'"';
}

// Shared for writing too: a console host that inherited the last run's copy may still hold it
// for a moment after that program has ended.
HANDLE CreateStreamFile(const std::string& path) {
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    return ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

Outcome RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                   const TempFolder& scratch) {
    std::wstring line;
    AppendQuoted(line, Wide(program));
    for (const std::string& argument : arguments) {
        line += L' ';
        AppendQuoted(line, Wide(argument));
    }
    const std::string streams[] = {scratch.File("stdout"), scratch.File("stderr")};
    HANDLE out = CreateStreamFile(streams[0]);
    HANDLE err = CreateStreamFile(streams[1]);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION process{};
    Outcome outcome;
    if (out != INVALID_HANDLE_VALUE && err != INVALID_HANDLE_VALUE &&
        ::CreateProcessW(Wide(program).c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                         nullptr, &startup, &process)) {
        DWORD status = 0;
        ::WaitForSingleObject(process.hProcess, INFINITE);
        ::GetExitCodeProcess(process.hProcess, &status);
        outcome.status = static_cast<int>(status);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    for (HANDLE handle : {out, err}) {
        if (handle != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle);
        }
    }
    std::string* texts[] = {&outcome.out, &outcome.err};
    for (int i : {0, 1}) {
        std::ifstream in(PathOf(streams[i]), std::ios::binary);
        texts[i]->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    return outcome;
}

}  // namespace quorvel::testing
