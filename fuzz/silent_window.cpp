// Window services for the fuzz targets. The decoders under test never call them; the rest of
// the libraries, which the targets link, need them defined, and nothing they would show is of
// interest while fuzzing.

#include "core/window_services.h"

namespace quorvel {

void ShowFileError(const std::string&) {}
void RequestRepaint() {}
std::int32_t GetSelectedLine() {
    return -1;
}
void ClearLines() {}
void AppendLine(const std::string&) {}
void DeleteLine(std::int32_t) {}
void ReplaceLine(std::int32_t, const std::string&) {}
void SelectLine(std::int32_t) {}
void SetCountLabel(const std::string&) {}
void SetImageLabel(const std::string&) {}
void RefreshChoice() {}

}  // namespace quorvel
