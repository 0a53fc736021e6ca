#pragma once
// How a sheet picture is divided into frames, as the user chooses it: by the JSON description
// beside the picture, by a grid of columns and rows or of cells of one size, or by a key
// colour that surrounds the frames.

#include <cstdint>

namespace quorvel {

enum class SheetLayoutKind {
    Description,  // the JSON file beside the picture: same name, extension ".json"
    Grid,         // `columns` × `rows` equal cells
    Cell,         // cells of `width` × `height`, as many as fit
    Key,          // frames on the colour of the top-left pixel
};

struct SheetLayout {
    SheetLayoutKind kind = SheetLayoutKind::Description;
    std::uint32_t columns = 0;  // Grid
    std::uint32_t rows = 0;     // Grid
    std::uint32_t width = 0;    // Cell
    std::uint32_t height = 0;   // Cell
    std::uint32_t border = 0;   // Grid and Cell: margin on the left and at the top
    std::uint32_t spacing = 0;  // Grid and Cell: between neighbouring cells
};

}  // namespace quorvel
