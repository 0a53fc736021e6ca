#pragma once
// One frame of a sheet as a layout finds it: the rectangle cut from the picture, and where
// the cut lies on the frame's own canvas (its size before a paint program trimmed it).

#include <cstdint>
#include <string>

namespace quorvel {

struct SheetFrame {
    // The rectangle in the picture; may lie partly or wholly outside it (refused when cut).
    std::int64_t x = 0;
    std::int64_t y = 0;
    std::int64_t width = 0;
    std::int64_t height = 0;
    // The cut's top-left corner on a canvas of canvasWidth × canvasHeight, the rest index 0.
    std::int64_t placeX = 0;
    std::int64_t placeY = 0;
    std::int64_t canvasWidth = 0;
    std::int64_t canvasHeight = 0;
    bool rotated = false;
};

// A whole cell or column run: cut as it is, on a canvas of its own size.
inline SheetFrame WholeFrame(std::int64_t x, std::int64_t y, std::int64_t width,
                             std::int64_t height) {
    return {x, y, width, height, 0, 0, width, height, false};
}

// The most frames a sheet may hold: as many as a sprite file can.
inline constexpr std::size_t kMostSheetFrames = 65535;

// "Unable to cut NAME: REASON."
inline std::string CannotCut(const std::string& pictureName, const std::string& reason) {
    return "Unable to cut " + pictureName + ": " + reason + ".";
}

}  // namespace quorvel
