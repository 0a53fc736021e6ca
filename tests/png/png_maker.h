#pragma once
// PNG files made by the tests in any colour type and bit depth, interlaced or not, with the
// pixels in stored (uncompressed) deflate blocks, so that no PNG library is needed to make them.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace quorvel::testing {

enum PngColourType : std::uint8_t { kGrey = 0, kRgb = 2, kIndexed = 3, kGreyAlpha = 4, kRgba = 6 };

struct PngPicture {
    std::uint32_t width, height;
    std::uint8_t colourType, bitDepth;
    std::vector<std::uint16_t> samples;  // every channel of every pixel, rows top to bottom
    bool interlaced = false;
    std::vector<std::uint8_t> palette = {};  // PLTE: red, green, blue per entry
    std::vector<std::uint8_t> trns = {};     // tRNS as stored
};

std::vector<std::uint8_t> EncodeTestPng(const PngPicture& picture);

// Whether the tests run under Wine, whose imaging component lacks a few things.
bool RunsUnderWine();

// Overwrites bytes of the data of the first chunk of `type` ("IHDR") at `at` and, unless
// told not to, recomputes the chunk's checksum.
void PatchChunk(std::vector<std::uint8_t>& file, const char* type, std::size_t at,
                const std::vector<std::uint8_t>& bytes, bool fixChecksum = true);

}  // namespace quorvel::testing
