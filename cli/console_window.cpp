#include "cli/console_window.h"

#include <iostream>

#include "core/window_services.h"

namespace quorvel {

namespace cli {

namespace {
ConsoleWindow& MutableConsole() {
    static ConsoleWindow console;
    return console;
}
}  // namespace

const ConsoleWindow& Console() {
    return MutableConsole();
}

}  // namespace cli

using cli::ConsoleWindow;
using cli::MutableConsole;

void ShowFileError(const std::string& text) {
    std::cerr << text << std::endl;
}

// Nothing to paint and no radio group on a console.
void RequestRepaint() {}
void RefreshChoice() {}

std::int32_t GetSelectedLine() {
    return MutableConsole().selectedLine;
}

void ClearLines() {
    MutableConsole().lines.clear();
    MutableConsole().selectedLine = -1;
}

void AppendLine(const std::string& text) {
    MutableConsole().lines.push_back(text);
}

void DeleteLine(std::int32_t index) {
    ConsoleWindow& console = MutableConsole();
    if (index < 0 || static_cast<std::size_t>(index) >= console.lines.size()) {
        return;
    }
    console.lines.erase(console.lines.begin() + index);
    if (console.selectedLine == index) {
        console.selectedLine = -1;
    } else if (console.selectedLine > index) {
        --console.selectedLine;
    }
}

void ReplaceLine(std::int32_t index, const std::string& text) {
    ConsoleWindow& console = MutableConsole();
    if (index >= 0 && static_cast<std::size_t>(index) < console.lines.size()) {
        console.lines[static_cast<std::size_t>(index)] = text;
    }
}

void SelectLine(std::int32_t index) {
    MutableConsole().selectedLine = index;
}

void SetCountLabel(const std::string& text) {
    MutableConsole().countLabel = text;
}

void SetImageLabel(const std::string& text) {
    MutableConsole().imageLabel = text;
}

}  // namespace quorvel
