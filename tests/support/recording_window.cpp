#include "tests/support/recording_window.h"

#include "core/window_services.h"

namespace quorvel {

namespace testing {

RecordedWindow& Recorded() {
    static RecordedWindow window;
    return window;
}

void ResetRecorder() {
    Recorded() = RecordedWindow{};
}

}  // namespace testing

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
    // A list control drops the selection with its line and moves it up with the lines below.
    if (w.selectedLine == index) {
        w.selectedLine = -1;
    } else if (w.selectedLine > index) {
        --w.selectedLine;
    }
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
