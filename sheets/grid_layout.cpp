#include "sheets/grid_layout.h"

#include <cstdint>
#include <string>

namespace quorvel {

namespace {

// The cell side that `count` cells and their spacing make of `side` after the border, or 0
// when they do not divide it exactly into sides of at least 1.
std::int64_t GridCellSide(std::int64_t side, std::uint32_t count, std::uint32_t border,
                          std::uint32_t spacing) {
    const std::int64_t rest = side - border - std::int64_t{spacing} * (std::int64_t{count} - 1);
    return count != 0 && rest >= count && rest % count == 0 ? rest / count : 0;
}

// How many cells of `cell` fit along `side` from the border, spacing between them.
std::int64_t CellsAlong(std::int64_t side, std::int64_t cell, std::uint32_t border,
                        std::uint32_t spacing) {
    const std::int64_t rest = side - border - cell;
    return cell <= 0 || rest < 0 ? 0 : rest / (cell + spacing) + 1;
}

}  // namespace

Result<std::vector<SheetFrame>> GridFrames(const SheetPicture& picture, const SheetLayout& layout) {
    const std::int64_t width = picture.Width(), height = picture.Height();
    std::int64_t cellWidth = layout.width, cellHeight = layout.height;
    if (layout.kind == SheetLayoutKind::Grid) {
        cellWidth = GridCellSide(width, layout.columns, layout.border, layout.spacing);
        cellHeight = GridCellSide(height, layout.rows, layout.border, layout.spacing);
        if (cellWidth == 0 || cellHeight == 0) {
            return Failure{"a grid of " + std::to_string(layout.columns) + " × " +
                           std::to_string(layout.rows) + " does not divide " +
                           std::to_string(width) + " × " + std::to_string(height)};
        }
    }
    const std::int64_t columns = CellsAlong(width, cellWidth, layout.border, layout.spacing);
    const std::int64_t rows = CellsAlong(height, cellHeight, layout.border, layout.spacing);
    const auto cellAt = [&](std::int64_t k) {
        return WholeFrame(layout.border + k % columns * (cellWidth + layout.spacing),
                          layout.border + k / columns * (cellHeight + layout.spacing), cellWidth,
                          cellHeight);
    };
    // Trailing cells that are wholly transparent are left out.
    std::int64_t count = columns * rows;
    for (; count > 0; --count) {
        const SheetFrame cell = cellAt(count - 1);
        if (!picture.Transparent(
                static_cast<std::uint32_t>(cell.x), static_cast<std::uint32_t>(cell.y),
                static_cast<std::uint32_t>(cell.width), static_cast<std::uint32_t>(cell.height))) {
            break;
        }
    }
    if (count > static_cast<std::int64_t>(kMostSheetFrames)) {
        return Failure{"it holds more than 65,535 frames"};
    }
    std::vector<SheetFrame> frames;
    frames.reserve(static_cast<std::size_t>(count));
    for (std::int64_t k = 0; k < count; ++k) {
        frames.push_back(cellAt(k));
    }
    return frames;
}

}  // namespace quorvel
