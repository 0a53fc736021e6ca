#pragma once
// A stand-in for the window that records every service call, so tests can check which
// messages were shown, whether a repaint was asked for, and what the list and labels hold.

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

// What the window services have been asked so far.
RecordedWindow& Recorded();

// Forgets every call: empty list, nothing selected, no labels, no messages.
void ResetRecorder();

}  // namespace quorvel::testing
