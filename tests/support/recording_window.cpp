#include "tests/support/recording_window.h"

#include "core/window_services.h"

namespace quorvel {

testing::RecordedWindow& testing::Recorded() {
    static RecordedWindow window;
    return window;
}

void testing::ResetRecorder() {
    Recorded() = RecordedWindow{};
}

using testing::Recorded;

void ShowFileError(const std::string& text) {
    Recorded().fileErrors.push_back(text);
}

void RequestRepaint() {
    ++Recorded().repaintRequests;
}

std::int32_t GetSelectedLine() {
    return Recorded().selectedLine;
}

void ClearLines() {
    Recorded().lines.clear();
    Recorded().selectedLine = -1;
}

void AppendLine(const std::string& text) {
    Recorded().lines.push_back(text);
}

void DeleteLine(std::int32_t index) {
    auto& w = Recorded();
    if (index < 0 || static_cast<std::size_t>(index) >= w.lines.size()) {
        return;
    }
    w.lines.erase(w.lines.begin() + index);
    // Like a list control: the selection goes with its line and moves up with the lines below.
    if (w.selectedLine >= index) {
        w.selectedLine = w.selectedLine == index ? -1 : w.selectedLine - 1;
    }
}

void ReplaceLine(std::int32_t index, const std::string& text) {
    Recorded().lines.at(static_cast<std::size_t>(index)) = text;
}

void SelectLine(std::int32_t index) {
    Recorded().selectedLine = index;
}

void SetCountLabel(const std::string& text) {
    Recorded().countLabel = text;
}

void SetImageLabel(const std::string& text) {
    Recorded().imageLabel = text;
}

void RefreshChoice() {
    ++Recorded().choiceRefreshes;
}

}  // namespace quorvel
