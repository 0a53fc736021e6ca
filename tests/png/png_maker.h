#pragma once
// Writes PNG files for the tests, in any colour type and bit depth, interlaced or not, with
// their pixels in stored (uncompressed) deflate blocks, so that the same files can be made on
// every system without a PNG library; and patches chunks as a damaged file would have them.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvel::testing {

enum PngColourType : std::uint8_t { kGrey = 0, kRgb = 2, kIndexed = 3, kGreyAlpha = 4, kRgba = 6 };

struct PngPicture {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::uint8_t colourType = kRgba;
    std::uint8_t bitDepth = 8;
    bool interlaced = false;
    // Every channel of every pixel, rows top to bottom, in the range of the bit depth.
    std::vector<std::uint16_t> samples = {};
    std::vector<std::array<std::uint8_t, 3>> palette = {};  // PLTE (red, green, blue)
    std::vector<std::uint8_t> paletteAlpha = {};            // tRNS of a paletted picture
    std::optional<std::array<std::uint16_t, 3>> transparentColour =
        {};  // tRNS of grey (first) or RGB
};

PngPicture MakePng(std::uint32_t width, std::uint32_t height, std::uint8_t colourType,
                   std::uint8_t bitDepth, bool interlaced = false);
int ChannelsOf(std::uint8_t colourType);
std::vector<std::uint8_t> EncodeTestPng(const PngPicture& picture);

// The offset of the first chunk of the given type, e.g. "IDAT"; the file must have one.
std::size_t ChunkOffset(const std::vector<std::uint8_t>& file, const char* type);
// Recomputes the checksum of the chunk at `offset` after its data was changed.
void FixChunkCrc(std::vector<std::uint8_t>& file, std::size_t offset);

}  // namespace quorvel::testing
