#pragma once
// A stand-in for the window that records every service call, so tests can check which
// messages were shown, how often a repaint was asked for, and what the list and labels hold.

#include <cstdint>
#include <string>
#include <vector>

namespace quorvel::testing {

struct RecordedWindow {
    std::vector<std::string> fileErrors;
    int repaintRequests = 0;
    int choiceRefreshes = 0;
    std::vector<std::string> lines;
    std::int32_t selectedLine = -1;
    std::string countLabel;
    std::string imageLabel;
};

RecordedWindow& Recorded();
void ResetRecorder();  // empty list, nothing selected, no labels, no messages

}  // namespace quorvel::testing
