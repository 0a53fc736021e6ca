#include "tests/png/png_maker.h"

#include <spng.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace quorvel::testing {

PngPicture MakePng(std::uint32_t width, std::uint32_t height, std::uint8_t colourType,
                   std::uint8_t bitDepth, bool interlaced) {
    PngPicture p;
    p.width = width;
    p.height = height;
    p.colourType = colourType;
    p.bitDepth = bitDepth;
    p.interlaced = interlaced;
    return p;
}

int ChannelsOf(std::uint8_t colourType) {
    switch (colourType) {
        case kRgb:
            return 3;
        case kGreyAlpha:
            return 2;
        case kRgba:
            return 4;
        default:
            return 1;
    }
}

namespace {

// The rows as the format stores them: samples big-endian, depths below 8 packed from the
// high bits, each row starting on a byte.
std::vector<std::uint8_t> PackRows(const PngPicture& p) {
    const std::size_t perRow = std::size_t{p.width} * ChannelsOf(p.colourType);
    const std::size_t stride = (perRow * p.bitDepth + 7) / 8;
    std::vector<std::uint8_t> rows(stride * p.height);
    for (std::uint32_t y = 0; y < p.height; ++y) {
        for (std::size_t i = 0; i < perRow; ++i) {
            const std::uint16_t v = p.samples.at(y * perRow + i);
            std::uint8_t* row = rows.data() + y * stride;
            if (p.bitDepth == 16) {
                row[2 * i] = static_cast<std::uint8_t>(v >> 8);
                row[2 * i + 1] = static_cast<std::uint8_t>(v);
            } else if (p.bitDepth == 8) {
                row[i] = static_cast<std::uint8_t>(v);
            } else {
                const std::size_t bit = i * p.bitDepth;
                row[bit / 8] |= static_cast<std::uint8_t>(v << (8 - p.bitDepth - bit % 8));
            }
        }
    }
    return rows;
}

void Check(int error) {
    if (error != 0) {
        throw std::runtime_error(std::string("libspng: ") + spng_strerror(error));
    }
}

}  // namespace

std::vector<std::uint8_t> EncodeTestPng(const PngPicture& p) {
    spng_ctx* ctx = spng_ctx_new(SPNG_CTX_ENCODER);
    spng_set_option(ctx, SPNG_ENCODE_TO_BUFFER, 1);
    spng_ihdr ihdr{p.width,
                   p.height,
                   p.bitDepth,
                   p.colourType,
                   0,
                   0,
                   static_cast<std::uint8_t>(p.interlaced ? 1 : 0)};
    Check(spng_set_ihdr(ctx, &ihdr));
    if (!p.palette.empty()) {
        spng_plte plte{};
        plte.n_entries = static_cast<std::uint32_t>(p.palette.size());
        for (std::size_t i = 0; i < p.palette.size(); ++i) {
            plte.entries[i] = {p.palette[i][0], p.palette[i][1], p.palette[i][2], 0};
        }
        Check(spng_set_plte(ctx, &plte));
    }
    if (!p.paletteAlpha.empty() || p.transparentColour) {
        spng_trns trns{};
        trns.n_type3_entries = static_cast<std::uint32_t>(p.paletteAlpha.size());
        std::copy(p.paletteAlpha.begin(), p.paletteAlpha.end(), trns.type3_alpha);
        if (p.transparentColour) {
            const auto& c = *p.transparentColour;
            trns.gray = c[0];
            trns.red = c[0];
            trns.green = c[1];
            trns.blue = c[2];
        }
        Check(spng_set_trns(ctx, &trns));
    }
    std::vector<std::uint8_t> rows = PackRows(p);
    Check(spng_encode_image(ctx, rows.data(), rows.size(), SPNG_FMT_RAW, SPNG_ENCODE_FINALIZE));
    std::size_t length = 0;
    int error = 0;
    auto* buffer = static_cast<std::uint8_t*>(spng_get_png_buffer(ctx, &length, &error));
    spng_ctx_free(ctx);
    Check(error);
    std::vector<std::uint8_t> file(buffer, buffer + length);
    std::free(buffer);
    return file;
}

std::size_t ChunkOffset(const std::vector<std::uint8_t>& file, const char* type) {
    for (std::size_t at = 8; at + 12 <= file.size();) {
        const std::size_t length = std::size_t{file[at]} << 24 | std::size_t{file[at + 1]} << 16 |
                                   std::size_t{file[at + 2]} << 8 | file[at + 3];
        if (std::memcmp(file.data() + at + 4, type, 4) == 0) {
            return at;
        }
        at += 12 + length;
    }
    throw std::runtime_error(std::string("no chunk ") + type);
}

void FixChunkCrc(std::vector<std::uint8_t>& file, std::size_t offset) {
    const std::size_t length = std::size_t{file[offset]} << 24 |
                               std::size_t{file[offset + 1]} << 16 |
                               std::size_t{file[offset + 2]} << 8 | file[offset + 3];
    const auto crc = static_cast<std::uint32_t>(
        crc32(0, file.data() + offset + 4, static_cast<uInt>(length + 4)));
    for (int i = 0; i < 4; ++i) {
        file[offset + 8 + length + i] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
    }
}

}  // namespace quorvel::testing
