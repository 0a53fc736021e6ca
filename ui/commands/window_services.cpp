// The window services as every window provides them: each call goes to the window that is
// open. With none open the list and labels have nowhere to go and their calls do nothing; a
// file error still reaches the user, on standard error.

#include "core/window_services.h"

#include <iostream>

#include "ui/commands/window_commands.h"

namespace quorvel {

namespace {

WindowCommands* commands = nullptr;

// The window of the commands being served, or null.
WindowPort* Served() {
    return commands != nullptr ? &commands->Window() : nullptr;
}

}  // namespace

void ServeWindowServices(WindowCommands* served) {
    commands = served;
}

void StopServingWindowServices(const WindowCommands* served) {
    if (commands == served) {
        commands = nullptr;
    }
}

void ShowFileError(const std::string& text) {
    if (WindowPort* served = Served()) {
        served->ShowFileError(text);
    } else {
        std::cerr << text << std::endl;
    }
}

void RequestRepaint() {
    if (WindowPort* served = Served()) {
        served->RequestRepaint();
    }
}

std::int32_t GetSelectedLine() {
    WindowPort* served = Served();
    return served != nullptr ? served->SelectedLine() : -1;
}

void ClearLines() {
    if (WindowPort* served = Served()) {
        served->ClearLines();
    }
}

void AppendLine(const std::string& text) {
    if (WindowPort* served = Served()) {
        served->AppendLine(text);
    }
}

void DeleteLine(std::int32_t index) {
    if (WindowPort* served = Served()) {
        served->DeleteLine(index);
    }
}

void ReplaceLine(std::int32_t index, const std::string& text) {
    if (WindowPort* served = Served()) {
        served->ReplaceLine(index, text);
    }
}

void SelectLine(std::int32_t index) {
    if (WindowPort* served = Served()) {
        served->SelectLine(index);
    }
}

void SetCountLabel(const std::string& text) {
    if (WindowPort* served = Served()) {
        served->SetCountLabel(text);
    }
}

void SetImageLabel(const std::string& text) {
    if (WindowPort* served = Served()) {
        served->SetImageLabel(text);
    }
}

}  // namespace quorvel

namespace quorvel {

void RefreshChoice() {
    if (commands != nullptr) {
        commands->RefreshChoice();
    }
}

}  // namespace quorvel
